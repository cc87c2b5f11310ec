#!/usr/bin/env bash
# Runs CTest in each build configuration: the native one directly, the
# Windows ones under Wine in one throwaway prefix. Ends with the sum of all
# configurations and fails when any test failed.
#
#   scripts/run-tests.sh BUILD_DIR CONFIG...
set -uo pipefail
build=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
logdir=$build/test-logs
rm -rf "$logdir"
mkdir -p "$logdir"

# A configuration of 32-bit Windows programs on a machine that cannot run
# them (scripts/with-wine.sh sets KORVAIN_WINE32): built, but its tests are
# not run, and the summary says so.
needs_wine32() {
  [ "${KORVAIN_WINE32:-1}" = 0 ] &&
    grep -q 'i686-w64-mingw32' "$build/$1/CMakeCache.txt" 2>/dev/null
}

run_configs() {
  local status=0
  for config in "$@"; do
    [ -f "$build/$config/CTestTestfile.cmake" ] || continue
    if needs_wine32 "$config"; then
      echo "== tests of $config NOT RUN: this machine runs no 32-bit programs (its kernel's" \
        "IA-32 emulation is off), so 32-bit Wine cannot start" | tee "$logdir/$config.not-run"
      continue
    fi
    echo "== tests of $config"
    ctest --test-dir "$build/$config" -j2 --output-on-failure 2>&1 | tee "$logdir/$config.log" | \
      grep -vE '^ *(Start|[0-9]+/[0-9]+ Test) ' || true
    grep -qE '100% tests passed|No tests were found' "$logdir/$config.log" || status=1
  done
  return $status
}

native=()
cross=()
for config in "$@"; do
  if [ "$config" = native ]; then native+=("$config"); else cross+=("$config"); fi
done

status=0
run_configs "${native[@]}" || status=1
export -f run_configs needs_wine32
export build logdir
"$here/with-wine.sh" bash -c 'run_configs "$@"' _ "${cross[@]}" || status=1

passed=0
failed=0
for log in "$logdir"/*.log; do
  [ -f "$log" ] || continue
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
  [ -n "$line" ] || continue
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
done
echo
for note in "$logdir"/*.not-run; do
  [ -f "$note" ] && cat "$note"
done
echo "all configurations: $passed passed, $failed failed"
[ $status -eq 0 ] && [ $failed -eq 0 ]
