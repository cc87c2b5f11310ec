// ppd-bench FILE...
// Prints, per file, the time of the model build (parse and first
// evaluation), of one re-evaluation after changed installed values, the
// plain byte-by-byte read of the same file as the floor, and the memory the
// model keeps. Figures only; nothing here is a pass or fail.
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "ppd_model.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

template <typename F>
double MedianOf(int runs, F run) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) times.push_back(run());
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

double TimeRead(const char* path) {
  FILE* file = OpenPpdFile(path);
  const auto start = Clock::now();
  long sum = 0;
  for (int c = ReadPpdFileByte(file); c != -1; c = ReadPpdFileByte(file)) sum += c;
  const double ms = Milliseconds(start);
  std::fclose(file);
  return sum < 0 ? -1 : ms;
}

PpdModel* Build(const char* path, double* ms) {
  FILE* file = OpenPpdFile(path);
  const auto start = Clock::now();
  PpdModel* model = BuildPpdModel(ReadPpdFileByte, file);
  *ms = Milliseconds(start);
  std::fclose(file);
  return model;
}

double TimeReevaluation(PpdModel* model, int round) {
  for (int i = 0; i < model->installableCount; ++i) {
    const PpdFeature* f = model->GetFeature(FindFeatureByKeyword(model, &model->installables[i]->keyword));
    if (f == nullptr || f->optionCount == 0) continue;
    SetInstallableValue(model, model->installables[i]->keyword.characters,
                        f->options[round % f->optionCount]->keyword.characters, false);
  }
  const auto start = Clock::now();
  SetInstallableValue(model, nullptr, nullptr, true);
  return Milliseconds(start);
}

}  // namespace

int main(int argc, char** argv) {
  std::printf("file\tbytes\tfeatures\toptions\tconstraints\tinstallables\tread-ms\tbuild-ms\t"
              "ratio\treevaluate-ms\tmodel-kb\n");
  for (int i = 1; i < argc; ++i) {
    FILE* probe = OpenPpdFile(argv[i]);
    if (probe == nullptr) continue;
    std::fseek(probe, 0, SEEK_END);
    const long bytes = std::ftell(probe);
    std::fclose(probe);
    const double readMs = MedianOf(7, [&] { return TimeRead(argv[i]); });
    const double buildMs = MedianOf(7, [&] {
      double ms = 0;
      DestroyPpdModel(Build(argv[i], &ms));
      return ms;
    });
    const size_t before = mallinfo2().uordblks;
    double ms = 0;
    PpdModel* model = Build(argv[i], &ms);
    const size_t kept = mallinfo2().uordblks - before;
    int round = 0;
    const double reevaluateMs = MedianOf(7, [&] { return TimeReevaluation(model, round++); });
    long options = 0;
    for (int f = 0; f < model->featureCount; ++f) options += model->features[f]->optionCount;
    std::printf("%s\t%ld\t%d\t%ld\t%d\t%d\t%.2f\t%.2f\t%.1f\t%.3f\t%zu\n", argv[i], bytes,
                model->featureCount, options, model->constraintCount, model->installableCount,
                readMs, buildMs, buildMs / readMs, reevaluateMs, kept / 1024);
    DestroyPpdModel(model);
  }
  std::printf("the token buffer adds %zu KB while a model is built\n",
              static_cast<size_t>(2048));
  return 0;
}
