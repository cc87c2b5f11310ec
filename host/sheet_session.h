// One opening of the printing preferences, as the PostScript driver runs
// it: a plug-in object made from the loaded library and told about the
// printer, the document settings tree built from the PPD and adjusted by the
// plug-in, the property sheet with the driver's page and the plug-in's
// pages, and everything given back when the sheet has closed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "document_tree.h"
#include "driver_ui.h"
#include "host_options.h"
#include "plugin_library.h"
#include "script_runner.h"

class PpdModel;

class SheetSession {
 public:
  SheetSession(const HostOptions& options, PluginLibrary* library);
  ~SheetSession() { Close(); }
  SheetSession(const SheetSession&) = delete;
  SheetSession& operator=(const SheetSession&) = delete;

  // Everything up to the pages: false with a message when a step fails.
  bool Open();
  // Shows the sheet: modeless and driven by the script when there is one,
  // modal for a person otherwise. Returns the sheet's result.
  int Show();
  // The resulting state, on standard output.
  void Report() const;
  // The device mode the opening leaves (public part and private block),
  // into the file the options name; false with a message when it fails.
  bool SaveDevmode() const;
  // Gives back what the opening took, in the driver's order: the sheet's
  // window, the plug-in object, the printer, the model and the plug-in heap
  // (`beforeHeapDestroyed` runs just before the heap goes).
  void Close(void (*beforeHeapDestroyed)() = nullptr);
  HANDLE PluginHeap() const { return heap_; }
  // How the script left the sheet (after Show with a script).
  ScriptEnd End() const { return scriptEnd_; }
  // The references the plug-in objects of this opening hold on the
  // driver's helper interface: none once they are released.
  LONG HelperReferences() const { return driverUI_.References(); }

  // For the driver's page and the script.
  void ApplyToDriver();
  // The printer's properties opened beside the document settings: the
  // device settings tree, adjusted by a plug-in object of its own.
  void OpenPrinterProperties();
  void ChangeItem(OPTITEM* item, LONG selection);
  DocumentTree& Tree() { return tree_; }
  HWND Sheet() const { return sheet_; }
  // The driver's page, once it has a window: an item the host changes is
  // shown there at once, as the driver's own page would show it.
  void SetDriverPage(HWND page) { driverPage_ = page; }
  const HostOptions& Options() const { return options_; }

 private:
  bool CreatePlugin();
  bool PrepareDevmode();
  bool ReadDevmodeIn(std::vector<BYTE>* publicPart, std::vector<BYTE>* privateBlock) const;
  bool RegisterAndOpenPrinter();
  bool ReadPrinterPpd();
  bool LockItems();
  void RunCommonUIProp();
  void CallBackForChange(OPTITEM* item, LONG previous);
  void RunDeviceTree();
  bool AddPages();
  static LONG_PTR CALLBACK ComPropSheet(HANDLE sheet, UINT function, LPARAM lParam1,
                                        LPARAM lParam2);

  HostOptions options_;
  PluginLibrary* library_;
  HMODULE module_ = nullptr;
  IPrintOemUI2* plugin_ = nullptr;
  HostDriverUI driverUI_;
  OEMUIOBJ uiObject_ = {};
  HANDLE printer_ = nullptr;
  HANDLE heap_ = nullptr;
  std::vector<BYTE> devmode_;
  PpdModel* model_ = nullptr;
  DocumentTree tree_;
  DocumentTree deviceTree_;
  bool deviceTreeShown_ = false;
  OEMCUIPPARAM param_ = {};
  OEMCUIPPARAM deviceParam_ = {};
  PROPSHEETUI_INFO info_ = {};
  std::vector<HPROPSHEETPAGE> pages_;
  std::vector<std::wstring> sheetCalls_;
  HWND sheet_ = nullptr;
  HWND driverPage_ = nullptr;
  int result_ = 0;
  ScriptEnd scriptEnd_ = ScriptEnd::kLeftOpen;
};
