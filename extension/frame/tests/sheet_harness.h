// Test support: the driver's common property sheet around the shipped
// library. It records every call of the sheet's service function, makes real
// pages from the records the plug-in passes, and shows them in a modeless
// property sheet that tests drive with messages.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "loaded_plugin.h"
#include "message_box_answerer.h"
#include "private_devmode.h"

struct SheetCall {
  UINT function;
  LPARAM lParam1;
  LPARAM lParam2;
};

class SheetHarness {
 public:
  SheetHarness();
  ~SheetHarness();

  // Loads the library, makes the object and hands it the driver's record
  // (with a default private block) through CommonUIProp. A version query
  // given here stands in for the library's GetVersionExW.
  bool Open(void* versionQuery = nullptr);
  // Runs PROPSHEETUI_REASON_INIT through DocumentPropertySheets.
  HRESULT AddPages();
  // Shows the added pages in a modeless sheet; false when it could not.
  bool ShowSheet();
  // Makes page `index` the current one; false when the page kept its place.
  bool SelectPage(int index);
  HWND Page(int index) const;
  bool PressApply();
  bool ApplyEnabled() const;

  LoadedPlugin plugin;
  IPrintOemUI2* object = nullptr;
  OEMCUIPPARAM param = {};
  PrivateDevmode block = {};
  PROPSHEETUI_INFO info = {};
  std::vector<SheetCall> calls;
  std::vector<std::vector<BYTE>> pageRecords;  // copies, as the sheet took them
  std::vector<HPROPSHEETPAGE> pages;
  HWND sheet = nullptr;

 private:
  static LONG_PTR CALLBACK Service(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM lParam2);
  HANDLE heap_ = nullptr;
};

// Answers every message box of this thread with OK and keeps its texts.
class MessageBoxCatcher {
 public:
  std::vector<std::wstring> captions;
  std::vector<std::wstring> texts;

 private:
  MessageBoxAnswerer answerer_{[this](const std::wstring& caption, const std::wstring& text) {
    captions.push_back(caption);
    texts.push_back(text);
  }};
};
