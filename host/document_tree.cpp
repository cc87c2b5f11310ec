#include "document_tree.h"

#include "ppd_model.h"

namespace {

const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

// Features the driver shows as standard items, and those it keeps in the
// printer's own settings rather than in the document's.
const char16_t* const kStandardFeatures[] = {u"*InputSlot", u"*Resolution", u"*PageSize",
                                             u"*MediaType", u"*Duplex",     u"*PageRegion"};

bool IsStandardFeature(const PpdFeature& feature) {
  for (const char16_t* keyword : kStandardFeatures)
    if (PpdTextEquals(&feature.keyword, keyword)) return true;
  return PpdTextEquals(&feature.group, kInstallableOptionsGroup);
}

std::string Ansi(const char16_t* text) {
  char ansi[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, Wide(text), -1, ansi, MAX_PATH, nullptr, nullptr);
  return ansi;
}

// The driver's keyword of an item: the PPD keyword without its asterisk, in
// the ANSI code page.
std::string AnsiKeyword(const char16_t* keyword) {
  if (keyword == nullptr || keyword[0] == 0) return {};
  return Ansi(keyword + 1);
}

// The driver's duplex item always lists no duplex, short-edge flip and
// long-edge flip in that order, whatever order the PPD gives; other items
// keep the PPD's order.
std::vector<const PpdOption*> OptionsInDriverOrder(const PpdFeature& feature, DWORD dmPubId) {
  std::vector<const PpdOption*> options;
  for (int32_t i = 0; i < feature.optionCount; ++i)
    if (feature.options[i] != nullptr) options.push_back(feature.options[i]);
  if (dmPubId != DMPUB_DUPLEX) return options;
  const char16_t* const order[] = {u"None", u"DuplexTumble", u"DuplexNoTumble"};
  std::vector<const PpdOption*> sorted;
  for (const char16_t* keyword : order)
    for (const PpdOption* option : options)
      if (PpdTextEquals(&option->keyword, keyword)) sorted.push_back(option);
  return sorted;
}

}  // namespace

void DocumentTree::AddItem(DWORD dmPubId, const std::wstring& name,
                           const std::vector<std::wstring>& options, LONG selection,
                           const std::string& keyword, BYTE level) {
  // Standard items head the tree; the printer's own features sit below.
  if (level == 0) level = dmPubId != 0 ? 1 : 2;
  store_.Add(dmPubId, name.c_str(), options, selection, keyword, level);
}

void DocumentTree::AddFeatureItem(DWORD dmPubId, const std::wstring& name, const PpdModel* model,
                                  const char16_t* keyword) {
  const PpdFeature* feature =
      model != nullptr ? model->GetFeature(FindFeatureByKeyword(model, keyword)) : nullptr;
  if (feature == nullptr) return;  // the printer does not have it
  std::vector<const PpdOption*> ordered = OptionsInDriverOrder(*feature, dmPubId);
  std::vector<std::wstring> options;
  FeatureItem featureItem{store_.Count(), AnsiKeyword(feature->keyword.characters), {}};
  LONG selection = 0;
  for (const PpdOption* option : ordered) {
    if (PpdTextEquals(&option->keyword, &feature->defaultOption))
      selection = static_cast<LONG>(options.size());
    options.push_back(Wide(option->translation.characters));
    featureItem.options.push_back(Ansi(option->keyword.characters));
  }
  AddItem(dmPubId, name.empty() ? Wide(feature->translation.characters) : name, options, selection,
          featureItem.keyword);
  featureItems_.push_back(featureItem);
}

void DocumentTree::Build(const PpdModel* model) {
  AddItem(DMPUB_ORIENTATION, L"Orientation", {L"Portrait", L"Landscape", L"Rotated Landscape"}, 0,
          {});
  AddFeatureItem(DMPUB_DUPLEX, L"Print on Both Sides", model, u"*Duplex");
  AddItem(DMPUB_NUP, L"Pages per Sheet", {L"1", L"2", L"4", L"6", L"9", L"16", L"Booklet"}, 0, {});
  AddItem(DMPUB_NUP_DIRECTION, L"Pages per Sheet Layout",
          {L"Right then Down", L"Down then Right", L"Left then Down", L"Down then Left"}, 0, {});
  AddItem(DMPUB_PAGEORDER, L"Page Order", {L"Front to Back", L"Back to Front"}, 0, {});
  AddItem(DMPUB_BOOKLET_EDGE, L"Booklet Binding Edge", {L"Left", L"Right"}, 0, {});
  AddItem(DMPUB_MANUAL_DUPLEX, L"Manual Duplex", {L"No", L"Yes"}, 0, {});
  AddItem(DMPUB_STAPLE, L"Staple", {L"None", L"Staple"}, 0, {});
  AddItem(DMPUB_COLOR, L"Color", {L"Monochrome", L"Color"}, 1, {});
  AddFeatureItem(DMPUB_DEFSOURCE, L"Paper Source", model, u"*InputSlot");
  AddFeatureItem(DMPUB_PRINTQUALITY, L"Print Quality", model, u"*Resolution");
  AddFeatureItem(DMPUB_FORMNAME, L"Paper Size", model, u"*PageSize");
  AddFeatureItem(DMPUB_MEDIATYPE, L"Media Type", model, u"*MediaType");

  if (model == nullptr) return;
  for (int32_t i = 0; i < model->featureCount; ++i) {
    const PpdFeature* feature = model->GetFeature(i);
    if (feature == nullptr || IsStandardFeature(*feature)) continue;
    AddFeatureItem(0, {}, model, feature->keyword.characters);
  }
}

// The driver names its own device items by string resource ids: 400 is the
// one selected first, 64798 heads a subtree the plug-in hides.
void DocumentTree::BuildDevice(const PpdModel* model) {
  store_.AddNamedById(400, 1, {L"On", L"Off"});
  store_.AddNamedById(64798, 1, {L"On", L"Off"});
  AddItem(0, L"Send Control-D Before Each Job", {L"No", L"Yes"}, 1, {}, 2);
  AddItem(0, L"Job Timeout", {L"0", L"60"}, 0, {}, 2);
  AddItem(0, L"Installable Options", {}, 0, {}, 1);
  if (model == nullptr) return;
  for (int32_t i = 0; i < model->featureCount; ++i) {
    const PpdFeature* feature = model->GetFeature(i);
    if (feature == nullptr || !PpdTextEquals(&feature->group, kInstallableOptionsGroup)) continue;
    AddFeatureItem(0, {}, model, feature->keyword.characters);
    store_.Item(store_.Count() - 1).Level = 2;
  }
}

OPTITEM* DocumentTree::Find(const std::wstring& name) {
  for (OPTITEM& item : store_.All())
    if (reinterpret_cast<ULONG_PTR>(item.pName) >= 0x10000 && name == item.pName) return &item;
  return nullptr;
}

std::wstring DocumentTree::OptionText(const OPTITEM& item, LONG index) {
  if (item.pOptType == nullptr || index < 0 || index >= item.pOptType->Count) return L"?";
  return item.pOptType->pOptParam[index].pData;
}
