#!/usr/bin/env bash
# Runs a cross-built test program under Wine, quietly. The prefix, the
# display and the persistent wineserver come from scripts/with-wine.sh.
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
  wine "$@" 2>&1 | tee "$output"
  status=${PIPESTATUS[0]}
  grep -q "ShellExecuteEx failed" "$output" || exit $status
  echo "wine-exec: Wine did not start $1 (attempt $attempt of 3)" >&2
  sleep 1
done
exit $status
