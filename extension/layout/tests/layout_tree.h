// Test support: a driver settings tree of the shape the Layout page reads,
// an array of OPTITEM records with their option types and options, and a
// driver helper that records every DrvUpdateUISetting call.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <vector>

#include "layout_items.h"
#include "oem_interfaces.h"

struct TreeItem {
  BYTE pubId;
  LONG sel;
  WORD count;             // options of the item
  DWORD flags = 0;        // OPTIF_*
  uint32_t conflicts = 0; // bit k: option k carries the warning overlay
  bool withoutType = false;
};

class LayoutTree {
 public:
  LayoutTree(std::initializer_list<TreeItem> items) {
    for (const TreeItem& t : items) {
      options_.emplace_back(t.count);
      for (WORD k = 0; k < t.count; ++k) {
        if (k < 32 && (t.conflicts >> k & 1u)) options_.back()[k].Flags = OPTPF_OVERLAY_WARNING_ICON;
      }
      OPTTYPE type = {};
      type.cbSize = sizeof type;
      type.Count = t.count;
      type.pOptParam = options_.back().data();
      types_.push_back(type);
      OPTITEM item = {};
      item.cbSize = sizeof item;
      item.DMPubID = t.pubId;
      item.Sel = t.sel;
      item.Flags = t.flags;
      item.pOptType = t.withoutType ? nullptr : &types_.back();
      items_.push_back(item);
    }
  }
  OPTITEM* items() { return items_.empty() ? nullptr : items_.data(); }
  DWORD count() const { return static_cast<DWORD>(items_.size()); }
  // The first item of `pubId`; the test fails without one.
  OPTITEM& Item(BYTE pubId) {
    for (OPTITEM& item : items_)
      if (item.DMPubID == pubId) return item;
    ADD_FAILURE() << "no item " << int{pubId};
    return items_.front();
  }

 private:
  std::deque<std::vector<OPTPARAM>> options_;  // stable addresses
  std::deque<OPTTYPE> types_;
  std::vector<OPTITEM> items_;
};

// The tree of a colour printer with every layout item, all at option 0.
inline LayoutTree FullTree() {
  return LayoutTree({{DMPUB_COLOR, 1, 2},
                     {DMPUB_ORIENTATION, 0, 3},
                     {DMPUB_DUPLEX, 0, 3},
                     {DMPUB_PAGEORDER, 0, 2},
                     {DMPUB_NUP, 0, 7},
                     {DMPUB_NUP_DIRECTION, 0, 4},
                     {DMPUB_BOOKLET_EDGE, 0, 2}});
}

struct UpdateCall {
  PVOID poemuiobj;
  OPTITEM* item;
  BYTE pubId;
  LONG sel;
  DWORD previous;
  DWORD mode;
};

class RecordingDriverUI final : public IPrintOemDriverUI {
 public:
  std::vector<UpdateCall> updates;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintOemDriverUI)) {
      *ppv = static_cast<IPrintOemDriverUI*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }
  HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD,
                                                PDWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) override {
    ADD_FAILURE() << "unexpected DrvUpgradeRegistrySetting";
    return E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID pci, PVOID pOptItem, DWORD previous,
                                               DWORD mode) override {
    auto* item = static_cast<OPTITEM*>(pOptItem);
    updates.push_back({pci, item, item->DMPubID, item->Sel, previous, mode});
    return S_OK;
  }
  size_t UpdatesOf(BYTE pubId) const {
    size_t n = 0;
    for (const UpdateCall& call : updates) n += call.pubId == pubId ? 1 : 0;
    return n;
  }

 private:
  LONG references_ = 0;
};
