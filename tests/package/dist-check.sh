#!/usr/bin/env bash
# Runs tools/package into DIST (twice) and checks the download files: the names carry
# the version, the zip holds exactly the documented files with the built exe, the
# checksums verify, and the same sources give the same zip.
# Usage: dist-check.sh SOURCE_DIR BUILD_DIR DIST_DIR
set -uo pipefail
src=$1 build=$2 dist=$3
failures=0
check() { # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

rm -rf "$dist"
"$src/tools/package" --dist "$dist" >/dev/null || { echo "FAIL tools/package"; exit 1; }
version=$(cat "$build/brightsweep-version.txt")
name=brightsweep-$version
zip=$dist/$name-portable.zip
setup=$dist/$name-setup.exe

check "dist holds exactly the zip, the setup program and SHA256SUMS" \
  test "$(cd "$dist" && ls | LC_ALL=C sort | tr '\n' ' ')" = "SHA256SUMS $name-portable.zip $name-setup.exe "

expected="$name/LICENSE $name/README.md $name/Tidyvane.chm $name/Tidyvane.hlp $name/brightsweep.exe "
listing=$(unzip -Z1 "$zip" 2>/dev/null | LC_ALL=C sort | tr '\n' ' ')
check "zip lists [$expected]" test "$listing" = "$expected"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"
check "zip holds the built exe" cmp -s "$unpacked/$name/brightsweep.exe" "$build/brightsweep.exe"
check "zip holds the licence" cmp -s "$unpacked/$name/LICENSE" "$src/LICENSE"
check "zip holds the built help file" cmp -s "$unpacked/$name/Tidyvane.hlp" "$build/Tidyvane.hlp"
check "zip holds the built HTML Help file" cmp -s "$unpacked/$name/Tidyvane.chm" "$build/Tidyvane.chm"

check "setup program is a Windows program" test "$(head -c 2 "$setup")" = "MZ"
check "SHA256SUMS names both downloads" test "$(awk '{print $2}' "$dist/SHA256SUMS" | tr '\n' ' ')" = "$name-portable.zip $name-setup.exe "
check "SHA256SUMS verifies" bash -c "cd '$dist' && sha256sum --quiet -c SHA256SUMS"

first=$(sha256sum <"$zip")
sleep 1
"$src/tools/package" --dist "$dist" >/dev/null
check "a second run gives the same zip" test "$(sha256sum <"$zip")" = "$first"

[ "$failures" -eq 0 ]
