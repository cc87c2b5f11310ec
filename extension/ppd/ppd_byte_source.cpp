#include "ppd_byte_source.h"

int PeekPpdByte(PpdByteSource* source) {
  if (source->lookAhead == -1) {
    const int c = source->readFunction == nullptr ? -1 : source->readFunction(source->sourceHandle);
    // Only bytes are held; anything else a read function returns is the end.
    source->lookAhead = (c >= 0 && c <= 255) ? c : -1;
  }
  return source->lookAhead;
}

int GetPpdByte(PpdByteSource* source) {
  const int c = PeekPpdByte(source);
  source->lookAhead = -1;
  return c;
}

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
