// Installing the Job Settings page's edit-field filters.
#pragma once

#include <windows.h>

// Takes the Edit class procedure from an unfiltered field of a new page.
void RememberEditClassProc(HWND editField);

// Puts `filter` in front of the field's own procedure.
void InstallEditFilter(HWND editField, WNDPROC filter);
