#!/usr/bin/env bash
# Shows the installer at work on the sample package medium: runs
# Kestrup.exe under Wine on a copy of the medium, saves screenshots of the
# model chooser and the license dialog in out/, accepts both, and prints
# the command line the sample sub-installer received.
#
#   scripts/demo-installer.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
out=$here/../out
mkdir -p "$out"

dist=$(sed -n 's/^KORVAIN_DIST_ROOT:PATH=//p' "$build/installer/CMakeCache.txt")
medium=$dist/package
driver=$build/installer/installer/tests/WindowDriver.exe
[ -f "$medium/Kestrup.exe" ] || { echo "no package medium in $medium: build first" >&2; exit 1; }

copy=$(mktemp -d "${TMPDIR:-/tmp}/kestrup-demo.XXXXXX")
trap 'rm -rf "$copy"' EXIT
cp -r "$medium/." "$copy/"

run_demo() {
  local copy=$1 driver=$2 out=$3
  if [ "$KORVAIN_WINE32" = 0 ]; then
    echo "installer demo not shown: this machine runs no 32-bit programs"
    return 0
  fi
  wd() { wine "$driver" "$@" | tr -d '\r'; }
  # snap SELECTOR FILE: the screen cut to the dialog's rectangle.
  snap() {
    local l t r b
    read -r l t r b <<<"$(wd rect "$1")"
    import -window root -crop "$((r - l))x$((b - t))+$l+$t" +repage "$2"
  }
  wine "$copy/Kestrup.exe" >/dev/null 2>&1 &
  local pid=$!
  wd wait "title=Printer Model" || { echo "the chooser did not open" >&2; return 1; }
  wd clickitem "title=Printer Model" 1004 1
  snap "title=Printer Model" "$out/installer-chooser.png"
  wd press "title=Printer Model" 1
  wd wait "title=License Agreement" || { echo "the license dialog did not open" >&2; return 1; }
  snap "title=License Agreement" "$out/installer-license.png"
  wd press "title=License Agreement" 1
  wait "$pid"
}
export -f run_demo
"$here/with-wine.sh" bash -c 'run_demo "$@"' _ "$copy" "$driver" "$out"

echo "installer: screenshots in out/installer-chooser.png and out/installer-license.png"
echo "installer: the sample sub-installer received:"
sed 's/^/  /' "$copy"/Res/KRU_x64.txt
