// The reader's view of the PPD file: one byte at a time through a read
// function, with one byte of look-ahead.
#pragma once

#include <cstddef>
#include <cstdio>

#include "ppd_text.h"

// Returns the next byte (0-255) of `handle`, or -1 at the end of input.
using PpdReadFunction = int (*)(void* handle);

constexpr size_t kPpdBlockBytes = 65536;

class PpdByteSource : public PpdObject {
 public:
  PpdByteSource(PpdReadFunction read, void* handle)
      : readFunction(read), sourceHandle(handle) {}
  PpdByteSource(const PpdByteSource&) = delete;
  PpdByteSource& operator=(const PpdByteSource&) = delete;
  ~PpdByteSource() override;

  PpdReadFunction readFunction;
  int32_t lookAhead = -1;
  void* sourceHandle;
  // Set when the byte that ended the last word token was a line break, so
  // the tokenizer can tell the next caller that a new line began.
  bool bLineEndedLastToken = true;  // the input begins on a new line
  // Over ReadPpdFileByte the file is taken in blocks of the very bytes that
  // function would give: the unread bytes of the block are
  // [blockNext, blockEnd). Null `block` reads byte by byte. Tests and the
  // fuzz target set a small block size to put every boundary in reach.
  size_t blockBytes = kPpdBlockBytes;
  unsigned char* block = nullptr;  // owned
  const unsigned char* blockNext = nullptr;
  const unsigned char* blockEnd = nullptr;
  bool bBlockInputEnded = false;
};

// Switches a source over ReadPpdFileByte to block reads of its block size;
// any other source, one with a block size of 0, or one whose block cannot be
// allocated, stays byte by byte. A stream taken in blocks is put in binary
// mode and must be read through the source alone from then on.
void TakePpdFileInBlocks(PpdByteSource* source);

// The next byte of a block source after its block is used up, or -1.
int RefillPpdBlock(PpdByteSource* source);

inline int NextRawPpdByte(PpdByteSource* source) {
  if (source->blockNext != source->blockEnd) return *source->blockNext++;
  if (source->block != nullptr) return RefillPpdBlock(source);
  return source->readFunction == nullptr ? -1 : source->readFunction(source->sourceHandle);
}

// Every byte of the file passes through these two, so they are inline.
inline int PeekPpdByte(PpdByteSource* source) {
  if (source->lookAhead == -1) {
    const int c = NextRawPpdByte(source);
    // Only bytes are held; anything else a read function returns is the end.
    source->lookAhead = (c >= 0 && c <= 255) ? c : -1;
  }
  return source->lookAhead;
}

inline int GetPpdByte(PpdByteSource* source) {
  const int c = PeekPpdByte(source);
  source->lookAhead = -1;
  return c;
}

// The read function the extension uses over an open FILE stream. Windows
// opens the file in text mode; elsewhere the file is opened in binary mode
// and this function gives the same bytes as Windows' text mode would: a CR LF
// pair arrives as LF, and byte 0x1A ends the input.
int ReadPpdFileByte(void* file);

// Opens a PPD for ReadPpdFileByte (text mode on Windows); null on failure.
FILE* OpenPpdFile(const char* path);
