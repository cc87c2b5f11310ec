#include "ppd_text.h"

#include <cstring>

#include "wide_from_byte_units.h"

PpdText& PpdText::operator=(const PpdText& other) {
  length = other.length;
  std::memcpy(characters, other.characters, sizeof characters);
  return *this;
}

void AssignPpdText(PpdText* text, const char16_t* units, size_t count) {
  if (text == nullptr) return;
  size_t written = 0;
  if (units != nullptr) {
    written = WideFromByteUnits(units, count, text->characters, kPpdTextCapacity);
  }
  // The conversion reports 0 when the text did not fit; the field must then
  // read as empty, whatever the converter left in it.
  if (written >= static_cast<size_t>(kPpdTextCapacity)) written = 0;
  text->length = static_cast<int32_t>(written);
  text->characters[written] = 0;
}

void AssignPpdText(PpdText* text, const char16_t* units) {
  size_t count = 0;
  if (units != nullptr) {
    while (units[count] != 0) ++count;
  }
  AssignPpdText(text, units, count);
}

bool PpdTextEquals(const PpdText* a, const char16_t* b) {
  if (a == nullptr || b == nullptr) return false;
  for (int i = 0; i < kPpdTextCapacity; ++i) {
    if (a->characters[i] != b[i]) return false;
    if (b[i] == 0) return true;
  }
  // A field always holds its terminator; reaching here means it did not.
  return false;
}

bool PpdTextEquals(const PpdText* a, const PpdText* b) {
  if (b == nullptr) return false;
  return PpdTextEquals(a, b->characters);
}

void ClearPpdText(PpdText* text) {
  text->length = 0;
  text->characters[0] = 0;
}
