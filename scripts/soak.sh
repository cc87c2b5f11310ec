#!/usr/bin/env bash
# The soak of the plug-in: the printing preferences opened COUNT times
# (1,000 unless SOAK_COUNT says otherwise, and no fewer than 600, so that
# the memory is judged over 500 openings or more after the hundredth) in one
# driver host process with the largest PPD of the corpus (see
# scripts/ppd-corpus.sh), for each width and variant: the resource ledger,
# the memory figures and their bound, and the time of one opening. Before
# them, at each width, the same openings with the same script in the same
# host and on the same PPD with two stand-in plug-ins that leak nothing:
# one adds no page and changes no item; the other (same-controls) adds the
# plug-in's pages with the same system controls, filled the same way, and
# none of the plug-in's logic. The system's own memory growth for such
# pages is the same-controls run's: the plug-in's growth is judged against
# it, and both are printed. The times of one opening are printed with
# their ratios (make bench measures them alternately).
#
# Each opening leaves the sheet by the next of the default script's ways
# out (OK, Cancel, the close box, Apply then OK, each page shown and
# hidden); the summary gives each run's count of each. The plug-in leaves
# 7 blocks on the driver's heap at each opening for the driver to free with
# it (its two page titles, shown by the sheet, and the Job Settings page's
# five labels); the stand-ins leave none.
#
# Fails when any run exits with another status than 0 (the ledger, its
# table per opening, the ways out), does not end with "drvhost: all given
# back", or has no judged memory figure within its bound; says so loudly
# when a width cannot run on this machine.
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

# The memory figure of the last run: its growth in bytes, judged or not.
growth_bytes() {
  sed -n 's/^memory: PagefileUsage grew by \(-\{0,1\}[0-9]*\) bytes from openings.*/\1/p' "$log" | tail -1
}

# The last run's judged memory line, with its bound; fails when there is none.
judged_memory() {
  grep -E '^memory: PagefileUsage grew by -?[0-9]+ bytes from openings [0-9-]+ to [0-9-]+.* \(bound [0-9]+ bytes\)' "$log" | tail -1 | grep .
}

# What is wrong with the last run (its exit status in $1), one reason a
# line; nothing when it passed. $judged is "no" for a baseline run, whose
# memory is printed and not judged.
faults() {
  [ "$1" -eq 0 ] || echo "exit status $1"
  # Lines from Wine's programs end in CR LF.
  grep -qE $'^drvhost: all given back\r?$' "$log" || echo "no \"drvhost: all given back\""
  local memory growth bound baseline
  if [ "$judged" = no ]; then
    [ -n "$(growth_bytes)" ] || echo "no memory figure"
  elif ! memory=$(judged_memory); then
    echo "no judged memory figure"
  else
    growth=$(echo "$memory" | sed 's/.* grew by \(-\{0,1\}[0-9]*\) bytes.*/\1/')
    baseline=0
    case $memory in
      *"the baseline's by "*) baseline=$(echo "$memory" | sed "s/.*the baseline's by \(-\{0,1\}[0-9]*\) bytes.*/\1/") ;;
    esac
    bound=$(echo "$memory" | sed 's/.*(bound \([0-9]*\) bytes).*/\1/')
    [ $((growth - baseline)) -le "$bound" ] ||
      echo "memory grew by $growth bytes, $((growth - baseline)) more than the baseline's, past the bound of $bound"
  fi
  [ -n "$(opening_ms)" ] || echo "no time of one opening"
}

# One run of drvhost soak: NAME WIDTH PLUGIN [MORE OPTIONS...]; its output
# on the terminal, its faults in the summary. Sets $ms to its time of one
# opening and $grew to its memory growth.
soak() {
  local name=$1 width=$2 plugin=$3 code problems
  shift 3
  echo
  echo "== soak of $name"
  "$here/with-wine.sh" "$here/wine-exec.sh" "$dist/$width/drvhost.exe" soak \
    --plugin "Z:$plugin" --ppd "Z:$largest" --count "$count" "$@" 2>&1 | tee "$log"
  code=${PIPESTATUS[0]}
  ms=$(opening_ms)
  grew=$(growth_bytes)
  problems=$(faults "$code")
  if [ -n "$problems" ]; then
    status=1
    summary+=("$name: FAILED: $(echo "$problems" | paste -sd ';' - | sed 's/;/; /g')")
  else
    summary+=("$name: passed")
  fi
  summary+=("$(sed -n 's/^soak: path \(.*\): \([0-9]*\) openings, \([0-9]*\) closed with OK, \([0-9]*\) closed without, \([0-9]*\) not closed.*/\1 \2 (\3 OK, \4 without, \5 failed)/p' "$log" | tr -d '\r' | paste -sd ',' - | sed 's/,/, /g; s/^/    ways out: /')")
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }

times=()
memory=()
for width in "${widths[@]}"; do
  judged=yes
  soak "stand-in ($width, no pages, leaking nothing)" "$width" "$build/$width/host/standin/standin.dll"
  nothing_ms=$ms
  judged=no
  soak "same-controls stand-in ($width, the plug-in's pages without its logic, the baseline)" \
    "$width" "$build/$width/host/standin/samecontrols.dll" --memory-unjudged yes
  same_ms=$ms
  same_grew=$grew
  judged=yes
  for variant in "$width" "$width-xp"; do
    if [ -n "$same_grew" ]; then
      soak "$variant" "$width" "$dist/$variant/korvain.dll" --memory-baseline "$same_grew" \
        --driver-heap-left 7
    else
      soak "$variant" "$width" "$dist/$variant/korvain.dll" --driver-heap-left 7
      summary+=("$variant: FAILED: no baseline memory figure to judge it against")
      status=1
    fi
    memory+=("$(printf '%-7s korvain grew %10s bytes   same-controls stand-in grew %10s bytes' \
                 "$variant" "${grew:-?}" "${same_grew:-?}")")
    if [ -n "$ms" ] && [ -n "$same_ms" ] && [ -n "$nothing_ms" ]; then
      times+=("$(printf '%-7s korvain %8.1f ms   same-controls %8.1f ms   nothing %8.1f ms   ratios %s %s' \
                 "$variant" "$ms" "$same_ms" "$nothing_ms" "$(ratio "$ms" "$same_ms")" \
                 "$(ratio "$ms" "$nothing_ms")")")
    else
      times+=("$variant: no time of one opening to compare")
    fi
  done
done

echo
echo "== memory after the hundredth opening (the floor of the last hundred against the first)"
printf '%s\n' "${memory[@]}"
echo
echo "== time of one opening with the ledger attached (mean of the openings after the hundredth);"
echo "   ratios korvain/same-controls and korvain/nothing"
printf '%s\n' "${times[@]}"
echo
echo "== soak runs"
printf '%s\n' "${summary[@]}"
if [ ${#skipped[@]} -gt 0 ]; then
  echo
  echo "soak: NOT RUN on this machine (its kernel runs no 32-bit program): ${skipped[*]}"
fi
exit $status
