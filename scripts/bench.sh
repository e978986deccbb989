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
# The customer screen's benchmark runs the page in headless Chromium.
echo "=== screen-render-bench ==="
node bench/screen_render_bench.mjs
