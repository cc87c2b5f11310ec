#!/usr/bin/env bash
# Runs a GoogleTest program (PROGRAM may follow a runner such as
# wine-exec.sh) and judges the run by its exit status and by the result file
# GoogleTest itself writes, never by what the program prints:
#
#   scripts/gtest-run.sh [RUNNER...] PROGRAM ARGS...
#
# A non-zero exit status is the run's, whatever the output says; a run that
# executed no case (a filter that matches nothing exits 0) fails; a run whose
# every case skipped itself exits 77, which the discovered tests declare as
# their skip code. CTest's discovery also gives each test a pattern that
# marks it skipped when gtest's "[  SKIPPED ]" shows in its output, exit
# status or not; that mark is written here in lower case, so only the exit
# status decides. A listing of the cases (--gtest_list_tests, as CTest's
# discovery asks) passes through untouched.
set -uo pipefail
for arg; do
  [ "$arg" = --gtest_list_tests ] && exec "$@"
done

# Relative to the test's working folder, which a Windows program under Wine
# reads through the same drive as its own path.
results=$(mktemp -d .gtest-run.XXXXXX) || exit 1
trap 'rm -rf "$results"' EXIT
"$@" "--gtest_output=json:$results/cases.json" 2>&1 | sed -u 's/\[  SKIPPED \]/[  skipped ]/g'
status=${PIPESTATUS[0]}
if [ $status -ne 0 ]; then
  echo "gtest-run: the program ended with status $status"
  exit $status
fi
python3 - "$results/cases.json" <<'EOF'
import json
import sys

try:
    with open(sys.argv[1], encoding="utf-8") as f:
        suites = json.load(f).get("testsuites", [])
except (OSError, ValueError) as error:
    print(f"gtest-run: no readable result file from the program ({error})")
    sys.exit(1)
ran = [case for suite in suites for case in suite.get("testsuite", [])
       if case.get("status") == "RUN"]
skipped = [case for case in ran if case.get("result") == "SKIPPED"]
if not ran:
    print("gtest-run: the program ran no case")
    sys.exit(1)
if len(skipped) == len(ran):
    print(f"gtest-run: every case it ran ({len(ran)}) skipped itself")
    sys.exit(77)
EOF
