#!/usr/bin/env bash
# Runs the native model build (under AddressSanitizer and UBSan) over every
# PostScript PPD that Debian's printer packages installed: the plain files
# under /usr/share/ppd and /usr/share/cups/model, and the compressed pyppd
# archives under /usr/lib/cups/driver, extracted once into WORKDIR.
#
#   scripts/ppd-corpus.sh PPD_CORPUS_TOOL [WORKDIR [--every N]]
set -euo pipefail
tool=$1
here=$(cd "$(dirname "$0")" && pwd)
work=${2:-$(dirname "$tool")/../ppd-corpus}
shift $(( $# < 2 ? $# : 2 ))
mkdir -p "$work/files"

for archive in /usr/lib/cups/driver/openprinting-ppds /usr/lib/cups/driver/postscript-hp; do
  [ -f "$archive" ] || continue
  name=$(basename "$archive")
  if [ ! -f "$work/$name.done" ]; then
    rm -rf "${work:?}/files/$name"
    count=$(python3 "$here/extract-ppd-archive.py" "$archive" "$work/files")
    echo "extracted $count PPDs from $archive"
    touch "$work/$name.done"
  fi
done

roots=()
for dir in "$work/files" /usr/share/ppd /usr/share/cups/model; do
  [ -d "$dir" ] && roots+=("$dir")
done
report=$work/report.txt
status=0
"$tool" "$@" "${roots[@]}" > "$report" || status=$?
grep -v -E '^(summary|checks)' "$report" | cut -f1 | sort | uniq -c || true
grep -E '^(summary|checks)' "$report"
echo "per-file differences: $report"
exit $status
