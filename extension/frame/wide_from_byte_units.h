// PPD text is held one byte per 16-bit unit, as the bytes came from the
// file; this turns it into UTF-16 through the system ANSI code page.
#pragma once

#include <cstddef>

// Converts the low bytes of the first `count` units of `source` into
// `destination`, at most `capacity` units including the terminator. Returns
// the number of units written before the terminator; 0 when the text does not
// fit or memory runs out (the caller then ends the destination at unit 0).
size_t WideFromByteUnits(const char16_t* source, size_t count, char16_t* destination,
                         size_t capacity);
