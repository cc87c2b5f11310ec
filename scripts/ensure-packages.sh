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
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] || {
  if [ "$(id -u)" -ne 0 ]; then
    echo "These packages are missing; install them as root:" >&2
    echo "  dpkg --add-architecture i386 && apt-get update" >&2
    echo "  apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
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
