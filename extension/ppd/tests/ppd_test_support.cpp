#include "ppd_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

int MemoryBytes::Read(void* handle) {
  MemoryBytes* self = static_cast<MemoryBytes*>(handle);
  if (self->position >= self->bytes.size()) return -1;
  return static_cast<unsigned char>(self->bytes[self->position++]);
}

namespace {

const std::string& BlockFeedPath() {
  static const std::string path = ScratchPath("token_reader_blocks.ppd");
  return path;
}

FILE* FileHolding(const std::string& text) {
  FILE* out = std::fopen(BlockFeedPath().c_str(), "wb");
  if (out == nullptr) return nullptr;
  std::fwrite(text.data(), 1, text.size(), out);
  std::fclose(out);
  return OpenPpdFile(BlockFeedPath().c_str());
}

}  // namespace

TokenReader::TokenReader(std::string text, size_t capacity, ByteFeed feed, size_t blockBytes)
    : memory{std::move(text), 0},
      file(feed == ByteFeed::kFileInBlocks ? FileHolding(memory.bytes) : nullptr),
      source(feed == ByteFeed::kFileInBlocks ? ReadPpdFileByte : MemoryBytes::Read,
             feed == ByteFeed::kFileInBlocks ? static_cast<void*>(file) : &memory),
      buffer(capacity, u'\xFFFF') {
  source.blockBytes = blockBytes;
  if (feed == ByteFeed::kFileInBlocks) TakePpdFileInBlocks(&source);
}

TokenReader::~TokenReader() {
  if (file != nullptr) {
    std::fclose(file);
    std::remove(BlockFeedPath().c_str());
  }
}

std::string TokenReader::Next(bool bBlanksAllowed) {
  size_t length = 12345;
  if (!NextPpdToken(&source, &buffer[0], buffer.size(), &length, bBlanksAllowed, &lineBreakBefore)) {
    return length == 0 && buffer[0] == 0 ? "<end>" : "<end with junk>";
  }
  std::string token;
  for (size_t i = 0; i < length; ++i) token += static_cast<char>(buffer[i] & 0xFF);
  if (buffer[length] != 0) token += "<unterminated>";
  return token;
}

PpdModel* BuildModelFromText(const std::string& text) {
  MemoryBytes memory{text, 0};
  return BuildPpdModel(MemoryBytes::Read, &memory);
}

std::string FixturePath(const char* name) { return std::string(PPD_FIXTURE_DIR "/") + name; }

std::string ScratchPath(const char* name) {
  return testing::TempDir() + std::to_string(getpid()) + "_" + name;
}

PpdModel* BuildModelFromFixture(const char* name) {
  FILE* file = OpenPpdFile(FixturePath(name).c_str());
  if (file == nullptr) return nullptr;
  PpdModel* model = BuildPpdModel(ReadPpdFileByte, file);
  std::fclose(file);
  return model;
}

std::string Utf8(const char16_t* text) {
  std::string out;
  for (; text != nullptr && *text != 0; ++text) {
    const char16_t c = *text;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string Utf8(const PpdText& text) { return Utf8(text.characters); }

std::u16string U16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }
