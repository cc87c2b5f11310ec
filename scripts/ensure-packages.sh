#!/usr/bin/env bash
# Installs the Debian packages the build and the tests use, when any is
# missing. As root it installs them; otherwise it names what to install.
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

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

update_log=$(mktemp)
apt_log=$(mktemp)
restore_sources=
cleanup() {
  [ -z "$restore_sources" ] || eval "$restore_sources"
  rm -f "$update_log" "$apt_log"
}
trap cleanup EXIT

apt_install() {
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" \
    >"$apt_log" 2>&1
}

# A mirror in the middle of a sync can fail one suite's i386 index while the
# amd64 ones load. The i386 twins of the machine's libraries (Multi-Arch:
# same, so of the very same version) then cannot be found, and wine32 cannot
# be installed. The remedy: read the failed suites for the native architecture
# only, and take every package from the main suite first, downgrading what came
# from the others to it. The sources and the pin are restored afterwards.
install_from_main_suite_first() {
  local sources=/etc/apt/sources.list.d/debian.sources
  local pin=/etc/apt/preferences.d/zz-korvain-main-suite-first
  local native codename failed
  native=$(dpkg --print-architecture)
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  failed=$(sed -nE 's|^E: Failed to fetch .*/dists/([^/]+)/.*|\1|p' "$update_log" | sort -u | xargs)
  [ -f "$sources" ] && [ -n "$codename" ] && [ -n "$failed" ] || return 1
  echo "Retrying with the suites whose index failed ($failed) read for $native only," \
    "and $codename preferred." >&2
  cp "$sources" "$sources.korvain-saved"
  restore_sources="mv -f '$sources.korvain-saved' '$sources'; rm -f '$pin'; apt-get update -qq >/dev/null 2>&1 || true"
  awk -v failed="$failed" -v arch="$native" 'BEGIN { RS = ""; ORS = "\n\n" }
    {
      hit = 0
      if (match($0, /(^|\n)Suites:[^\n]*/)) {
        suites = " " substr($0, RSTART, RLENGTH) " "
        gsub(/\n/, " ", suites)
        n = split(failed, f, " ")
        for (i = 1; i <= n; i++) if (index(suites, " " f[i] " ")) hit = 1
      }
      if (hit && $0 !~ /(^|\n)Architectures:/) $0 = $0 "\nArchitectures: " arch
      print
    }' "$sources.korvain-saved" >"$sources"
  printf 'Package: *\nPin: release n=%s,l=Debian\nPin-Priority: 1001\n' "$codename" >"$pin"
  apt-get update -qq >/dev/null 2>&1 || true
  apt_install --allow-downgrades "$@"
}

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
  apt_install "${missing[@]}" ||
    { [ $update_failed -eq 1 ] && install_from_main_suite_first "${missing[@]}"; } || {
      still=($(missing_packages))
      echo "These packages could not be installed: ${still[*]}" >&2
      echo "apt said:" >&2
      grep -E '^E:|Depends:' "$apt_log" | sed 's/^/  /' >&2 || sed 's/^/  /' "$apt_log" >&2
      exit 1
    }
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
