#include "script_runner.h"

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "message_box_answerer.h"
#include "opening_probe.h"
#include "screenshot.h"
#include "sheet_session.h"
#include "utf8_output.h"

namespace {

// The sheet's dialog-message handling dispatches what is meant for its
// pages itself, paints included: the probe sees both ways.
void Dispatch(HWND sheet, MSG* msg) {
  OpeningProbe* probe = OpeningProbe::Active();
  if (probe != nullptr) probe->BeforeDispatch(*msg);
  if (sheet == nullptr || !IsWindow(sheet) || !PropSheet_IsDialogMessage(sheet, msg)) {
    TranslateMessage(msg);
    DispatchMessageW(msg);
  }
  if (probe != nullptr) probe->AfterDispatch(*msg);
}

// Lets the sheet and its pages handle what the last step caused: for
// `milliseconds`, so that a person or a screenshot sees the result, or,
// with none, until the queue is empty (paints included), so that a soak
// or a benchmark waits for nothing but the work itself.
void Pump(HWND sheet, DWORD milliseconds = 50) {
  MSG msg;
  if (milliseconds == 0) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) Dispatch(sheet, &msg);
    return;
  }
  const DWORD until = GetTickCount() + milliseconds;
  do {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) Dispatch(sheet, &msg);
    Sleep(5);
  } while (static_cast<LONG>(until - GetTickCount()) > 0);
}

std::wstring Rest(std::wistringstream& in) {
  std::wstring rest;
  std::getline(in, rest);
  if (!rest.empty() && rest[0] == L' ') rest.erase(0, 1);
  return rest;
}

void Click(HWND page, int id) {
  HWND button = GetDlgItem(page, id);
  if (IsWindowEnabled(button)) {
    SendMessageW(button, BM_CLICK, 0, 0);
    return;
  }
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

std::wstring EntryText(HWND list, bool extended, LRESULT index) {
  wchar_t text[128] = {};
  if (!extended) {
    if (SendMessageW(list, CB_GETLBTEXTLEN, index, 0) < 128)
      SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
  }
  COMBOBOXEXITEMW item = {};
  item.mask = CBEIF_TEXT;
  item.iItem = index;
  item.pszText = text;
  item.cchTextMax = 128;
  SendMessageW(list, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return text;
}

// "control ID: enabled, entries A | B" for a list, "control ID: disabled,
// checked" for a button.
// A list box's lines, each after " | ".
std::wstring ListBoxLines(HWND list) {
  std::wstring lines;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    const LRESULT length = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    lines += L" | " + text;
  }
  return lines;
}

std::wstring Describe(HWND page, int id) {
  HWND control = GetDlgItem(page, id);
  if (control == nullptr) return Format(L"control %d: none", id);
  std::wstring line =
      Format(L"control %d: %ls", id, IsWindowEnabled(control) ? L"enabled" : L"disabled");
  wchar_t klass[32] = {};
  GetClassNameW(control, klass, 32);
  const bool extended = lstrcmpiW(klass, L"ComboBoxEx32") == 0;
  if (lstrcmpiW(klass, L"ListBox") == 0) return line + L", lines" + ListBoxLines(control);
  if (!extended && lstrcmpiW(klass, L"ComboBox") != 0) {
    const LRESULT check = SendMessageW(control, BM_GETCHECK, 0, 0);
    return line + (check == BST_CHECKED ? L", checked" : L", unchecked");
  }
  line += L", entries";
  const LRESULT count = SendMessageW(control, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i)
    line += (i == 0 ? L" " : L" | ") + EntryText(control, extended, i);
  return line;
}

}  // namespace

std::wstring ReadScriptFile(const std::wstring& path) {
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (file == nullptr) return {};
  std::string bytes;
  char buffer[4096];
  size_t count;
  while ((count = fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, count);
  fclose(file);
  wchar_t* wide = new wchar_t[bytes.size() + 1];
  const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                         wide, static_cast<int>(bytes.size()) + 1);
  std::wstring text(wide, length > 0 ? length : 0);
  delete[] wide;
  return text;
}

namespace {

class ScriptRunner {
 public:
  explicit ScriptRunner(SheetSession* session)
      : session_(session), sheet_(session->Sheet()), settle_(session->Options().settleMilliseconds) {}

  // False when the step cannot be done; the script then stops.
  bool Step(const std::wstring& line);
  ScriptEnd End() const {
    if (sheet_ != nullptr) return ScriptEnd::kLeftOpen;
    return closedWithOk_ ? ScriptEnd::kClosedWithOk : ScriptEnd::kClosedOtherwise;
  }

 private:
  HWND Page() const { return PropSheet_GetCurrentPageHwnd(sheet_); }
  bool Press(int button);
  bool CloseBox();
  void EndIfClosed(bool withOk);

  SheetSession* session_;
  HWND sheet_;
  DWORD settle_;
  bool closedWithOk_ = false;
};

void ScriptRunner::EndIfClosed(bool withOk) {
  if (PropSheet_GetCurrentPageHwnd(sheet_) != nullptr) return;  // still open
  closedWithOk_ = withOk;
  DestroyWindow(sheet_);
  sheet_ = nullptr;
}

bool ScriptRunner::Press(int button) {
  PhaseTimer timer(button == PSBTN_APPLYNOW ? OpeningPhase::kApply : OpeningPhase::kClose);
  PropSheet_PressButton(sheet_, button);
  Pump(sheet_, settle_);
  EndIfClosed(button == PSBTN_OK);
  return true;
}

// As a person closes it: the system menu's Close, which the sheet takes
// as Cancel.
bool ScriptRunner::CloseBox() {
  PhaseTimer timer(OpeningPhase::kClose);
  SendMessageW(sheet_, WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump(sheet_, settle_);
  EndIfClosed(false);
  return true;
}

bool ScriptRunner::Step(const std::wstring& line) {
  std::wistringstream in(line);
  std::wstring command;
  in >> command;
  if (command.empty() || command[0] == L'#' || command == L"path") return true;
  const bool pressed =
      command == L"apply" || command == L"ok" || command == L"cancel" || command == L"close";
  PhaseTimer timer(pressed ? OpeningPhase::kNone : OpeningPhase::kSteps);
  if (command == L"print") {
    PrintLine(Rest(in));
    return true;
  }
  if (sheet_ == nullptr) return false;  // nothing to drive any more

  int id = 0;
  if (command == L"page") {
    in >> id;
    PropSheet_SetCurSel(sheet_, nullptr, id);
  } else if (command == L"click") {
    in >> id;
    Click(Page(), id);
  } else if (command == L"describe") {
    in >> id;
    PrintLine(Describe(Page(), id));
  } else if (command == L"type") {
    in >> id;
    for (wchar_t c : Rest(in)) SendDlgItemMessageW(Page(), id, WM_CHAR, c, 0);
  } else if (command == L"settext") {
    in >> id;
    SetDlgItemTextW(Page(), id, Rest(in).c_str());
  } else if (command == L"choose") {
    int index = 0;
    in >> id >> index;
    HWND list = GetDlgItem(Page(), id);
    SendMessageW(list, CB_SETCURSEL, index, 0);
    SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  } else if (command == L"item") {
    int index = 0;
    in >> index;
    OPTITEM* item = session_->Tree().Find(Rest(in));
    if (item == nullptr) return false;
    session_->ChangeItem(item, index);
  } else if (command == L"properties") {
    session_->OpenPrinterProperties();
  } else if (command == L"apply") {
    return Press(PSBTN_APPLYNOW);
  } else if (command == L"ok") {
    return Press(PSBTN_OK);
  } else if (command == L"cancel") {
    return Press(PSBTN_CANCEL);
  } else if (command == L"close") {
    return CloseBox();
  } else if (command == L"screenshot") {
    Pump(sheet_, 300);
    const std::wstring path = session_->Options().screenshots + L"\\" + Rest(in);
    if (!SaveWindowBitmap(sheet_, path)) PrintLine(L"no screenshot " + path, stderr);
  } else {
    return false;
  }
  Pump(sheet_, settle_);
  return true;
}

}  // namespace

ScriptEnd RunScript(SheetSession* session, const std::wstring& path) {
  return RunScriptText(session, ReadScriptFile(path));
}

ScriptEnd RunScriptText(SheetSession* session, const std::wstring& script) {
  const bool quiet = session->Options().quiet;
  MessageBoxAnswerer answerer([quiet](const std::wstring& caption, const std::wstring& text) {
    if (!quiet) PrintLine(L"message box: " + caption + L": " + text);
  });
  ScriptRunner runner(session);
  Pump(session->Sheet(), session->Options().settleMilliseconds * 4);
  std::wistringstream lines(script);
  std::wstring line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    if (!runner.Step(line)) {
      PrintLine(Format(L"script line %d cannot be done: ", number) + line, stderr);
      return ScriptEnd::kStepFailed;
    }
  }
  return runner.End();
}

std::vector<ScriptPath> ScriptPaths(const std::wstring& script) {
  std::wstring shared;
  std::vector<ScriptPath> paths;
  std::wistringstream lines(script);
  std::wstring line;
  while (std::getline(lines, line)) {
    std::wistringstream words(line);
    std::wstring command;
    words >> command;
    if (command == L"path") {
      paths.push_back({Rest(words), shared});
      continue;
    }
    (paths.empty() ? shared : paths.back().steps) += line + L"\n";
  }
  if (paths.empty()) paths.push_back({L"script", shared});
  return paths;
}
