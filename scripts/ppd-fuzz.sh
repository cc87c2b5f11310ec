#!/usr/bin/env bash
# Builds the PPD model's fuzz target with clang's libFuzzer (and the address
# and undefined-behaviour sanitizers) and runs it for a set time, seeded with
# the test fixtures, the sample PPD and every earlier crash. A crash is kept
# in extension/ppd/fuzz/crashes/, where the test run replays it from then on.
#
#   scripts/ppd-fuzz.sh [SECONDS] [WORKDIR]
set -euo pipefail
seconds=${1:-60}
here=$(cd "$(dirname "$0")/.." && pwd)
work=${2:-$here/build/ppd-fuzz}
ppd=$here/extension/ppd
mkdir -p "$work/corpus" "$work/artifacts"

source "$here/scripts/ppd-sources.sh"
clang++ -std=c++17 -g -O1 -fno-exceptions -fsanitize=fuzzer,address,undefined \
  -fno-sanitize-recover=all -I"$ppd" -I"$ppd/dump" -I"$here/extension/frame" \
  $ppd_sources "$ppd/dump/ppd_dump.cpp" "$ppd/fuzz/build_ppd_model_fuzzer.cpp" -o "$work/ppd_fuzzer"

cp "$ppd"/tests/fixtures/*.ppd "$here/samples/printer/ZQ-sample.ppd" "$work/corpus/"
cp "$ppd"/fuzz/crashes/* "$work/corpus/" 2>/dev/null || true

status=0
"$work/ppd_fuzzer" "$work/corpus" -max_total_time="$seconds" -max_len=65536 \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1 2>&1 | tail -25 || status=$?
for crash in "$work"/artifacts/*; do
  [ -e "$crash" ] || continue
  cp "$crash" "$ppd/fuzz/crashes/"
  echo "kept $(basename "$crash") in extension/ppd/fuzz/crashes/"
done
exit $status
