#!/usr/bin/env bash
# Runs a command inside a throwaway Wine prefix on a private headless
# display: the prefix is made and booted first, the wineserver kept up for
# the whole command (so Wine's services never hold a test runner's pipes),
# and everything is torn down at the end.
#
#   scripts/with-wine.sh [--win32] COMMAND...
set -uo pipefail

arch=win64
if [ "${1:-}" = "--win32" ]; then arch=win32; shift; fi

# Some hosts run no 32-bit Linux programs (their kernel's IA-32 emulation is
# off), and then Wine's 32-bit loader, which /usr/bin/wine starts first, fails
# with "Exec format error". There only 64-bit Windows programs can run: `wine`
# is the 64-bit loader for everything below, and KORVAIN_WINE32=0 tells the
# callers to leave their 32-bit programs out, saying so. Where the kernel runs
# 32-bit programs, 32-bit Wine must start: its absence is an install fault.
shim=
case $("$(dirname "$0")/wine32-probe.sh") in
  runs) export KORVAIN_WINE32=1 ;;
  kernel-refuses)
    export KORVAIN_WINE32=0
    if [ "$arch" = win32 ]; then
      echo "with-wine: this machine's kernel runs no 32-bit program; a 32-bit prefix cannot be made" >&2
      exit 3
    fi
    shim=$(mktemp -d)
    wine64_loader=${KORVAIN_WINE64_LOADER:-/usr/lib/wine/wine64}
    printf '#!/bin/sh\nexec %s "$@"\n' "$wine64_loader" >"$shim/wine"
    chmod +x "$shim/wine"
    export PATH=$shim:$PATH WINELOADER=$wine64_loader
    ;;
  *)
    echo "with-wine: this machine runs 32-bit programs, but Wine's 32-bit loader" \
      "(${KORVAIN_WINE32_LOADER:-/usr/lib/wine/wine}) does not start: the wine32:i386" \
      "package is missing or broken. Run \`make deps\` as root." >&2
    exit 4
    ;;
esac

prefix=$(mktemp -d "${TMPDIR:-/tmp}/korvain-wine.XXXXXX")
export WINEPREFIX=$prefix WINEARCH=$arch
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A fixed user-interface language unless the caller chose one.
export LC_ALL=${LC_ALL:-en_US.UTF-8}

# Xvfb picks a free display number itself and writes it once it listens, so
# runs side by side (CTest's, the demo's, other work trees') never race for one.
# A display inherited from the caller is never used: windows would appear
# there, or nowhere.
unset DISPLAY
xvfb_pid=
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$display_file" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
display=$(head -n 1 "$display_file")
rm -f "$display_file"
if [ -z "$display" ]; then
  echo "with-wine: Xvfb did not start, so no window could be shown; stopping" >&2
  kill "$xvfb_pid" >/dev/null 2>&1
  rm -rf "$prefix" $shim
  exit 5
fi
export DISPLAY=":$display"

cleanup() {
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1
  rm -rf "$prefix" $shim
}
trap cleanup EXIT

wineserver -p </dev/null >/dev/null 2>&1
# The first program run in a new prefix makes Wine create and boot it, and it
# waits for that. An explicit `wineboot -i` on top would boot it a second
# time: a second service manager beside the first, after which, some minutes
# into a run, every program that opens a window waits 10 s for the desktop.
# Without a window manager, hiding a top-level window waits ~2 s for one.
if ! wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 ||
   [ ! -d "$prefix/drive_c/windows/system32" ]; then
  echo "with-wine: the Wine prefix $prefix did not start; stopping" >&2
  exit 6
fi
# A program that crashes ends with its backtrace on the output instead of
# waiting behind a crash dialog that nobody on this display will close.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
  </dev/null >/dev/null 2>&1

"$@"
