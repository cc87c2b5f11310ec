// Which options the installed equipment rules out. The result is that of
// asking MatchConstraint for every option and every installable setting in
// order; the indexed evaluation only skips the constraints that could not
// take part.
#include <cstring>

#include "ppd_allocation.h"
#include "ppd_constraint_index.h"
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

// For every option of `feature`: the last setting with a constraint towards
// the feature decides, by matching or only relating, exactly as MatchConstraint
// over all constraints would for each option and setting in turn.
void EvaluateFeature(const PpdModel* model, const PpdConstraintIndex* index, int32_t f,
                     const int32_t* installedValues) {
  PpdFeature* feature = model->features[f];
  const int32_t keyword = index->featureKeyword[f];
  const int32_t* begin = index->byKeyword2 + index->firstByKeyword2[keyword];
  const int32_t* end = index->byKeyword2 + index->firstByKeyword2[keyword + 1];
  if (begin == end) return;
  const int32_t* options = index->optionKeyword + index->optionStart[f];
  int32_t* matchedOptions = index->scratch;
  for (int32_t s = 0; s < model->installableCount; ++s) {
    const int32_t installable = index->installableKeyword[s];
    bool bRelated = false;
    int32_t matchCount = 0;
    for (const int32_t* c = begin; c != end; ++c) {
      if (index->featureKeyword1[*c] != installable) continue;
      bRelated = true;
      if (index->option1[*c] == installedValues[s]) matchedOptions[matchCount++] = index->option2[*c];
    }
    if (!bRelated) continue;
    for (int32_t o = 0; o < feature->optionCount; ++o) {
      bool bMatch = false;
      for (int32_t m = 0; m < matchCount && !bMatch; ++m) bMatch = matchedOptions[m] == options[o];
      feature->options[o]->constrained = bMatch ? 1 : 0;
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
    if (!SameText(*c->featureKeyword1, *installableKeyword) ||
        !SameText(*c->featureKeyword2, feature->keyword)) {
      continue;
    }
    result = CONSTRAINT_RELATED;
    if (SameText(*c->option1, *installableValue) && SameText(*c->option2, option->keyword)) {
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
  const bool bIndexed = BuildPpdConstraintIndex(model);
  int32_t* installedValues = static_cast<int32_t*>(
      PpdMallocArray(static_cast<size_t>(model->installableCount), sizeof(int32_t)));
  if (!bIndexed || installedValues == nullptr) {
    PpdFree(installedValues);
    EvaluateInstallableConstraintsByScan(model);
    return;
  }
  for (int32_t s = 0; s < model->installableCount; ++s) {
    installedValues[s] = FindIndexedText(model->constraintIndex, &model->installables[s]->currentValue);
  }
  for (int32_t f = 0; f < model->featureCount; ++f) {
    if (TakesPartInEvaluation(model->features[f])) {
      EvaluateFeature(model, model->constraintIndex, f, installedValues);
    }
  }
  PpdFree(installedValues);
}
