#include "os/CodePage.h"

#include <gtest/gtest.h>

#include "os/Paths.h"

namespace {

// "中文" in GBK and BIG5, and the same characters in UTF-16.
const std::string kGbk = "\xD6\xD0\xCE\xC4";
const std::string kBig5 = "\xA4\xA4\xA4\xE5";
const std::u16string kWide = u"\u4E2D\u6587";

TEST(CodePage, RoundTripsTheThreeCodePages) {
  struct {
    int codePage;
    std::string ansi;
    std::u16string wide;
  } cases[] = {
      {os::CP_GBK, kGbk, kWide},
      {os::CP_BIG5, kBig5, kWide},
      {os::CP_US, "Return \x9C", u"Return \u00A3"},
      {os::CP_GBK, "", u""},
      {os::CP_GBK, "A-B;C", u"A-B;C"},
  };
  for (const auto& c : cases) {
    bool ok = false;
    EXPECT_EQ(os::AnsiToWide(c.ansi, c.codePage, &ok), c.wide) << c.codePage;
    EXPECT_TRUE(ok);
    EXPECT_EQ(os::WideToAnsi(c.wide, c.codePage, &ok), c.ansi) << c.codePage;
    EXPECT_TRUE(ok);
  }
}

TEST(CodePage, UnmappableCharactersBecomeQuestionMarksWithoutTruncating) {
  // U+20AC is not in code page 437, U+4E2D is; a surrogate pair counts as one character.
  EXPECT_EQ(os::WideToAnsi(u"a\u20ACb", os::CP_US), "a?b");
  EXPECT_EQ(os::WideToAnsi(u"x\U0001F600y", os::CP_GBK), "x?y");
  EXPECT_EQ(os::WideToAnsi(u"\u4E2D\U0001F600\u6587", os::CP_GBK), "\xD6\xD0?\xCE\xC4");
}

TEST(CodePage, UndecodableBytesBecomeQuestionMarks) {
  // A lone lead byte at the end, and a lead byte followed by an invalid trail byte.
  EXPECT_EQ(os::AnsiToWide("ab\xD6", os::CP_GBK), u"ab?");
  EXPECT_EQ(os::AnsiToWide("\xFF" "c", os::CP_GBK), u"?c");
}

TEST(CodePage, UnknownCodePageFails) {
  bool ok = true;
  EXPECT_EQ(os::AnsiToWide("abc", 1234, &ok), u"");
  EXPECT_FALSE(ok);
  EXPECT_EQ(os::WideToAnsi(u"abc", 1234, &ok), "");
  EXPECT_FALSE(ok);
}

TEST(CodePage, ConvertsBetweenCodePagesAndUtf8) {
  EXPECT_EQ(os::ConvertAnsi(kGbk, os::CP_GBK, os::CP_BIG5), kBig5);
  EXPECT_EQ(os::WideToUtf8(kWide), "\xE4\xB8\xAD\xE6\x96\x87");
  EXPECT_EQ(os::Utf8ToWide("\xE4\xB8\xAD\xE6\x96\x87"), kWide);
}

TEST(CodePage, SystemCodePageDefaultsTo936AndIgnoresUnknownValues) {
  EXPECT_EQ(os::SystemCodePage(), 936);
  os::SetSystemCodePage(950);
  EXPECT_EQ(os::SystemCodePage(), 950);
  os::SetSystemCodePage(77);
  EXPECT_EQ(os::SystemCodePage(), 950);
  os::SetSystemCodePage(936);
}

TEST(CodePage, LeadBytes) {
  EXPECT_TRUE(os::IsLeadByte(0x81, os::CP_GBK));
  EXPECT_TRUE(os::IsLeadByte(0xFE, os::CP_BIG5));
  EXPECT_FALSE(os::IsLeadByte(0x7C, os::CP_GBK));
  EXPECT_FALSE(os::IsLeadByte(0xD6, os::CP_US));
}

TEST(Paths, LibraryNamesTakeTheSoSuffix) {
  struct {
    const char* name;
    const char* file;
  } cases[] = {
      {"QZLB27S.DLL", "QZLB27S.so"},   {"Varirodizu.dll", "Varirodizu.so"},
      {"OsResD5", "OsResD5.so"},       {"QZLB27C.so", "QZLB27C.so"},
      {"C_PKG\\QZLB27S.DLL", "C_PKG/QZLB27S.so"}, {"my.dir/lib", "my.dir/lib.so"},
  };
  for (const auto& c : cases) EXPECT_EQ(os::LibraryFileName(c.name), c.file) << c.name;
}

}  // namespace
