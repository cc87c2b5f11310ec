// The Layout page's answers to the user's changes, and what goes to the
// driver when the page is left or applied.
#pragma once

#include <windows.h>

#include "ui_context.h"

// WM_COMMAND handlers; each returns the dialog procedure's result.
INT_PTR OnSelectionChange(HWND page, const UiContext* context, int control);
INT_PTR OnClick(HWND page, const UiContext* context, int control);

// PSN_APPLY and PSN_KILLACTIVE: changed orientation and two-sided items
// go to the driver.
void ReportChangedItems(const UiContext* context);
