#include "ppd_file_bytes.h"

#include <cstdio>

bool ReadPpdFileBytes(const std::wstring& path, std::vector<char>* bytes) {
  bytes->clear();
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (file == nullptr) return false;
  char block[65536];
  size_t count;
  while ((count = std::fread(block, 1, sizeof block, file)) > 0)
    bytes->insert(bytes->end(), block, block + count);
  const bool read = std::ferror(file) == 0;
  std::fclose(file);
  return read;
}
