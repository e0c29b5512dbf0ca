#!/usr/bin/env bash
# Starts veltrix on a display of its own (Xvfb) with the session tracker
# switched on in the profile and checks that the tracker window appears at
# start: 300 x 160 pixels at the top left, above the main window. With
# SCREENSHOT=FILE it also saves the screen. Usage: TrackerXvfbTest.sh PATH_TO_VELTRIX
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
TMP=$(mktemp -d /tmp/vx-tracker-xvfb.XXXXXX)
XVFB=""
WM=""
APP=""
cleanup() {
    [[ -n "$APP" ]] && kill -KILL "$APP" 2>/dev/null
    [[ -n "$WM" ]] && kill "$WM" 2>/dev/null
    [[ -n "$XVFB" ]] && kill "$XVFB" 2>/dev/null
    rm -rf "$TMP"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    [[ -f "$TMP/app.log" ]] && cat "$TMP/app.log"
    exit 1
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$TMP/display" 2>"$TMP/xvfb.log" &
XVFB=$!
for _ in $(seq 100); do
    [[ -s "$TMP/display" ]] && break
    sleep 0.1
done
[[ -s "$TMP/display" ]] || fail "Xvfb did not start"
export DISPLAY=":$(tr -d '[:space:]' <"$TMP/display")"
# A picture for people wants the window manager's frames.
WM=""
if [[ -n "${SCREENSHOT:-}" ]] && command -v openbox >/dev/null 2>&1; then
    openbox >/dev/null 2>&1 &
    WM=$!
    sleep 1
fi

export HOME="$TMP/home" XDG_CONFIG_HOME="$TMP/home/.config" VELTRIX_HOME="$TMP/prog"
export XDG_RUNTIME_DIR="$TMP/run"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME/Quendal" "$VELTRIX_HOME"
# The tracker switched on; no database anywhere.
printf '[Base]\nServerIP=127.0.0.1\nPortDB=1\nNameDB=none\n[RoraRevirDlg]\nCheckDlg=1\n' \
    >"$XDG_CONFIG_HOME/Quendal/Veltrix.conf"

"$VELTRIX" >"$TMP/app.log" 2>&1 &
APP=$!
WINDOW=""
for _ in $(seq 150); do
    WINDOW=$(xdotool search --onlyvisible --name '^Session$' 2>/dev/null | head -n1)
    [[ -n "$WINDOW" ]] && break
    kill -0 "$APP" 2>/dev/null || fail "veltrix ended before showing the tracker"
    sleep 0.2
done
[[ -n "$WINDOW" ]] || fail "no visible session tracker window"
sleep 1
GEOMETRY=$(xdotool getwindowgeometry "$WINDOW")
echo "$GEOMETRY"
grep -q "Geometry: 300x160" <<<"$GEOMETRY" || fail "the tracker is not 300 x 160: $GEOMETRY"
grep -q "Position: 0,0" <<<"$GEOMETRY" || fail "the tracker is not at the top left: $GEOMETRY"
if [[ -n "${SCREENSHOT:-}" ]] && command -v import >/dev/null 2>&1; then
    import -window root "$SCREENSHOT"
fi

kill -TERM "$APP"
for _ in $(seq 150); do
    kill -0 "$APP" 2>/dev/null || break
    sleep 0.2
done
kill -0 "$APP" 2>/dev/null && fail "veltrix did not end after SIGTERM"
wait "$APP"
APP=""
# Closing saved the tracker's place.
grep -q '^wndPos=0:0:300:160$' "$XDG_CONFIG_HOME/Quendal/Veltrix.conf" ||
    fail "the tracker's place was not saved: $(grep wndPos "$XDG_CONFIG_HOME/Quendal/Veltrix.conf")"
echo "PASS: the session tracker $WINDOW opened at 300 x 160 in the corner and kept its place"
