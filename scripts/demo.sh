#!/usr/bin/env bash
# Starts the demo: builds what is missing, makes a fresh drive folder, starts
# our front-desk server with the sample motel, the control board simulator on
# the kiosk's COM3 and the kiosk connected to both, and opens the customer
# screen in Chromium's app mode when there is a display (at half size,
# HXKIOSK_SCREEN_SCALE=1 for the real 1080 x 1920). The card dispenser
# simulator is on COM4, the receipt printer simulator on COM0, the card
# terminal simulator on 127.0.0.1:13855. Lines typed here go to the desk, to
# the board when they start with "board ", to the dispenser with
# "dispenser ", to the printer with "printer ", to the card terminal with
# "terminal ". What the guest receives (each key card, each printed document)
# is said here as it happens.
# Ctrl+C ends everything in order.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target hxkiosk hxmoney hxreg frontdesk boardsim dispsim vcatsim prnsim

drive=$(mktemp -d /tmp/hxkiosk-demo.XXXXXX)
echo "Demo drive folder: $drive"

ui_port=${HXKIOSK_UI_PORT:-8049}
card_port=${HXKIOSK_CARD_PORT:-13855}
# A float to pay change from: 100 notes of each kind and 100 key cards.
mkdir -p "$drive/Harlix/INI" "$drive/boardsim" "$drive/dispsim" "$drive/vcatsim" "$drive/prints" \
    "$drive/dosdevices"
printf '[Money]\r\n1000=100\r\n5000=100\r\n10000=100\r\nRFCard=100\r\n' \
    >"$drive/Harlix/INI/SaveMoney.ini"
printf '[Dispenser]\r\nport=COM4\r\n' >"$drive/Harlix/INI/HXKiosk.ini"
# Each program runs in a session of its own, so Ctrl+C reaches this script
# alone and stop() ends them in order. The desk and the board read pipes that
# this terminal's lines are sorted into.
mkfifo "$drive/desk.in" "$drive/board.in" "$drive/dispenser.in" "$drive/terminal.in" \
    "$drive/printer.in"
exec 3<&0 4<>"$drive/desk.in" 5<>"$drive/board.in" 6<>"$drive/dispenser.in" \
    7<>"$drive/terminal.in" 8<>"$drive/printer.in"
setsid ./build/default/tools/frontdesk/frontdesk --scenario tools/frontdesk/scenarios/sample.json \
    --data "$drive/frontdesk" <"$drive/desk.in" &
frontdesk=$!
# The sample motel's dispensers hold 1,000 and 10,000-won notes.
setsid ./build/default/tools/boardsim/boardsim --link "$drive/dosdevices/com3" \
    --journal "$drive/boardsim/journal.jsonl" --dispenser1 1000:100 --dispenser2 10000:100 \
    <"$drive/board.in" &
board=$!
setsid ./build/default/tools/dispsim/dispsim --link "$drive/dosdevices/com4" \
    --journal "$drive/dispsim/journal.jsonl" <"$drive/dispenser.in" &
dispenser=$!
setsid ./build/default/tools/vcatsim/vcatsim --address 127.0.0.1 --port "$card_port" \
    --journal "$drive/vcatsim/journal.jsonl" <"$drive/terminal.in" &
terminal=$!
setsid ./build/default/tools/prnsim/prnsim --link "$drive/dosdevices/com0" \
    --journal "$drive/prints/journal.jsonl" <"$drive/printer.in" &
printer=$!
# Says what the dispenser and the printer hand out; it ends with this script.
setsid python3 scripts/demo_handouts.py --dispenser "$drive/dispsim/journal.jsonl" \
    --printer "$drive/prints/journal.jsonl" --while $$ </dev/null &
handouts=$!
for _ in $(seq 50); do
    [[ -L "$drive/dosdevices/com3" && -L "$drive/dosdevices/com4" &&
        -L "$drive/dosdevices/com0" ]] && break
    sleep 0.1
done
setsid ./build/default/kiosk/hxkiosk --drive "$drive" --ui-port "$ui_port" \
    --card-terminal-port "$card_port" &
kiosk=$!
while IFS= read -r line; do
    if [[ $line == board\ * ]]; then
        printf '%s\n' "${line#board }" >&5
    elif [[ $line == dispenser\ * ]]; then
        printf '%s\n' "${line#dispenser }" >&6
    elif [[ $line == terminal\ * ]]; then
        printf '%s\n' "${line#terminal }" >&7
    elif [[ $line == printer\ * ]]; then
        printf '%s\n' "${line#printer }" >&8
    else
        printf '%s\n' "$line" >&4
    fi
done <&3 &
router=$!

screen_url="http://127.0.0.1:$ui_port/"
browser=
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]] && command -v chromium >/dev/null; then
    # The window size is in page pixels; the scale shrinks it on the desktop.
    scale=${HXKIOSK_SCREEN_SCALE:-0.5}
    sandbox=()
    # Chromium refuses to run as root with its sandbox (--test-type drops
    # the warning bar about it).
    [[ $(id -u) -ne 0 ]] || sandbox=(--no-sandbox --test-type)
    setsid chromium --app="$screen_url" --user-data-dir="$drive/chromium" --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --autoplay-policy=no-user-gesture-required "${sandbox[@]}" \
        --force-device-scale-factor="$scale" --window-size=1080,1920 \
        --lang=ko \
        >"$drive/chromium.log" 2>&1 &
    browser=$!
fi

stop() {
    [[ -z "$browser" ]] || kill -TERM "$browser" 2>/dev/null || true
    kill -TERM "$kiosk" 2>/dev/null || true
}
trap stop INT TERM

echo "Front-desk server running (pid $frontdesk), journal: $drive/frontdesk/journal.jsonl"
echo "Kiosk running (pid $kiosk). Logs: $drive/Harlix/LogFiles"
echo "Customer screen: $screen_url${browser:+ (opened in Chromium)}"
echo "Settings: ./build/default/tools/hxreg/hxreg --drive $drive query 'HKLM\\SOFTWARE\\Norvane\\HxKiosk\\Settings'"
echo "Money journal: ${screen_url}service/money, or ./build/default/kiosk/hxmoney --drive $drive"
echo "Control board simulator running (pid $board) on $drive/dosdevices/com3"
echo "Card dispenser simulator running (pid $dispenser) on $drive/dosdevices/com4"
echo "Card terminal simulator running (pid $terminal) on 127.0.0.1:$card_port"
echo "Receipt printer simulator running (pid $printer) on $drive/dosdevices/com0;"
echo "  what it prints: $drive/prints (doc-NNNN.png and .txt)"
echo "Each key card issued and each document printed is said here (\"dispenser: ...\","
echo "\"printer: ...\")."
echo "Type the desk's control commands here (e.g. room 201 state=1, help), the board's"
echo "after \"board \" (e.g. board bill 10000, board status), the dispenser's after"
echo "\"dispenser \" (e.g. dispenser status, dispenser issued), or the card terminal's"
echo "after \"terminal \" (e.g. terminal next decline 51 한도초과, terminal ledger),"
echo "or the printer's after \"printer \" (e.g. printer state paper-out, printer status)."
echo "Press Ctrl+C to stop."
set +e
wait "$kiosk"
wait "$kiosk" 2>/dev/null
status=$?
set -e
[[ -z "$browser" ]] || kill -TERM "$browser" 2>/dev/null || true
kill -TERM "$router" "$frontdesk" "$board" "$dispenser" "$terminal" "$printer" 2>/dev/null || true
wait "$frontdesk" "$board" "$dispenser" "$terminal" "$printer" 2>/dev/null || true
# The devices have stopped: the follower's last look finds everything they did.
kill -TERM "$handouts" 2>/dev/null || true
wait "$handouts" 2>/dev/null || true
echo "Kiosk ended (exit status $status). Its log:"
cat "$drive"/Harlix/LogFiles/HXKioskLog-*.log 2>/dev/null | iconv -f CP949 -t UTF-8 || true
