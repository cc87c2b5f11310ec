# Helpers of the installer's end-to-end tests: package media in temporary
# folders, the real Kestrup.exe started under Wine, its windows driven by
# WindowDriver.exe. Sourced by the test scripts; needs KESTRUP_EXE,
# KRU_X86, KRU_X64, LICENSE_DIR and WINDOW_DRIVER, and a running Wine
# prefix with a display (scripts/with-wine.sh).
set -uo pipefail

TITLE="PostScript Printer Driver Installer"
failures=0
work=$(mktemp -d "${TMPDIR:-/tmp}/kestrup-test.XXXXXX")
KESTRUP_PID=
started_pids=()

# Every program this case started from its media, and every installer it
# started: an installer left running holds the single-instance mutex, and
# every later case would meet its windows instead of its own.
case_processes() {
  local pid
  for pid in $(pgrep -f "${work##*/}" 2>/dev/null) "${started_pids[@]}" $KESTRUP_PID; do
    kill -0 "$pid" 2>/dev/null && echo "$pid"
  done
}

# This case's own processes: the shell, its ancestors and its children. A
# case's shells name its work folder too (the 32-bit case hands it to a shell
# in a prefix of its own), and must never be taken for an earlier case's.
own_processes() {
  local pid=$$ parent
  while [ -n "$pid" ] && [ "$pid" != 0 ]; do
    echo "$pid"
    parent=$(awk '/^PPid:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
    pid=$parent
  done
  local queue=($$ ${BASHPID:-}) child
  while [ ${#queue[@]} -gt 0 ]; do
    for child in $(pgrep -P "${queue[0]}" 2>/dev/null); do
      echo "$child"
      queue+=("$child")
    done
    queue=("${queue[@]:1}")
  done
}

# Installers and sub-installers of earlier cases in this Wine prefix: a case
# that CTest ended at its time-out could not clean up after itself. They are
# Windows programs started from an earlier case's media, so their command
# line begins with the media's Windows path.
processes_of_earlier_cases() {
  local pid own
  own=" $(own_processes | tr '\n' ' ') "
  for pid in $(pgrep -f '^[A-Z]:\\.*kestrup-test\.' 2>/dev/null); do
    [[ $own == *" $pid "* ]] && continue
    tr '\0' '\n' < "/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
      echo "$pid"
  done
}

# Asks the programs to end and kills them after 5 s. (kill -0 succeeds while
# any of them is left.)
stop_processes() {
  [ $# -gt 0 ] || return 0
  kill "$@" 2>/dev/null
  local i
  for i in $(seq 50); do
    kill -0 "$@" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -KILL "$@" 2>/dev/null
}

cleanup_test() {
  stop_processes $(case_processes | sort -u)
  rm -rf "$work"
}
trap cleanup_test EXIT

leftovers=$(processes_of_earlier_cases)
if [ -n "$leftovers" ]; then
  echo "note: ending programs an earlier case left running:" $leftovers >&2
  stop_processes $leftovers
fi

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

expect_eq() {  # what expected actual
  [ "$2" = "$3" ] || fail "$1: expected [$2], got [$3]"
}

expect_match() {  # what pattern actual
  [[ "$3" =~ $2 ]] || fail "$1: expected to match [$2], got [$3]"
}

finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  echo "all checks passed"
}

wd() { wine "$WINDOW_DRIVER" "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }

# make_medium DIR [MODEL=NAME...]: a medium with Kestrup.exe, both
# sub-installers, the settings with the given models (default two), every
# license text and an INF in each model folder.
make_medium() {
  local dir=$1; shift
  mkdir -p "$dir/Res" "$dir/Drv"
  cp "$KESTRUP_EXE" "$dir/Kestrup.exe"
  cp "$KRU_X86" "$dir/Res/KRU_x86.exe"
  cp "$KRU_X64" "$dir/Res/KRU_x64.exe"
  cp "$LICENSE_DIR"/EULA_*.txt "$dir/Res/"
  [ $# -gt 0 ] || set -- "ModelA=Test Model A" "ModelB=Test Model B"
  {
    printf '[Info]\r\nversion=3.1.4\r\n[Packages]\r\n'
    for model in "$@"; do printf '%s\r\n' "$model"; done
  } > "$dir/Res/setup.ini"
  for model in "$@"; do
    mkdir -p "$dir/Drv/${model%%=*}"
    printf '; test INF\r\n' > "$dir/Drv/${model%%=*}/dalmont.inf"
  done
}

# The loader that starts the installer under test. Wine's usual loader hands
# a 64-bit program to start.exe, which finds no program at a path of 260
# units or more; the 64-bit loader starts it itself, as Windows would.
installer_loader() {
  if [ "${KESTRUP_WIDTH:-x86}" = x64 ]; then
    echo "${KORVAIN_WINE64_LOADER:-/usr/lib/wine/wine64}"
  else
    echo wine
  fi
}

# start_installer DIR [VAR=VALUE...]: starts DIR\Kestrup.exe in the
# background with the given environment (LC_ALL for the language).
start_installer() {
  local dir=$1; shift
  env "$@" "$(installer_loader)" "$dir/Kestrup.exe" >/dev/null 2>&1 &
  KESTRUP_PID=$!
  started_pids+=("$KESTRUP_PID")
}

# Waits up to 60 s for the installer to end; fails when it does not, or
# when it ended otherwise than by returning (the flow sets no exit status,
# so a crash is the only way to end with another one). An installer that
# does not end is stopped, so that the case's next start meets no mutex.
expect_installer_ends() {
  local i status
  for i in $(seq 600); do
    if ! kill -0 "$KESTRUP_PID" 2>/dev/null; then
      wait "$KESTRUP_PID" 2>/dev/null
      status=$?
      KESTRUP_PID=
      [ "$status" -eq 0 ] || fail "the installer ended with status $status"
      return 0
    fi
    sleep 0.1
  done
  fail "the installer did not end"
  stop_processes "$KESTRUP_PID"
  KESTRUP_PID=
  return 1
}

installer_running() { [ -n "$KESTRUP_PID" ] && kill -0 "$KESTRUP_PID" 2>/dev/null; }

windows_path() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }

# The command line the stand-in sub-installer recorded, or nothing.
recorded_command_line() {  # DIR ARCH
  local record="$1/Res/KRU_$2.txt"
  [ -f "$record" ] && sed -n 's/^cmdline=//p' "$record" | tr -d '\r'
}

# Accepts the chooser and the license dialog in English.
accept_both_dialogs() {
  wd press "title=Printer Model" 1 || fail "no chooser to accept"
  wd press "title=License Agreement" 1 || fail "no license dialog to accept"
}

# Waits up to 30 s for the stand-in sub-installer of DIR (ARCH x64 or x86)
# to hold; fails when it never does.
expect_sub_installer_held() {  # DIR ARCH
  local i
  for i in $(seq 300); do
    grep -q state=held "$1/Res/KRU_$2.txt" 2>/dev/null && return 0
    sleep 0.1
  done
  fail "the sub-installer was not started"
  return 1
}

# Waits up to 15 s for the window to be the foreground window; fails when
# it never is.
expect_foreground() {  # WHAT SELECTOR
  local i
  for i in $(seq 30); do
    [ "$(wd foreground "$2")" = yes ] && return 0
    sleep 0.5
  done
  fail "$1: not in the foreground"
  return 1
}

# make_deep_medium_on_d COUNT [MODEL=NAME...]: a medium (make_medium) in a
# chain of COUNT folders of eight-unit names on drive D:, which Wine then
# maps to this case's folder. Such names are their own short names, so the
# medium's Windows path, 2 + 9 * COUNT units long, has no shorter form.
# Sets DEEP_MEDIUM (its folder here) and DEEP_MEDIUM_WIN (D:\...). The
# case removes the drive when it is done with it.
make_deep_medium_on_d() {
  local count=$1; shift
  local drive="$WINEPREFIX/dosdevices/d:" i name
  mkdir -p "$work/d"
  rm -f "$drive"
  ln -s "$work/d" "$drive"
  DEEP_MEDIUM=$work/d
  DEEP_MEDIUM_WIN='D:'
  for i in $(seq "$count"); do
    printf -v name 'DEEPDI%02d' "$i"
    DEEP_MEDIUM+="/$name"
    DEEP_MEDIUM_WIN+="\\$name"
  done
  make_medium "$DEEP_MEDIUM" "$@"
}

# start_installer_at WINDOWS-DIR: starts the installer of the medium by
# its Windows path, as start_installer does by the path here.
start_installer_at() {
  "$(installer_loader)" "$1\\Kestrup.exe" >/dev/null 2>&1 &
  KESTRUP_PID=$!
  started_pids+=("$KESTRUP_PID")
}
