// Every label of the two pages shows its whole text, in each language of
// the library's string table and at the display's DPI. CTest runs this
// program once per user-interface language (LC_ALL under Wine: the page
// picks its texts, and Wine its font and fallback glyphs, by it) and per
// DPI, naming both in KORVAIN_EXPECT_LANGUAGE and KORVAIN_EXPECT_DPI; the
// table holds every language, and a run measures the rows of its own.
//
// Each text is measured as its control draws it: with the control's font,
// through DrawTextW with DT_CALCRECT and the format the control uses, in
// the part of the control that holds text (a check box or radio button
// gives the left of its rectangle to its glyph, a group box insets its
// caption), and it must fit that part in width and height.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "sheet_harness.h"

namespace {

enum Page { kLayout = 0, kJobSettings = 1 };

#ifdef KORVAIN_XP_VARIANT
constexpr bool kXpVariant = true;
#else
constexpr bool kXpVariant = false;
#endif

// The Layout page's controls that only the Vista-and-later variant shows.
bool FullLayoutOnly(int control) { return control == 11013 || control == 11015 || control == 11017; }

struct LabelRow {
  const char* language;
  Page page;
  int control;
  const wchar_t* text;  // as the page shows it in that language
};

const LabelRow kLabels[] = {
    // en
    {"en", kJobSettings, 10008, L"Confidential Job"},
    {"en", kJobSettings, 10009, L"Password Printing"},
    {"en", kJobSettings, 10005, L"User Name"},
    {"en", kJobSettings, 10006, L"Job Name"},
    {"en", kJobSettings, 10007, L"Password"},
    {"en", kLayout, 11003, L"&Orientation:"},
    {"en", kLayout, 11005, L"Print on &Both Sides:"},
    {"en", kLayout, 11007, L"Page O&rder:"},
    {"en", kLayout, 11009, L"Page Format"},
    {"en", kLayout, 11010, L"Page&s per Sheet"},
    {"en", kLayout, 11011, L"Boo&klet"},
    {"en", kLayout, 11013, L"Pages per Sheet &Layout:"},
    {"en", kLayout, 11015, L"Booklet Binding &Edge:"},
    {"en", kLayout, 11017, L"Dra&w Borderles"},
    // de
    {"de", kJobSettings, 10008, L"Einstellungen der Zugangskontrolle"},
    {"de", kJobSettings, 10009, L"Einstellungen der Zugangskontrolle speichern"},
    {"de", kJobSettings, 10005, L"Benutzername"},
    {"de", kJobSettings, 10006, L"Auftragsname"},
    {"de", kJobSettings, 10007, L"Kennwort"},
    {"de", kLayout, 11003, L"&Ausrichtung:"},
    {"de", kLayout, 11005, L"&Beidseitiger Druck:"},
    {"de", kLayout, 11007, L"&Seitenreihenfolge:"},
    {"de", kLayout, 11009, L"Seitenformat"},
    {"de", kLayout, 11010, L"Seiten pr&o Blatt"},
    {"de", kLayout, 11011, L"Bros&chüre"},
    {"de", kLayout, 11013, L"&Mehrfachblattlayout:"},
    {"de", kLayout, 11015, L"Brosc&hürenheftrand:"},
    {"de", kLayout, 11017, L"&Ränder zeichnen"},
    // fr
    {"fr", kJobSettings, 10008, L"Paramètres du travail"},
    {"fr", kJobSettings, 10009, L"Enregistrer les paramètres de contrôle des accès"},
    {"fr", kJobSettings, 10005, L"Nom de l'utilisateur"},
    {"fr", kJobSettings, 10006, L"Nom de job"},
    {"fr", kJobSettings, 10007, L"Mot de passe"},
    {"fr", kLayout, 11003, L"&Orientation:"},
    {"fr", kLayout, 11005, L"&Imprimer en recto verso:"},
    {"fr", kLayout, 11007, L"Or&dre des pages:"},
    {"fr", kLayout, 11009, L"Format de page"},
    {"fr", kLayout, 11010, L"Pages par fe&uille"},
    {"fr", kLayout, 11011, L"&Livret"},
    {"fr", kLayout, 11013, L"&Nombre de pages par feuille:"},
    {"fr", kLayout, 11015, L"&Bord de reliure du livret:"},
    {"fr", kLayout, 11017, L"&Traçage des bordures"},
    // it
    {"it", kJobSettings, 10008, L"Impostazioni Controllo accesso"},
    {"it", kJobSettings, 10009, L"Salva impostazioni Controllo accesso"},
    {"it", kJobSettings, 10005, L"Nome utente"},
    {"it", kJobSettings, 10006, L"Nome lavoro"},
    {"it", kJobSettings, 10007, L"Password"},
    {"it", kLayout, 11003, L"Orien&tamento:"},
    {"it", kLayout, 11005, L"&Stampa fronte retro:"},
    {"it", kLayout, 11007, L"Or&dine pagine:"},
    {"it", kLayout, 11009, L"Formato pagina"},
    {"it", kLayout, 11010, L"&Pagine per foglio"},
    {"it", kLayout, 11011, L"&Opuscolo"},
    {"it", kLayout, 11013, L"&Layout pagine per foglio:"},
    {"it", kLayout, 11015, L"&Margine rilegatura opuscolo:"},
    {"it", kLayout, 11017, L"Disegna &bordi"},
    // ja
    {"ja", kJobSettings, 10008, L"パスワード印刷"},
    {"ja", kJobSettings, 10009, L"パスワード印刷をする"},
    {"ja", kJobSettings, 10005, L"ユーザー名"},
    {"ja", kJobSettings, 10006, L"ジョブ名"},
    {"ja", kJobSettings, 10007, L"パスワード"},
    {"ja", kLayout, 11003, L"印刷の向き(&O):"},
    {"ja", kLayout, 11005, L"両面印刷(&B):"},
    {"ja", kLayout, 11007, L"ページの順番(&R):"},
    {"ja", kLayout, 11009, L"ページ形式"},
    {"ja", kLayout, 11010, L"シートごとのページ数(&S)"},
    {"ja", kLayout, 11011, L"小冊子(&K)"},
    {"ja", kLayout, 11013, L"シートごとのページレイアウト(&L):"},
    {"ja", kLayout, 11015, L"小冊子綴じ(&E):"},
    {"ja", kLayout, 11017, L"境界線を引く(&W)"},
    // nl
    {"nl", kJobSettings, 10008, L"Instellingen toegangscontrole"},
    {"nl", kJobSettings, 10009, L"Instellingen toegangscontrole opslaan"},
    {"nl", kJobSettings, 10005, L"Gebruikersnaam"},
    {"nl", kJobSettings, 10006, L"Naam afdruktaak"},
    {"nl", kJobSettings, 10007, L"Wachtwoord"},
    {"nl", kLayout, 11003, L"&Afdrukstand:"},
    {"nl", kLayout, 11005, L"&Dubbelzijdig afdrukken:"},
    {"nl", kLayout, 11007, L"&Paginavolgorde:"},
    {"nl", kLayout, 11009, L"Paginaindeling"},
    {"nl", kLayout, 11010, L"Pagina's pe&r vel"},
    {"nl", kLayout, 11011, L"&Brochure"},
    {"nl", kLayout, 11013, L"&Indeling van pagina's per vel:"},
    {"nl", kLayout, 11015, L"Rand &voor binden van brochure:"},
    {"nl", kLayout, 11017, L"Randen &tekenen"},
    // pt
    {"pt", kJobSettings, 10008, L"Definições de Tarefas"},
    {"pt", kJobSettings, 10009, L"Gravar definições de Controlo de Acesso"},
    {"pt", kJobSettings, 10005, L"Nome do Utilizador"},
    {"pt", kJobSettings, 10006, L"Nome da tarefa"},
    {"pt", kJobSettings, 10007, L"Palavra-passe"},
    {"pt", kLayout, 11003, L"O&rientação:"},
    {"pt", kLayout, 11005, L"Imprimir nos &dois lados:"},
    {"pt", kLayout, 11007, L"&Ordem das Páginas:"},
    {"pt", kLayout, 11009, L"Formato de página"},
    {"pt", kLayout, 11010, L"&Páginas por folha"},
    {"pt", kLayout, 11011, L"&Folheto"},
    {"pt", kLayout, 11013, L"&Esquema de Páginas por Folha:"},
    {"pt", kLayout, 11015, L"&Margem de Encadernação do Folheto:"},
    {"pt", kLayout, 11017, L"Desen&har limites"},
    // es
    {"es", kJobSettings, 10008, L"Ajustes del trabajo"},
    {"es", kJobSettings, 10009, L"Guardar los ajustes de Control de acceso"},
    {"es", kJobSettings, 10005, L"Nombre del usuario"},
    {"es", kJobSettings, 10006, L"Nombre de Trabajo"},
    {"es", kJobSettings, 10007, L"Contraseña"},
    {"es", kLayout, 11003, L"&Orientación:"},
    {"es", kLayout, 11005, L"&Imprimir en ambas caras:"},
    {"es", kLayout, 11007, L"O&rden de las páginas:"},
    {"es", kLayout, 11009, L"Formato de página"},
    {"es", kLayout, 11010, L"&Páginas por hoja"},
    {"es", kLayout, 11011, L"&Folleto"},
    {"es", kLayout, 11013, L"Diseño de páginas por &hojat:"},
    {"es", kLayout, 11015, L"&Borde de encuadernación de folleto:"},
    {"es", kLayout, 11017, L"&Dibujar bordes"},
};

// Both pages shown once, so each has its window and its localized labels.
class BothPages {
 public:
  bool Open() {
    if (!sheet_.Open() || sheet_.AddPages() != S_OK || !sheet_.ShowSheet()) return false;
    if (!sheet_.SelectPage(kJobSettings) || !sheet_.SelectPage(kLayout)) return false;
    return Window(kLayout) != nullptr && Window(kJobSettings) != nullptr;
  }
  HWND Window(Page page) const { return sheet_.Page(page); }

 private:
  SheetHarness sheet_;
};

struct Measure {
  std::wstring text;
  SIZE needed;  // of the text, as DT_CALCRECT gives it within the room's width
  SIZE room;    // the part of the control that holds the text
  bool Fits() const { return needed.cx <= room.cx && needed.cy <= room.cy; }
};

// The format and the room of the control's text, as the control draws it.
// Statics without SS_LEFTNOWORDWRAP wrap at words; buttons wrap only with
// BS_MULTILINE. A check box or radio button draws its glyph at the left and
// its text half a digit's width after it; the glyph is the larger of the
// system's check mark size and the common controls' own (12 pixels at 96
// DPI and one more). A group box draws its caption 7 pixels in from each
// side with a pixel of margin: here 8 pixels at 96 DPI, scaled.
UINT FormatAndRoom(HWND control, HDC dc, int dpi, RECT* room) {
  WCHAR klass[32] = {};
  GetClassNameW(control, klass, 32);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  GetClientRect(control, room);
  if (lstrcmpiW(klass, L"Static") == 0) {
    const LONG type = style & SS_TYPEMASK;
    return DT_LEFT | DT_EXPANDTABS | (type == SS_LEFTNOWORDWRAP ? DT_SINGLELINE : DT_WORDBREAK);
  }
  const UINT lines = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
  const LONG type = style & BS_TYPEMASK;
  if (type == BS_GROUPBOX) {
    InflateRect(room, -MulDiv(8, dpi, 96), 0);
    return DT_LEFT | lines;
  }
  int digit = 0;
  GetCharWidth32W(dc, L'0', L'0', &digit);
  const int glyph = std::max(GetSystemMetrics(SM_CXMENUCHECK), MulDiv(12, dpi, 96) + 1);
  room->left += glyph + digit / 2;
  return DT_LEFT | lines;
}

Measure MeasureLabel(HWND control, int dpi) {
  Measure m{};
  WCHAR text[256] = {};
  GetWindowTextW(control, text, 256);
  m.text = text;
  HDC dc = GetDC(control);
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT room = {};
  const UINT format = FormatAndRoom(control, dc, dpi, &room);
  m.room = {room.right - room.left, room.bottom - room.top};
  RECT needed = {0, 0, m.room.cx, 0};
  DrawTextW(dc, text, -1, &needed, format | DT_CALCRECT);
  m.needed = {needed.right - needed.left, needed.bottom - needed.top};
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return m;
}

std::string Narrow(const std::wstring& text) {
  std::string out(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

// Whether two controls' rectangles overlap without one holding the other
// (a group box holds its controls).
bool Collide(const RECT& a, const RECT& b) {
  RECT both = {};
  if (!IntersectRect(&both, &a, &b)) return false;
  return !EqualRect(&both, &a) && !EqualRect(&both, &b);
}

// Shown on its page, whichever page is in front.
bool Shown(HWND control) { return (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0; }

RECT RectOnPage(HWND page, HWND control) {
  RECT r = {};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class PageLabels : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* language = std::getenv("KORVAIN_EXPECT_LANGUAGE");
    const char* dpi = std::getenv("KORVAIN_EXPECT_DPI");
    ASSERT_NE(language, nullptr) << "KORVAIN_EXPECT_LANGUAGE is not set";
    ASSERT_NE(dpi, nullptr) << "KORVAIN_EXPECT_DPI is not set";
    language_ = language;
    HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    // Measured at any other DPI the run would prove nothing of this one.
    ASSERT_EQ(dpi_, std::atoi(dpi)) << "the display's DPI";
    ASSERT_TRUE(pages_.Open());
  }
  std::vector<LabelRow> RowsOfThisLanguage() const {
    std::vector<LabelRow> rows;
    for (const LabelRow& row : kLabels)
      if (language_ == row.language) rows.push_back(row);
    return rows;
  }
  std::string Where(const LabelRow& row) const {
    std::ostringstream s;
    s << language_ << " at " << dpi_ << " DPI, control " << row.control << " \"" << Narrow(row.text) << "\"";
    return s.str();
  }

  std::string language_;
  int dpi_ = 0;
  BothPages pages_;
};

TEST_F(PageLabels, EveryLabelShowsItsWholeText) {
  const std::vector<LabelRow> rows = RowsOfThisLanguage();
  ASSERT_EQ(rows.size(), 14u) << "rows for " << language_;
  for (const LabelRow& row : rows) {
    HWND control = GetDlgItem(pages_.Window(row.page), row.control);
    ASSERT_NE(control, nullptr) << Where(row);
    if (kXpVariant && FullLayoutOnly(row.control)) {
      EXPECT_FALSE(Shown(control)) << Where(row) << ": shown by the XP variant";
      continue;
    }
    const Measure m = MeasureLabel(control, dpi_);
    EXPECT_EQ(m.text, row.text) << Where(row) << ": the page shows \"" << Narrow(m.text) << "\"";
    EXPECT_TRUE(m.Fits()) << Where(row) << ": needs " << m.needed.cx << " x " << m.needed.cy
                          << " pixels, has " << m.room.cx << " x " << m.room.cy;
  }
}

// Labels made wider or taller stay on their page and off their neighbours.
TEST_F(PageLabels, LabelsStayOnThePageAndOffOtherControls) {
  for (const LabelRow& row : RowsOfThisLanguage()) {
    HWND page = pages_.Window(row.page);
    HWND control = GetDlgItem(page, row.control);
    ASSERT_NE(control, nullptr) << Where(row);
    if (!Shown(control)) continue;
    const RECT r = RectOnPage(page, control);
    RECT client = {};
    GetClientRect(page, &client);
    RECT inside = {};
    IntersectRect(&inside, &r, &client);
    EXPECT_TRUE(EqualRect(&inside, &r)) << Where(row) << ": reaches out of the page";
    for (HWND other = GetWindow(page, GW_CHILD); other != nullptr; other = GetWindow(other, GW_HWNDNEXT)) {
      if (other == control || !Shown(other)) continue;
      EXPECT_FALSE(Collide(r, RectOnPage(page, other)))
          << Where(row) << ": overlaps control " << GetDlgCtrlID(other);
    }
  }
}

}  // namespace
