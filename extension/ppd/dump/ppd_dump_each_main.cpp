// ppd-dump-each CORPUS_DIR OUT_DIR < relative paths, one a line
// Writes ppd-dump's output for each file to OUT_DIR/PATH.dump (the folders
// must exist), all in one process, so that the dumps of a whole corpus can
// be kept and compared after a change of the reader.
#include <cstdio>
#include <iostream>
#include <string>

#include "ppd_dump.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: ppd-dump-each CORPUS_DIR OUT_DIR < paths\n");
    return 2;
  }
  const std::string corpus = argv[1];
  const std::string out = argv[2];
  std::string path;
  long written = 0;
  while (std::getline(std::cin, path)) {
    std::string dump;
    FILE* file = OpenPpdFile((corpus + "/" + path).c_str());
    if (file == nullptr) {
      dump = "cannot open\n";
    } else {
      PpdModel* model = BuildPpdModel(ReadPpdFileByte, file);
      std::fclose(file);
      dump = model == nullptr ? std::string("out of memory\n") : DumpPpdModel(*model);
      DestroyPpdModel(model);
    }
    FILE* target = std::fopen((out + "/" + path + ".dump").c_str(), "wb");
    if (target == nullptr) {
      std::fprintf(stderr, "ppd-dump-each: cannot write %s/%s.dump\n", out.c_str(), path.c_str());
      return 1;
    }
    std::fwrite(dump.data(), 1, dump.size(), target);
    std::fclose(target);
    ++written;
  }
  std::printf("%ld dumps written to %s\n", written, out.c_str());
  return 0;
}
