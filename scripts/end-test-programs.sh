#!/usr/bin/env bash
# Ends the programs a test left behind:
#
#   end-test-programs.sh PID MARK
#
# waits until the test's runner PID has ended, then ends every process whose
# environment holds KORVAIN_TEST_MARK=MARK (see scripts/test-programs.sh). Wine
# starts a Windows program's children outside its process group, so CTest's
# kill at a time-out, which reaches that group only, leaves them running; a
# program left running holds the desktop, a mutex or a file that later tests
# need. Wine's own services and the desktop window's explorer.exe serve the
# whole prefix and are left alone. Asks first, kills after 5 s.
set -uo pipefail
runner=$1
mark=$2

while kill -0 "$runner" 2>/dev/null; do sleep 0.2; done

wine_service='^C:\\windows\\system32\\(services|winedevice|plugplay|svchost|rpcss|explorer|wineboot|conhost)\.exe'
marked=()
for dir in /proc/[0-9]*; do
  pid=${dir#/proc/}
  [ "$pid" != $$ ] || continue
  tr '\0' '\n' <"$dir/environ" 2>/dev/null | grep -qxF "KORVAIN_TEST_MARK=$mark" || continue
  tr '\0' ' ' <"$dir/cmdline" 2>/dev/null | grep -qE "$wine_service" && continue
  marked+=("$pid")
done
[ ${#marked[@]} -gt 0 ] || exit 0
echo "end-test-programs: ending what the test started and left running: ${marked[*]}" >&2
kill "${marked[@]}" 2>/dev/null
for _ in $(seq 50); do
  kill -0 "${marked[@]}" 2>/dev/null || exit 0
  sleep 0.1
done
kill -KILL "${marked[@]}" 2>/dev/null
exit 0
