// The helper interface the host publishes to the plug-in, as the driver
// does: it answers the installed equipment from the host's configuration
// (or the PPD's default), records every call, and marks the document
// tree's options in conflict again after every change it takes.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "oem_interfaces.h"
#include "conflict_marks.h"
#include "ui_constraints.h"

class DocumentTree;
class PpdModel;

class HostDriverUI final : public IPrintOemDriverUI {
 public:
  std::map<std::string, std::string> installed;  // feature keyword without '*' -> option
  const PpdModel* model = nullptr;               // gives the defaults of the rest
  DocumentTree* tree = nullptr;                  // the document tree it marks
  std::vector<UiConstraint> constraints;
  std::vector<std::wstring> calls;

  LONG References() const { return references_; }
  // Marks the options of the tree that the constraints rule out now. The
  // tree and the constraints are taken as they stand at the first marking.
  void MarkConflicts();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  // The host owns this object; counts are kept to be reported.
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override { return InterlockedDecrement(&references_); }
  HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID pci, PCSTR feature, PVOID output,
                                                DWORD size, PDWORD needed,
                                                PDWORD optionsReturned) override;
  HRESULT STDMETHODCALLTYPE DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID pci, PVOID item, DWORD previousSelection,
                                               DWORD mode) override;

 private:
  std::unique_ptr<ConflictMarker> marker_;
  std::string InstalledOption(const std::string& feature) const;
  LONG references_ = 0;
};
