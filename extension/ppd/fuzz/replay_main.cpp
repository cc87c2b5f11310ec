// Replays files through the fuzz target without libFuzzer, so the seeds and
// every crash ever found run in each test pass with the ordinary compiler.
#include <cstdint>
#include <cstdio>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    FILE* file = std::fopen(argv[i], "rb");
    if (file == nullptr) {
      std::fprintf(stderr, "cannot read %s\n", argv[i]);
      return 1;
    }
    std::vector<uint8_t> data;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) data.push_back(static_cast<uint8_t>(c));
    std::fclose(file);
    LLVMFuzzerTestOneInput(data.data(), data.size());
    ++replayed;
  }
  std::printf("replayed %d inputs\n", replayed);
  return 0;
}
