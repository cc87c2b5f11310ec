// Saves what a window shows on the screen as a 24-bit bitmap file.
#pragma once

#include <windows.h>

#include <string>

bool SaveWindowBitmap(HWND window, const std::wstring& path);
