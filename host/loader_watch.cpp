#include "loader_watch.h"

#include <cwchar>

namespace {

// The notification's records, as published for LdrRegisterDllNotification.
struct LoaderString {
  USHORT Length;  // in bytes, without a terminator
  USHORT MaximumLength;
  PWSTR Buffer;
};

struct LoaderNotification {  // the loaded and unloaded records share this shape
  ULONG Flags;
  const LoaderString* FullDllName;
  const LoaderString* BaseDllName;
  PVOID DllBase;
  ULONG SizeOfImage;
};

constexpr ULONG kLoaded = 1;
constexpr ULONG kUnloaded = 2;

typedef VOID(CALLBACK* NotificationProc)(ULONG reason, const LoaderNotification* data,
                                         PVOID context);
typedef LONG(NTAPI* RegisterProc)(ULONG flags, NotificationProc notification, PVOID context,
                                  PVOID* cookie);

std::wstring g_watchedPath;
void (*g_loaded)(HMODULE, SIZE_T);
void (*g_unloaded)(HMODULE);

bool IsWatched(const LoaderString* name) {
  const size_t units = name->Length / sizeof(wchar_t);
  return units == g_watchedPath.size() &&
         _wcsnicmp(name->Buffer, g_watchedPath.c_str(), units) == 0;
}

// Runs under the loader's lock, for every library of the process.
VOID CALLBACK Notified(ULONG reason, const LoaderNotification* data, PVOID) {
  if (data == nullptr || data->FullDllName == nullptr || !IsWatched(data->FullDllName)) return;
  auto* module = static_cast<HMODULE>(data->DllBase);
  if (reason == kLoaded && g_loaded != nullptr) g_loaded(module, data->SizeOfImage);
  if (reason == kUnloaded && g_unloaded != nullptr) g_unloaded(module);
}

}  // namespace

bool WatchLibraryLoads(const std::wstring& path, void (*loaded)(HMODULE module, SIZE_T size),
                       void (*unloaded)(HMODULE module), std::wstring* problem) {
  static bool registered = false;
  if (!registered) {
    auto registerNotification = reinterpret_cast<RegisterProc>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "LdrRegisterDllNotification")));
    PVOID cookie = nullptr;
    if (registerNotification == nullptr ||
        registerNotification(0, &Notified, nullptr, &cookie) < 0) {
      *problem = L"the system sends no notification of library loads";
      return false;
    }
    registered = true;  // for the life of the process
  }
  wchar_t full[MAX_PATH];
  const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
  if (length == 0 || length >= MAX_PATH) {
    *problem = L"the library's path is not usable: " + path;
    return false;
  }
  g_watchedPath = full;
  g_loaded = loaded;
  g_unloaded = unloaded;
  return true;
}
