#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, then
# the browser tests' npm packages. Does nothing when everything is present;
# as non-root it prints the apt-get line to run and fails.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libsqlite3-dev sqlite3 zlib1g-dev libdeflate-dev libpng-dev libfreetype-dev
    libcurl4-openssl-dev
    libcivetweb-dev nlohmann-json3-dev
    procps psmisc iproute2 python3
    chromium fonts-nanum
    g++-mingw-w64-x86-64-posix
)
# Node.js may come from elsewhere than Debian (a newer release); any will do.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    packages+=(nodejs npm)
fi

install_browser_test_packages() {
    local folder=tests/browser
    [[ -f $folder/package-lock.json ]] || return 0
    if [[ ! -f $folder/node_modules/.package-lock.json ||
        $folder/package-lock.json -nt $folder/node_modules/.package-lock.json ]]; then
        npm ci --prefix "$folder" --no-audit --no-fund --loglevel=error
    fi
}

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
    install_browser_test_packages
    exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
    echo "Missing packages. Run as root:" >&2
    echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
install_browser_test_packages
