// ppd-dump FILE [--installed '*Keyword=Value']...
// Builds the model of one PPD exactly as the extension does, sets the given
// installed values, re-evaluates, and prints the model.
#include <cstdio>
#include <cstring>

#include "ppd_dump.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

int Usage() {
  std::fprintf(stderr, "usage: ppd-dump FILE [--installed '*Keyword=Value']...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
#ifdef _WIN32
  // The dump is UTF-8 with LF line ends on every system.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  FILE* file = OpenPpdFile(argv[1]);
  if (file == nullptr) {
    std::fprintf(stderr, "ppd-dump: cannot open %s\n", argv[1]);
    return 1;
  }
  PpdModel* model = BuildPpdModel(ReadPpdFileByte, file);
  std::fclose(file);
  if (model == nullptr) {
    std::fprintf(stderr, "ppd-dump: out of memory\n");
    return 1;
  }
  int status = 0;
  bool bInstalled = false;
  for (int i = 2; i < argc && status == 0; ++i) {
    if (std::strcmp(argv[i], "--installed") == 0 && i + 1 < argc &&
        ApplyInstalledArgument(model, argv[i + 1])) {
      bInstalled = true;
      ++i;
    } else {
      status = Usage();
    }
  }
  if (status == 0) {
    if (bInstalled) SetInstallableValue(model, nullptr, nullptr, true);
    const std::string dump = DumpPpdModel(*model);
    std::fwrite(dump.data(), 1, dump.size(), stdout);
  }
  DestroyPpdModel(model);
  return status;
}
