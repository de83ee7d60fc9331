#include "support/Format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <vector>

#include "support/GbkText.h"

using automation::Variant;

namespace {

struct Case {
  std::string format;
  std::vector<Variant> args;
  std::string expected;
};

void ExpectAll(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    try {
      EXPECT_EQ(Format(c.format, c.args), c.expected) << "format '" << c.format << "'";
    } catch (const automation::Error& error) {
      ADD_FAILURE() << "format '" << c.format << "' raised: " << error.what();
    }
  }
}

TEST(Format, WritesTextAndTheLiteralPercent) {
  ExpectAll({
      {"", {}, ""},
      {"plain", {}, "plain"},
      {"100%%", {}, "100%"},
      {"%%%s%%", {"x"}, "%x%"},
      {"%s", {"abc"}, "abc"},
      {"[%5s]", {"ab"}, "[   ab]"},
      {"[%-5s]", {"ab"}, "[ab   ]"},
      {"[%1s]", {"abc"}, "[abc]"},
      {"%.2s", {"abcd"}, "ab"},
      {"%.9s", {"abcd"}, "abcd"},
      {"%.0s", {"abcd"}, ""},
      {"%s|%s|%s|%s", {12, 1.5, true, Variant()}, "12|1.5|True|"},
      {"%s", {Variant(u"\u4E2D")}, "\xD6\xD0"},
      {"%S", {"up"}, "up"},
      {"%s-%s", {"a", "b", "unused"}, "a-b"},
  });
}

TEST(Format, LeavesGbkBytesWhole) {
  const std::string zhongWen = "\xD6\xD0\xCE\xC4";
  ExpectAll({
      {Gbk("数量：%d 件"), {3}, Gbk("数量：3 件")},
      {"%s", {zhongWen}, zhongWen},
      // Widths and precisions count bytes; a precision never splits a character.
      {"[%-6s]", {zhongWen}, "[" + zhongWen + "  ]"},
      {"%.3s", {zhongWen}, "\xD6\xD0"},
      {"%.1s", {zhongWen}, ""},
      {"\x81\x7C%s", {"|"}, "\x81\x7C|"},
  });
}

TEST(Format, WritesIntegers) {
  ExpectAll({
      {"%d", {12}, "12"},
      {"%d", {-12}, "-12"},
      {"%D", {0}, "0"},
      {"[%5d]", {42}, "[   42]"},
      {"[%-5d]", {42}, "[42   ]"},
      {"%.5d", {-12}, "-00012"},
      {"[%8.3d]", {5}, "[     005]"},
      {"%.2d", {1234}, "1234"},
      {"%d", {std::numeric_limits<int>::min()}, "-2147483648"},
      {"%u", {-1}, "4294967295"},
      {"%.3u", {7}, "007"},
      {"%x", {255}, "FF"},
      {"%X", {-1}, "FFFFFFFF"},
      {"%.4x", {255}, "00FF"},
      {"%p", {255}, "000000FF"},
      {"[%10p]", {0x1234ABCD}, "[  1234ABCD]"},
  });
}

TEST(Format, WritesFloatsInTheScientificForm) {
  ExpectAll({
      {"%e", {1.5}, "1.50000000000000E+000"},
      {"%E", {0.0}, "0.00000000000000E+000"},
      {"%.3e", {12345.678}, "1.23E+004"},
      {"%.2e", {-0.000123}, "-1.2E-004"},
      {"%.1e", {9.96}, "1E+001"},
      {"%.4e", {1e300}, "1.000E+300"},
      {"%e", {Variant::FromDate(2.5)}, "2.50000000000000E+000"},
  });
}

TEST(Format, WritesFloatsInTheFixedForm) {
  ExpectAll({
      {"%f", {3.14159}, "3.14"},
      {"%f", {1234567.891}, "1234567.89"},
      {"%.0f", {2.5}, "3"},
      {"%.0f", {-2.5}, "-3"},
      // Half away from zero on the decimal digits of the value: 0.125 is exact, 2.675 is
      // stored as 2.67499999...
      {"%.2f", {0.125}, "0.13"},
      {"%.2f", {2.675}, "2.67"},
      {"%.1f", {-0.04}, "0.0"},
      {"%.3f", {1e-10}, "0.000"},
      {"[%10.2f]", {-1.5}, "[     -1.50]"},
      {"%.1f", {9.96}, "10.0"},
      {"%.20f", {0.5}, "0.500000000000000000"},
      {"%f", {Variant::FromDate(38000.5)}, "38000.50"},
      {"%f", {1e20}, "1.00000000000000E+020"},
      {"%f", {std::nan("")}, "NAN"},
      {"%f", {-std::numeric_limits<double>::infinity()}, "-INF"},
  });
}

TEST(Format, WritesFloatsInTheGeneralForm) {
  ExpectAll({
      {"%g", {1.5}, "1.5"},
      {"%g", {0.1}, "0.1"},
      {"%g", {0.1 + 0.2}, "0.3"},
      {"%g", {1.0 / 3}, "0.333333333333333"},
      {"%g", {100.0}, "100"},
      {"%g", {-2.5}, "-2.5"},
      {"%g", {0.0}, "0"},
      {"%g", {123456789012345.0}, "123456789012345"},
      {"%g", {1e15}, "1E015"},
      {"%g", {0.0001}, "0.0001"},
      {"%g", {0.00001}, "1E-005"},
      {"%.3g", {1234.5}, "1.23E003"},
      {"%.3g", {2.0 / 3}, "0.667"},
      {"%G", {std::numeric_limits<double>::infinity()}, "INF"},
  });
}

TEST(Format, WritesNumbersAndMoneyWithThousandSeparators) {
  ExpectAll({
      {"%n", {1234567.891}, "1,234,567.89"},
      {"%n", {-1234.5}, "-1,234.50"},
      {"%n", {123.0}, "123.00"},
      {"%n", {123456.0}, "123,456.00"},
      {"%.0n", {999.5}, "1,000"},
      {"%.3n", {0.0005}, "0.001"},
      {"%m", {1234.5}, "1,234.50"},
      {"%m", {-0.75}, "-0.75"},
      {"%.0m", {1000000.0}, "1,000,000"},
      {"[%12m]", {1234.5}, "[    1,234.50]"},
  });
}

TEST(Format, TakesIndexesWidthsAndPrecisionsFromTheFormatOrTheArguments) {
  ExpectAll({
      {"%1:s %0:s %s", {"a", "b"}, "b a b"},
      {"%s %0:s %s", {"a", "b"}, "a a b"},
      {"%0:s%0:s", {"x"}, "xx"},
      {"[%1:-4s]", {"a", "b"}, "[b   ]"},
      {"[%*d]", {5, 42}, "[   42]"},
      {"[%-*d]", {4, 7}, "[7   ]"},
      {"[%*d]", {-4, 7}, "[7   ]"},
      {"%.*f", {3, 1.5}, "1.500"},
      {"[%*.*f]", {8, 1, 2.25}, "[     2.3]"},
      {"%*:s", {2, "a", "b"}, "b"},
      {"%.f", {2.5}, "3"},
  });
}

TEST(Format, RaisesForArgumentsThatDoNotFit) {
  const std::vector<Case> cases = {
      {"%d", {"12"}, ""},
      {"%d", {1.5}, ""},
      {"%d", {true}, ""},
      {"%d", {Variant()}, ""},
      {"%u", {2.0}, ""},
      {"%x", {"FF"}, ""},
      {"%p", {1.0}, ""},
      {"%f", {1}, ""},
      {"%e", {"1.5"}, ""},
      {"%g", {true}, ""},
      {"%n", {Variant()}, ""},
      {"%s", {Variant::Null()}, ""},
      {"%s", {automation::VarArrayOf({1})}, ""},
      {"%*d", {"5", 1}, ""},
      {"%.*f", {1.0, 2.0}, ""},
  };
  for (const auto& c : cases) EXPECT_THROW(Format(c.format, c.args), automation::Error) << c.format;
  try {
    Format("%d", {"x"});
    ADD_FAILURE() << "no error";
  } catch (const automation::Error& error) {
    EXPECT_STREQ(error.what(), "Format '%d' invalid or incompatible with argument");
  }
}

TEST(Format, RaisesForAMissingArgument) {
  const std::vector<Case> cases = {
      {"%d", {}, ""},   {"%s %s", {"a"}, ""},       {"%2:s", {"a", "b"}, ""},
      {"%*d", {5}, ""}, {"%1:s%s", {"a", "b"}, ""},
  };
  for (const auto& c : cases) EXPECT_THROW(Format(c.format, c.args), automation::Error) << c.format;
  try {
    Format("Value %s and %s", {"a"});
    ADD_FAILURE() << "no error";
  } catch (const automation::Error& error) {
    EXPECT_STREQ(error.what(), "No argument for format 'Value %s and %s'");
  }
}

TEST(Format, RaisesForAMalformedFormat) {
  for (const char* format : {"%", "abc %", "%5", "%1:", "%.", "%k", "%-5-d", "%5-d", "%:d",
                             "%99999999d", "%.70000f", "%1:2:d", "% d"}) {
    try {
      Format(format, {1, 2.0, "x"});
      ADD_FAILURE() << "no error for '" << format << "'";
    } catch (const automation::Error& error) {
      EXPECT_EQ(std::string(error.what()),
                std::string("Format '") + format + "' invalid or incompatible with argument");
    }
  }
}

TEST(Format, DoesNotFollowTheProcessLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
    GTEST_SKIP() << "no locale with a decimal comma installed";
  EXPECT_EQ(Format("%f|%e|%g|%n", {1.5, 1.5, 1.5, 1234.5}),
            "1.50|1.50000000000000E+000|1.5|1,234.50");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
