#!/usr/bin/env bash
# Refreshes web/screenshots/*.png: the customer screen at 1080 x 1920 in
# headless Chromium, with the sample motel served by the kiosk stand-in of
# the browser tests (no kiosk needed).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
node tests/browser/take_screenshots.js web/screenshots
