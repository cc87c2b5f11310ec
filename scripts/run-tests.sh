#!/usr/bin/env bash
# Runs CTest in each build configuration: the native one directly, the
# Windows ones under Wine in one throwaway prefix. Ends with a line naming
# the configurations that did not run and why, then the sum of all of them:
#
#   configurations: N passed, N failed, N skipped
#
# and fails when any test failed, or any configuration is missing, has no
# tests, or ended without CTest's summary (killed, or timed out as a whole).
# A configuration of 32-bit Windows programs is left out only where the
# kernel runs no 32-bit program at all; 32-bit Wine missing where the kernel
# would run it is an install fault and fails the run.
#
#   scripts/run-tests.sh BUILD_DIR CONFIG...
set -uo pipefail
build=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
logdir=$build/test-logs
rm -rf "$logdir"
mkdir -p "$logdir"

# Each configuration leaves one verdict file: "ran", or why it did not.
verdict() { echo "$2" >"$logdir/$1.verdict"; }

is_32_bit_windows() { grep -q 'i686-w64-mingw32' "$build/$1/CMakeCache.txt" 2>/dev/null; }

run_configs() {
  local config
  for config in "$@"; do
    if [ ! -f "$build/$config/CTestTestfile.cmake" ]; then
      echo "== $config: not built (no $build/$config/CTestTestfile.cmake)"
      verdict "$config" "FAILED: not built"
      continue
    fi
    if [ "${KORVAIN_WINE32:-1}" = 0 ] && is_32_bit_windows "$config"; then
      echo "== tests of $config left out: this machine's kernel runs no 32-bit program"
      verdict "$config" "left out: this machine's kernel runs no 32-bit program, its IA-32 emulation is off"
      continue
    fi
    echo "== tests of $config"
    ctest --test-dir "$build/$config" -j2 --output-on-failure 2>&1 | tee "$logdir/$config.log" |
      grep -vE '^ *(Start|[0-9]+/[0-9]+ Test) '
    echo "${PIPESTATUS[0]}" >"$logdir/$config.status"
    verdict "$config" ran
  done
}

native=()
cross=()
for config in "$@"; do
  if [ "$config" = native ]; then native+=("$config"); else cross+=("$config"); fi
done

[ ${#native[@]} -eq 0 ] || run_configs "${native[@]}"
if [ ${#cross[@]} -gt 0 ]; then
  export -f run_configs verdict is_32_bit_windows
  export build logdir
  "$here/with-wine.sh" bash -c 'run_configs "$@"' _ "${cross[@]}"
  wine_status=$?
  # with-wine.sh stopped before any test ran (no display, no prefix, no
  # 32-bit Wine where the kernel runs it): it said why.
  for config in "${cross[@]}"; do
    [ -f "$logdir/$config.verdict" ] ||
      verdict "$config" "FAILED: Wine could not be started (status $wine_status)"
  done
fi

# The counts of one configuration's log: passed failed skipped, or nothing
# when the log holds no CTest summary. CTest counts a skipped test among the
# passed ones; a disabled test it does not count at all.
count_log() {
  local log=$1 line total bad skipped
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+$' "$log" | tail -1)
  [ -n "$line" ] || return 1
  total=$(sed -E 's/.*out of ([0-9]+)$/\1/' <<<"$line")
  bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
  skipped=$(grep -cE '^[[:space:]]+[0-9]+ - .* \(Skipped\)$' "$log")
  echo "$((total - bad - skipped)) $bad $skipped"
}

passed=0
failed=0
skipped=0
status=0
left_out=()
for config in "$@"; do
  outcome=$(cat "$logdir/$config.verdict" 2>/dev/null || echo "FAILED: not run")
  case $outcome in
    ran) ;;
    left\ out:*) left_out+=("$config ($outcome)"); continue ;;
    *) left_out+=("$config (${outcome})"); status=1; continue ;;
  esac
  log=$logdir/$config.log
  if grep -q '^No tests were found' "$log"; then
    left_out+=("$config (FAILED: no tests were found)")
    status=1
    continue
  fi
  if ! counts=$(count_log "$log"); then
    left_out+=("$config (FAILED: ended without CTest's summary)")
    status=1
    continue
  fi
  read -r p f s <<<"$counts"
  passed=$((passed + p))
  failed=$((failed + f))
  skipped=$((skipped + s))
  if [ $((p + f + s)) -eq 0 ]; then
    left_out+=("$config (FAILED: no tests)")
    status=1
  fi
  [ "$(cat "$logdir/$config.status")" = 0 ] || status=1
done

echo
if [ ${#left_out[@]} -eq 0 ]; then
  echo "every configuration ran: $*"
else
  echo "not run or not complete: $(printf '%s; ' "${left_out[@]}" | sed 's/; $//')"
fi
echo "configurations: $passed passed, $failed failed, $skipped skipped"
[ $status -eq 0 ] && [ $failed -eq 0 ]
