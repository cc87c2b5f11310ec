#!/usr/bin/env bash
# Runs one end-to-end case of the installer: run-case.sh GROUP CASE runs
# the function case_CASE of GROUP.sh. A group or case that does not exist
# fails; so does a case whose checks fail.
here=$(cd "$(dirname "$0")" && pwd)
if [ ! -f "$here/$1.sh" ]; then
  echo "FAIL: no group $1 ($here/$1.sh)" >&2
  exit 1
fi
source "$here/../../../scripts/test-programs.sh"
mark_test_programs
source "$here/lib.sh"
source "$here/$1.sh"
if ! declare -F "case_$2" >/dev/null; then
  echo "FAIL: group $1 has no case $2" >&2
  exit 1
fi
"case_$2"
finish
