// Dialog template 11001 as the library carries it, and the image list the
// page gives its lists.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

#include "layout_page_driver.h"

namespace {

// A reader of DLGTEMPLATEEX records: words, double words, and the
// "ordinal or string" fields.
class TemplateReader {
 public:
  TemplateReader(const BYTE* data, size_t size) : data_(data), size_(size) {}
  WORD Word() {
    WORD w = 0;
    if (at_ + 2 <= size_) std::memcpy(&w, data_ + at_, 2);
    at_ += 2;
    return w;
  }
  DWORD Dword() {
    const DWORD low = Word();
    return low | static_cast<DWORD>(Word()) << 16;
  }
  std::wstring Text() {
    std::wstring text;
    for (WORD c = Word(); c != 0 && at_ <= size_; c = Word()) text.push_back(static_cast<wchar_t>(c));
    return text;
  }
  // An ordinal comes back as "#<number>".
  std::wstring TextOrOrdinal() {
    WORD first = Word();
    if (first == 0xFFFF) return L"#" + std::to_wstring(Word());
    at_ -= 2;
    return Text();
  }
  void AlignToDword() { at_ = (at_ + 3) & ~size_t{3}; }
  void Skip(size_t bytes) { at_ += bytes; }

 private:
  const BYTE* data_;
  size_t size_;
  size_t at_ = 0;
};

struct ControlTemplate {
  DWORD style;
  short x, y, cx, cy;
  DWORD id;
  std::wstring cls;
  std::wstring title;
};

struct DialogTemplate {
  DWORD style = 0;
  short cx = 0, cy = 0;
  WORD points = 0;
  std::wstring font;
  std::wstring caption;
  std::vector<ControlTemplate> controls;
};

DialogTemplate ReadTemplate(HMODULE module) {
  DialogTemplate dialog;
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(11001), MAKEINTRESOURCEW(5));
  if (found == nullptr) return dialog;
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
  TemplateReader r(data, SizeofResource(module, found));
  EXPECT_EQ(r.Word(), 1);       // version
  EXPECT_EQ(r.Word(), 0xFFFF);  // extended template
  r.Dword();                    // help id
  r.Dword();                    // extended style
  dialog.style = r.Dword();
  const WORD count = r.Word();
  r.Word();
  r.Word();
  dialog.cx = static_cast<short>(r.Word());
  dialog.cy = static_cast<short>(r.Word());
  r.TextOrOrdinal();  // menu
  r.TextOrOrdinal();  // class
  dialog.caption = r.Text();
  dialog.points = r.Word();
  r.Word();  // weight
  r.Word();  // italic, character set
  dialog.font = r.Text();
  for (WORD i = 0; i < count; ++i) {
    r.AlignToDword();
    ControlTemplate c;
    r.Dword();  // help id
    r.Dword();  // extended style
    c.style = r.Dword();
    c.x = static_cast<short>(r.Word());
    c.y = static_cast<short>(r.Word());
    c.cx = static_cast<short>(r.Word());
    c.cy = static_cast<short>(r.Word());
    c.id = r.Dword();
    c.cls = r.TextOrOrdinal();
    c.title = r.TextOrOrdinal();
    r.Skip(r.Word());
    dialog.controls.push_back(c);
  }
  return dialog;
}

const ControlTemplate* Find(const DialogTemplate& dialog, DWORD id) {
  for (const ControlTemplate& c : dialog.controls)
    if (c.id == id) return &c;
  return nullptr;
}

constexpr wchar_t kButton[] = L"BUTTON";
constexpr wchar_t kStatic[] = L"STATIC";
constexpr wchar_t kComboBox[] = L"COMBOBOX";

// Class names compare without case; the predefined classes may be stored
// by their ordinals.
std::wstring ClassName(std::wstring stored) {
  if (stored == L"#128") return kButton;
  if (stored == L"#130") return kStatic;
  if (stored == L"#133") return kComboBox;
  for (wchar_t& c : stored) c = static_cast<wchar_t>(towupper(c));
  return stored;
}

TEST(LayoutTemplate, ControlsIdsStylesAndTheFontOfThisBuild) {
  LoadedPlugin plugin;
  ASSERT_TRUE(plugin.Load());
  const DialogTemplate dialog = ReadTemplate(plugin.module);
  EXPECT_EQ(dialog.cx, 320);
  EXPECT_EQ(dialog.cy, 346);
  EXPECT_EQ(dialog.caption, L"Layout");
  EXPECT_TRUE(dialog.style & WS_CHILD);
  EXPECT_TRUE(dialog.style & DS_SETFONT);
  if (kXpVariant) {
    EXPECT_EQ(dialog.points, 8);
    EXPECT_EQ(dialog.font, L"MS Shell Dlg");
  } else {
    EXPECT_EQ(dialog.points, 9);
    EXPECT_EQ(dialog.font, L"MS UI Gothic");
  }
  ASSERT_EQ(dialog.controls.size(), 16u);

  struct Expected {
    DWORD id;
    const wchar_t* cls;
    DWORD styleBits;  // all of these set
    const wchar_t* title;
  };
  const Expected expected[] = {
      {11003, kStatic, SS_LEFT, L"&Orientation:"},
      {11004, L"COMBOBOXEX32", CBS_DROPDOWNLIST, L""},
      {11005, kStatic, SS_LEFT, L"Print on &Both Sides:"},
      {11006, L"COMBOBOXEX32", CBS_DROPDOWNLIST, L""},
      {11007, kStatic, SS_LEFT, L"Page O&rder:"},
      {11008, L"COMBOBOXEX32", CBS_DROPDOWNLIST, L""},
      {11009, kButton, BS_GROUPBOX, L"Page Format"},
      {11010, kButton, BS_AUTORADIOBUTTON, L"Page&s per Sheet:"},
      {11011, kButton, BS_AUTORADIOBUTTON, L"Boo&klet"},
      {11012, kComboBox, CBS_DROPDOWNLIST | CBS_SORT, L""},
      {11013, kStatic, SS_LEFT, L"Pages per Sheet &Layout:"},
      {11014, kComboBox, CBS_DROPDOWNLIST | CBS_SORT, L""},
      {11015, kStatic, SS_LEFT, L"Booklet Binding &Edge:"},
      {11016, kComboBox, CBS_DROPDOWNLIST | CBS_SORT, L""},
      {11017, kButton, BS_AUTOCHECKBOX, L"Dra&w Borders:"},
      {11018, kStatic, SS_BLACKFRAME | SS_NOTIFY, L""},
  };
  for (const Expected& e : expected) {
    const ControlTemplate* c = Find(dialog, e.id);
    ASSERT_NE(c, nullptr) << e.id;
    EXPECT_EQ(ClassName(c->cls), e.cls) << e.id;
    EXPECT_EQ(c->style & e.styleBits, e.styleBits) << e.id;
    EXPECT_EQ(c->title, e.title) << e.id;
  }
  const ControlTemplate* frame = Find(dialog, 11018);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->x, 130);
  EXPECT_EQ(frame->y, 10);
  EXPECT_EQ(frame->cx, 155);
  EXPECT_EQ(frame->cy, 250);
}

typedef int(WINAPI* ImageCountProc)(HIMAGELIST);
typedef BOOL(WINAPI* ImageDrawProc)(HIMAGELIST, int, HDC, int, int, UINT);

// Draws `draw` on white into a 20 by 20 DIB and returns its pixels.
template <typename Draw>
std::vector<DWORD> Render(Draw draw) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = 20;
  info.bmiHeader.biHeight = -20;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  HDC dc = CreateCompatibleDC(nullptr);
  DWORD* bits = nullptr;
  HBITMAP bitmap =
      CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  PatBlt(dc, 0, 0, 20, 20, WHITENESS);
  draw(dc);
  GdiFlush();
  std::vector<DWORD> pixels(bits, bits + 400);
  for (DWORD& p : pixels) p &= 0xFFFFFF;
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

TEST(LayoutTemplate, ImageListHoldsTheSeventeenIconsInListOrder) {
  LayoutTree tree = FullTree();
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  HWND orientation = GetDlgItem(d.page(), kOrientation);
  auto list = reinterpret_cast<HIMAGELIST>(SendMessageW(orientation, CBEM_GETIMAGELIST, 0, 0));
  ASSERT_NE(list, nullptr);
  for (int control : {kTwoSided, kPageOrder}) {
    EXPECT_EQ(SendDlgItemMessageW(d.page(), control, CBEM_GETIMAGELIST, 0, 0),
              reinterpret_cast<LRESULT>(list));
  }
  // The image list functions of the common controls that made the list:
  // version 6, through the library's own manifest.
  ACTCTXW request = {};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  const std::wstring path = LoadedPlugin::LibraryPath();
  request.lpSource = path.c_str();
  request.lpResourceName = MAKEINTRESOURCEW(2);
  HANDLE context = CreateActCtxW(&request);
  ASSERT_NE(context, INVALID_HANDLE_VALUE);
  ULONG_PTR cookie = 0;
  ASSERT_TRUE(ActivateActCtx(context, &cookie));
  HMODULE controls = LoadLibraryW(L"comctl32.dll");
  DeactivateActCtx(0, cookie);
  ReleaseActCtx(context);
  ASSERT_NE(controls, nullptr);
  auto count = reinterpret_cast<ImageCountProc>(
      reinterpret_cast<void (*)()>(GetProcAddress(controls, "ImageList_GetImageCount")));
  auto draw = reinterpret_cast<ImageDrawProc>(
      reinterpret_cast<void (*)()>(GetProcAddress(controls, "ImageList_Draw")));
  ASSERT_NE(count, nullptr);
  ASSERT_NE(draw, nullptr);
  ASSERT_EQ(count(list), 17);

  const WORD icons[] = {12011, 12012, 12013, 12014, 12015, 12016, 12021, 12022, 12023,
                        12024, 12025, 12026, 12027, 12028, 12029, 12030, 12001};
  const HMODULE module = d.sheet.plugin.module;
  for (int i = 0; i < 17; ++i) {
    HICON icon = static_cast<HICON>(
        LoadImageW(module, MAKEINTRESOURCEW(icons[i]), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    ASSERT_NE(icon, nullptr) << icons[i];
    const auto fromIcon = Render([&](HDC dc) { DrawIconEx(dc, 0, 0, icon, 20, 20, 0, nullptr, DI_NORMAL); });
    const auto fromList = Render([&](HDC dc) { draw(list, i, dc, 0, 0, ILD_NORMAL); });
    DestroyIcon(icon);
    EXPECT_NE(fromIcon, std::vector<DWORD>(400, 0xFFFFFF)) << "icon " << icons[i] << " drew nothing";
    EXPECT_EQ(fromList, fromIcon) << "image " << i << " is not icon " << icons[i];
  }
}

}  // namespace
