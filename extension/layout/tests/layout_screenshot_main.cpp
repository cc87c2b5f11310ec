// Shows the Layout page of the library named by KORVAIN_DLL in a real
// property sheet in one of a few states and saves the sheet as it appears
// on the screen, for a person to look at:
//
//   layout_screenshot STATE OUTPUT.bmp
//
// STATE: portrait (one page per sheet), landscape-4up (landscape, four
// pages right then down, long-edge flip), booklet-right (booklet bound on
// the right edge).
#include <cstdio>
#include <cstring>
#include <vector>

#include "layout_page_driver.h"

namespace {

bool Configure(const char* state, LayoutTree& tree) {
  if (std::strcmp(state, "portrait") == 0) return true;
  if (std::strcmp(state, "landscape-4up") == 0) {
    tree.Item(DMPUB_ORIENTATION).Sel = 1;
    tree.Item(DMPUB_NUP).Sel = 2;
    tree.Item(DMPUB_NUP).Flags |= OPTIF_ECB_CHECKED;
    tree.Item(DMPUB_NUP_DIRECTION).Sel = 0;
    tree.Item(DMPUB_DUPLEX).Sel = 2;
    return true;
  }
  if (std::strcmp(state, "booklet-right") == 0) {
    tree.Item(DMPUB_NUP).Sel = 6;
    tree.Item(DMPUB_BOOKLET_EDGE).Sel = 1;
    tree.Item(DMPUB_DUPLEX).Sel = 1;
    return true;
  }
  return false;
}

void Pump(DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  MSG message;
  while (GetTickCount() < end) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(10);
  }
}

bool SaveWindow(HWND window, const char* path) {
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  const int row = (w * 3 + 3) & ~3;
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = w;
  info.biHeight = h;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(row * h);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  FILE* out = std::fopen(path, "wb");
  bool written = out != nullptr;
  if (written) {
    written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
              std::fwrite(&info, sizeof info, 1, out) == 1 &&
              std::fwrite(bits, info.biSizeImage, 1, out) == 1;
    written = std::fclose(out) == 0 && written;
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: layout_screenshot STATE OUTPUT.bmp\n");
    return 2;
  }
  LayoutTree tree = FullTree();
  if (!Configure(argv[1], tree)) {
    std::fprintf(stderr, "unknown state %s\n", argv[1]);
    return 2;
  }
  LayoutPageDriver driver;
  if (!driver.Open(&tree)) {
    std::fprintf(stderr, "the sheet did not open\n");
    return 1;
  }
  SetWindowPos(driver.sheet.sheet, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
  Pump(500);
  return SaveWindow(driver.sheet.sheet, argv[2]) ? 0 : 1;
}
