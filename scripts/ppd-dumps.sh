#!/usr/bin/env bash
# Writes ppd-dump's output for every PPD under the corpus folder (see
# scripts/ppd-corpus.sh) into OUTDIR (one .dump per file, same relative
# path), built optimised from the sources of this tree. With a third argument, compares against the dumps
# kept there earlier and lists every file whose dump differs.
#
#   scripts/ppd-dumps.sh CORPUS_DIR OUTDIR [EARLIER_DUMPS]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
corpus=$(cd "${1:?corpus folder}" && pwd)
out=${2:?output folder}
earlier=${3:-}
ppd=$here/extension/ppd
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
source "$here/scripts/ppd-sources.sh"
g++ -std=c++17 -O2 -fno-exceptions -I"$ppd" -I"$ppd/dump" -I"$here/extension/frame" $ppd_sources \
  "$ppd/dump/ppd_dump.cpp" "$ppd/dump/ppd_dump_each_main.cpp" -o "$bin/ppd-dump-each"
rm -rf "$out"
mkdir -p "$out"
(cd "$corpus" && find . -type d) | (cd "$out" && xargs -d '\n' mkdir -p)
(cd "$corpus" && find . -type f | sort) | "$bin/ppd-dump-each" "$corpus" "$out"
if [ -n "$earlier" ]; then
  if diff -rq "$earlier" "$out"; then echo "every dump is identical"; else exit 1; fi
fi
