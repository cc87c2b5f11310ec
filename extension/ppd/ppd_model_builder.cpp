// Builds the PPD model from the token stream. The file-level loop
// dispatches on the structure keyword to one small handler each.
//
// A value is only ever taken from the line of its keyword: a token that
// follows a line break where a value was due is left pending and read again
// as the next keyword. Real files carry *UIConstraints lines with two or
// three tokens and option lines with empty values, and without this rule the
// next line's keyword would be eaten as a value. Names with translations are
// read with blanks allowed, so the next line cannot be kept as one pending
// token: their read stops at the line break and leaves the next line unread.
#include <cstring>
#include <type_traits>

#include "ppd_allocation.h"
#include "ppd_constraint_index.h"
#include "ppd_model.h"
#include "ppd_tokenizer.h"

namespace {

enum class ValueRead { kValue, kNextLine, kEndOfInput };

// Constraint records come from blocks and are freed with them, never one by one.
constexpr size_t kConstraintsPerBlock = 256;
static_assert(std::is_trivially_destructible<PpdConstraint>::value,
              "constraint records are freed with their block, undestroyed");
enum class BlockEnd { kComplete, kFailed };

struct ModelBuilder {
  explicit ModelBuilder(PpdModel* built) : model(built) {}

  PpdModel* model;
  size_t tokenLength = 0;
  bool bTokenPending = false;
  PpdText groupKeyword;
  PpdText groupTranslation;
  PpdText constraintText;  // a constraint's token before it is pooled

  char16_t* token() { return model->tokenBuffer; }

  // The next token with blanks not allowed, or the pending one.
  bool NextToken(bool* lineBreakBefore = nullptr) {
    if (bTokenPending) {
      bTokenPending = false;
      if (lineBreakBefore != nullptr) *lineBreakBefore = true;
      return true;
    }
    return NextPpdToken(model->source, token(), kPpdTokenCapacity, &tokenLength, false,
                        lineBreakBefore);
  }

  // The next token if it stands on the current line.
  ValueRead NextValueToken() {
    bool lineBreak = false;
    if (!NextToken(&lineBreak)) return ValueRead::kEndOfInput;
    if (lineBreak) {
      bTokenPending = true;
      return ValueRead::kNextLine;
    }
    return ValueRead::kValue;
  }

  ValueRead ReadLineValue(PpdText* text) {
    const ValueRead read = NextValueToken();
    if (read == ValueRead::kValue) AssignPpdText(text, token(), tokenLength);
    return read;
  }

  // A name token (blanks allowed) if one stands on the current line; it is
  // left in the token buffer.
  ValueRead NextNameToken() {
    switch (NextPpdTokenOnLine(model->source, token(), kPpdTokenCapacity, &tokenLength, true)) {
      case PpdTokenRead::kToken:
        return ValueRead::kValue;
      case PpdTokenRead::kLineEnded:
        return ValueRead::kNextLine;
      default:
        return ValueRead::kEndOfInput;
    }
  }

  // A missing name leaves both texts as they are.
  ValueRead ReadLineNameAndTranslation(PpdText* name, PpdText* translation) {
    const ValueRead read = NextNameToken();
    if (read == ValueRead::kValue) SplitNameAndTranslation(token(), tokenLength, name, translation);
    return read;
  }

  bool TokenEquals(const char16_t* text) const {
    return TokenStartsWith(text) && text[tokenLength] == 0;
  }

  // Feature keywords are stored decoded; the token is compared the same way.
  bool TokenEqualsText(const PpdText& text) {
    if (tokenLength >= static_cast<size_t>(kPpdTextCapacity) || text.length == 0) return false;
    // An ASCII first byte decodes to itself: most tokens differ right there.
    const char16_t first = model->tokenBuffer[0];
    if (first < 0x80 && first != text.characters[0]) return false;
    PpdText decoded;
    AssignPpdText(&decoded, token(), tokenLength);
    return PpdTextEquals(&decoded, &text);
  }

  bool TokenStartsWith(const char16_t* prefix) const {
    size_t i = 0;
    for (; prefix[i] != 0; ++i) {
      if (i >= tokenLength || model->tokenBuffer[i] != prefix[i]) return false;
    }
    return true;
  }
};

// The first capacity of each array, in entries, by the records it points
// at. Growth derives the capacity from the count and the first capacity, so
// the allocation and the growth must read the same number: both take it from
// here and from nowhere else.
template <typename T>
constexpr int32_t kFirstCapacity = 0;
template <>
constexpr int32_t kFirstCapacity<PpdFeature> = 32;
template <>
constexpr int32_t kFirstCapacity<InstallableSetting> = 32;
template <>
constexpr int32_t kFirstCapacity<PpdConstraint> = 512;
template <>
constexpr int32_t kFirstCapacity<PpdOption> = 64;

template <typename T>
T** AllocateArray() {
  static_assert(kFirstCapacity<T> > 0, "every array has a first capacity");
  return static_cast<T**>(PpdMallocArray(static_cast<size_t>(kFirstCapacity<T>), sizeof(T*)));
}

// Grows a malloc'd array of pointers when its count has reached its
// capacity; capacities start at the first capacity and double, so they
// follow from the count alone.
template <typename T>
bool EnsureRoom(T*** array, int32_t count) {
  constexpr int32_t first = kFirstCapacity<T>;
  static_assert(first > 0, "every array has a first capacity");
  if (count < first || count % first != 0) return true;
  const int32_t multiple = count / first;
  if ((multiple & (multiple - 1)) != 0) return true;
  if (count > (1 << 29)) return false;
  void* grown = PpdReallocArray(*array, static_cast<size_t>(count) * 2, sizeof(T*));
  if (grown == nullptr) return false;
  *array = static_cast<T**>(grown);
  return true;
}

// A main-keyword line without an option on it is no option line: skipped.
// At the end of input the option is counted empty and the block fails.
bool ReadOptionLine(ModelBuilder& b, PpdFeature* feature) {
  const ValueRead name = b.NextNameToken();
  if (name == ValueRead::kNextLine) return true;
  if (!EnsureRoom(&feature->options, feature->optionCount)) return false;
  PpdOption* option = NewPpdRecord<PpdOption>();
  if (option == nullptr) return false;
  feature->options[feature->optionCount++] = option;
  if (name == ValueRead::kEndOfInput) return false;
  SplitNameAndTranslation(b.token(), b.tokenLength, &option->keyword, &option->translation);
  const ValueRead read = b.NextValueToken();
  if (read == ValueRead::kEndOfInput) return false;
  const size_t length = read == ValueRead::kValue ? b.tokenLength : 0;
  option->invocation = CopyPpdUnits(b.token(), length);
  return option->invocation != nullptr;
}

// The number at the start of a text, as _wtoi reads it: leading blanks
// skipped, an optional sign, digits up to the first other character; 0 when
// there is none. Out-of-range numbers saturate.
int32_t DecimalValueOf(const char16_t* text) {
  size_t i = 0;
  while (text[i] == ' ' || (text[i] >= 0x09 && text[i] <= 0x0D)) ++i;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  long long value = 0;
  for (; text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value < 0x80000000LL) value = value * 10 + (text[i] - '0');
  }
  if (negative) value = -value;
  if (value > 0x7FFFFFFFLL) return 0x7FFFFFFF;
  if (value < -0x80000000LL) return static_cast<int32_t>(-0x7FFFFFFF - 1);
  return static_cast<int32_t>(value);
}

bool ReadQueryLine(ModelBuilder& b, PpdFeature* feature) {
  const ValueRead read = b.NextValueToken();
  if (read == ValueRead::kEndOfInput) return false;
  // Only the first query of a block is kept; a later one is read and dropped.
  if (read == ValueRead::kNextLine || feature->query != nullptr) return true;
  feature->query = CopyPpdUnits(b.token(), b.tokenLength);
  return feature->query != nullptr;
}

bool ReadOrderDependency(ModelBuilder& b, PpdFeature* feature) {
  for (int i = 0; i < 3; ++i) {
    const ValueRead read = b.NextValueToken();
    if (read == ValueRead::kEndOfInput) return false;
    if (read == ValueRead::kNextLine) return true;
    if (i == 0) feature->orderValue = DecimalValueOf(b.token());
  }
  return true;
}

bool IsBlockBreakingKeyword(int id) {
  return id == PPDKEY_OPENUI || id == PPDKEY_OPENGROUP || id == PPDKEY_CLOSEGROUP;
}

int32_t UiTypeOf(const PpdText& text) {
  if (PpdTextEquals(&text, u"PickMany")) return PPDUI_PICKMANY;
  if (PpdTextEquals(&text, u"Boolean")) return PPDUI_BOOLEAN;
  return PPDUI_PICKONE;
}

BlockEnd ParseOpenUIBlock(ModelBuilder& b, PpdFeature* feature) {
  feature->options = AllocateArray<PpdOption>();
  if (feature->options == nullptr) return BlockEnd::kFailed;
  if (b.ReadLineNameAndTranslation(&feature->keyword, &feature->translation) ==
      ValueRead::kEndOfInput) {
    return BlockEnd::kFailed;
  }
  // A missing UI type stays empty, which reads as PickOne.
  PpdText uiType;
  if (b.ReadLineValue(&uiType) == ValueRead::kEndOfInput) return BlockEnd::kFailed;
  feature->uiType = UiTypeOf(uiType);
  for (;;) {
    if (!b.NextToken()) return BlockEnd::kFailed;
    const int id = LookupPpdKeyword(b.token());
    bool bOk = true;
    if (id == PPDKEY_CLOSEUI) {
      return b.NextValueToken() == ValueRead::kEndOfInput ? BlockEnd::kFailed : BlockEnd::kComplete;
    } else if (IsBlockBreakingKeyword(id)) {
      // The block lost its *CloseUI: it ends here, and the keyword does its
      // own work at file level.
      b.bTokenPending = true;
      return BlockEnd::kComplete;
    } else if (b.TokenStartsWith(u"*Default")) {
      b.ReadLineValue(&feature->defaultOption);
    } else if (b.TokenEquals(u"*OrderDependency")) {
      bOk = ReadOrderDependency(b, feature);
    } else if (b.TokenStartsWith(u"*?")) {
      bOk = ReadQueryLine(b, feature);
    } else if (b.TokenEqualsText(feature->keyword)) {
      bOk = ReadOptionLine(b, feature);
    }
    if (!bOk) return BlockEnd::kFailed;
  }
}

// A keyword that the group repeats is one setting: the driver answers one
// value for it, and a second setting would keep its own default for ever.
// The first block's stands, as the driver's.
bool HasInstallableSetting(const PpdModel* model, const PpdText& keyword) {
  for (int32_t s = 0; s < model->installableCount; ++s) {
    if (SameKeyword(model->installables[s]->keyword, keyword)) return true;
  }
  return false;
}

bool AddInstallableSetting(PpdModel* model, const PpdFeature* feature) {
  if (HasInstallableSetting(model, feature->keyword)) return true;
  if (!EnsureRoom(&model->installables, model->installableCount)) return false;
  InstallableSetting* setting = NewPpdRecord<InstallableSetting>();
  if (setting == nullptr) return false;
  setting->keyword = feature->keyword;
  setting->currentValue = feature->defaultOption;
  model->installables[model->installableCount++] = setting;
  return true;
}

// Returns false when parsing must end.
bool HandleOpenUI(ModelBuilder& b) {
  PpdModel* model = b.model;
  if (!EnsureRoom(&model->features, model->featureCount)) return false;
  PpdFeature* feature = NewPpdRecord<PpdFeature>();
  if (feature == nullptr) return false;
  feature->group = b.groupKeyword;
  feature->groupTranslation = b.groupTranslation;
  const BlockEnd end = ParseOpenUIBlock(b, feature);
  bool bContinue = end == BlockEnd::kComplete;
  if (bContinue && PpdTextEquals(&b.groupKeyword, kInstallableOptionsGroup)) {
    bContinue = AddInstallableSetting(model, feature);
  }
  // Counted last so that a failed installable cannot leave a gap; the feature
  // stays in the model even when its block failed.
  model->features[model->featureCount++] = feature;
  return bContinue;
}

// Fills the four fields by kind: a token that begins with '*' is a feature
// keyword, and the token after it, unless it too begins with '*', is that
// feature's option. A missing option stays empty; one too long for a text
// field names nothing.
// Returns false when parsing must end.
bool HandleUIConstraints(ModelBuilder& b) {
  PpdModel* model = b.model;
  if (!EnsureRoom(&model->constraints, model->constraintCount)) return false;
  if (model->constraintIndex == nullptr) model->constraintIndex = NewPpdRecord<PpdConstraintIndex>();
  if (model->constraintIndex == nullptr) return false;
  void* room = TakePpdSlabRecord(&model->constraintIndex->records, sizeof(PpdConstraint),
                                 kConstraintsPerBlock);
  if (room == nullptr) return false;
  PpdConstraint* constraint = new (room) PpdConstraint();
  model->constraints[model->constraintCount++] = constraint;
  const PpdText** const fields[4] = {&constraint->featureKeyword1, &constraint->option1,
                                     &constraint->featureKeyword2, &constraint->option2};
  int next = 0;
  while (next < 4) {
    if (b.NextValueToken() != ValueRead::kValue) return true;
    const bool bKeyword = b.tokenLength > 0 && b.token()[0] == '*';
    if (next == 1 && bKeyword) next = 2;
    if (next == 3 && bKeyword) {
      b.bTokenPending = true;
      return true;
    }
    AssignPpdText(&b.constraintText, b.token(), b.tokenLength);
    const bool bOption = next == 1 || next == 3;
    if (bOption && b.tokenLength > 0 && b.constraintText.length == 0) {
      *fields[next++] = &kOverlongOptionText;
      continue;
    }
    const PpdText* pooled = InternPpdText(&model->constraintIndex->texts, b.constraintText);
    if (pooled == nullptr) return false;
    *fields[next++] = pooled;
  }
  return true;
}

// Returns false when parsing must end.
bool HandleToken(ModelBuilder& b) {
  PpdModel* model = b.model;
  switch (LookupPpdKeyword(b.token())) {
    case PPDKEY_MODELNAME:
      return b.ReadLineValue(&model->modelName) != ValueRead::kEndOfInput;
    case PPDKEY_PRODUCT:
      return b.ReadLineValue(&model->product) != ValueRead::kEndOfInput;
    case PPDKEY_MANUFACTURER:
      return b.ReadLineValue(&model->manufacturer) != ValueRead::kEndOfInput;
    case PPDKEY_LANGUAGEENCODING:
      return b.ReadLineValue(&model->languageEncoding) != ValueRead::kEndOfInput;
    case PPDKEY_LANGUAGEVERSION:
      return b.ReadLineValue(&model->languageVersion) != ValueRead::kEndOfInput;
    case PPDKEY_OPENGROUP:
      ClearPpdText(&b.groupKeyword);
      ClearPpdText(&b.groupTranslation);
      return b.ReadLineNameAndTranslation(&b.groupKeyword, &b.groupTranslation) !=
             ValueRead::kEndOfInput;
    case PPDKEY_CLOSEGROUP:
      ClearPpdText(&b.groupKeyword);
      ClearPpdText(&b.groupTranslation);
      return true;
    case PPDKEY_OPENUI:
      return HandleOpenUI(b);
    case PPDKEY_UICONSTRAINTS:
      return HandleUIConstraints(b);
    default:
      return true;
  }
}

void ParsePpdFile(ModelBuilder& b) {
  PpdModel* model = b.model;
  model->features = AllocateArray<PpdFeature>();
  model->installables = AllocateArray<InstallableSetting>();
  model->constraints = AllocateArray<PpdConstraint>();
  if (model->features == nullptr || model->installables == nullptr ||
      model->constraints == nullptr) {
    return;
  }
  while (b.NextToken() && HandleToken(b)) {
  }
}

}  // namespace

PpdModel* BuildPpdModel(PpdReadFunction read, void* file, size_t blockBytes) {
  PpdModel* model = NewPpdRecord<PpdModel>();
  if (model == nullptr) return nullptr;
  model->tokenBuffer = static_cast<char16_t*>(PpdMalloc(kPpdTokenCapacity * sizeof(char16_t)));
  model->source = NewPpdRecord<PpdByteSource>(read, file);
  if (model->tokenBuffer != nullptr && model->source != nullptr) {
    model->source->blockBytes = blockBytes;
    TakePpdFileInBlocks(model->source);
    ModelBuilder builder(model);
    ParsePpdFile(builder);
    EvaluateInstallableConstraints(model);
  }
  PpdFree(model->tokenBuffer);
  model->tokenBuffer = nullptr;
  delete model->source;
  model->source = nullptr;
  return model;
}
