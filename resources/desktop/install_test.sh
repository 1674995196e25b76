#!/usr/bin/env bash
# The install into an empty folder: the program, its desktop entry, icons, AppStream metainfo
# and manual page in their places, each accepted by its checker, all naming one version.
#   resources/desktop/install_test.sh BUILD_DIR APP_ID VERSION
set -u
build=$1 id=$2 version=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0 passes=0
check() {  # name, condition
    if eval "$2"; then passes=$((passes + 1)); else echo "FAILED: $1" >&2; failures=$((failures + 1)); fi
}

cmake --install "$build" --prefix "$prefix" >/dev/null
status=$?
check "cmake --install succeeds" '[ $status -eq 0 ]'

desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
man=$prefix/share/man/man1/lekta.1.gz
check "program in bin/" '[ -x "$prefix/bin/lekta" ]'
check "desktop entry" '[ -f "$desktop" ]'
check "metainfo" '[ -f "$metainfo" ]'
check "manual page" '[ -f "$man" ]'
for size in 16 22 24 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    check "icon $size" '[ -f "$png" ] && [ "$(head -c 8 "$png" | od -An -tx1 | tr -d " ")" = 89504e470d0a1a0a ]'
done
check "scalable icon" 'grep -q "<svg" "$prefix/share/icons/hicolor/scalable/apps/$id.svg"'

check "desktop-file-validate" 'desktop-file-validate "$desktop"'
check "desktop entry names the icon and program" \
    'grep -qx "Icon=$id" "$desktop" && grep -qx "Exec=lekta" "$desktop"'
check "Hebrew name and comment" 'grep -q "^Name\[he\]=" "$desktop" && grep -q "^Comment\[he\]=" "$desktop"'
check "category Education" 'grep -q "^Categories=Education;" "$desktop"'
check "appstreamcli validate" 'appstreamcli validate --no-net "$metainfo" >"$prefix/as.log" 2>&1 || { cat "$prefix/as.log" >&2; false; }'
check "metainfo release is the version" 'grep -q "<release version=\"$version\"" "$metainfo"'
check "metainfo points at the desktop entry" 'grep -q "<launchable type=\"desktop-id\">$id.desktop<" "$metainfo"'

# The manual page formats without a warning, and has the sections a user looks for.
page=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$man" 2>"$prefix/man.err")
check "manual page formats cleanly" '[ ! -s "$prefix/man.err" ] || { cat "$prefix/man.err" >&2; false; }'
for section in OPTIONS KEYS FILES ENVIRONMENT; do
    check "manual page section $section" 'grep -q "^$section" <<<"$page"'
done
check "manual page version" 'grep -q "lekta $version" <<<"$page"'

# The installed program runs from its new place.
check "installed --version" '[ "$("$prefix/bin/lekta" --version)" = "lekta $version" ]'
check "installed --print" '[ -n "$("$prefix/bin/lekta" --print --date 2026-12-07 | head -n 1)" ]'

echo "install: $passes passed, $failures failed"
[ $failures -eq 0 ]
