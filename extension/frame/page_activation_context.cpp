#include "page_activation_context.h"

#include <cstdint>
#include <cstdlib>

#include "module_state.h"

namespace {

// Kept as bits rather than a HANDLE so the library has no dynamic
// initialisation: all bits set means "not made".
constexpr uintptr_t kNoContext = ~uintptr_t{0};
uintptr_t g_pageActivationContext = kNoContext;

constexpr DWORD kFirstPathUnits = MAX_PATH;
constexpr int kPathAttempts = 10;
constexpr WORD kManifestResourceId = 2;

typedef HANDLE(WINAPI* CreateActCtxWProc)(const ACTCTXW*);
typedef void(WINAPI* ReleaseActCtxProc)(HANDLE);

// Activation contexts came with Windows XP; a system without them gets no
// context rather than a load failure.
template <typename Proc>
Proc KernelProc(const char* name) {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return nullptr;
  // Through void(*)(): the one function type every other may be cast from.
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(kernel, name)));
}

// The library's own path, however long; null when it cannot be had.
WCHAR* ModulePath() {
  DWORD units = kFirstPathUnits;
  for (int attempt = 0; attempt < kPathAttempts; ++attempt, units *= 2) {
    WCHAR* path = static_cast<WCHAR*>(std::malloc(units * sizeof(WCHAR)));
    if (path == nullptr) return nullptr;
    const DWORD length = GetModuleFileNameW(g_moduleInstance, path, units);
    if (length == 0) {
      std::free(path);
      return nullptr;
    }
    if (length < units) return path;
    std::free(path);
  }
  return nullptr;
}

}  // namespace

HANDLE GetPageActivationContext() {
  if (g_pageActivationContext != kNoContext)
    return reinterpret_cast<HANDLE>(g_pageActivationContext);

  auto createActCtx = KernelProc<CreateActCtxWProc>("CreateActCtxW");
  if (createActCtx == nullptr) return INVALID_HANDLE_VALUE;
  WCHAR* path = ModulePath();
  if (path == nullptr) return INVALID_HANDLE_VALUE;

  ACTCTXW request;
  ZeroMemory(&request, sizeof request);
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = path;
  request.lpResourceName = MAKEINTRESOURCEW(kManifestResourceId);
  const HANDLE context = createActCtx(&request);
  std::free(path);

  g_pageActivationContext = reinterpret_cast<uintptr_t>(context);
  return context;
}

void ReleasePageActivationContext() {
  if (g_pageActivationContext == kNoContext) return;
  auto releaseActCtx = KernelProc<ReleaseActCtxProc>("ReleaseActCtx");
  if (releaseActCtx != nullptr) releaseActCtx(reinterpret_cast<HANDLE>(g_pageActivationContext));
  g_pageActivationContext = kNoContext;
}
