// The PPD's *UIConstraints lines as the PostScript driver applies them. The
// host reads them from the file itself: it plays the driver, a program of
// its own, and never asks the plug-in's model which options are ruled out.
#pragma once

#include <string>
#include <vector>

// One line: while keyword1 stands at option1, option2 of keyword2 is in
// conflict. Keywords without their asterisk and options as the file's
// bytes; an option left out of the line is empty.
struct UiConstraint {
  std::string keyword1;
  std::string option1;
  std::string keyword2;
  std::string option2;
};

// Every well-formed *UIConstraints line of the file's bytes, in file order.
std::vector<UiConstraint> ReadUiConstraints(const std::vector<char>& file);

// Whether a constraint's option names `option`. A left-out option names
// every option of its keyword except None, False and Off, as the PPD format
// has it; an empty `option` (a keyword with no setting) is named by none.
// Options meet whatever their case, as keywords do.
bool ConstraintNames(const std::string& constraintOption, const std::string& option);

// Whether two keywords (of features or options) are the same: the driver
// takes them whatever the case of their ASCII letters, as real files write
// an option 'True' in its block and 'true' in a constraint. The second byte
// of a double-byte character is never taken for a letter.
bool SameKeyword(const std::string& a, const std::string& b);

// An order of keywords in which those SameKeyword finds the same are equal.
struct KeywordLess {
  bool operator()(const std::string& a, const std::string& b) const;
};
