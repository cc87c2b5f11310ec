#!/usr/bin/env bash
# Runs a cross-built test program under Wine, quietly. The prefix, the
# display and the persistent wineserver come from scripts/with-wine.sh.
#
# The program writes to a file that is followed here, never to a pipe of the
# caller: the Windows processes it starts (the desktop's explorer.exe, first
# of all) inherit its output and may outlive it by minutes, and a test runner
# reading a pipe until its end would wait for them.
#
# Now and then Wine fails to start a program at all ("Application could not
# be started ... ShellExecuteEx failed"), before any line of it ran. Such a
# start is tried again; every other outcome is the program's own.
WINEDEBUG=${WINEDEBUG:--all}
export WINEDEBUG
output=$(mktemp)
trap 'rm -f "$output"' EXIT
status=1
for attempt in 1 2 3; do
  # Wine says so on standard output; CTest reads both streams as one.
  wine "$@" >"$output" 2>&1 </dev/null &
  program=$!
  tail -n +1 -f -s 0.05 --pid=$program "$output"
  wait $program
  status=$?
  grep -q "ShellExecuteEx failed" "$output" || exit $status
  echo "wine-exec: Wine did not start $1 (attempt $attempt of 3)" >&2
  : >"$output"
  sleep 1
done
exit $status
