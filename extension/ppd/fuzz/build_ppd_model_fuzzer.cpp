// Fuzz target: any bytes as a PPD file, through the model build, a
// re-evaluation with changed installed values, the searches and the
// destruction. The indexed evaluation must leave exactly the flags of the
// plain scan, both started from the same flags (drawn from the input): any
// difference stops the fuzzer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

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

std::vector<uint8_t*> AllFlags(PpdModel* model) {
  std::vector<uint8_t*> flags;
  for (int f = 0; f < model->featureCount; ++f) {
    for (int o = 0; o < model->features[f]->optionCount; ++o) {
      flags.push_back(&model->features[f]->options[o]->constrained);
    }
  }
  return flags;
}

// Both evaluations from one start; false when they leave different flags.
bool EvaluationsAgreeFrom(PpdModel* model, const std::vector<uint8_t*>& flags,
                          const std::vector<uint8_t>& start) {
  for (size_t i = 0; i < flags.size(); ++i) *flags[i] = start[i];
  EvaluateInstallableConstraints(model);
  std::vector<uint8_t> indexed(flags.size());
  for (size_t i = 0; i < flags.size(); ++i) indexed[i] = *flags[i];
  for (size_t i = 0; i < flags.size(); ++i) *flags[i] = start[i];
  EvaluateInstallableConstraintsByScan(model);
  for (size_t i = 0; i < flags.size(); ++i) {
    if (*flags[i] != indexed[i]) return false;
  }
  return true;
}

// Starts with every flag set, every flag clear, and two draws seeded by the
// input, so that a flag only one evaluation sets or clears shows.
void CheckEvaluationsAgree(PpdModel* model, const uint8_t* data, size_t size) {
  const std::vector<uint8_t*> flags = AllFlags(model);
  uint32_t state = 2166136261u;
  for (size_t i = 0; i < size; ++i) state = (state ^ data[i]) * 16777619u;
  for (int round = 0; round < 4; ++round) {
    std::vector<uint8_t> start(flags.size(), round == 0 ? 1 : 0);
    for (uint8_t& flag : start) {
      if (round < 2) break;
      state = state * 1664525u + 1013904223u;
      flag = static_cast<uint8_t>(state >> 31);
    }
    if (!EvaluationsAgreeFrom(model, flags, start)) std::abort();
  }
}

void Exercise(PpdModel* model, const uint8_t* data, size_t size) {
  for (int i = 0; i < model->installableCount; ++i) {
    const PpdFeature* feature = model->GetFeature(FindFeatureByKeyword(model, &model->installables[i]->keyword));
    if (feature != nullptr && feature->optionCount > 0) {
      SetInstallableValue(model, model->installables[i]->keyword.characters,
                          feature->options[0]->keyword.characters, false);
    }
  }
  SetInstallableValue(model, nullptr, nullptr, true);
  CheckEvaluationsAgree(model, data, size);
  for (int f = 0; f < model->featureCount; ++f) {
    FindFeatureKeywordByTranslation(model, model->features[f]->translation.characters);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes bytes{data, size, 0};
  PpdModel* model = BuildPpdModel(ReadByte, &bytes);
  if (model != nullptr) Exercise(model, data, size);
  DestroyPpdModel(model);
  return 0;
}
