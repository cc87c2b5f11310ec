#include "ppd_model.h"

#include <cstring>

#include "ppd_allocation.h"
#include "ppd_constraint_index.h"

const char16_t kInstallableOptionsGroup[] = u"InstallableOptions";

const PpdText kOverlongOptionText;

namespace {

void DestroyFeature(PpdFeature* feature) {
  delete[] feature->query;
  for (int32_t i = 0; i < feature->optionCount; ++i) {
    delete[] feature->options[i]->invocation;
    delete feature->options[i];
  }
  PpdFree(feature->options);
  delete feature;
}

}  // namespace

PpdModel::~PpdModel() {
  for (int32_t i = 0; i < featureCount; ++i) DestroyFeature(features[i]);
  PpdFree(features);
  // The constraint records belong to the index, which frees them.
  PpdFree(constraints);
  DestroyPpdConstraintIndex(constraintIndex);
  constraintIndex = nullptr;
  for (int32_t i = 0; i < installableCount; ++i) delete installables[i];
  PpdFree(installables);
  PpdFree(tokenBuffer);
  delete source;
}

PpdFeature* PpdModel::GetFeature(int index) const {
  if (index < 0 || index >= featureCount) return nullptr;
  return features[index];
}

int FindFeatureByKeyword(const PpdModel* model, const char16_t* text) {
  if (model == nullptr || text == nullptr) return -1;
  for (int32_t i = 0; i < model->featureCount; ++i) {
    if (PpdTextEquals(&model->features[i]->keyword, text)) return i;
  }
  return -1;
}

int FindFeatureByKeyword(const PpdModel* model, const PpdText* text) {
  return text == nullptr ? -1 : FindFeatureByKeyword(model, text->characters);
}

int FindFeatureByTranslation(const PpdModel* model, const char16_t* text) {
  if (model == nullptr || text == nullptr) return -1;
  for (int32_t i = 0; i < model->featureCount; ++i) {
    if (PpdTextEquals(&model->features[i]->translation, text)) return i;
  }
  return -1;
}

int FindFeatureByTranslation(const PpdModel* model, const PpdText* text) {
  return text == nullptr ? -1 : FindFeatureByTranslation(model, text->characters);
}

const PpdText* FindFeatureKeywordByTranslation(const PpdModel* model, const char16_t* text) {
  const int index = FindFeatureByTranslation(model, text);
  return index < 0 ? nullptr : &model->features[index]->keyword;
}

void SetInstallableValue(PpdModel* model, const char16_t* keyword, const char16_t* value,
                         bool bReevaluate) {
  if (model == nullptr) return;
  if (keyword != nullptr && value != nullptr) {
    for (int32_t i = 0; i < model->installableCount; ++i) {
      InstallableSetting* setting = model->installables[i];
      if (!PpdTextEquals(&setting->keyword, keyword)) continue;
      size_t length = 0;
      while (value[length] != 0) ++length;
      if (length >= static_cast<size_t>(kPpdTextCapacity)) length = 0;
      std::memcpy(setting->currentValue.characters, value, length * sizeof(char16_t));
      setting->currentValue.characters[length] = 0;
      setting->currentValue.length = static_cast<int32_t>(length);
      break;
    }
  }
  if (bReevaluate) EvaluateInstallableConstraints(model);
}
