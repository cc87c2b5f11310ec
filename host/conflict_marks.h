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
// given the keyword as the constraint writes it.
void MarkConflictingOptions(DocumentTree* tree, const std::vector<UiConstraint>& constraints,
                            const std::function<std::string(const std::string&)>& installedOption);
