#!/usr/bin/env bash
# Times the PPD model build of one file built natively and for 64-bit
# Windows (run under Wine), from the same sources with the same flags,
# alternately: a native process, a Wine process, a native one, ... each
# building the model RUNS times. Prints every process's figures, then the
# minimum and median over all builds of each side and Wine's over native's.
#
#   scripts/model-build-bench.sh FILE [ROUNDS [RUNS]]
#
# Figures only; nothing here passes or fails. The Wine side runs inside a
# throwaway prefix (scripts/with-wine.sh), made once for the whole run.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = --inside-wine ]; then
  shift
  native=$1 windows=$2 file=$3 rounds=$4 runs=$5
  log=$(mktemp)
  trap 'rm -f "$log"' EXIT
  for round in $(seq "$rounds"); do
    "$native" --runs "$runs" --each "$file" | sed "s/^/native\t/" >>"$log"
    "$here/scripts/wine-exec.sh" "$windows" --runs "$runs" --each "Z:$file" | tr -d '\r' |
      sed "s/^/wine\t/" >>"$log"
    grep -P '\tbuild\t' "$log" | tail -n 2
  done
  # Every single build's time, each side summarised the same way.
  summary() {
    grep -P "^$1\teach\t" "$log" | cut -f 3 | sort -g |
      awk -v side="$1" '{ v[NR] = $1 } END { printf "%s %d %.3f %.3f\n", side, NR, v[1], v[int(NR / 2) + 1] }'
  }
  read -r _ native_count native_min native_median < <(summary native)
  read -r _ wine_count wine_min wine_median < <(summary wine)
  printf '\n%-8s %8s %12s %12s\n' side builds min-ms median-ms
  printf '%-8s %8d %12.3f %12.3f\n' native "$native_count" "$native_min" "$native_median" \
    wine "$wine_count" "$wine_min" "$wine_median"
  awk -v nm="$native_min" -v nd="$native_median" -v wm="$wine_min" -v wd="$wine_median" \
    'BEGIN { printf "\nwine/native: min %.2f, median %.2f\n", wm / nm, wd / nd }'
  exit 0
fi

file=$(realpath "${1:?PPD file}")
rounds=${2:-5}
runs=${3:-20}
ppd=$here/extension/ppd
frame=$here/extension/frame
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
source "$here/scripts/ppd-sources.sh"
# The plug-in's flags (an optimised build without exceptions, its own
# allocation functions); natively the Windows-1252 table stands in for the
# ANSI code page, as in every native build.
flags=(-std=c++17 -O3 -DNDEBUG -fno-exceptions -I"$ppd" -I"$frame")
main=$ppd/bench/ppd_build_timing_main.cpp
g++ "${flags[@]}" $ppd_sources "$frame/allocation_functions.cpp" "$main" -o "$out/timing"
windows_sources=${ppd_sources/$ppd\/wide_from_byte_units_cp1252.cpp/$frame/wide_from_byte_units_win.cpp}
x86_64-w64-mingw32-g++-win32 "${flags[@]}" -DUNICODE -D_UNICODE $windows_sources \
  "$frame/allocation_functions.cpp" "$main" -static -static-libgcc -static-libstdc++ \
  -o "$out/timing.exe"
"$here/scripts/with-wine.sh" "$0" --inside-wine "$out/timing" "$out/timing.exe" "$file" \
  "$rounds" "$runs"
