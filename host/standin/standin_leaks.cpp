#include "standin_leaks.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "import_patch.h"

namespace {

enum class When {
  kAtLoad,
  kEveryOpening,
  kFirstOpeningOfLoad,
  // On the stand-in's page (standin_page.h), which is added for these alone.
  kPageCreation,
  kPageInit,
  kControlColour,
  kCancel,
  kPublish,
};

struct Leak {
  const wchar_t* name;
  When when;
  void (*leak)(const LeakSite& site);
  void (*atUnload)();  // what the kind does at unload, or null
};

// Class and atom names differ from one leak to the next, in this load and
// the loads before it, or the system would hand back the leaked one.
const wchar_t* UniqueName(const wchar_t* prefix) {
  static wchar_t name[64];
  static unsigned serial;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  std::swprintf(name, 64, L"%ls-%llx-%u", prefix, static_cast<unsigned long long>(now.QuadPart),
                ++serial);
  return name;
}

template <typename Proc>
Proc LookUp(const wchar_t* library, const char* name) {
  return reinterpret_cast<Proc>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(library), name)));
}

void LeakBrush(const LeakSite&) { CreateSolidBrush(RGB(10, 20, 30)); }

void LeakFont(const LeakSite&) {
  CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
}

void LeakCopiedImage(const LeakSite&) {
  HBITMAP original = CreateBitmap(8, 8, 1, 1, nullptr);
  CopyImage(original, IMAGE_BITMAP, 0, 0, 0);
  DeleteObject(original);
}

void LeakWindowClass(const LeakSite& site) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcW;  // the system's: safe after the unload
  windowClass.hInstance = site.module;
  windowClass.lpszClassName = UniqueName(L"StandInClass");
  RegisterClassW(&windowClass);
}

void LeakAtom(const LeakSite&) { GlobalAddAtomW(UniqueName(L"StandInAtom")); }

void LeakRegistryKey(const LeakSite&) {
  HKEY key;
  RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key);
}

// A thread timer with no procedure, too long to ever fire.
void LeakTimer(const LeakSite&) { SetTimer(nullptr, 0, USER_TIMER_MAXIMUM, nullptr); }

// The hook's procedure is a system function of the same shape, so that the
// hook left behind calls nothing of the unloaded library.
void LeakHook(const LeakSite&) {
  SetWindowsHookExW(WH_GETMESSAGE,
                    reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(&MulDiv)), nullptr,
                    GetCurrentThreadId());
}

void LeakGlobalMemory(const LeakSite&) { GlobalAlloc(GMEM_MOVEABLE, 64); }

void LeakLocalMemory(const LeakSite&) { LocalAlloc(LMEM_FIXED, 64); }

void LeakClipboard(const LeakSite&) { OpenClipboard(nullptr); }

void LeakLookedUpMenu(const LeakSite&) {
  auto createPopupMenu = LookUp<HMENU(WINAPI*)()>(L"user32.dll", "CreatePopupMenu");
  if (createPopupMenu != nullptr) createPopupMenu();
}

// Windows refuses to delete a bitmap that a DC still holds, and it stays;
// Wine deletes it once it is deselected.
void LeakDeletedWhileSelected(const LeakSite&) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 8, 8);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  DeleteObject(bitmap);
  SelectObject(dc, previous);
  DeleteDC(dc);
}

// The library's own manifest as an activation context, looked up as the
// plug-in looks it up.
HANDLE CreateOwnActivationContext(HMODULE module) {
  auto createActCtx = LookUp<HANDLE(WINAPI*)(const ACTCTXW*)>(L"kernel32.dll", "CreateActCtxW");
  wchar_t path[MAX_PATH];
  if (createActCtx == nullptr || GetModuleFileNameW(module, path, MAX_PATH) == 0)
    return INVALID_HANDLE_VALUE;
  ACTCTXW request = {};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = path;
  request.lpResourceName = MAKEINTRESOURCEW(2);
  return createActCtx(&request);
}

void LeakActivationContext(const LeakSite& site) { CreateOwnActivationContext(site.module); }

// An activation never deactivated, of a context released at once: the
// activation keeps it alive.
void LeakActivation(const LeakSite& site) {
  HANDLE context = CreateOwnActivationContext(site.module);
  if (context == INVALID_HANDLE_VALUE) return;
  auto activate = LookUp<BOOL(WINAPI*)(HANDLE, ULONG_PTR*)>(L"kernel32.dll", "ActivateActCtx");
  auto release = LookUp<void(WINAPI*)(HANDLE)>(L"kernel32.dll", "ReleaseActCtx");
  ULONG_PTR cookie;
  if (activate != nullptr) activate(context, &cookie);
  if (release != nullptr) release(context);
}

void LeakSemaphore(const LeakSite&) { CreateSemaphoreW(nullptr, 0, 1, nullptr); }

void LeakTlsSlot(const LeakSite&) { TlsAlloc(); }

// Sections in the library's own data: what leaks is what the system keeps
// for each.
void LeakCriticalSection(const LeakSite&) {
  static CRITICAL_SECTION sections[64];
  static unsigned used;
  if (used < 64) InitializeCriticalSection(&sections[used++]);
}

// Pages of memory, which the ledger does not count: only the soak's memory
// figure can show them. Written to, as memory in use is: Wine counts a
// process's resident memory, not what it has committed.
void LeakUnseenMemory(const LeakSite&) {
  constexpr SIZE_T kBytes = 16 * 1024;
  void* pages = VirtualAlloc(nullptr, kBytes, MEM_COMMIT, PAGE_READWRITE);
  if (pages != nullptr) FillMemory(pages, kBytes, 0x5A);
}

void LookUpUnknownFunction(const LeakSite&) {
  auto createTimer = LookUp<HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, BOOL, LPCWSTR)>(
      L"kernel32.dll", "CreateWaitableTimerW");
  HANDLE timer = createTimer != nullptr ? createTimer(nullptr, FALSE, nullptr) : nullptr;
  if (timer != nullptr) CloseHandle(timer);
}

HBRUSH WINAPI BrushPastTheLedger(COLORREF colour) { return CreateHatchBrush(HS_CROSS, colour); }

// As a delay-load helper or a packer would: the slot gets another function
// after the ledger put its own there, and the brushes made through it are
// never seen.
void LeakThroughReboundImport(const LeakSite& site) {
  ReplaceImport(site.module, "gdi32.dll", "CreateSolidBrush",
                reinterpret_cast<void*>(&BrushPastTheLedger));
  CreateSolidBrush(RGB(40, 50, 60));
}


// A block on the driver's plug-in heap at each page the stand-in adds,
// never freed: the heap goes with the opening, so only the count of what
// the plug-in leaves there shows it.
void LeakDriverHeapBlock(const LeakSite& site) {
  if (site.driverHeap != nullptr) HeapAlloc(site.driverHeap, 0, 32);
}

// A string for the page's text, loaded onto the driver's heap when the
// page is made and never freed.
void LeakDriverHeapString(const LeakSite& site) {
  if (site.driverHeap == nullptr) return;
  auto* text = static_cast<wchar_t*>(HeapAlloc(site.driverHeap, 0, 32 * sizeof(wchar_t)));
  if (text == nullptr) return;
  lstrcpynW(text, L"stand-in text", 32);
  SetDlgItemTextW(site.page, 100, text);
}

// The library's own context, made at the first opening of a load and
// released twice at its unload: once more than it was made. The system
// ignores a release of a context that is gone.
HANDLE g_overReleasedContext = INVALID_HANDLE_VALUE;

void MakeContextToOverRelease(const LeakSite& site) {
  g_overReleasedContext = CreateOwnActivationContext(site.module);
}

void OverReleaseContext() {
  if (g_overReleasedContext == INVALID_HANDLE_VALUE) return;
  auto release = LookUp<void(WINAPI*)(HANDLE)>(L"kernel32.dll", "ReleaseActCtx");
  if (release != nullptr) {
    release(g_overReleasedContext);
    release(g_overReleasedContext);
  }
  g_overReleasedContext = INVALID_HANDLE_VALUE;
}

// A reference on the driver's helper interface at each publishing, never
// released.
void LeakHelperReference(const LeakSite& site) {
  if (site.helper != nullptr) site.helper->AddRef();
}

// A buffer the library keeps for its load, grown at each opening and freed
// only at the unload: balanced at the end, growing all the while.
void* g_growingBuffer;
size_t g_growingBytes;

void GrowBuffer(const LeakSite&) {
  void* grown = std::realloc(g_growingBuffer, g_growingBytes + 256);
  if (grown == nullptr) return;
  std::memset(static_cast<char*>(grown) + g_growingBytes, 0x5A, 256);
  g_growingBuffer = grown;
  g_growingBytes += 256;
}

void FreeGrowingBuffer() {
  std::free(g_growingBuffer);
  g_growingBuffer = nullptr;
  g_growingBytes = 0;
}

// A font selected into the DC that the static control hands in with
// WM_CTLCOLORSTATIC, and deleted while it is still selected there: once
// per page, at its first asking.
bool g_controlColourDone;

void LeakControlColourFont(const LeakSite& site) {
  if (g_controlColourDone || site.dc == nullptr) return;
  g_controlColourDone = true;
  HFONT font = CreateFontW(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH, L"Tahoma");
  SelectObject(site.dc, font);
  DeleteObject(font);
}

// A library that is none of the system's listed ones, loaded and freed at
// each opening: whatever it takes is its own, out of the ledger's sight.
void LoadUnlistedLibrary(const LeakSite&) {
  HMODULE library = LoadLibraryW(L"version.dll");
  if (library != nullptr) FreeLibrary(library);
}

// A brush at the page's reset, once per page: Wine resets the pages twice
// when the sheet is left by its close box.
bool g_resetDone;

void LeakBrushOnCancel(const LeakSite& site) {
  if (g_resetDone) return;
  g_resetDone = true;
  LeakBrush(site);
}

// The sheet's frame, which the plug-in did not create, subclassed when the
// page is made and never put back.
WNDPROC g_frameProc;

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(g_frameProc, window, message, wParam, lParam);
}

void SubclassSheetFrame(const LeakSite& site) {
  g_frameProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      GetParent(site.page), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameProc)));
}


const Leak kLeaks[] = {
    {L"brush", When::kEveryOpening, &LeakBrush, nullptr},
    {L"font", When::kEveryOpening, &LeakFont, nullptr},
    {L"copied-image", When::kEveryOpening, &LeakCopiedImage, nullptr},
    {L"window-class", When::kFirstOpeningOfLoad, &LeakWindowClass, nullptr},
    {L"atom", When::kEveryOpening, &LeakAtom, nullptr},
    {L"registry-key", When::kEveryOpening, &LeakRegistryKey, nullptr},
    {L"timer", When::kFirstOpeningOfLoad, &LeakTimer, nullptr},
    {L"hook", When::kEveryOpening, &LeakHook, nullptr},
    {L"global-memory", When::kEveryOpening, &LeakGlobalMemory, nullptr},
    {L"local-memory", When::kEveryOpening, &LeakLocalMemory, nullptr},
    {L"clipboard", When::kFirstOpeningOfLoad, &LeakClipboard, nullptr},
    {L"looked-up-menu", When::kEveryOpening, &LeakLookedUpMenu, nullptr},
    {L"dllmain-brush", When::kAtLoad, &LeakBrush, nullptr},
    {L"deleted-while-selected", When::kEveryOpening, &LeakDeletedWhileSelected, nullptr},
    {L"activation-context", When::kFirstOpeningOfLoad, &LeakActivationContext, nullptr},
    {L"activation", When::kEveryOpening, &LeakActivation, nullptr},
    {L"semaphore", When::kEveryOpening, &LeakSemaphore, nullptr},
    {L"tls-slot", When::kEveryOpening, &LeakTlsSlot, nullptr},
    {L"critical-section", When::kEveryOpening, &LeakCriticalSection, nullptr},
    {L"unseen-memory", When::kEveryOpening, &LeakUnseenMemory, nullptr},
    {L"unknown-lookup", When::kEveryOpening, &LookUpUnknownFunction, nullptr},
    {L"rebound-import", When::kEveryOpening, &LeakThroughReboundImport, nullptr},
    {L"driver-heap-block", When::kPageCreation, &LeakDriverHeapBlock, nullptr},
    {L"driver-heap-string", When::kPageInit, &LeakDriverHeapString, nullptr},
    {L"over-released-context", When::kFirstOpeningOfLoad, &MakeContextToOverRelease,
     &OverReleaseContext},
    {L"helper-reference", When::kPublish, &LeakHelperReference, nullptr},
    {L"growing-buffer", When::kEveryOpening, &GrowBuffer, &FreeGrowingBuffer},
    {L"control-colour-font", When::kControlColour, &LeakControlColourFont, nullptr},
    {L"sheet-subclass", When::kPageInit, &SubclassSheetFrame, nullptr},
    {L"cancel-brush", When::kCancel, &LeakBrushOnCancel, nullptr},
    {L"unlisted-library", When::kEveryOpening, &LoadUnlistedLibrary, nullptr},
};

const Leak* g_leak;
bool g_leakedInThisLoad;

}  // namespace

bool LeakAtLoad(HMODULE module) {
  wchar_t name[64] = {};
  const DWORD length = GetEnvironmentVariableW(L"KORVAIN_STANDIN_LEAK", name, 64);
  if (length == 0 || std::wcscmp(name, L"none") == 0) return true;
  for (const Leak& leak : kLeaks) {
    if (std::wcscmp(name, leak.name) == 0) g_leak = &leak;
  }
  if (g_leak == nullptr) return false;
  LeakSite site = {};
  site.module = module;
  if (g_leak->when == When::kAtLoad) g_leak->leak(site);
  return true;
}

void LeakAtUnload() {
  if (g_leak != nullptr && g_leak->atUnload != nullptr) g_leak->atUnload();
}

void LeakAtOpening(HMODULE module) {
  if (g_leak == nullptr) return;
  switch (g_leak->when) {
    case When::kEveryOpening:
      break;
    case When::kFirstOpeningOfLoad:
      if (g_leakedInThisLoad) return;
      break;
    default:
      return;
  }
  g_leakedInThisLoad = true;
  LeakSite site = {};
  site.module = module;
  g_leak->leak(site);
}

bool LeakNeedsPage() {
  if (g_leak == nullptr) return false;
  switch (g_leak->when) {
    case When::kPageCreation:
    case When::kPageInit:
    case When::kControlColour:
    case When::kCancel:
      return true;
    default:
      return false;
  }
}

void LeakAtMoment(LeakMoment moment, const LeakSite& site) {
  if (moment == LeakMoment::kPageInit) g_controlColourDone = g_resetDone = false;
  if (g_leak == nullptr) return;
  const When when[] = {When::kPageCreation, When::kPageInit, When::kControlColour, When::kCancel,
                       When::kPublish};
  if (g_leak->when == when[static_cast<int>(moment)]) g_leak->leak(site);
}
