#!/usr/bin/env bash
# Tells whether 32-bit Windows programs can run under Wine here, and if not,
# whose fault that is. Prints one word:
#   runs            Wine's 32-bit loader starts;
#   kernel-refuses  the kernel runs no i386 program at all (its IA-32
#                   emulation is off): a limit of the machine;
#   wine32-missing  the kernel runs i386 programs, yet Wine's 32-bit loader
#                   does not start: the wine32:i386 package is missing or
#                   broken, an install fault.
# The two failures look alike from Wine ("Exec format error" either way), so
# the kernel is asked with a tiny i386 program of its own: exit(42), as bytes.
#
# KORVAIN_WINE32_LOADER (default /usr/lib/wine/wine) is the loader asked;
# KORVAIN_I386_PROBE, when set, is run instead of the tiny program.
set -uo pipefail
loader=${KORVAIN_WINE32_LOADER:-/usr/lib/wine/wine}

kernel_runs_i386() {
  local probe=${KORVAIN_I386_PROBE:-} made=
  if [ -z "$probe" ]; then
    made=$(mktemp "${TMPDIR:-/tmp}/i386-probe.XXXXXX")
    printf '\177\105\114\106\001\001\001\000\000\000\000\000\000\000\000\000' >"$made"
    printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' >>"$made"
    printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000' >>"$made"
    printf '\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010' >>"$made"
    printf '\000\200\004\010\140\000\000\000\140\000\000\000\005\000\000\000' >>"$made"
    printf '\000\020\000\000\270\001\000\000\000\273\052\000\000\000\315\200' >>"$made"
    chmod +x "$made"
    probe=$made
  fi
  "$probe" >/dev/null 2>&1
  local status=$?
  [ -z "$made" ] || rm -f "$made"
  [ $status -eq 42 ]
}

if "$loader" --version >/dev/null 2>&1; then
  echo runs
elif kernel_runs_i386; then
  echo wine32-missing
else
  echo kernel-refuses
fi
