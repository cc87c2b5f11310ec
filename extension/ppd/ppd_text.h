// The fixed text field that holds every string of the PPD model, and the
// base class shared by the reader's and the model's polymorphic records.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kPpdTextCapacity = 260;

class PpdObject {
 public:
  virtual ~PpdObject() = default;
};

class PpdText : public PpdObject {
 public:
  PpdText() { characters[0] = 0; }
  PpdText(const PpdText& other) { *this = other; }
  PpdText& operator=(const PpdText& other);

  int32_t length = 0;
  char16_t characters[kPpdTextCapacity];
};

// Stores `count` byte units (file bytes held one per unit) in `text`,
// decoded through the system ANSI code page. A text that does not fit the
// 259 characters, or that cannot be converted, becomes empty.
void AssignPpdText(PpdText* text, const char16_t* units, size_t count);

// The same for a zero-terminated unit string.
void AssignPpdText(PpdText* text, const char16_t* units);

// Ordinal equality up to and including the terminator; null equals nothing.
bool PpdTextEquals(const PpdText* a, const PpdText* b);
bool PpdTextEquals(const PpdText* a, const char16_t* b);

void ClearPpdText(PpdText* text);

// Whether the first `count` units of `a` and `b` are equal. The texts
// compared are short, and the Windows runtime's memcmp, which Wine's runtime
// runs a byte at a time, costs more than this loop.
inline bool SamePpdUnits(const char16_t* a, const char16_t* b, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}
