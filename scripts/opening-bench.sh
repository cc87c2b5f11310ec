#!/usr/bin/env bash
# The opening benchmark: at each width this machine runs, on the sample
# printer's PPD and on the largest PPD of the corpus, drvhost bench opens
# the printing preferences OPENINGS times (30 unless BENCH_OPENINGS says
# otherwise) with each of three plug-ins in turn, in one process, with the
# same script: korvain, the same-controls stand-in (the plug-in's pages
# with the same controls, filled the same way, and none of its logic) and
# the stand-in that adds nothing. Each run prints its phases and paints;
# the table at the end has one verdict line per PPD and width.
#
#   scripts/opening-bench.sh DIST_DIR CORPUS_FILES_DIR BUILD_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dist=${1:?dist folder}
corpus=${2:?corpus folder}
build=${3:?build folder (where the stand-ins are built)}
openings=${BENCH_OPENINGS:-30}
sample=$(cd "$here/.." && pwd)/samples/printer/ZQ-sample.ppd
largest=$(find "$corpus" -type f -printf '%s %p\n' | sort -rn | head -1 | cut -d' ' -f2-)
if [ -z "$largest" ]; then
  echo "opening-bench: no PPD in $corpus" >&2
  exit 1
fi

widths=(x64 x86)
left_out=
case $("$here/wine32-probe.sh") in
  runs) ;;
  kernel-refuses)
    widths=(x64)
    left_out="x86 (this machine's kernel runs no 32-bit program)"
    ;;
  *)
    echo "opening-bench: this machine runs 32-bit programs, but 32-bit Wine does not start:" \
      "run \`make deps\` as root." >&2
    exit 1
    ;;
esac

status=0
verdicts=()
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for width in "${widths[@]}"; do
  for ppd in "$sample" "$largest"; do
    echo
    echo "== opening benchmark, $width, $(basename "$ppd")"
    # The duplex unit installed: the default script's two-sided choices.
    "$here/with-wine.sh" "$here/wine-exec.sh" "$dist/$width/drvhost.exe" bench \
      --plugin "Z:$dist/$width/korvain.dll" \
      --compare "same-controls=Z:$build/$width/host/standin/samecontrols.dll" \
      --compare "nothing=Z:$build/$width/host/standin/standin.dll" \
      --ppd "Z:$ppd" --count "$openings" --installed ZQDuplexOption=True 2>&1 | tee "$log"
    code=${PIPESTATUS[0]}
    line=$(grep -a '^opening ' "$log" | tr -d '\r' | tail -1)
    if [ "$code" -ne 0 ] || [ -z "$line" ]; then
      status=1
      verdicts+=("opening $(basename "$ppd") $width: FAILED (exit status $code)")
    else
      verdicts+=("$line")
    fi
  done
done

echo
echo "== openings, median of $openings each, the plug-ins in turn"
printf '%s\n' "${verdicts[@]}"
[ -z "$left_out" ] || echo "opening-bench: NOT RUN on this machine: $left_out"
exit $status
