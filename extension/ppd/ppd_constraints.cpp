// Which options the installed equipment rules out. An option is ruled out
// when any installable setting rules it out, and let through when settings
// relate to its feature but none rules it out; a feature that no setting
// relates to keeps its flags. Printers give each optional tray an
// installable of its own, so no one setting may speak for the others. The
// indexed evaluation gives the result of asking MatchConstraint for every
// option and every setting; it only skips the constraints that could not
// take part.
//
// An option keyword left out of a *UIConstraints line stands for every
// option of its feature except None, False and Off, the options that mean
// "no such equipment" or "not in use". Keywords meet whatever the case of
// their ASCII letters.
#include "ppd_allocation.h"
#include "ppd_constraint_index.h"
#include "ppd_model.h"

namespace {

// Whether a constraint's option keyword (empty where the line left it out)
// names `keyword`.
bool OptionFits(const PpdText& named, const PpdText& keyword) {
  if (&named == &kOverlongOptionText) return false;
  return named.length == 0 ? LeftOutOptionStandsFor(keyword) : SameKeyword(named, keyword);
}

// The same over the index's numbers; `bCovered` tells whether a left-out
// option keyword stands for `keyword`.
bool IndexedOptionFits(const PpdConstraintIndex* index, int32_t named, int32_t keyword,
                       bool bCovered) {
  return named == index->emptyText ? bCovered : named == keyword;
}

struct InstalledValue {
  int32_t text;  // its number in the index, -1 when no indexed text equals it
  bool bCovered;
};

bool TakesPartInEvaluation(const PpdFeature* feature) {
  return feature->optionCount > 0 && !PpdTextEquals(&feature->group, kInstallableOptionsGroup);
}

// For every option of `feature`, the flag MatchConstraint gives over every
// setting: each constraint towards the feature that names a setting first
// relates, and one that also matches that setting's value rules its option out.
void EvaluateFeature(const PpdModel* model, const PpdConstraintIndex* index, int32_t f,
                     const InstalledValue* installed) {
  PpdFeature* feature = model->features[f];
  const int32_t keyword = index->featureKeyword[f];
  const int32_t* begin = index->byKeyword2 + index->firstByKeyword2[keyword];
  const int32_t* end = index->byKeyword2 + index->firstByKeyword2[keyword + 1];
  int32_t* matchedOptions = index->scratch;
  int32_t matchCount = 0;
  bool bRelated = false;
  for (const int32_t* c = begin; c != end; ++c) {
    for (int32_t s = 0; s < model->installableCount; ++s) {
      if (index->featureKeyword1[*c] != index->installableKeyword[s]) continue;
      bRelated = true;
      if (IndexedOptionFits(index, index->option1[*c], installed[s].text, installed[s].bCovered)) {
        matchedOptions[matchCount++] = index->option2[*c];
        break;
      }
    }
  }
  if (!bRelated) return;
  const int32_t* options = index->optionKeyword + index->optionStart[f];
  for (int32_t o = 0; o < feature->optionCount; ++o) {
    const bool bCovered = index->coveredByLeftOut[options[o]] != 0;
    bool bMatch = false;
    for (int32_t m = 0; m < matchCount && !bMatch; ++m) {
      bMatch = IndexedOptionFits(index, matchedOptions[m], options[o], bCovered);
    }
    feature->options[o]->constrained = bMatch ? 1 : 0;
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
    if (!SameKeyword(*c->featureKeyword1, *installableKeyword) ||
        !SameKeyword(*c->featureKeyword2, feature->keyword)) {
      continue;
    }
    result = CONSTRAINT_RELATED;
    if (OptionFits(*c->option1, *installableValue) && OptionFits(*c->option2, option->keyword)) {
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
      bool bRelated = false;
      bool bMatch = false;
      for (int32_t s = 0; s < model->installableCount; ++s) {
        const InstallableSetting* setting = model->installables[s];
        const ConstraintMatch result = MatchConstraint(model, &setting->keyword,
                                                       &setting->currentValue, feature,
                                                       feature->options[o]);
        bRelated = bRelated || result != CONSTRAINT_NONE;
        bMatch = bMatch || result == CONSTRAINT_MATCH;
      }
      if (bRelated) feature->options[o]->constrained = bMatch ? 1 : 0;
    }
  }
}

void EvaluateInstallableConstraints(PpdModel* model) {
  if (model == nullptr) return;
  if (model->installableCount == 0 || model->constraintCount == 0) return;
  const bool bIndexed = BuildPpdConstraintIndex(model);
  InstalledValue* installed = static_cast<InstalledValue*>(
      PpdMallocArray(static_cast<size_t>(model->installableCount), sizeof(InstalledValue)));
  if (!bIndexed || installed == nullptr) {
    PpdFree(installed);
    EvaluateInstallableConstraintsByScan(model);
    return;
  }
  for (int32_t s = 0; s < model->installableCount; ++s) {
    const PpdText& value = model->installables[s]->currentValue;
    installed[s] = {FindIndexedText(model->constraintIndex, &value), LeftOutOptionStandsFor(value)};
  }
  for (int32_t f = 0; f < model->featureCount; ++f) {
    if (TakesPartInEvaluation(model->features[f])) {
      EvaluateFeature(model, model->constraintIndex, f, installed);
    }
  }
  PpdFree(installed);
}
