// Stands in for the system ANSI code page where there is no Windows: the
// Windows-1252 table, decoded exactly as Windows decodes it. The five bytes
// that Windows-1252 leaves undefined map to the C1 control of the same value,
// as MultiByteToWideChar does.
#include <cstdlib>

#include "wide_from_byte_units.h"

namespace {

const char16_t kHighControlRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t DecodeWindows1252(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHighControlRange[byte - 0x80];
  return byte;
}

}  // namespace

size_t WideFromByteUnits(const char16_t* source, size_t count, char16_t* destination,
                         size_t capacity) {
  if (source == nullptr || destination == nullptr || capacity == 0) return 0;
  // The Windows version narrows the text first and converts up to the first
  // NUL byte; a unit whose low byte is 0 ends the text here too.
  size_t length = 0;
  while (length < count && (source[length] & 0xFF) != 0) ++length;
  if (length + 1 > capacity) return 0;
  for (size_t i = 0; i < length; ++i) {
    destination[i] = DecodeWindows1252(static_cast<unsigned char>(source[i] & 0xFF));
  }
  destination[length] = 0;
  return length;
}
