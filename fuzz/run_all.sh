#!/usr/bin/env bash
# Runs every fuzz target for a while from its seed corpus; fails on the first crash.
#   fuzz/run_all.sh BUILD_DIR SECONDS_PER_TARGET
set -euo pipefail
if [ $# -ne 2 ]; then
    sed -n '3p' "$0"
    exit 2
fi
BUILD=$(cd "$1" && pwd)
SECONDS_PER_TARGET=$2
HERE=$(cd "$(dirname "$0")" && pwd)

TARGETS=()
for source in "$HERE"/fuzz_*.cpp; do
    name=$(basename "$source" .cpp)
    TARGETS+=("$name")
done

for target in "${TARGETS[@]}"; do
    binary="$BUILD/fuzz/$target"
    if [ ! -x "$binary" ]; then
        echo "missing $binary" >&2
        exit 1
    fi
    # New inputs go to a scratch folder so the committed seeds stay as they are.
    work=$(mktemp -d)
    mkdir "$work/corpus"
    seeds=()
    if [ -d "$HERE/corpus/$target" ]; then seeds=("$HERE/corpus/$target"); fi
    echo "== $target (${SECONDS_PER_TARGET}s)"
    if ! (cd "$work" && "$binary" -max_total_time="$SECONDS_PER_TARGET" \
            "$work/corpus" "${seeds[@]}" >"$work/log" 2>&1); then
        tail -n 40 "$work/log"
        echo "$target failed; the crashing input is kept in $work" >&2
        exit 1
    fi
    grep -E "^Done|^#[0-9]+.*DONE" "$work/log" | tail -n 1 || true
    rm -rf "$work"
done
echo "fuzz: ${#TARGETS[@]} passed, 0 failed"
