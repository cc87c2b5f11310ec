// Answers every message box of this thread with OK, as a person at the
// sheet would, and tells a listener its caption and text. One answerer at a
// time per process: the hook carries no data of its own.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>

class MessageBoxAnswerer {
 public:
  using Listener = std::function<void(const std::wstring& caption, const std::wstring& text)>;

  explicit MessageBoxAnswerer(Listener listener);
  ~MessageBoxAnswerer();
  MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
  MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

  Listener listener_;
  HHOOK hook_ = nullptr;
  // A box is activated again when another program's window takes the
  // foreground before the posted answer arrives: it is answered once.
  std::set<HWND> answered_;
};
