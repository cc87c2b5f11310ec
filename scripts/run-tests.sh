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

run_configs() {
  local status=0
  for config in "$@"; do
    [ -f "$build/$config/CTestTestfile.cmake" ] || continue
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
export -f run_configs
export build logdir
"$here/with-wine.sh" bash -c 'run_configs "$@"' _ "${cross[@]}" || status=1

passed=0
failed=0
for log in "$logdir"/*.log; do
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
  [ -n "$line" ] || continue
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
done
echo
echo "all configurations: $passed passed, $failed failed"
[ $status -eq 0 ] && [ $failed -eq 0 ]
