#include "ppd_constraint_index.h"

#include <cstring>

#include "ppd_allocation.h"
#include "ppd_model.h"

namespace {

char16_t FoldedUnit(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - (u'a' - u'A')) : c;
}

// `a` and the zero-terminated `b`, letters folded to upper case.
bool SameFolded(const PpdText& a, const char16_t* b) {
  for (int32_t i = 0; i <= a.length; ++i) {
    if (FoldedUnit(a.characters[i]) != FoldedUnit(b[i])) return false;
  }
  return true;
}

// Texts that differ only in the case of their letters get one number.
uint32_t HashText(const PpdText& text) {
  uint32_t hash = 2166136261u;
  for (int32_t i = 0; i < text.length; ++i) {
    hash = (hash ^ FoldedUnit(text.characters[i])) * 16777619u;
  }
  return hash ^ static_cast<uint32_t>(text.length);
}

int32_t* AllocateInts(size_t count) {
  return static_cast<int32_t*>(PpdMallocArray(count == 0 ? 1 : count, sizeof(int32_t)));
}

// The slot that holds `text`, or the empty slot where it belongs.
uint32_t SlotOf(const PpdConstraintIndex* index, const PpdText& text) {
  uint32_t slot = HashText(text) & index->slotMask;
  while (index->slots[slot] != nullptr && !SameKeyword(*index->slots[slot], text)) {
    slot = (slot + 1) & index->slotMask;
  }
  return slot;
}

int32_t Intern(PpdConstraintIndex* index, const PpdText& text) {
  const uint32_t slot = SlotOf(index, text);
  if (index->slots[slot] == nullptr) {
    index->slots[slot] = &text;
    index->slotIds[slot] = index->textCount++;
  }
  return index->slotIds[slot];
}

// A constraint's option keyword: one too long for a text field names nothing.
int32_t InternOption(PpdConstraintIndex* index, const PpdText& option) {
  return &option == &kOverlongOptionText ? kNoIndexedText : Intern(index, option);
}

size_t OptionTotal(const PpdModel* model) {
  size_t total = 0;
  for (int32_t f = 0; f < model->featureCount; ++f) total += model->features[f]->optionCount;
  return total;
}

// The table keeps at least half its slots free.
bool AllocateTable(PpdConstraintIndex* index, uint64_t texts) {
  size_t size = 16;
  while (size / 2 < texts) {
    if (size >= 0x40000000u) return false;
    size *= 2;
  }
  index->slots = static_cast<const PpdText**>(PpdMallocArray(size, sizeof(PpdText*)));
  index->slotIds = AllocateInts(size);
  if (index->slots == nullptr || index->slotIds == nullptr) return false;
  std::memset(index->slots, 0, size * sizeof(PpdText*));
  index->slotMask = static_cast<uint32_t>(size - 1);
  return true;
}

bool InternModel(PpdConstraintIndex* index, const PpdModel* model, int32_t* keyword2) {
  const size_t constraints = static_cast<size_t>(model->constraintCount);
  index->featureKeyword1 = AllocateInts(constraints);
  index->option1 = AllocateInts(constraints);
  index->option2 = AllocateInts(constraints);
  index->featureKeyword = AllocateInts(model->featureCount);
  index->optionStart = AllocateInts(model->featureCount + 1);
  index->optionKeyword = AllocateInts(OptionTotal(model));
  index->installableKeyword = AllocateInts(model->installableCount);
  index->scratch = AllocateInts(constraints);
  if (!index->featureKeyword1 || !index->option1 || !index->option2 || !index->featureKeyword ||
      !index->optionStart || !index->optionKeyword || !index->installableKeyword ||
      !index->scratch) {
    return false;
  }
  for (size_t c = 0; c < constraints; ++c) {
    const PpdConstraint* constraint = model->constraints[c];
    index->featureKeyword1[c] = Intern(index, *constraint->featureKeyword1);
    index->option1[c] = InternOption(index, *constraint->option1);
    keyword2[c] = Intern(index, *constraint->featureKeyword2);
    index->option2[c] = InternOption(index, *constraint->option2);
  }
  int32_t next = 0;
  for (int32_t f = 0; f < model->featureCount; ++f) {
    const PpdFeature* feature = model->features[f];
    index->featureKeyword[f] = Intern(index, feature->keyword);
    index->optionStart[f] = next;
    for (int32_t o = 0; o < feature->optionCount; ++o) {
      index->optionKeyword[next++] = Intern(index, feature->options[o]->keyword);
    }
  }
  index->optionStart[model->featureCount] = next;
  for (int32_t s = 0; s < model->installableCount; ++s) {
    index->installableKeyword[s] = Intern(index, model->installables[s]->keyword);
  }
  return true;
}

bool MarkLeftOutCoverage(PpdConstraintIndex* index) {
  // Built only with constraints, so there is at least one text.
  index->coveredByLeftOut = static_cast<uint8_t*>(PpdMalloc(static_cast<size_t>(index->textCount)));
  if (index->coveredByLeftOut == nullptr) return false;
  for (uint32_t slot = 0; slot <= index->slotMask; ++slot) {
    const PpdText* text = index->slots[slot];
    if (text == nullptr) continue;
    index->coveredByLeftOut[index->slotIds[slot]] = LeftOutOptionStandsFor(*text) ? 1 : 0;
    if (text->length == 0) index->emptyText = index->slotIds[slot];
  }
  return true;
}

// Groups the constraints by their second keyword's number, keeping file order.
bool ListByKeyword2(PpdConstraintIndex* index, const int32_t* keyword2, int32_t constraints) {
  index->firstByKeyword2 = AllocateInts(static_cast<size_t>(index->textCount) + 1);
  index->byKeyword2 = AllocateInts(constraints);
  if (index->firstByKeyword2 == nullptr || index->byKeyword2 == nullptr) return false;
  std::memset(index->firstByKeyword2, 0, (index->textCount + 1) * sizeof(int32_t));
  for (int32_t c = 0; c < constraints; ++c) ++index->firstByKeyword2[keyword2[c] + 1];
  for (int32_t t = 0; t < index->textCount; ++t) {
    index->firstByKeyword2[t + 1] += index->firstByKeyword2[t];
  }
  int32_t* cursor = AllocateInts(static_cast<size_t>(index->textCount));
  if (cursor == nullptr) return false;
  std::memcpy(cursor, index->firstByKeyword2, index->textCount * sizeof(int32_t));
  for (int32_t c = 0; c < constraints; ++c) index->byKeyword2[cursor[keyword2[c]]++] = c;
  PpdFree(cursor);
  return true;
}

}  // namespace

namespace {

void FreeIndexArrays(PpdConstraintIndex* index) {
  int32_t* arrays[] = {index->slotIds,         index->featureKeyword1, index->option1,
                       index->option2,         index->firstByKeyword2, index->byKeyword2,
                       index->featureKeyword,  index->optionStart,     index->optionKeyword,
                       index->installableKeyword, index->scratch};
  for (int32_t* array : arrays) PpdFree(array);
  PpdFree(index->coveredByLeftOut);
  PpdFree(index->slots);
  const PpdTextPool texts = index->texts;
  const PpdSlab records = index->records;
  *index = PpdConstraintIndex();
  index->texts = texts;
  index->records = records;
}

}  // namespace

bool BuildPpdConstraintIndex(PpdModel* model) {
  PpdConstraintIndex* index = model->constraintIndex;
  if (index == nullptr) return false;
  if (index->bBuilt) return true;
  // The constraints' texts are pooled, each distinct text once (the empty
  // text outside the pool).
  const uint64_t texts = static_cast<uint64_t>(index->texts.count) + 1 +
                         static_cast<uint64_t>(model->featureCount) + OptionTotal(model) +
                         static_cast<uint64_t>(model->installableCount);
  int32_t* keyword2 = AllocateInts(static_cast<size_t>(model->constraintCount));
  const bool built = keyword2 != nullptr && AllocateTable(index, texts) &&
                     InternModel(index, model, keyword2) && MarkLeftOutCoverage(index) &&
                     ListByKeyword2(index, keyword2, model->constraintCount);
  PpdFree(keyword2);
  if (!built) FreeIndexArrays(index);
  index->bBuilt = built;
  return built;
}

void DestroyPpdConstraintIndex(PpdConstraintIndex* index) {
  if (index == nullptr) return;
  FreeIndexArrays(index);
  FreePpdTextPool(&index->texts);
  FreePpdSlab(&index->records);
  delete index;
}

bool SameKeyword(const PpdText& a, const PpdText& b) {
  return a.length == b.length && SameFolded(a, b.characters);
}

bool LeftOutOptionStandsFor(const PpdText& keyword) {
  return keyword.length > 0 && !SameFolded(keyword, u"None") &&
         !SameFolded(keyword, u"False") && !SameFolded(keyword, u"Off");
}

int32_t FindIndexedText(const PpdConstraintIndex* index, const PpdText* text) {
  if (index == nullptr || text == nullptr) return -1;
  const uint32_t slot = SlotOf(index, *text);
  return index->slots[slot] == nullptr ? -1 : index->slotIds[slot];
}
