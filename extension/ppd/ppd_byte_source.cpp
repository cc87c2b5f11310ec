#include "ppd_byte_source.h"

#ifdef _WIN32

int ReadPpdFileByte(void* file) {
  if (file == nullptr) return -1;
  return std::fgetc(static_cast<FILE*>(file));
}

FILE* OpenPpdFile(const char* path) { return std::fopen(path, "r"); }

#else

int ReadPpdFileByte(void* file) {
  if (file == nullptr) return -1;
  // The model is built on one thread; the unlocked read keeps the per-byte
  // cost down to what the Windows runtime's fgetc costs.
  FILE* stream = static_cast<FILE*>(file);
  const int c = getc_unlocked(stream);
  if (c == 0x1A) {
    // Put it back so every later read meets it again and ends there too.
    std::ungetc(c, stream);
    return -1;
  }
  if (c != '\r') return c;
  const int next = getc_unlocked(stream);
  if (next == '\n') return '\n';
  if (next != EOF) std::ungetc(next, stream);
  return '\r';
}

FILE* OpenPpdFile(const char* path) { return std::fopen(path, "rb"); }

#endif
