// Texts kept once per model: the *UIConstraints lines of a large PPD repeat
// a few hundred keywords thousands of times, so each constraint refers to
// pooled texts instead of holding four text fields of its own.
#pragma once

#include <cstdint>

#include "ppd_text.h"

struct PpdTextPool {
  PpdText** texts = nullptr;  // owned, each allocated on its own
  int32_t count = 0;
  // Open addressing over `texts`: entry + 1, 0 for a free slot.
  int32_t* slots = nullptr;
  uint32_t slotMask = 0;
};

// The empty text every unfilled reference points at; never freed.
extern const PpdText kEmptyPooledText;

// The pooled text equal to `text` (length and units), added when missing;
// null when memory runs out (the pool is then unchanged).
const PpdText* InternPpdText(PpdTextPool* pool, const PpdText& text);

void FreePpdTextPool(PpdTextPool* pool);
