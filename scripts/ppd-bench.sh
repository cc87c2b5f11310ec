#!/usr/bin/env bash
# Builds the PPD benchmark optimised and without sanitizers, and times our
# model build against libcups's ppdOpenFile on every PPD of the corpus (see
# scripts/ppd-corpus.sh), or on the files given. The per-file figures go to
# CORPUS_DIR/../bench-report.tsv.
#
#   scripts/ppd-bench.sh CORPUS_DIR [FILE...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
corpus=${1:?corpus folder}; shift || true
ppd=$here/extension/ppd
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
source "$here/scripts/ppd-sources.sh"
# libcups (package libcups2) is the timing reference of the benchmark alone.
g++ -std=c++17 -O2 -fno-exceptions -I"$ppd" -I"$here/extension/frame" $ppd_sources \
  "$ppd/bench/ppd_bench_main.cpp" -o "$out/ppd-bench" -l:libcups.so.2
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("$corpus")
"$out/ppd-bench" --report "$(dirname "$corpus")/bench-report.tsv" "${targets[@]}" |
  column -t -s $'\t'
