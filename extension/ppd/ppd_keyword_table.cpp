// The structure keywords, in ordinal UTF-16 order for the binary search.
#include "ppd_tokenizer.h"

namespace {

struct KeywordEntry {
  const char16_t* text;
  int id;
};

const KeywordEntry kStructureKeywords[] = {
    {u"", PPDKEY_NONE},
    {u"*?", PPDKEY_QUERY},
    {u"*CloseGroup", PPDKEY_CLOSEGROUP},
    {u"*CloseUI", PPDKEY_CLOSEUI},
    {u"*Default", PPDKEY_DEFAULT},
    {u"*End", PPDKEY_END},
    {u"*FileVersion", PPDKEY_FILEVERSION},
    {u"*FormatVersion", PPDKEY_FORMATVERSION},
    {u"*LanguageEncoding", PPDKEY_LANGUAGEENCODING},
    {u"*LanguageVersion", PPDKEY_LANGUAGEVERSION},
    {u"*Manufacturer", PPDKEY_MANUFACTURER},
    {u"*ModelName", PPDKEY_MODELNAME},
    {u"*NickName", PPDKEY_NICKNAME},
    {u"*OpenGroup", PPDKEY_OPENGROUP},
    {u"*OpenUI", PPDKEY_OPENUI},
    {u"*OrderDependency", PPDKEY_ORDERDEPENDENCY},
    {u"*PCFileName", PPDKEY_PCFILENAME},
    {u"*PPD-Adobe", PPDKEY_PPDADOBE},
    {u"*PSVersion", PPDKEY_PSVERSION},
    {u"*Product", PPDKEY_PRODUCT},
    {u"*ShortNickName", PPDKEY_SHORTNICKNAME},
    {u"*UIConstraints", PPDKEY_UICONSTRAINTS},
};
constexpr int kKeywordCount = sizeof kStructureKeywords / sizeof kStructureKeywords[0];
static_assert(kKeywordCount == 22, "the structure keyword table has 22 entries");

int CompareUnits(const char16_t* a, const char16_t* b) {
  for (;; ++a, ++b) {
    if (*a != *b) return *a < *b ? -1 : 1;
    if (*a == 0) return 0;
  }
}

}  // namespace

int LookupPpdKeyword(const char16_t* token) {
  // Every entry but the empty one (id 0 as well) begins with '*': most
  // tokens of a file are values and end here.
  if (token == nullptr || token[0] != '*') return PPDKEY_NONE;
  int lo = -1;
  int hi = kKeywordCount;
  while (hi - lo > 1) {
    const int mid = (lo + hi) / 2;
    const int order = CompareUnits(kStructureKeywords[mid].text, token);
    if (order < 0) {
      lo = mid;
    } else if (order > 0) {
      hi = mid;
    } else {
      return kStructureKeywords[mid].id;
    }
  }
  return PPDKEY_NONE;
}
