// Installing the Job Settings page's edit-field filters, and what both
// filters share.
#pragma once

#include <windows.h>

#include <cstddef>

// Takes the Edit class procedure from an unfiltered field of a new page.
void RememberEditClassProc(HWND editField);

// Puts `filter` in front of the field's own procedure.
void InstallEditFilter(HWND editField, WNDPROC filter);

// Hands a message to the Edit class procedure, as a filter lets it through.
LRESULT PassToEditClass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Copies the clipboard's text into `text`, terminated: the units that
// `keep` accepts (all of them without it), up to the text's terminator, the
// end of its memory block or `capacity` - 1 units. Returns the units
// copied; 0 when the clipboard holds no text.
size_t ReadClipboardText(HWND owner, bool (*keep)(WCHAR), WCHAR* text, size_t capacity);
