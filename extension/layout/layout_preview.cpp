#include "layout_preview.h"

#include "layout_common_controls.h"
#include "layout_items.h"
#include "layout_page_parts.h"
#include "resource_ids.h"

namespace {

typedef BOOL(WINAPI* TransparentBltProc)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

// Runs TransparentBlt when the system has it; false when it has not or the
// call failed.
bool SystemTransparentCopy(HDC destination, int x, int y, int width, int height, HDC source,
                           int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                           COLORREF key) {
  HMODULE library;
  {
    ManifestContextScope scope;
    library = LoadLibraryW(L"Msimg32.dll");
  }
  if (library == nullptr) return false;
  auto transparentBlt = reinterpret_cast<TransparentBltProc>(
      reinterpret_cast<void (*)()>(GetProcAddress(library, "TransparentBlt")));
  const bool copied = transparentBlt != nullptr &&
                      transparentBlt(destination, x, y, width, height, source, sourceX, sourceY,
                                     sourceWidth, sourceHeight, key) != FALSE;
  FreeLibrary(library);
  return copied;
}

// A memory context with a bitmap selected into it; both go together.
struct MemoryCanvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;

  MemoryCanvas(HDC like, HBITMAP owned) : dc(CreateCompatibleDC(like)), bitmap(owned) {
    if (dc != nullptr && bitmap != nullptr) previous = SelectObject(dc, bitmap);
  }
  ~MemoryCanvas() {
    if (dc != nullptr && previous != nullptr) SelectObject(dc, previous);
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (dc != nullptr) DeleteDC(dc);
  }
  bool ready() const { return dc != nullptr && bitmap != nullptr && previous != nullptr; }
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;
};

void FillWithWindowColour(HDC dc, int x, int y, int width, int height) {
  HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
  if (brush == nullptr) return;
  HGDIOBJ previous = SelectObject(dc, brush);
  PatBlt(dc, x, y, width, height, PATCOPY);
  SelectObject(dc, previous);
  DeleteObject(brush);
}

HBITMAP LoadPicture(HMODULE module, int id) {
  if (id == kNoPicture) return nullptr;
  return LoadBitmapW(module, MAKEINTRESOURCEW(id));
}

RECT FrameInPage(HWND page) {
  RECT frame = {};
  GetWindowRect(GetDlgItem(page, IDC_PREVIEW), &frame);
  POINT corners[2] = {{frame.left, frame.top}, {frame.right, frame.bottom}};
  ScreenToClient(page, &corners[0]);
  ScreenToClient(page, &corners[1]);
  return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

}  // namespace

void MaskedCopy(HDC destination, int x, int y, HDC source, int sourceWidth, int sourceHeight,
                COLORREF key) {
  POINT size = {sourceWidth, sourceHeight};
  DPtoLP(source, &size, 1);
  const int w = size.x;
  const int h = size.y;
  MemoryCanvas mask(destination, CreateBitmap(w, h, 1, 1, nullptr));
  MemoryCanvas inverse(destination, CreateBitmap(w, h, 1, 1, nullptr));
  MemoryCanvas work(destination, CreateCompatibleBitmap(destination, w, h));
  MemoryCanvas save(destination, CreateCompatibleBitmap(destination, w, h));
  if (!mask.ready() || !inverse.ready() || !work.ready() || !save.ready()) return;
  SetMapMode(source, GetMapMode(destination));

  BitBlt(save.dc, 0, 0, w, h, source, 0, 0, SRCCOPY);
  // Copied to monochrome, the source's background colour becomes 1.
  const COLORREF background = SetBkColor(source, key);
  BitBlt(mask.dc, 0, 0, w, h, source, 0, 0, SRCCOPY);
  SetBkColor(source, background);
  BitBlt(inverse.dc, 0, 0, w, h, mask.dc, 0, 0, NOTSRCCOPY);

  BitBlt(work.dc, 0, 0, w, h, destination, x, y, SRCCOPY);
  BitBlt(work.dc, 0, 0, w, h, mask.dc, 0, 0, SRCAND);
  BitBlt(source, 0, 0, w, h, inverse.dc, 0, 0, SRCAND);
  BitBlt(work.dc, 0, 0, w, h, source, 0, 0, SRCPAINT);
  BitBlt(destination, x, y, w, h, work.dc, 0, 0, SRCCOPY);
  BitBlt(source, 0, 0, w, h, save.dc, 0, 0, SRCCOPY);
}

void TransparentCopy(HDC destination, int x, int y, int width, int height, HDC source,
                     int sourceX, int sourceY, int sourceWidth, int sourceHeight, COLORREF key) {
  if (destination == nullptr || source == nullptr) return;
  if (SystemTransparentCopy(destination, x, y, width, height, source, sourceX, sourceY,
                            sourceWidth, sourceHeight, key))
    return;
  MaskedCopy(destination, x, y, source, sourceWidth, sourceHeight, key);
}

void DrawPreviewPictures(HDC target, const RECT& frame, HMODULE module,
                         const PreviewPictures& pictures) {
  const int frameWidth = frame.right - frame.left;
  const int frameHeight = frame.bottom - frame.top;
  FillWithWindowColour(target, frame.left, frame.top, frameWidth, frameHeight);

  MemoryCanvas picture(target, LoadPicture(module, pictures.mainId));
  if (!picture.ready()) return;
  BITMAP size = {};
  GetObjectW(picture.bitmap, sizeof size, &size);
  const int width = size.bmWidth;
  const int height = size.bmHeight;
  const int x = frame.left + (frameWidth - width) / 2;
  const int y = frame.top + (frameHeight - height) / 2;

  // An overlay id without a bitmap leaves the main picture alone.
  MemoryCanvas overlay(target, LoadPicture(module, pictures.overlayId));
  if (overlay.ready())
    TransparentCopy(picture.dc, 0, 0, width, height, overlay.dc, 0, 0, width, height,
                    kOverlaySheetKey);

  MemoryCanvas buffer(target, CreateCompatibleBitmap(picture.dc, width, height));
  if (!buffer.ready()) return;
  FillWithWindowColour(buffer.dc, 0, 0, width, height);
  TransparentCopy(buffer.dc, 0, 0, width, height, picture.dc, 0, 0, width, height,
                  kPreviewBackgroundKey);
  BitBlt(target, x, y, width, height, buffer.dc, 0, 0, SRCCOPY);
}

void PaintLayoutPreview(HWND page, const OEMCUIPPARAM* param) {
  const RECT frame = FrameInPage(page);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(page, &paint);
  if (dc == nullptr) return;
  const PreviewInputs inputs =
      ReadPreviewInputs(param->pDrvOptItems, param->cDrvOptItems, kLayoutVariant);
  const PreviewPictures pictures = SelectPreviewPictures(
      param->pDrvOptItems != nullptr ? &inputs : nullptr, kLayoutVariant);
  DrawPreviewPictures(dc, frame, static_cast<HMODULE>(param->hModule), pictures);
  EndPaint(page, &paint);
}
