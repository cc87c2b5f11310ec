#include "message_box_answerer.h"

namespace {

constexpr int kMessageBoxText = 0xFFFF;  // the static control of a message box
MessageBoxAnswerer* g_answerer = nullptr;

}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(Listener listener) : listener_(std::move(listener)) {
  g_answerer = this;
  hook_ = SetWindowsHookExW(WH_CBT, &MessageBoxAnswerer::Hook, nullptr, GetCurrentThreadId());
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  g_answerer = nullptr;
}

LRESULT CALLBACK MessageBoxAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam) {
  HWND window = reinterpret_cast<HWND>(wParam);
  MessageBoxAnswerer* self = g_answerer;
  if (self != nullptr && code == HCBT_DESTROYWND) self->answered_.erase(window);
  if (self != nullptr && code == HCBT_ACTIVATE && self->answered_.count(window) == 0 &&
      GetDlgItem(window, kMessageBoxText) != nullptr) {
    self->answered_.insert(window);
    WCHAR caption[512] = {};
    WCHAR text[512] = {};
    GetWindowTextW(window, caption, 512);
    GetDlgItemTextW(window, kMessageBoxText, text, 512);
    self->listener_(caption, text);
    PostMessageW(window, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
