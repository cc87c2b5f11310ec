#include "ppd_byte_source.h"

#include <cstdint>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "ppd_allocation.h"

namespace {

#ifdef _WIN32

// Wine's runtime translates text mode in its low-level read one byte at a
// time, which costs more than the rest of the read; block reads take the file
// in binary mode and translate here instead.
void TakeFileInBinaryMode(FILE* file) { _setmode(_fileno(file), _O_BINARY); }

int NextFileByte(FILE* file) { return std::fgetc(file); }

#else

void TakeFileInBinaryMode(FILE*) {}  // opened in binary mode already

int NextFileByte(FILE* file) { return getc_unlocked(file); }

#endif

// Where the first CR or 0x1A of [p, end) stands, or end: eight bytes at a
// time, as neither Wine's memchr nor a plain loop is quick about it.
const unsigned char* FindTextModeByte(const unsigned char* p, const unsigned char* end) {
  constexpr uint64_t kOnes = 0x0101010101010101u;
  constexpr uint64_t kHighs = 0x8080808080808080u;
  while (end - p >= 8) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    const uint64_t cr = word ^ (kOnes * '\r');
    const uint64_t sub = word ^ (kOnes * 0x1A);
    // Nonzero exactly when one of the eight bytes is CR or 0x1A.
    if ((((cr - kOnes) & ~cr) | ((sub - kOnes) & ~sub)) & kHighs) break;
    p += sizeof word;
  }
  while (p != end && *p != '\r' && *p != 0x1A) ++p;
  return p;
}

// Text mode by hand, as ReadPpdFileByte does it byte by byte: CR LF becomes
// LF (a CR at the end of the block looks at the next byte of the file), and
// 0x1A ends the input for good.
size_t FillBlock(FILE* file, unsigned char* block, size_t size, bool* ended) {
  const size_t count = std::fread(block, 1, size, file);
  if (count == 0) *ended = true;
  // Most files have neither byte: the block then stands as it was read, and
  // in any block the bytes before the first of them do.
  const size_t first = static_cast<size_t>(FindTextModeByte(block, block + count) - block);
  if (first == count) return count;
  size_t kept = first;
  for (size_t i = first; i < count; ++i) {
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
        const int next = NextFileByte(file);
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

}  // namespace

PpdByteSource::~PpdByteSource() { PpdFree(block); }

void TakePpdFileInBlocks(PpdByteSource* source) {
  if (source->readFunction != ReadPpdFileByte || source->sourceHandle == nullptr ||
      source->block != nullptr || source->blockBytes == 0) {
    return;
  }
  source->block = static_cast<unsigned char*>(PpdMalloc(source->blockBytes));
  source->blockNext = source->blockEnd = source->block;
  if (source->block != nullptr) TakeFileInBinaryMode(static_cast<FILE*>(source->sourceHandle));
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
