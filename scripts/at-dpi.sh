#!/usr/bin/env bash
# Runs a command with the Wine prefix's display DPI at DPI, then puts the
# prefix's value back as it was (or takes it away when there was none):
#
#   scripts/at-dpi.sh DPI COMMAND...
#
# Wine reads the DPI (HKCU\Control Panel\Desktop, LogPixels) once, when a
# program starts, so only programs started meanwhile see it; the value is
# the whole prefix's, so CTest runs such a command alone (RUN_SERIAL).
set -uo pipefail
dpi=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
key='HKCU\Control Panel\Desktop'

previous=$("$here/wine-exec.sh" reg query "$key" /v LogPixels 2>/dev/null |
  tr -d '\r' | awk '$1 == "LogPixels" { print $3 }')
restore() {
  if [ -n "$previous" ]; then
    "$here/wine-exec.sh" reg add "$key" /v LogPixels /t REG_DWORD /d "$((previous))" /f >/dev/null
  else
    "$here/wine-exec.sh" reg delete "$key" /v LogPixels /f >/dev/null
  fi
}
trap restore EXIT
if ! "$here/wine-exec.sh" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null; then
  echo "at-dpi: could not set the prefix's DPI to $dpi" >&2
  exit 1
fi
"$@"
status=$?
exit $status
