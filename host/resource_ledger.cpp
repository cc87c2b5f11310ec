#include "resource_ledger.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <unordered_map>
#include <vector>

#include "held_values.h"
#include "import_patch.h"
#include "utf8_output.h"

namespace {

struct DcOriginals {
  HGDIOBJ objects[4];  // bitmap, brush, pen, font as the DC came
};

const UINT kSelectableTypes[4] = {OBJ_BITMAP, OBJ_BRUSH, OBJ_PEN, OBJ_FONT};

// Everything the plug-in holds, by handle or pointer.
struct Ledger {
  LedgerLine lines[static_cast<int>(LedgerKind::kCount)];
  unsigned long long releasedWithDriverHeap = 0;
  HeldValues held;
  std::unordered_map<const void*, int> libraries;  // module -> references the plug-in holds
  std::unordered_map<const void*, DcOriginals> dcs;
  std::unordered_map<const void*, HANDLE> heapBlocks;  // block -> its heap
  HANDLE driverHeap = nullptr;
  const BYTE* moduleStart = nullptr;
  const BYTE* moduleEnd = nullptr;
  int loads = 0;
  unsigned long long keptActivationContexts = 0;
  unsigned long long keptLibraries = 0;
  std::vector<std::wstring> problems;
};

Ledger& TheLedger() {
  static Ledger* ledger = new Ledger;  // lives as long as the process
  return *ledger;
}

LedgerLine& Line(LedgerKind kind) { return TheLedger().lines[static_cast<int>(kind)]; }

// Takes a non-const pointer: a const one to fresh heap memory reads to the
// compiler as a read of that memory.
void Acquire(void* handle, LedgerKind kind) {
  if (handle == nullptr) return;
  TheLedger().held.Add(handle, kind);
  ++Line(kind).acquired;
}

// Gives back `handle` when the plug-in holds it in `space`; true when it did.
bool Release(HeldSpace space, const void* handle) {
  LedgerKind kind;
  if (!TheLedger().held.Remove(space, handle, &kind)) return false;
  ++Line(kind).released;
  return true;
}

bool Holds(HeldSpace space, const void* handle) {
  return TheLedger().held.Find(space, handle) != nullptr;
}

// A block that moved is held at its new address as what it was.
void Move(const void* from, const void* to) {
  LedgerKind kind;
  if (TheLedger().held.Remove(HeldSpace::kMemory, from, &kind)) TheLedger().held.Add(to, kind);
}

bool InsidePlugin(const void* address) {
  const auto* byte = static_cast<const BYTE*>(address);
  return byte >= TheLedger().moduleStart && byte < TheLedger().moduleEnd;
}

// ---- GDI -------------------------------------------------------------

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
    if (current != found->second.objects[i] && Holds(HeldSpace::kGdi, current)) ++Line(LedgerKind::kLeftSelected).acquired;
  }
  dcs.erase(found);
}

HDC WINAPI LedgerCreateCompatibleDC(HDC like) {
  HDC dc = CreateCompatibleDC(like);
  if (dc != nullptr) RememberOriginals(dc);
  Acquire(dc, LedgerKind::kDeviceContext);
  return dc;
}

BOOL WINAPI LedgerDeleteDC(HDC dc) {
  CheckSelections(dc);
  const BOOL deleted = DeleteDC(dc);
  if (deleted) Release(HeldSpace::kGdi, dc);
  return deleted;
}

HDC WINAPI LedgerGetDC(HWND window) {
  HDC dc = GetDC(window);
  if (dc != nullptr) RememberOriginals(dc);
  Acquire(dc, LedgerKind::kDeviceContext);
  return dc;
}

int WINAPI LedgerReleaseDC(HWND window, HDC dc) {
  CheckSelections(dc);
  const int released = ReleaseDC(window, dc);
  if (released) Release(HeldSpace::kGdi, dc);
  return released;
}

HDC WINAPI LedgerBeginPaint(HWND window, PAINTSTRUCT* paint) {
  HDC dc = BeginPaint(window, paint);
  if (dc != nullptr) RememberOriginals(dc);
  Acquire(dc, LedgerKind::kDeviceContext);
  return dc;
}

BOOL WINAPI LedgerEndPaint(HWND window, const PAINTSTRUCT* paint) {
  if (paint != nullptr) {
    CheckSelections(paint->hdc);
    Release(HeldSpace::kGdi, paint->hdc);
  }
  return EndPaint(window, paint);
}

HBITMAP WINAPI LedgerCreateBitmap(int width, int height, UINT planes, UINT bits, const void* data) {
  HBITMAP bitmap = CreateBitmap(width, height, planes, bits, data);
  Acquire(bitmap, LedgerKind::kBitmap);
  return bitmap;
}

HBITMAP WINAPI LedgerCreateCompatibleBitmap(HDC dc, int width, int height) {
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
  Acquire(bitmap, LedgerKind::kBitmap);
  return bitmap;
}

HBITMAP WINAPI LedgerCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                      HANDLE section, DWORD offset) {
  HBITMAP bitmap = CreateDIBSection(dc, info, usage, bits, section, offset);
  Acquire(bitmap, LedgerKind::kBitmap);
  return bitmap;
}

HBITMAP WINAPI LedgerLoadBitmapW(HINSTANCE module, LPCWSTR name) {
  HBITMAP bitmap = LoadBitmapW(module, name);
  Acquire(bitmap, LedgerKind::kBitmap);
  return bitmap;
}

HBRUSH WINAPI LedgerCreateSolidBrush(COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  Acquire(brush, LedgerKind::kBrush);
  return brush;
}

HBRUSH WINAPI LedgerCreatePatternBrush(HBITMAP bitmap) {
  HBRUSH brush = CreatePatternBrush(bitmap);
  Acquire(brush, LedgerKind::kBrush);
  return brush;
}

HPEN WINAPI LedgerCreatePen(int style, int width, COLORREF colour) {
  HPEN pen = CreatePen(style, width, colour);
  Acquire(pen, LedgerKind::kPen);
  return pen;
}

HFONT WINAPI LedgerCreateFontIndirectW(const LOGFONTW* font) {
  HFONT created = CreateFontIndirectW(font);
  Acquire(created, LedgerKind::kFont);
  return created;
}

HRGN WINAPI LedgerCreateRectRgn(int left, int top, int right, int bottom) {
  HRGN region = CreateRectRgn(left, top, right, bottom);
  Acquire(region, LedgerKind::kRegion);
  return region;
}

// Deleting an object that a DC still holds fails on Windows and leaves it
// alive: only a successful deletion gives it back.
BOOL WINAPI LedgerDeleteObject(HGDIOBJ object) {
  const BOOL deleted = DeleteObject(object);
  if (deleted) Release(HeldSpace::kGdi, object);
  return deleted;
}

// ---- USER ------------------------------------------------------------

HANDLE WINAPI LedgerLoadImageW(HINSTANCE module, LPCWSTR name, UINT type, int width, int height,
                               UINT flags) {
  HANDLE image = LoadImageW(module, name, type, width, height, flags);
  if (!(flags & LR_SHARED))  // shared images belong to the system
    Acquire(image, type == IMAGE_BITMAP ? LedgerKind::kBitmap : LedgerKind::kIcon);
  return image;
}

BOOL WINAPI LedgerDestroyIcon(HICON icon) {
  const BOOL destroyed = DestroyIcon(icon);
  if (destroyed) Release(HeldSpace::kUser, icon);
  return destroyed;
}

HMENU WINAPI LedgerCreateMenu() {
  HMENU menu = CreateMenu();
  Acquire(menu, LedgerKind::kMenu);
  return menu;
}

HMENU WINAPI LedgerCreatePopupMenu() {
  HMENU menu = CreatePopupMenu();
  Acquire(menu, LedgerKind::kMenu);
  return menu;
}

BOOL WINAPI LedgerDestroyMenu(HMENU menu) {
  const BOOL destroyed = DestroyMenu(menu);
  if (destroyed) Release(HeldSpace::kUser, menu);
  return destroyed;
}

HWND WINAPI LedgerCreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR name, DWORD style,
                                  int x, int y, int width, int height, HWND parent, HMENU menu,
                                  HINSTANCE instance, LPVOID parameter) {
  HWND window = CreateWindowExW(exStyle, className, name, style, x, y, width, height, parent, menu,
                                instance, parameter);
  Acquire(window, LedgerKind::kWindow);
  return window;
}

BOOL WINAPI LedgerDestroyWindow(HWND window) {
  const BOOL destroyed = DestroyWindow(window);
  if (destroyed) Release(HeldSpace::kUser, window);
  return destroyed;
}

// A window procedure of the plug-in put on a window is a subclassing; one
// put back from outside the plug-in ends it.
LONG_PTR WINAPI LedgerSetWindowLongPtrW(HWND window, int index, LONG_PTR value) {
  const LONG_PTR previous = SetWindowLongPtrW(window, index, value);
  if (index == GWLP_WNDPROC && previous != 0) {
    const bool ours = InsidePlugin(reinterpret_cast<const void*>(value));
    const LedgerKind* held = TheLedger().held.Find(HeldSpace::kUser, window);
    if (ours && held == nullptr) {
      Acquire(window, LedgerKind::kSubclass);
    } else if (!ours && held != nullptr && *held == LedgerKind::kSubclass) {
      Release(HeldSpace::kUser, window);
    }
  }
  return previous;
}

// ---- Libraries, heaps, files --------------------------------------------

HMODULE WINAPI LedgerLoadLibraryW(LPCWSTR name) {
  HMODULE module = LoadLibraryW(name);
  if (module != nullptr) {
    ++TheLedger().libraries[module];
    ++Line(LedgerKind::kLibrary).acquired;
  }
  return module;
}

HMODULE WINAPI LedgerLoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags) {
  HMODULE module = LoadLibraryExW(name, file, flags);
  if (module != nullptr) {
    ++TheLedger().libraries[module];
    ++Line(LedgerKind::kLibrary).acquired;
  }
  return module;
}

BOOL WINAPI LedgerFreeLibrary(HMODULE module) {
  auto& libraries = TheLedger().libraries;
  const auto found = libraries.find(module);
  if (found != libraries.end() && found->second > 0) {
    --found->second;
    ++Line(LedgerKind::kLibrary).released;
  }
  return FreeLibrary(module);
}

LPVOID WINAPI LedgerHeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  void* block = HeapAlloc(heap, flags, bytes);
  if (block != nullptr) {
    Acquire(block, heap == TheLedger().driverHeap ? LedgerKind::kDriverHeap : LedgerKind::kOtherHeap);
    TheLedger().heapBlocks[block] = heap;
  }
  return block;
}

LPVOID WINAPI LedgerHeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes) {
  void* moved = HeapReAlloc(heap, flags, block, bytes);
  if (moved != nullptr && moved != block && Holds(HeldSpace::kMemory, block)) {
    Move(block, moved);
    TheLedger().heapBlocks.erase(block);
    TheLedger().heapBlocks[moved] = heap;
  }
  return moved;
}

BOOL WINAPI LedgerHeapFree(HANDLE heap, DWORD flags, LPVOID block) {
  const BOOL freed = HeapFree(heap, flags, block);
  if (freed && Release(HeldSpace::kMemory, block)) TheLedger().heapBlocks.erase(block);
  return freed;
}

void* __cdecl LedgerMalloc(size_t bytes) {
  void* block = std::malloc(bytes);
  Acquire(block, LedgerKind::kCHeap);
  return block;
}

void* __cdecl LedgerCalloc(size_t count, size_t bytes) {
  void* block = std::calloc(count, bytes);
  Acquire(block, LedgerKind::kCHeap);
  return block;
}

// Blocks the library's start-up code took before the ledger was attached
// are not the ledger's: their moves and frees are not counted.
// The old block's address is used only as a key after realloc: once moved
// it is no longer a block, and nothing reads through it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuse-after-free"
void* __cdecl LedgerRealloc(void* block, size_t bytes) {
  if (block == nullptr) return LedgerMalloc(bytes);
  const bool counted = Holds(HeldSpace::kMemory, block);
  void* moved = std::realloc(block, bytes);
  if (!counted) return moved;
  if (moved != nullptr) {
    Move(block, moved);
  } else if (bytes == 0) {
    Release(HeldSpace::kMemory, block);  // the C library frees a block resized to nothing
  }
  return moved;
}
#pragma GCC diagnostic pop

void __cdecl LedgerFree(void* block) {
  if (block != nullptr) Release(HeldSpace::kMemory, block);
  std::free(block);
}

FILE* __cdecl LedgerWfopen(const wchar_t* path, const wchar_t* mode) {
  FILE* file = _wfopen(path, mode);
  Acquire(file, LedgerKind::kFile);
  return file;
}

FILE* __cdecl LedgerFopen(const char* path, const char* mode) {
  FILE* file = std::fopen(path, mode);
  Acquire(file, LedgerKind::kFile);
  return file;
}

int __cdecl LedgerFclose(FILE* file) {
  Release(HeldSpace::kFile, file);
  return std::fclose(file);
}

HANDLE WINAPI LedgerCreateFileW(LPCWSTR path, DWORD access, DWORD share,
                                LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                                HANDLE templateFile) {
  HANDLE file = CreateFileW(path, access, share, security, disposition, flags, templateFile);
  if (file != INVALID_HANDLE_VALUE) Acquire(file, LedgerKind::kFile);
  return file;
}

BOOL WINAPI LedgerCloseHandle(HANDLE handle) {
  const BOOL closed = CloseHandle(handle);
  if (closed) Release(HeldSpace::kFile, handle);
  return closed;
}

// ---- Functions the plug-in looks up at run time -------------------------

typedef HANDLE(WINAPI* CreateActCtxWProc)(const ACTCTXW*);
typedef void(WINAPI* ReleaseActCtxProc)(HANDLE);
typedef HIMAGELIST(WINAPI* ImageListCreateProc)(int, int, UINT, int, int);
typedef BOOL(WINAPI* ImageListDestroyProc)(HIMAGELIST);

// The system's functions behind the ones handed out; the same in every load.
CreateActCtxWProc g_createActCtx;
ReleaseActCtxProc g_releaseActCtx;
ImageListCreateProc g_imageListCreate;
ImageListDestroyProc g_imageListDestroy;

HANDLE WINAPI LedgerCreateActCtxW(const ACTCTXW* request) {
  HANDLE context = g_createActCtx(request);
  if (context != INVALID_HANDLE_VALUE) Acquire(context, LedgerKind::kActivationContext);
  return context;
}

void WINAPI LedgerReleaseActCtx(HANDLE context) {
  Release(HeldSpace::kActivationContext, context);
  g_releaseActCtx(context);
}

HIMAGELIST WINAPI LedgerImageListCreate(int width, int height, UINT flags, int initial, int grow) {
  HIMAGELIST list = g_imageListCreate(width, height, flags, initial, grow);
  Acquire(list, LedgerKind::kImageList);
  return list;
}

BOOL WINAPI LedgerImageListDestroy(HIMAGELIST list) {
  const BOOL destroyed = g_imageListDestroy(list);
  if (destroyed) Release(HeldSpace::kImageList, list);
  return destroyed;
}

template <typename Proc>
FARPROC Handed(Proc* real, FARPROC found, Proc wrapper) {
  if (found == nullptr) return nullptr;
  *real = reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(found));
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(wrapper));
}

FARPROC WINAPI LedgerGetProcAddress(HMODULE module, LPCSTR name) {
  const FARPROC found = GetProcAddress(module, name);
  if (IS_INTRESOURCE(name)) return found;
  if (std::strcmp(name, "CreateActCtxW") == 0)
    return Handed(&g_createActCtx, found, &LedgerCreateActCtxW);
  if (std::strcmp(name, "ReleaseActCtx") == 0)
    return Handed(&g_releaseActCtx, found, &LedgerReleaseActCtx);
  if (std::strcmp(name, "ImageList_Create") == 0)
    return Handed(&g_imageListCreate, found, &LedgerImageListCreate);
  if (std::strcmp(name, "ImageList_Destroy") == 0)
    return Handed(&g_imageListDestroy, found, &LedgerImageListDestroy);
  return found;
}

// ---- Redirection -------------------------------------------------------

struct Redirection {
  const char* dll;
  const char* function;
  void* wrapper;
};

template <typename F>
void* Address(F function) {
  return reinterpret_cast<void*>(reinterpret_cast<void (*)()>(function));
}

const Redirection kRedirections[] = {
    {"gdi32.dll", "CreateCompatibleDC", Address(&LedgerCreateCompatibleDC)},
    {"gdi32.dll", "DeleteDC", Address(&LedgerDeleteDC)},
    {"gdi32.dll", "CreateBitmap", Address(&LedgerCreateBitmap)},
    {"gdi32.dll", "CreateCompatibleBitmap", Address(&LedgerCreateCompatibleBitmap)},
    {"gdi32.dll", "CreateDIBSection", Address(&LedgerCreateDIBSection)},
    {"gdi32.dll", "CreateSolidBrush", Address(&LedgerCreateSolidBrush)},
    {"gdi32.dll", "CreatePatternBrush", Address(&LedgerCreatePatternBrush)},
    {"gdi32.dll", "CreatePen", Address(&LedgerCreatePen)},
    {"gdi32.dll", "CreateFontIndirectW", Address(&LedgerCreateFontIndirectW)},
    {"gdi32.dll", "CreateRectRgn", Address(&LedgerCreateRectRgn)},
    {"gdi32.dll", "DeleteObject", Address(&LedgerDeleteObject)},
    {"user32.dll", "GetDC", Address(&LedgerGetDC)},
    {"user32.dll", "ReleaseDC", Address(&LedgerReleaseDC)},
    {"user32.dll", "BeginPaint", Address(&LedgerBeginPaint)},
    {"user32.dll", "EndPaint", Address(&LedgerEndPaint)},
    {"user32.dll", "LoadBitmapW", Address(&LedgerLoadBitmapW)},
    {"user32.dll", "LoadImageW", Address(&LedgerLoadImageW)},
    {"user32.dll", "DestroyIcon", Address(&LedgerDestroyIcon)},
    {"user32.dll", "CreateMenu", Address(&LedgerCreateMenu)},
    {"user32.dll", "CreatePopupMenu", Address(&LedgerCreatePopupMenu)},
    {"user32.dll", "DestroyMenu", Address(&LedgerDestroyMenu)},
    {"user32.dll", "CreateWindowExW", Address(&LedgerCreateWindowExW)},
    {"user32.dll", "DestroyWindow", Address(&LedgerDestroyWindow)},
#ifdef _WIN64
    {"user32.dll", "SetWindowLongPtrW", Address(&LedgerSetWindowLongPtrW)},
#else
    {"user32.dll", "SetWindowLongW", Address(&LedgerSetWindowLongPtrW)},
#endif
    {"kernel32.dll", "LoadLibraryW", Address(&LedgerLoadLibraryW)},
    {"kernel32.dll", "LoadLibraryExW", Address(&LedgerLoadLibraryExW)},
    {"kernel32.dll", "FreeLibrary", Address(&LedgerFreeLibrary)},
    {"kernel32.dll", "GetProcAddress", Address(&LedgerGetProcAddress)},
    {"kernel32.dll", "HeapAlloc", Address(&LedgerHeapAlloc)},
    {"kernel32.dll", "HeapReAlloc", Address(&LedgerHeapReAlloc)},
    {"kernel32.dll", "HeapFree", Address(&LedgerHeapFree)},
    {"kernel32.dll", "CreateFileW", Address(&LedgerCreateFileW)},
    {"kernel32.dll", "CloseHandle", Address(&LedgerCloseHandle)},
    {"msvcrt.dll", "malloc", Address(&LedgerMalloc)},
    {"msvcrt.dll", "calloc", Address(&LedgerCalloc)},
    {"msvcrt.dll", "realloc", Address(&LedgerRealloc)},
    {"msvcrt.dll", "free", Address(&LedgerFree)},
    {"msvcrt.dll", "_wfopen", Address(&LedgerWfopen)},
    {"msvcrt.dll", "fopen", Address(&LedgerFopen)},
    {"msvcrt.dll", "fclose", Address(&LedgerFclose)},
};

bool IsCommonControls(const void* module) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(static_cast<HMODULE>(const_cast<void*>(module)), path, MAX_PATH);
  const wchar_t* name = std::wcsrchr(path, L'\\');
  return _wcsicmp(name != nullptr ? name + 1 : path, L"comctl32.dll") == 0;
}

}  // namespace

void LedgerAttach(HMODULE module) {
  Ledger& ledger = TheLedger();
  ++ledger.loads;
  const auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  ledger.moduleStart = base;
  ledger.moduleEnd = base + nt->OptionalHeader.SizeOfImage;
  for (const Redirection& redirection : kRedirections)
    ReplaceImport(module, redirection.dll, redirection.function, redirection.wrapper);
}

// What the library may keep across openings, once per load: the common
// controls library it loaded for its pages. Whatever else it still holds
// after it was freed is a leak.
void LedgerAfterUnload() {
  Ledger& ledger = TheLedger();
  for (auto& library : ledger.libraries) {
    if (library.second <= 0 || !IsCommonControls(library.first)) continue;
    ledger.keptLibraries += static_cast<unsigned long long>(library.second);
    Line(LedgerKind::kLibrary).kept += static_cast<unsigned long long>(library.second);
    library.second = 0;
  }
  ledger.moduleStart = ledger.moduleEnd = nullptr;
}

void LedgerBeginOpening(HANDLE driverHeap) { TheLedger().driverHeap = driverHeap; }

void LedgerEndOpening() {
  Ledger& ledger = TheLedger();
  std::vector<const void*> freedWithHeap;
  for (const auto& held : ledger.held.In(HeldSpace::kMemory)) {
    if (held.second == LedgerKind::kDriverHeap) freedWithHeap.push_back(held.first);
  }
  for (const void* block : freedWithHeap) {
    Release(HeldSpace::kMemory, block);
    ledger.heapBlocks.erase(block);
    ++ledger.releasedWithDriverHeap;
  }
  std::vector<const void*> endedWithTheirWindows;
  for (const auto& held : ledger.held.In(HeldSpace::kUser)) {
    if ((held.second == LedgerKind::kSubclass || held.second == LedgerKind::kWindow) &&
        !IsWindow(static_cast<HWND>(const_cast<void*>(held.first)))) {
      endedWithTheirWindows.push_back(held.first);
    }
  }
  for (const void* window : endedWithTheirWindows) Release(HeldSpace::kUser, window);
  ledger.driverHeap = nullptr;
}

const wchar_t* LedgerKindName(LedgerKind kind) {
  static const wchar_t* const names[] = {
      L"device contexts", L"bitmaps",       L"brushes",           L"pens",
      L"fonts",           L"regions",       L"left selected",     L"icons",
      L"menus",           L"windows",       L"subclassings",      L"image lists",
      L"activation contexts", L"libraries", L"driver's heap",     L"other heaps",
      L"C heap",          L"files"};
  return names[static_cast<int>(kind)];
}

LedgerLine LedgerLineOf(LedgerKind kind) {
  LedgerLine line = Line(kind);
  if (kind == LedgerKind::kActivationContext) {
    // Made once and kept while the library stays loaded.
    unsigned long long live = line.acquired - line.released;
    line.kept = live;
  }
  return line;
}

bool LedgerReport(std::wstring* report) {
  const Ledger& ledger = TheLedger();
  bool balanced = true;
  report->clear();
  report->append(Format(L"resource ledger of the plug-in (%d loads of the library):\n",
                        ledger.loads));
  report->append(Format(L"  %-20ls %12ls %12ls %8ls\n", L"kind", L"acquired", L"released",
                        L"kept"));
  for (int i = 0; i < static_cast<int>(LedgerKind::kCount); ++i) {
    const auto kind = static_cast<LedgerKind>(i);
    const LedgerLine line = LedgerLineOf(kind);
    std::wstring note;
    if (!line.Balanced()) {
      note = L"  UNBALANCED";
      balanced = false;
    }
    if (line.kept > static_cast<unsigned long long>(ledger.loads)) {
      note += L"  KEPT MORE THAN ONCE PER LOAD";
      balanced = false;
    }
    if (kind == LedgerKind::kDriverHeap && ledger.releasedWithDriverHeap != 0)
      note += Format(L"  (%llu freed by the driver with its heap)", ledger.releasedWithDriverHeap);
    report->append(Format(L"  %-20ls %12llu %12llu %8llu%ls\n", LedgerKindName(kind),
                          line.acquired, line.released, line.kept, note.c_str()));
  }
  return balanced;
}
