#!/usr/bin/env bash
# Prints a guest ticket and a card receipt on both receipt printers, played
# by the printer simulator, and keeps the pictures it rendered in
# tools/prnsim/samples (serial-*.png: 48 columns, usb-*.png: 42 columns).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target kiosk_screen_test prnsim
mkdir -p tools/prnsim/samples
HX_PRINT_SAMPLES="$PWD/tools/prnsim/samples" ./build/default/tests/e2e/kiosk_screen_test \
    --gtest_filter='ReceiptPrinting.BothDocumentsPrintOnBothPrinters'
ls -l tools/prnsim/samples
