#!/usr/bin/env bash
# Builds the private block's fuzz target with clang's libFuzzer (and the
# address and undefined-behaviour sanitizers) and runs it for a set time,
# seeded with its seeds and every earlier crash. A crash is kept in
# extension/frame/fuzz/crashes/, where the test run replays it from then on.
#
#   scripts/private-block-fuzz.sh [SECONDS] [WORKDIR]
set -euo pipefail
seconds=${1:-60}
here=$(cd "$(dirname "$0")/.." && pwd)
work=${2:-$here/build/private-block-fuzz}
frame=$here/extension/frame
mkdir -p "$work/corpus" "$work/artifacts"

clang++ -std=c++17 -g -O1 -fno-exceptions -fsanitize=fuzzer,address,undefined \
  -fno-sanitize-recover=all -I"$frame" \
  "$frame/private_devmode.cpp" "$frame/job_settings_fields.cpp" \
  "$frame/fuzz/private_block_fuzzer.cpp" -o "$work/private_block_fuzzer"

cp "$frame"/fuzz/seeds/* "$work/corpus/"
cp "$frame"/fuzz/crashes/* "$work/corpus/" 2>/dev/null || true

status=0
"$work/private_block_fuzzer" "$work/corpus" -max_total_time="$seconds" -max_len=352 \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1 2>&1 | tail -25 || status=$?
for crash in "$work"/artifacts/*; do
  [ -e "$crash" ] || continue
  mkdir -p "$frame/fuzz/crashes"
  cp "$crash" "$frame/fuzz/crashes/"
  echo "kept $(basename "$crash") in extension/frame/fuzz/crashes/"
done
exit $status
