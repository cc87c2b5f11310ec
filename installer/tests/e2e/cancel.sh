# Every way of not going on ends the installer without a message and
# without starting anything.

expect_quiet_end() {
  expect_installer_ends
  expect_eq "messages shown" "0" "$(wd count "title=$TITLE")"
  [ ! -e "$work/m/Res/KRU_x64.txt" ] || fail "a sub-installer ran"
}

case_chooser_cancel() {
  make_medium "$work/m"; start_installer "$work/m"
  wd press "title=Printer Model" 2 || fail "no chooser"
  expect_quiet_end
}

case_chooser_escape() {
  make_medium "$work/m"; start_installer "$work/m"
  wd key "title=Printer Model" 1004 27 || fail "no chooser"
  expect_quiet_end
}

case_chooser_close_box() {
  make_medium "$work/m"; start_installer "$work/m"
  wd close "title=Printer Model" || fail "no chooser"
  expect_quiet_end
}

case_license_decline() {
  make_medium "$work/m"; start_installer "$work/m"
  wd press "title=Printer Model" 1
  expect_eq "decline button" "Decline" "$(wd text 'title=License Agreement' 2)"
  wd press "title=License Agreement" 2 || fail "no license dialog"
  expect_quiet_end
}

case_license_escape() {
  make_medium "$work/m"; start_installer "$work/m"
  wd press "title=Printer Model" 1
  wd key "title=License Agreement" 1000 27 || fail "no license dialog"
  expect_quiet_end
}

case_license_close_box() {
  make_medium "$work/m"; start_installer "$work/m"
  wd press "title=Printer Model" 1
  wd close "title=License Agreement" || fail "no license dialog"
  expect_quiet_end
}
