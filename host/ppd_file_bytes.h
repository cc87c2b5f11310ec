// The printer's PPD as the host's constraint reader takes it: the file's
// bytes in one piece.
#pragma once

#include <string>
#include <vector>

// The file's bytes; false when it cannot be read.
bool ReadPpdFileBytes(const std::wstring& path, std::vector<char>* bytes);
