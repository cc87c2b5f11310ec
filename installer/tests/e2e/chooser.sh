# The model chooser: what it shows, how clicks and keys choose, what OK
# hands on.

CHOOSER="title=Printer Model"

case_opens_centred_with_first_model_selected() {
  make_medium "$work/m" "A=One" "B=Two" "C=Three"
  start_installer "$work/m"
  expect_eq "list" "count=3 selected=0 focused=0" "$(wd list "$CHOOSER" 1004)"
  expect_eq "list has the focus" "yes" "$(wd hasfocus "$CHOOSER" 1004)"
  expect_eq "version line" "Version:3.1.4" "$(wd text "$CHOOSER" 1005)"
  expect_eq "OK button" "OK" "$(wd text "$CHOOSER" 1)"
  expect_eq "Cancel button" "Cancel" "$(wd text "$CHOOSER" 2)"
  # Display names in catalogue (listing) order, which is not their own order.
  expect_eq "item texts" "One|Two|Three" "$(wd items "$CHOOSER" 1004 | paste -sd '|')"
  local l t r b
  read -r l t r b <<<"$(wd rect "$CHOOSER")"
  local dx=$(( (l + r) - 1024 )) dy=$(( (t + b) - 768 ))
  [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] || fail "chooser not centred: $l $t $r $b"
  wd press "$CHOOSER" 2
  expect_installer_ends
}

case_version_defaults_when_missing() {
  make_medium "$work/m"
  printf '[Packages]\r\nModelA=Test Model A\r\n' > "$work/m/Res/setup.ini"
  start_installer "$work/m"
  expect_eq "version line" "Version:1.0.0" "$(wd text "$CHOOSER" 1005)"
  wd press "$CHOOSER" 2
  expect_installer_ends
}

case_click_into_empty_space_restores_last_clicked() {
  make_medium "$work/m" "A=One" "B=Two" "C=Three"
  start_installer "$work/m"
  wd clickempty "$CHOOSER" 1004
  expect_eq "after empty click, nothing clicked before" "count=3 selected=0 focused=0" \
    "$(wd list "$CHOOSER" 1004)"
  wd clickitem "$CHOOSER" 1004 2
  expect_eq "after clicking item 2" "count=3 selected=2 focused=2" "$(wd list "$CHOOSER" 1004)"
  wd key "$CHOOSER" 1004 37   # left arrow: moves the selection, not the last click
  expect_eq "after the arrow key" "count=3 selected=1 focused=1" "$(wd list "$CHOOSER" 1004)"
  wd clickempty "$CHOOSER" 1004
  expect_eq "after empty click" "count=3 selected=2 focused=2" "$(wd list "$CHOOSER" 1004)"
  wd press "$CHOOSER" 1
  wd press "title=License Agreement" 1
  expect_installer_ends
  expect_match "chosen model" 'Drv\\C\\dalmont.inf"$' "$(recorded_command_line "$work/m" x64)"
}

case_double_click_keeps_dialog_open() {
  make_medium "$work/m"
  start_installer "$work/m"
  wd dblclickitem "$CHOOSER" 1004 1
  sleep 0.5
  expect_eq "chooser still open" "1" "$(wd count "$CHOOSER")"
  expect_eq "license dialogs" "0" "$(wd count 'title=License Agreement')"
  expect_eq "list" "count=2 selected=1 focused=1" "$(wd list "$CHOOSER" 1004)"
  wd press "$CHOOSER" 2
  expect_installer_ends
}

case_enter_accepts_the_selected_model() {
  make_medium "$work/m"
  start_installer "$work/m"
  wd key "$CHOOSER" 1004 39   # right arrow: model B
  wd key "$CHOOSER" 1004 13
  wd press "title=License Agreement" 1 || fail "Enter did not accept the chooser"
  expect_installer_ends
  expect_match "chosen model" 'Drv\\ModelB\\dalmont.inf"$' "$(recorded_command_line "$work/m" x64)"
}

# Ctrl+click on the selected model can leave nothing selected on Windows
# (Wine's single-selection list keeps it, so the driver clears it); OK then
# keeps the dialog open with the last clicked model selected again.
case_ok_without_selection_keeps_dialog_open() {
  make_medium "$work/m"
  start_installer "$work/m"
  wd clickitem "$CHOOSER" 1004 1
  wd deselect "$CHOOSER" 1004 || fail "could not clear the selection"
  expect_match "no selection" "selected=-1" "$(wd list "$CHOOSER" 1004)"
  wd press "$CHOOSER" 1
  sleep 0.5
  expect_eq "chooser still open" "1" "$(wd count "$CHOOSER")"
  expect_match "last clicked model selected again" "selected=1" "$(wd list "$CHOOSER" 1004)"
  wd press "$CHOOSER" 1
  wd press "title=License Agreement" 1
  expect_installer_ends
  expect_match "chosen model" 'Drv\\ModelB\\dalmont.inf"$' "$(recorded_command_line "$work/m" x64)"
}

case_license_dialog_takes_the_chooser_rectangle() {
  make_medium "$work/m"
  start_installer "$work/m"
  wd move "$CHOOSER" 40 30
  local chooser_rect; chooser_rect=$(wd rect "$CHOOSER")
  expect_match "chooser moved" "^40 30 " "$chooser_rect"
  wd press "$CHOOSER" 1
  expect_eq "license dialog rectangle" "$chooser_rect" "$(wd rect 'title=License Agreement')"
  wd press "title=License Agreement" 2
  expect_installer_ends
}

# "version" is read into 32 units: a longer text shows its first 31
# characters, and nothing after them.
case_long_version_is_cut() {
  make_medium "$work/m"
  printf '[Info]\r\nversion=1.2.3-build.20261209.abcdefghijklmnopqrstuvwxyz\r\n[Packages]\r\nModelA=Test Model A\r\n' \
    > "$work/m/Res/setup.ini"
  start_installer "$work/m"
  expect_eq "version line" "Version:1.2.3-build.20261209.abcdefghij" "$(wd text "$CHOOSER" 1005)"
  wd press "$CHOOSER" 2
  expect_installer_ends
}
