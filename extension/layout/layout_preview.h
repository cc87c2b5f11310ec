// The Layout page's preview: a picture of one printed sheet for the
// driver's current settings, composed from the library's bitmaps on every
// paint. The bitmaps and the system's transparent copy are kept for the
// page (preview_store.h).
#pragma once

#include <windows.h>

#include "preview_selection.h"
#include "preview_store.h"
#include "ui_context.h"

constexpr COLORREF kPreviewBackgroundKey = RGB(0, 128, 128);  // around every main picture
constexpr COLORREF kOverlaySheetKey = RGB(255, 174, 201);      // the sheet area of an overlay

// Fills `frame` of `target` with the window colour and draws the pictures
// centred in it, unscaled: the overlay laid on the main picture without its
// pink, then the result without its teal. Without a main picture the frame
// keeps the window colour alone. The pictures come from `store`, which
// also learns where the picture went.
void DrawPreviewPictures(HDC target, const RECT& frame, PreviewStore& store,
                         const PreviewPictures& pictures);
// The same with the pictures of `module` loaded for this drawing alone.
void DrawPreviewPictures(HDC target, const RECT& frame, HMODULE module,
                         const PreviewPictures& pictures);

// Copies a rectangle leaving out the pixels of colour `key`: through
// TransparentBlt of Msimg32.dll when the system has it, otherwise by
// combining masks at the source's size.
void TransparentCopy(HDC destination, int x, int y, int width, int height, HDC source,
                     int sourceX, int sourceY, int sourceWidth, int sourceHeight, COLORREF key);
// The same through a system function already looked up.
void TransparentCopy(HDC destination, int x, int y, int width, int height, HDC source,
                     int sourceX, int sourceY, int sourceWidth, int sourceHeight, COLORREF key,
                     SystemTransparentCopy& system);

// The mask combination alone (what TransparentCopy falls back to).
void MaskedCopy(HDC destination, int x, int y, HDC source, int sourceWidth, int sourceHeight,
                COLORREF key);

// Draws the preview into the Layout page's frame for one WM_PAINT. The
// first paint makes the page's store of pictures, which stays until
// ReleaseLayoutPreview (WM_DESTROY).
void PaintLayoutPreview(HWND page, const OEMCUIPPARAM* param);
// Asks for a repaint of the preview alone.
void InvalidateLayoutPreview(HWND page);
void ReleaseLayoutPreview(HWND page);
