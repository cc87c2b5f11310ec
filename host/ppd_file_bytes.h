// The host reads the printer's PPD once an opening, into memory: its model
// and its constraints are both made from that copy, as the driver keeps
// one parsed copy of the file.
#pragma once

#include <string>
#include <vector>

// The file's bytes; false when it cannot be read.
bool ReadPpdFileBytes(const std::wstring& path, std::vector<char>* bytes);

// A read function over bytes in memory for BuildPpdModel, giving what a
// text-mode read of the file gives on Windows: CR LF arrives as LF, and
// byte 0x1A ends the input.
struct PpdMemoryCursor {
  const char* next;
  const char* end;
};
int ReadPpdMemoryByte(void* cursor);
