// ppd-corpus [--every N] FILE|DIR...
// Builds the model of every PPD given (folders are walked) and checks it
// against facts counted without the parser: the number of *OpenUI and
// *UIConstraints lines. Also checks that the indexed evaluation of the
// constraints gives exactly the plain scan's flags, at the PPD defaults and
// with every installable feature set to its last option. Prints a summary;
// exits non-zero when an evaluation differs. With --every N only every N-th
// file (in sorted order) is checked, for a quicker pass.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ppd_model.h"

namespace {

struct LineCounts {
  long openUi = 0;
  long constraints = 0;
};

bool LineStartsWithKeyword(const std::string& line, const char* keyword) {
  const size_t n = std::strlen(keyword);
  if (line.compare(0, n, keyword) != 0) return false;
  return line.size() == n || line[n] == ' ' || line[n] == ':' || line[n] == '\t';
}

LineCounts CountLines(const std::string& path) {
  LineCounts counts;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return counts;
  std::string line;
  for (int c = std::fgetc(file);; c = std::fgetc(file)) {
    if (c == EOF || c == '\n' || c == '\r') {
      if (LineStartsWithKeyword(line, "*OpenUI")) ++counts.openUi;
      if (LineStartsWithKeyword(line, "*UIConstraints")) ++counts.constraints;
      line.clear();
      if (c == EOF) break;
    } else {
      line += static_cast<char>(c);
    }
  }
  std::fclose(file);
  return counts;
}

std::vector<uint8_t> FlagsOf(const PpdModel& model) {
  std::vector<uint8_t> flags;
  for (int f = 0; f < model.featureCount; ++f) {
    for (int o = 0; o < model.features[f]->optionCount; ++o) {
      flags.push_back(model.features[f]->options[o]->constrained);
    }
  }
  return flags;
}

void SetFlags(PpdModel* model, const std::vector<uint8_t>& flags) {
  size_t i = 0;
  for (int f = 0; f < model->featureCount; ++f) {
    for (int o = 0; o < model->features[f]->optionCount; ++o) {
      model->features[f]->options[o]->constrained = flags[i++];
    }
  }
}

// The indexed evaluation from `start` must equal the plain scan from `start`.
bool EvaluationsAgree(PpdModel* model, const std::vector<uint8_t>& start) {
  SetFlags(model, start);
  EvaluateInstallableConstraints(model);
  const std::vector<uint8_t> indexed = FlagsOf(*model);
  SetFlags(model, start);
  EvaluateInstallableConstraintsByScan(model);
  return FlagsOf(*model) == indexed;
}

void SetInstallablesToLastOption(PpdModel* model) {
  for (int i = 0; i < model->installableCount; ++i) {
    const int f = FindFeatureByKeyword(model, &model->installables[i]->keyword);
    const PpdFeature* feature = model->GetFeature(f);
    if (feature == nullptr || feature->optionCount == 0) continue;
    SetInstallableValue(model, model->installables[i]->keyword.characters,
                        feature->options[feature->optionCount - 1]->keyword.characters, false);
  }
}

struct Totals {
  long files = 0, unreadable = 0, features = 0, options = 0, constraints = 0, installables = 0;
  long openUiDiffer = 0, constraintsDiffer = 0, evaluationsDiffer = 0, flagged = 0;
  double seconds = 0;
  long every = 1;
  long seen = 0;
};

void CheckFile(const std::string& path, Totals& totals) {
  if (totals.seen++ % totals.every != 0) return;
  FILE* file = OpenPpdFile(path.c_str());
  if (file == nullptr) {
    ++totals.unreadable;
    return;
  }
  const auto start = std::chrono::steady_clock::now();
  PpdModel* model = BuildPpdModel(ReadPpdFileByte, file);
  totals.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::fclose(file);
  if (model == nullptr) {
    ++totals.unreadable;
    return;
  }
  ++totals.files;
  totals.features += model->featureCount;
  totals.constraints += model->constraintCount;
  totals.installables += model->installableCount;
  for (int f = 0; f < model->featureCount; ++f) totals.options += model->features[f]->optionCount;
  for (uint8_t flag : FlagsOf(*model)) totals.flagged += flag;

  const LineCounts lines = CountLines(path);
  if (lines.openUi != model->featureCount) {
    ++totals.openUiDiffer;
    std::printf("openui-differs\t%s\tlines=%ld\tfeatures=%d\n", path.c_str(), lines.openUi,
                model->featureCount);
  }
  if (lines.constraints != model->constraintCount) {
    ++totals.constraintsDiffer;
    std::printf("constraints-differ\t%s\tlines=%ld\tconstraints=%d\n", path.c_str(),
                lines.constraints, model->constraintCount);
  }
  const std::vector<uint8_t> zero(FlagsOf(*model).size(), 0);
  bool agree = EvaluationsAgree(model, zero);
  SetInstallablesToLastOption(model);
  agree = agree && EvaluationsAgree(model, FlagsOf(*model));
  if (!agree) {
    ++totals.evaluationsDiffer;
    std::printf("evaluation-differs\t%s\n", path.c_str());
  }
  DestroyPpdModel(model);
}

void Walk(const std::string& path, Totals& totals) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return;
  if (!S_ISDIR(info.st_mode)) {
    CheckFile(path, totals);
    return;
  }
  DIR* dir = opendir(path.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> names;
  while (dirent* entry = readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
      names.push_back(entry->d_name);
    }
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) Walk(path + "/" + name, totals);
}

}  // namespace

int main(int argc, char** argv) {
  Totals totals;
  int first = 1;
  if (argc > 2 && std::strcmp(argv[1], "--every") == 0) {
    totals.every = std::max(1L, std::atol(argv[2]));
    first = 3;
  }
  for (int i = first; i < argc; ++i) Walk(argv[i], totals);
  std::printf(
      "summary\tfiles=%ld\tunreadable=%ld\tfeatures=%ld\toptions=%ld\tconstraints=%ld\t"
      "installables=%ld\tconstrained-at-defaults=%ld\tbuild-seconds=%.2f\n",
      totals.files, totals.unreadable, totals.features, totals.options, totals.constraints,
      totals.installables, totals.flagged, totals.seconds);
  std::printf("checks\topenui-lines-differ=%ld\tconstraint-lines-differ=%ld\tevaluations-differ=%ld\n",
              totals.openUiDiffer, totals.constraintsDiffer, totals.evaluationsDiffer);
  return totals.evaluationsDiffer == 0 && totals.files > 0 ? 0 : 1;
}
