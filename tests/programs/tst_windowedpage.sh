#!/usr/bin/env bash
# The demo's windowed path on a real X server (Xvfb): the settings host shows
# the SIM page in a window, a real click on the activate row makes the PIN
# query service open its dialogue window, the PIN is typed with real key
# events and confirmed, and the card gets activated: the page then shows the
# PIN request row. Screenshots of both windows are written to OUT_DIR.
#   tests/programs/tst_windowedpage.sh BUILD_DIR OUT_DIR APPLET
# Runs on a private bus (scripts/with-private-bus). Exits 77 (skipped) only
# when there is no Xvfb to run.
set -u
build=$1
out=$2
bin=$build/bin
applet=$3
limit=30 # seconds for any one thing to happen
pin=1234

fail() {
    echo "windowedpage: $*" >&2
    for log in "$work"/*.log; do
        [ -s "$log" ] && { echo "--- ${log##*/}" >&2; tail -n 30 "$log" >&2; }
    done
    exit 1
}

for tool in Xvfb xdotool import identify; do
    if ! command -v "$tool" >/dev/null; then
        [ "$tool" = Xvfb ] && { echo "windowedpage: SKIPPED: no Xvfb (package xvfb)"; exit 77; }
        echo "windowedpage: $tool is missing (scripts/setup installs it)" >&2
        exit 1
    fi
done
[ -n "${DBUS_SYSTEM_BUS_ADDRESS:-}" ] || { echo "windowedpage: run me on a private bus" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/simwindow.XXXXXX")
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Xvfb picks a free display itself and writes its number when it accepts
# clients. The screen is a little larger than the phone-sized window.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 800x1000x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
read -r -t "$limit" number <"$work/display" || fail "Xvfb did not start"
export DISPLAY=:$number
export QT_QPA_PLATFORM=xcb
export QT_LOGGING_RULES=default.debug=false

# The simulated card waits for its PIN; the PIN query service asks in windows.
"$bin/modem-sim" >"$work/modem.log" 2>&1 &
pids+=($!)
"$bin/mode-control-daemon" >"$work/mode-control.log" 2>&1 &
pids+=($!)
"$bin/pin-query-service" --backend modem >"$work/pin-query.log" 2>&1 &
pids+=($!)
# Each peer is up once it answers on the bus; nothing announces that.
for probe in "status" "pin pending" "modem status"; do
    deadline=$((SECONDS + limit))
    # shellcheck disable=SC2086
    until "$bin/phonectl" $probe >/dev/null 2>&1; do
        [ "$SECONDS" -lt "$deadline" ] || fail "a peer did not start (phonectl $probe)"
        sleep 0.1
    done
done

coproc HOST { "$bin/settings-host" --plugin "$applet" --lang en --interactive 2>"$work/host.log"; }
pids+=("$HOST_PID")
commands=0
reply=
# host COMMAND: runs one automation command; its status line in $reply.
host() {
    commands=$((commands + 1))
    echo "$1" >&"${HOST[1]}"
    local line
    while IFS= read -r -t "$limit" line <&"${HOST[0]}"; do
        case $line in
        "ok line $commands:"*)
            reply=$line
            return 0
            ;;
        "FAILED line $commands:"*) fail "host: $line" ;;
        esac
    done
    fail "host: no answer to \"$1\""
}

# window CLASS: the id of the visible window of that program, once it shows.
window() {
    timeout "$limit" xdotool search --sync --onlyvisible --class "$1" 2>/dev/null | head -n 1
}

# shoot WINDOW FILE: a screenshot of the window once it has been drawn (a
# window just mapped may still be one plain colour).
shoot() {
    local deadline=$((SECONDS + limit)) colours
    while :; do
        import -window "$1" "$2" 2>>"$work/import.log" &&
            colours=$(identify -format '%k' "$2" 2>>"$work/import.log") &&
            [ "${colours:-0}" -gt 2 ] && return 0
        [ "$SECONDS" -lt "$deadline" ] || fail "window $1 was not drawn (screenshot $2)"
        sleep 0.1
    done
}

host "open 0"
host "wait visible SimActivateSimItem $((limit * 1000))"
page=$(window settings-host)
[ -n "$page" ] || fail "no settings-host window"
host "locate SimActivateSimItem"
read -r x y < <(sed -E 's/.*at \(([0-9]+), ([0-9]+)\)$/\1 \2/' <<<"$reply")
[ -n "$y" ] || fail "cannot read \"$reply\""

xdotool mousemove --window "$page" "$x" "$y" click 1
dialogue=$(window pin-query-service)
[ -n "$dialogue" ] || fail "no PIN dialogue window after the tap"
mkdir -p "$out"
shoot "$page" "$out/sim-window-page.png"
shoot "$dialogue" "$out/sim-window-pin-dialogue.png"

# Without a window manager nobody gives the dialogue the focus.
timeout "$limit" xdotool windowfocus --sync "$dialogue" || fail "cannot focus the dialogue"
xdotool type --delay 20 "$pin"
xdotool key Return
host "wait visible SimPinRequestItem $((limit * 1000))"
host "wait hidden SimActivateSimItem 0"
deadline=$((SECONDS + limit))
while xdotool search --onlyvisible --class pin-query-service >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the PIN dialogue stayed open"
    sleep 0.1
done
shoot "$page" "$out/sim-window-activated.png"
host quit
echo "windowedpage: page $page and dialogue $dialogue on $DISPLAY; card activated with real input"
