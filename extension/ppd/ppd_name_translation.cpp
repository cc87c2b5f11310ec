// Name/translation tokens ('A4/A4 210 x 297 mm', '*InputSlot/<50>aper') and
// plain values.
#include <algorithm>

#include "ppd_tokenizer.h"

namespace {

int HexDigitValue(char16_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsWideSpace(char16_t c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }

// A two-character text read as base 16 the way wcstol reads it: a leading
// blank is skipped, a sign and a "0x" prefix are accepted, and reading stops
// at the first character that is not a hex digit ("4G" is 4, "G4" is 0).
long ParseHexPair(char16_t first, char16_t second) {
  const char16_t text[3] = {first, second, 0};
  int i = 0;
  while (text[i] != 0 && IsWideSpace(text[i])) ++i;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  long value = 0;
  for (; text[i] != 0 && HexDigitValue(text[i]) >= 0; ++i) value = value * 16 + HexDigitValue(text[i]);
  return negative ? -value : value;
}

// Collects characters up to the 259 a text field can hold; longer segments
// are cut there. It notes where the first '/' stands, whether the file wrote
// it plainly or in hex: a name taken from it ends there, so that a name
// never holds one.
struct WorkText {
  char16_t units[kPpdTextCapacity];
  size_t length = 0;
  size_t firstSlash = kPpdTextCapacity;
  void Append(char16_t c) {
    if (c == '/' && firstSlash == kPpdTextCapacity) firstSlash = length;
    if (length < kPpdTextCapacity - 1) units[length++] = c;
  }
  void Restart() {
    length = 0;
    firstSlash = kPpdTextCapacity;
  }
  size_t NameLength() const { return std::min(length, firstSlash); }
};

}  // namespace

void SplitNameAndTranslation(const char16_t* token, size_t length, PpdText* name,
                             PpdText* translation) {
  WorkText work;
  bool bNameTaken = false;
  bool bHexMode = false;
  bool bDigitHeld = false;
  char16_t heldDigit = 0;
  ClearPpdText(name);
  for (size_t i = 0; i < length; ++i) {
    const char16_t c = token[i];
    if (c == '/' && !bNameTaken) {
      // Only the first '/' ends the name; later ones belong to the translation.
      AssignPpdText(name, work.units, work.NameLength());
      work.Restart();
      bNameTaken = true;
    } else if (c == '<') {
      bHexMode = true;
      bDigitHeld = false;
    } else if (c == '>') {
      bHexMode = false;
      bDigitHeld = false;
    } else if (bHexMode) {
      if (!bDigitHeld) {
        heldDigit = c;
        bDigitHeld = true;
      } else {
        work.Append(static_cast<char16_t>(ParseHexPair(heldDigit, c)));
        bDigitHeld = false;
      }
    } else {
      work.Append(c);
    }
  }
  // Without a name before its first '/' ('/A/B'), the name is taken from
  // what follows, and it too ends at a '/'.
  if (name->length == 0) AssignPpdText(name, work.units, work.NameLength());
  const size_t skip = (work.length > 0 && work.units[0] == '*') ? 1 : 0;
  AssignPpdText(translation, work.units + skip, work.length - skip);
}

bool ReadNameAndTranslation(PpdByteSource* source, char16_t* buffer, size_t capacity,
                            PpdText* name, PpdText* translation) {
  size_t length = 0;
  if (!NextPpdToken(source, buffer, capacity, &length, true)) return false;
  SplitNameAndTranslation(buffer, length, name, translation);
  return true;
}

bool ReadPpdValue(PpdByteSource* source, char16_t* buffer, size_t capacity, PpdText* text) {
  size_t length = 0;
  if (!NextPpdToken(source, buffer, capacity, &length, false)) return false;
  AssignPpdText(text, buffer, length);
  return true;
}
