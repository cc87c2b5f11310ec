#include "standin_leaks.h"

#include <cwchar>

#include "import_patch.h"

namespace {

enum class When { kAtLoad, kEveryOpening, kFirstOpeningOfLoad };

struct Leak {
  const wchar_t* name;
  When when;
  void (*leak)(HMODULE module);
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

void LeakBrush(HMODULE) { CreateSolidBrush(RGB(10, 20, 30)); }

void LeakFont(HMODULE) {
  CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
}

void LeakCopiedImage(HMODULE) {
  HBITMAP original = CreateBitmap(8, 8, 1, 1, nullptr);
  CopyImage(original, IMAGE_BITMAP, 0, 0, 0);
  DeleteObject(original);
}

void LeakWindowClass(HMODULE module) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcW;  // the system's: safe after the unload
  windowClass.hInstance = module;
  windowClass.lpszClassName = UniqueName(L"StandInClass");
  RegisterClassW(&windowClass);
}

void LeakAtom(HMODULE) { GlobalAddAtomW(UniqueName(L"StandInAtom")); }

void LeakRegistryKey(HMODULE) {
  HKEY key;
  RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key);
}

// A thread timer with no procedure, too long to ever fire.
void LeakTimer(HMODULE) { SetTimer(nullptr, 0, USER_TIMER_MAXIMUM, nullptr); }

// The hook's procedure is a system function of the same shape, so that the
// hook left behind calls nothing of the unloaded library.
void LeakHook(HMODULE) {
  SetWindowsHookExW(WH_GETMESSAGE,
                    reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(&MulDiv)), nullptr,
                    GetCurrentThreadId());
}

void LeakGlobalMemory(HMODULE) { GlobalAlloc(GMEM_MOVEABLE, 64); }

void LeakLocalMemory(HMODULE) { LocalAlloc(LMEM_FIXED, 64); }

void LeakClipboard(HMODULE) { OpenClipboard(nullptr); }

void LeakLookedUpMenu(HMODULE) {
  auto createPopupMenu = LookUp<HMENU(WINAPI*)()>(L"user32.dll", "CreatePopupMenu");
  if (createPopupMenu != nullptr) createPopupMenu();
}

// Windows refuses to delete a bitmap that a DC still holds, and it stays;
// Wine deletes it once it is deselected.
void LeakDeletedWhileSelected(HMODULE) {
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

void LeakActivationContext(HMODULE module) { CreateOwnActivationContext(module); }

// An activation never deactivated, of a context released at once: the
// activation keeps it alive.
void LeakActivation(HMODULE module) {
  HANDLE context = CreateOwnActivationContext(module);
  if (context == INVALID_HANDLE_VALUE) return;
  auto activate = LookUp<BOOL(WINAPI*)(HANDLE, ULONG_PTR*)>(L"kernel32.dll", "ActivateActCtx");
  auto release = LookUp<void(WINAPI*)(HANDLE)>(L"kernel32.dll", "ReleaseActCtx");
  ULONG_PTR cookie;
  if (activate != nullptr) activate(context, &cookie);
  if (release != nullptr) release(context);
}

void LeakSemaphore(HMODULE) { CreateSemaphoreW(nullptr, 0, 1, nullptr); }

void LeakTlsSlot(HMODULE) { TlsAlloc(); }

// Sections in the library's own data: what leaks is what the system keeps
// for each.
void LeakCriticalSection(HMODULE) {
  static CRITICAL_SECTION sections[64];
  static unsigned used;
  if (used < 64) InitializeCriticalSection(&sections[used++]);
}

// Pages of memory, which the ledger does not count: only the soak's memory
// figure can show them. Written to, as memory in use is: Wine counts a
// process's resident memory, not what it has committed.
void LeakUnseenMemory(HMODULE) {
  constexpr SIZE_T kBytes = 16 * 1024;
  void* pages = VirtualAlloc(nullptr, kBytes, MEM_COMMIT, PAGE_READWRITE);
  if (pages != nullptr) FillMemory(pages, kBytes, 0x5A);
}

void LookUpUnknownFunction(HMODULE) {
  auto createTimer = LookUp<HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, BOOL, LPCWSTR)>(
      L"kernel32.dll", "CreateWaitableTimerW");
  HANDLE timer = createTimer != nullptr ? createTimer(nullptr, FALSE, nullptr) : nullptr;
  if (timer != nullptr) CloseHandle(timer);
}

HBRUSH WINAPI BrushPastTheLedger(COLORREF colour) { return CreateHatchBrush(HS_CROSS, colour); }

// As a delay-load helper or a packer would: the slot gets another function
// after the ledger put its own there, and the brushes made through it are
// never seen.
void LeakThroughReboundImport(HMODULE module) {
  ReplaceImport(module, "gdi32.dll", "CreateSolidBrush",
                reinterpret_cast<void*>(&BrushPastTheLedger));
  CreateSolidBrush(RGB(40, 50, 60));
}

const Leak kLeaks[] = {
    {L"brush", When::kEveryOpening, &LeakBrush},
    {L"font", When::kEveryOpening, &LeakFont},
    {L"copied-image", When::kEveryOpening, &LeakCopiedImage},
    {L"window-class", When::kFirstOpeningOfLoad, &LeakWindowClass},
    {L"atom", When::kEveryOpening, &LeakAtom},
    {L"registry-key", When::kEveryOpening, &LeakRegistryKey},
    {L"timer", When::kFirstOpeningOfLoad, &LeakTimer},
    {L"hook", When::kEveryOpening, &LeakHook},
    {L"global-memory", When::kEveryOpening, &LeakGlobalMemory},
    {L"local-memory", When::kEveryOpening, &LeakLocalMemory},
    {L"clipboard", When::kFirstOpeningOfLoad, &LeakClipboard},
    {L"looked-up-menu", When::kEveryOpening, &LeakLookedUpMenu},
    {L"dllmain-brush", When::kAtLoad, &LeakBrush},
    {L"deleted-while-selected", When::kEveryOpening, &LeakDeletedWhileSelected},
    {L"activation-context", When::kFirstOpeningOfLoad, &LeakActivationContext},
    {L"activation", When::kEveryOpening, &LeakActivation},
    {L"semaphore", When::kEveryOpening, &LeakSemaphore},
    {L"tls-slot", When::kEveryOpening, &LeakTlsSlot},
    {L"critical-section", When::kEveryOpening, &LeakCriticalSection},
    {L"unseen-memory", When::kEveryOpening, &LeakUnseenMemory},
    {L"unknown-lookup", When::kEveryOpening, &LookUpUnknownFunction},
    {L"rebound-import", When::kEveryOpening, &LeakThroughReboundImport},
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
  if (g_leak->when == When::kAtLoad) g_leak->leak(module);
  return true;
}

void LeakAtOpening(HMODULE module) {
  if (g_leak == nullptr) return;
  switch (g_leak->when) {
    case When::kAtLoad:
      return;
    case When::kEveryOpening:
      break;
    case When::kFirstOpeningOfLoad:
      if (g_leakedInThisLoad) return;
      break;
  }
  g_leakedInThisLoad = true;
  g_leak->leak(module);
}
