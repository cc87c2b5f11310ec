#!/usr/bin/env bash
# Screenshots of the Layout page in out/: the page of the shipped library
# in a real property sheet over a driver settings tree in several states
# (one portrait page per sheet; landscape, four pages right then down,
# long-edge flip; booklet bound on the right edge), in English, French and
# Japanese, and the reduced page of the XP build.
#
#   scripts/demo-layout.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
out=$here/../out
mkdir -p "$out"

shoot_all() {
  local build=$1 out=$2 status=0
  # shoot CONFIG STATE LOCALE NAME
  shoot() {
    local config=$1 state=$2 locale=$3 name=$4
    local program=$build/$config/extension/layout/tests/layout_screenshot.exe
    local dll
    dll=$(sed -n 's/^KORVAIN_DIST_ROOT:PATH=//p' "$build/$config/CMakeCache.txt")/$config/korvain.dll
    [ -f "$program" ] && [ -f "$dll" ] || { echo "no $config build: skipped $name" >&2; return 0; }
    local bmp
    bmp=$(mktemp --suffix=.bmp)
    if LC_ALL=$locale.UTF-8 KORVAIN_DLL=$dll wine "$program" "$state" "Z:$bmp" >/dev/null 2>&1; then
      convert "$bmp" "$out/layout-$name.png"
      echo "out/layout-$name.png"
    else
      echo "the $name screenshot failed" >&2
      status=1
    fi
    rm -f "$bmp"
  }
  shoot x64 portrait en_US portrait-en
  shoot x64 landscape-4up en_US landscape-4up-long-edge-en
  shoot x64 booklet-right en_US booklet-right-en
  shoot x64 landscape-4up fr_FR landscape-4up-long-edge-fr
  shoot x64 booklet-right ja_JP booklet-right-ja
  shoot x64-xp landscape-4up en_US xp-landscape-4up-en
  return $status
}
export -f shoot_all

"$here/with-wine.sh" bash -c 'shoot_all "$@"' _ "$build" "$out"
