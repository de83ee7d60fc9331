#include "controls/SelectRange.h"

#include <gtest/gtest.h>

#include "automation/DateTime.h"

namespace {

using automation::EncodeDate;

TEST(SelectRange, ReadsDatesInEachDateType) {
  const struct {
    const char* text;
    TDateType type;
    const char* sign;
    double expected;
  } cases[] = {
      {"2009/05/01", dt_YYYYMMDD, "/", EncodeDate(2009, 5, 1)},
      {" 2009/ 5 / 1 ", dt_YYYYMMDD, "/", EncodeDate(2009, 5, 1)},
      {"2009/04", dt_YYYYMMDD, "/", EncodeDate(2009, 4, 1)},
      {"05/31/2009", dt_MMDDYYYY, "/", EncodeDate(2009, 5, 31)},
      {"04/2009", dt_MMDDYYYY, "/", EncodeDate(2009, 4, 1)},
      {"31/05/2009", dt_DDMMYYYY, "/", EncodeDate(2009, 5, 31)},
      {"05/2009", dt_DDMMYYYY, "/", EncodeDate(2009, 5, 1)},
      {"98/01/01", dt_YYMMDD, "/", EncodeDate(2009, 1, 1)},
      {"97/12/31", dt_YYMMDD, "/", EncodeDate(2008, 12, 31)},
      {"098/02", dt_YYYMMDD, "/", EncodeDate(2009, 2, 1)},
      {"2009-05-01", dt_YYYYMMDD, "-", EncodeDate(2009, 5, 1)},
      {"2009.05.01", dt_YYYYMMDD, ".", EncodeDate(2009, 5, 1)},
      // No date: 0.
      {"2009/02/29", dt_YYYYMMDD, "/", 0},
      {"2009/13/01", dt_YYYYMMDD, "/", 0},
      {"2009/05/01/07", dt_YYYYMMDD, "/", 0},
      {"20090501", dt_YYYYMMDD, "/", 0},
      {"2009/05/x1", dt_YYYYMMDD, "/", 0},
      {"2009//01", dt_YYYYMMDD, "/", 0},
      {"", dt_YYYYMMDD, "/", 0},
      {"2009/05/01", dt_NoneCare, "/", 0},
      {"2009-05-01", dt_YYYYMMDD, "/", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadRangeDate(c.text, c.type, c.sign, ""), c.expected)
        << c.text << " type " << c.type << " sign " << c.sign;
  }
}

TEST(SelectRange, DateEqualToTheBlankMaskTextIsNoDate) {
  EXPECT_EQ(ReadRangeDate("    /  /  ", dt_YYYYMMDD, "/", "    /  /  "), 0);
  EXPECT_EQ(ReadRangeDate("/  /", dt_YYYYMMDD, "/", "    /  /  "), 0);
}

TEST(SelectRange, ReadsIntegersOrZero) {
  const struct {
    const char* text;
    int expected;
  } cases[] = {{"20", 20},
               {" -3", -3},
               {"+7", 7},
               {"$1F", 31},
               {"12a", 0},
               {"", 0},
               {"1.5", 0},
               {"2147483647", 2147483647},
               {"-2147483648", -2147483647 - 1},
               {"2147483648", 0},
               {"3 ", 0}};
  for (const auto& c : cases) EXPECT_EQ(ReadRangeInteger(c.text), c.expected) << c.text;
}

struct RangeCase {
  const char* name;
  TRangeRule rule;
  const char* begin;
  const char* end;
  bool exchanged;
};

TRangeRule Rule(TValueType type) {
  TRangeRule r;
  r.ValueType = type;
  return r;
}

TRangeRule DateRule(TDateType dateType) {
  TRangeRule r = Rule(vt_Date);
  r.DateType = dateType;
  return r;
}

TRangeRule WithDiscard(TRangeRule r, std::string discard, bool use = true) {
  r.UseDiscard = use;
  r.Discard = std::move(discard);
  return r;
}

TRangeRule WithBlankMask(TRangeRule r, std::string mask, std::string blank) {
  r.EditMask = std::move(mask);
  r.BlankMaskText = std::move(blank);
  return r;
}

TRangeRule NoAutoSite(TRangeRule r) {
  r.AutoChangeDateSite = false;
  return r;
}

TEST(SelectRange, ExchangesTheEndsByValueType) {
  const RangeCase cases[] = {
      {"number 20 > 3", Rule(vt_Number), "20", "3", true},
      {"string 20 < 3 byte-wise", Rule(vt_String), "20", "3", false},
      {"string b > a", Rule(vt_String), "b", "a", true},
      {"string is case-sensitive", Rule(vt_String), "a", "B", true},
      {"string with GBK bytes", Rule(vt_String), "\xD6\xD0", "z", true},
      {"time", Rule(vt_Time), "12:30", "08:00", true},
      {"number that is no integer reads 0", Rule(vt_Number), "5", "x", true},
      {"float", Rule(vt_Float), "10.5", "9.75", true},
      {"float beats byte order", Rule(vt_Float), "2.5", "10", false},
      {"other mask never", Rule(vt_OtherMask), "b", "a", false},
      {"date month without day", DateRule(dt_YYYYMMDD), "2009/05/01", "2009/04", true},
      {"date Minguo", DateRule(dt_YYMMDD), "98/01/01", "97/12/31", true},
      {"date Minguo three digits", DateRule(dt_YYYMMDD), "098/01/01", "097/12/31", true},
      {"date month first", DateRule(dt_MMDDYYYY), "01/02/2010", "12/31/2009", true},
      {"date day first", DateRule(dt_DDMMYYYY), "02/01/2010", "31/12/2009", true},
      {"date in order stays", DateRule(dt_YYYYMMDD), "2009/04/01", "2009/05/01", false},
      {"end no date counts 0", DateRule(dt_YYYYMMDD), "2009/05/01", "2009/02/30", true},
      {"begin no date stays", DateRule(dt_YYYYMMDD), "2009/02/30", "2009/05/01", false},
      {"date none-care byte-wise", DateRule(dt_NoneCare), "2009/5/1", "2009/12/1", true},
      {"date none-care in order", DateRule(dt_NoneCare), "2009/12/31", "2010/01/01", false},
      {"date without AutoChangeDateSite", NoAutoSite(DateRule(dt_YYYYMMDD)), "2009/05/01",
       "2009/04/01", false},
      {"empty end", Rule(vt_Number), "20", "", false},
      {"empty begin", Rule(vt_Number), "", "3", false},
      // Discard keeps the order of the guarded types only.
      {"discard end, trimmed", WithDiscard(Rule(vt_String), "ZZZ"), "b", " ZZZ ", false},
      {"discard begin", WithDiscard(Rule(vt_String), "b"), "b", "a", false},
      {"discard while UseDiscard is off", WithDiscard(Rule(vt_String), "a", false), "b", "a", true},
      {"discard on a date", WithDiscard(DateRule(dt_YYYYMMDD), "9999/12/31"), "9999/12/31",
       "2009/01/01", false},
      {"discard on a none-care date", WithDiscard(DateRule(dt_NoneCare), "9999"), "9999", "2009",
       false},
      {"discard not for numbers", WithDiscard(Rule(vt_Number), "20"), "20", "3", true},
      {"discard not for floats", WithDiscard(Rule(vt_Float), "20"), "20", "3", true},
      // Blank mask text: an edit that shows only its mask's literals counts as blank.
      {"blank mask end date", WithBlankMask(DateRule(dt_YYYYMMDD), "9999/99/99;1; ", "    /  /  "),
       "2009/05/01", "    /  /  ", false},
      {"blank mask begin string", WithBlankMask(Rule(vt_String), "9999/99/99;1; ", "    /  /  "),
       "    /  /  ", "2009/01/01", false},
      {"blank mask on a none-care date",
       WithBlankMask(DateRule(dt_NoneCare), "9999/99/99;1; ", "    /  /  "), "2009/05/01",
       "    /  /  ", false},
      {"filled masked texts compare",
       WithBlankMask(Rule(vt_String), "9999/99/99;1; ", "    /  /  "), "2009/05/01", "2009/04/01",
       true},
  };
  for (const RangeCase& c : cases) {
    EXPECT_EQ(RangeNeedsExchange(c.rule, c.begin, c.end), c.exchanged) << c.name;
  }
}

TEST(SelectRange, TrimsUnlessTheMaskBeginsWithExclamation) {
  EXPECT_TRUE(RangeTrimsTexts(TRangeRule{}));
  EXPECT_TRUE(RangeTrimsTexts(WithBlankMask(Rule(vt_String), "9999/99/99;1; ", "")));
  EXPECT_FALSE(RangeTrimsTexts(WithBlankMask(Rule(vt_String), "!aaaa;0; ", "")));
  EXPECT_EQ(TrimBlanks(" \t a b \r\n"), "a b");
}

}  // namespace
