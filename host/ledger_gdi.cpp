// The ledger's GDI functions: device contexts, bitmaps, brushes, pens,
// fonts and regions, and what the DCs still hold when they go back.
#include "ledger_imports.h"
#include "ledger_state.h"

namespace {

const UINT kSelectableTypes[4] = {OBJ_BITMAP, OBJ_BRUSH, OBJ_PEN, OBJ_FONT};

void RememberOriginals(HDC dc) {
  DcOriginals originals;
  for (int i = 0; i < 4; ++i) originals.objects[i] = GetCurrentObject(dc, kSelectableTypes[i]);
  TheLedger().dcs[dc] = originals;
}

// A DC that goes back while it still holds one of the plug-in's objects
// keeps that object from being deleted: counted as a leak of its own.
void CheckSelections(HDC dc) {
  auto& dcs = TheLedger().dcs;
  const auto found = dcs.find(dc);
  if (found == dcs.end()) return;
  for (int i = 0; i < 4; ++i) {
    HGDIOBJ current = GetCurrentObject(dc, kSelectableTypes[i]);
    if (current != found->second.objects[i] && Holds(HeldSpace::kGdi, current))
      ++Line(LedgerKind::kLeftSelected).acquired;
  }
  dcs.erase(found);
}

// Whether one of the DCs the plug-in holds, or one the system handed in
// with the message being handled, has `object` selected.
bool SelectedInHeldDc(HGDIOBJ object) {
  const DWORD type = GetObjectType(object);
  bool selectable = false;
  for (UINT selectableType : kSelectableTypes) selectable = selectable || type == selectableType;
  if (!selectable) return false;
  for (const auto& dc : TheLedger().dcs) {
    if (GetCurrentObject(static_cast<HDC>(const_cast<void*>(dc.first)), type) == object)
      return true;
  }
  return false;
}

HDC WINAPI LedgerCreateCompatibleDC(HDC like) { return HoldDc(CreateCompatibleDC(like)); }

BOOL WINAPI LedgerDeleteDC(HDC dc) {
  CheckSelections(dc);
  return GivenBack(DeleteDC(dc), HeldSpace::kGdi, dc);
}

HBITMAP WINAPI LedgerCreateBitmap(int width, int height, UINT planes, UINT bits, const void* data) {
  return Held(CreateBitmap(width, height, planes, bits, data), LedgerKind::kBitmap);
}

HBITMAP WINAPI LedgerCreateCompatibleBitmap(HDC dc, int width, int height) {
  return Held(CreateCompatibleBitmap(dc, width, height), LedgerKind::kBitmap);
}

HBITMAP WINAPI LedgerCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                      HANDLE section, DWORD offset) {
  return Held(CreateDIBSection(dc, info, usage, bits, section, offset), LedgerKind::kBitmap);
}

HBRUSH WINAPI LedgerCreateSolidBrush(COLORREF colour) {
  return Held(CreateSolidBrush(colour), LedgerKind::kBrush);
}

HBRUSH WINAPI LedgerCreatePatternBrush(HBITMAP bitmap) {
  return Held(CreatePatternBrush(bitmap), LedgerKind::kBrush);
}

HBRUSH WINAPI LedgerCreateBrushIndirect(const LOGBRUSH* description) {
  return Held(CreateBrushIndirect(description), LedgerKind::kBrush);
}

HPEN WINAPI LedgerCreatePen(int style, int width, COLORREF colour) {
  return Held(CreatePen(style, width, colour), LedgerKind::kPen);
}

HFONT WINAPI LedgerCreateFontIndirectW(const LOGFONTW* font) {
  return Held(CreateFontIndirectW(font), LedgerKind::kFont);
}

HFONT WINAPI LedgerCreateFontW(int height, int width, int escapement, int orientation, int weight,
                               DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                               DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                               DWORD pitchAndFamily, LPCWSTR face) {
  return Held(CreateFontW(height, width, escapement, orientation, weight, italic, underline,
                          strikeOut, charSet, outPrecision, clipPrecision, quality, pitchAndFamily,
                          face),
              LedgerKind::kFont);
}

HRGN WINAPI LedgerCreateRectRgn(int left, int top, int right, int bottom) {
  return Held(CreateRectRgn(left, top, right, bottom), LedgerKind::kRegion);
}

// Deleting an object that a DC still holds fails on Windows and leaves it
// alive; Wine answers success and deletes it once it is deselected. Either
// way the plug-in no longer has it in hand: a leak, whatever the answer.
BOOL WINAPI LedgerDeleteObject(HGDIOBJ object) {
  const bool selected = SelectedInHeldDc(object);
  const BOOL deleted = DeleteObject(object);
  if (selected)
    Forget(HeldSpace::kGdi, object);
  else if (deleted)
    GiveBack(HeldSpace::kGdi, object);
  return deleted;
}

}  // namespace

HDC HoldDc(HDC dc) {
  if (dc != nullptr) RememberOriginals(dc);
  return Held(dc, LedgerKind::kDeviceContext);
}

void CheckDcGoingBack(HDC dc) { CheckSelections(dc); }

bool WatchHandedDc(HDC dc) {
  if (TheLedger().dcs.count(dc) != 0) return false;
  RememberOriginals(dc);
  return true;
}

void AppendGdiRedirections(std::vector<Redirection>* redirections) {
  redirections->insert(redirections->end(), {
      {"gdi32.dll", "CreateCompatibleDC", Address(&LedgerCreateCompatibleDC), nullptr},
      {"gdi32.dll", "DeleteDC", Address(&LedgerDeleteDC), nullptr},
      {"gdi32.dll", "CreateBitmap", Address(&LedgerCreateBitmap), nullptr},
      {"gdi32.dll", "CreateCompatibleBitmap", Address(&LedgerCreateCompatibleBitmap), nullptr},
      {"gdi32.dll", "CreateDIBSection", Address(&LedgerCreateDIBSection), nullptr},
      {"gdi32.dll", "CreateSolidBrush", Address(&LedgerCreateSolidBrush), nullptr},
      {"gdi32.dll", "CreatePatternBrush", Address(&LedgerCreatePatternBrush), nullptr},
      {"gdi32.dll", "CreateBrushIndirect", Address(&LedgerCreateBrushIndirect), nullptr},
      {"gdi32.dll", "CreatePen", Address(&LedgerCreatePen), nullptr},
      {"gdi32.dll", "CreateFontIndirectW", Address(&LedgerCreateFontIndirectW), nullptr},
      {"gdi32.dll", "CreateFontW", Address(&LedgerCreateFontW), nullptr},
      {"gdi32.dll", "CreateRectRgn", Address(&LedgerCreateRectRgn), nullptr},
      {"gdi32.dll", "DeleteObject", Address(&LedgerDeleteObject), nullptr},
  });
}
