#include "driver_ui.h"

#include "opening_probe.h"

#include <cstring>

#include "conflict_marks.h"
#include "document_tree.h"
#include "ppd_model.h"

namespace {

std::wstring Widen(const std::string& text) {
  wchar_t wide[512] = {};
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, 512);
  return wide;
}

std::string Ansi(const char16_t* text) {
  char ansi[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(text), -1, ansi, MAX_PATH,
                      nullptr, nullptr);
  return ansi;
}

}  // namespace

HRESULT STDMETHODCALLTYPE HostDriverUI::QueryInterface(REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintOemDriverUI)) {
    *ppv = static_cast<IPrintOemDriverUI*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

// The driver finds a feature whatever the case a constraint writes its
// keyword in; the configuration, too, is read that way.
std::string HostDriverUI::InstalledOption(const std::string& feature) const {
  for (const auto& configured : installed) {
    if (SameKeyword(configured.first, feature)) return configured.second;
  }
  for (int32_t i = 0; model != nullptr && i < model->featureCount; ++i) {
    const PpdFeature* found = model->GetFeature(i);
    if (SameKeyword(Ansi(found->keyword.characters), "*" + feature))
      return Ansi(found->defaultOption.characters);
  }
  return {};
}

HRESULT STDMETHODCALLTYPE HostDriverUI::DrvGetDriverSetting(PVOID, PCSTR feature, PVOID output,
                                                            DWORD size, PDWORD needed,
                                                            PDWORD optionsReturned) {
  const std::string name = feature != nullptr ? feature : "";
  const std::string option = InstalledOption(name);
  const bool fits = !option.empty() && output != nullptr && option.size() + 1 <= size;
  calls.push_back(L"DrvGetDriverSetting(" + Widen(name) + L") -> " +
                  (fits ? Widen(option) : std::wstring(L"failed")));
  if (needed != nullptr) *needed = static_cast<DWORD>(option.size() + 1);
  if (!fits) return E_FAIL;
  std::memcpy(output, option.c_str(), option.size() + 1);
  if (optionsReturned != nullptr) *optionsReturned = 1;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE HostDriverUI::DrvUpdateUISetting(PVOID, PVOID item,
                                                           DWORD previousSelection, DWORD mode) {
  const auto* optItem = static_cast<const OPTITEM*>(item);
  std::wstring name = L"(no item)";
  std::wstring option;
  if (optItem != nullptr) {
    name = reinterpret_cast<ULONG_PTR>(optItem->pName) >= 0x10000 ? optItem->pName : L"#";
    option = DocumentTree::OptionText(*optItem, optItem->Sel);
  }
  calls.push_back(L"DrvUpdateUISetting(" + name + L" = " + option + L", previous " +
                  std::to_wstring(previousSelection) + L", mode " + std::to_wstring(mode) + L")");
  MarkConflicts();
  return S_OK;
}

void HostDriverUI::MarkConflicts() {
  if (tree == nullptr) return;
  PhaseTimer timer(OpeningPhase::kHostMarks);
  if (marker_ == nullptr)
    marker_ = std::make_unique<ConflictMarker>(
        tree, constraints, [this](const std::string& feature) { return InstalledOption(feature); });
  marker_->Mark();
}
