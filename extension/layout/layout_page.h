// The Layout page of the document settings.
#pragma once

#include <windows.h>

INT_PTR CALLBACK LayoutPageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
