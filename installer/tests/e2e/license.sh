# The license dialog's text box: what it shows of the file, and how.

LICENSE="title=License Agreement"

# write_license FILE PRINTF-FORMAT: the text as UTF-16LE, without a mark.
utf16() { printf "$2" | iconv -f UTF-8 -t UTF-16LE > "$1"; }

show_license() {
  start_installer "$work/m"
  wd press "title=Printer Model" 1 || fail "no chooser"
  wd wait "$LICENSE" || fail "no license dialog"
}

accept_license() {
  wd press "$LICENSE" 1
  expect_installer_ends
  [ -e "$work/m/Res/KRU_x64.txt" ] || fail "accepting did not start the sub-installer"
}

case_byte_order_mark_is_skipped() {
  make_medium "$work/m"
  { printf '\xff\xfe'; printf 'First line\r\nSecond line\r\n' | iconv -f UTF-8 -t UTF-16LE; } \
    > "$work/m/Res/EULA_EN.txt"
  show_license
  expect_eq "text" 'First line\r\nSecond line\r\n' "$(wd rawtext "$LICENSE" 1000)"
  accept_license
}

case_text_without_mark_shows_from_first_byte() {
  make_medium "$work/m"
  utf16 "$work/m/Res/EULA_EN.txt" 'No mark here\r\nEnd\r\n'
  show_license
  expect_eq "text" 'No mark here\r\nEnd\r\n' "$(wd rawtext "$LICENSE" 1000)"
  accept_license
}

case_empty_file_and_mark_only() {
  make_medium "$work/m"
  : > "$work/m/Res/EULA_EN.txt"
  show_license
  expect_eq "empty file" "" "$(wd rawtext "$LICENSE" 1000)"
  accept_license
  rm -f "$work/m/Res/KRU_x64.txt"
  printf '\xff\xfe' > "$work/m/Res/EULA_EN.txt"
  show_license
  expect_eq "mark only" "" "$(wd rawtext "$LICENSE" 1000)"
  accept_license
}

case_long_line_is_read_whole() {
  make_medium "$work/m"
  local line; line=$(printf 'word%.0s ' $(seq 60))   # 300 characters
  utf16 "$work/m/Res/EULA_EN.txt" "${line}\r\nafter\r\n"
  show_license
  expect_eq "text" "${line}\\r\\nafter\\r\\n" "$(wd rawtext "$LICENSE" 1000)"
  accept_license
}

case_text_box_is_read_only_at_the_top_with_focus() {
  make_medium "$work/m"
  local text=""
  for i in $(seq 200); do text+="License line $i\r\n"; done
  utf16 "$work/m/Res/EULA_EN.txt" "$text"
  show_license
  expect_eq "text box state" "readonly=1 multiline=1 vscroll=1 hscroll=0 firstline=0 sel=0,0" \
    "$(wd edit "$LICENSE" 1000)"
  expect_eq "text box has the focus" "yes" "$(wd hasfocus "$LICENSE" 1000)"
  expect_match "last line present" 'License line 200\\r\\n$' "$(wd rawtext "$LICENSE" 1000)"
  expect_match "instruction" "^Please read the following License Agreement" "$(wd text "$LICENSE" 1001)"
  expect_eq "accept button" "Accept" "$(wd text "$LICENSE" 1)"
  accept_license
}

# More than the 30,000 characters an edit control takes by default: the
# whole text is there, and its last line comes into view at the end.
case_license_beyond_the_edit_limit() {
  make_medium "$work/m"
  local text="" line i
  for i in $(seq 1500); do
    printf -v line 'License line %04d of the long text\\r\\n' "$i"
    text+=$line
  done
  utf16 "$work/m/Res/EULA_EN.txt" "$text"
  show_license
  # 1500 lines of 34 characters and CR LF.
  expect_eq "text box at its end" "length=54000 lastline-visible=yes" \
    "$(wd editend "$LICENSE" 1000)"
  local shown; shown=$(wd rawtext "$LICENSE" 1000)
  expect_eq "end of the text" 'License line 1500 of the long text\r\n' "${shown: -38}"
  accept_license
}
