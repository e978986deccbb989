#!/usr/bin/env bash
# Builds the optimised preset and runs every benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
for bench in build/release/bench/*-bench; do
    [[ -x "$bench" ]] || continue
    echo "=== $(basename "$bench") ==="
    "$bench"
done
