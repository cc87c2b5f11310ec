#include "ui_constraints.h"

#include <windows.h>

#include <cstring>

namespace {

constexpr char kKeyword[] = "*UIConstraints:";

std::vector<std::string> Words(const char* text) {
  std::vector<std::string> words;
  std::string word;
  for (const char* c = text;; ++c) {
    const bool blank = *c == 0 || *c == ' ' || *c == '\t' || *c == '\r' || *c == '\n';
    if (!blank) {
      word.push_back(*c);
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
    if (*c == 0) return words;
  }
}

// The order of `a` and `b` with their ASCII letters in upper case and the
// second bytes of double-byte characters kept, as strings compare: without
// a copy of either, as constraints are matched many thousand times an
// opening.
int CompareFolded(const std::string& a, const std::string& b) {
  bool trailA = false;
  bool trailB = false;
  const size_t common = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < common; ++i) {
    const auto byteA = static_cast<unsigned char>(a[i]);
    const auto byteB = static_cast<unsigned char>(b[i]);
    const unsigned char foldedA = !trailA && byteA >= 'a' && byteA <= 'z' ? byteA - ('a' - 'A') : byteA;
    const unsigned char foldedB = !trailB && byteB >= 'a' && byteB <= 'z' ? byteB - ('a' - 'A') : byteB;
    if (foldedA != foldedB) return foldedA < foldedB ? -1 : 1;
    trailA = !trailA && IsDBCSLeadByte(byteA);
    trailB = !trailB && IsDBCSLeadByte(byteB);
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool IsKeyword(const std::string& word) { return word.size() > 1 && word[0] == '*'; }

// "*K1 [O1] *K2 [O2]": either option may be left out.
bool ParseConstraint(const std::vector<std::string>& words, UiConstraint* constraint) {
  size_t at = 0;
  if (at >= words.size() || !IsKeyword(words[at])) return false;
  constraint->keyword1 = words[at++].substr(1);
  if (at < words.size() && !IsKeyword(words[at])) constraint->option1 = words[at++];
  if (at >= words.size() || !IsKeyword(words[at])) return false;
  constraint->keyword2 = words[at++].substr(1);
  if (at < words.size() && !IsKeyword(words[at])) constraint->option2 = words[at++];
  return at == words.size();
}

}  // namespace

// A line is taken up to its line break (CR or LF): a lone CR ends a line
// for the PPD format as well.
std::vector<UiConstraint> ReadUiConstraints(const std::vector<char>& file) {
  std::vector<UiConstraint> constraints;
  const char* const end = file.data() + file.size();
  for (const char* line = file.data(); line < end;) {
    const char* lineEnd = line;
    while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r') ++lineEnd;
    const size_t length = static_cast<size_t>(lineEnd - line);
    if (length >= sizeof kKeyword - 1 &&
        std::strncmp(line, kKeyword, sizeof kKeyword - 1) == 0) {
      UiConstraint constraint;
      const std::string rest(line + sizeof kKeyword - 1, lineEnd);
      if (ParseConstraint(Words(rest.c_str()), &constraint)) constraints.push_back(constraint);
    }
    line = lineEnd + 1;
  }
  return constraints;
}

bool ConstraintNames(const std::string& constraintOption, const std::string& option) {
  if (option.empty()) return false;
  if (!constraintOption.empty()) return SameKeyword(constraintOption, option);
  return !SameKeyword(option, "None") && !SameKeyword(option, "False") &&
         !SameKeyword(option, "Off");
}

bool SameKeyword(const std::string& a, const std::string& b) {
  return a.size() == b.size() && CompareFolded(a, b) == 0;
}

bool KeywordLess::operator()(const std::string& a, const std::string& b) const {
  return CompareFolded(a, b) < 0;
}
