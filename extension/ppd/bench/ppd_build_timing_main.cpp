// ppd-build-timing [--runs N] [--phases] [--each] FILE
// Builds the model of one PPD N times (default 20) the way the plug-in does
// (open in the platform's mode, build over ReadPpdFileByte, close) and prints
// the minimum and median milliseconds of a build. The same source is built
// natively and for Windows, so scripts/model-build-bench.sh can time both on
// one file. With --phases it also times the layers below the builder on
// their own: reading every byte through the byte source, cutting every
// token, and destroying the model. With --each every build's time is printed
// on a line of its own ("each", tab, milliseconds) for a caller to gather.
// Figures only; nothing here passes or fails.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ppd_allocation.h"
#include "ppd_model.h"
#include "ppd_tokenizer.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Figures {
  double min = 0;
  double median = 0;
};

Figures Summarise(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return {times.front(), times[times.size() / 2]};
}

double TimeBuild(const char* path, double* destroyMs) {
  const auto start = Clock::now();
  FILE* file = OpenPpdFile(path);
  PpdModel* model = BuildPpdModel(ReadPpdFileByte, file);
  if (file != nullptr) std::fclose(file);
  const double ms = Milliseconds(start);
  const auto destroyStart = Clock::now();
  DestroyPpdModel(model);
  *destroyMs = Milliseconds(destroyStart);
  return ms;
}

// Every byte through the byte source, as the tokenizer would take them.
double TimeBytes(const char* path, long* count) {
  const auto start = Clock::now();
  FILE* file = OpenPpdFile(path);
  PpdByteSource* source = NewPpdRecord<PpdByteSource>(ReadPpdFileByte, file);
  TakePpdFileInBlocks(source);
  *count = 0;
  while (GetPpdByte(source) != -1) ++*count;
  delete source;
  if (file != nullptr) std::fclose(file);
  return Milliseconds(start);
}

// Every token, blanks not allowed, into a token buffer of the model's size.
double TimeTokens(const char* path, long* count) {
  const auto start = Clock::now();
  FILE* file = OpenPpdFile(path);
  char16_t* buffer = static_cast<char16_t*>(PpdMalloc(kPpdTokenCapacity * sizeof(char16_t)));
  PpdByteSource* source = NewPpdRecord<PpdByteSource>(ReadPpdFileByte, file);
  TakePpdFileInBlocks(source);
  size_t length = 0;
  *count = 0;
  while (NextPpdToken(source, buffer, kPpdTokenCapacity, &length, false)) ++*count;
  delete source;
  PpdFree(buffer);
  if (file != nullptr) std::fclose(file);
  return Milliseconds(start);
}

void Print(const char* what, const std::vector<double>& times) {
  const Figures f = Summarise(times);
  std::printf("%s\tmin %.3f ms\tmedian %.3f ms\n", what, f.min, f.median);
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 20;
  bool bPhases = false;
  bool bEach = false;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--phases") == 0) {
      bPhases = true;
    } else if (std::strcmp(argv[i], "--each") == 0) {
      bEach = true;
    } else {
      path = argv[i];
    }
  }
  if (path == nullptr) {
    std::fprintf(stderr, "usage: ppd-build-timing [--runs N] [--phases] [--each] FILE\n");
    return 2;
  }
  FILE* probe = OpenPpdFile(path);
  if (probe == nullptr) {
    std::fprintf(stderr, "ppd-build-timing: cannot open %s\n", path);
    return 1;
  }
  std::fclose(probe);
  std::vector<double> build, destroy, bytes, tokens;
  long byteCount = 0, tokenCount = 0;
  for (int run = 0; run < runs; ++run) {
    double destroyMs = 0;
    build.push_back(TimeBuild(path, &destroyMs));
    destroy.push_back(destroyMs);
    if (bPhases) {
      bytes.push_back(TimeBytes(path, &byteCount));
      tokens.push_back(TimeTokens(path, &tokenCount));
    }
  }
  if (bEach) {
    for (const double ms : build) std::printf("each\t%.3f\n", ms);
  }
  Print("build", build);
  if (bPhases) {
    Print("destroy", destroy);
    Print("bytes", bytes);
    Print("tokens", tokens);
    std::printf("bytes seen %ld, tokens %ld\n", byteCount, tokenCount);
  }
  return 0;
}
