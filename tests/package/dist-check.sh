#!/usr/bin/env bash
# Runs tools/package into DIST (twice) and checks the download files: the names carry
# the version, the zip holds exactly the built exe and the files the build lists to go
# with it, README.txt and LICENSE.txt are plain text with Windows line ends, the
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

# The build's list of what goes into the zip, by file name; the exe, the README, the
# licence and the help file must be among them.
listed=$(xargs -d '\n' -n1 basename <"$build/brightsweep-files.txt" | LC_ALL=C sort | tr '\n' ' ')
for must in brightsweep.exe README.txt LICENSE.txt Tidyvane.hlp Tidyvane.chm; do
  check "the build lists $must for the zip" grep -q " $must " <<<" $listed"
done
expected=$(for f in $listed; do printf '%s/%s ' "$name" "$f"; done)
listing=$(unzip -Z1 "$zip" 2>/dev/null | LC_ALL=C sort | tr '\n' ' ')
check "zip lists [$expected]" test "$listing" = "$expected"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"
while IFS= read -r file; do
  check "zip holds the built $(basename "$file")" cmp -s "$unpacked/$name/$(basename "$file")" "$file"
done <"$build/brightsweep-files.txt"
check "LICENSE.txt is LICENSE with CR LF line ends" \
  cmp -s "$unpacked/$name/LICENSE.txt" <(sed 's/$/\r/' "$src/LICENSE")
# Notepad before Windows 10 shows a text with bare LF line ends as one long line.
plain_crlf() { # file: ASCII only, every line ending in CR LF, the last one too
  ! LC_ALL=C grep -q '[^[:print:][:space:]]' "$1" && ! grep -q $'[^\r]$\|^$' "$1" &&
    [ "$(tail -c 2 "$1" | od -An -c | tr -d ' ')" = '\r\n' ]
}
check "README.txt is plain text with CR LF line ends" plain_crlf "$unpacked/$name/README.txt"

check "setup program is a Windows program" test "$(head -c 2 "$setup")" = "MZ"
check "SHA256SUMS names both downloads" test "$(awk '{print $2}' "$dist/SHA256SUMS" | tr '\n' ' ')" = "$name-portable.zip $name-setup.exe "
check "SHA256SUMS verifies" bash -c "cd '$dist' && sha256sum --quiet -c SHA256SUMS"

first=$(sha256sum <"$zip")
sleep 1
"$src/tools/package" --dist "$dist" >/dev/null
check "a second run gives the same zip" test "$(sha256sum <"$zip")" = "$first"

[ "$failures" -eq 0 ]
