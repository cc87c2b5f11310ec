// Test support: PPD text fed from memory, fixtures from disk, and texts
// turned into printable strings for failure messages.
#pragma once

#include <string>

#include "ppd_model.h"
#include "ppd_tokenizer.h"

// Bytes served one at a time, as the file's read function serves them.
struct MemoryBytes {
  std::string bytes;
  size_t position = 0;
  static int Read(void* handle);
};

enum class ByteFeed { kMemory, kFileInBlocks };

// A source over `bytes`, with its own token buffer: served from memory one
// byte at a time, or written to a file that is then read in blocks of
// `blockBytes` as the model build reads a PPD file (0: byte by byte through
// ReadPpdFileByte).
struct TokenReader {
  explicit TokenReader(std::string text, size_t capacity = kPpdTokenCapacity,
                       ByteFeed feed = ByteFeed::kMemory, size_t blockBytes = kPpdBlockBytes);
  ~TokenReader();
  TokenReader(const TokenReader&) = delete;
  TokenReader& operator=(const TokenReader&) = delete;
  std::string Next(bool bBlanksAllowed = false);  // "<end>" at the end of input
  bool lineBreakBefore = false;

  MemoryBytes memory;
  FILE* file = nullptr;
  PpdByteSource source;
  std::u16string buffer;
};

PpdModel* BuildModelFromText(const std::string& text);
PpdModel* BuildModelFromFixture(const char* name);
std::string FixturePath(const char* name);

// A scratch file of this process: test programs run side by side, and a
// shared name lets one read what another just wrote.
std::string ScratchPath(const char* name);

// UTF-8 of a decoded text (for readable failure messages).
std::string Utf8(const char16_t* text);
std::string Utf8(const PpdText& text);

// A decoded text from ASCII, for passing keywords to the model.
std::u16string U16(const std::string& ascii);
