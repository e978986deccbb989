#!/usr/bin/env bash
# Starts the demo: builds what is missing, makes a fresh drive folder and runs
# the kiosk in it. Ctrl+C ends everything in order.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target hxkiosk hxreg

drive=$(mktemp -d /tmp/hxkiosk-demo.XXXXXX)
echo "Demo drive folder: $drive"

./build/default/kiosk/hxkiosk --drive "$drive" &
kiosk=$!

stop() {
    kill -TERM "$kiosk" 2>/dev/null || true
}
trap stop INT TERM

echo "Kiosk running (pid $kiosk). Logs: $drive/Harlix/LogFiles"
echo "Settings: ./build/default/tools/hxreg/hxreg --drive $drive query 'HKLM\\SOFTWARE\\Norvane\\HxKiosk\\Settings'"
echo "Press Ctrl+C to stop."
set +e
wait "$kiosk"
wait "$kiosk" 2>/dev/null
status=$?
set -e
echo "Kiosk ended (exit status $status). Its log:"
cat "$drive"/Harlix/LogFiles/HXKioskLog-*.log 2>/dev/null | iconv -f CP949 -t UTF-8 || true
