#include "conflict_marks.h"

#include <map>

namespace {

using FeatureItem = DocumentTree::FeatureItem;
// The tree's features by keyword, found whatever the case a constraint
// writes it in.
using FeatureItems = std::map<std::string, const FeatureItem*, KeywordLess>;

void ClearMarks(OPTTYPE* type) {
  for (WORD k = 0; type != nullptr && k < type->Count; ++k)
    type->pOptParam[k].Flags &= ~OPTPF_OVERLAY_WARNING_ICON;
}

// The option each feature stands at, looked up once per marking.
class CurrentOptions {
 public:
  CurrentOptions(DocumentTree* tree, const FeatureItems* items,
                 const std::function<std::string(const std::string&)>* installedOption)
      : tree_(tree), items_(items), installedOption_(installedOption) {}

  const std::string& Of(const std::string& keyword) {
    const auto known = options_.find(keyword);
    if (known != options_.end()) return known->second;
    return options_.emplace(keyword, LookUp(keyword)).first->second;
  }

 private:
  std::string LookUp(const std::string& keyword) const {
    const auto item = items_->find(keyword);
    if (item == items_->end()) return (*installedOption_)(keyword);
    const LONG sel = tree_->Item(item->second->index).Sel;
    const std::vector<std::string>& options = item->second->options;
    return sel >= 0 && static_cast<size_t>(sel) < options.size() ? options[sel] : std::string();
  }

  DocumentTree* tree_;
  const FeatureItems* items_;
  const std::function<std::string(const std::string&)>* installedOption_;
  std::map<std::string, std::string, KeywordLess> options_;
};

}  // namespace

void MarkConflictingOptions(DocumentTree* tree, const std::vector<UiConstraint>& constraints,
                            const std::function<std::string(const std::string&)>& installedOption) {
  FeatureItems items;
  for (const FeatureItem& feature : tree->FeatureItems()) {
    items.emplace(feature.keyword, &feature);
    ClearMarks(tree->Item(feature.index).pOptType);
  }
  CurrentOptions current(tree, &items, &installedOption);
  for (const UiConstraint& constraint : constraints) {
    const auto target = items.find(constraint.keyword2);
    if (target == items.end()) continue;
    if (!ConstraintNames(constraint.option1, current.Of(constraint.keyword1))) continue;
    const FeatureItem& feature = *target->second;
    OPTTYPE* type = tree->Item(feature.index).pOptType;
    for (size_t k = 0; k < feature.options.size() && k < type->Count; ++k) {
      if (ConstraintNames(constraint.option2, feature.options[k]))
        type->pOptParam[k].Flags |= OPTPF_OVERLAY_WARNING_ICON;
    }
  }
}
