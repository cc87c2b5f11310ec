// The functions the plug-in looks up at run time: GetProcAddress hands out
// the ledger's function for every name it redirects, and notes every name
// it neither redirects nor knows to take nothing. Activation contexts and
// their activations, and the common controls' image lists, which the
// plug-in reaches this way.
#include <windows.h>
#include <commctrl.h>

#include <cctype>
#include <string>

#include "ledger_imports.h"
#include "ledger_state.h"

namespace {

typedef HIMAGELIST(WINAPI* ImageListCreateProc)(int, int, UINT, int, int);
typedef BOOL(WINAPI* ImageListDestroyProc)(HIMAGELIST);

// The version-6 common controls that the plug-in loads are not the host's:
// their functions come from the plug-in's lookups.
void* g_imageListCreate;
void* g_imageListDestroy;

template <typename Proc>
Proc Real(void* function) {
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(function));
}

HANDLE WINAPI LedgerCreateActCtxW(const ACTCTXW* request) {
  HANDLE context = CreateActCtxW(request);
  if (context != INVALID_HANDLE_VALUE) Acquire(context, LedgerKind::kActivationContext);
  return context;
}

// A release of a context the plug-in no longer holds (released once too
// often) is a fault even where the system lets it pass.
void WINAPI LedgerReleaseActCtx(HANDLE context) {
  GiveBack(HeldSpace::kActivationContext, context);
  ReleaseActCtx(context);
}

BOOL WINAPI LedgerActivateActCtx(HANDLE context, ULONG_PTR* cookie) {
  const BOOL activated = ActivateActCtx(context, cookie);
  if (activated && cookie != nullptr)
    Acquire(reinterpret_cast<void*>(*cookie), LedgerKind::kActivation);
  return activated;
}

BOOL WINAPI LedgerDeactivateActCtx(DWORD flags, ULONG_PTR cookie) {
  return GivenBack(DeactivateActCtx(flags, cookie), HeldSpace::kActivation,
                   reinterpret_cast<void*>(cookie));
}

HIMAGELIST WINAPI LedgerImageListCreate(int width, int height, UINT flags, int initial, int grow) {
  return Held(Real<ImageListCreateProc>(g_imageListCreate)(width, height, flags, initial, grow),
              LedgerKind::kImageList);
}

BOOL WINAPI LedgerImageListDestroy(HIMAGELIST list) {
  return GivenBack(Real<ImageListDestroyProc>(g_imageListDestroy)(list), HeldSpace::kImageList,
                   list);
}

// "comctl32.dll" for the module, whichever folder it came from.
std::string LibraryName(HMODULE module) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(module, path, MAX_PATH);
  std::string name = path;
  const size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

void NoteUnknownLookup(const std::string& library, const std::string& function) {
  TheLedger().unknownLookups.insert(std::wstring(library.begin(), library.end()) + L"!" +
                                    std::wstring(function.begin(), function.end()));
}

FARPROC WINAPI LedgerGetProcAddress(HMODULE module, LPCSTR name) {
  const FARPROC found = GetProcAddress(module, name);
  if (found == nullptr) return nullptr;
  const std::string library = LibraryName(module);
  if (IS_INTRESOURCE(name)) {
    NoteUnknownLookup(library, "#" + std::to_string(LOWORD(reinterpret_cast<ULONG_PTR>(name))));
    return found;
  }
  if (const Redirection* redirection = FindRedirection(library.c_str(), name)) {
    if (redirection->real != nullptr)
      *redirection->real = reinterpret_cast<void*>(reinterpret_cast<void (*)()>(found));
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(redirection->wrapper));
  }
  if (HarmlessReason(library.c_str(), name) == nullptr) NoteUnknownLookup(library, name);
  return found;
}

}  // namespace

void AppendLookupRedirections(std::vector<Redirection>* redirections) {
  redirections->insert(redirections->end(), {
      {"kernel32.dll", "GetProcAddress", Address(&LedgerGetProcAddress), nullptr},
      {"kernel32.dll", "CreateActCtxW", Address(&LedgerCreateActCtxW), nullptr},
      {"kernel32.dll", "ReleaseActCtx", Address(&LedgerReleaseActCtx), nullptr},
      {"kernel32.dll", "ActivateActCtx", Address(&LedgerActivateActCtx), nullptr},
      {"kernel32.dll", "DeactivateActCtx", Address(&LedgerDeactivateActCtx), nullptr},
      {"comctl32.dll", "ImageList_Create", Address(&LedgerImageListCreate),
       &g_imageListCreate},
      {"comctl32.dll", "ImageList_Destroy", Address(&LedgerImageListDestroy),
       &g_imageListDestroy},
  });
}
