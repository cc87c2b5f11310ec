// The host's output is UTF-8 whatever the console's code page, so that
// reports in any language read the same in a terminal, a file or a test.
#pragma once

#include <cstdio>
#include <string>

// Writes `text` and a line end to `stream` as UTF-8.
void PrintLine(const std::wstring& text, FILE* stream = stdout);

// printf-style formatting into a wide string.
std::wstring Format(const wchar_t* format, ...);
