#!/usr/bin/env bash
# Runs CTest in each build configuration: the native one directly, the
# Windows ones under Wine in one throwaway prefix. Ends with a line naming
# the configurations that did not run and why, lines naming the CTest runs
# that did not end with status 0, the tests that failed and those skipped
# or disabled, then the sum of all of them:
#
#   configurations: N passed, N failed, N skipped
#
# The counts come from the results file CTest writes (--output-junit), never
# from text a test could print. The run fails when any test failed, or any
# configuration is missing, has no tests, ended without CTest's results
# (killed), or did not finish within its limit (KORVAIN_CTEST_TIME_LIMIT
# seconds each, an hour unless set). A configuration of 32-bit Windows
# programs is left out only where the kernel runs no 32-bit program at all;
# 32-bit Wine missing where the kernel would run it is an install fault and
# fails the run.
#
#   scripts/run-tests.sh BUILD_DIR CONFIG...
set -uo pipefail
build=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
# Absolute: CTest takes a relative results file as under its test folder.
logdir=$(mkdir -p "$build" && cd "$build" && pwd)/test-logs
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
    local limit=${KORVAIN_CTEST_TIME_LIMIT:-3600} status
    # At the limit timeout stops CTest's whole process group: the tests it
    # started too (the Windows programs end with their test's script).
    timeout "$limit" ctest --test-dir "$build/$config" -j2 --output-on-failure \
      --output-junit "$logdir/$config.junit.xml" 2>&1 | tee "$logdir/$config.log" |
      grep -vE '^ *(Start|[0-9]+/[0-9]+ Test) '
    status=${PIPESTATUS[0]}
    echo "$status" >"$logdir/$config.status"
    if [ "$status" = 124 ]; then
      verdict "$config" "FAILED: CTest did not finish within $limit s"
    else
      verdict "$config" ran
    fi
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

passed=0
failed=0
skipped=0
status=0
left_out=()
ctest_status=()
failed_tests=()
skipped_tests=()
for config in "$@"; do
  outcome=$(cat "$logdir/$config.verdict" 2>/dev/null || echo "FAILED: not run")
  case $outcome in
    ran) ;;
    left\ out:*) left_out+=("$config ($outcome)"); continue ;;
    *) left_out+=("$config (${outcome})"); status=1; continue ;;
  esac
  code=$(cat "$logdir/$config.status")
  if [ "$code" != 0 ]; then
    ctest_status+=("$config (status $code)")
    status=1
  fi
  results=$(python3 "$here/ctest-results.py" "$logdir/$config.junit.xml")
  case $? in
    0) ;;
    2) left_out+=("$config (FAILED: no tests were found)"); status=1; continue ;;
    *) left_out+=("$config (FAILED: ended without CTest's summary)"); status=1; continue ;;
  esac
  while read -r kind rest; do
    case $kind in
      counts)
        read -r p f s <<<"$rest"
        passed=$((passed + p))
        failed=$((failed + f))
        skipped=$((skipped + s)) ;;
      failed) failed_tests+=("$config: $rest") ;;
      skipped) skipped_tests+=("$config: $rest") ;;
    esac
  done <<<"$results"
done

# name_all WHAT ITEM...: the line "WHAT: ITEM; ITEM", when there is any.
name_all() {
  local what=$1; shift
  [ $# -eq 0 ] || echo "$what: $(printf '%s; ' "$@" | sed 's/; $//')"
}

echo
if [ ${#left_out[@]} -eq 0 ]; then
  echo "every configuration ran: $*"
else
  name_all "not run or not complete" "${left_out[@]}"
fi
name_all "CTest did not end with status 0" "${ctest_status[@]}"
name_all "failed" "${failed_tests[@]}"
name_all "skipped or disabled" "${skipped_tests[@]}"
echo "configurations: $passed passed, $failed failed, $skipped skipped"
[ $status -eq 0 ] && [ $failed -eq 0 ]
