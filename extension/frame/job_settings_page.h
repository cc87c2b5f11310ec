// The Job Settings page: password printing on or off, with user name, job
// name and a numeric password, kept in the extension's private block.
#pragma once

#include "ui_context.h"

// The dialog procedure of the page (dialog template 10000). At
// initialisation lParam is the page record whose lParam is the UiContext.
INT_PTR CALLBACK JobSettingsPageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Filters of the edit fields: the names accept a typed character only while
// the text takes at most 13 bytes in the ANSI code page, and cut pasted and
// other inserted text to what keeps the name within 14 bytes; the password
// accepts digits and backspace only, typed or pasted.
LRESULT CALLBACK NameEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PasswordEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// True when the entries may be stored; otherwise the user has been warned.
bool ValidateJobSettings(HWND page, const UiContext* context);

// Enables the fields and their labels while password printing is on.
void UpdateJobSettingsControls(HWND page);
