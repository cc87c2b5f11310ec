#!/usr/bin/env bash
# Installs the Debian packages the build and the tests use, when any is
# missing. As root it installs them; otherwise it names what to install.
# It changes nothing else of the machine unless asked: where the install
# fails after a failed index update, it explains the way around that it
# knows, which downgrades installed packages, and takes it only when
# KORVAIN_ALLOW_DOWNGRADES=1 asks for it.
#
# KORVAIN_APT_SOURCES and KORVAIN_APT_PREFERENCES name the apt sources file
# and the preferences folder (tests point them elsewhere).
set -euo pipefail

packages=(
  mingw-w64 g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32
  wine wine64 wine32:i386 xvfb xauth
  cmake ninja-build make g++ googletest
  imagemagick locales python3
  # A Japanese font: without one Wine draws Japanese pages as empty boxes.
  fonts-ipafont-gothic
  openprinting-ppds hp-ppd printer-driver-postscript-hp clang libclang-rt-14-dev
  # More of the PPD corpus, and libcups as the reader benchmark's timing reference.
  foomatic-db-compressed-ppds printer-driver-oki libcups2
)

sources=${KORVAIN_APT_SOURCES:-/etc/apt/sources.list.d/debian.sources}
pin=${KORVAIN_APT_PREFERENCES:-/etc/apt/preferences.d}/zz-korvain-main-suite-first
saved_sources=$sources.korvain-saved

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

update_log=$(mktemp)
apt_log=$(mktemp)
changed_sources=0
restore_sources() {
  [ -f "$saved_sources" ] && mv -f "$saved_sources" "$sources"
  rm -f "$pin"
}
cleanup() {
  if [ $changed_sources -eq 1 ]; then
    restore_sources
    apt-get update -qq >/dev/null 2>&1 || true
  fi
  rm -f "$update_log" "$apt_log"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

apt_install() {
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" \
    >"$apt_log" 2>&1
}

# The suites whose index apt-get update failed to fetch.
failed_suites() {
  sed -nE 's|^E: Failed to fetch .*/dists/([^/]+)/.*|\1|p' "$update_log" | sort -u | xargs
}

# The sources with the failed suites read for the native architecture only.
# A stanza that names failed suites beside others is split in two, so that
# the others keep every architecture: wine32 needs the main suite's i386
# packages.
sources_without_foreign_indexes() {  # FAILED NATIVE < sources
  awk -v failed="$1" -v arch="$2" 'BEGIN { RS = ""; ORS = "\n\n"; n = split(failed, f, " ") }
    {
      if ($0 ~ /(^|\n)Architectures:/ || !match($0, /(^|\n)Suites:[^\n]*/)) { print; next }
      line = substr($0, RSTART, RLENGTH); sub(/^\n/, "", line)
      count = split(substr(line, length("Suites:") + 1), suites, " ")
      kept = ""; hit = ""
      for (i = 1; i <= count; i++) {
        is_failed = 0
        for (j = 1; j <= n; j++) if (suites[i] == f[j]) is_failed = 1
        if (is_failed) hit = hit " " suites[i]; else kept = kept " " suites[i]
      }
      if (hit == "") { print; next }
      if (kept != "") { s = $0; sub(/Suites:[^\n]*/, "Suites:" kept, s); print s }
      s = $0; sub(/Suites:[^\n]*/, "Suites:" hit, s); print s "\nArchitectures: " arch
    }'
}

explain_the_way_around() {  # FAILED CODENAME PACKAGES...
  local failed=$1 codename=$2; shift 2
  cat >&2 <<EOF

The install failed after apt-get could not fetch the index of: $failed.
A mirror in the middle of a sync can fail one suite's i386 index while the
amd64 ones load; apt then finds no i386 twin of the machine's libraries, and
wine32:i386 cannot be installed. Waiting for the mirror and running this
again is usually enough.

A way around it, which CHANGES THIS MACHINE:
  1. In $sources, read the failed suites ($failed) for
     $(dpkg --print-architecture) only: give them a stanza of their own with
     "Architectures: $(dpkg --print-architecture)" (a stanza they share with
     $codename must be split, or wine32 cannot be installed at all).
  2. Prefer the main suite: write $pin with
       Package: *
       Pin: release n=$codename,l=Debian
       Pin-Priority: 1001
  3. apt-get update && apt-get install --no-install-recommends --allow-downgrades $*
  4. Remove the pin, restore the sources, apt-get update.
WARNING: step 3 downgrades installed $(dpkg --print-architecture) packages (libc6 and
others) to $codename's versions, and they stay downgraded after the sources
are restored.

To have this script take that way (it lists the downgrades before making
them), run it again with KORVAIN_ALLOW_DOWNGRADES=1, e.g.
  KORVAIN_ALLOW_DOWNGRADES=1 make deps
EOF
}

# Prints the packages that the install would downgrade, as "name: from -> to".
list_downgrades() {
  apt-get -s install --no-install-recommends --allow-downgrades "$@" 2>/dev/null |
    sed -nE 's/^Inst ([^ ]+) \[([^]]+)\] \(([^ ]+) .*/\1 \2 \3/p' |
    while read -r name installed candidate; do
      if dpkg --compare-versions "$candidate" lt "$installed"; then
        echo "  $name: $installed -> $candidate"
      fi
    done || true
}

install_from_main_suite_first() {  # FAILED CODENAME PACKAGES...
  local failed=$1 codename=$2 native
  shift 2
  native=$(dpkg --print-architecture)
  echo "Reading $failed for $native only and preferring $codename, as asked." >&2
  cp "$sources" "$saved_sources"
  changed_sources=1
  sources_without_foreign_indexes "$failed" "$native" <"$saved_sources" >"$sources"
  printf 'Package: *\nPin: release n=%s,l=Debian\nPin-Priority: 1001\n' "$codename" >"$pin"
  apt-get update -qq >/dev/null 2>&1 || true
  echo "These installed packages will be downgraded:" >&2
  list_downgrades "$@" >&2
  apt_install --allow-downgrades "$@"
}

# A run killed while it had the sources changed left them so: put them back
# before anything else.
if [ -f "$saved_sources" ] || [ -f "$pin" ]; then
  echo "Restoring what an earlier, interrupted run changed: $sources and $pin." >&2
  restore_sources
  apt-get update -qq >/dev/null 2>&1 || true
fi

missing=($(missing_packages))
[ ${#missing[@]} -eq 0 ] || {
  if [ "$(id -u)" -ne 0 ]; then
    echo "These packages are missing; install them as root:" >&2
    echo "  dpkg --add-architecture i386 && apt-get update" >&2
    echo "  apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  # An index that cannot be fetched need not stop the install: every package
  # may still be found in the others. The install's outcome decides.
  update_failed=0
  apt-get update -qq >"$update_log" 2>&1 || {
    update_failed=1
    echo "apt-get update failed; going on with the install. apt said:" >&2
    grep -E '^(E|W):' "$update_log" | sed 's/^/  /' >&2 || true
  }
  if ! apt_install "${missing[@]}"; then
    still=($(missing_packages))
    echo "These packages could not be installed: ${still[*]}" >&2
    echo "apt said:" >&2
    grep -E '^E:|Depends:' "$apt_log" | sed 's/^/  /' >&2 || sed 's/^/  /' "$apt_log" >&2
    failed=$(failed_suites)
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    if [ $update_failed -eq 0 ] || [ -z "$failed" ] || [ -z "$codename" ] || [ ! -f "$sources" ]; then
      exit 1
    fi
    if [ "${KORVAIN_ALLOW_DOWNGRADES:-0}" != 1 ]; then
      explain_the_way_around "$failed" "$codename" "${missing[@]}"
      exit 1
    fi
    install_from_main_suite_first "$failed" "$codename" "${missing[@]}" || {
      echo "The install failed again; apt said:" >&2
      grep -E '^E:|Depends:' "$apt_log" | sed 's/^/  /' >&2 || sed 's/^/  /' "$apt_log" >&2
      exit 1
    }
  fi
}

# Wine falls back to English silently when the Linux locale of a user
# interface language is missing, so the languages the tests use are generated.
wanted_locales=(en_US de_DE fr_FR it_IT ja_JP nl_NL pt_PT es_ES)
need_gen=0
for l in "${wanted_locales[@]}"; do
  locale -a 2>/dev/null | grep -qi "^${l}\.utf-\?8$" || need_gen=1
done
if [ $need_gen -eq 1 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Note: generate the locales ${wanted_locales[*]} (UTF-8) for the language tests." >&2
  else
    for l in "${wanted_locales[@]}"; do
      grep -q "^${l}.UTF-8 UTF-8" /etc/locale.gen 2>/dev/null || echo "${l}.UTF-8 UTF-8" >> /etc/locale.gen
    done
    locale-gen >/dev/null
  fi
fi
