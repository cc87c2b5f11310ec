#include "layout_preview.h"

#include <new>

#include "layout_common_controls.h"
#include "layout_items.h"
#include "page_controls.h"
#include "resource_ids.h"

namespace {

// A memory context with a bitmap selected into it; an owned bitmap goes
// with the context, a kept one is only deselected.
struct MemoryCanvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  bool owned = true;

  MemoryCanvas(HDC like, HBITMAP bitmap_, bool owned_ = true)
      : dc(CreateCompatibleDC(like)), bitmap(bitmap_), owned(owned_) {
    if (dc != nullptr && bitmap != nullptr) previous = SelectObject(dc, bitmap);
  }
  ~MemoryCanvas() {
    if (dc != nullptr && previous != nullptr) SelectObject(dc, previous);
    if (owned && bitmap != nullptr) DeleteObject(bitmap);
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

bool HasArea(const RECT& r) { return r.right > r.left && r.bottom > r.top; }

RECT FrameInPage(HWND page) {
  RECT frame = {};
  GetWindowRect(PageControl(page, IDC_PREVIEW), &frame);
  POINT corners[2] = {{frame.left, frame.top}, {frame.right, frame.bottom}};
  ScreenToClient(page, &corners[0]);
  ScreenToClient(page, &corners[1]);
  return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

// The page's store hangs on its preview frame, a static control that has
// no use for its window's user data; it is made at the first paint.
PreviewStore* StoreOf(HWND page) {
  return reinterpret_cast<PreviewStore*>(
      GetWindowLongPtrW(PageControl(page, IDC_PREVIEW), GWLP_USERDATA));
}

PreviewStore* MadeStoreOf(HWND page, HMODULE module) {
  PreviewStore* store = StoreOf(page);
  if (store != nullptr) return store;
  HWND frame = PageControl(page, IDC_PREVIEW);
  if (frame == nullptr) return nullptr;
  store = new (std::nothrow) PreviewStore(module);
  if (store != nullptr) SetWindowLongPtrW(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(store));
  return store;
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
                     int sourceX, int sourceY, int sourceWidth, int sourceHeight, COLORREF key,
                     SystemTransparentCopy& system) {
  if (destination == nullptr || source == nullptr) return;
  const TransparentBltProc transparentBlt = system.Function();
  if (transparentBlt != nullptr &&
      transparentBlt(destination, x, y, width, height, source, sourceX, sourceY, sourceWidth,
                     sourceHeight, key) != FALSE)
    return;
  MaskedCopy(destination, x, y, source, sourceWidth, sourceHeight, key);
}

void TransparentCopy(HDC destination, int x, int y, int width, int height, HDC source,
                     int sourceX, int sourceY, int sourceWidth, int sourceHeight, COLORREF key) {
  if (destination == nullptr || source == nullptr) return;
  SystemTransparentCopy system;
  TransparentCopy(destination, x, y, width, height, source, sourceX, sourceY, sourceWidth,
                  sourceHeight, key, system);
}

// The kept main picture is never drawn into: an overlay is laid on a copy.
void DrawPreviewPictures(HDC target, const RECT& frame, PreviewStore& store,
                         const PreviewPictures& pictures) {
  const int frameWidth = frame.right - frame.left;
  const int frameHeight = frame.bottom - frame.top;
  FillWithWindowColour(target, frame.left, frame.top, frameWidth, frameHeight);
  store.lastPicture = {};

  MemoryCanvas picture(target, store.pictures.Picture(pictures.mainId), false);
  if (!picture.ready()) return;
  BITMAP size = {};
  GetObjectW(picture.bitmap, sizeof size, &size);
  const int width = size.bmWidth;
  const int height = size.bmHeight;
  const int x = frame.left + (frameWidth - width) / 2;
  const int y = frame.top + (frameHeight - height) / 2;

  // An overlay id without a bitmap leaves the main picture alone.
  MemoryCanvas overlay(target, store.pictures.Picture(pictures.overlayId), false);
  MemoryCanvas composed(target, overlay.ready()
                                    ? CreateCompatibleBitmap(picture.dc, width, height)
                                    : nullptr);
  HDC main = picture.dc;
  if (composed.ready()) {
    BitBlt(composed.dc, 0, 0, width, height, picture.dc, 0, 0, SRCCOPY);
    TransparentCopy(composed.dc, 0, 0, width, height, overlay.dc, 0, 0, width, height,
                    kOverlaySheetKey, store.transparentCopy);
    main = composed.dc;
  }

  MemoryCanvas buffer(target, CreateCompatibleBitmap(picture.dc, width, height));
  if (!buffer.ready()) return;
  FillWithWindowColour(buffer.dc, 0, 0, width, height);
  TransparentCopy(buffer.dc, 0, 0, width, height, main, 0, 0, width, height,
                  kPreviewBackgroundKey, store.transparentCopy);
  BitBlt(target, x, y, width, height, buffer.dc, 0, 0, SRCCOPY);
  store.lastPicture = {x, y, x + width, y + height};
}

void DrawPreviewPictures(HDC target, const RECT& frame, HMODULE module,
                         const PreviewPictures& pictures) {
  PreviewStore store(module);
  DrawPreviewPictures(target, frame, store, pictures);
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
  const HMODULE module = static_cast<HMODULE>(param->hModule);
  PreviewStore* store = MadeStoreOf(page, module);
  if (store != nullptr) DrawPreviewPictures(dc, frame, *store, pictures);
  else DrawPreviewPictures(dc, frame, module, pictures);
  EndPaint(page, &paint);
}

// What the next paint draws over: inside the frame's black line, only the
// page repaints, since the frame's control draws nothing there. Where the
// last picture reached onto the line or past it (a small frame), the
// frame's control draws its line again too.
void InvalidateLayoutPreview(HWND page) {
  const RECT frame = FrameInPage(page);
  RECT inside = frame;
  InflateRect(&inside, -1, -1);
  const PreviewStore* store = StoreOf(page);
  RECT overlap;
  const bool pictureOnLine = store != nullptr && HasArea(store->lastPicture) &&
                             (!IntersectRect(&overlap, &store->lastPicture, &inside) ||
                              !EqualRect(&overlap, &store->lastPicture));
  if (!HasArea(inside) || pictureOnLine) {
    InvalidateRect(page, &frame, TRUE);
    if (store != nullptr && HasArea(store->lastPicture))
      InvalidateRect(page, &store->lastPicture, TRUE);
    return;
  }
  RedrawWindow(page, &inside, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN);
}

void ReleaseLayoutPreview(HWND page) {
  PreviewStore* store = StoreOf(page);
  if (store == nullptr) return;
  SetWindowLongPtrW(PageControl(page, IDC_PREVIEW), GWLP_USERDATA, 0);
  delete store;
}
