#!/usr/bin/env bash
# Runs the native model build (under AddressSanitizer and UBSan) over every
# PPD that Debian's printer packages carry, each as a plain file under
# WORKDIR/files: the compressed pyppd archives under /usr/lib/cups/driver
# (openprinting-ppds, foomatic-db-compressed-ppds, printer-driver-postscript-hp),
# the files under /usr/share/ppd and /usr/share/cups/model (hp-ppd,
# openprinting-ppds, printer-driver-oki; .ppd.gz decompressed), and the PPDs of
# cups-filters and printer-driver-cups-pdf, which are fetched with
# `apt-get download` and unpacked, as installing them would pull in the print
# server. A download that fails stops the run. --installed-only leaves the
# downloads out (the test run, which needs no registry). Collected once;
# delete WORKDIR/collected to collect again.
#
#   scripts/ppd-corpus.sh PPD_CORPUS_TOOL [WORKDIR [--installed-only] [--every N]]
#
# KORVAIN_PPD_ROOT, when set, is put before the system folders read (tests).
set -euo pipefail
tool=$1
here=$(cd "$(dirname "$0")" && pwd)
work=${2:-$(dirname "$tool")/../ppd-corpus}
shift $(( $# < 2 ? $# : 2 ))
files=$work/files
root=${KORVAIN_PPD_ROOT:-}
scope=all
if [ "${1:-}" = --installed-only ]; then scope=installed; shift; fi

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
  rm -rf "$files" "$work/debs" "$work/collected"
  mkdir -p "$files" "$work/debs"
  local archive dir package deb
  for archive in "$root"/usr/lib/cups/driver/openprinting-ppds \
                 "$root"/usr/lib/cups/driver/postscript-hp \
                 "$root"/usr/lib/cups/driver/foomatic-db-compressed-ppds; do
    [ -f "$archive" ] || continue
    echo "extracted $(python3 "$here/extract-ppd-archive.py" "$archive" "$files") PPDs from $archive"
  done
  for dir in "$root"/usr/share/ppd "$root"/usr/share/cups/model; do
    [ -d "$dir" ] && copy_ppds "$dir" "installed$(echo "${dir#"$root"}" | tr / -)"
  done
  if [ "$scope" = all ]; then
    for package in cups-filters printer-driver-cups-pdf; do
      if ! (cd "$work/debs" && apt-get download -qq "$package"); then
        echo "ppd-corpus: cannot download $package; the corpus is not collected" >&2
        exit 1
      fi
      deb=$(ls "$work/debs/${package}"_*.deb | head -1)
      dpkg-deb -x "$deb" "$work/debs/$package"
      copy_ppds "$work/debs/$package" "$package"
    done
  fi
  echo "$(find "$files" -type f | wc -l) PPD files in $files"
  echo "$scope" >"$work/collected"
}

mkdir -p "$work"
# A corpus collected without the downloads does not stand for the whole one.
[ "$(cat "$work/collected" 2>/dev/null)" = "$scope" ] || collect

report=$work/report.txt
status=0
"$tool" "$@" "$files" > "$report" || status=$?
grep -v -E '^(summary|checks)' "$report" | cut -f1 | sort | uniq -c || true
grep -E '^(summary|checks)' "$report"
echo "per-file differences: $report"
exit $status
