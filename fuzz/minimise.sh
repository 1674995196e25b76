#!/usr/bin/env bash
# Shrinks a target's committed corpus to the fewest inputs that still cover all it covers.
# Inputs with a name (hand-made seeds, and crashes or slow inputs kept under a name that says
# what they were) always stay; only libFuzzer's content-hash names may go.
#   fuzz/minimise.sh BUILD_DIR TARGET
set -euo pipefail
if [ $# -ne 2 ]; then
    sed -n '5p' "$0"
    exit 2
fi
BUILD=$(cd "$1" && pwd)
TARGET=$2
HERE=$(cd "$(dirname "$0")" && pwd)
binary="$BUILD/fuzz/$TARGET"
corpus="$HERE/corpus/$TARGET"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/kept" "$work/hashed"
for input in "$corpus"/*; do
    if [[ $(basename "$input") =~ ^[0-9a-f]{40}$ ]]; then
        cp "$input" "$work/hashed/"
    else
        cp "$input" "$work/kept/"
    fi
done
before=$(ls "$corpus" | wc -l)
# The named inputs come first, so only hashed ones that reach beyond them are taken.
(cd "$HERE/corpus" && "$binary" -merge=1 -timeout=10 -rss_limit_mb=4096 \
    "$work/kept" "$work/hashed" >"$work/merge.log" 2>&1) || {
    tail -n 20 "$work/merge.log"
    exit 1
}
find "$corpus" -maxdepth 1 -type f -regextype posix-extended -regex '.*/[0-9a-f]{40}' -delete
cp -n "$work/kept"/* "$corpus/"
echo "$TARGET: $before inputs before, $(ls "$corpus" | wc -l) after minimising"
