#include "ppd_tokenizer.h"

namespace {

bool IsBlank(int c) {
  return c == 0x00 || c == 0x09 || c == 0x0A || c == 0x0C || c == 0x0D || c == 0x20;
}

bool IsLineBreak(int c) { return c == 0x0A || c == 0x0D; }

bool IsDelimiter(int c) { return c == 0x22 || c == 0x3A; }

constexpr int kLineEnded = -2;

// Skips blanks and comments; returns the first byte of a token, or -1. With
// `bStopAtLineBreak` it returns kLineEnded instead once a line break has been
// passed, leaving the next line unread.
int SkipToTokenStart(PpdByteSource* source, bool* lineBreak, bool bStopAtLineBreak) {
  bool inComment = false;
  for (;;) {
    if (bStopAtLineBreak && *lineBreak) return kLineEnded;
    const int c = GetPpdByte(source);
    if (c == -1) return -1;
    if (inComment) {
      if (IsLineBreak(c)) {
        inComment = false;
        *lineBreak = true;
      }
      continue;
    }
    if (c == '*' && PeekPpdByte(source) == '%') {
      GetPpdByte(source);
      inComment = true;
    } else if (c == '%') {
      inComment = true;
    } else if (IsBlank(c)) {
      if (IsLineBreak(c)) *lineBreak = true;
    } else {
      return c;
    }
  }
}

void ReadQuoted(PpdByteSource* source, char16_t* buffer, size_t limit, size_t* length) {
  for (;;) {
    const int c = GetPpdByte(source);
    if (c == -1 || c == '"') return;
    if (*length == limit) return;  // the byte that found the buffer full is dropped
    buffer[(*length)++] = static_cast<char16_t>(c);
  }
}

void ReadWord(PpdByteSource* source, char16_t* buffer, size_t limit, size_t* length,
              bool bBlanksAllowed) {
  for (;;) {
    const int c = GetPpdByte(source);
    if (c == -1) return;
    const bool continues = bBlanksAllowed ? (c == 0x09 || c == 0x20 || c == '"' ||
                                             (!IsBlank(c) && !IsDelimiter(c)))
                                          : (!IsBlank(c) && !IsDelimiter(c));
    if (!continues || *length == limit) {
      source->bLineEndedLastToken = IsLineBreak(c);
      return;
    }
    buffer[(*length)++] = static_cast<char16_t>(c);
  }
}

}  // namespace

namespace {

int ReadToken(PpdByteSource* source, char16_t* buffer, size_t capacity, size_t* length,
              bool bBlanksAllowed, bool* lineBreakBefore, bool bStopAtLineBreak) {
  size_t count = 0;
  bool lineBreak = source->bLineEndedLastToken;
  source->bLineEndedLastToken = false;
  const int first = capacity == 0 ? -1 : SkipToTokenStart(source, &lineBreak, bStopAtLineBreak);
  // The next read must still learn that its token begins a line.
  if (first == kLineEnded) source->bLineEndedLastToken = true;
  if (first >= 0) {
    const size_t limit = capacity - 1;
    if (first == '"') {
      ReadQuoted(source, buffer, limit, &count);
    } else if (limit > 0) {
      buffer[count++] = static_cast<char16_t>(first);
      ReadWord(source, buffer, limit, &count, bBlanksAllowed);
    }
  }
  if (capacity > 0) buffer[count] = 0;
  if (length != nullptr) *length = count;
  if (lineBreakBefore != nullptr) *lineBreakBefore = lineBreak;
  return first;
}

}  // namespace

bool NextPpdToken(PpdByteSource* source, char16_t* buffer, size_t capacity, size_t* length,
                  bool bBlanksAllowed, bool* lineBreakBefore) {
  return ReadToken(source, buffer, capacity, length, bBlanksAllowed, lineBreakBefore, false) != -1;
}

PpdTokenRead NextPpdTokenOnLine(PpdByteSource* source, char16_t* buffer, size_t capacity,
                                size_t* length, bool bBlanksAllowed) {
  const int first = ReadToken(source, buffer, capacity, length, bBlanksAllowed, nullptr, true);
  if (first == -1) return PpdTokenRead::kEndOfInput;
  return first == kLineEnded ? PpdTokenRead::kLineEnded : PpdTokenRead::kToken;
}
