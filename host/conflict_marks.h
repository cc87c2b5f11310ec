// The PostScript driver's warning marks on the document tree: an option
// carries OPTPF_OVERLAY_WARNING_ICON while a *UIConstraints line rules it
// out against the installed equipment and the current selections, and
// none otherwise. The driver marks the tree it builds, and marks it again
// after every change it takes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "document_tree.h"
#include "ui_constraints.h"

// A constraint works one way, from its first feature to its second: the
// format lists a pair twice where it holds both ways. `installedOption`
// answers for a feature the tree has no item for (the installed equipment),
// given the keyword as the constraint writes it; features are found
// whatever the case a constraint writes their keywords in.
//
// What a constraint names does not change while the tree lives: which item
// it rules on and which of its options, and which item or installed
// feature it depends on, and what the installed equipment answers. That is
// worked out once, so that marking again after a change looks at the
// current selections only.
class ConflictMarker {
 public:
  ConflictMarker(DocumentTree* tree, const std::vector<UiConstraint>& constraints,
                 std::function<std::string(const std::string&)> installedOption);

  void Mark();

 private:
  struct Rule {
    size_t condition;             // index into conditions_
    std::string conditionOption;  // the first option, as the line gives it
    size_t target;                // index of the tree's item ruled on
    std::vector<size_t> options;  // the target's options it names
  };
  // What a rule depends on: an item of the tree, or an installed feature.
  struct Condition {
    const DocumentTree::FeatureItem* item;  // null: installed equipment
    std::string installed;                  // its option, without an item
  };

  std::string CurrentOption(const Condition& condition) const;

  DocumentTree* tree_;
  std::vector<Condition> conditions_;
  std::vector<Rule> rules_;
  std::vector<size_t> markedItems_;  // the tree's items with options to clear
};
