// Fuzz target: any bytes as a PPD file, through the model build, a
// re-evaluation with changed installed values, the searches and the
// destruction.
#include <cstddef>
#include <cstdint>

#include "ppd_model.h"

namespace {

struct Bytes {
  const uint8_t* data;
  size_t size;
  size_t position;
};

int ReadByte(void* handle) {
  Bytes* bytes = static_cast<Bytes*>(handle);
  return bytes->position < bytes->size ? bytes->data[bytes->position++] : -1;
}

void Exercise(PpdModel* model) {
  for (int i = 0; i < model->installableCount; ++i) {
    const PpdFeature* feature = model->GetFeature(FindFeatureByKeyword(model, &model->installables[i]->keyword));
    if (feature != nullptr && feature->optionCount > 0) {
      SetInstallableValue(model, model->installables[i]->keyword.characters,
                          feature->options[0]->keyword.characters, false);
    }
  }
  SetInstallableValue(model, nullptr, nullptr, true);
  for (int f = 0; f < model->featureCount; ++f) {
    FindFeatureKeywordByTranslation(model, model->features[f]->translation.characters);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes bytes{data, size, 0};
  PpdModel* model = BuildPpdModel(ReadByte, &bytes);
  if (model != nullptr) Exercise(model);
  DestroyPpdModel(model);
  return 0;
}
