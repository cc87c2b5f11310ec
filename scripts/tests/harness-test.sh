#!/usr/bin/env bash
# The scripts that set up the machine and run the tests, checked against the
# ways a run could look green without having tested:
#
#   scripts/tests/harness-test.sh ROW
#
# runs one row. Stubs stand in for wine, wineserver, Xvfb, apt-get,
# dpkg-query and id on the PATH, and the fixed paths the scripts use (the
# 32-bit loader, the apt sources and preferences, the PPD folders) point
# into a scratch folder, so no prefix boots and nothing of the machine
# changes.
set -uo pipefail
scripts=$(cd "$(dirname "$0")/.." && pwd)
repo=$(cd "$scripts/.." && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/harness-test.XXXXXX")
bin=$scratch/bin
mkdir -p "$bin"
export PATH=$bin:$PATH TMPDIR=$scratch
failures=0
trap 'rm -rf "$scratch"' EXIT

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
expect_status() {  # WHAT EXPECTED ACTUAL
  [ "$2" = "$3" ] || fail "$1: status $3, expected $2"
}
expect_has() {  # WHAT TEXT FILE
  grep -qF -- "$2" "$3" || fail "$1: no [$2] in:$(printf '\n'; sed 's/^/  | /' "$3")"
}
expect_lacks() {  # WHAT TEXT FILE
  ! grep -qF -- "$2" "$3" || fail "$1: [$2] in:$(printf '\n'; sed 's/^/  | /' "$3")"
}

# stub NAME BODY: a program NAME on the PATH that runs the bash BODY.
stub() {
  printf '#!/usr/bin/env bash\n%s\n' "$2" >"$bin/$1"
  chmod +x "$bin/$1"
}

# Wine that boots a prefix, and a display server that listens at once.
stub_wine_that_works() {
  stub Xvfb 'echo 99 >&3; exec sleep 300'
  stub wineserver 'exit 0'
  stub wine 'mkdir -p "$WINEPREFIX/drive_c/windows/system32"; [ "$1" = reg ] && exit 0; exec "$@"'
  export KORVAIN_WINE32_LOADER=$bin/loader32 KORVAIN_WINE64_LOADER=$bin/wine
  stub loader32 'exit 0'
}

# A machine whose kernel runs 32-bit programs (or, with "refuses", not).
kernel_i386() {
  export KORVAIN_I386_PROBE=$bin/i386-program
  if [ "$1" = refuses ]; then
    stub i386-program 'echo "cannot execute binary file: Exec format error" >&2; exit 126'
  else
    stub i386-program 'exit 42'
  fi
}

# config DIR [i686] TESTS...: a build configuration whose CTest file holds
# the given add_test lines.
config() {
  local dir=$scratch/build/$1; shift
  mkdir -p "$dir"
  if [ "${1:-}" = i686 ]; then
    echo "CMAKE_CXX_COMPILER:FILEPATH=/usr/bin/i686-w64-mingw32-g++-win32" >"$dir/CMakeCache.txt"
    shift
  else
    : >"$dir/CMakeCache.txt"
  fi
  printf '%s\n' "$@" >"$dir/CTestTestfile.cmake"
}

run_tests() {  # CONFIG...: run-tests.sh over the scratch build; output in $scratch/out
  # The build folder named as make names it: relative to where it runs.
  (cd "$scratch" && bash "$scripts/run-tests.sh" build "$@") >"$scratch/out" 2>&1
}

# --- run-tests.sh: the closing line tells the truth -------------------------

row_configuration_without_tests_file_fails() {
  stub_wine_that_works
  config native 'add_test(ok true)'
  run_tests native missing
  expect_status "a configuration never built" 1 $?
  expect_has "names it" "missing (FAILED: not built)" "$scratch/out"
}

row_no_tests_found_fails() {
  config native
  run_tests native
  expect_status "a configuration with no tests" 1 $?
  expect_has "names it" "native (FAILED: no tests were found)" "$scratch/out"
}

row_skipped_tests_are_counted_apart() {
  config native 'add_test(ok true)' 'add_test(skip bash -c "exit 77")' \
    'set_tests_properties(skip PROPERTIES SKIP_RETURN_CODE 77)'
  run_tests native
  expect_status "a run with a skipped test" 0 $?
  expect_has "closing line" "configurations: 1 passed, 0 failed, 1 skipped" "$scratch/out"
}

row_ctest_killed_mid_run_fails_and_is_named() {
  config native 'add_test(ok true)'
  config killed 'add_test(ok true)' 'add_test(killer bash -c "kill -9 $PPID")'
  run_tests native killed
  expect_status "a configuration whose CTest was killed" 1 $?
  expect_has "names it" "killed (FAILED: ended without CTest's summary)" "$scratch/out"
}

# A GoogleTest program's stand-in: `fake-gtest KIND STATUS ARGS...` writes the
# JSON result file that --gtest_output asks for, holding one passed case
# ("passed"), one skipped case ("skipped", with gtest's mark in the output)
# or none ("none"), and exits with STATUS. With --gtest_list_tests it lists
# one case and writes nothing.
stub_fake_gtest() {
  stub fake-gtest 'kind=$1 status=$2; shift 2
    for arg; do
      [ "$arg" = --gtest_list_tests ] && { printf "Suite.\n  a_case\n"; exit 0; }
      case $arg in --gtest_output=json:*) out=${arg#--gtest_output=json:} ;; esac
    done
    case $kind in
      passed) cases="{\"name\":\"a_case\",\"status\":\"RUN\",\"result\":\"COMPLETED\"}" ;;
      skipped) echo "[  SKIPPED ] Suite.a_case"
        cases="{\"name\":\"a_case\",\"status\":\"RUN\",\"result\":\"SKIPPED\"}" ;;
      none) cases= ;;
    esac
    [ -n "${out:-}" ] && echo "{\"testsuites\":[{\"name\":\"Suite\",\"testsuite\":[$cases]}]}" >"$out"
    exit "$status"'
}

row_skip_then_crash_is_a_failure() {
  stub_fake_gtest
  # As CTest's GoogleTest discovery writes it: skipped when the output
  # holds gtest's skip mark, whatever the exit status.
  config native 'add_test(printed_skip_then_crash bash -c "echo \"[  SKIPPED ] a case\"; exit 3")' \
    'set_tests_properties(printed_skip_then_crash PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")' \
    "add_test(skip_then_crash bash $scripts/gtest-run.sh fake-gtest skipped 3)" \
    "add_test(skip bash $scripts/gtest-run.sh fake-gtest skipped 0)" \
    'set_tests_properties(skip_then_crash skip PROPERTIES SKIP_RETURN_CODE 77 SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")'
  run_tests native
  expect_status "a skip then a crash" 1 $?
  expect_has "closing line" "configurations: 0 passed, 2 failed, 1 skipped" "$scratch/out"
  expect_has "names the printed skip" "printed_skip_then_crash (skipped on its printed output alone)" \
    "$scratch/out"
}

row_program_run_that_runs_no_case_fails() {
  stub_fake_gtest
  config native "add_test(filter_matches_nothing bash $scripts/gtest-run.sh fake-gtest none 0 --gtest_filter=None*)" \
    "add_test(one_case bash $scripts/gtest-run.sh fake-gtest passed 0 --gtest_filter=Suite.a_case)"
  run_tests native
  expect_status "a run of no case" 1 $?
  expect_has "closing line" "configurations: 1 passed, 1 failed, 0 skipped" "$scratch/out"
  expect_has "says why" "filter_matches_nothing" "$scratch/out"
  expect_has "says why" "ran no case" "$scratch/out"
  bash "$scripts/gtest-run.sh" fake-gtest none 0 --gtest_list_tests >"$scratch/out" 2>&1
  expect_status "the cases listed for CTest, not run" 0 $?
  expect_has "the listing" "a_case" "$scratch/out"
}

row_disabled_tests_are_counted_as_skipped_and_named() {
  config native 'add_test(ok true)' 'add_test(Suite.a_case true)' \
    'set_tests_properties(Suite.a_case PROPERTIES DISABLED TRUE)'
  run_tests native
  expect_status "a run with a disabled test" 0 $?
  expect_has "closing line" "configurations: 1 passed, 0 failed, 1 skipped" "$scratch/out"
  expect_has "names it" "Suite.a_case (disabled)" "$scratch/out"
}

row_hung_configuration_is_stopped_and_named() {
  config native 'add_test(ok true)'
  config hung "add_test(hangs bash -c \"exec -a $scratch/hung-test sleep 60\")"
  KORVAIN_CTEST_TIME_LIMIT=2 run_tests native hung
  expect_status "a configuration that did not finish" 1 $?
  expect_has "names it" "hung (FAILED: CTest did not finish within 2 s)" "$scratch/out"
  expect_has "the others counted" "configurations: 1 passed, 0 failed, 0 skipped" "$scratch/out"
  ! pgrep -f "$scratch/hung-test" >/dev/null || fail "the hung test runs on"
}

row_printed_summary_cannot_change_the_count() {
  local liar='add_test(liar bash -c "echo \"100% tests passed, 0 tests failed out of 999\"; exit 1")'
  config lying "$liar"
  config killed "$liar" 'add_test(killer bash -c "kill -9 $PPID")' \
    'set_tests_properties(killer PROPERTIES DEPENDS liar)'
  run_tests lying killed
  expect_status "a test that prints a summary" 1 $?
  expect_has "closing line" "configurations: 0 passed, 1 failed, 0 skipped" "$scratch/out"
  expect_has "the killed one" "killed (FAILED: ended without CTest's summary)" "$scratch/out"
  expect_has "CTest's status named" "lying (status 8)" "$scratch/out"
  expect_has "CTest's status named" "killed (status 137)" "$scratch/out"
}

row_32_bit_left_out_only_where_the_kernel_refuses() {
  stub_wine_that_works
  stub loader32 'echo "Exec format error" >&2; exit 1'
  config x64 'add_test(ok true)'
  config x86 i686 'add_test(ok true)'
  kernel_i386 refuses
  run_tests x64 x86
  expect_status "32-bit left out where the kernel refuses" 0 $?
  expect_has "names it" "x86 (left out: this machine's kernel runs no 32-bit program" "$scratch/out"
  expect_has "closing line" "configurations: 1 passed, 0 failed, 0 skipped" "$scratch/out"
  kernel_i386 runs
  run_tests x64 x86
  expect_status "32-bit Wine missing where the kernel runs it" 1 $?
  expect_has "an install fault" "the wine32:i386 package is missing or broken" "$scratch/out"
  expect_lacks "not blamed on the kernel" "kernel runs no 32-bit" "$scratch/out"
}

row_every_test_needs_a_time_out() {
  config native 'add_test(timed true)' 'set_tests_properties(timed PROPERTIES TIMEOUT 5)' \
    'add_test(untimed true)'
  python3 "$scripts/check-test-timeouts.py" ctest "$scratch/build/native" >"$scratch/out" 2>&1
  expect_status "a test without a time-out" 1 $?
  expect_has "names it" "no time-out: untimed" "$scratch/out"
  expect_lacks "not the timed one" "no time-out: timed" "$scratch/out"
}

# --- with-wine.sh: a display and a prefix, or a stop at once ----------------

row_xvfb_that_does_not_start_stops_the_run() {
  stub_wine_that_works
  stub Xvfb 'exit 1'
  DISPLAY=:inherited bash "$scripts/with-wine.sh" bash -c 'echo "ran on $DISPLAY"' \
    >"$scratch/out" 2>&1
  expect_status "no display" 5 $?
  expect_has "says which" "Xvfb did not start" "$scratch/out"
  expect_lacks "the command did not run" "ran on" "$scratch/out"
}

row_prefix_that_does_not_start_stops_the_run() {
  stub_wine_that_works
  stub wine 'exit 1'
  bash "$scripts/with-wine.sh" bash -c 'echo ran' >"$scratch/out" 2>&1
  expect_status "no prefix" 6 $?
  expect_has "says which" "Wine prefix" "$scratch/out"
  expect_lacks "the command did not run" "ran" "$scratch/out"
}

# --- wine-exec.sh: a retry only for a program that never started -----------

row_program_that_ran_is_not_run_again() {
  stub wine 'echo run >>"$RUNS"; echo "[ RUN ] a case"; echo "ShellExecuteEx failed: File not found."; exit 1'
  RUNS=$scratch/runs bash "$scripts/wine-exec.sh" test.exe >"$scratch/out" 2>&1
  expect_status "a program that ran and failed" 1 $?
  expect_status "runs" 1 "$(wc -l <"$scratch/runs")"
}

row_program_wine_did_not_start_is_tried_again() {
  stub wine 'echo run >>"$RUNS"
    if [ "$(wc -l <"$RUNS")" -eq 1 ]; then
      echo "Application could not be started, or no application associated with the specified file."
      printf "ShellExecuteEx failed: File not found.\r\n\n"
      exit 1
    fi
    echo passed'
  RUNS=$scratch/runs bash "$scripts/wine-exec.sh" test.exe >"$scratch/out" 2>&1
  expect_status "a start Wine failed, then a run" 0 $?
  expect_status "runs" 2 "$(wc -l <"$scratch/runs")"
}

row_programs_of_a_timed_out_test_are_ended() {
  # The "Windows program" the test starts leaves the test's session and
  # process tree, as Wine's children do, so CTest's kill does not reach it.
  stub wine 'setsid bash -c "(exec -a prog.exe sleep 300) & echo \$! >\"\$LEFTOVER\"" \
    </dev/null >/dev/null 2>&1; sleep 300'
  config native "add_test(hangs env LEFTOVER=$scratch/leftover bash $scripts/wine-exec.sh test.exe)" \
    'set_tests_properties(hangs PROPERTIES TIMEOUT 2)'
  ctest --test-dir "$scratch/build/native" >"$scratch/out" 2>&1
  expect_has "timed out" "Timeout" "$scratch/out"
  local pid i
  pid=$(cat "$scratch/leftover")
  for i in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    fail "the program the timed-out test started is still running"
    kill -KILL "$pid"
  fi
}

# --- the installer's end-to-end cases ----------------------------------------

row_unknown_installer_case_fails() {
  bash "$repo/installer/tests/e2e/run-case.sh" flow no_such_case >"$scratch/out" 2>&1
  expect_status "an unknown case" 1 $?
  expect_lacks "no pass claimed" "all checks passed" "$scratch/out"
  bash "$repo/installer/tests/e2e/run-case.sh" no_such_group x >"$scratch/out" 2>&1
  expect_status "an unknown group" 1 $?
}

row_sweep_of_earlier_cases_spares_the_running_case() {
  export WINEPREFIX=$scratch/prefix
  # An installer an earlier case left running in this prefix.
  setsid bash -c 'exec -a "Z:\\tmp\\kestrup-test.earlier\\m\\Kestrup.exe" sleep 300' \
    </dev/null >/dev/null 2>&1 &
  local leftover=$!
  # The case's own shell names its work folder, as the 32-bit case's does.
  bash -c 'source "$1/lib.sh"; echo "case survived"' "$scratch/kestrup-test.current" \
    "$repo/installer/tests/e2e" >"$scratch/out" 2>&1
  expect_has "the running case" "case survived" "$scratch/out"
  local i
  for i in $(seq 100); do kill -0 "$leftover" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$leftover" 2>/dev/null && { fail "the earlier case's installer runs on"; kill -KILL "$leftover"; }
}

# --- ensure-packages.sh: nothing of the machine changed unasked -------------

# A machine that lacks wine32 and whose update fails on a suite's index.
apt_machine_with_a_failed_update() {
  export KORVAIN_APT_SOURCES=$scratch/apt/debian.sources KORVAIN_APT_PREFERENCES=$scratch/apt/prefs
  mkdir -p "$KORVAIN_APT_PREFERENCES"
  printf 'Types: deb\nURIs: http://deb.debian.org/debian\nSuites: bookworm bookworm-updates\nComponents: main\n\nTypes: deb\nURIs: http://deb.debian.org/debian-security\nSuites: bookworm-security\nComponents: main\n' \
    >"$KORVAIN_APT_SOURCES"
  cp "$KORVAIN_APT_SOURCES" "$scratch/original.sources"
  stub id 'echo 0'
  stub dpkg-query '[ "$3" = wine32:i386 ] && exit 1; echo "install ok installed"'
  stub dpkg 'case $1 in
    --print-foreign-architectures) echo i386 ;; --print-architecture) echo amd64 ;;
    *) exec /usr/bin/dpkg "$@" ;; esac'
  stub locale 'printf "%s.utf8\n" en_US de_DE fr_FR it_IT ja_JP nl_NL pt_PT es_ES'
  # The install works only with the main suite pinned, and records what
  # the sources said then.
  stub apt-get 'echo "apt-get $*" >>"$APT_LOG"
    case "$1 $2" in
      "-qq update"|"update -qq")
        echo "E: Failed to fetch http://deb.debian.org/debian/dists/bookworm-updates/main/binary-i386/Packages  File has unexpected size"
        exit 100 ;;
      "-s install")
        echo "Inst libc6 [2.36-9+deb12u9] (2.36-9+deb12u4 Debian:12.5/stable [amd64])"
        echo "Inst wine32:i386 (8.0~repack-4 Debian:12.5/stable [i386])" ;;
      *) [ -f "$KORVAIN_APT_PREFERENCES/zz-korvain-main-suite-first" ] || { echo "E: wine32:i386 : Depends: libc6:i386"; exit 100; }
         cp "$KORVAIN_APT_SOURCES" "$SOURCES_AT_INSTALL" ;;
    esac'
  export APT_LOG=$scratch/apt-log SOURCES_AT_INSTALL=$scratch/sources-at-install
}

row_failed_update_stops_with_the_recipe_and_changes_nothing() {
  apt_machine_with_a_failed_update
  bash "$scripts/ensure-packages.sh" >"$scratch/out" 2>&1
  expect_status "an install that failed after a failed update" 1 $?
  expect_has "the recipe" "Pin-Priority: 1001" "$scratch/out"
  expect_has "its warning" "downgrades installed amd64 packages" "$scratch/out"
  expect_has "how to ask for it" "KORVAIN_ALLOW_DOWNGRADES=1" "$scratch/out"
  cmp -s "$scratch/original.sources" "$KORVAIN_APT_SOURCES" || fail "the sources were changed"
  [ -z "$(ls -A "$KORVAIN_APT_PREFERENCES")" ] || fail "a pin was left: $(ls "$KORVAIN_APT_PREFERENCES")"
  expect_lacks "no downgrading install" "--allow-downgrades" "$APT_LOG"
}

row_downgrades_only_when_asked_and_listed_before() {
  apt_machine_with_a_failed_update
  KORVAIN_ALLOW_DOWNGRADES=1 bash "$scripts/ensure-packages.sh" >"$scratch/out" 2>&1
  expect_status "the asked-for way around" 0 $?
  expect_has "the downgrades listed" "libc6: 2.36-9+deb12u9 -> 2.36-9+deb12u4" "$scratch/out"
  expect_lacks "an installation is no downgrade" "  wine32" "$scratch/out"
  grep -- '--allow-downgrades' "$APT_LOG" | head -1 | grep -q -- '-s install' ||
    fail "installed before listing the downgrades:$(printf '\n'; cat "$APT_LOG")"
  # The main suite kept its i386 index; the failed suite read for amd64 only.
  awk 'BEGIN { RS = "" } /Suites: bookworm\n/ && !/Architectures/ { found = 1 } END { exit !found }' \
    "$SOURCES_AT_INSTALL" || fail "the main suite lost i386:$(printf '\n'; cat "$SOURCES_AT_INSTALL")"
  awk 'BEGIN { RS = "" } /Suites: bookworm-updates\n/ && /Architectures: amd64/ { found = 1 } END { exit !found }' \
    "$SOURCES_AT_INSTALL" || fail "the failed suite was not limited:$(printf '\n'; cat "$SOURCES_AT_INSTALL")"
  cmp -s "$scratch/original.sources" "$KORVAIN_APT_SOURCES" || fail "the sources were not restored"
  [ -z "$(ls -A "$KORVAIN_APT_PREFERENCES")" ] || fail "the pin was left"
}

row_rerun_restores_what_a_killed_run_changed() {
  apt_machine_with_a_failed_update
  stub dpkg-query 'echo "install ok installed"'
  # What a run killed outright leaves: the changed sources, their backup and the pin.
  cp "$KORVAIN_APT_SOURCES" "$KORVAIN_APT_SOURCES.korvain-saved"
  echo "Architectures: amd64" >>"$KORVAIN_APT_SOURCES"
  echo "Pin-Priority: 1001" >"$KORVAIN_APT_PREFERENCES/zz-korvain-main-suite-first"
  bash "$scripts/ensure-packages.sh" >"$scratch/out" 2>&1
  expect_status "a rerun" 0 $?
  cmp -s "$scratch/original.sources" "$KORVAIN_APT_SOURCES" || fail "the sources were not restored"
  [ ! -e "$KORVAIN_APT_SOURCES.korvain-saved" ] || fail "the backup was left"
  [ -z "$(ls -A "$KORVAIN_APT_PREFERENCES")" ] || fail "the pin was left"
}

# --- ppd-corpus.sh: no registry in the test run, no silent gaps -------------

ppd_machine() {
  export KORVAIN_PPD_ROOT=$scratch/root
  mkdir -p "$KORVAIN_PPD_ROOT/usr/share/ppd/maker"
  echo '*PPD-Adobe: "4.3"' >"$KORVAIN_PPD_ROOT/usr/share/ppd/maker/one.ppd"
  stub ppd-tool 'echo "summary	$# files"'
  stub apt-get 'echo "apt-get $*" >>"$APT_LOG"; echo "E: no network" >&2; exit 100'
  export APT_LOG=$scratch/apt-log
  : >"$APT_LOG"
}

row_failed_download_fails_and_leaves_no_marker() {
  ppd_machine
  bash "$scripts/ppd-corpus.sh" "$bin/ppd-tool" "$scratch/corpus" >"$scratch/out" 2>&1
  expect_status "a failed download" 1 $?
  expect_has "says so" "cannot download cups-filters" "$scratch/out"
  [ ! -e "$scratch/corpus/collected" ] || fail "the corpus is marked collected"
}

row_test_sample_needs_no_registry() {
  ppd_machine
  bash "$scripts/ppd-corpus.sh" "$bin/ppd-tool" "$scratch/corpus" --installed-only \
    >"$scratch/out" 2>&1
  expect_status "the installed PPDs alone" 0 $?
  [ ! -s "$APT_LOG" ] || fail "asked a registry: $(cat "$APT_LOG")"
  expect_has "read them" "1 PPD files" "$scratch/out"
}

# --- demo-installer.sh: every line it prints is true ------------------------

# A build with the package medium and the installer's 64-bit test build,
# whose programs are scripts: the installer writes what its sub-installer
# would and the window driver finds its dialogs (or, with "no-dialogs",
# none).
installer_demo_build() {
  local build=$scratch/build dist=$scratch/dist
  mkdir -p "$build/installer" "$dist/package/Res" "$build/installer-x64/installer/tests" \
           "$build/installer/installer/tests"
  echo "KORVAIN_DIST_ROOT:PATH=$dist" >"$build/installer/CMakeCache.txt"
  local kestrup='#!/usr/bin/env bash
res=$(dirname "$0")/Res; echo "'"'"'WIDTH /INF Drv\\A\\dalmont.inf'"'"'" >"$res/KRU_x64.txt"'
  printf '%s\n' "${kestrup/WIDTH/shipped}" >"$dist/package/Kestrup.exe"
  printf '%s\n' "${kestrup/WIDTH/test-build}" >"$build/installer-x64/installer/Kestrup.exe"
  local answer='rect) echo 0 0 10 10 ;; *) exit 0 ;;'
  [ "${1:-}" = no-dialogs ] && answer='*) exit 1 ;;'
  for config in installer installer-x64; do
    printf '#!/usr/bin/env bash\ncase $1 in %s esac\n' "$answer" \
      >"$build/$config/installer/tests/WindowDriver.exe"
  done
  chmod +x "$dist/package/Kestrup.exe" "$build"/installer*/installer/Kestrup.exe \
           "$build"/installer*/installer/tests/WindowDriver.exe
  stub import 'echo png >"${@: -1}"'
}

run_installer_demo() {
  bash "$scripts/demo-installer.sh" "$scratch/build" >"$scratch/out" 2>&1
}

row_installer_demo_without_32_bit_programs_shows_the_64_bit_build() {
  stub_wine_that_works
  stub loader32 'echo "Exec format error" >&2; exit 1'
  kernel_i386 refuses
  installer_demo_build
  run_installer_demo
  expect_status "the demo" 0 $?
  expect_has "the width named" "shown through its 64-bit test build" "$scratch/out"
  expect_has "the test build ran" "test-build /INF" "$scratch/out"
  expect_has "the screenshots" "screenshots in out/installer-chooser.png" "$scratch/out"
}

row_installer_demo_with_32_bit_programs_shows_the_shipped_installer() {
  stub_wine_that_works
  kernel_i386 runs
  installer_demo_build
  run_installer_demo
  expect_status "the demo" 0 $?
  expect_has "the shipped installer ran" "shipped /INF" "$scratch/out"
  expect_lacks "no other width named" "64-bit test build" "$scratch/out"
}

row_installer_demo_names_no_screenshot_it_did_not_make() {
  stub_wine_that_works
  stub loader32 'echo "Exec format error" >&2; exit 1'
  kernel_i386 refuses
  installer_demo_build no-dialogs
  run_installer_demo
  [ $? -ne 0 ] || fail "the demo passed without its dialogs"
  expect_lacks "no screenshot claimed" "screenshots in" "$scratch/out"
  expect_lacks "no sub-installer claimed" "received:" "$scratch/out"
}

# Wine whose registry holds the display's DPI in a file (absent: no value),
# answering reg query, add and delete as Wine's reg does.
stub_wine_with_dpi_value() {
  export KORVAIN_TEST_DPI_VALUE=$scratch/logpixels
  stub wine 'case "$1 $2" in
  "reg query")
    [ -f "$KORVAIN_TEST_DPI_VALUE" ] || exit 1
    printf "\r\nHKEY_CURRENT_USER\\Control Panel\\Desktop\r\n    LogPixels    REG_DWORD    0x%x\r\n" \
      "$(cat "$KORVAIN_TEST_DPI_VALUE")" ;;
  "reg add")
    while [ $# -gt 0 ]; do [ "$1" = /d ] && echo "$2" >"$KORVAIN_TEST_DPI_VALUE"; shift; done ;;
  "reg delete") rm -f "$KORVAIN_TEST_DPI_VALUE" ;;
  *) exec "$@" ;;
esac'
}

# The command sees the DPI asked for; its status is the run's; the value
# there was before comes back.
row_dpi_run_sees_its_dpi_and_puts_back_the_one_before() {
  stub_wine_with_dpi_value
  echo 120 >"$KORVAIN_TEST_DPI_VALUE"
  "$scripts/at-dpi.sh" 144 bash -c 'cat "$KORVAIN_TEST_DPI_VALUE" >"$TMPDIR/during"; exit 3' \
    >"$scratch/out" 2>&1
  expect_status "the run" 3 $?
  expect_has "the command's DPI" 144 "$scratch/during"
  expect_has "the DPI before, back" 120 "$KORVAIN_TEST_DPI_VALUE"
}

# Where the prefix had no value, none is left behind.
row_dpi_run_leaves_no_value_where_there_was_none() {
  stub_wine_with_dpi_value
  "$scripts/at-dpi.sh" 144 bash -c 'cat "$KORVAIN_TEST_DPI_VALUE" >"$TMPDIR/during"' \
    >"$scratch/out" 2>&1
  expect_status "the run" 0 $?
  expect_has "the command's DPI" 144 "$scratch/during"
  [ ! -e "$KORVAIN_TEST_DPI_VALUE" ] || fail "a DPI value was left: $(cat "$KORVAIN_TEST_DPI_VALUE")"
}

if ! declare -F "row_${1:-}" >/dev/null; then
  echo "FAIL: no row ${1:-}" >&2
  exit 1
fi
"row_$1"
if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "all checks passed"
