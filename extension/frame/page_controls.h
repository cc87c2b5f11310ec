// The controls of the plug-in's pages, looked up once a page. Wine finds a
// dialog's control by asking its server for all the page's children at
// every GetDlgItem (and so at every SendDlgItemMessage, CheckDlgButton and
// GetDlgItemText), which made each change on a page cost dozens of round
// trips; a page's controls live as long as the page, so each is looked up
// once and kept.
#pragma once

#include <windows.h>

// The child window of `page` with id `control`, or null when it has none.
HWND PageControl(HWND page, int control);

// SendDlgItemMessageW through the kept handle: 0 when there is no such
// control.
LRESULT SendToControl(HWND page, int control, UINT message, WPARAM wParam, LPARAM lParam);

// CheckDlgButton, IsDlgButtonChecked, SetDlgItemTextW and GetDlgItemTextW
// through the kept handle. ControlText always terminates `text` (when
// `units` is at least 1) and gives the length read.
void CheckControl(HWND page, int control, UINT state);
UINT ControlCheckState(HWND page, int control);
void SetControlText(HWND page, int control, const WCHAR* text);
int ControlText(HWND page, int control, WCHAR* text, int units);

// The page's handles go (at its WM_DESTROY): a later window with its
// handle starts afresh.
void ForgetPageControls(HWND page);
