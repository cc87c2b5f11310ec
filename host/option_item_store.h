// The OPTITEM array of a driver settings tree, with the option types,
// option records, texts and keyword records behind it. Every record stays
// where it is as the tree grows, so the pointers the items hold stay good;
// the items themselves move, so they are reached through the store.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "oem_interfaces.h"

class OptionItemStore {
 public:
  // Adds a list item of `options`; returns its index. A null name leaves
  // the item unnamed; a keyword gives the item the driver's USERDATA.
  size_t Add(DWORD dmPubId, const wchar_t* name, const std::vector<std::wstring>& options,
             LONG selection, const std::string& keyword, BYTE level);
  // An item named by a string resource id of the driver.
  size_t AddNamedById(WORD nameId, BYTE level, const std::vector<std::wstring>& options);

  OPTITEM& Item(size_t index) { return items_[index]; }
  OPTITEM* Items() { return items_.data(); }
  const OPTITEM* Items() const { return items_.data(); }
  DWORD Count() const { return static_cast<DWORD>(items_.size()); }
  std::vector<OPTITEM>& All() { return items_; }

 private:
  std::vector<OPTITEM> items_;
  std::deque<OPTTYPE> types_;
  std::deque<std::vector<OPTPARAM>> params_;
  std::deque<std::wstring> texts_;
  std::deque<USERDATA> userData_;
  std::deque<std::string> keywords_;
};
