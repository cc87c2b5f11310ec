# On 32-bit Windows the installer starts KRU_x86.exe. The case runs in a
# 32-bit prefix of its own, made by scripts/with-wine.sh --win32.

case_x86_sub_installer_on_32_bit_windows() {
  local repo; repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
  make_medium "$work/m"
  env -u WINEPREFIX -u WINEARCH -u DISPLAY "$repo/scripts/with-wine.sh" --win32 bash -c '
    source "$1/lib.sh"
    rm -rf "$work"
    work=$2
    start_installer "$work/m"
    accept_both_dialogs
    expect_installer_ends
    trap - EXIT
    exit $failures' _ "$(dirname "${BASH_SOURCE[0]}")" "$work" || fail "the run in the 32-bit prefix failed"
  local dir="Z:${work//\//\\}\\m"
  expect_eq "command line" "\"$dir\\Res\\KRU_x86.exe\" \"$dir\\Drv\\ModelA\\dalmont.inf\"" \
    "$(recorded_command_line "$work/m" x86)"
  [ ! -e "$work/m/Res/KRU_x64.txt" ] || fail "the 64-bit sub-installer ran on a 32-bit prefix"
}
