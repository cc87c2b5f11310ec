// The ledger's USER functions: window DCs, icons and copied images, menus,
// windows and their subclassing, window classes, timers, hooks and the
// clipboard.
#include "ledger_imports.h"
#include "ledger_state.h"

namespace {

// The clipboard is one thing: opened again by the thread that holds it, it
// is still held once, and one close gives it back.
void* const kTheClipboard = reinterpret_cast<void*>(1);

LedgerKind ImageKind(UINT type) {
  return type == IMAGE_BITMAP ? LedgerKind::kBitmap : LedgerKind::kIcon;
}

HeldSpace ImageSpace(UINT type) {
  return type == IMAGE_BITMAP ? HeldSpace::kGdi : HeldSpace::kUser;
}

HDC WINAPI LedgerGetDC(HWND window) { return HoldDc(GetDC(window)); }

int WINAPI LedgerReleaseDC(HWND window, HDC dc) {
  CheckDcGoingBack(dc);
  return GivenBack(ReleaseDC(window, dc), HeldSpace::kGdi, dc);
}

HDC WINAPI LedgerBeginPaint(HWND window, PAINTSTRUCT* paint) {
  return HoldDc(BeginPaint(window, paint));
}

BOOL WINAPI LedgerEndPaint(HWND window, const PAINTSTRUCT* paint) {
  if (paint != nullptr) {
    CheckDcGoingBack(paint->hdc);
    GiveBack(HeldSpace::kGdi, paint->hdc);
  }
  return EndPaint(window, paint);
}

HBITMAP WINAPI LedgerLoadBitmapW(HINSTANCE module, LPCWSTR name) {
  return Held(LoadBitmapW(module, name), LedgerKind::kBitmap);
}

HANDLE WINAPI LedgerLoadImageW(HINSTANCE module, LPCWSTR name, UINT type, int width, int height,
                               UINT flags) {
  HANDLE image = LoadImageW(module, name, type, width, height, flags);
  if (!(flags & LR_SHARED)) Acquire(image, ImageKind(type));  // shared images belong to the system
  return image;
}

// A copy is a new image of the original's type; with LR_COPYDELETEORG the
// original is gone, and the copy may be the original itself.
HANDLE WINAPI LedgerCopyImage(HANDLE original, UINT type, int width, int height, UINT flags) {
  HANDLE copy = CopyImage(original, type, width, height, flags);
  if (copy == nullptr || copy == original) return copy;
  if (flags & LR_COPYDELETEORG) GiveBack(ImageSpace(type), original);
  Acquire(copy, ImageKind(type));
  return copy;
}

BOOL WINAPI LedgerDestroyIcon(HICON icon) {
  return GivenBack(DestroyIcon(icon), HeldSpace::kUser, icon);
}

BOOL WINAPI LedgerDestroyCursor(HCURSOR cursor) {
  return GivenBack(DestroyCursor(cursor), HeldSpace::kUser, cursor);
}

HMENU WINAPI LedgerCreateMenu() { return Held(CreateMenu(), LedgerKind::kMenu); }

HMENU WINAPI LedgerCreatePopupMenu() { return Held(CreatePopupMenu(), LedgerKind::kMenu); }

BOOL WINAPI LedgerDestroyMenu(HMENU menu) {
  return GivenBack(DestroyMenu(menu), HeldSpace::kUser, menu);
}

HWND WINAPI LedgerCreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR name, DWORD style,
                                  int x, int y, int width, int height, HWND parent, HMENU menu,
                                  HINSTANCE instance, LPVOID parameter) {
  return Held(CreateWindowExW(exStyle, className, name, style, x, y, width, height, parent, menu,
                              instance, parameter),
              LedgerKind::kWindow);
}

BOOL WINAPI LedgerDestroyWindow(HWND window) {
  return GivenBack(DestroyWindow(window), HeldSpace::kUser, window);
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

void* ClassKey(ATOM atom) { return reinterpret_cast<void*>(static_cast<ULONG_PTR>(atom)); }

ATOM WINAPI LedgerRegisterClassW(const WNDCLASSW* windowClass) {
  const ATOM atom = RegisterClassW(windowClass);
  if (atom != 0) Acquire(ClassKey(atom), LedgerKind::kWindowClass);
  return atom;
}

ATOM WINAPI LedgerRegisterClassExW(const WNDCLASSEXW* windowClass) {
  const ATOM atom = RegisterClassExW(windowClass);
  if (atom != 0) Acquire(ClassKey(atom), LedgerKind::kWindowClass);
  return atom;
}

// A class goes back by name or by atom; the atom of a name is asked
// before the class is gone (GetClassInfoExW answers with it).
BOOL WINAPI LedgerUnregisterClassW(LPCWSTR name, HINSTANCE instance) {
  ATOM atom = 0;
  if (IS_INTRESOURCE(name)) {
    atom = LOWORD(reinterpret_cast<ULONG_PTR>(name));
  } else {
    WNDCLASSEXW description = {};
    description.cbSize = sizeof description;
    atom = static_cast<ATOM>(GetClassInfoExW(instance, name, &description));
  }
  const BOOL unregistered = UnregisterClassW(name, instance);
  if (unregistered && atom != 0) GiveBack(HeldSpace::kWindowClass, ClassKey(atom));
  return unregistered;
}

// A timer is its window and id, or for the thread the id it was given;
// setting it again replaces it.
UINT_PTR WINAPI LedgerSetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
  const UINT_PTR given = SetTimer(window, id, elapse, procedure);
  if (given != 0 && TheLedger().timers.insert({window, window != nullptr ? id : given}).second)
    ++Line(LedgerKind::kTimer).acquired;
  return given;
}

BOOL WINAPI LedgerKillTimer(HWND window, UINT_PTR id) {
  const BOOL killed = KillTimer(window, id);
  if (killed && TheLedger().timers.erase({window, id}) != 0) ++Line(LedgerKind::kTimer).released;
  return killed;
}

HHOOK WINAPI LedgerSetWindowsHookExW(int type, HOOKPROC procedure, HINSTANCE module,
                                     DWORD thread) {
  return Held(SetWindowsHookExW(type, procedure, module, thread), LedgerKind::kHook);
}

BOOL WINAPI LedgerUnhookWindowsHookEx(HHOOK hook) {
  return GivenBack(UnhookWindowsHookEx(hook), HeldSpace::kUser, hook);
}

BOOL WINAPI LedgerOpenClipboard(HWND owner) {
  const BOOL opened = OpenClipboard(owner);
  if (opened && !Holds(HeldSpace::kClipboard, kTheClipboard))
    Acquire(kTheClipboard, LedgerKind::kClipboard);
  return opened;
}

BOOL WINAPI LedgerCloseClipboard() {
  return GivenBack(CloseClipboard(), HeldSpace::kClipboard, kTheClipboard);
}

// Memory given to the clipboard is the system's from then on.
HANDLE WINAPI LedgerSetClipboardData(UINT format, HANDLE data) {
  HANDLE placed = SetClipboardData(format, data);
  if (placed != nullptr && data != nullptr) Release(HeldSpace::kGlobalMemory, data);
  return placed;
}

}  // namespace

// Windows that are gone took their subclassing and their timers with them.
void EndWithGoneWindows() {
  Ledger& ledger = TheLedger();
  std::vector<const void*> gone;
  for (const auto& held : ledger.held.In(HeldSpace::kUser)) {
    const LedgerKind kind = held.second.kind;
    if ((kind == LedgerKind::kSubclass || kind == LedgerKind::kWindow) &&
        !IsWindow(static_cast<HWND>(const_cast<void*>(held.first))))
      gone.push_back(held.first);
  }
  for (const void* window : gone) Release(HeldSpace::kUser, window);
  for (auto timer = ledger.timers.begin(); timer != ledger.timers.end();) {
    if (timer->first != nullptr && !IsWindow(static_cast<HWND>(const_cast<void*>(timer->first)))) {
      timer = ledger.timers.erase(timer);
      ++Line(LedgerKind::kTimer).released;
    } else {
      ++timer;
    }
  }
}

void AppendUserRedirections(std::vector<Redirection>* redirections) {
  redirections->insert(redirections->end(), {
      {"user32.dll", "GetDC", Address(&LedgerGetDC), nullptr},
      {"user32.dll", "ReleaseDC", Address(&LedgerReleaseDC), nullptr},
      {"user32.dll", "BeginPaint", Address(&LedgerBeginPaint), nullptr},
      {"user32.dll", "EndPaint", Address(&LedgerEndPaint), nullptr},
      {"user32.dll", "LoadBitmapW", Address(&LedgerLoadBitmapW), nullptr},
      {"user32.dll", "LoadImageW", Address(&LedgerLoadImageW), nullptr},
      {"user32.dll", "CopyImage", Address(&LedgerCopyImage), nullptr},
      {"user32.dll", "DestroyIcon", Address(&LedgerDestroyIcon), nullptr},
      {"user32.dll", "DestroyCursor", Address(&LedgerDestroyCursor), nullptr},
      {"user32.dll", "CreateMenu", Address(&LedgerCreateMenu), nullptr},
      {"user32.dll", "CreatePopupMenu", Address(&LedgerCreatePopupMenu), nullptr},
      {"user32.dll", "DestroyMenu", Address(&LedgerDestroyMenu), nullptr},
      {"user32.dll", "CreateWindowExW", Address(&LedgerCreateWindowExW), nullptr},
      {"user32.dll", "DestroyWindow", Address(&LedgerDestroyWindow), nullptr},
#ifdef _WIN64
      {"user32.dll", "SetWindowLongPtrW", Address(&LedgerSetWindowLongPtrW), nullptr},
#else
      {"user32.dll", "SetWindowLongW", Address(&LedgerSetWindowLongPtrW), nullptr},
#endif
      {"user32.dll", "RegisterClassW", Address(&LedgerRegisterClassW), nullptr},
      {"user32.dll", "RegisterClassExW", Address(&LedgerRegisterClassExW), nullptr},
      {"user32.dll", "UnregisterClassW", Address(&LedgerUnregisterClassW), nullptr},
      {"user32.dll", "SetTimer", Address(&LedgerSetTimer), nullptr},
      {"user32.dll", "KillTimer", Address(&LedgerKillTimer), nullptr},
      {"user32.dll", "SetWindowsHookExW", Address(&LedgerSetWindowsHookExW), nullptr},
      {"user32.dll", "UnhookWindowsHookEx", Address(&LedgerUnhookWindowsHookEx), nullptr},
      {"user32.dll", "OpenClipboard", Address(&LedgerOpenClipboard), nullptr},
      {"user32.dll", "CloseClipboard", Address(&LedgerCloseClipboard), nullptr},
      {"user32.dll", "SetClipboardData", Address(&LedgerSetClipboardData), nullptr},
  });
}
