#!/usr/bin/env bash
# Shows the installer at work on the sample package medium: runs
# Kestrup.exe under Wine on a copy of the medium, saves screenshots of the
# model chooser and the license dialog in out/, accepts both, and prints
# the command line the sample sub-installer received. Where the machine
# runs no 32-bit programs, the shipped 32-bit installer cannot start: the
# installer's 64-bit test build (the same program at another width) is
# shown on the same medium instead, and the demo says so.
#
#   scripts/demo-installer.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
out=$(cd "$here/.." && pwd)/out
mkdir -p "$out"

dist=$(sed -n 's/^KORVAIN_DIST_ROOT:PATH=//p' "$build/installer/CMakeCache.txt")
medium=$dist/package
[ -f "$medium/Kestrup.exe" ] || { echo "no package medium in $medium: build first" >&2; exit 1; }

copy=$(mktemp -d "${TMPDIR:-/tmp}/kestrup-demo.XXXXXX")
trap 'rm -rf "$copy"' EXIT
cp -r "$medium/." "$copy/"
rm -f "$out/installer-chooser.png" "$out/installer-license.png"

# run_demo COPY BUILD OUT: inside Wine's session, which tells in
# KORVAIN_WINE32 whether 32-bit programs run.
run_demo() {
  local copy=$1 build=$2 out=$3 config=installer loader=wine
  if [ "$KORVAIN_WINE32" = 0 ]; then
    config=installer-x64
    loader=${KORVAIN_WINE64_LOADER:-/usr/lib/wine/wine64}
    [ -f "$build/$config/installer/Kestrup.exe" ] || {
      echo "no 64-bit test build of the installer in $build/$config: build first" >&2
      return 1
    }
    cp "$build/$config/installer/Kestrup.exe" "$copy/Kestrup.exe"
    echo "installer: this machine runs no 32-bit programs: shown through its 64-bit test build" \
         "(the same program at another width) on the sample medium"
  fi
  local driver=$build/$config/installer/tests/WindowDriver.exe
  # The window driver's own status, not the filter's: a dialog that never
  # opened stops the demo.
  wd() { "$loader" "$driver" "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }
  # snap SELECTOR FILE: the screen cut to the dialog's rectangle.
  snap() {
    local l t r b
    read -r l t r b <<<"$(wd rect "$1")"
    import -window root -crop "$((r - l))x$((b - t))+$l+$t" +repage "$2"
  }
  "$loader" "$copy/Kestrup.exe" >/dev/null 2>&1 &
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
"$here/with-wine.sh" bash -c 'run_demo "$@"' _ "$copy" "$build" "$out"

shots=()
for shot in installer-chooser installer-license; do
  [ -s "$out/$shot.png" ] && shots+=("out/$shot.png")
done
if [ ${#shots[@]} -ne 2 ]; then
  echo "installer: FAILED: the chooser and the license dialog were not both captured" >&2
  exit 1
fi
echo "installer: screenshots in ${shots[0]} and ${shots[1]}"
received=$(ls "$copy"/Res/KRU_*.txt 2>/dev/null | head -1)
if [ -z "$received" ]; then
  echo "installer: FAILED: no sub-installer was started" >&2
  exit 1
fi
echo "installer: the sample sub-installer $(basename "$received" .txt).exe received:"
sed 's/^/  /' "$received"
