#include "ppd_byte_source.h"

#include <cstring>

#include "ppd_allocation.h"

namespace {

#ifdef _WIN32

// The runtime's text mode translates the block as it does each fgetc.
size_t FillBlock(FILE* file, unsigned char* block, size_t size, bool* ended) {
  const size_t count = std::fread(block, 1, size, file);
  if (count == 0) *ended = true;
  return count;
}

#else

// Text mode by hand, as ReadPpdFileByte does it byte by byte: CR LF becomes
// LF (a CR at the end of the block looks at the next byte of the file), and
// 0x1A ends the input for good.
size_t FillBlock(FILE* file, unsigned char* block, size_t size, bool* ended) {
  const size_t count = std::fread(block, 1, size, file);
  if (count == 0) *ended = true;
  // Most files have neither byte: the block then stands as it was read.
  const void* cr = std::memchr(block, '\r', count);
  const void* sub = std::memchr(block, 0x1A, count);
  if (cr == nullptr && sub == nullptr) return count;
  size_t kept = 0;
  for (size_t i = 0; i < count; ++i) {
    unsigned char c = block[i];
    if (c == 0x1A) {
      *ended = true;
      break;
    }
    if (c == '\r') {
      if (i + 1 < count) {
        if (block[i + 1] == '\n') {
          c = '\n';
          ++i;
        }
      } else {
        const int next = getc_unlocked(file);
        if (next == '\n') {
          c = '\n';
        } else if (next != EOF) {
          std::ungetc(next, file);
        }
      }
    }
    block[kept++] = c;
  }
  return kept;
}

#endif

}  // namespace

PpdByteSource::~PpdByteSource() { PpdFree(block); }

void TakePpdFileInBlocks(PpdByteSource* source) {
  if (source->readFunction != ReadPpdFileByte || source->sourceHandle == nullptr ||
      source->block != nullptr || source->blockBytes == 0) {
    return;
  }
  source->block = static_cast<unsigned char*>(PpdMalloc(source->blockBytes));
  source->blockNext = source->blockEnd = source->block;
}

int RefillPpdBlock(PpdByteSource* source) {
  while (!source->bBlockInputEnded) {
    const size_t count = FillBlock(static_cast<FILE*>(source->sourceHandle), source->block,
                                   source->blockBytes, &source->bBlockInputEnded);
    source->blockNext = source->block;
    source->blockEnd = source->block + count;
    if (count > 0) return *source->blockNext++;
  }
  return -1;
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
