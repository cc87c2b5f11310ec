// The preview drawn on pixels: into a DIB section with the library's own
// bitmaps, and on the Layout page itself through its WM_PAINT.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "layout_page_driver.h"
#include "layout_preview.h"

namespace {

constexpr int kCanvas = 320;
constexpr COLORREF kOutside = RGB(255, 0, 255);
constexpr COLORREF kTestWindowColour = RGB(200, 220, 240);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kShadow = RGB(0, 90, 90);
constexpr COLORREF kBinding = RGB(0, 160, 0);

// A window colour no picture uses, so the fill can be told from white paper.
class DistinctWindowColour {
 public:
  DistinctWindowColour() : saved_(GetSysColor(COLOR_WINDOW)) { Set(kTestWindowColour); }
  ~DistinctWindowColour() { Set(saved_); }

 private:
  static void Set(COLORREF colour) {
    const INT element = COLOR_WINDOW;
    SetSysColors(1, &element, &colour);
  }
  COLORREF saved_;
};

// A 32-bit top-down DIB section in a memory context, filled with kOutside.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                               nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
    for (int i = 0; i < width * height; ++i) bits_[i] = Pack(kOutside);
  }
  ~Canvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const {
    GdiFlush();
    const uint32_t p = bits_[y * width_ + x];
    return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
  }
  std::vector<uint32_t> Pixels() const {
    GdiFlush();
    std::vector<uint32_t> pixels(bits_, bits_ + width_ * height_);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
  }
  int Count(COLORREF colour) const {
    int n = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) n += At(x, y) == colour ? 1 : 0;
    return n;
  }

 private:
  static uint32_t Pack(COLORREF c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
  uint32_t* bits_ = nullptr;
};

class PreviewDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(plugin_.Load());
    module_ = plugin_.module;
  }
  void TearDown() override { plugin_.Unload(); }

  void Draw(Canvas& canvas, RECT frame, int main, int overlay) {
    PreviewPictures pictures;
    pictures.mainId = main;
    pictures.overlayId = overlay;
    DrawPreviewPictures(canvas.dc(), frame, module_, pictures);
  }

  DistinctWindowColour colour_;
  LoadedPlugin plugin_;
  HMODULE module_ = nullptr;
};

// The portrait sheet stands at (47, 10), 106 by 150, in every portrait
// single-page picture; its shadow falls 3 pixels to the right and below.
TEST_F(PreviewDrawing, PictureIsCentredInTheWindowColourWithoutItsTeal) {
  Canvas canvas(kCanvas, kCanvas);
  const RECT frame = {10, 20, 250, 270};  // 240 by 250
  Draw(canvas, frame, 12101, kNoPicture);
  const int x = 10 + (240 - 200) / 2;
  const int y = 20 + (250 - 170) / 2;
  EXPECT_EQ(canvas.At(10, 20), kTestWindowColour);
  EXPECT_EQ(canvas.At(249, 269), kTestWindowColour);
  EXPECT_EQ(canvas.At(x, y), kTestWindowColour);  // the picture's teal corner
  EXPECT_EQ(canvas.At(x + 47, y + 80), kBlack);    // the sheet's left edge
  EXPECT_EQ(canvas.At(x + 46, y + 80), kTestWindowColour);
  EXPECT_EQ(canvas.At(x + 47 + 106 + 1, y + 80), kShadow);
  EXPECT_EQ(canvas.At(9, 20), kOutside);
  EXPECT_EQ(canvas.At(250, 100), kOutside);
  EXPECT_EQ(canvas.Count(RGB(0, 128, 128)), 0);
}

TEST_F(PreviewDrawing, OverlayAddsTheBindingLineAndCutsTheTurningCorner) {
  Canvas canvas(kCanvas, kCanvas);
  const RECT frame = {0, 0, 200, 170};
  Draw(canvas, frame, 12101, 12302);  // top binding
  EXPECT_EQ(canvas.At(47, 80), kBlack);  // under the pink: the main picture
  EXPECT_GT(canvas.Count(kBinding), 40);
  EXPECT_EQ(canvas.At(47 + 2, 10 + 2), kBinding);
  EXPECT_EQ(canvas.Count(RGB(255, 174, 201)), 0);
  EXPECT_EQ(canvas.At(47 + 106 - 2, 10 + 150 - 2), kTestWindowColour);

  Canvas alone(kCanvas, kCanvas);
  Draw(alone, frame, 12101, kNoPicture);
  EXPECT_EQ(alone.Count(kBinding), 0);
  EXPECT_EQ(alone.At(47 + 106 - 2, 10 + 150 - 2), RGB(255, 255, 255));
}

TEST_F(PreviewDrawing, FrameSmallerThanThePictureCentresAllTheSame) {
  struct Case { RECT frame; int x; int y; };
  const Case cases[] = {
      {{60, 70, 160, 150}, 60 + (100 - 200) / 2, 70 + (80 - 170) / 2},
      {{60, 70, 161, 151}, 60 + (101 - 200) / 2, 70 + (81 - 170) / 2},  // -49, not -50
  };
  for (const Case& c : cases) {
    Canvas canvas(kCanvas, kCanvas);
    Draw(canvas, c.frame, 12101, kNoPicture);
    EXPECT_EQ(canvas.At(c.x + 47, c.y + 80), kBlack) << c.x;
    EXPECT_EQ(canvas.At(c.x + 46, c.y + 80), kTestWindowColour) << c.x;
    EXPECT_EQ(canvas.At(c.x + 47 + 106 + 1, c.y + 80), kShadow) << c.x;
    // The buffer's window colour reaches past the frame with the picture.
    EXPECT_EQ(canvas.At(c.x + 1, c.y + 1), kTestWindowColour) << c.x;
    EXPECT_EQ(canvas.At(c.x + 200, c.y + 1), kOutside) << c.x;
  }
}

TEST_F(PreviewDrawing, MissingPicturesLeaveTheWindowColourOrTheMainPictureAlone) {
  const RECT frame = {0, 0, 200, 170};
  for (int missing : {kNoPicture, 12102}) {
    Canvas canvas(kCanvas, kCanvas);
    Draw(canvas, frame, missing, 12302);
    EXPECT_EQ(canvas.Count(kTestWindowColour), 200 * 170) << missing;
  }
  Canvas alone(kCanvas, kCanvas);
  Draw(alone, frame, 12151, kNoPicture);
  Canvas missingOverlay(kCanvas, kCanvas);
  Draw(missingOverlay, frame, 12151, 12303);
  EXPECT_EQ(alone.Pixels(), missingOverlay.Pixels());
}

int g_refusedImageLibraryLoads = 0;

HMODULE WINAPI RefuseImageLibrary(LPCWSTR name) {
  if (lstrcmpiW(name, L"Msimg32.dll") == 0) {
    ++g_refusedImageLibraryLoads;
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return LoadLibraryExW(name, nullptr, 0);
}

// Without TransparentBlt the masks give the same picture.
TEST_F(PreviewDrawing, MaskFallbackGivesTheSamePicture) {
  const RECT frame = {7, 9, 260, 230};
  for (int overlay : {12301, 12325}) {
    Canvas system(kCanvas, kCanvas);
    Draw(system, frame, overlay == 12301 ? 12101 : 12255, overlay);
    void* original = ReplaceImport(GetModuleHandleW(nullptr), "kernel32.dll", "LoadLibraryW",
                                   reinterpret_cast<void*>(&RefuseImageLibrary));
    ASSERT_NE(original, nullptr);
    Canvas masks(kCanvas, kCanvas);
    Draw(masks, frame, overlay == 12301 ? 12101 : 12255, overlay);
    ReplaceImport(GetModuleHandleW(nullptr), "kernel32.dll", "LoadLibraryW", original);
    EXPECT_EQ(system.Pixels(), masks.Pixels()) << overlay;
    EXPECT_GT(masks.Count(kBinding), 40) << overlay;
  }
}

TEST_F(PreviewDrawing, TransparentCopyWithoutContextsDoesNothing) {
  Canvas canvas(8, 8);
  TransparentCopy(nullptr, 0, 0, 8, 8, canvas.dc(), 0, 0, 8, 8, kOutside);
  TransparentCopy(canvas.dc(), 0, 0, 8, 8, nullptr, 0, 0, 8, 8, kOutside);
  EXPECT_EQ(canvas.Count(kOutside), 64);
}

// ---- the page's own paint ----

// What the page shows in its frame, read back from the screen.
struct FrameShown {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0xRRGGBB, top row first
  COLORREF At(int x, int y) const {
    const uint32_t p = pixels[y * width + x];
    return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
  }
  int Count(COLORREF colour) const {
    int n = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) n += At(x, y) == colour ? 1 : 0;
    return n;
  }
};

FrameShown FrameOnScreen(HWND page) {
  RECT frame;
  GetWindowRect(GetDlgItem(page, kPreview), &frame);
  MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&frame), 2);
  FrameShown shown;
  shown.width = frame.right - frame.left;
  shown.height = frame.bottom - frame.top;
  Canvas copy(shown.width, shown.height);
  HDC screen = GetDC(page);
  BitBlt(copy.dc(), 0, 0, shown.width, shown.height, screen, frame.left, frame.top, SRCCOPY);
  ReleaseDC(page, screen);
  shown.pixels = copy.Pixels();
  return shown;
}

// One pixel of a picture, at its place within the 200 by 170 picture, and
// the colour the frame must show there.
struct Probe {
  const char* what;
  int x;
  int y;
  COLORREF colour;
};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kFold = RGB(210, 210, 210);
constexpr COLORREF kFirstPageBar = RGB(220, 40, 40);
constexpr COLORREF kSecondPageBar = RGB(40, 90, 220);
constexpr COLORREF kThirdPageBar = RGB(240, 170, 0);

// The pictures' geometry. The portrait sheet of four pages stands at
// (47, 10), 106 by 150; its top pages are 42 pixels wide at x 53 and 105,
// with their colour bar on rows 21 to 24. The overlay of that sheet paints
// it pink, keeps teal around it (so the main picture's shadow goes), marks
// a dashed binding line on columns 49 and 50 from row 12, and cuts the
// bottom right corner to teal beside a grey fold.
const Probe kFourUpLongEdgeProbes[] = {
    {"teal corner of the main picture", 1, 1, kTestWindowColour},
    {"left of the sheet", 46, 80, kTestWindowColour},
    {"sheet's left edge, under the pink", 47, 80, kBlack},
    {"above the sheet", 80, 9, kTestWindowColour},
    {"sheet's top edge", 80, 10, kBlack},
    {"sheet's right edge", 152, 80, kBlack},
    {"the overlay's teal over the shadow on the right", 154, 80, kTestWindowColour},
    {"sheet's bottom edge", 80, 159, kBlack},
    {"the overlay's teal over the shadow below", 80, 161, kTestWindowColour},
    {"binding line, first column", 49, 12, kBinding},
    {"binding line, second column", 50, 12, kBinding},
    {"binding line's first gap", 49, 17, kWhite},
    {"no binding along the top", 60, 12, kWhite},
    {"overlay's teal corner", 151, 158, kTestWindowColour},
    {"fold of the turning corner", 125, 146, kFold},
    {"bar of the top left page", 70, 22, kXpVariant ? kFirstPageBar : kThirdPageBar},
    {"bar of the top right page", 120, 22, kXpVariant ? kSecondPageBar : kFirstPageBar},
};

// The colour booklet bound on the left: the opened sheet at (8, 30), 150
// by 106, and the folded copy at (164, 60), 28 by 40, with its green
// spine on columns 164 to 166.
const Probe kLeftBookletProbes[] = {
    {"teal corner of the main picture", 1, 1, kTestWindowColour},
    {"left of the sheet", 7, 80, kTestWindowColour},
    {"sheet's left edge", 8, 80, kBlack},
    {"above the sheet", 80, 29, kTestWindowColour},
    {"sheet's top edge", 80, 30, kBlack},
    {"spine on the left edge", 165, 80, kBinding},
    {"no spine on the right edge", 190, 80, kWhite},
    {"no overlay's binding line", 49, 12, kTestWindowColour},
    {"no overlay's fold", 125, 146, kTestWindowColour},
};

std::string Hex(COLORREF colour) {
  char text[16];
  wsprintfA(text, "%06lX", static_cast<unsigned long>(colour));
  return text;
}

// Checks what the page shows against the probes of its picture, placed as
// the picture centres in the frame (unscaled, offsets truncated toward
// zero), and the frame around it: the control's line on its four sides,
// and the window colour between that line and the picture, with neither
// key colour left anywhere.
template <size_t N>
void ExpectPicture(const FrameShown& shown, const Probe (&probes)[N], const char* what) {
  ASSERT_GT(shown.width, 2);
  ASSERT_GT(shown.height, 2);
  const int x0 = (shown.width - 200) / 2;
  const int y0 = (shown.height - 170) / 2;
  for (const Probe& probe : probes) {
    const COLORREF got = shown.At(x0 + probe.x, y0 + probe.y);
    EXPECT_EQ(got, probe.colour) << what << ": " << probe.what << " at (" << probe.x << ", "
                                 << probe.y << ") of the picture, placed at (" << x0 << ", "
                                 << y0 << "), shows " << Hex(got);
  }
  const int midX = shown.width / 2;
  const int midY = shown.height / 2;
  const COLORREF line = shown.At(0, midY);
  EXPECT_NE(line, kTestWindowColour) << what << ": the frame's line";
  EXPECT_EQ(shown.At(shown.width - 1, midY), line) << what << ": the frame's right line";
  EXPECT_EQ(shown.At(midX, 0), line) << what << ": the frame's top line";
  EXPECT_EQ(shown.At(midX, shown.height - 1), line) << what << ": the frame's bottom line";
  if (x0 > 1) {
    EXPECT_EQ(shown.At(1, midY), kTestWindowColour) << what << ": left margin";
  }
  if (y0 > 1) {
    EXPECT_EQ(shown.At(midX, 1), kTestWindowColour) << what << ": top margin";
  }
  EXPECT_EQ(shown.Count(kPreviewBackgroundKey), 0) << what;
  EXPECT_EQ(shown.Count(kOverlaySheetKey), 0) << what;
}

// Four pages per sheet, down then left, flipped on the long edge: picture
// 12112 (12109 in the XP variant, which reads no arrangement) with overlay
// 12307.
LayoutTree FourUpLongEdgeTree() {
  LayoutTree tree = FullTree();
  tree.Item(DMPUB_NUP).Sel = 2;
  tree.Item(DMPUB_NUP_DIRECTION).Sel = 3;
  tree.Item(DMPUB_DUPLEX).Sel = 2;
  return tree;
}

TEST(LayoutPagePreview, PagePaintsThePicturesOfItsItemsAndFollowsChanges) {
  DistinctWindowColour colour;
  LayoutTree tree = FourUpLongEdgeTree();
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  UpdateWindow(d.page());
  ExpectPicture(FrameOnScreen(d.page()), kFourUpLongEdgeProbes, "four pages, long edge");

  d.Click(kBookletButton);  // two-sided stays on the long edge; booklets have no overlay
  UpdateWindow(d.page());  // the page asked for its repaint
  ExpectPicture(FrameOnScreen(d.page()), kLeftBookletProbes, "booklet");
}

// The shipped library's own fallback: its page paints the same picture when
// the library cannot load Msimg32.dll.
TEST(LayoutPagePreview, PagePaintsWithMasksWhenTheSystemLacksTransparentCopy) {
  DistinctWindowColour colour;
  LayoutTree tree = FourUpLongEdgeTree();
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  const HMODULE module = d.sheet.plugin.module;
  g_refusedImageLibraryLoads = 0;
  void* original = ReplaceImport(module, "kernel32.dll", "LoadLibraryW",
                                 reinterpret_cast<void*>(&RefuseImageLibrary));
  ASSERT_NE(original, nullptr);
  InvalidateRect(d.page(), nullptr, TRUE);
  UpdateWindow(d.page());
  const FrameShown shown = FrameOnScreen(d.page());
  ReplaceImport(module, "kernel32.dll", "LoadLibraryW", original);
  EXPECT_GT(g_refusedImageLibraryLoads, 0);  // the paint went the masks' way
  ExpectPicture(shown, kFourUpLongEdgeProbes, "four pages, long edge, masks");
}

// Counts the paints of every control on the page.
class ControlPaints {
 public:
  explicit ControlPaints(HWND page) {
    for (HWND child = GetWindow(page, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      originals()[child] = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Count)));
    }
  }
  ~ControlPaints() {
    for (const auto& [child, original] : originals())
      SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    originals().clear();
    painted().clear();
  }
  // The ids of the controls painted since the last call.
  std::set<int> Take() {
    std::set<int> ids = std::move(painted());
    painted().clear();
    return ids;
  }

 private:
  static std::map<HWND, WNDPROC>& originals() {
    static std::map<HWND, WNDPROC> map;
    return map;
  }
  static std::set<int>& painted() {
    static std::set<int> ids;
    return ids;
  }
  static LRESULT CALLBACK Count(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) painted().insert(GetDlgCtrlID(control));
    return CallWindowProcW(originals()[control], control, message, wParam, lParam);
  }
};

// A change repaints the preview and what the change itself touched, never
// the page's other controls: the page redraws the inside of the frame, and
// the frame's own control, which draws only its line, is left alone.
TEST(LayoutPagePreview, AChangeRepaintsThePreviewAndTheChangedControlsOnly) {
  struct Case {
    const char* what;
    int list;
    int position;
  };
  std::vector<Case> cases = {
      {"page order", kPageOrder, 1},
      {"landscape to rotated landscape: the two-sided pictures stay", kOrientation, 2},
      {"four to six pages per sheet, borders on", kPagesPerSheet, 3},
  };
  if (!kXpVariant) cases.push_back({"arrangement", kArrangement, 1});
  LayoutTree tree = FullTree();
  tree.Item(DMPUB_ORIENTATION).Sel = 1;
  tree.Item(DMPUB_DUPLEX).Sel = 1;
  tree.Item(DMPUB_NUP).Sel = 2;
  tree.Item(DMPUB_NUP).Flags |= OPTIF_ECB_CHECKED;
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  UpdateWindow(d.page());
  ControlPaints paints(d.page());
  RECT frame;
  GetWindowRect(GetDlgItem(d.page(), kPreview), &frame);
  MapWindowPoints(nullptr, d.page(), reinterpret_cast<POINT*>(&frame), 2);
  for (const Case& c : cases) {
    d.Choose(c.list, c.position);
    RECT update = {};
    RECT inFrame;
    EXPECT_TRUE(GetUpdateRect(d.page(), &update, FALSE)) << c.what;
    EXPECT_TRUE(IntersectRect(&inFrame, &update, &frame) && EqualRect(&inFrame, &update))
        << c.what;
    UpdateWindow(d.page());
    std::set<int> painted = paints.Take();
    painted.erase(c.list);
    EXPECT_EQ(painted, std::set<int>{}) << c.what;
  }
}

// Import hooks of the library: what its paints take from the system.
struct PaintTakings {
  std::vector<HGDIOBJ> loadedBitmaps;
  std::set<HGDIOBJ> deleted;
  int imageLibraryLoads = 0;
  int imageLibraryFrees = 0;
  HMODULE imageLibrary = nullptr;
};
PaintTakings* g_takings = nullptr;

HBITMAP WINAPI CountedLoadBitmap(HINSTANCE module, LPCWSTR name) {
  HBITMAP bitmap = LoadBitmapW(module, name);
  if (bitmap != nullptr) g_takings->loadedBitmaps.push_back(bitmap);
  return bitmap;
}
BOOL WINAPI CountedDeleteObject(HGDIOBJ object) {
  g_takings->deleted.insert(object);
  return DeleteObject(object);
}
HMODULE WINAPI CountedLoadLibrary(LPCWSTR name) {
  HMODULE library = LoadLibraryW(name);
  if (lstrcmpiW(name, L"Msimg32.dll") == 0) {
    ++g_takings->imageLibraryLoads;
    g_takings->imageLibrary = library;
  }
  return library;
}
BOOL WINAPI CountedFreeLibrary(HMODULE library) {
  if (library != nullptr && library == g_takings->imageLibrary) ++g_takings->imageLibraryFrees;
  return FreeLibrary(library);
}

// Repaints and changes back and forth load each picture and the system's
// transparent copy once; the page's end gives them all back.
TEST(LayoutPagePreview, PicturesAndTransparentCopyAreLoadedOncePerPageAndGivenBack) {
  DistinctWindowColour colour;
  LayoutTree tree = FourUpLongEdgeTree();
  LayoutPageDriver d;
  ASSERT_TRUE(d.Open(&tree));
  const HMODULE module = d.sheet.plugin.module;
  PaintTakings takings;
  g_takings = &takings;
  struct Hook {
    const char* dll;
    const char* function;
    void* replacement;
    void* original;
  } hooks[] = {
      {"user32.dll", "LoadBitmapW", reinterpret_cast<void*>(&CountedLoadBitmap), nullptr},
      {"gdi32.dll", "DeleteObject", reinterpret_cast<void*>(&CountedDeleteObject), nullptr},
      {"kernel32.dll", "LoadLibraryW", reinterpret_cast<void*>(&CountedLoadLibrary), nullptr},
      {"kernel32.dll", "FreeLibrary", reinterpret_cast<void*>(&CountedFreeLibrary), nullptr},
  };
  for (Hook& hook : hooks) {
    hook.original = ReplaceImport(module, hook.dll, hook.function, hook.replacement);
    ASSERT_NE(hook.original, nullptr) << hook.function;
  }
  UpdateWindow(d.page());
  EXPECT_EQ(takings.loadedBitmaps.size(), 2u);  // main picture and overlay
  for (int repaint = 0; repaint < 3; ++repaint) {
    InvalidateRect(d.page(), nullptr, TRUE);
    UpdateWindow(d.page());
  }
  d.Choose(kTwoSided, 1);  // another overlay
  UpdateWindow(d.page());
  d.Choose(kTwoSided, 2);  // the first one again
  UpdateWindow(d.page());
  EXPECT_EQ(takings.loadedBitmaps.size(), 3u);
  EXPECT_EQ(takings.imageLibraryLoads, 1);
  ExpectPicture(FrameOnScreen(d.page()), kFourUpLongEdgeProbes, "four pages, after the changes");

  DestroyWindow(d.sheet.sheet);
  d.sheet.sheet = nullptr;
  for (HGDIOBJ bitmap : takings.loadedBitmaps) EXPECT_EQ(takings.deleted.count(bitmap), 1u);
  EXPECT_EQ(takings.imageLibraryFrees, 1);
  for (const Hook& hook : hooks) ReplaceImport(module, hook.dll, hook.function, hook.original);
  g_takings = nullptr;
}

}  // namespace
