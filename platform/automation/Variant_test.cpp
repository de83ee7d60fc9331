#include "automation/Variant.h"

#include <gtest/gtest.h>

#include <clocale>

#include "automation/DateTime.h"

namespace automation {
namespace {

TEST(Variant, HoldsEachKind) {
  struct {
    Variant value;
    VarType type;
  } cases[] = {
      {Variant(), VarType::Empty},
      {Variant::Null(), VarType::Null},
      {Variant(42), VarType::Integer},
      {Variant(1.5), VarType::Double},
      {Variant(true), VarType::Boolean},
      {Variant::FromDate(38000), VarType::Date},
      {Variant("\xD6\xD0"), VarType::AnsiString},
      {Variant(u"\u4E2D"), VarType::WideString},
      {VarArrayOf({1, 2}), VarType::Array},
      {Variant(3000000000LL), VarType::Double},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value.Type(), c.type) << VarTypeName(c.type);
}

TEST(Variant, ConvertsBetweenKinds) {
  EXPECT_EQ(Variant("12").AsInteger(), 12);
  EXPECT_EQ(Variant(" -7 ").AsInteger(), -7);
  EXPECT_EQ(Variant(2.5).AsInteger(), 2);  // banker's rounding
  EXPECT_EQ(Variant(3.5).AsInteger(), 4);
  EXPECT_EQ(Variant(true).AsInteger(), -1);
  EXPECT_EQ(Variant().AsInteger(), 0);
  EXPECT_DOUBLE_EQ(Variant("1.5e2").AsDouble(), 150.0);
  EXPECT_TRUE(Variant("true").AsBoolean());
  EXPECT_FALSE(Variant("0").AsBoolean());
  EXPECT_EQ(Variant(42).AsAnsi(), "42");
  EXPECT_EQ(Variant(0.1).AsAnsi(), "0.1");
  EXPECT_EQ(Variant(1.5e20).AsAnsi(), "1.5E20");
  EXPECT_EQ(Variant(false).AsAnsi(), "False");
  EXPECT_EQ(Variant::FromDate(EncodeDate(2004, 1, 2)).AsAnsi(), "2004/01/02");
  EXPECT_EQ(Variant::FromDate(EncodeDate(2004, 1, 2) + 0.5).AsAnsi(), "2004/01/02 12:00:00");
  EXPECT_DOUBLE_EQ(Variant("2004/01/02").AsDate(), EncodeDate(2004, 1, 2));
  EXPECT_EQ(Variant(u"\u4E2D\u6587").AsAnsi(), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(Variant("\xD6\xD0\xCE\xC4").AsWide(), u"\u4E2D\u6587");
  EXPECT_EQ(Variant(7).AsWide(), u"7");
}

TEST(Variant, ImpossibleConversionsThrowWithTheTypes) {
  const Variant bad[] = {Variant("abc"), Variant::Null(), Variant("1,5"), VarArrayOf({1})};
  for (const Variant& v : bad) EXPECT_THROW(v.AsInteger(), Error) << VarTypeName(v.Type());
  try {
    Variant("abc").AsDouble();
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Could not convert variant of type (String) into type (Double)");
  }
  EXPECT_THROW(Variant(3e10).AsInteger(), Error);
  EXPECT_THROW(Variant::Null().AsAnsi(), Error);
  EXPECT_EQ(VarToStr(Variant::Null()), "");
}

TEST(VariantArray, KeepsItsOwnBounds) {
  Variant months = VarArrayCreate({{1, 12}});
  EXPECT_EQ(VarArrayDimCount(months), 1);
  EXPECT_EQ(VarArrayLowBound(months, 1), 1);
  EXPECT_EQ(VarArrayHighBound(months, 1), 12);
  months[1] = "Jan";
  months[12] = "Dec";
  EXPECT_EQ(months[12].AsAnsi(), "Dec");
  EXPECT_THROW(months[0], Error);
  EXPECT_THROW(months[13], Error);
  EXPECT_THROW(months.ElementAt(1, 1), Error);
  EXPECT_THROW(VarArrayLowBound(months, 2), Error);
  EXPECT_NE(VarArrayCreate({{1, 12}}), VarArrayCreate({{0, 11}}));
}

TEST(VariantArray, TwoDimensionsAndNesting) {
  Variant grid = VarArrayCreate({{0, 1}, {2, 4}});
  EXPECT_EQ(VarArrayDimCount(grid), 2);
  EXPECT_EQ(grid.Array().ElementCount(), 6);
  grid.ElementAt(1, 4) = 9;
  EXPECT_EQ(grid.ElementAt(1, 4).AsInteger(), 9);
  EXPECT_THROW(grid.ElementAt(1, 1), Error);
  EXPECT_THROW(grid[0], Error);

  Variant nested = VarArrayOf({1, VarArrayOf({"a", VarArrayOf({2.5})})});
  EXPECT_EQ(nested[1][1][0].AsDouble(), 2.5);
  Variant copy = nested;  // a copy is a value of its own
  copy[1][0] = "b";
  EXPECT_EQ(nested[1][0].AsAnsi(), "a");
  EXPECT_EQ(copy[1][0].AsAnsi(), "b");
}

TEST(VariantArray, RedimKeepsElements) {
  Variant v = VarArrayOf({1, 2, 3});
  v.Array().Redim(4);
  EXPECT_EQ(VarArrayHighBound(v, 1), 4);
  EXPECT_EQ(v[2].AsInteger(), 3);
  EXPECT_TRUE(v[4].IsEmpty());
  v.Array().Redim(0);
  EXPECT_EQ(v.Array().ElementCount(), 1);
  EXPECT_THROW(v.Array().Redim(-5), Error);
  EXPECT_THROW(VariantArray({{0, 1}, {0, 1}}).Redim(3), Error);
  EXPECT_THROW(VariantArray(std::vector<ArrayBound>{}), Error);
  EXPECT_THROW(VariantArray({{0, 1}, {0, 1}, {0, 1}}), Error);
}

TEST(Variant, CallsOnValuesThatAreNoObjectsThrow) {
  EXPECT_THROW(Variant().Call("GetMessage"), Error);
  EXPECT_THROW(Variant(1).Get("Name"), Error);
}

TEST(DateTime, EncodesAndDecodesTheAutomationEpoch) {
  struct {
    int y, m, d;
    double day;
    int weekday;
  } cases[] = {
      {1899, 12, 30, 0, 7},  {1900, 1, 1, 2, 2},    {2004, 1, 2, 37988, 6},
      {2000, 2, 29, 36585, 3}, {1753, 1, 1, -53688, 2}, {9999, 12, 31, 2958465, 6},
      {1, 1, 1, -693593, 2},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(EncodeDate(c.y, c.m, c.d), c.day) << c.y << "-" << c.m << "-" << c.d;
    int y, m, d;
    DecodeDate(c.day, y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d) << c.day;
    EXPECT_EQ(DayOfWeek(c.day), c.weekday) << c.day;
  }
  EXPECT_THROW(EncodeDate(2003, 2, 29), Error);
  EXPECT_THROW(EncodeDate(2004, 13, 1), Error);
  int h, n, s, ms;
  DecodeTime(EncodeDate(2004, 1, 2) + EncodeTime(13, 45, 30, 250), h, n, s, ms);
  EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 134530250);
}

}  // namespace
}  // namespace automation

namespace automation {
namespace {

TEST(Variant, NumbersIgnoreTheProcessLocale) {
  // A Qt application takes the user's locale at start; a decimal comma must not leak in.
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = old ? old : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
    GTEST_SKIP() << "no decimal-comma locale on this machine";
  EXPECT_EQ(Variant(1.5).AsAnsi(), "1.5");
  EXPECT_DOUBLE_EQ(Variant("2.25").AsDouble(), 2.25);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Variant, ReadsSignedAndExponentNumbers) {
  struct {
    const char* text;
    double value;
  } cases[] = {{"+3", 3}, {"-0.5", -0.5}, {"1E3", 1000}, {" 7 ", 7}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(Variant(c.text).AsDouble(), c.value) << c.text;
  EXPECT_THROW(Variant("inf").AsDouble(), Error);
  EXPECT_THROW(Variant("0x10").AsDouble(), Error);
}

}  // namespace
}  // namespace automation
