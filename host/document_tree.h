// A settings tree of the PostScript driver: the OPTITEM array it hands the
// plug-in, with the records behind it. The document tree holds the
// standard items with their public ids, then one item per other printer
// feature, named by the feature's translation; the device tree holds the
// driver's own device items and the installable equipment.
#pragma once

#include <string>
#include <vector>

#include "option_item_store.h"

class PpdModel;

class DocumentTree {
 public:
  // An item that stands for a PPD feature: its keyword without the
  // asterisk and, option by option, the option keywords, in the ANSI code
  // page as the driver keeps them.
  struct FeatureItem {
    size_t index;
    std::string keyword;
    std::vector<std::string> options;
  };

  void Build(const PpdModel* model);
  void BuildDevice(const PpdModel* model);

  OPTITEM* Items() { return store_.Items(); }
  const OPTITEM* Items() const { return store_.Items(); }
  DWORD Count() const { return store_.Count(); }
  OPTITEM& Item(size_t index) { return store_.Item(index); }
  const std::vector<FeatureItem>& FeatureItems() const { return featureItems_; }
  // The item named `name`, or null.
  OPTITEM* Find(const std::wstring& name);
  // The text of option `index` of `item`, or "?".
  static std::wstring OptionText(const OPTITEM& item, LONG index);

 private:
  void AddItem(DWORD dmPubId, const std::wstring& name, const std::vector<std::wstring>& options,
               LONG selection, const std::string& keyword, BYTE level = 0);
  void AddFeatureItem(DWORD dmPubId, const std::wstring& name, const PpdModel* model,
                      const char16_t* keyword);

  OptionItemStore store_;
  std::vector<FeatureItem> featureItems_;
};
