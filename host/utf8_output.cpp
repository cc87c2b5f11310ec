#include "utf8_output.h"

#include <windows.h>

#include <cstdarg>
#include <cwchar>
#include <vector>

void PrintLine(const std::wstring& text, FILE* stream) {
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                          nullptr, nullptr);
  std::vector<char> utf8(size > 0 ? size : 0);
  if (size > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), size,
                        nullptr, nullptr);
  fwrite(utf8.data(), 1, utf8.size(), stream);
  fputc('\n', stream);
  fflush(stream);
}

std::wstring Format(const wchar_t* format, ...) {
  wchar_t buffer[2048];
  va_list arguments;
  va_start(arguments, format);
  const int length = _vsnwprintf(buffer, 2047, format, arguments);
  va_end(arguments);
  buffer[2047] = 0;
  return length >= 0 ? std::wstring(buffer) : std::wstring(buffer, 2047);
}
