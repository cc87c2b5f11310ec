#include "conflict_marks.h"

#include <map>
#include <utility>

namespace {

void ClearMarks(OPTTYPE* type) {
  for (WORD k = 0; type != nullptr && k < type->Count; ++k)
    type->pOptParam[k].Flags &= ~OPTPF_OVERLAY_WARNING_ICON;
}

}  // namespace

ConflictMarker::ConflictMarker(DocumentTree* tree, const std::vector<UiConstraint>& constraints,
                               std::function<std::string(const std::string&)> installedOption)
    : tree_(tree) {
  std::map<std::string, const DocumentTree::FeatureItem*, KeywordLess> items;
  for (const DocumentTree::FeatureItem& feature : tree->FeatureItems()) {
    items.emplace(feature.keyword, &feature);
    markedItems_.push_back(feature.index);
  }
  std::map<std::string, size_t, KeywordLess> conditionIndex;
  for (const UiConstraint& constraint : constraints) {
    const auto target = items.find(constraint.keyword2);
    if (target == items.end()) continue;
    const DocumentTree::FeatureItem& feature = *target->second;
    Rule rule;
    const auto known = conditionIndex.find(constraint.keyword1);
    if (known != conditionIndex.end()) {
      rule.condition = known->second;
    } else {
      const auto item = items.find(constraint.keyword1);
      if (item != items.end())
        conditions_.push_back({item->second, std::string()});
      else
        conditions_.push_back({nullptr, installedOption(constraint.keyword1)});
      rule.condition = conditions_.size() - 1;
      conditionIndex.emplace(constraint.keyword1, rule.condition);
    }
    rule.conditionOption = constraint.option1;
    rule.target = feature.index;
    const OPTTYPE* type = tree->Item(feature.index).pOptType;
    for (size_t k = 0; type != nullptr && k < feature.options.size() && k < type->Count; ++k)
      if (ConstraintNames(constraint.option2, feature.options[k])) rule.options.push_back(k);
    if (!rule.options.empty()) rules_.push_back(std::move(rule));
  }
}

std::string ConflictMarker::CurrentOption(const Condition& condition) const {
  if (condition.item == nullptr) return condition.installed;
  const LONG sel = tree_->Item(condition.item->index).Sel;
  const std::vector<std::string>& options = condition.item->options;
  return sel >= 0 && static_cast<size_t>(sel) < options.size() ? options[sel] : std::string();
}

void ConflictMarker::Mark() {
  for (size_t index : markedItems_) ClearMarks(tree_->Item(index).pOptType);
  std::vector<std::string> current;
  current.reserve(conditions_.size());
  for (const Condition& condition : conditions_) current.push_back(CurrentOption(condition));
  for (const Rule& rule : rules_) {
    if (!ConstraintNames(rule.conditionOption, current[rule.condition])) continue;
    OPTTYPE* type = tree_->Item(rule.target).pOptType;
    for (size_t k : rule.options) type->pOptParam[k].Flags |= OPTPF_OVERLAY_WARNING_ICON;
  }
}
