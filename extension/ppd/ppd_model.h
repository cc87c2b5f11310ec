// The parsed PPD of the printer: its features with their options, the
// *UIConstraints lines, and the installed equipment (features of the group
// "InstallableOptions") that rules options out.
#pragma once

#include <cstdint>

#include "ppd_byte_source.h"
#include "ppd_text.h"
#include "ppd_text_pool.h"

struct PpdConstraintIndex;

enum PpdUiType { PPDUI_PICKONE = 1, PPDUI_PICKMANY = 2, PPDUI_BOOLEAN = 3 };

enum ConstraintMatch { CONSTRAINT_NONE = 0, CONSTRAINT_MATCH = 1, CONSTRAINT_RELATED = 2 };

struct PpdOption {
  PpdText keyword;
  PpdText translation;
  char16_t* invocation = nullptr;  // owned; raw token units
  uint8_t constrained = 0;
};

struct PpdFeature {
  PpdText keyword;
  PpdText translation;
  PpdText defaultOption;
  PpdText group;
  PpdText groupTranslation;
  char16_t* query = nullptr;  // owned; raw token units
  int32_t uiType = 0;
  int32_t orderValue = 0;
  int32_t optionCount = 0;
  PpdOption** options = nullptr;  // malloc'd array
};

// What a *UIConstraints line holds in place of an option keyword too long
// for a text field: it names no option. (Stored empty, it would read as left
// out, which names nearly every option.) Never freed.
extern const PpdText kOverlongOptionText;

// The four tokens of a *UIConstraints line. The texts are kept once per
// model (a large PPD repeats a few hundred of them thousands of times); they
// and the records belong to the model's constraint index. An unfilled field
// is the empty text, an option too long for a text field is
// kOverlongOptionText.
struct PpdConstraint {
  const PpdText* featureKeyword1 = &kEmptyPooledText;
  const PpdText* option1 = &kEmptyPooledText;
  const PpdText* featureKeyword2 = &kEmptyPooledText;
  const PpdText* option2 = &kEmptyPooledText;
};

class InstallableSetting : public PpdObject {
 public:
  PpdText keyword;
  PpdText currentValue;
};

class PpdModel : public PpdObject {
 public:
  PpdModel() = default;
  PpdModel(const PpdModel&) = delete;
  PpdModel& operator=(const PpdModel&) = delete;
  ~PpdModel() override;

  // The feature at `index`, or null when the index is out of range.
  PpdFeature* GetFeature(int index) const;

  int32_t featureCount = 0;
  int32_t constraintCount = 0;
  PpdFeature** features = nullptr;
  PpdConstraint** constraints = nullptr;
  PpdText modelName;
  PpdText product;
  PpdText manufacturer;
  PpdText languageEncoding;
  PpdText languageVersion;
  int32_t installableCount = 0;
  InstallableSetting** installables = nullptr;
  char16_t* tokenBuffer = nullptr;  // only while the model is built
  PpdByteSource* source = nullptr;  // only while the model is built
  // Holds the constraints' texts from the first constraint on; its index is
  // built at the first evaluation from what parsing fixed. Owned.
  PpdConstraintIndex* constraintIndex = nullptr;
};

// Builds the model of the file that `read` delivers. Never fails as a whole:
// what was read before an error or the end stays. Null only when the model
// record itself cannot be allocated. The caller owns the result. Over
// ReadPpdFileByte the file is taken in blocks of `blockBytes`.
PpdModel* BuildPpdModel(PpdReadFunction read, void* file, size_t blockBytes = kPpdBlockBytes);

inline void DestroyPpdModel(PpdModel* model) { delete model; }

// Index of the first feature whose keyword (or translation) equals `text`, or -1.
int FindFeatureByKeyword(const PpdModel* model, const PpdText* text);
int FindFeatureByKeyword(const PpdModel* model, const char16_t* text);
int FindFeatureByTranslation(const PpdModel* model, const PpdText* text);
int FindFeatureByTranslation(const PpdModel* model, const char16_t* text);

// The keyword of the first feature whose translation equals `text`; null when
// `text` is null or no feature has it.
const PpdText* FindFeatureKeywordByTranslation(const PpdModel* model, const char16_t* text);

// Stores an installed value for the first installable setting of `keyword`,
// then re-evaluates when asked. Both texts are decoded UTF-16 (the value comes
// from the driver already converted); either may be null, which stores
// nothing. A value too long for a text field is stored empty.
void SetInstallableValue(PpdModel* model, const char16_t* keyword, const char16_t* value,
                         bool bReevaluate);

// Recomputes every option's `constrained` flag from the installed values:
// set when any installable setting rules the option out.
void EvaluateInstallableConstraints(PpdModel* model);

// The same result by the plain scan over every constraint for every option;
// kept to check the indexed evaluation against.
void EvaluateInstallableConstraintsByScan(PpdModel* model);

// CONSTRAINT_RELATED when a constraint names the installable first and the
// feature second; CONSTRAINT_MATCH when such a constraint also names the
// installed value and the option, where a left-out option keyword names every
// option but None, False and Off.
ConstraintMatch MatchConstraint(const PpdModel* model, const PpdText* installableKeyword,
                                const PpdText* installableValue, const PpdFeature* feature,
                                const PpdOption* option);

extern const char16_t kInstallableOptionsGroup[];
