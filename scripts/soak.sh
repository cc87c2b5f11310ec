#!/usr/bin/env bash
# The soak of the plug-in: the printing preferences opened COUNT times
# (1,000 unless SOAK_COUNT says otherwise, and no fewer than 600, so that
# the memory is judged over 500 openings or more after the hundredth) in one
# driver host process with the largest PPD of the corpus (see
# scripts/ppd-corpus.sh), for each width and variant: the resource ledger,
# the memory figures and their bound, and the time of one opening. Then the
# same openings in the same host and on the same PPD with the stand-in
# plug-in leaking nothing (it adds no page and changes no item), once per
# width: the time of one opening without the plug-in's own work, and the
# ratio of the two.
#
# Fails when any run exits with another status than 0, does not end with
# "drvhost: all given back", or has no judged memory figure within its
# bound; says so loudly when a width cannot run on this machine.
#
#   scripts/soak.sh DIST_DIR CORPUS_FILES_DIR BUILD_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dist=${1:?dist folder}
corpus=${2:?corpus folder}
build=${3:?build folder (where the stand-in plug-in is built)}
count=${SOAK_COUNT:-1000}
if ! [ "$count" -ge 600 ] 2>/dev/null; then
  echo "soak: SOAK_COUNT=$count: the memory is judged over the openings after the hundredth, 500 at least" >&2
  exit 2
fi
largest=$(find "$corpus" -type f -printf '%s %p\n' | sort -rn | head -1 | cut -d' ' -f2-)
if [ -z "$largest" ]; then
  echo "soak: no PPD in $corpus" >&2
  exit 1
fi
echo "soak: $count openings with $largest ($(stat -c %s "$largest") bytes)"

# Where the kernel runs no 32-bit program (see scripts/wine32-probe.sh), the
# x86 runs are left out and named at the end; where it does, 32-bit Wine
# must start.
widths=(x64 x86)
case $("$here/wine32-probe.sh") in
  runs) ;;
  kernel-refuses) widths=(x64) ;;
  *)
    echo "soak: this machine runs 32-bit programs, but 32-bit Wine does not start:" \
      "the wine32:i386 package is missing or broken. Run \`make deps\` as root." >&2
    exit 1
    ;;
esac

status=0
skipped=()
[ ${#widths[@]} -eq 2 ] || skipped=(x86 x86-xp)
summary=()
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# The time of one opening from the last run's log, in ms.
opening_ms() {
  sed -n 's/^time of one opening: \([0-9.]*\) ms.*/\1/p' "$log" | tail -1
}

# What is wrong with the last run (its exit status in $1), one reason a
# line; nothing when it passed.
faults() {
  [ "$1" -eq 0 ] || echo "exit status $1"
  # Lines from Wine's programs end in CR LF.
  grep -qE $'^drvhost: all given back\r?$' "$log" || echo "no \"drvhost: all given back\""
  local memory growth bound
  memory=$(grep -E '^memory: PagefileUsage grew by -?[0-9]+ bytes from openings [0-9-]+ to [0-9-]+ \(bound [0-9]+ bytes\)' "$log" | tail -1)
  if [ -z "$memory" ]; then
    echo "no judged memory figure"
  else
    growth=$(echo "$memory" | sed 's/.* grew by \(-\{0,1\}[0-9]*\) bytes.*/\1/')
    bound=$(echo "$memory" | sed 's/.*(bound \([0-9]*\) bytes).*/\1/')
    [ "$growth" -le "$bound" ] || echo "memory grew by $growth bytes, past its bound of $bound"
  fi
  [ -n "$(opening_ms)" ] || echo "no time of one opening"
}

# One run of drvhost soak: NAME WIDTH PLUGIN [MORE OPTIONS...]; its output
# on the terminal, its faults in the summary. Sets $ms to its time of one
# opening.
soak() {
  local name=$1 width=$2 plugin=$3 code problems
  shift 3
  echo
  echo "== soak of $name"
  "$here/with-wine.sh" "$here/wine-exec.sh" "$dist/$width/drvhost.exe" soak \
    --plugin "Z:$plugin" --ppd "Z:$largest" --count "$count" "$@" 2>&1 | tee "$log"
  code=${PIPESTATUS[0]}
  ms=$(opening_ms)
  problems=$(faults "$code")
  if [ -n "$problems" ]; then
    status=1
    summary+=("$name: FAILED: $(echo "$problems" | paste -sd ';' - | sed 's/;/; /g')")
  else
    summary+=("$name: passed")
  fi
}

times=()
for width in "${widths[@]}"; do
  soak "stand-in ($width, leaking nothing)" "$width" "$build/$width/host/standin/standin.dll" \
    --script "Z:$here/../host/standin/standin.script"
  baseline=$ms
  for variant in "$width" "$width-xp"; do
    soak "$variant" "$width" "$dist/$variant/korvain.dll"
    if [ -n "$ms" ] && [ -n "$baseline" ]; then
      times+=("$(printf '%-7s korvain %8.1f ms   stand-in %8.1f ms   ratio %5.2f' "$variant" "$ms" \
                 "$baseline" "$(awk -v a="$ms" -v b="$baseline" 'BEGIN { print a / b }')")")
    else
      times+=("$variant: no time of one opening to compare")
    fi
  done
done

echo
echo "== time of one opening (mean of the openings after the hundredth)"
printf '%s\n' "${times[@]}"
echo
echo "== soak runs"
printf '%s\n' "${summary[@]}"
if [ ${#skipped[@]} -gt 0 ]; then
  echo
  echo "soak: NOT RUN on this machine (its kernel runs no 32-bit program): ${skipped[*]}"
fi
exit $status
