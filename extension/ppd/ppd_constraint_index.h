// An index of the model's constraints for the re-evaluation the plug-in runs
// while the user waits: every text that takes part is replaced by a small
// number (equal texts, equal numbers), and the constraints are listed by the
// feature they name second. It depends only on what parsing fixed (keywords,
// option keywords and the constraints), never on the installed values.
#pragma once

#include <cstdint>

#include "ppd_allocation.h"
#include "ppd_text_pool.h"

class PpdModel;
class PpdText;

constexpr int32_t kNoIndexedText = -2;

struct PpdConstraintIndex {
  // The constraints' texts and records, filled while parsing.
  PpdTextPool texts;
  PpdSlab records;
  bool bBuilt = false;

  // Interned texts: an open-addressing table of pointers into the model.
  const PpdText** slots = nullptr;
  int32_t* slotIds = nullptr;
  uint32_t slotMask = 0;
  int32_t textCount = 0;

  // The empty text's number (an option keyword a constraint left out), -1
  // when no indexed text is empty; per text number, whether a left-out
  // option keyword stands for that text.
  int32_t emptyText = -1;
  uint8_t* coveredByLeftOut = nullptr;

  // Per constraint: the numbers of its four texts; an option keyword too
  // long for a text field has kNoIndexedText, which no text has.
  int32_t* featureKeyword1 = nullptr;
  int32_t* option1 = nullptr;
  int32_t* option2 = nullptr;

  // Constraints by the number of their second feature keyword, in file order:
  // those of text number t are byKeyword2[firstByKeyword2[t] .. firstByKeyword2[t + 1]).
  int32_t* firstByKeyword2 = nullptr;
  int32_t* byKeyword2 = nullptr;

  // Per feature its keyword's number, per option (flattened in feature
  // order from optionStart[f]) its keyword's number, per installable setting
  // its keyword's number.
  int32_t* featureKeyword = nullptr;
  int32_t* optionStart = nullptr;
  int32_t* optionKeyword = nullptr;
  int32_t* installableKeyword = nullptr;

  // Scratch for one evaluation, sized by the constraint count.
  int32_t* scratch = nullptr;
};

// Builds the model's index once (the record exists from the first
// constraint on); false when there are no constraints or memory runs out, and
// the caller then evaluates by the plain scan (a later call tries again).
bool BuildPpdConstraintIndex(PpdModel* model);
// Frees the index and the constraints' texts and records.
void DestroyPpdConstraintIndex(PpdConstraintIndex* index);

// Whether a constraint's keyword names a feature's or an option's: keywords
// meet whatever the case of their ASCII letters, as real files write an
// option 'True' in its block and 'true' in a constraint.
bool SameKeyword(const PpdText& a, const PpdText& b);

// Whether an option keyword left out of a *UIConstraints line stands for
// `keyword`: it stands for every option but None, False and Off, in any case
// (and for no empty text).
bool LeftOutOptionStandsFor(const PpdText& keyword);

// The number of a text, or -1 when no indexed text equals it.
int32_t FindIndexedText(const PpdConstraintIndex* index, const PpdText* text);
