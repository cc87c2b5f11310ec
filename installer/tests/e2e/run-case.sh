#!/usr/bin/env bash
# Runs one end-to-end case of the installer: run-case.sh GROUP CASE runs
# the function case_CASE of GROUP.sh.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
source "$here/$1.sh"
"case_$2"
finish
