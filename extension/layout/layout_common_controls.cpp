#include "layout_common_controls.h"

#include "page_activation_context.h"

namespace {

// Written once on the page's thread; plain data so nothing runs at load.
CommonControlsProcs g_procs;
bool g_bound = false;

typedef BOOL(WINAPI* ActivateActCtxProc)(HANDLE, ULONG_PTR*);
typedef BOOL(WINAPI* DeactivateActCtxProc)(DWORD, ULONG_PTR);

template <typename Proc>
Proc ProcOf(HMODULE module, const char* name) {
  // Through void(*)(): the one function type every other may be cast from.
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

HMODULE LoadInManifestContext() {
  ManifestContextScope scope;
  return LoadLibraryW(L"comctl32.dll");
}

}  // namespace

ManifestContextScope::ManifestContextScope() {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  auto activate = ProcOf<ActivateActCtxProc>(kernel, "ActivateActCtx");
  const HANDLE context = GetPageActivationContext();
  if (activate == nullptr || context == nullptr || context == INVALID_HANDLE_VALUE) return;
  active_ = activate(context, &cookie_) != FALSE;
}

ManifestContextScope::~ManifestContextScope() {
  if (!active_) return;
  auto deactivate =
      ProcOf<DeactivateActCtxProc>(GetModuleHandleW(L"kernel32.dll"), "DeactivateActCtx");
  if (deactivate != nullptr) deactivate(0, cookie_);
}

const CommonControlsProcs* BoundCommonControls() {
  if (g_bound) return &g_procs;
  HMODULE library = LoadInManifestContext();
  if (library == nullptr) return nullptr;
  CommonControlsProcs procs;
  procs.initCommonControls = ProcOf<void(WINAPI*)()>(library, "InitCommonControls");
  procs.imageListCreate =
      ProcOf<HIMAGELIST(WINAPI*)(int, int, UINT, int, int)>(library, "ImageList_Create");
  procs.imageListReplaceIcon =
      ProcOf<int(WINAPI*)(HIMAGELIST, int, HICON)>(library, "ImageList_ReplaceIcon");
  procs.imageListDestroy = ProcOf<BOOL(WINAPI*)(HIMAGELIST)>(library, "ImageList_Destroy");
  if (procs.initCommonControls == nullptr || procs.imageListCreate == nullptr ||
      procs.imageListReplaceIcon == nullptr || procs.imageListDestroy == nullptr) {
    FreeLibrary(library);
    return nullptr;
  }
  g_procs = procs;
  g_bound = true;
  return &g_procs;
}
