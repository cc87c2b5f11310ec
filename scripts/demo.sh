#!/usr/bin/env bash
# `make demo`: runs what has been built on the bundled sample printer and
# package under Wine, and leaves what a person looks at in out/.
#
#   scripts/demo.sh BUILD_DIR
set -uo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
out=$root/out
mkdir -p "$out"

demo_plugin() {
  local report=$out/plugin-info.txt
  : > "$report"
  for arch in x64 x86; do
    local host=$root/dist/$arch/drvhost.exe
    [ -f "$host" ] || continue
    wine "$host" info "Z:$root/dist/$arch/korvain.dll" "Z:$root/dist/$arch-xp/korvain.dll" \
      2>/dev/null | tr -d '\r' >> "$report"
  done
  cat "$report"
  echo "(written to $report)"
}
export -f demo_plugin
export root out

status=0
"$here/with-wine.sh" bash -c demo_plugin || status=1
for piece in "$here"/demo-*.sh; do
  [ -x "$piece" ] || continue
  "$piece" "$build" || status=1
done
echo
echo "Demo output is in $out:"
ls -1 "$out"
exit $status
