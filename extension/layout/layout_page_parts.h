// The pieces of the Layout page's dialog procedure, one file each: the
// refresh from the driver's items, the user's changes, and the preview.
#pragma once

#include <windows.h>

#include "ui_context.h"

// Process-wide, shared by every Layout page (full variant only), clear when
// the library loads. Defaulted: the page has turned borders on since pages
// per sheet last went to 1. Settled: the refresh's pages-per-sheet step has
// decided the borders box, so the binding-edge step leaves it alone.
extern bool g_bordersDefaulted;
extern bool g_bordersSettled;

void RefreshFromItems(HWND page, const UiContext* context);

// WM_COMMAND handlers; each returns the dialog procedure's result.
INT_PTR OnSelectionChange(HWND page, const UiContext* context, int control);
INT_PTR OnClick(HWND page, const UiContext* context, int control);

// PSN_APPLY and PSN_KILLACTIVE: changed orientation and two-sided items
// go to the driver.
void ReportChangedItems(const UiContext* context);

// Draws the preview into the page's frame for one WM_PAINT. The first
// paint makes the page's store of pictures, which stays until
// ReleaseLayoutPreview (WM_DESTROY).
void PaintLayoutPreview(HWND page, const OEMCUIPPARAM* param);
// Asks for a repaint of the preview alone.
void InvalidateLayoutPreview(HWND page);
void ReleaseLayoutPreview(HWND page);
