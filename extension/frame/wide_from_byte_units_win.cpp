#include <windows.h>

#include <climits>
#include <cstdint>
#include <cstdlib>

#include "wide_from_byte_units.h"

namespace {

// Narrow copies up to this size stay on the stack. Every text the model
// stores is at most 259 characters, which even a four-byte-per-character
// code page narrows into this; the model build converts tens of thousands of
// such texts, and a heap block for each is what Wine's heap is slowest at.
constexpr size_t kStackNarrowBytes = 1040;

// Every ANSI code page of Windows (the single-byte ones, the double-byte
// ones and UTF-8) decodes a byte below 0x80 as that same code point, and
// nearly all PPD text is ASCII: such a text is copied without the system's
// conversion, which Wine makes costly per call. The text ends at its first
// NUL byte, as the conversion of the narrowed text does; SIZE_MAX when some
// byte before it is not ASCII.
size_t AsciiLength(const char16_t* source, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const unsigned char byte = static_cast<unsigned char>(source[i] & 0xFF);
    if (byte == 0) return i;
    if (byte >= 0x80) return SIZE_MAX;
  }
  return count;
}

}  // namespace

size_t WideFromByteUnits(const char16_t* source, size_t count, char16_t* destination,
                         size_t capacity) {
  if (source == nullptr || destination == nullptr || capacity == 0) return 0;
  const size_t ascii = AsciiLength(source, count);
  if (ascii != SIZE_MAX) {
    if (ascii + 1 > capacity) return 0;
    for (size_t i = 0; i < ascii; ++i) destination[i] = source[i] & 0xFF;
    destination[ascii] = 0;
    return ascii;
  }
  char stackNarrow[kStackNarrowBytes];
  char* narrow = stackNarrow;
  if (count + 1 > kStackNarrowBytes) {
    narrow = static_cast<char*>(std::malloc(count + 1));
    if (narrow == nullptr) return 0;
  }
  for (size_t i = 0; i < count; ++i) narrow[i] = static_cast<char>(source[i] & 0xFF);
  narrow[count] = '\0';

  const int limit = capacity > INT_MAX ? INT_MAX : static_cast<int>(capacity);
  const int written =
      MultiByteToWideChar(CP_ACP, 0, narrow, -1, reinterpret_cast<WCHAR*>(destination), limit);
  if (narrow != stackNarrow) std::free(narrow);
  return written > 0 ? static_cast<size_t>(written - 1) : 0;
}
