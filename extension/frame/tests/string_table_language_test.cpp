// Which language of the library's string table the user gets. CTest runs
// this program once per user-interface language (LC_ALL under Wine) and names
// the expected language in KORVAIN_EXPECT_LANGUAGE.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "load_res_string.h"
#include "loaded_plugin.h"

namespace {

struct LanguageTexts {
  const char* language;
  const wchar_t* jobSettings;   // 15001
  const wchar_t* layout;        // 11002
  const wchar_t* passwordRule;  // 25003
  const wchar_t* shortEdge;     // 11066
};

const LanguageTexts kTexts[] = {
    {"en", L"Job Settings", L"Layout", L"Valid password must be at least 4 digits.",
     L"Flip on Short Egde"},
    {"de", L"Zugangskontrolle", L"Layout", L"Valid password must be at least 4 digits.",
     L"Kurze Seite"},
    {"fr", L"Param\u00e8tres du travail", L"Disposition",
     L"Valid password must be at least 4 digits.", L"Retourner sur les bords courts"},
    {"ja", L"\u30b8\u30e7\u30d6\u8a2d\u5b9a", L"\u30ec\u30a4\u30a2\u30a6\u30c8",
     L"\u30d1\u30b9\u30ef\u30fc\u30c9\u306b\u306f\uff14\u6841\u306e\u6570\u5b57\u304c\u5fc5\u8981"
     L"\u3067\u3059\u3002",
     L"\u77ed\u8fba\u3092\u7db4\u3058\u308b"},
    {"es", L"Control de acceso", L"Presentaci\u00f3n", L"Valid password must be at least 4 digits.",
     L"Orientaci\u00f3n vertical"},
};

std::wstring Load(HMODULE module, WORD id) {
  WCHAR* text = LoadResString(module, GetProcessHeap(), id);
  std::wstring result = text != nullptr ? text : L"(null)";
  if (text != nullptr) HeapFree(GetProcessHeap(), 0, text);
  return result;
}

TEST(StringTableLanguage, UserGetsTheTextsOfTheirLanguage) {
  const char* expected = std::getenv("KORVAIN_EXPECT_LANGUAGE");
  ASSERT_NE(expected, nullptr) << "KORVAIN_EXPECT_LANGUAGE is not set";
  const LanguageTexts* texts = nullptr;
  for (const LanguageTexts& t : kTexts)
    if (std::string(t.language) == expected) texts = &t;
  ASSERT_NE(texts, nullptr) << "no texts for " << expected;

  const HMODULE module = LoadLibraryW(LoadedPlugin::LibraryPath().c_str());
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(Load(module, 15001), texts->jobSettings);
  EXPECT_EQ(Load(module, 11002), texts->layout);
  EXPECT_EQ(Load(module, 25003), texts->passwordRule);
  EXPECT_EQ(Load(module, 11066), texts->shortEdge);
  // Texts that read the same in every language are there in each.
  EXPECT_EQ(Load(module, 11085), L"16");
  EXPECT_EQ(Load(module, 10013), L"Color Mode");
  FreeLibrary(module);
}

}  // namespace
