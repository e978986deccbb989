#!/usr/bin/env bash
# Starts the demo: builds what is missing, makes a fresh drive folder, starts
# our front-desk server with the sample motel and the kiosk connected to it.
# Ctrl+C ends everything in order.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target hxkiosk hxreg frontdesk

drive=$(mktemp -d /tmp/hxkiosk-demo.XXXXXX)
echo "Demo drive folder: $drive"

ui_port=${HXKIOSK_UI_PORT:-8049}
./build/default/tools/frontdesk/frontdesk --scenario tools/frontdesk/scenarios/sample.json \
    --data "$drive/frontdesk" </dev/null &
frontdesk=$!
./build/default/kiosk/hxkiosk --drive "$drive" --ui-port "$ui_port" &
kiosk=$!

stop() {
    kill -TERM "$kiosk" 2>/dev/null || true
}
trap stop INT TERM

echo "Front-desk server running (pid $frontdesk), journal: $drive/frontdesk/journal.jsonl"
echo "Kiosk running (pid $kiosk). Logs: $drive/Harlix/LogFiles"
echo "Customer screen: http://127.0.0.1:$ui_port/"
echo "Settings: ./build/default/tools/hxreg/hxreg --drive $drive query 'HKLM\\SOFTWARE\\Norvane\\HxKiosk\\Settings'"
echo "Press Ctrl+C to stop."
set +e
wait "$kiosk"
wait "$kiosk" 2>/dev/null
status=$?
set -e
kill -TERM "$frontdesk" 2>/dev/null || true
wait "$frontdesk" 2>/dev/null || true
echo "Kiosk ended (exit status $status). Its log:"
cat "$drive"/Harlix/LogFiles/HXKioskLog-*.log 2>/dev/null | iconv -f CP949 -t UTF-8 || true
