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
    if [ "$arch" = x86 ] && [ "$KORVAIN_WINE32" = 0 ]; then
      echo "$arch: not shown, this machine runs no 32-bit programs" >> "$report"
      continue
    fi
    wine "$host" info "Z:$root/dist/$arch/korvain.dll" "Z:$root/dist/$arch-xp/korvain.dll" \
      2>/dev/null | tr -d '\r' >> "$report"
  done
  cat "$report"
  echo "(written to $report)"
}

# The printing preferences of the sample printer, in three languages: the
# Job Settings page filled in and applied, and the resulting state.
demo_preferences() {
  local ppd="Z:$root/samples/printer/ZQ-sample.ppd"
  local script="Z:$root/host/demo/job_settings.script"
  for pair in en:en_US de:de_DE ja:ja_JP; do
    local lang=${pair%%:*} locale=${pair#*:}
    local shots=$out/shots-$lang
    mkdir -p "$shots"
    LC_ALL=$locale.UTF-8 wine "$root/dist/x64/drvhost.exe" sheet \
      --plugin "Z:$root/dist/x64/korvain.dll" --ppd "$ppd" --installed ZQTrayUnit=None \
      --script "$script" --screenshots "Z:$shots" 2>/dev/null | tr -d '\r' \
      > "$out/preferences-state-$lang.txt"
    for bmp in "$shots"/*.bmp; do
      [ -f "$bmp" ] && convert "$bmp" "$out/preferences-$(basename "$bmp" .bmp)-$lang.png"
    done
    rm -rf "$shots"
  done
  echo "State after applying the Job Settings page (English run):"
  cat "$out/preferences-state-en.txt"
}
export -f demo_plugin demo_preferences
export root out

status=0
"$here/with-wine.sh" bash -c 'demo_plugin && demo_preferences' || status=1
for piece in "$here"/demo-*.sh; do
  [ -x "$piece" ] || continue
  "$piece" "$build" || status=1
done
echo
echo "Demo output is in $out:"
ls -1 "$out"
if [ "$("$here/wine32-probe.sh")" = kernel-refuses ]; then
  echo "demo: left out on this machine (its kernel runs no 32-bit program): the x86 plug-in's" \
       "report, and the shipped 32-bit installer, shown through its 64-bit test build instead"
else
  echo "demo: nothing left out"
fi
[ $status -eq 0 ] && echo "demo: passed" || echo "demo: FAILED"
exit $status
