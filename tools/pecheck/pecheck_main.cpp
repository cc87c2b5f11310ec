// pecheck FILE...: prints what a Windows binary needs to run: machine,
// subsystem version, exports and imports. Exit status 1 when a file cannot
// be read as a PE image.
#include <cstdio>

#include "pe_image.h"

int main(int argc, char** argv) {
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    std::vector<uint8_t> bytes;
    PeImage image;
    std::string error;
    if (!ReadFileBytes(argv[i], &bytes) || !ReadPeImage(bytes, &image, &error)) {
      std::fprintf(stderr, "%s: %s\n", argv[i], error.empty() ? "cannot read" : error.c_str());
      status = 1;
      continue;
    }
    std::printf("%s\n  machine 0x%04X, subsystem %u version %u.%02u\n", argv[i], image.machine,
                image.subsystem, image.majorSubsystemVersion, image.minorSubsystemVersion);
    for (const std::string& name : image.exports) std::printf("  export %s\n", name.c_str());
    for (const auto& dll : image.imports) {
      for (const std::string& function : dll.second)
        std::printf("  import %s!%s\n", dll.first.c_str(), function.c_str());
    }
  }
  return status;
}
