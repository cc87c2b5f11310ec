#!/usr/bin/env bash
# Screenshots of the Layout page in out/: the printing preferences of the
# sample printer (its duplex unit installed) in the driver host, the Layout
# page driven by a script through three states (one portrait page per
# sheet; landscape, four pages right then down, long-edge flip; booklet
# bound on the right edge), in English, French and Japanese, the reduced
# page of the XP build, and the page of a printer without its duplex unit
# (one-sided printing only, no booklet).
#
#   scripts/demo-layout.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$(cd "${1:-build}" && pwd)
out=$root/out
mkdir -p "$out"

dist=$(sed -n 's/^KORVAIN_DIST_ROOT:PATH=//p' "$build/x64/CMakeCache.txt" 2>/dev/null || true)
dist=${dist:-$root/dist}
work=$(mktemp -d "${TMPDIR:-/tmp}/layout-demo.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Page 1 is the Layout page; 11004 orientation, 11006 two-sided, 11012
# pages per sheet, 11014 their arrangement, 11011 booklet, 11016 its edge.
cat >"$work/layout.script" <<'SCRIPT'
page 1
screenshot portrait.bmp
choose 11004 1
choose 11006 2
choose 11012 2
choose 11014 0
screenshot landscape-4up-long-edge.bmp
click 11011
choose 11016 1
screenshot booklet-right.bmp
apply
ok
SCRIPT

cat >"$work/no-duplex-unit.script" <<'SCRIPT'
page 1
screenshot no-duplex-unit.bmp
cancel
SCRIPT

with_host() {
  local dist=$1 root=$2 work=$3 out=$4 status=0
  # run ARCH LOCALE SUFFIX SCRIPT [HOST OPTIONS...]: the script with the
  # library of ARCH.
  run() {
    local arch=$1 locale=$2 suffix=$3 script=$4 shots=$work/shots-$1-$2-$4
    shift 4
    mkdir -p "$shots"
    if ! LC_ALL=$locale.UTF-8 wine "$dist/x64/drvhost.exe" sheet \
        --plugin "Z:$dist/$arch/korvain.dll" --ppd "Z:$root/samples/printer/ZQ-sample.ppd" \
        --installed ZQTrayUnit=None "$@" --script "Z:$work/$script" --screenshots "Z:$shots" \
        >"$work/state-$arch-$locale-$script.txt" 2>/dev/null; then
      echo "the driver host failed for $arch in $locale" >&2
      status=1
    fi
    for bmp in "$shots"/*.bmp; do
      [ -f "$bmp" ] || continue
      convert "$bmp" "$out/layout-$(basename "$bmp" .bmp)$suffix.png"
      echo "out/layout-$(basename "$bmp" .bmp)$suffix.png"
    done
  }
  local duplex=(--installed ZQDuplexOption=True)
  run x64 en_US -en layout.script "${duplex[@]}"
  run x64 fr_FR -fr layout.script "${duplex[@]}"
  run x64 ja_JP -ja layout.script "${duplex[@]}"
  [ -f "$dist/x64-xp/korvain.dll" ] && run x64-xp en_US -xp-en layout.script "${duplex[@]}"
  run x64 en_US -en no-duplex-unit.script
  return $status
}

export -f with_host

"$here/with-wine.sh" bash -c 'with_host "$@"' _ "$dist" "$root" "$work" "$out"
