// These run in the native build (our Windows-1252 table) and under Wine
// (the system's own conversion), so that both prove the same decoding.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ppd_test_support.h"
#include "wide_from_byte_units.h"

namespace {

TEST(WideFromByteUnits, DecodesEveryByteAsWindows1252) {
  // Bytes 0x80-0x9F are where Windows-1252 differs from Latin-1; the five
  // undefined ones map to the C1 control of the same value.
  const char16_t expected[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  for (unsigned byte = 1; byte < 256; ++byte) {
    const char16_t unit[1] = {static_cast<char16_t>(byte)};
    char16_t out[4] = {0xEEEE, 0xEEEE, 0xEEEE, 0xEEEE};
    ASSERT_EQ(WideFromByteUnits(unit, 1, out, 4), 1u) << "byte " << byte;
    const char16_t want = (byte >= 0x80 && byte < 0xA0) ? expected[byte - 0x80] : byte;
    EXPECT_EQ(out[0], want) << "byte " << byte;
    EXPECT_EQ(out[1], 0) << "byte " << byte;
  }
}

TEST(WideFromByteUnits, TakesTheLowByteAndFailsWhenTheTextDoesNotFit) {
  const char16_t abc[] = {0x0161, 0x0162, 0x0163};  // low bytes 'a', 'b', 'c'
  char16_t out[260];
  EXPECT_EQ(WideFromByteUnits(abc, 3, out, 260), 3u);
  EXPECT_EQ(std::u16string(out), u"abc");
  EXPECT_EQ(WideFromByteUnits(abc, 3, out, 3), 0u);
  EXPECT_EQ(WideFromByteUnits(abc, 3, out, 4), 3u);
  // A unit whose low byte is 0 ends the text, ASCII or not before it.
  const char16_t cutAscii[] = {0x0161, 0x0100, 0x0162};
  EXPECT_EQ(WideFromByteUnits(cutAscii, 3, out, 260), 1u);
  EXPECT_EQ(std::u16string(out), u"a");
  const char16_t cutAccented[] = {0x00E9, 0x0100, 0x0162};
  EXPECT_EQ(WideFromByteUnits(cutAccented, 3, out, 260), 1u);
  EXPECT_EQ(std::u16string(out), u"\u00E9");
}

TEST(AssignPpdText, StoresLengthAndTerminator) {
  PpdText text;
  const char16_t units[] = {'*', 'A', 0xB0};
  AssignPpdText(&text, units, 3);
  EXPECT_EQ(text.length, 3);
  EXPECT_EQ(std::u16string(text.characters), u"*A\u00B0");
}

TEST(AssignPpdText, TooLongBecomesEmptyAnd259Fits) {
  PpdText text;
  const std::u16string fits(259, u'x');
  AssignPpdText(&text, fits.data(), fits.size());
  EXPECT_EQ(text.length, 259);
  const std::u16string tooLong(260, u'y');
  AssignPpdText(&text, tooLong.data(), tooLong.size());
  EXPECT_EQ(text.length, 0);
  EXPECT_EQ(text.characters[0], 0);
}

TEST(PpdText, CopyTakesAllUnitsAndEqualityNeedsTheTerminator) {
  PpdText a;
  AssignPpdText(&a, u"Duplex");
  PpdText b(a);
  EXPECT_TRUE(PpdTextEquals(&a, &b));
  EXPECT_TRUE(PpdTextEquals(&a, u"Duplex"));
  EXPECT_FALSE(PpdTextEquals(&a, u"Dup"));
  EXPECT_FALSE(PpdTextEquals(&a, u"DuplexX"));
  EXPECT_FALSE(PpdTextEquals(&a, u"duplex"));
  EXPECT_FALSE(PpdTextEquals(&a, static_cast<const char16_t*>(nullptr)));
  EXPECT_FALSE(PpdTextEquals(nullptr, &a));
}

// Windows reads the file in text mode; the native read function must give
// the same bytes, and running this test in both builds shows that it does.
TEST(ReadPpdFileByte, ReadsAsTextModeDoes) {
  const std::string path = ScratchPath("text_mode_test.ppd");
  FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  const char bytes[] = "a\r\nb\rc\n\r\r\nd\x1A" "after";
  std::fwrite(bytes, 1, sizeof bytes - 1, out);
  std::fclose(out);

  FILE* in = OpenPpdFile(path.c_str());
  ASSERT_NE(in, nullptr);
  std::string read;
  for (int c = ReadPpdFileByte(in); c != -1; c = ReadPpdFileByte(in)) read += static_cast<char>(c);
  EXPECT_EQ(read, "a\nb\rc\n\r\nd");
  EXPECT_EQ(ReadPpdFileByte(in), -1);
  std::fclose(in);
  std::remove(path.c_str());
  EXPECT_EQ(ReadPpdFileByte(nullptr), -1);
}

}  // namespace
