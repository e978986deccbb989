#!/usr/bin/env bash
# Compiles, with the mingw-w64 cross compiler, one file that includes
# <windows.h> and then every portable header of platform/, net/ and channel/:
# the proof that a file of a Windows back end can see both at once.
set -euo pipefail
root=$(cd "${1:-.}" && pwd)
compiler=${HX_MINGW_CXX:-x86_64-w64-mingw32-g++-posix}
command -v "$compiler" >/dev/null || {
    echo "$compiler is missing: scripts/install-deps.sh installs it" >&2
    exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cd "$root"
# Headers of tests and their helpers are not part of what a back end sees.
mapfile -t headers < <(git ls-files 'platform/*.h' 'net/*.h' 'channel/*.h' |
    grep -vE '(_test|/testing_[^/]*|/test_[^/]*|_test_support)\.h$')
{
    echo '// What every Windows back end file starts with.'
    echo '#define WIN32_LEAN_AND_MEAN'
    echo '#define NOMINMAX'
    echo '#include <windows.h>'
    printf '#include "%s"\n' "${headers[@]}"
} >"$work/all_headers.cpp"
"$compiler" -std=c++20 -fsyntax-only -Wall -Wextra -Werror -I"$root" "$work/all_headers.cpp"
echo "${#headers[@]} headers compile after <windows.h>"
