#!/usr/bin/env bash
# One running copy: ten starts of the reader at once leave exactly one running, the other nine
# hand over to it and end with status 0; a copy killed outright leaves its rendezvous socket
# behind, and the next start still runs (and is found by the start after it).
#   shell/instance_test.sh LEKTA
set -u
lekta=$1
work=$(mktemp -d)
running=()
cleanup() {
    for pid in "${running[@]}"; do kill -9 "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
failures=0 passes=0
check() {  # name, condition
    if eval "$2"; then passes=$((passes + 1)); else echo "FAILED: $1" >&2; failures=$((failures + 1)); fi
}

# A rendezvous and settings of this test's own, apart from any reader the user runs. A face is
# stored, so no font dialog waits at start.
mkdir -m 700 "$work/run"
mkdir -p "$work/config/Halvern"
printf '[Halvern\\Lekta-Hebrew]\nFontName=DejaVu Sans\n' >"$work/config/Halvern/Lekta-Hebrew.ini"
export LEKTA_CONFIG_DIR=$work/config XDG_RUNTIME_DIR=$work/run TMPDIR=$work/run
export QT_QPA_PLATFORM=offscreen
# The socket is named after the user, then a hash of the display and the settings file.
socket() { ls "$work"/run/Lekta-Hebrew-"$(id -u)"-*.socket 2>/dev/null | head -n 1; }

alive() { kill -0 "$1" 2>/dev/null; }

# Waits until at most $1 of the given copies run (30 s at most); prints how many run.
settle() {
    local want=$1 n
    shift
    for _ in $(seq 300); do
        n=0
        for pid in "$@"; do alive "$pid" && n=$((n + 1)); done
        [ "$n" -le "$want" ] && break
        sleep 0.1
    done
    echo "$n"
}

pids=()
for _ in $(seq 10); do
    "$lekta" --date 2026-12-07 >/dev/null 2>&1 &
    pids+=($!)
done
running=("${pids[@]}")
check "ten starts at once leave one running" '[ "$(settle 1 "${pids[@]}")" -eq 1 ]'
sleep 1
first="" ended_ok=0
for pid in "${pids[@]}"; do
    if alive "$pid"; then
        first=$pid
    else
        wait "$pid" && ended_ok=$((ended_ok + 1))
    fi
done
check "the one copy still runs a second later" '[ -n "$first" ] && alive "$first"'
check "the other nine handed over and ended with status 0" '[ $ended_ok -eq 9 ]'
check "the running copy listens" '[ -S "$(socket)" ]'

# Killed outright: the socket stays behind.
kill -9 "$first" 2>/dev/null
wait "$first" 2>/dev/null
check "a killed copy leaves its socket" '[ -S "$(socket)" ]'

"$lekta" --date 2026-12-07 >/dev/null 2>&1 &
next=$!
running=("$next")
sleep 2
check "the next start runs despite the stale socket" 'alive "$next"'
"$lekta" >/dev/null 2>&1 &
later=$!
running+=("$later")
check "the start after it hands over to it" '[ "$(settle 0 "$later")" -eq 0 ] && wait "$later"'
check "and it still runs" 'alive "$next"'
kill "$next" 2>/dev/null
wait "$next" 2>/dev/null

echo "instance: $passes passed, $failures failed"
[ $failures -eq 0 ]
