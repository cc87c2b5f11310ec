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
    if (inComment && source->lookAhead == -1) {
      const unsigned char* p = source->blockNext;
      while (p != source->blockEnd && !IsLineBreak(*p)) ++p;
      source->blockNext = p;
    }
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

// Takes the bytes of the current block in one sweep while `continues`
// accepts them and the buffer has room, exactly as one GetPpdByte each would;
// the byte that stops the sweep is left for the caller's own read.
template <typename Continues>
void AppendWhile(PpdByteSource* source, char16_t* buffer, size_t limit, size_t* length,
                 Continues continues) {
  if (source->lookAhead != -1) return;
  const unsigned char* p = source->blockNext;
  const unsigned char* end = source->blockEnd;
  const size_t room = limit - *length;
  if (static_cast<size_t>(end - p) > room) end = p + room;
  char16_t* out = buffer + *length;
  while (p != end && continues(*p)) *out++ = *p++;
  *length += static_cast<size_t>(p - source->blockNext);
  source->blockNext = p;
}

void ReadQuoted(PpdByteSource* source, char16_t* buffer, size_t limit, size_t* length) {
  for (;;) {
    AppendWhile(source, buffer, limit, length, [](unsigned char c) { return c != '"'; });
    const int c = GetPpdByte(source);
    if (c == -1 || c == '"') return;
    if (*length == limit) return;  // the byte that found the buffer full is dropped
    buffer[(*length)++] = static_cast<char16_t>(c);
  }
}

void ReadWord(PpdByteSource* source, char16_t* buffer, size_t limit, size_t* length,
              bool bBlanksAllowed) {
  for (;;) {
    if (bBlanksAllowed) {
      AppendWhile(source, buffer, limit, length, [](unsigned char c) {
        return c == 0x09 || c == 0x20 || c == '"' || (!IsBlank(c) && !IsDelimiter(c));
      });
    } else {
      AppendWhile(source, buffer, limit, length,
                  [](unsigned char c) { return !IsBlank(c) && !IsDelimiter(c); });
    }
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
