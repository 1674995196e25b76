#!/usr/bin/env bash
# The reader's command line end to end: --print on known dates, a book without the leap-cycle
# lessons on a leap-cycle day, and damaged book files.
#   shell/cli_test.sh LEKTA LEKTA_PACK DEMO_SOURCE
set -u
lekta=$1 pack=$2 source=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0 passes=0
check() {  # name, condition
    if eval "$2"; then passes=$((passes + 1)); else echo "FAILED: $1" >&2; failures=$((failures + 1)); fi
}

for case in "2006-09-23:א תשרי ה'תשסז" "2007-01-01:יא טבת ה'תשסז" "2026-12-07:כז כסלו ה'תשפז"; do
    date=${case%%:*} text=${case#*:}
    first=$("$lekta" --print --date "$date" | head -n 1)
    check "date text of $date" '[ "$first" = "$text" ]'
done

# A book of the regular arrangement only: the demo source less its leap-cycle lessons, and its
# sections less their leap-cycle lessons.
awk '/^@lesson leap /{skip=1; next} /^@/{skip=0} /^section /{sub(/ leap [0-9]+\/[0-9]+:/, ":")} !skip' \
    "$source" > "$work/regular.lekta"
"$pack" "$work/regular.lekta" "$work/regular.res"
check "packing a regular-only book" '[ -s "$work/regular.res" ]'
"$lekta" --print --book "$work/regular.res" --date 2026-12-07 >"$work/out" 2>"$work/err"
status=$?
check "leap-cycle day refused with status 1" '[ $status -eq 1 ]'
check "leap-cycle message" '[ "$(cat "$work/err")" = "$(printf "Could not access the\nThe lesson for the selected day")" ]'
"$lekta" --print --book "$work/regular.res" --date 2026-03-01 >/dev/null 2>&1
status=$?
check "regular-cycle day shown from a regular-only book" '[ $status -eq 0 ]'

# Latin words and numbers in a Hebrew paragraph: --print gives back the source text.
awk '{print} /^subtitle: /{print "p: מספר ABC 123 בתוך (DEF 4.5%) דבר"}' "$work/regular.lekta" > "$work/mixed.lekta"
"$pack" "$work/mixed.lekta" "$work/mixed.res"
check "packing a book with mixed-direction text" '[ -s "$work/mixed.res" ]'
"$lekta" --print --book "$work/mixed.res" --date 2026-03-01 >"$work/out" 2>&1
check "mixed-direction text printed as written" 'grep -qx "מספר ABC 123 בתוך (DEF 4.5%) דבר" "$work/out"'
printf '@lesson 1/1\np: אבג 123 ABC\n' > "$work/ambiguous.lekta"
"$pack" "$work/ambiguous.lekta" "$work/ambiguous.res" 2>"$work/err"
check "text that would not read back is refused at its line" \
    '[ $? -ne 0 ] && grep -q "ambiguous.lekta:2: the mixed-direction text" "$work/err"'

# Damaged book files: one line naming the file, status 2.
head -c 3000 "$work/regular.res" > "$work/truncated.res"
cp "$work/regular.res" "$work/corrupt.res"
printf '\x55' | dd of="$work/corrupt.res" bs=1 seek=5000 conv=notrunc status=none
for bad in truncated corrupt missing; do
    "$lekta" --print --book "$work/$bad.res" >/dev/null 2>"$work/err"
    status=$?
    check "$bad book gives status 2" '[ $status -eq 2 ]'
    check "$bad book gives one line naming the file" \
        '[ "$(wc -l < "$work/err")" -eq 1 ] && grep -q "$bad.res" "$work/err"'
done

# A generated set of damaged books: cut short at many points, and single bytes changed all
# through the file. Each gives one line naming the file and status 2, never a crash or a hang; a
# change the checks cannot see may pass only when the lesson printed is the undamaged one.
day=2026-03-01
"$lekta" --print --book "$work/regular.res" --date $day >"$work/good.out" 2>/dev/null
size=$(stat -c %s "$work/regular.res")
damaged() {  # file, what was done to it
    timeout 20 "$lekta" --print --book "$1" --date $day >"$work/out" 2>"$work/err"
    local status=$?
    if [ $status -eq 2 ] && [ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "${1##*/}" "$work/err"; then
        return 0
    fi
    [ $status -eq 0 ] && cmp -s "$work/out" "$work/good.out" && return 0
    echo "  $2: status $status: $(head -c 200 "$work/err")" >&2
    return 1
}
points=(1 4 8 16 31 32 33 36 40 44 48 52 56 60 63 64 65 100 $((size - 4)) $((size - 2)) $((size - 1)))
for k in $(seq 1 30); do points+=($((size * k / 31))); done
bad_cuts=0
for point in "${points[@]}"; do
    head -c "$point" "$work/regular.res" >"$work/cut.res"
    damaged "$work/cut.res" "cut at $point" || bad_cuts=$((bad_cuts + 1))
done
check "${#points[@]} books cut short" '[ $bad_cuts -eq 0 ]'
bad_flips=0 flips=0
for k in $(seq 0 59); do
    # The first hundred bytes in steps, then spread over the whole file.
    if [ $k -lt 25 ]; then at=$((k * 4 + 1)); else at=$(((size * (k - 24) / 36 + k * 7) % size)); fi
    cp "$work/regular.res" "$work/flip.res"
    byte=$(od -An -tu1 -j "$at" -N 1 "$work/flip.res" | tr -d ' ')
    printf "\\x$(printf %02x $((byte ^ (1 << (k % 8)))))" |
        dd of="$work/flip.res" bs=1 seek="$at" conv=notrunc status=none
    flips=$((flips + 1))
    damaged "$work/flip.res" "bit $((k % 8)) of byte $at changed" || bad_flips=$((bad_flips + 1))
done
check "$flips books with a byte changed" '[ $bad_flips -eq 0 ]'

# Bad command lines: nothing starts; one line naming the problem and pointing to --help;
# status 2, as GNU programs do. Words that are not options are still ignored.
bad_lines=("--date 2026-13-01" "--date 2026-02-30" "--date=" "--date" "--screenshot"
           "--screenshot $work/no/such/folder/x.png" "--book $work" "--book $work/none.res" "--frobnicate")
for args in "${bad_lines[@]}"; do
    # shellcheck disable=SC2086
    "$lekta" $args --print >"$work/out" 2>"$work/err"
    status=$?
    check "'$args' gives status 2 and no lesson" '[ $status -eq 2 ] && [ ! -s "$work/out" ]'
    check "'$args' gives one line with a hint to --help" \
        '[ "$(wc -l < "$work/err")" -eq 1 ] && grep -q -- "--help" "$work/err"'
done
"$lekta" --print --date "" >/dev/null 2>"$work/err"
status=$?
check "an empty date gives status 2" '[ $status -eq 2 ] && grep -q "needs a value" "$work/err"'
"$lekta" --date 2026-13-01 --screenshot "$work/bad.png" >/dev/null 2>&1
check "a bad date opens no window" '[ $? -eq 2 ] && [ ! -e "$work/bad.png" ]'
first=$("$lekta" --print notes.txt /todays --date 2026-12-07 2>"$work/err" | head -n 1)
check "words that are not options are ignored" '[ "$first" = "כז כסלו ה'"'"'תשפז" ] && [ ! -s "$work/err" ]'

# No display: the lesson is printed instead of the window; a screenshot fails instead.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$lekta" --date 2026-12-07)
first=$("${nodisplay[@]}" 2>"$work/err" | head -n 1)
check "no display prints the lesson" '[ "$first" = "כז כסלו ה'"'"'תשפז" ] && grep -q "no display" "$work/err"'
"${nodisplay[@]}" --screenshot "$work/x.png" >"$work/out" 2>"$work/err"
status=$?
check "no display fails a screenshot" '[ $status -eq 1 ] && [ ! -s "$work/out" ] && [ ! -e "$work/x.png" ]'

echo "cli: $passes passed, $failures failed"
[ $failures -eq 0 ]
