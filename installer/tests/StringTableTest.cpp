// The string tables stored in Kestrup.exe: every language has every entry,
// the texts that tests elsewhere do not show are checked here.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>

namespace {

// The entries of one language's table, read from the program's resources.
std::map<UINT, std::wstring> ReadTable(HMODULE hModule, LANGID language) {
  std::map<UINT, std::wstring> entries;
  for (UINT block = 0; block < 4096; ++block) {
    HRSRC hInfo = FindResourceExW(hModule, MAKEINTRESOURCEW(6),  // RT_STRING
                                  MAKEINTRESOURCEW(block + 1), language);
    if (!hInfo) continue;
    const auto* pData = static_cast<const WCHAR*>(LockResource(LoadResource(hModule, hInfo)));
    for (UINT i = 0; i < 16; ++i) {
      const UINT length = *pData++;
      if (length) entries[block * 16 + i] = std::wstring(pData, length);
      pData += length;
    }
  }
  return entries;
}

class StringTableTest : public testing::Test {
protected:
  void SetUp() override {
    const char* path = getenv("KESTRUP_EXE");
    ASSERT_NE(nullptr, path) << "KESTRUP_EXE names the program under test";
    const std::string narrow(path);
    hModule = LoadLibraryExW(std::wstring(narrow.begin(), narrow.end()).c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, hModule) << path;
  }
  void TearDown() override {
    if (hModule) FreeLibrary(hModule);
  }
  HMODULE hModule = nullptr;
};

struct LanguageRow {
  LANGID id;
  const wchar_t* file;
  const wchar_t* decline;
  const wchar_t* unsupported;
};

const LanguageRow kLanguages[] = {
    {0x0409, L"EULA_EN.txt", L"Decline",
     L"The printer driver and/or utilities cannot be installed your Windows system."},
    {0x0407, L"EULA_DE.txt", L"Ablehnen",
     L"Der Druckertreiber und/oder die Utilitys k\u00f6nnen auf diesem Windows-System nicht "
     L"installiert werden."},
    {0x000C, L"EULA_FR.txt", L"Refuser",
     L"Il n'est pas possible d'installer le pilote d'impression et/ou les utilitaires sur "
     L"votre syst\u00e8me Windows."},
    {0x000A, L"EULA_ES.txt", L"Rechazar",
     L"El controlador de impresora y/o las utilidades no se pueden instalar en su sistema "
     L"Windows."},
    {0x0010, L"EULA_IT.txt", L"Non accetto",
     L"Il driver stampante e/o le utility non possono essere installate nel sistema Windows."},
    {0x0013, L"EULA_DU.txt", L"Niet akkoord",
     L"De printerdriver en/of hulpprogramma's kunnen niet worden ge\u00efnstalleerd op uw "
     L"Windows-systeem."},
    {0x0016, L"EULA_PT.txt", L"Recusar",
     L"N\u00e3o \u00e9 poss\u00edvel instalar o controlador de impress\u00e3o e/ou os "
     L"utilit\u00e1rios no Windows que est\u00e1 a utilizar."},
    {0x001D, L"EULA_SV.txt", L"Accept. ej",
     L"Skrivardrivrutinen och/eller verktygen kan inte installeras i Windows-systemet."},
    {0x0014, L"EULA_NO.txt", L"Avsl\u00e5",
     L"Skriverdriveren og/eller verkt\u00f8yene kan ikke installeres p\u00e5 Windows-systemet "
     L"ditt."},
    {0x0406, L"EULA_DA.txt", L"Afsl\u00e5",
     L"Printerdriveren og/eller v\u00e6rkt\u00f8jet kan ikke installeres under dit "
     L"Windows-system."},
    {0x040B, L"EULA_FI.txt", L"En hyv\u00e4ksy",
     L"Tulostinohjainta ja/tai apuohjelmia ei voida asentaa "
     L"Windows-k\u00e4ytt\u00f6j\u00e4rjestelm\u00e4\u00e4si."},
    {0x0411, L"EULA_JA.txt", L"\u540c\u610f\u3057\u306a\u3044",
     L"\u304a\u4f7f\u3044\u306e\u30aa\u30da\u30ec\u30fc\u30c6\u30a3\u30f3\u30b0\u30b7\u30b9"
     L"\u30c6\u30e0\u306b\u306f\u30bb\u30c3\u30c8\u30a2\u30c3\u30d7\u3059\u308b\u3053\u3068"
     L"\u304c\u3067\u304d\u307e\u305b\u3093\u3002"},
};

TEST_F(StringTableTest, EveryLanguageHasTheElevenEntries) {
  const UINT ids[] = {128, 500, 600, 601, 1000, 1001, 1002, 1003, 10000, 10001, 10002};
  for (const LanguageRow& row : kLanguages) {
    const std::map<UINT, std::wstring> table = ReadTable(hModule, row.id);
    EXPECT_EQ(11u, table.size()) << std::hex << row.id;
    for (UINT id : ids) EXPECT_EQ(1u, table.count(id)) << std::hex << row.id << " " << std::dec << id;
  }
}

TEST_F(StringTableTest, FileNamesDeclineAndVersionMessagesAreExact) {
  for (const LanguageRow& row : kLanguages) {
    std::map<UINT, std::wstring> table = ReadTable(hModule, row.id);
    EXPECT_EQ(L"PostScript Printer Driver Installer", table[128]) << std::hex << row.id;
    EXPECT_EQ(row.file, table[500]) << std::hex << row.id;
    EXPECT_EQ(row.decline, table[1001]) << std::hex << row.id;
    EXPECT_EQ(row.unsupported, table[10001]) << std::hex << row.id;
  }
}

TEST_F(StringTableTest, InstructionBreaksIntoTwoLines) {
  std::map<UINT, std::wstring> english = ReadTable(hModule, 0x0409);
  EXPECT_EQ(L"Please read the following License Agreement. \nYou must accept the terms and "
            L"conditions of this Agreement to continue Setup.",
            english[10000]);
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD wLanguage, LONG_PTR lParam) {
  reinterpret_cast<std::set<LANGID>*>(lParam)->insert(wLanguage);
  return TRUE;
}

// Exactly the twelve tables; a neutral one would be chosen before every
// translation.
TEST_F(StringTableTest, StoresExactlyTheTwelveLanguages) {
  std::set<LANGID> stored;
  for (UINT block : {128u / 16 + 1, 500u / 16 + 1, 1000u / 16 + 1, 10000u / 16 + 1}) {
    stored.clear();
    EnumResourceLanguagesW(hModule, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(block),
                           CollectLanguage, reinterpret_cast<LONG_PTR>(&stored));
    std::set<LANGID> expected;
    for (const LanguageRow& row : kLanguages) expected.insert(row.id);
    EXPECT_EQ(expected, stored) << "block " << block;
  }
}

}  // namespace
