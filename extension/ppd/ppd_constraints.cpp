// Which options the installed equipment rules out. The result is that of
// asking MatchConstraint for every option and every installable setting in
// order; the indexed evaluation only skips the constraints that could not
// take part.
#include <cstring>

#include "ppd_allocation.h"
#include "ppd_model.h"

namespace {

bool SameText(const PpdText& a, const PpdText& b) {
  return a.length == b.length &&
         std::memcmp(a.characters, b.characters, (a.length + 1) * sizeof(char16_t)) == 0;
}

bool TakesPartInEvaluation(const PpdFeature* feature) {
  return feature->optionCount > 0 && !PpdTextEquals(&feature->group, kInstallableOptionsGroup);
}

void ApplyMatch(ConstraintMatch result, PpdOption* option) {
  if (result == CONSTRAINT_MATCH) option->constrained = 1;
  if (result == CONSTRAINT_RELATED) option->constrained = 0;
}

// MatchConstraint over a subset of the constraints, given in file order, that
// all name the installable feature first and `feature` second.
ConstraintMatch MatchAmong(const PpdModel* model, const int* subset, int count,
                           const PpdText& value, const PpdOption* option) {
  if (count == 0) return CONSTRAINT_NONE;
  for (int i = 0; i < count; ++i) {
    const PpdConstraint* c = model->constraints[subset[i]];
    if (SameText(c->option1, value) && SameText(c->option2, option->keyword)) {
      return CONSTRAINT_MATCH;
    }
  }
  return CONSTRAINT_RELATED;
}

void EvaluateFeature(const PpdModel* model, PpdFeature* feature, int* towardsFeature,
                     int* fromSetting) {
  int towardsCount = 0;
  for (int32_t c = 0; c < model->constraintCount; ++c) {
    if (SameText(model->constraints[c]->featureKeyword2, feature->keyword)) {
      towardsFeature[towardsCount++] = c;
    }
  }
  if (towardsCount == 0) return;
  // Settings in file order, so that the last one related to the feature
  // decides, exactly as the per-option loop over the settings does.
  for (int32_t s = 0; s < model->installableCount; ++s) {
    const InstallableSetting* setting = model->installables[s];
    int count = 0;
    for (int i = 0; i < towardsCount; ++i) {
      if (SameText(model->constraints[towardsFeature[i]]->featureKeyword1, setting->keyword)) {
        fromSetting[count++] = towardsFeature[i];
      }
    }
    if (count == 0) continue;
    for (int32_t o = 0; o < feature->optionCount; ++o) {
      ApplyMatch(MatchAmong(model, fromSetting, count, setting->currentValue, feature->options[o]),
                 feature->options[o]);
    }
  }
}

}  // namespace

ConstraintMatch MatchConstraint(const PpdModel* model, const PpdText* installableKeyword,
                                const PpdText* installableValue, const PpdFeature* feature,
                                const PpdOption* option) {
  if (model == nullptr || installableKeyword == nullptr || installableValue == nullptr ||
      feature == nullptr || option == nullptr) {
    return CONSTRAINT_NONE;
  }
  ConstraintMatch result = CONSTRAINT_NONE;
  for (int32_t i = 0; i < model->constraintCount; ++i) {
    const PpdConstraint* c = model->constraints[i];
    if (!SameText(c->featureKeyword1, *installableKeyword) ||
        !SameText(c->featureKeyword2, feature->keyword)) {
      continue;
    }
    result = CONSTRAINT_RELATED;
    if (SameText(c->option1, *installableValue) && SameText(c->option2, option->keyword)) {
      return CONSTRAINT_MATCH;
    }
  }
  return result;
}

void EvaluateInstallableConstraintsByScan(PpdModel* model) {
  if (model == nullptr) return;
  for (int32_t f = 0; f < model->featureCount; ++f) {
    PpdFeature* feature = model->features[f];
    if (!TakesPartInEvaluation(feature)) continue;
    for (int32_t o = 0; o < feature->optionCount; ++o) {
      for (int32_t s = 0; s < model->installableCount; ++s) {
        const InstallableSetting* setting = model->installables[s];
        ApplyMatch(MatchConstraint(model, &setting->keyword, &setting->currentValue, feature,
                                   feature->options[o]),
                   feature->options[o]);
      }
    }
  }
}

void EvaluateInstallableConstraints(PpdModel* model) {
  if (model == nullptr) return;
  if (model->installableCount == 0 || model->constraintCount == 0) return;
  const size_t bytes = static_cast<size_t>(model->constraintCount) * sizeof(int);
  int* towardsFeature = static_cast<int*>(PpdMalloc(bytes));
  int* fromSetting = static_cast<int*>(PpdMalloc(bytes));
  if (towardsFeature != nullptr && fromSetting != nullptr) {
    for (int32_t f = 0; f < model->featureCount; ++f) {
      PpdFeature* feature = model->features[f];
      if (TakesPartInEvaluation(feature)) EvaluateFeature(model, feature, towardsFeature, fromSetting);
    }
  } else {
    EvaluateInstallableConstraintsByScan(model);
  }
  PpdFree(towardsFeature);
  PpdFree(fromSetting);
}
