# Sourced by the scripts that run one test (wine-exec.sh, the installer's
# run-case.sh): mark_test_programs marks every process the test starts from
# here on, Windows programs and their children included (Wine hands the
# environment down), and leaves a watcher in a session of its own that ends
# the marked processes once the calling script has ended, whether it ended
# by itself or was killed at a time-out.
mark_test_programs() {
  local here
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  KORVAIN_TEST_MARK=$$.$(date +%s%N)
  # Out of the caller's process tree and session: CTest's kill at a time-out
  # reaches both.
  (setsid env -u KORVAIN_TEST_MARK "$here/end-test-programs.sh" $$ "$KORVAIN_TEST_MARK" \
    </dev/null >/dev/null 2>&1 &)
  export KORVAIN_TEST_MARK
}
