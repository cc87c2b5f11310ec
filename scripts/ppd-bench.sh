#!/usr/bin/env bash
# Builds the PPD benchmark optimised and without sanitizers, and runs it on
# the largest and the most constrained real PPDs of the corpus (see
# scripts/ppd-corpus.sh), or on the files given.
#
#   scripts/ppd-bench.sh CORPUS_DIR [FILE...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
corpus=${1:?corpus folder}; shift || true
ppd=$here/extension/ppd
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# The portable PPD reader and model, as korvain_portable builds them natively.
sources=$(printf "$ppd/%s.cpp " known_feature_table ppd_allocation ppd_byte_source \
  ppd_constraint_index ppd_constraints ppd_keyword_table ppd_model ppd_model_builder \
  ppd_name_translation ppd_text ppd_tokenizer wide_from_byte_units_cp1252)
g++ -std=c++17 -O2 -fno-exceptions -I"$ppd" -I"$here/extension/frame" $sources \
  "$ppd/bench/ppd_bench_main.cpp" -o "$out/ppd-bench"
files=("$@")
if [ ${#files[@]} -eq 0 ]; then
  mapfile -t largest < <(find "$corpus" -type f -printf '%s %p\n' | sort -rn | head -3 | cut -d' ' -f2-)
  mapfile -t constrained < <(find "$corpus" -type f -print0 | xargs -0 grep -c '^\*UIConstraints' |
    sort -t: -k2 -rn | head -3 | cut -d: -f1)
  files=("${largest[@]}" "${constrained[@]}")
fi
"$out/ppd-bench" "${files[@]}" | column -t -s $'\t'
