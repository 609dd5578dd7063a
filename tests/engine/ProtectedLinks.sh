#!/usr/bin/env bash
# Runs the protected-place tests with links that only the host can make: Unix symbolic
# links in a folder under C:\t\work to the prefix's drive root, Windows folder, Users
# folder, the test user's profile and Desktop, and to two allowed folders (the Windows
# temporary folder, and a Temp folder moved elsewhere). The test program gets that folder
# as its argument; the links go again at the end.
# Usage: ProtectedLinks.sh TEST_EXE
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
. "$root/tools/wine-env"
bs_prepare_prefix >&2

c=$(bs_drive_c)
name=protect-links-$$
links=$c/t/work/$name
# rm -r removes the links themselves, never what they lead to.
trap 'bs_as_user rm -rf "$links"' EXIT
bs_as_user mkdir -p "$links/elsewhere/Temp"
link() { bs_as_user ln -s "$1" "$links/$2"; }
link "$c" drive
link "$c/windows" windows
link "$c/windows/temp" windows-temp
link "$c/users" users
link "$c/users/$BS_USER" profile
link "$c/users/$BS_USER/Desktop" desktop
link "$links/elsewhere/Temp" moved-temp

"$root/tools/wine-exec" "$1" "C:\\t\\work\\$name"
