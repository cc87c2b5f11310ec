// The state a session leaves: what the driver would keep of it.
#include "private_devmode.h"
#include "sheet_session.h"
#include "utf8_output.h"

namespace {

std::wstring FieldText(const char16_t* field, size_t units) {
  std::wstring text;
  for (size_t i = 0; i < units && field[i] != 0; ++i) text.push_back(static_cast<wchar_t>(field[i]));
  return text;
}

std::wstring ItemName(const OPTITEM& item) {
  if (reinterpret_cast<ULONG_PTR>(item.pName) < 0x10000)
    return L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(item.pName));
  return item.pName;
}

std::wstring ItemFlags(const OPTITEM& item) {
  std::wstring flags;
  if (item.Flags & OPTIF_INITIAL_TVITEM) flags += L" first";
  if (item.Flags & OPTIF_HIDE) flags += L" hidden";
  if (item.Flags & OPTIF_DISABLED) flags += L" disabled";
  if (item.Flags & OPTIF_CHANGEONCE) flags += L" changed";
  return flags;
}

void PrintItems(const wchar_t* heading, const DocumentTree& tree) {
  PrintLine(heading);
  for (DWORD i = 0; i < tree.Count(); ++i) {
    const OPTITEM& item = tree.Items()[i];
    PrintLine(Format(L"  [%u] %ls = %ls (Sel %ld, level %u)%ls", item.DMPubID,
                     ItemName(item).c_str(), DocumentTree::OptionText(item, item.Sel).c_str(),
                     item.Sel, item.Level, ItemFlags(item).c_str()));
    if (item.pOptType == nullptr) continue;
    std::wstring conflicts;
    for (WORD k = 0; k < item.pOptType->Count; ++k) {
      const OPTPARAM& option = item.pOptType->pOptParam[k];
      if (option.Flags & OPTPF_HIDE)
        PrintLine(std::wstring(L"      option hidden: ") + option.pData);
      if (option.Flags & OPTPF_OVERLAY_WARNING_ICON)
        conflicts += (conflicts.empty() ? L"" : L", ") + std::wstring(option.pData);
    }
    if (!conflicts.empty()) PrintLine(L"      options in conflict: " + conflicts);
  }
}

}  // namespace

void SheetSession::Report() const {
  const auto* devmode = reinterpret_cast<const DEVMODEW*>(devmode_.data());
  PrintLine(Format(L"sheet result: %d", result_));
  PrintLine(Format(L"dmDuplex: %d", devmode->dmDuplex));

  const auto* block = reinterpret_cast<const PrivateDevmode*>(devmode_.data() + devmode->dmSize);
  PrintLine(L"private block:");
  PrintLine(Format(L"  dwSize %u", block->dmExtraHeader.dwSize));
  PrintLine(Format(L"  dwSignature 0x%08X", block->dmExtraHeader.dwSignature));
  PrintLine(Format(L"  dwVersion %u", block->dmExtraHeader.dwVersion));
  PrintLine(Format(L"  dwReserved %u %u %u", block->dwReserved1, block->dwReserved2,
                   block->dwReserved3));
  PrintLine(Format(L"  dwJobType %u", block->dwJobType));
  PrintLine(L"  szUserName \"" + FieldText(block->szUserName, kUserNameUnits) + L"\"");
  PrintLine(L"  szJobName \"" + FieldText(block->szJobName, kJobNameUnits) + L"\"");
  PrintLine(L"  szPassword \"" + FieldText(block->szPassword, kPasswordUnits) + L"\"");

  PrintItems(L"items:", tree_);
  if (deviceTreeShown_) PrintItems(L"device items:", deviceTree_);
  PrintLine(L"driver calls:");
  for (const std::wstring& call : driverUI_.calls) PrintLine(L"  " + call);
  for (const std::wstring& call : sheetCalls_) PrintLine(L"  " + call);
}
