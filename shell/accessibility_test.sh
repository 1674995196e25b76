#!/usr/bin/env bash
# The reader through the desktop's accessibility bus, as a screen reader finds it: on a real X
# server (Xvfb, with a window manager) and a private session bus with the accessibility bus,
# start the reader on a fixed day, walk its tree with pyatspi and drive the calendar and the
# index by keys alone (shell/accessibility_test.py says what is checked).
#   shell/accessibility_test.sh LEKTA
# Exits 77 (skipped) only when the tools it needs are not installed.
set -u
lekta=$1
here=$(cd "$(dirname "$0")" && pwd)
python=/usr/bin/python3
launcher=/usr/libexec/at-spi-bus-launcher

missing=()
for tool in Xvfb dbus-run-session openbox xdotool; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
[ -x "$launcher" ] || missing+=(at-spi2-core)
"$python" -c 'import pyatspi' 2>/dev/null || missing+=(python3-pyatspi)
if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIPPED: not installed: ${missing[*]} (tools/dev.sh installs them)"
    exit 77
fi

work=$(mktemp -d)
xvfb=""
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# A display of its own: Xvfb picks a free number and says which.
# -noreset: the server would otherwise reset when its last client leaves, refusing whoever
# connects during the reset (the probe below is such a client).
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "FAILED: Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
export DISPLAY=:$(head -n1 "$work/display")
for _ in $(seq 50); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
done
if ! xdotool getdisplaygeometry >/dev/null 2>&1; then
    echo "FAILED: the X server at $DISPLAY does not answer" >&2
    exit 1
fi

# Settings of the test's own, with a face stored so that no font dialog waits at start.
mkdir -m 700 "$work/run"
mkdir -p "$work/config/Halvern"
printf '[Halvern\\Lekta-Hebrew]\nFontName=DejaVu Sans\n' >"$work/config/Halvern/Lekta-Hebrew.ini"
export LEKTA_CONFIG_DIR=$work/config XDG_RUNTIME_DIR=$work/run TMPDIR=$work/run
unset QT_QPA_PLATFORM

# What the window should read: the lesson as --print writes it, in reading order.
"$lekta" --print --date 2026-12-08 >"$work/print.txt" || {
    echo "FAILED: lekta --print" >&2
    exit 1
}

timeout 120 dbus-run-session -- bash -c '
    set -u
    openbox >/dev/null 2>&1 &
    # The reader starts once the window manager is up, as on a desktop: a window shown before
    # it is managed may never be made active, and the keys sent below would go nowhere.
    for _ in $(seq 100); do
        xdotool get_num_desktops >/dev/null 2>&1 && break
        sleep 0.1
    done
    "$1" --launch-immediately >/dev/null 2>&1 &
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
    "$2" --date 2026-12-08 >"$5/lekta.log" 2>&1 &
    reader=$!
    "$3" "$4" "$5/print.txt"
    status=$?
    kill "$reader" 2>/dev/null
    exit $status
' accessibility "$launcher" "$lekta" "$python" "$here/accessibility_test.py" "$work" 2>"$work/bus.log"
status=$?
if [ $status -ne 0 ]; then
    echo "--- the reader said:" >&2
    cat "$work/lekta.log" >&2
    [ $status -eq 124 ] && echo "FAILED: timed out" >&2
fi
exit $status
