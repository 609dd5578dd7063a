#!/usr/bin/env bash
# Opens the built help file in Wine's WinHelp viewer at its contents and at every
# numbered topic of the help source, checks that the viewer shows that topic under the
# caption "Brightsweep Help", and saves a screenshot of each into SHOTS. Each topic is
# also reached once by its link in the contents topic.
# Usage: ViewerEndToEnd.sh PROBE_EXE HELP_FILE HELP_SOURCE SHOTS
set -euo pipefail
probe=$1 help=$2 source=$3 shots=$4
exec_win="$(cd "$(dirname "$0")/../.." && pwd)/tools/wine-exec"
mkdir -p "$shots"
: "${DISPLAY:?the viewer needs an X display (tools/test starts one)}"

# wine-exec copies the help file into the prefix; this is where it lands.
win_help="C:\\t\\bin\\$(basename "$help")"
trap '"$exec_win" "$probe" "$win_help" quit >/dev/null 2>&1 || true' EXIT

show() { # WHICH TITLE SHOT
  echo "-- $1: $2"
  "$exec_win" "$probe" "$help" "$1" "$2"
  sleep 0.5 # let the viewer finish painting
  import -window root "$shots/$3.png"
}

show contents "$(sed -n 's/^@topic contents //p' "$source")" help-contents
count=0
while read -r number title; do
  show "$number" "$title" "help-topic-$number"
  # The contents topic links to it too.
  "$exec_win" "$probe" "$help" contents "$(sed -n 's/^@topic contents //p' "$source")" >/dev/null
  "$exec_win" "$probe" "$help" follow "$title"
  count=$((count + 1))
done < <(sed -n 's/^@topic \([0-9][0-9]*\) /\1 /p' "$source")
[ "$count" -ge 6 ] || { echo "expected the topics 2 to 7, found $count numbered topics"; exit 1; }
echo "screenshots in $shots"
