#!/usr/bin/env bash
# Links that only the host can make, under a folder that WIPE_EXE (wipe_folder_at.exe) wipes:
#  - standing links to a folder and to a file outside are neither entered nor followed;
#  - sub-folders swapped for links to an outside folder while the wipe runs, 20 rounds.
# Whatever lies outside the wiped folder (canaries, and link targets named like the files
# inside) must survive every run.
# Usage: HandleWipeLinks.sh WIPE_EXE
set -uo pipefail
exe=$1
root="$(cd "$(dirname "$0")/../.." && pwd)"
. "$root/tools/wine-env"

work="$(bs_drive_c)/t/work/links-$$"
win_wiped="C:\\t\\work\\links-$$\\p\\w"
wiped=$work/p/w
outside=$work/outside
failures=0
trap 'rm -rf "$work"' EXIT

check() { # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
wipe() { "$root/tools/wine-exec" "$exe" "$win_wiped" "$@" >/dev/null; }
as_user_owned() { [ "$(id -u)" -ne 0 ] || chown -hR "$BS_USER" "$work"; }

# Outside the wiped folder: canaries beside it and above it, and a folder whose entries are
# named like the wiped folder's, so that a wipe led astray would find them.
make_outside() {
  rm -rf "$work"
  mkdir -p "$outside/s/t" "$outside/empty" "$wiped"
  echo canary >"$work/canary.txt"
  echo canary >"$work/p/canary.txt"
  for f in f0 f1 f2 f3; do echo canary >"$outside/$f"; done
  echo canary >"$outside/s/f0"
  echo canary >"$outside-file.txt"
}
outside_intact() {
  local f
  for f in "$work/canary.txt" "$work/p/canary.txt" "$outside"/f{0,1,2,3} "$outside/s/f0" \
    "$outside-file.txt"; do
    [ "$(cat "$f" 2>/dev/null)" = canary ] || { echo "     lost: $f"; return 1; }
  done
  [ -d "$outside/s/t" ] && [ -d "$outside/empty" ] || { echo "     lost an empty folder"; return 1; }
}
gone() { [ ! -e "$1" ] && [ ! -L "$1" ]; }

echo "-- standing links"
make_outside
mkdir -p "$wiped/sub" "$wiped/z-after"
for f in f0 f1; do echo x >"$wiped/$f" && echo x >"$wiped/sub/$f"; done
echo x >"$wiped/z-after/f0"
ln -s ../../outside "$wiped/a-folder-link"
ln -s "$outside-file.txt" "$wiped/b-file-link"
ln -s "$outside/empty" "$wiped/c-empty-folder-link"
ln -s ../../../outside/s "$wiped/sub/s"
as_user_owned
wipe --files-only
check "files only: the targets outside survive" outside_intact
check "files only: the plain files go" gone "$wiped/f0"
check "files only: the sub-folders stay" test -f "$wiped/sub/f0"
wipe
check "sub-folders: the targets outside survive" outside_intact
check "sub-folders: links to folders stay as they are" \
  test -L "$wiped/a-folder-link" -a -L "$wiped/c-empty-folder-link" -a -L "$wiped/sub/s"
check "sub-folders: what comes after the links goes" gone "$wiped/z-after"
check "sub-folders: plain files beside the links go" gone "$wiped/sub/f0"

echo "-- sub-folders swapped for links while the wipe runs, 20 rounds"
# The host keeps turning each sub-folder into a link to the outside folder (moving the
# folder aside first) and back into a fresh folder, at every depth, until the wipe ends.
swapper=$(
  cat <<'SWAP'
outside=$1 wiped=$2
n=0
swap() {
  if [ -L "$1" ]; then
    rm -f "$1" && mkdir "$1" 2>/dev/null && echo x >"$1/f0" && echo x >"$1/f1" && mkdir "$1/s"
  else
    mv "$1" "$1.old$n" 2>/dev/null && ln -s "$outside" "$1"
  fi
  n=$((n + 1))
}
while [ ! -e "$wiped/.done" ]; do
  for d in "$wiped"/d[0-9][0-9]; do
    # Never below a link: that would be the outside folder itself.
    swap "$d"
    [ -L "$d" ] || { swap "$d/s"; [ -L "$d/s" ] || swap "$d/s/t"; }
  done
done
echo "$n" >"$wiped/.swaps"
SWAP
)
swaps=0
for round in $(seq 20); do
  make_outside
  python3 - "$wiped" <<'PY'
import os, sys
wiped = sys.argv[1]
for d in range(40):
    for folder in (f"d{d:02}", f"d{d:02}/s", f"d{d:02}/s/t"):
        os.makedirs(os.path.join(wiped, folder), exist_ok=True)
        for f in range(4):
            with open(os.path.join(wiped, folder, f"f{f}"), "w") as out:
                out.write("x")
PY
  as_user_owned
  bs_as_user bash -c "$swapper" _ "$outside" "$wiped" &
  swapping=$!
  wipe
  bs_as_user touch "$wiped/.done"
  wait "$swapping"
  swaps=$((swaps + $(cat "$wiped/.swaps" 2>/dev/null || echo 0)))
  check "round $round: everything outside survives" outside_intact
done
echo "     $swaps swaps in 20 rounds"

[ "$failures" -eq 0 ]
