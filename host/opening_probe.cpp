#include "opening_probe.h"

#include <prsht.h>

#include <algorithm>

namespace {

OpeningProbe* g_active = nullptr;

LONGLONG Now() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

bool Watched(UINT message) { return message == WM_INITDIALOG || message == WM_SHOWWINDOW; }

}  // namespace

const wchar_t* OpeningPhaseName(OpeningPhase phase) {
  switch (phase) {
    case OpeningPhase::kHostModel: return L"host: its model of the PPD";
    case OpeningPhase::kHostTree: return L"host: its items and constraints";
    case OpeningPhase::kHostMarks: return L"host: options marked in conflict";
    case OpeningPhase::kObjectAndBlock: return L"object and block";
    case OpeningPhase::kModelBuild: return L"model build (first CommonUIProp)";
    case OpeningPhase::kHandler: return L"handler (second CommonUIProp)";
    case OpeningPhase::kPagesAdded: return L"pages handed over";
    case OpeningPhase::kSheetMade: return L"sheet made with its first page";
    case OpeningPhase::kPageCreation: return L"page creation (WM_INITDIALOG)";
    case OpeningPhase::kShowing: return L"showing, list refills (WM_SHOWWINDOW)";
    case OpeningPhase::kPaints: return L"paints of the pages (WM_PAINT)";
    case OpeningPhase::kSteps: return L"script steps (choose, click, type, page)";
    case OpeningPhase::kApply: return L"apply";
    case OpeningPhase::kClose: return L"OK and close";
    case OpeningPhase::kRelease: return L"release";
    case OpeningPhase::kCount: break;
  }
  return L"?";
}

OpeningProbe::OpeningProbe(HMODULE module) : module_(module) {
  g_active = this;
  const DWORD thread = GetCurrentThreadId();
  callHook_ = SetWindowsHookExW(WH_CALLWNDPROC, &OpeningProbe::CallHook, nullptr, thread);
  returnHook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, &OpeningProbe::ReturnHook, nullptr, thread);
}

OpeningProbe::~OpeningProbe() {
  if (callHook_ != nullptr) UnhookWindowsHookEx(callHook_);
  if (returnHook_ != nullptr) UnhookWindowsHookEx(returnHook_);
  if (g_active == this) g_active = nullptr;
}

OpeningProbe* OpeningProbe::Active() { return g_active; }

void OpeningProbe::Add(OpeningPhase phase, LONGLONG ticks) {
  if (phase == OpeningPhase::kNone) return;
  ticks_[static_cast<int>(phase)] += ticks;
}

std::vector<double> OpeningProbe::Seconds() const {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> seconds;
  for (LONGLONG ticks : ticks_)
    seconds.push_back(static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart));
  return seconds;
}

// A page of the plug-in is known by the module its record names: the
// driver's own page comes from the host.
void OpeningProbe::Began(HWND window, UINT message, const PROPSHEETPAGEW* record) {
  if (message == WM_INITDIALOG && record != nullptr && record->hInstance == module_ &&
      std::find(pages_.begin(), pages_.end(), window) == pages_.end())
    pages_.push_back(window);
  if (std::find(pages_.begin(), pages_.end(), window) == pages_.end()) return;
  open_.push_back({window, message, Now()});
}

// Only the outermost message of a kind is timed: a page shown while it is
// created counts once.
void OpeningProbe::Ended(HWND window, UINT message) {
  for (size_t i = open_.size(); i-- > 0;) {
    if (open_[i].window != window || open_[i].message != message) continue;
    const LONGLONG elapsed = Now() - open_[i].start;
    open_.erase(open_.begin() + static_cast<std::ptrdiff_t>(i));
    const bool nested = std::any_of(open_.begin(), open_.end(),
                                    [message](const Open& o) { return o.message == message; });
    if (!nested)
      Add(message == WM_INITDIALOG ? OpeningPhase::kPageCreation : OpeningPhase::kShowing, elapsed);
    return;
  }
}

LRESULT CALLBACK OpeningProbe::CallHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && g_active != nullptr && call != nullptr && Watched(call->message)) {
    const auto* record =
        call->message == WM_INITDIALOG ? reinterpret_cast<const PROPSHEETPAGEW*>(call->lParam)
                                       : nullptr;
    g_active->Began(call->hwnd, call->message, record);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK OpeningProbe::ReturnHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && g_active != nullptr && call != nullptr && Watched(call->message))
    g_active->Ended(call->hwnd, call->message);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool OpeningProbe::IsPluginPageOrChild(HWND window) const {
  for (HWND w = window; w != nullptr; w = GetParent(w))
    if (std::find(pages_.begin(), pages_.end(), w) != pages_.end()) return true;
  return false;
}

void OpeningProbe::BeforeDispatch(const MSG& message) {
  painting_ = message.message == WM_PAINT && IsPluginPageOrChild(message.hwnd);
  if (!painting_) return;
  ++paints_;
  const bool page = std::find(pages_.begin(), pages_.end(), message.hwnd) != pages_.end();
  ++paintsById_[page ? 0 : GetDlgCtrlID(message.hwnd)];
  paintStart_ = Now();
}

void OpeningProbe::AfterDispatch(const MSG&) {
  if (painting_) Add(OpeningPhase::kPaints, Now() - paintStart_);
  painting_ = false;
}

PhaseTimer::PhaseTimer(OpeningPhase phase) : phase_(phase) {
  if (OpeningProbe::Active() != nullptr) start_ = Now();
}

PhaseTimer::~PhaseTimer() {
  if (OpeningProbe::Active() != nullptr && phase_ != OpeningPhase::kNone) OpeningProbe::Active()->Add(phase_, Now() - start_);
}
