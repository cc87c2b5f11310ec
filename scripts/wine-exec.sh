#!/usr/bin/env bash
# Runs a cross-built test program under Wine, quietly. The prefix, the
# display and the persistent wineserver come from scripts/with-wine.sh.
#
# The program writes to a file that is followed here, never to a pipe of the
# caller: the Windows processes it starts (the desktop's explorer.exe, first
# of all) inherit its output and may outlive it by minutes, and a test runner
# reading a pipe until its end would wait for them. The programs the test
# starts end with it (scripts/test-programs.sh), also when CTest kills it at
# its time-out.
#
# Now and then Wine fails to start a program at all: it prints "Application
# could not be started ... ShellExecuteEx failed" and nothing else, and fails.
# Only such a start is tried again; every other outcome, a program that
# printed those words among its own included, is the program's own.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/test-programs.sh"
mark_test_programs
WINEDEBUG=${WINEDEBUG:--all}
export WINEDEBUG
output=$(mktemp)
trap 'rm -f "$output"' EXIT

# True when the output holds Wine's start failure and nothing else.
never_started() {
  local lines
  lines=$(tr -d '\r' <"$output" | grep -v '^$')
  grep -q '^ShellExecuteEx failed' <<<"$lines" &&
    ! grep -qvE '^(Application could not be started, or no application associated with the specified file\.|ShellExecuteEx failed: .*)$' <<<"$lines"
}

status=1
for attempt in 1 2 3; do
  # Wine says so on standard output; CTest reads both streams as one.
  wine "$@" >"$output" 2>&1 </dev/null &
  program=$!
  tail -n +1 -f -s 0.05 --pid=$program "$output"
  wait $program
  status=$?
  [ $status -ne 0 ] && never_started || exit $status
  echo "wine-exec: Wine did not start $1 (attempt $attempt of 3)" >&2
  : >"$output"
  sleep 1
done
exit $status
