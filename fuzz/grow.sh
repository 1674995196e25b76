#!/usr/bin/env bash
# A long run of one fuzz target that keeps what it learns: runs it from the committed corpus,
# then adds the fewest new inputs that cover what the run reached beyond it. A crash or slow input is left beside the corpus under libFuzzer's name;
# rename it to say what it was before committing it.
#   fuzz/grow.sh BUILD_DIR TARGET SECONDS
set -euo pipefail
if [ $# -ne 3 ]; then
    sed -n '6p' "$0"
    exit 2
fi
BUILD=$(cd "$1" && pwd)
TARGET=$2
SECONDS_TO_RUN=$3
HERE=$(cd "$(dirname "$0")" && pwd)
binary="$BUILD/fuzz/$TARGET"
corpus="$HERE/corpus/$TARGET"
mkdir -p "$corpus"
work=$(mktemp -d)
mkdir "$work/new" "$work/merged"
status=0
(cd "$HERE/corpus" && "$binary" -max_total_time="$SECONDS_TO_RUN" -timeout=10 -rss_limit_mb=4096 \
    -artifact_prefix="$corpus/" "$work/new" "$corpus" >"$work/log" 2>&1) || status=$?
grep -E "^#[0-9]+.*DONE|^Done" "$work/log" | tail -n 1 || true
if [ $status -ne 0 ]; then
    tail -n 40 "$work/log"
    echo "$TARGET: a finding, kept in $corpus" >&2
    exit 1
fi
# Only the new inputs that reach something the committed ones do not are added, and then the
# whole corpus is shrunk again to what covers it.
before=$(ls "$corpus" | wc -l)
"$binary" -merge=1 "$corpus" "$work/new" >"$work/merge.log" 2>&1
echo "$TARGET: $before inputs before, $(ls "$corpus" | wc -l) after merging"
rm -rf "$work"
"$HERE/minimise.sh" "$BUILD" "$TARGET"
