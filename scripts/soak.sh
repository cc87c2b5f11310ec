#!/usr/bin/env bash
# The soak of the plug-in: the printing preferences opened COUNT times
# (1,000 unless SOAK_COUNT says otherwise) in one driver host process with
# the largest PPD of the corpus (see scripts/ppd-corpus.sh), for each width
# and variant, with the resource ledger and the memory figures printed.
# Fails when any run is unbalanced or grows; says so loudly when a width
# cannot run on this machine.
#
#   scripts/soak.sh DIST_DIR CORPUS_FILES_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dist=${1:?dist folder}
corpus=${2:?corpus folder}
count=${SOAK_COUNT:-1000}
largest=$(find "$corpus" -type f -printf '%s %p\n' | sort -rn | head -1 | cut -d' ' -f2-)
if [ -z "$largest" ]; then
  echo "soak: no PPD in $corpus" >&2
  exit 1
fi
echo "soak: $count openings with $largest ($(stat -c %s "$largest") bytes)"

# Where 32-bit Wine cannot start (see scripts/with-wine.sh), the x86 runs
# are left out and named at the end.
widths=(x64 x86)
/usr/lib/wine/wine --version >/dev/null 2>&1 || widths=(x64)

status=0
skipped=()
[ ${#widths[@]} -eq 2 ] || skipped=(x86 x86-xp)
for width in "${widths[@]}"; do
  for variant in "$width" "$width-xp"; do
    echo
    echo "== soak of $variant"
    log=$(mktemp)
    "$here/with-wine.sh" "$here/wine-exec.sh" "$dist/$width/drvhost.exe" soak \
      --plugin "Z:$dist/$variant/korvain.dll" --ppd "Z:$largest" --count "$count" 2>&1 | tee "$log"
    grep -q "^soak: clean" "$log" || status=1
    rm -f "$log"
  done
done
if [ ${#skipped[@]} -gt 0 ]; then
  echo
  echo "soak: NOT RUN on this machine (its Wine cannot start 32-bit programs): ${skipped[*]}"
fi
exit $status
