# The installer's flow from start to the sub-installer, and its early ends.

case_happy_path_waits_for_sub_installer() {
  make_medium "$work/m"
  touch "$work/m/Res/KRU_x64.hold"
  start_installer "$work/m"
  wd clickitem "title=Printer Model" 1004 1
  expect_eq "list after clicking model B" "count=2 selected=1 focused=1" "$(wd list 'title=Printer Model' 1004)"
  accept_both_dialogs
  expect_sub_installer_held "$work/m" x64
  installer_running || fail "the installer ended while its sub-installer ran"
  rm -f "$work/m/Res/KRU_x64.hold"
  expect_installer_ends
  local dir; dir=$(windows_path "$work/m")
  expect_eq "command line" "\"$dir\\Res\\KRU_x64.exe\" \"$dir\\Drv\\ModelB\\dalmont.inf\"" \
    "$(recorded_command_line "$work/m" x64)"
  expect_eq "argument 1" "argv[1]=$dir\\Drv\\ModelB\\dalmont.inf" \
    "$(grep '^argv\[1\]' "$work/m/Res/KRU_x64.txt" | tr -d '\r')"
  [ ! -e "$work/m/Res/KRU_x86.txt" ] || fail "the 32-bit sub-installer ran on a 64-bit prefix"
}

expect_command_line_without_inf() {
  start_installer "$work/m"
  accept_both_dialogs
  expect_installer_ends
  local dir; dir=$(windows_path "$work/m")
  expect_eq "command line" "\"$dir\\Res\\KRU_x64.exe\"" "$(recorded_command_line "$work/m" x64)"
}

case_inf_missing() {
  make_medium "$work/m"
  rm "$work/m/Drv/ModelA/dalmont.inf"
  expect_command_line_without_inf
}

case_inf_is_a_folder() {
  make_medium "$work/m"
  rm "$work/m/Drv/ModelA/dalmont.inf"
  mkdir "$work/m/Drv/ModelA/dalmont.inf"
  expect_command_line_without_inf
}

# The installer of medium DIR has started: both dialogs are accepted, then
# message 10002 ends the flow and no sub-installer runs.
expect_refused_after_both_dialogs() {  # DIR
  accept_both_dialogs
  expect_eq "message" "The printer cannot be installed." "$(wd text "title=$TITLE" 65535)"
  wd press "title=$TITLE" 1 || fail "no message box to close"
  expect_installer_ends
  [ ! -e "$1/Res/KRU_x64.txt" ] || fail "a sub-installer ran"
}

expect_message_after_both_dialogs() {
  start_installer "$work/m"
  expect_refused_after_both_dialogs "$work/m"
}

case_sub_installer_missing() {
  make_medium "$work/m"
  rm "$work/m/Res/KRU_x64.exe"
  expect_message_after_both_dialogs
}

case_sub_installer_is_a_folder() {
  make_medium "$work/m"
  rm "$work/m/Res/KRU_x64.exe"
  mkdir "$work/m/Res/KRU_x64.exe"
  expect_message_after_both_dialogs
}

# The model is chosen, then message 10002 ends the flow: no license dialog,
# no sub-installer.
expect_refused_after_chooser() {
  wd press "title=Printer Model" 1 || fail "no chooser"
  expect_eq "message" "The printer cannot be installed." "$(wd text "title=$TITLE" 65535)"
  expect_eq "license dialogs shown" "0" "$(wd count 'title=License Agreement')"
  wd press "title=$TITLE" 1
  expect_installer_ends
  [ ! -e "$work/m/Res/KRU_x64.txt" ] || fail "a sub-installer ran"
}

case_license_missing() {
  make_medium "$work/m"
  rm "$work/m/Res/EULA_EN.txt"
  start_installer "$work/m"
  expect_refused_after_chooser
}

expect_message_at_start() {  # TEXT
  start_installer "$work/m"
  expect_eq "message" "$1" "$(wd text "title=$TITLE" 65535)"
  expect_eq "choosers shown" "0" "$(wd count 'title=Printer Model')"
  wd press "title=$TITLE" 1
  expect_installer_ends
}

case_no_settings_file() {
  make_medium "$work/m"
  rm "$work/m/Res/setup.ini"
  expect_message_at_start "The printer cannot be installed."
}

case_no_model_listed() {
  make_medium "$work/m"
  printf '[Info]\r\nversion=1\r\n' > "$work/m/Res/setup.ini"
  expect_message_at_start "The printer cannot be installed."
}

# Wine's per-program version setting stands in for an old Windows; the
# program's own name keeps the setting away from the other cases.
case_unsupported_windows() {
  make_medium "$work/m"
  mv "$work/m/Kestrup.exe" "$work/m/KestrupNT4.exe"
  wine reg add 'HKCU\Software\Wine\AppDefaults\KestrupNT4.exe' /v Version /d nt40 /f >/dev/null 2>&1
  env wine "$work/m/KestrupNT4.exe" >/dev/null 2>&1 &
  KESTRUP_PID=$!
  expect_eq "message" "The printer driver and/or utilities cannot be installed your Windows system." \
    "$(wd text "title=$TITLE" 65535)"
  wd press "title=$TITLE" 1
  expect_installer_ends
}

case_windows_2000_accepted() {
  make_medium "$work/m"
  mv "$work/m/Kestrup.exe" "$work/m/Kestrup2000.exe"
  wine reg add 'HKCU\Software\Wine\AppDefaults\Kestrup2000.exe' /v Version /d win2k /f >/dev/null 2>&1
  env wine "$work/m/Kestrup2000.exe" >/dev/null 2>&1 &
  KESTRUP_PID=$!
  wd wait "title=Printer Model" || fail "Windows 2000 (service pack 4) was refused"
  wd press "title=Printer Model" 2
  expect_installer_ends
}

case_second_copy_ends_and_raises_the_first() {
  make_medium "$work/m"
  start_installer "$work/m"
  local first=$KESTRUP_PID
  wd wait "title=Printer Model" || fail "no chooser"
  wine "$WINDOW_DRIVER" holdforeground "Someone else" 60000 &
  local holder=$!
  expect_foreground "other window" 'top=Someone else'
  start_installer "$work/m"
  expect_installer_ends
  KESTRUP_PID=$first
  expect_eq "other window still there" "1" "$(wd count 'top=Someone else')"
  installer_running || fail "the first copy ended"
  expect_eq "choosers shown" "1" "$(wd count 'title=Printer Model')"
  expect_eq "messages shown" "0" "$(wd count "title=$TITLE")"
  expect_eq "first copy's chooser in front" "yes" "$(wd foreground 'title=Printer Model')"
  wd press "title=Printer Model" 2
  expect_installer_ends
  kill "$holder" 2>/dev/null
  wait "$holder" 2>/dev/null
}

# While the first copy waits for its sub-installer it shows no window, and
# the user types into the sub-installer's windows or another program's: a
# second copy then leaves the foreground where it is.
case_second_copy_leaves_the_foreground_while_sub_installer_runs() {
  make_medium "$work/m"
  touch "$work/m/Res/KRU_x64.hold"
  start_installer "$work/m"
  local first=$KESTRUP_PID
  accept_both_dialogs
  expect_sub_installer_held "$work/m" x64
  wine "$WINDOW_DRIVER" holdforeground "Someone else" 60000 &
  local holder=$!
  expect_foreground "other window" 'top=Someone else'
  start_installer "$work/m"
  expect_installer_ends
  KESTRUP_PID=$first
  expect_eq "other window still in front" "yes" "$(wd foreground 'top=Someone else')"
  installer_running || fail "the first copy ended while its sub-installer ran"
  rm -f "$work/m/Res/KRU_x64.hold"
  expect_installer_ends
  kill "$holder" 2>/dev/null
  wait "$holder" 2>/dev/null
}

# A medium deeper than the platform's 260-unit path length. Every folder
# above it holds a medium of its own as a decoy: a path cut short on the
# way would lead to one of them. Wine refuses the deep medium (its setup.ini
# is not reachable), so the answer is message 10002; a system that reaches
# it must hand over the full paths.
case_deep_medium_path_is_never_cut() {
  local deep="$work"
  while [ ${#deep} -lt 300 ]; do
    deep+="/folder-of-a-deep-medium"
    make_medium "$deep"
  done
  start_installer "$deep"
  if wd wait "title=Printer Model"; then
    accept_both_dialogs
    expect_installer_ends
    local dir; dir=$(windows_path "$deep")
    expect_eq "command line" "\"$dir\\Res\\KRU_x64.exe\" \"$dir\\Drv\\ModelA\\dalmont.inf\"" \
      "$(recorded_command_line "$deep" x64)"
  else
    expect_eq "message" "The printer cannot be installed." "$(wd text "title=$TITLE" 65535)"
    wd press "title=$TITLE" 1
    expect_installer_ends
  fi
  expect_eq "decoy sub-installers started" "" \
    "$(find "$work" -name 'KRU_x64.txt' ! -path "$deep/Res/*")"
}

# A model folder whose name takes the INF path beyond MAX_PATH: the
# sub-installer, which may know no longer paths, gets the INF by its short
# names.
case_inf_beyond_max_path_goes_by_short_names() {
  local folder="Model folder whose name takes its INF path beyond MAX_PATH"
  make_deep_medium_on_d 22 "$folder=Test Model A"
  start_installer_at "$DEEP_MEDIUM_WIN"
  accept_both_dialogs
  expect_installer_ends
  local inf
  inf=$(sed -n 's/^argv\[1\]=//p' "$DEEP_MEDIUM/Res/KRU_x64.txt" 2>/dev/null | tr -d '\r')
  expect_eq "command line" "\"$DEEP_MEDIUM_WIN\\Res\\KRU_x64.exe\" \"$inf\"" \
    "$(recorded_command_line "$DEEP_MEDIUM" x64)"
  [ -n "$inf" ] && [ ${#inf} -lt 260 ] || fail "INF path of ${#inf} units handed over: [$inf]"
  expect_eq "file handed over" "$(readlink -f "$DEEP_MEDIUM/Drv/$folder/dalmont.inf")" \
    "$(readlink -f "$(wine winepath -u "$inf" 2>/dev/null | tr -d '\r')")"
  rm -f "$WINEPREFIX/dosdevices/d:"
}

# The INF path is beyond MAX_PATH and so is its short form: the installer
# says it cannot install rather than start the sub-installer without it.
case_inf_out_of_reach_is_refused() {
  make_deep_medium_on_d 26 "MODELDIR.ONE=Test Model A"
  start_installer_at "$DEEP_MEDIUM_WIN"
  expect_refused_after_both_dialogs "$DEEP_MEDIUM"
  rm -f "$WINEPREFIX/dosdevices/d:"
}

# The installer at the root of a drive: the sub-installer gets the paths
# with single backslashes.
case_medium_at_drive_root() {
  make_medium "$work/m"
  local drive="$WINEPREFIX/dosdevices/d:"
  rm -f "$drive"
  ln -s "$work/m" "$drive"
  env wine 'D:\Kestrup.exe' >/dev/null 2>&1 &
  KESTRUP_PID=$!
  accept_both_dialogs
  expect_installer_ends
  rm -f "$drive"
  expect_eq "command line" '"D:\Res\KRU_x64.exe" "D:\Drv\ModelA\dalmont.inf"' \
    "$(recorded_command_line "$work/m" x64)"
}

# A file that is no program cannot be started: the user, who has accepted
# the license, is told so.
case_sub_installer_is_not_a_program() {
  make_medium "$work/m"
  printf 'not a program\r\n' > "$work/m/Res/KRU_x64.exe"
  expect_message_after_both_dialogs
}

# A license the installer cannot open counts as a missing one: it is never
# accepted unseen.
case_license_cannot_be_opened() {
  make_medium "$work/m"
  local held="$work/held"
  wine "$WINDOW_DRIVER" holdfile "$(windows_path "$work/m/Res/EULA_EN.txt")" 20000 >"$held" 2>/dev/null &
  local holder=$!
  local i
  for i in $(seq 100); do grep -q held "$held" && break; sleep 0.1; done
  grep -q held "$held" || fail "the test could not hold the license file"
  start_installer "$work/m"
  expect_refused_after_chooser
  kill "$holder" 2>/dev/null
  wait "$holder" 2>/dev/null
}

# Setup programs broadcast WM_SETTINGCHANGE with SendMessage and wait for
# every top-level window, the installer's hidden frame too.
case_sub_installer_broadcasts_setting_change() {
  make_medium "$work/m"
  touch "$work/m/Res/KRU_x64.broadcast"
  start_installer "$work/m"
  accept_both_dialogs
  expect_installer_ends
  grep -q '^broadcast=answered' "$work/m/Res/KRU_x64.txt" 2>/dev/null ||
    fail "the sub-installer's broadcast was not answered"
}

# Another program closes the hidden frame while a dialog is open: the
# installer ends without starting anything and without a message.
expect_end_when_frame_closed_during() {  # DIALOG-TITLE
  make_medium "$work/m"
  start_installer "$work/m"
  [ "$1" = "Printer Model" ] || wd press "title=Printer Model" 1
  wd wait "title=$1" || fail "no dialog titled [$1]"
  wd postclose "top=$TITLE" || fail "no frame to close"
  expect_installer_ends
  expect_eq "messages shown" "0" "$(wd count "title=$TITLE")"
  [ ! -e "$work/m/Res/KRU_x64.txt" ] || fail "a sub-installer ran"
}

case_frame_closed_while_chooser_open() { expect_end_when_frame_closed_during "Printer Model"; }
case_frame_closed_while_license_open() { expect_end_when_frame_closed_during "License Agreement"; }
