#!/usr/bin/env bash
# Starts veltrix on a display of its own (Xvfb), checks that the main window
# appears with the caption "Veltrix" and the class "VeltrixClass", asks the
# program to end as a logout would, and checks that the log ends with the
# "End of work" line. Usage: VeltrixXvfbTest.sh PATH_TO_VELTRIX
set -uo pipefail
VELTRIX="$1"
for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        # Where X11 is required, a missing tool is a failure, not a skip.
        if [[ -n "${VX_REQUIRE_X11:-}" ]]; then
            echo "FAIL: $tool is not installed"
            exit 1
        fi
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done
TMP=$(mktemp -d /tmp/vx-xvfb.XXXXXX)
XVFB=""
APP=""
cleanup() {
    [[ -n "$APP" ]] && kill -KILL "$APP" 2>/dev/null
    [[ -n "$XVFB" ]] && kill "$XVFB" 2>/dev/null
    rm -rf "$TMP"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    [[ -f "$TMP/app.log" ]] && cat "$TMP/app.log"
    exit 1
}

# Xvfb picks a free display and names it.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$TMP/display" 2>"$TMP/xvfb.log" &
XVFB=$!
for _ in $(seq 100); do
    [[ -s "$TMP/display" ]] && break
    sleep 0.1
done
[[ -s "$TMP/display" ]] || fail "Xvfb did not start"
export DISPLAY=":$(tr -d '[:space:]' <"$TMP/display")"

# A user of its own; the database settings point nowhere, so no real
# database is touched.
export HOME="$TMP/home" XDG_CONFIG_HOME="$TMP/home/.config" VELTRIX_HOME="$TMP/prog"
export XDG_RUNTIME_DIR="$TMP/run"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME/Quendal" "$VELTRIX_HOME"
printf '[Base]\nServerIP=127.0.0.1\nPortDB=1\nNameDB=none\n' >"$XDG_CONFIG_HOME/Quendal/Veltrix.conf"

"$VELTRIX" >"$TMP/app.log" 2>&1 &
APP=$!
WINDOW=""
for _ in $(seq 150); do
    WINDOW=$(xdotool search --onlyvisible --class VeltrixClass 2>/dev/null | head -n1)
    [[ -n "$WINDOW" ]] && break
    kill -0 "$APP" 2>/dev/null || fail "veltrix ended before showing its window"
    sleep 0.2
done
[[ -n "$WINDOW" ]] || fail "no visible window of class VeltrixClass"
NAME=$(xdotool getwindowname "$WINDOW")
[[ "$NAME" == "Veltrix" ]] || fail "the main window is called '$NAME'"

kill -TERM "$APP"
for _ in $(seq 150); do
    kill -0 "$APP" 2>/dev/null || break
    sleep 0.2
done
kill -0 "$APP" 2>/dev/null && fail "veltrix did not end after SIGTERM"
wait "$APP"
RC=$?
APP=""
[[ $RC -eq 0 ]] || fail "veltrix ended with $RC"
LOG="$VELTRIX_HOME/Veltrix.log"
[[ -f "$LOG" ]] || fail "no Veltrix.log"
LAST=$(tail -n 1 "$LOG")
[[ "$LAST" == "------------- End of work ---------------------------------------------" ]] ||
    fail "the log ends with '$LAST'"
echo "PASS: window $WINDOW '$NAME' of class VeltrixClass, closed with End of work"
