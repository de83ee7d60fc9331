#include "support/LibStrs.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>

#include "automation/DateTime.h"
#include "os/CodePage.h"
#include "support/GbkText.h"
#include "support/Logs.h"

using automation::EncodeDate;
using automation::Variant;
using automation::VarType;

namespace {

// GBK characters whose second byte looks like an ASCII separator, and two plain ones.
const std::string kBar = "\x81\x7C";    // 亅, trail byte "|"
const std::string kBar2 = "\x95\x7C";   // another character ending in "|"
const std::string kAt = "\x81\x40";     // 丂, trail byte "@"
const std::string kZhong = "\xD6\xD0";  // 中
const std::string kWen = "\xCE\xC4";    // 文

TEST(GetToken, CutsFieldsAtTheSeparator) {
  struct {
    std::string text, separator;
    int index;
    std::string expected;
  } cases[] = {
      {"A;B;C", ";", 1, "A"},
      {"A;B;C", ";", 2, "B"},
      {"A;B;C", ";", 3, "C"},
      {"A;B;C", ";", 4, ""},
      {"A;B;C", ";", 0, ""},
      {"A;B;C", ";", -1, ""},
      {"", ";", 1, ""},
      {"A", ";", 1, "A"},
      {"A", ";", 2, ""},
      {"A;", ";", 2, ""},
      {"A;", ";", 3, ""},
      {";B", ";", 1, ""},
      {"A;;C", ";", 2, ""},
      {"A;;C", ";", 3, "C"},
      {"A||B|C||D", "||", 2, "B|C"},
      {"A||B|C||D", "||", 3, "D"},
      {"A|||B", "||", 2, "|B"},
      {"A;B", "", 1, "A;B"},
      {"A;B", "", 2, ""},
      // Trail bytes that look like the separator are part of their character.
      {"A" + kBar + "|B", "|", 1, "A" + kBar},
      {"A" + kBar + "|B", "|", 2, "B"},
      {kBar + kBar2, "|", 1, kBar + kBar2},
      {kBar + kBar2, "|", 2, ""},
      {kAt + "@x", "@", 2, "x"},
      {kZhong + ";" + kWen, ";", 2, kWen},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GetToken(c.text, c.separator, c.index), c.expected)
        << "'" << c.text << "' '" << c.separator << "' " << c.index;
}

TEST(CountTokens, CountsSeparatorsPlusOne) {
  struct {
    std::string text, separator;
    int expected;
  } cases[] = {
      {"", ",", 0},
      {"a", ",", 1},
      {"a,,b", ",", 3},
      {"a,", ",", 2},
      {",", ",", 2},
      {"a||b||", "||", 3},
      {"a|||b", "||", 2},
      {"aaaa", "aa", 3},
      {"a,b", "", 1},
      {kBar + "," + kBar, "|", 1},
      {kBar + "|" + kBar, "|", 2},
      {"r1\x04r2\x04", "\x04", 3},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CountTokens(c.text, c.separator), c.expected) << "'" << c.text << "'";
}

TEST(TakeToken, ReturnsTheHeadAndKeepsTheRest) {
  struct {
    std::string text, separator, token, rest;
  } cases[] = {
      {"2004/01/02", "/", "2004", "01/02"},
      {"02", "/", "02", ""},
      {"", "/", "", ""},
      {"/x", "/", "", "x"},
      {"a--b--c", "--", "a", "b--c"},
      {kBar + "|" + kWen, "|", kBar, kWen},
      {kBar + kBar2, "|", kBar + kBar2, ""},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(TakeToken(text, c.separator), c.token) << c.text;
    EXPECT_EQ(text, c.rest) << c.text;
  }
}

TEST(ReplaceAll, ReplacesUntilNoOccurrenceIsLeft) {
  struct {
    std::string text, pattern, replacement;
    bool trim;
    std::string expected;
  } cases[] = {
      {"a\r\nb\r\nc", "\r\n", "", false, "abc"},
      // Occurrences formed by a replacement are replaced too: the search starts again.
      {"\r\r\n\n", "\r\n", "", false, ""},
      {"aabb", "ab", "", false, ""},
      {"aab", "ab", "ba", false, "baa"},
      {"aaabbb", "ab", "", false, ""},
      {"xaaab", "aab", "b", false, "xab"},
      {"Abc", "abc", "ABC", false, "Abc"},
      {"abc", "abc", "ABC", false, "abc"},
      {"a-b", "-", "+", false, "a+b"},
      {"abc", "", "x", false, "abc"},
      {"  a,b  ", ",", ";", true, "a;b"},
      {"  a,b  ", ",", ";", false, "  a;b  "},
      {" \tab\r\n", "a", "A", true, "ab"},
      {" \tab\r\n", "b", "c", true, "ac"},
      {" Abc ", "abc", "ABC", true, "Abc"},
      {"", "a", "b", false, ""},
      // A pattern never matches from the second byte of a character on.
      {kZhong + kWen, "\xD0\xCE", "X", false, kZhong + kWen},
      {kBar + "|", "|", "/", false, kBar + "/"},
      {kZhong + kWen + kZhong, kWen, "-", false, kZhong + "-" + kZhong},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReplaceAll(c.text, c.pattern, c.replacement, c.trim), c.expected)
        << "'" << c.text << "' '" << c.pattern << "' -> '" << c.replacement << "'";
}

// The rule word for word: replace the first occurrence (on a character start), search again
// from the beginning, until none is left.
std::string ReplaceFromTheStartEachTime(std::string text, const std::string& pattern,
                                        const std::string& replacement) {
  for (;;) {
    size_t found = std::string::npos;
    for (size_t pos = 0; pos + pattern.size() <= text.size();
         pos += (static_cast<unsigned char>(text[pos]) >= 0x81 && pos + 1 < text.size()) ? 2 : 1)
      if (text.compare(pos, pattern.size(), pattern) == 0) {
        found = pos;
        break;
      }
    if (found == std::string::npos) return text;
    text.replace(found, pattern.size(), replacement);
  }
}

TEST(ReplaceAll, GivesTheResultOfSearchingFromTheStartAfterEachReplacement) {
  // Small texts over "a", "b" and a character whose trail byte is "b" (0x81 0x62), with every
  // pattern and replacement of up to three such pieces that respects the rule.
  const std::vector<std::string> pieces = {"a", "b", "\x81\x62"};
  std::vector<std::string> words = {""};
  for (int length = 1; length <= 3; ++length) {
    const size_t from = words.size();
    for (size_t i = 0; i < from; ++i)
      if (static_cast<int>(words[i].size()) >= length - 1)
        for (const std::string& p : pieces) words.push_back(words[i] + p);
  }
  std::mt19937 random(27);
  int compared = 0;
  for (const std::string& pattern : words) {
    for (const std::string& replacement : words) {
      // Skips the replacements that hold the pattern on a character start.
      if (pattern.empty() || ReplaceAll(replacement, pattern, "", false) != replacement) continue;
      for (int round = 0; round < 4; ++round) {
        std::string text;
        for (int n = static_cast<int>(random() % 9); n > 0; --n) text += pieces[random() % 3];
        ASSERT_EQ(ReplaceAll(text, pattern, replacement, false),
                  ReplaceFromTheStartEachTime(text, pattern, replacement))
            << "'" << text << "' '" << pattern << "' -> '" << replacement << "'";
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 0);
}

TEST(ReplaceAll, EndsWhenTheReplacementContainsThePattern) {
  // Searching again from the start would never end here: each original occurrence is replaced
  // once and the inserted text is left alone.
  struct {
    std::string text, pattern, replacement, expected;
  } cases[] = {
      {"a'b'c", "'", "''", "a''b''c"}, {"x\ny\n", "\n", "\r\n", "x\r\ny\r\n"},
      {"aaa", "a", "aa", "aaaaaa"},    {"ab", "b", "xbx", "axbx"},
      {"ab", "ab", "abab", "abab"},    {kBar + "|", "|", "||", kBar + "||"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReplaceAll(c.text, c.pattern, c.replacement, false), c.expected) << c.text;
}

TEST(ReplaceAll, HandlesLongTextsWithManyReplacements) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "line\r\n";
  std::string expected;
  for (int i = 0; i < 20000; ++i) expected += "line";
  EXPECT_EQ(ReplaceAll(text, "\r\n", "", false), expected);
  EXPECT_EQ(ReplaceAll(std::string(50000, '\r') + std::string(50000, '\n'), "\r\n", "", false), "");
}

TEST(PadRight, FillsToTheWidthAndNeverCuts) {
  struct {
    std::string text;
    std::vector<int> list;
    std::string expected;
  } cases[] = {
      {"AB", {4}, "AB  "},
      {"ABCDEF", {4}, "ABCDEF"},
      {"ABCD", {4}, "ABCD"},
      {"", {3}, "   "},
      {"AB", {4, '0'}, "AB00"},
      {"AB", {5, 0x100 + '*'}, "AB***"},
      {"AB", {}, "AB"},
      {"AB", {0}, "AB"},
      {"AB", {-3}, "AB"},
      {kZhong, {4}, kZhong + "  "},
      {"PR01", {4, ' ', 99}, "PR01"},
  };
  for (const auto& c : cases) EXPECT_EQ(PadRight(c.text, c.list), c.expected) << c.text;
  EXPECT_EQ(PadRight("A", {3}), "A  ");
}

TEST(JoinParamList, JoinsThePrefixTheCountAndTheTextsWithCode3) {
  const Variant list = automation::VarArrayOf({2, "A01", Variant(u"\u4E2D")});
  EXPECT_EQ(JoinParamList("LIM", list),
            u"LIM\x03"
            u"2\x03"
            u"A01\x03\u4E2D\x03");
  // 8-bit texts are GBK.
  const Variant gbk = automation::VarArrayOf({1, kZhong});
  EXPECT_EQ(JoinParamList(kWen, gbk),
            u"\u6587\x03"
            u"1\x03\u4E2D\x03");
  // Elements after the count are not written.
  EXPECT_EQ(JoinParamList("", automation::VarArrayOf({1, "a", "b"})),
            u"\x03"
            u"1\x03"
            u"a\x03");
  EXPECT_EQ(JoinParamList("P", automation::VarArrayOf({0})),
            u"P\x03"
            u"0\x03");
}

TEST(JoinParamList, RejectsAListThatDoesNotHoldItsCount) {
  EXPECT_THROW(JoinParamList("P", Variant("x")), automation::Error);
  EXPECT_THROW(JoinParamList("P", automation::VarArrayOf({3, "a"})), automation::Error);
  EXPECT_THROW(JoinParamList("P", automation::VarArrayOf({"many", "a"})), automation::Error);
}

TEST(FormatDateSep, WritesTheDateInTheOrderOfTheCode) {
  const double jan2 = EncodeDate(2004, 1, 2);
  struct {
    int code;
    std::string separator;
    double date;
    std::string expected;
  } cases[] = {
      {1, "/", jan2, "2004/01/02"},
      {2, "/", jan2, "01/02/2004"},
      {3, "/", jan2, "02/01/2004"},
      {4, "/", jan2, "93/01/02"},
      {5, "/", jan2, "093/01/02"},
      {1, "", jan2, "20040102"},
      {1, "-/", jan2, "2004-01-02"},
      {1, kZhong + "/", jan2, "2004" + kZhong + "01" + kZhong + "02"},
      {1, "/", jan2 + 0.75, "2004/01/02"},
      {1, "/", EncodeDate(987, 6, 5), "0987/06/05"},
      {4, "/", EncodeDate(1920, 6, 5), "09/06/05"},
      {4, "/", EncodeDate(2011, 12, 31), "100/12/31"},
      {1, "/", EncodeDate(1899, 12, 29), "1899/12/29"},
      {1, "/", EncodeDate(9999, 12, 31), "9999/12/31"},
      {1, "/", 0, ""},
      {0, "/", jan2, ""},
      {6, "/", jan2, ""},
      {1, "/", 1e12, ""},
      {1, "/", -1e12, ""},
      {1, "/", std::numeric_limits<double>::quiet_NaN(), ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatDateSep(c.code, c.separator, c.date), c.expected) << c.code << " " << c.date;
}

TEST(FormatYearMonthSep, WritesYearAndMonthInTheOrderOfTheCode) {
  const double mar15 = EncodeDate(2004, 3, 15);
  struct {
    int code;
    std::string separator;
    double date;
    std::string expected;
  } cases[] = {
      {1, "/", mar15, "2004/03"},  {2, "/", mar15, "03/2004"},
      {3, "/", mar15, "03/2004"},  {4, "/", mar15, "93/03"},
      {5, "/", mar15, "093/03"},   {1, "", mar15, "200403"},
      {2, ".-", mar15, "03.2004"}, {1, "/", 0, ""},
      {9, "/", mar15, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatYearMonthSep(c.code, c.separator, c.date), c.expected) << c.code;
}

TEST(ParseDateSep, ReadsTheFieldsInTheOrderOfTheCode) {
  struct {
    std::string text;
    int code;
    std::string separator;
    double expected;
  } cases[] = {
      {"2004/01/02", 1, "/", EncodeDate(2004, 1, 2)},
      {"01/02/2004", 2, "/", EncodeDate(2004, 1, 2)},
      {"02/01/2004", 3, "/", EncodeDate(2004, 1, 2)},
      {"93/1/2", 4, "/", EncodeDate(2004, 1, 2)},
      {"093/01/02", 5, "/", EncodeDate(2004, 1, 2)},
      {"  2004 / 1 / 2 \t", 1, "/", EncodeDate(2004, 1, 2)},
      {"2004-01-02", 1, "-", EncodeDate(2004, 1, 2)},
      {"2004--01--02", 1, "--", EncodeDate(2004, 1, 2)},
      // A day beyond the end of the month rolls into the next one.
      {"2004/02/30", 1, "/", EncodeDate(2004, 3, 1)},
      {"2004/02/31", 1, "/", EncodeDate(2004, 3, 2)},
      {"2003/12/32", 1, "/", EncodeDate(2004, 1, 1)},
      {"2004/13/01", 1, "/", 0},
      {"2004/00/01", 1, "/", 0},
      {"2004/01/00", 1, "/", 0},
      {"0/01/01", 1, "/", 0},
      {"10000/01/01", 1, "/", 0},
      {"2004/01", 1, "/", 0},
      {"2004/01/x", 1, "/", 0},
      {"2004/-1/01", 1, "/", 0},
      {"2004/01/02", 0, "/", 0},
      {"2004/01/02", 6, "/", 0},
      {"2004/01/02", 1, "-", 0},
      {"20040102", 1, "", 0},
      {"", 1, "/", 0},
      {"   ", 1, "/", 0},
      {"2004/1/2/9", 1, "/", EncodeDate(2004, 1, 2)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ParseDateSep(c.text, c.code, c.separator), c.expected)
        << "'" << c.text << "' code " << c.code;
}

TEST(ParseDateSep, ReadsBackWhatFormatDateSepWrites) {
  for (int code = 1; code <= 5; ++code) {
    for (double date :
         {EncodeDate(1912, 1, 1), EncodeDate(2004, 2, 29), EncodeDate(2099, 12, 31)}) {
      const std::string text = FormatDateSep(code, "/", date);
      EXPECT_EQ(ParseDateSep(text, code, "/"), date) << text << " code " << code;
    }
  }
}

TEST(DateFromYmdText, ReadsOnlyRealEightCharacterDates) {
  struct {
    std::string text;
    double expected;
  } cases[] = {
      {"20040102", EncodeDate(2004, 1, 2)},
      {"20040229", EncodeDate(2004, 2, 29)},
      {"17521231", EncodeDate(1752, 12, 31)},
      {"00010101", EncodeDate(1, 1, 1)},
      {"2004010", 0},
      {"200401020", 0},
      {"", 0},
      {"20041301", 0},
      {"20040230", 0},
      {"20030229", 0},
      {"00000102", 0},
      {"20040002", 0},
      {"20040100", 0},
      {"2004ab02", 0},
      {"2004-1-2", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(DateFromYmdText(c.text), c.expected) << c.text;
}

TEST(IsValidYmdText, AcceptsEmptyTextsAndRealDatesFrom1753) {
  struct {
    std::string text;
    bool expected;
  } cases[] = {
      {"", true},
      {"20040229", true},
      {"17530101", true},
      {"99991231", true},
      {"17521231", false},
      {"20040230", false},
      {"20030229", false},
      {"20041301", false},
      {"2004ab01", false},
      {"abcdefgh", false},
      {"2004", false},
      {"200401", false},
      {"00000000", false},
      // Shorter fields for a shorter text, compared as plain text against the limits.
      {"2004011", true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidYmdText(c.text), c.expected) << c.text;
}

TEST(StrToFloatDef, ReadsDecimalNumbersOrGivesTheDefault) {
  struct {
    std::string text;
    double expected;
  } cases[] = {
      {"1.5", 1.5},  {"-2", -2},    {"+3.25", 3.25}, {"  7", 7},  {"1e3", 1000}, {"1.5E-2", 0.015},
      {"2E+2", 200}, {".5", 0.5},   {"5.", 5},       {"0", 0},    {"1,5", -1},   {"", -1},
      {" ", -1},     {"7 ", -1},    {"1.5x", -1},    {"abc", -1}, {"1e", -1},    {"e5", -1},
      {".", -1},     {"-", -1},     {"inf", -1},     {"nan", -1}, {"0x10", -1},  {"1e999", -1},
      {"--1", -1},   {"1.2.3", -1}, {"1e-999", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(StrToFloatDef(c.text, -1), c.expected) << c.text;
}

TEST(StrToFloatDef, DoesNotFollowTheProcessLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
    GTEST_SKIP() << "no locale with a decimal comma installed";
  EXPECT_EQ(StrToFloatDef("1.5", -1), 1.5);
  EXPECT_EQ(StrToFloatDef("1,5", -1), -1);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(VarIif, ChoosesACopyByTheCondition) {
  const Variant a("yes"), b(2);
  EXPECT_EQ(VarIif(true, a, b), a);
  EXPECT_EQ(VarIif(false, a, b), b);
  Variant array = automation::VarArrayOf({1, 2});
  Variant copy = VarIif(true, array, b);
  copy[0] = 9;
  EXPECT_EQ(array[0], Variant(1));
}

TEST(VarIsNullOrEmpty, IsYesOnlyForEmptyAndNull) {
  EXPECT_TRUE(VarIsNullOrEmpty(Variant()));
  EXPECT_TRUE(VarIsNullOrEmpty(Variant::Null()));
  for (const Variant& v :
       {Variant(0), Variant(""), Variant(u""), Variant(false), automation::VarArrayOf({})})
    EXPECT_FALSE(VarIsNullOrEmpty(v)) << automation::VarTypeName(v.Type());
}

TEST(IsLoopbackAddress, IsYesForTheExactTextOnly) {
  EXPECT_TRUE(IsLoopbackAddress("127.0.0.1"));
  for (const char* text : {"127.0.0.1 ", " 127.0.0.1", "127.0.0.2", "localhost", "", "127.1"})
    EXPECT_FALSE(IsLoopbackAddress(text)) << "'" << text << "'";
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (had_)
      ::setenv(name_, old_.c_str(), 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

TEST(GetTempDirectory, IsTheUsersTemporaryFolderWithATrailingSlash) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("libstrs_tmp_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  {
    ScopedEnv tmp("TMPDIR", folder.string());
    EXPECT_EQ(GetTempDirectory(), folder.string() + "/");
  }
  {
    ScopedEnv tmp("TMPDIR", folder.string() + "/");
    EXPECT_EQ(GetTempDirectory(), folder.string() + "/");
  }
  {
    ScopedEnv tmp("TMPDIR", "");
    EXPECT_EQ(GetTempDirectory(), "/tmp/");
  }
  {
    ScopedEnv tmp("TMPDIR", (folder / "missing").string());
    EXPECT_EQ(GetTempDirectory(), "");
  }
  std::filesystem::remove_all(folder);
}

TEST(DialogButtonCaption, GivesTheChineseCaptionOfEachStandardButton) {
  struct {
    const char* name;
    const char* caption;  // UTF-8; the function answers GBK
  } cases[] = {
      {"Yes", "是(&Y)"},
      {"No", "否(&N)"},
      {"OK", "确定"},
      {"Cancel", "取消"},
      {"Abort", "中断(&A)"},
      {"Retry", "重试(&R)"},
      {"Ignore", "忽略(&I)"},
      {"All", "全部(&A)"},
      {"NoToAll", "全否(&o)"},
      {"YesToAll", "全是(&A)"},
      {"Help", "帮助(&H)"},
      // The comparison is exact.
      {"yes", "yes"},
      {"OK ", "OK "},
      {"Close", "Close"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DialogButtonCaption(c.name), Gbk(c.caption)) << c.name;
  EXPECT_EQ(DialogButtonCaption("OK"), "\xC8\xB7\xB6\xA8");
}

TEST(WideTextConversion, UsesTheCodePageAndFallsBackToTheSystemOne) {
  EXPECT_EQ(WideToAnsiCp(u"\u4E2D\u6587", os::CP_GBK), kZhong + kWen);
  EXPECT_EQ(WideToAnsiCp(u"\u4E2D", os::CP_BIG5), "\xA4\xA4");
  EXPECT_EQ(AnsiToWideCp(kZhong + kWen, os::CP_GBK), u"\u4E2D\u6587");
  EXPECT_EQ(AnsiToWideCp("\xA4\xA4", os::CP_BIG5), u"\u4E2D");
  // An unknown code page: the system's (936 here).
  ASSERT_EQ(os::SystemCodePage(), os::CP_GBK);
  EXPECT_EQ(WideToAnsiCp(u"\u4E2D", 1234), kZhong);
  EXPECT_EQ(AnsiToWideCp(kZhong, 1234), u"\u4E2D");
  EXPECT_EQ(WideToAnsiCp(u"", os::CP_GBK), "");
  EXPECT_EQ(AnsiToWideCp("", os::CP_GBK), u"");
}

TEST(VarConversion, ConvertsSingleTexts) {
  struct {
    Variant in;
    Variant toWide, toAnsi;
  } cases[] = {
      {Variant(kZhong), Variant(u"\u4E2D"), Variant(kZhong)},
      {Variant(u"\u4E2D"), Variant(u"\u4E2D"), Variant(kZhong)},
      {Variant(""), Variant(u""), Variant("")},
      {Variant(), Variant(), Variant()},
      {Variant::Null(), Variant::Null(), Variant::Null()},
      {Variant(12), Variant(12), Variant(12)},
      {Variant(1.5), Variant(1.5), Variant(1.5)},
      {Variant(true), Variant(true), Variant(true)},
      {Variant::FromDate(38000), Variant::FromDate(38000), Variant::FromDate(38000)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VarAnsiToWide(c.in, os::CP_GBK), c.toWide) << automation::VarTypeName(c.in.Type());
    EXPECT_EQ(VarWideToAnsi(c.in, os::CP_GBK), c.toAnsi) << automation::VarTypeName(c.in.Type());
  }
  EXPECT_EQ(VarAnsiToWide(Variant(kZhong), os::CP_GBK).Type(), VarType::WideString);
  EXPECT_EQ(VarWideToAnsi(Variant(u"x"), os::CP_GBK).Type(), VarType::AnsiString);
}

// A job request as the submission builds it: nested arrays, a two-dimensional array with its
// own bounds, texts in both forms and values of other types.
Variant Request(bool wide) {
  auto text = [wide](const std::string& gbk, const std::u16string& utf16) {
    return wide ? Variant(utf16) : Variant(gbk);
  };
  Variant grid = automation::VarArrayCreate({{1, 2}, {0, 1}});
  grid.ElementAt(1, 0) = text(kZhong, u"\u4E2D");
  grid.ElementAt(1, 1) = 7;
  grid.ElementAt(2, 0) = automation::VarArrayOf({text(kWen, u"\u6587"), 2.5});
  grid.ElementAt(2, 1) = Variant::Null();
  return automation::VarArrayOf(
      {automation::VarArrayOf({text("USER", u"USER"), text(kZhong + kWen, u"\u4E2D\u6587")}), grid,
       Variant(), true, text(kBar + "|", u"\u4E85|")});
}

TEST(VarConversion, ConvertsNestedAndTwoDimensionalArrays) {
  const Variant ansi = Request(false), wide = Request(true);
  EXPECT_EQ(VarAnsiToWide(ansi, os::CP_GBK), wide);
  EXPECT_EQ(VarWideToAnsi(wide, os::CP_GBK), ansi);
  EXPECT_EQ(VarArrayAnsiToWide(ansi, os::CP_GBK), wide);
  EXPECT_EQ(VarArrayWideToAnsi(wide, os::CP_GBK), ansi);
  // Already converted texts stay as they are; the bounds survive.
  EXPECT_EQ(VarAnsiToWide(wide, os::CP_GBK), wide);
  EXPECT_EQ(VarWideToAnsi(ansi, os::CP_GBK), ansi);
  const Variant back = VarWideToAnsi(VarAnsiToWide(ansi, os::CP_GBK), os::CP_GBK);
  EXPECT_EQ(back[1].Array().LowBound(1), 1);
  EXPECT_EQ(back, ansi);
  // Not an array: unchanged.
  EXPECT_EQ(VarArrayAnsiToWide(Variant(kZhong), os::CP_GBK), Variant(kZhong));
}

Variant Nested(int depth, const Variant& inner) {
  Variant value = inner;
  for (int i = 0; i < depth; ++i) value = automation::VarArrayOf({value});
  return value;
}

TEST(VarConversion, WalksDeepButBoundedNesting) {
  EXPECT_EQ(VarAnsiToWide(Nested(64, Variant("a")), os::CP_GBK), Nested(64, Variant(u"a")));
  EXPECT_THROW(VarArrayAnsiToWide(Nested(65, Variant("a")), os::CP_GBK), automation::Error);
}

// Points the alert logs at a temporary platform folder through a registry store of its own.
class AlertLogFolder {
 public:
  AlertLogFolder()
      : root_(std::filesystem::temp_directory_path() /
              ("libstrs_log_" + std::to_string(::getpid()))),
        store_((root_ / "registry.ini").string()) {
    std::filesystem::create_directories(root_);
    std::ofstream(store_) << "[HKEY_LOCAL_MACHINE\\Software\\QRN\\Varnel]\nClientPath="
                          << root_.string() << "/\n";
    env_ = std::make_unique<ScopedEnv>("QRN_REGISTRY", store_);
  }
  ~AlertLogFolder() {
    env_.reset();
    std::filesystem::remove_all(root_);
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(AlertLogPath(name, "D"), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  std::filesystem::path root_;
  std::string store_;
  std::unique_ptr<ScopedEnv> env_;
};

TEST(VarConversion, AnErrorGivesTheInputUnchangedAndOneLogLine) {
  AlertLogFolder logs;
  ASSERT_EQ(os::SystemCodePage(), os::CP_GBK);
  const Variant tooDeepAnsi = Nested(70, Variant(kZhong));
  const Variant tooDeepWide = Nested(70, Variant(u"\u4E2D"));
  EXPECT_EQ(VarAnsiToWide(tooDeepAnsi, os::CP_GBK), tooDeepAnsi);
  EXPECT_EQ(VarWideToAnsi(tooDeepWide, os::CP_GBK), tooDeepWide);
  const std::string log = logs.Read("libstrs");
  const size_t first = log.find("] LINE[115] Variant arrays are nested too deeply\r\n");
  const size_t second = log.find("] LINE[2735] Variant arrays are nested too deeply\r\n");
  EXPECT_NE(first, std::string::npos) << log;
  EXPECT_NE(second, std::string::npos) << log;
  EXPECT_LT(first, second);
  EXPECT_EQ(log.rfind('[', first), 0u) << log;
}

}  // namespace
