// A settings tree of the PostScript driver: the OPTITEM array it hands the
// plug-in, with the records behind it. The document tree holds the
// standard items with their public ids, then one item per other printer
// feature, named by the feature's translation; the device tree holds the
// driver's own device items and the installable equipment.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "oem_interfaces.h"

class PpdModel;

class DocumentTree {
 public:
  void Build(const PpdModel* model);
  void BuildDevice(const PpdModel* model);

  OPTITEM* Items() { return items_.data(); }
  DWORD Count() const { return static_cast<DWORD>(items_.size()); }
  // The item named `name`, or null.
  OPTITEM* Find(const std::wstring& name);
  // The text of option `index` of `item`, or "?".
  static std::wstring OptionText(const OPTITEM& item, LONG index);

 private:
  void AddItem(DWORD dmPubId, const std::wstring& name, const std::vector<std::wstring>& options,
               LONG selection, const std::string& keyword, BYTE level = 0);
  void AddNamedById(WORD nameId, BYTE level, const std::vector<std::wstring>& options);
  void AddFeatureItem(DWORD dmPubId, const std::wstring& name, const PpdModel* model,
                      const char16_t* keyword);

  std::vector<OPTITEM> items_;
  std::deque<OPTTYPE> types_;
  std::deque<std::vector<OPTPARAM>> params_;
  std::deque<std::wstring> texts_;
  std::deque<USERDATA> userData_;
  std::deque<std::string> keywords_;
};
