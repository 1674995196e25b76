#!/usr/bin/env bash
# Every #include of a project header must point down the layering below (or stay in its own
# folder): a lower folder that needs something higher gets it as a parameter or a hook.
# Programs around the core (tools, bench, fuzz) may include any layer. Images and dialog
# templates live in the folder that uses them.
set -euo pipefail
cd "$(dirname "$0")/.."

rank() {
    case $1 in
    platform) echo 0 ;;
    calendar) echo 1 ;;
    state) echo 2 ;;
    store) echo 3 ;;
    view) echo 4 ;;
    export) echo 5 ;;
    bookmarks) echo 6 ;;  # the index shows the bookmarks as its first branch
    calendar_dialog | index | search | font_chooser | about) echo 7 ;;
    shell) echo 8 ;;
    *) echo "" ;;
    esac
}

status=0
while IFS= read -r line; do
    file=${line%%:*}
    target=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"${line#*:*:}")
    from=${file%%/*}
    to=${target%%/*}
    [ "$target" = "$to" ] && continue  # a header beside the file, or a generated one
    from_rank=$(rank "$from")
    to_rank=$(rank "$to")
    [ -z "$from_rank" ] && continue
    if [ -z "$to_rank" ] || { [ "$from" != "$to" ] && [ "$to_rank" -ge "$from_rank" ]; }; then
        echo "$file includes $target: $from may not reach $to" >&2
        status=1
    fi
done < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h' | xargs grep -Hn '^#include "')
[ $status -eq 0 ] && echo "includes point down the layers"
exit $status
