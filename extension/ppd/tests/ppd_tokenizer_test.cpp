#include <gtest/gtest.h>

#include <vector>

#include "ppd_test_support.h"

namespace {

std::vector<std::string> TokensOf(const std::string& text, ByteFeed feed = ByteFeed::kMemory,
                                  size_t blockBytes = kPpdBlockBytes) {
  TokenReader reader(text, kPpdTokenCapacity, feed, blockBytes);
  std::vector<std::string> tokens;
  for (std::string t = reader.Next(); t != "<end>"; t = reader.Next()) tokens.push_back(t);
  return tokens;
}

// Three passes over the text as a file, each reading its tokens in turn in
// the builder's three ways (every token, every token with blanks allowed,
// only a token on the current line with blanks allowed), from a different
// first way; each token marked where a line began before it.
std::string ReadingsOf(const std::string& text, size_t blockBytes) {
  std::string log;
  for (int firstWay = 0; firstWay < 3; ++firstWay) {
    TokenReader reader(text, kPpdTokenCapacity, ByteFeed::kFileInBlocks, blockBytes);
    for (int way = firstWay;; way = (way + 1) % 3) {
      size_t length = 0;
      bool lineBreak = false;
      if (way < 2) {
        if (!NextPpdToken(&reader.source, &reader.buffer[0], reader.buffer.size(), &length,
                          way == 1, &lineBreak)) {
          break;
        }
      } else {
        const PpdTokenRead read = NextPpdTokenOnLine(&reader.source, &reader.buffer[0],
                                                     reader.buffer.size(), &length, true);
        if (read == PpdTokenRead::kEndOfInput) break;
        lineBreak = read == PpdTokenRead::kLineEnded;
      }
      log += lineBreak ? '|' : ' ';
      for (size_t i = 0; i < length; ++i) log += static_cast<char>(reader.buffer[i] & 0xFF);
    }
    log += '\n';
  }
  return log;
}

using Tokens = std::vector<std::string>;

struct TokenCase {
  std::string text;
  Tokens expected;
  // Where the runtime's text mode changes the bytes (CR LF to LF, 0x1A ends
  // the file): the tokens a file gives. Empty when they are the ones above.
  Tokens textModeTokens = {};
};

void PrintTo(const TokenCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class TokenizerCase : public testing::TestWithParam<TokenCase> {};

TEST_P(TokenizerCase, GivesTheTokensInOrder) {
  const TokenCase& c = GetParam();
  EXPECT_EQ(TokensOf(c.text), c.expected) << "input: " << c.text;
  // A file read byte by byte (block size 0) and in blocks of every size up to
  // one past the text, so that a block boundary falls after each of its bytes.
  const Tokens& fromFile = c.textModeTokens.empty() ? c.expected : c.textModeTokens;
  const std::string byteByByte = ReadingsOf(c.text, 0);
  for (size_t blockBytes = 0; blockBytes <= c.text.size() + 1; ++blockBytes) {
    EXPECT_EQ(TokensOf(c.text, ByteFeed::kFileInBlocks, blockBytes), fromFile)
        << "input from a file in blocks of " << blockBytes << ": " << c.text;
    EXPECT_EQ(ReadingsOf(c.text, blockBytes), byteByByte)
        << "blocks of " << blockBytes << ": " << c.text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TokenizerCase,
    testing::Values(
        TokenCase{"*% a comment *OpenUI \"x\"\n%another: 1\r*End", {"*End"}},
        TokenCase{"*ModelName: \"Talvo ZQ\"\n", {"*ModelName", "Talvo ZQ"}},
        TokenCase{"*Foo:Bar", {"*Foo", "Bar"}},
        TokenCase{"*Foo :Bar", {"*Foo", ":Bar"}},
        TokenCase{"*Scale: 10%\n", {"*Scale", "10%"}},
        TokenCase{"*Sym: ^SymbolName", {"*Sym", "^SymbolName"}},
        TokenCase{"*Inv: \"<1B>%-1 a:b\n *c\"x", {"*Inv", "<1B>%-1 a:b\n *c", "x"}},
        TokenCase{"*Tab:\tA\fB\x0B" "C\rD", {"*Tab", "A", "B\x0B" "C", "D"}},
        TokenCase{"*Open: \"never closed", {"*Open", "never closed"}},
        TokenCase{"", {}},
        TokenCase{"*%only a comment", {}},
        TokenCase{"*OrderDependency: 10 AnySetup *PageSize",
                  {"*OrderDependency", "10", "AnySetup", "*PageSize"}},
        TokenCase{"*A: \"x\r\ny\"\r\n*B\r\n", {"*A", "x\r\ny", "*B"}, {"*A", "x\ny", "*B"}},
        TokenCase{"*A: \"x\ry\"\r*B\r", {"*A", "x\ry", "*B"}},
        TokenCase{std::string("*A\0B \"q\0r\"\0", 11), {"*A", "B", std::string("q\0r", 3)}},
        TokenCase{"*InputSlot <4C>ower/<4C>ower Tray: \"\"",
                  {"*InputSlot", "<4C>ower/<4C>ower", "Tray", ""}},
        TokenCase{"*A B\x1A*C\n*D", {"*A", "B\x1A*C", "*D"}, {"*A", "B"}}));

TEST(Tokenizer, ZeroByteIsABlank) {
  EXPECT_EQ(TokensOf(std::string("A\0B", 3)), (Tokens{"A", "B"}));
}

TEST(Tokenizer, BlanksAllowedKeepsSpacesTabsAndQuotesUpToTheColon) {
  TokenReader reader("*PageSize Legal/Legal (8 1/2 x 14\")\t: \"q\"");
  EXPECT_EQ(reader.Next(), "*PageSize");
  EXPECT_EQ(reader.Next(true), "Legal/Legal (8 1/2 x 14\")\t");
  EXPECT_EQ(reader.Next(), "q");
}

TEST(Tokenizer, BlanksAllowedStillEndsAtALineBreak) {
  TokenReader reader("A B\nC");
  EXPECT_EQ(reader.Next(true), "A B");
  EXPECT_EQ(reader.Next(true), "C");
  EXPECT_TRUE(reader.lineBreakBefore);
}

TEST(Tokenizer, ReportsLineBreaksBeforeTokensIncludingAfterComments) {
  TokenReader reader("*A x \"q\" y\n*B *% note\n  z \"multi\nline\" w");
  struct Step { const char* token; bool lineBreak; };
  const Step steps[] = {{"*A", true},  {"x", false}, {"q", false},     {"y", false},
                        {"*B", true},  {"z", true},  {"multi\nline", false}, {"w", false}};
  for (const Step& step : steps) {
    EXPECT_EQ(reader.Next(), step.token);
    EXPECT_EQ(reader.lineBreakBefore, step.lineBreak) << "before " << step.token;
  }
  EXPECT_EQ(reader.Next(), "<end>");
}

TEST(Tokenizer, EndOfInputRepeatsAndLeavesAnEmptyBuffer) {
  TokenReader reader("A");
  EXPECT_EQ(reader.Next(), "A");
  EXPECT_EQ(reader.Next(), "<end>");
  EXPECT_EQ(reader.Next(), "<end>");
}

// Each from memory and from a file taken in blocks.
const ByteFeed kFeeds[] = {ByteFeed::kMemory, ByteFeed::kFileInBlocks};

TEST(Tokenizer, LongTokenIsCutAtCapacityLessOneAndTheFullByteDropped) {
  for (ByteFeed feed : kFeeds) {
    TokenReader reader("abcdefgh ij", 4, feed);
    EXPECT_EQ(reader.Next(), "abc");  // 'd' found the buffer full
    EXPECT_EQ(reader.Next(), "efg");
    EXPECT_EQ(reader.Next(), "ij");
    TokenReader names("ab c/d:e", 4, feed);
    EXPECT_EQ(names.Next(true), "ab ");  // 'c' found the buffer full
    EXPECT_EQ(names.Next(true), "/d");
    TokenReader noRoom("abc", 0, feed);
    EXPECT_EQ(noRoom.Next(), "<end>");
  }
}

TEST(Tokenizer, LongQuotedTokenIsCutTheSameWay) {
  for (ByteFeed feed : kFeeds) {
    TokenReader reader("\"abcdef\"", 4, feed);
    EXPECT_EQ(reader.Next(), "abc");
    EXPECT_EQ(reader.Next(), "ef");  // the rest reads as a word token
  }
}

TEST(Tokenizer, FullSizeTokenBufferTakesTheLongestToken) {
  for (ByteFeed feed : kFeeds) {
    std::string huge(kPpdTokenCapacity + 10, 'x');
    TokenReader reader(huge + " \"" + huge + "\" tail", kPpdTokenCapacity, feed);
    EXPECT_EQ(reader.Next().size(), kPpdTokenCapacity - 1);
    EXPECT_EQ(reader.Next(), std::string(10, 'x'));
    EXPECT_EQ(reader.Next().size(), kPpdTokenCapacity - 1);
    EXPECT_EQ(reader.Next(), std::string(10, 'x'));
    EXPECT_EQ(reader.Next(), "tail");
  }
}

struct KeywordCase {
  const char16_t* token;
  int id;
};

TEST(LookupPpdKeyword, IsExactAndCaseSensitive) {
  const KeywordCase cases[] = {
      {u"*CloseUI", 3},  {u"*closeUI", 0},         {u"*CloseUI:", 0},  {u"*DefaultInputSlot", 0},
      {u"", 0},          {u"*?", 1},               {u"*UIConstraints", 21}, {u"*ModelName", 11},
      {u"*Product", 19}, {u"*PPD-Adobe", 17},      {u"*OpenUI", 14},   {u"*OpenGroup", 13},
      {u"*CloseGroup", 2}, {u"*Default", 4},       {u"*ZZZ", 0},       {u"*", 0},
      {u"*LanguageEncoding", 8}, {u"*LanguageVersion", 9}, {u"*Manufacturer", 10},
      {u"*ShortNickName", 20}, {u"*OrderDependency", 15}, {u"\xFFFF", 0}};
  for (const KeywordCase& c : cases) {
    EXPECT_EQ(LookupPpdKeyword(c.token), c.id) << Utf8(c.token);
  }
  EXPECT_EQ(LookupPpdKeyword(nullptr), 0);
}

struct SplitCase {
  const char* token;
  const char* name;
  const char* translation;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << '"' << c.token << '"'; }

class NameAndTranslation : public testing::TestWithParam<SplitCase> {};

TEST_P(NameAndTranslation, Splits) {
  TokenReader reader(std::string(GetParam().token) + ": rest");
  PpdText name;
  PpdText translation;
  ASSERT_TRUE(ReadNameAndTranslation(&reader.source, &reader.buffer[0], reader.buffer.size(),
                                     &name, &translation));
  EXPECT_EQ(Utf8(name), GetParam().name);
  EXPECT_EQ(Utf8(translation), GetParam().translation);
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, NameAndTranslation,
    testing::Values(
        SplitCase{"*InputSlot/Paper Source", "*InputSlot", "Paper Source"},
        SplitCase{"*ZQRendering", "*ZQRendering", "ZQRendering"},
        SplitCase{"A4/A4 210 x 297 mm", "A4", "A4 210 x 297 mm"},
        SplitCase{"A/B/C", "A", "B/C"},
        SplitCase{"PLAIN/Plain 1 (80 to 90 g/m2)", "PLAIN", "Plain 1 (80 to 90 g/m2)"},
        SplitCase{"<41><42>C", "ABC", "ABC"},
        SplitCase{"X/<414>2", "X", "A2"},
        SplitCase{"X/<4G><G4>", "X", "\x04\x00"},
        SplitCase{"X/< 9>", "X", "\t"},
        SplitCase{"X/<+9>", "X", "\t"},
        SplitCase{"X/Rotate 180<B0>", "X", "Rotate 180\xC2\xB0"},
        SplitCase{"X/<b0>", "X", "\xC2\xB0"},
        SplitCase{"X/<80><81><9D>", "X", "\xE2\x82\xAC\xC2\x81\xC2\x9D"},
        SplitCase{"X/*Star", "X", "Star"},
        SplitCase{"/Only", "Only", "Only"},
        SplitCase{"/A/B", "A", "A/B"},
        SplitCase{"/A<2F>B", "A", "A/B"},
        SplitCase{"A<2f>B/C", "A", "C"}));

TEST(NameAndTranslation, OverlongSegmentsAreCutAt259Characters) {
  const std::string longName(300, 'n');
  const std::string longTranslation(400, 't');
  TokenReader reader(longName + "/" + longTranslation + ":");
  PpdText name;
  PpdText translation;
  ASSERT_TRUE(ReadNameAndTranslation(&reader.source, &reader.buffer[0], reader.buffer.size(),
                                     &name, &translation));
  EXPECT_EQ(Utf8(name), std::string(259, 'n'));
  EXPECT_EQ(Utf8(translation), std::string(259, 't'));
}

TEST(NameAndTranslation, EndOfInputGivesFalse) {
  TokenReader reader("  *% nothing");
  PpdText name;
  PpdText translation;
  EXPECT_FALSE(ReadNameAndTranslation(&reader.source, &reader.buffer[0], reader.buffer.size(),
                                      &name, &translation));
}

TEST(ReadPpdValue, StoresTheTokenAndLeavesTheTextAloneAtTheEnd) {
  TokenReader reader("Pick One");
  PpdText text;
  ASSERT_TRUE(ReadPpdValue(&reader.source, &reader.buffer[0], reader.buffer.size(), &text));
  EXPECT_EQ(Utf8(text), "Pick");
  ASSERT_TRUE(ReadPpdValue(&reader.source, &reader.buffer[0], reader.buffer.size(), &text));
  EXPECT_EQ(Utf8(text), "One");
  EXPECT_FALSE(ReadPpdValue(&reader.source, &reader.buffer[0], reader.buffer.size(), &text));
  EXPECT_EQ(Utf8(text), "One");
}

}  // namespace

namespace {

int ReadFileByteByByte(void* file) { return ReadPpdFileByte(file); }

// Every byte a source gives until the end, and two reads past it.
std::vector<int> AllBytes(PpdByteSource* source) {
  std::vector<int> bytes;
  for (int c = GetPpdByte(source); c != -1; c = GetPpdByte(source)) bytes.push_back(c);
  bytes.push_back(GetPpdByte(source));
  bytes.push_back(PeekPpdByte(source));
  return bytes;
}

// The file taken in blocks gives exactly the bytes that ReadPpdFileByte gives
// one at a time (text mode: CR LF as LF, 0x1A ends), also where a CR LF pair,
// a lone CR or 0x1A meets the end of a block.
TEST(PpdByteSource, FileBlocksGiveTheBytesOfTheByteByByteRead) {
  const std::string full(kPpdBlockBytes - 1, 'a');
  const std::string cases[] = {
      "",
      "x\r\n\r\r\ny\r",
      "ab\x1A" "cd\r\n",
      full + "\r\nb",
      full + "\rx",
      full + "\r",
      full + "\r\r\nz",
      full + "a\x1A" "rest",
      full + "a" + full + "\r\n" + "end\r\n",
  };
  const std::string path = ScratchPath("byte_source_blocks.ppd");
  for (const std::string& text : cases) {
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
    FILE* one = OpenPpdFile(path.c_str());
    FILE* blocks = OpenPpdFile(path.c_str());
    ASSERT_NE(one, nullptr);
    ASSERT_NE(blocks, nullptr);
    PpdByteSource byteByByte(ReadFileByteByByte, one);
    PpdByteSource inBlocks(ReadPpdFileByte, blocks);
    TakePpdFileInBlocks(&inBlocks);
    ASSERT_NE(inBlocks.block, nullptr);
    const std::vector<int> expected = AllBytes(&byteByByte);
    EXPECT_EQ(AllBytes(&inBlocks), expected) << "input of " << text.size() << " bytes";
    EXPECT_EQ(expected.back(), -1);
    std::fclose(one);
    std::fclose(blocks);
  }
  std::remove(path.c_str());
}

}  // namespace
