// Fuzz target: the input's first byte sets a block size, and the rest is a
// PPD file read as the extension reads one: through ReadPpdFileByte, taken in
// blocks of that size. The model, and the tokens of every kind of read the
// builder makes, must be exactly those of the same file read byte by byte;
// the indexed evaluation must leave exactly the flags of the plain scan, both
// started from the same flags (drawn from the input). Then a re-evaluation
// with changed installed values, the searches and the destruction. Any
// difference stops the fuzzer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ppd_dump.h"
#include "ppd_model.h"
#include "ppd_tokenizer.h"

namespace {

// Small blocks put a boundary everywhere; 1 to 256 bytes.
size_t BlockBytesOf(uint8_t byte) { return static_cast<size_t>(byte) + 1; }

FILE* OpenBytes(const uint8_t* data, size_t size) {
  return fmemopen(const_cast<uint8_t*>(data), size, "rb");
}

std::vector<uint8_t*> AllFlags(PpdModel* model) {
  std::vector<uint8_t*> flags;
  for (int f = 0; f < model->featureCount; ++f) {
    for (int o = 0; o < model->features[f]->optionCount; ++o) {
      flags.push_back(&model->features[f]->options[o]->constrained);
    }
  }
  return flags;
}

// Both evaluations from one start; false when they leave different flags.
bool EvaluationsAgreeFrom(PpdModel* model, const std::vector<uint8_t*>& flags,
                          const std::vector<uint8_t>& start) {
  for (size_t i = 0; i < flags.size(); ++i) *flags[i] = start[i];
  EvaluateInstallableConstraints(model);
  std::vector<uint8_t> indexed(flags.size());
  for (size_t i = 0; i < flags.size(); ++i) indexed[i] = *flags[i];
  for (size_t i = 0; i < flags.size(); ++i) *flags[i] = start[i];
  EvaluateInstallableConstraintsByScan(model);
  for (size_t i = 0; i < flags.size(); ++i) {
    if (*flags[i] != indexed[i]) return false;
  }
  return true;
}

// Starts with every flag set, every flag clear, and two draws seeded by the
// input, so that a flag only one evaluation sets or clears shows.
void CheckEvaluationsAgree(PpdModel* model, const uint8_t* data, size_t size) {
  const std::vector<uint8_t*> flags = AllFlags(model);
  uint32_t state = 2166136261u;
  for (size_t i = 0; i < size; ++i) state = (state ^ data[i]) * 16777619u;
  for (int round = 0; round < 4; ++round) {
    std::vector<uint8_t> start(flags.size(), round == 0 ? 1 : 0);
    for (uint8_t& flag : start) {
      if (round < 2) break;
      state = state * 1664525u + 1013904223u;
      flag = static_cast<uint8_t>(state >> 31);
    }
    if (!EvaluationsAgreeFrom(model, flags, start)) std::abort();
  }
}

void Exercise(PpdModel* model, const uint8_t* data, size_t size) {
  for (int i = 0; i < model->installableCount; ++i) {
    const PpdFeature* feature = model->GetFeature(FindFeatureByKeyword(model, &model->installables[i]->keyword));
    if (feature != nullptr && feature->optionCount > 0) {
      SetInstallableValue(model, model->installables[i]->keyword.characters,
                          feature->options[0]->keyword.characters, false);
    }
  }
  SetInstallableValue(model, nullptr, nullptr, true);
  CheckEvaluationsAgree(model, data, size);
  for (int f = 0; f < model->featureCount; ++f) {
    FindFeatureKeywordByTranslation(model, model->features[f]->translation.characters);
  }
}

// The model of the file, taken in blocks of `blockBytes` (0: byte by byte);
// null when the file cannot be opened.
PpdModel* BuildFromFile(const uint8_t* data, size_t size, size_t blockBytes) {
  FILE* file = OpenBytes(data, size);
  if (file == nullptr) return nullptr;
  PpdModel* model = BuildPpdModel(ReadPpdFileByte, file, blockBytes);
  std::fclose(file);
  return model;
}

std::string DumpOf(const PpdModel* model) {
  return model == nullptr ? "<no model>" : DumpPpdModel(*model);
}

// Every token of the file, each read in one of the builder's ways (chosen by
// the token's position), with whether a line began before it. The buffer is
// small, so long tokens are cut as well.
std::string TokensOfFile(const uint8_t* data, size_t size, size_t blockBytes) {
  FILE* file = OpenBytes(data, size);
  if (file == nullptr) return "<unopened>";
  PpdByteSource source(ReadPpdFileByte, file);
  source.blockBytes = blockBytes;
  TakePpdFileInBlocks(&source);
  std::u16string buffer(512, u'\0');
  std::string log;
  for (size_t n = 0;; ++n) {
    size_t length = 0;
    bool lineBreak = false;
    const int way = static_cast<int>(n % 3);
    if (way < 2) {
      if (!NextPpdToken(&source, &buffer[0], buffer.size(), &length, way == 1, &lineBreak)) break;
    } else {
      const PpdTokenRead read =
          NextPpdTokenOnLine(&source, &buffer[0], buffer.size(), &length, true);
      if (read == PpdTokenRead::kEndOfInput) break;
      lineBreak = read == PpdTokenRead::kLineEnded;
    }
    log += lineBreak ? '|' : ' ';
    for (size_t i = 0; i < length; ++i) log += static_cast<char>(buffer[i]);
  }
  std::fclose(file);
  return log;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t blockBytes = BlockBytesOf(data[0]);
  const uint8_t* file = data + 1;
  const size_t fileSize = size - 1;
  if (TokensOfFile(file, fileSize, blockBytes) != TokensOfFile(file, fileSize, 0)) std::abort();
  PpdModel* model = BuildFromFile(file, fileSize, blockBytes);
  PpdModel* byteByByte = BuildFromFile(file, fileSize, 0);
  const bool bSame = DumpOf(model) == DumpOf(byteByByte);
  DestroyPpdModel(byteByByte);
  if (!bSame) std::abort();
  if (model != nullptr) Exercise(model, data, size);
  DestroyPpdModel(model);
  return 0;
}
