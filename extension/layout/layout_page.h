// The Layout page of the document settings: orientation, two-sided
// printing, page order, pages per sheet with their arrangement, booklet
// with its binding edge and page borders, beside a live preview. The page
// edits the driver's own settings items (the OPTITEM array of the latest
// CommonUIProp) and keeps nothing of its own but its image list; the
// UiContext it gets through its page record belongs to the plug-in object.
#pragma once

#include <windows.h>

INT_PTR CALLBACK LayoutPageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
