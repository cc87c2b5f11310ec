#!/usr/bin/env bash
# Runs the native model build (under AddressSanitizer and UBSan) over every
# PPD that Debian's printer packages carry, each as a plain file under
# WORKDIR/files: the compressed pyppd archives under /usr/lib/cups/driver
# (openprinting-ppds, foomatic-db-compressed-ppds, printer-driver-postscript-hp),
# the files under /usr/share/ppd and /usr/share/cups/model (hp-ppd,
# openprinting-ppds, printer-driver-oki; .ppd.gz decompressed), and the PPDs of
# cups-filters and printer-driver-cups-pdf, which are fetched with
# `apt-get download` and unpacked, as installing them would pull in the print
# server. Collected once; delete WORKDIR/collected to collect again.
#
#   scripts/ppd-corpus.sh PPD_CORPUS_TOOL [WORKDIR [--every N]]
set -euo pipefail
tool=$1
here=$(cd "$(dirname "$0")" && pwd)
work=${2:-$(dirname "$tool")/../ppd-corpus}
shift $(( $# < 2 ? $# : 2 ))
files=$work/files

# Copies the PPDs under a folder into files/NAME, decompressing .ppd.gz.
copy_ppds() {
  local from=$1 name=$2 path target
  while IFS= read -r -d '' path; do
    target=$files/$name/${path#"$from"/}
    mkdir -p "$(dirname "$target")"
    case $path in
      *.gz) gzip -dc "$path" > "${target%.gz}" ;;
      *) cp "$path" "$target" ;;
    esac
  done < <(find "$from" -type f \( -iname '*.ppd' -o -iname '*.ppd.gz' \) -print0)
}

collect() {
  rm -rf "$files" "$work/debs"
  mkdir -p "$files" "$work/debs"
  local archive dir package deb
  for archive in /usr/lib/cups/driver/openprinting-ppds /usr/lib/cups/driver/postscript-hp \
                 /usr/lib/cups/driver/foomatic-db-compressed-ppds; do
    [ -f "$archive" ] || continue
    echo "extracted $(python3 "$here/extract-ppd-archive.py" "$archive" "$files") PPDs from $archive"
  done
  for dir in /usr/share/ppd /usr/share/cups/model; do
    [ -d "$dir" ] && copy_ppds "$dir" "installed$(echo "$dir" | tr / -)"
  done
  for package in cups-filters printer-driver-cups-pdf; do
    (cd "$work/debs" && apt-get download -qq "$package" >/dev/null 2>&1) ||
      { echo "cannot download $package: its PPDs are left out" >&2; continue; }
    deb=$(ls "$work/debs/${package}"_*.deb | head -1)
    dpkg-deb -x "$deb" "$work/debs/$package"
    copy_ppds "$work/debs/$package" "$package"
  done
  echo "$(find "$files" -type f | wc -l) PPD files in $files"
  touch "$work/collected"
}

mkdir -p "$work"
[ -f "$work/collected" ] || collect

report=$work/report.txt
status=0
"$tool" "$@" "$files" > "$report" || status=$?
grep -v -E '^(summary|checks)' "$report" | cut -f1 | sort | uniq -c || true
grep -E '^(summary|checks)' "$report"
echo "per-file differences: $report"
exit $status
