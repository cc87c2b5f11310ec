// ppd-bench [--report FILE] [--fresh N] FILE|DIR...
// Times, per PPD, our model build (open, parse and first evaluation) and
// libcups's ppdOpenFile side by side in one process, alternating, 5 runs
// each; the ratio is ours over libcups's by the minimum of the runs. A file
// above 1.0 is timed again and counts as slower only if it stays above.
// Files libcups refuses (and empty ones) are left out. Prints the worst
// files, the corpus total, the median ratio and the share slower, then for
// the largest files the first run of each in a fresh process (what a user
// waits for), the model's memory and one re-evaluation after changed
// installed values. Figures only; nothing here is a pass or fail.
//
// libcups is the timing reference only, used through its public
// ppdOpenFile/ppdClose (declared here; the plug-in never links it).
#include <dirent.h>
#include <malloc.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ppd_model.h"

extern "C" {
struct ppd_file_s;
ppd_file_s* ppdOpenFile(const char* filename);
void ppdClose(ppd_file_s* ppd);
}

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 5;

double Milliseconds(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double TimeOurs(const char* path) {
  const auto start = Clock::now();
  FILE* file = OpenPpdFile(path);
  PpdModel* model = BuildPpdModel(ReadPpdFileByte, file);
  if (file != nullptr) std::fclose(file);
  const double ms = Milliseconds(start);
  DestroyPpdModel(model);
  return ms;
}

// Negative when libcups refuses the file.
double TimeCups(const char* path) {
  const auto start = Clock::now();
  ppd_file_s* ppd = ppdOpenFile(path);
  const double ms = Milliseconds(start);
  if (ppd == nullptr) return -1;
  ppdClose(ppd);
  return ms;
}

struct Timing {
  std::string path;
  long bytes = 0;
  double oursMin = 0, oursMedian = 0, cupsMin = 0, cupsMedian = 0;
  bool refused = false;
  double Ratio() const { return oursMin / cupsMin; }
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void TimeSideBySide(Timing* t) {
  std::vector<double> ours, cups;
  for (int run = 0; run < kRuns; ++run) {
    const double c = TimeCups(t->path.c_str());
    if (c < 0) {
      t->refused = true;
      return;
    }
    cups.push_back(c);
    ours.push_back(TimeOurs(t->path.c_str()));
  }
  t->oursMin = *std::min_element(ours.begin(), ours.end());
  t->cupsMin = *std::min_element(cups.begin(), cups.end());
  t->oursMedian = Median(ours);
  t->cupsMedian = Median(cups);
}

void Walk(const std::string& path, std::vector<Timing>* files, long* empty) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return;
  if (!S_ISDIR(info.st_mode)) {
    if (info.st_size == 0) ++*empty;
    if (info.st_size > 0) {
      Timing t;
      t.path = path;
      t.bytes = info.st_size;
      files->push_back(t);
    }
    return;
  }
  DIR* dir = opendir(path.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> names;
  while (dirent* entry = readdir(dir)) {
    if (entry->d_name[0] != '.') names.push_back(entry->d_name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) Walk(path + "/" + name, files, empty);
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

// Runs this program again as "--first ours|cups FILE" and reads its figure.
double FirstRunInFreshProcess(const char* self, const char* which, const std::string& path) {
  const std::string command =
      std::string("'") + self + "' --first " + which + " '" + path + "'";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  double ms = -1;
  if (std::fscanf(pipe, "%lf", &ms) != 1) ms = -1;
  pclose(pipe);
  return ms;
}

void ReportLargest(const char* self, std::vector<Timing> files, size_t count) {
  std::sort(files.begin(), files.end(),
            [](const Timing& a, const Timing& b) { return a.bytes > b.bytes; });
  std::printf("\nlargest files: first run in a fresh process, model memory, re-evaluation\n");
  std::printf("file\tbytes\tfirst-ours-ms\tfirst-cups-ms\tconstraints\tmodel-kb\treevaluate-ms\n");
  for (size_t i = 0; i < files.size() && i < count; ++i) {
    const char* path = files[i].path.c_str();
    const double firstOurs = FirstRunInFreshProcess(self, "ours", files[i].path);
    const double firstCups = FirstRunInFreshProcess(self, "cups", files[i].path);
    const size_t before = mallinfo2().uordblks;
    FILE* file = OpenPpdFile(path);
    PpdModel* model = BuildPpdModel(ReadPpdFileByte, file);
    std::fclose(file);
    const size_t kept = mallinfo2().uordblks - before;
    double worst = 0;
    for (int round = 0; round < 7; ++round) worst = std::max(worst, TimeReevaluation(model, round));
    std::printf("%s\t%ld\t%.2f\t%.2f\t%d\t%zu\t%.3f\n", path, files[i].bytes, firstOurs, firstCups,
                model->constraintCount, kept / 1024, worst);
    DestroyPpdModel(model);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--first") == 0) {
    const bool ours = std::strcmp(argv[2], "ours") == 0;
    std::printf("%.3f\n", ours ? TimeOurs(argv[3]) : TimeCups(argv[3]));
    return 0;
  }
  const char* reportPath = nullptr;
  size_t fresh = 5;
  std::vector<Timing> files;
  long empty = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--report") == 0 && i + 1 < argc) {
      reportPath = argv[++i];
    } else if (std::strcmp(argv[i], "--fresh") == 0 && i + 1 < argc) {
      fresh = static_cast<size_t>(std::atol(argv[++i]));
    } else {
      Walk(argv[i], &files, &empty);
    }
  }
  std::vector<Timing> timed;
  long refused = 0;
  for (Timing& t : files) {
    TimeSideBySide(&t);
    if (t.refused) {
      ++refused;
      continue;
    }
    // Timed again only while above; a single slow run is the machine's.
    if (t.Ratio() > 1.0) TimeSideBySide(&t);
    if (!t.refused) timed.push_back(t);
  }
  if (timed.empty()) {
    std::printf("no file timed\n");
    return 1;
  }
  FILE* report = reportPath != nullptr ? std::fopen(reportPath, "w") : nullptr;
  if (report != nullptr) {
    std::fprintf(report, "file\tbytes\tours-min-ms\tours-median-ms\tcups-min-ms\tcups-median-ms\tratio\n");
    for (const Timing& t : timed) {
      std::fprintf(report, "%s\t%ld\t%.3f\t%.3f\t%.3f\t%.3f\t%.3f\n", t.path.c_str(), t.bytes,
                   t.oursMin, t.oursMedian, t.cupsMin, t.cupsMedian, t.Ratio());
    }
    std::fclose(report);
  }
  double oursTotal = 0, cupsTotal = 0;
  long slower = 0;
  std::vector<double> ratios;
  for (const Timing& t : timed) {
    oursTotal += t.oursMin;
    cupsTotal += t.cupsMin;
    ratios.push_back(t.Ratio());
    if (t.Ratio() > 1.0) ++slower;
  }
  std::sort(timed.begin(), timed.end(),
            [](const Timing& a, const Timing& b) { return a.Ratio() > b.Ratio(); });
  std::printf("worst files (ours over libcups, minimum of %d runs each)\n", kRuns);
  std::printf("file\tbytes\tours-min-ms\tcups-min-ms\tours-median-ms\tcups-median-ms\tratio\n");
  for (size_t i = 0; i < timed.size() && i < 10; ++i) {
    const Timing& t = timed[i];
    std::printf("%s\t%ld\t%.3f\t%.3f\t%.3f\t%.3f\t%.3f\n", t.path.c_str(), t.bytes, t.oursMin,
                t.cupsMin, t.oursMedian, t.cupsMedian, t.Ratio());
  }
  std::printf("\nfiles timed %zu (left out: %ld refused by libcups, %ld empty)\n", timed.size(),
              refused, empty);
  std::printf("corpus total: ours %.1f ms, libcups %.1f ms, ratio %.3f\n", oursTotal, cupsTotal,
              oursTotal / cupsTotal);
  std::printf("median ratio %.3f; slower than libcups: %ld files (%.2f%%)\n", Median(ratios), slower,
              100.0 * slower / timed.size());
  ReportLargest(argv[0], timed, fresh);
  return 0;
}
