#!/usr/bin/env bash
# Runs every test: the default build and the sanitizer build, each configured,
# built and run through CTest. Safe to run again; builds are incremental.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

for preset in default sanitize; do
    echo "=== ${preset} build ==="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
