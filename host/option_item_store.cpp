#include "option_item_store.h"

size_t OptionItemStore::Add(DWORD dmPubId, const wchar_t* name,
                            const std::vector<std::wstring>& options, LONG selection,
                            const std::string& keyword, BYTE level) {
  std::vector<OPTPARAM> params;
  for (const std::wstring& text : options) {
    texts_.push_back(text);
    OPTPARAM param = {};
    param.cbSize = sizeof param;
    param.pData = const_cast<LPWSTR>(texts_.back().c_str());
    params.push_back(param);
  }
  params_.push_back(std::move(params));
  OPTTYPE type = {};
  type.cbSize = sizeof type;
  type.Type = TVOT_LISTBOX;
  type.Count = static_cast<WORD>(params_.back().size());
  type.pOptParam = params_.back().data();
  types_.push_back(type);

  OPTITEM item = {};
  item.cbSize = sizeof item;
  item.Level = level;
  item.DMPubID = static_cast<BYTE>(dmPubId);
  item.Sel = selection;
  item.pOptType = &types_.back();
  if (name != nullptr) {
    texts_.push_back(name);
    item.pName = const_cast<LPWSTR>(texts_.back().c_str());
  }
  if (!keyword.empty()) {
    keywords_.push_back(keyword);
    USERDATA data = {};
    data.dwSize = sizeof data;
    data.pKeyWordName = const_cast<PSTR>(keywords_.back().c_str());
    userData_.push_back(data);
    item.UserData = reinterpret_cast<ULONG_PTR>(&userData_.back());
  }
  items_.push_back(item);
  return items_.size() - 1;
}

size_t OptionItemStore::AddNamedById(WORD nameId, BYTE level,
                                     const std::vector<std::wstring>& options) {
  const size_t index = Add(0, nullptr, options, 0, {}, level);
  items_[index].pName = MAKEINTRESOURCEW(nameId);
  return index;
}
