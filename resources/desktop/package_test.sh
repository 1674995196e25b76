#!/usr/bin/env bash
# The Debian package as CPack makes it: its dependencies name the Qt 6 libraries (found by
# dpkg-shlibdeps) and the Hebrew fonts, its version is the program's, and the program in it runs.
#   resources/desktop/package_test.sh BUILD_DIR VERSION
set -u
build=$1 version=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0 passes=0
check() {  # name, condition
    if eval "$2"; then passes=$((passes + 1)); else echo "FAILED: $1" >&2; failures=$((failures + 1)); fi
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1
status=$?
deb=$(ls "$out"/lekta_*.deb 2>/dev/null | head -n 1)
check "cpack -G DEB makes a package" '[ $status -eq 0 ] && [ -f "$deb" ] || { cat "$out/cpack.log" >&2; false; }'
[ -f "$deb" ] || { echo "package: $passes passed, $failures failed"; exit 1; }

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6core6 libqt6gui6 libqt6widgets6 culmus; do
    check "Depends names $library" 'grep -q "\b$library\b" <<<"$depends"'
done
check "package version" '[ "$(dpkg-deb -f "$deb" Version)" = "$version" ]'
check "package file name" '[ "${deb##*/}" = "lekta_${version}_$(dpkg --print-architecture).deb" ]'

dpkg-deb -x "$deb" "$out/root"
for file in usr/bin/lekta usr/share/man/man1/lekta.1.gz usr/share/applications/*.desktop \
    usr/share/metainfo/*.metainfo.xml usr/share/icons/hicolor/48x48/apps/*.png; do
    check "package holds $file" '[ -e "$out/root/"$file ]'
done
check "packaged --version" '[ "$("$out/root/usr/bin/lekta" --version)" = "lekta $version" ]'
first=$("$out/root/usr/bin/lekta" --print --date 2026-12-07 | head -n 1)
check "packaged --print" '[ "$first" = "כז כסלו ה'"'"'תשפז" ]'

echo "package: $passes passed, $failures failed"
[ $failures -eq 0 ]
