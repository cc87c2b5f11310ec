// The document settings tree as the PostScript driver builds it from a
// PPD: its standard items with their public ids, then one item per other
// printer feature, named by the feature's translation.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "oem_interfaces.h"

class PpdModel;

class DocumentTree {
 public:
  void Build(const PpdModel* model);

  OPTITEM* Items() { return items_.data(); }
  DWORD Count() const { return static_cast<DWORD>(items_.size()); }
  // The item named `name`, or null.
  OPTITEM* Find(const std::wstring& name);
  // The text of option `index` of `item`, or "?".
  static std::wstring OptionText(const OPTITEM& item, LONG index);

 private:
  void AddItem(DWORD dmPubId, const std::wstring& name, const std::vector<std::wstring>& options,
               LONG selection, const std::string& keyword);
  void AddFeatureItem(DWORD dmPubId, const std::wstring& name, const PpdModel* model,
                      const char16_t* keyword);

  std::vector<OPTITEM> items_;
  std::deque<OPTTYPE> types_;
  std::deque<std::vector<OPTPARAM>> params_;
  std::deque<std::wstring> texts_;
  std::deque<USERDATA> userData_;
  std::deque<std::string> keywords_;
};
