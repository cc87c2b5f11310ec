// The string tables stored in Kestrup.exe: every language has every entry,
// each exactly as written.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
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

// Entries 500 to 10002 of each language, in the order of kRowIds; entry
// 128 is the same in every language.
const UINT kRowIds[] = {500, 600, 601, 1000, 1001, 1002, 1003, 10000, 10001, 10002};

struct LanguageRow {
  LANGID id;
  const wchar_t* texts[10];
};

const LanguageRow kLanguages[] = {
    {0x0409,
     {L"EULA_EN.txt",
      L"License Agreement",
      L"Printer Model",
      L"Accept",
      L"Decline",
      L"Cancel",
      L"Version:",
      L"Please read the following License Agreement. \nYou must accept the terms and conditions of this Agreement to continue Setup.",
      L"The printer driver and/or utilities cannot be installed your Windows system.",
      L"The printer cannot be installed."}},
    {0x0407,
     {L"EULA_DE.txt",
      L"Lizenzvereinbarung",
      L"Druckermodell",
      L"Akzeptieren",
      L"Ablehnen",
      L"Abbrechen",
      L"Versions:",
      L"Lesen Sie bitte die folgende Lizenzvereinbarung. \nSie m\u00fcssen die Bedingungen dieser Lizenzvereinbarung akzeptieren, um mit der Installation fortzufahren.",
      L"Der Druckertreiber und/oder die Utilitys k\u00f6nnen auf diesem Windows-System nicht installiert werden.",
      L"Der Drucker kann nicht installiert werden."}},
    {0x000C,
     {L"EULA_FR.txt",
      L"Contrat de licence",
      L"Mod\u00e8le d'imprimante",
      L"Accepter",
      L"Refuser",
      L"Annuler",
      L"Version:",
      L"Veuillez prendre connaissance du contrat de licence suivant. \nVous devez accepter les termes et les conditions de cette licence pour poursuivre l'installation.",
      L"Il n'est pas possible d'installer le pilote d'impression et/ou les utilitaires sur votre syst\u00e8me Windows.",
      L"L'imprimante ne peut \u00eatre install\u00e9e."}},
    {0x000A,
     {L"EULA_ES.txt",
      L"Acuerdo de Licencia",
      L"Modelo de Impresora",
      L"Aceptar",
      L"Rechazar",
      L"Cancelar",
      L"Versi\u00f3n:",
      L"Por favor, lea el siguiente Acuerdo de Licencia. \nDebe Aceptar los t\u00e9rminos y condiciones de este Acuerdo para Continuar la Instalaci\u00f3n.",
      L"El controlador de impresora y/o las utilidades no se pueden instalar en su sistema Windows.",
      L"No se puede instalar la impresora."}},
    {0x0010,
     {L"EULA_IT.txt",
      L"Licenza d'uso",
      L"Modello stampante",
      L"Accetto",
      L"Non accetto",
      L"Annulla",
      L"Versione:",
      L"Leggete la licenza d'uso che segue. \nPer proseguire l'installazione dovete accettare i termini e le condizioni della licenza.",
      L"Il driver stampante e/o le utility non possono essere installate nel sistema Windows.",
      L"La stampante non pu\u00f2 essere installata."}},
    {0x0013,
     {L"EULA_DU.txt",
      L"Gebruiksrechtovereenkomst",
      L"Printermodel",
      L"Akkoord",
      L"Niet akkoord",
      L"Annuleren",
      L"Versie:",
      L"Lees het volgende licentiecontract. \nU moet de de voorwaarden van dit contract aanvaarden om verder te gaan met de setup.",
      L"De printerdriver en/of hulpprogramma's kunnen niet worden ge\u00efnstalleerd op uw Windows-systeem.",
      L"De printer kan niet worden ge\u00efnstalleerd."}},
    {0x0016,
     {L"EULA_PT.txt",
      L"Acordo de Licen\u00e7a",
      L"Modelo da Impressora",
      L"Aceitar",
      L"Recusar",
      L"Cancelar",
      L"Vers\u00f5es:",
      L"Leia o seguinte Acordo de Licen\u00e7a. \nTer\u00e1 de aceitar os termos e condi\u00e7\u00f5es deste Acordo para poder prosseguir com a instala\u00e7\u00e3o.",
      L"N\u00e3o \u00e9 poss\u00edvel instalar o controlador de impress\u00e3o e/ou os utilit\u00e1rios no Windows que est\u00e1 a utilizar.",
      L"N\u00e3o \u00e9 poss\u00edvel instalar a impressora."}},
    {0x001D,
     {L"EULA_SV.txt",
      L"Licensavtal",
      L"Skrivarmodell",
      L"Acceptera",
      L"Accept. ej",
      L"Avbryt",
      L"Version:",
      L"L\u00e4s igenom f\u00f6ljande licensavtal. \nDu m\u00e5ste acceptera villkoren i detta avtal f\u00f6r att kunna forts\u00e4tta installationen.",
      L"Skrivardrivrutinen och/eller verktygen kan inte installeras i Windows-systemet.",
      L"Skrivaren kan inte installeras."}},
    {0x0014,
     {L"EULA_NO.txt",
      L"Lisensavtale",
      L"Skrivermodell",
      L"Godta",
      L"Avsl\u00e5",
      L"Avbryt",
      L"Versjon:",
      L"Les gjennom den f\u00f8lgende lisensavtalen. \nDu m\u00e5 godta betingelsene og vilk\u00e5rene i avtalen for \u00e5 kunne fortsette installeringen.",
      L"Skriverdriveren og/eller verkt\u00f8yene kan ikke installeres p\u00e5 Windows-systemet ditt.",
      L"Skriveren kan ikke installeres."}},
    {0x0406,
     {L"EULA_DA.txt",
      L"Licensaftale",
      L"Printermodel",
      L"Accepter",
      L"Afsl\u00e5",
      L"Annuller",
      L"Version:",
      L"L\u00e6s f\u00f8lgende licensaftale. \nDu skal acceptere aftalens vilk\u00e5r og betingelser for at kunne forts\u00e6tte installationen.",
      L"Printerdriveren og/eller v\u00e6rkt\u00f8jet kan ikke installeres under dit Windows-system.",
      L"Printeren kan ikke installeres."}},
    {0x040B,
     {L"EULA_FI.txt",
      L"K\u00e4ytt\u00f6oikeussopimus",
      L"Tulostimen malli",
      L"Hyv\u00e4ksyn",
      L"En hyv\u00e4ksy",
      L"Peruuta",
      L"Versio:",
      L"Tutustu oheiseen k\u00e4ytt\u00f6oikeussopimukseen. \nAsennuksen jatkaminen edellytt\u00e4\u00e4 t\u00e4m\u00e4n sopimuksen ehtojen hyv\u00e4ksymist\u00e4.",
      L"Tulostinohjainta ja/tai apuohjelmia ei voida asentaa Windows-k\u00e4ytt\u00f6j\u00e4rjestelm\u00e4\u00e4si.",
      L"Tulostinta ei voida asentaa."}},
    {0x0411,
     {L"EULA_JA.txt",
      L"\u4f7f\u7528\u8a31\u8afe\u5951\u7d04\u66f8",
      L"\u30d7\u30ea\u30f3\u30bf\u30fc\u6a5f\u7a2e",
      L"\u540c\u610f\u3059\u308b",
      L"\u540c\u610f\u3057\u306a\u3044",
      L"\u30ad\u30e3\u30f3\u30bb\u30eb",
      L"\u30d0\u30fc\u30b8\u30e7\u30f3:",
      L"\u6b21\u306e\u4f7f\u7528\u8a31\u8afe\u5951\u7d04\u66f8\u3092\u304a\u8aad\u307f\u304f\u3060\u3055\u3044\u3002\n\u30bb\u30c3\u30c8\u30a2\u30c3\u30d7\u3092\u7d9a\u884c\u3059\u308b\u306b\u306f\u3001\u3053\u306e\u5951\u7d04\u3078\u306e\u540c\u610f\u304c\u5fc5\u8981\u3067\u3059\u3002",
      L"\u304a\u4f7f\u3044\u306e\u30aa\u30da\u30ec\u30fc\u30c6\u30a3\u30f3\u30b0\u30b7\u30b9\u30c6\u30e0\u306b\u306f\u30bb\u30c3\u30c8\u30a2\u30c3\u30d7\u3059\u308b\u3053\u3068\u304c\u3067\u304d\u307e\u305b\u3093\u3002",
      L"\u30d7\u30ea\u30f3\u30bf\u30fc\u306e\u30a4\u30f3\u30b9\u30c8\u30fc\u30eb\u306b\u5931\u6557\u3057\u307e\u3057\u305f\u3002"}},
};

TEST_F(StringTableTest, EveryLanguageHasTheElevenEntries) {
  const UINT ids[] = {128, 500, 600, 601, 1000, 1001, 1002, 1003, 10000, 10001, 10002};
  for (const LanguageRow& row : kLanguages) {
    const std::map<UINT, std::wstring> table = ReadTable(hModule, row.id);
    EXPECT_EQ(11u, table.size()) << std::hex << row.id;
    for (UINT id : ids) EXPECT_EQ(1u, table.count(id)) << std::hex << row.id << " " << std::dec << id;
  }
}

TEST_F(StringTableTest, EveryEntryIsExactInEveryLanguage) {
  for (const LanguageRow& row : kLanguages) {
    std::map<UINT, std::wstring> table = ReadTable(hModule, row.id);
    EXPECT_EQ(L"PostScript Printer Driver Installer", table[128]) << std::hex << row.id;
    for (size_t i = 0; i < std::size(kRowIds); ++i) {
      EXPECT_EQ(row.texts[i], table[kRowIds[i]])
          << std::hex << row.id << " " << std::dec << kRowIds[i];
    }
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
