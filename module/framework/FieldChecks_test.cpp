#include "framework/FieldChecks.h"

#include <gtest/gtest.h>

#include "support/GbkText.h"
#include "support/LibStrs.h"

namespace {

TEST(DateFormat, MaskAndBlankTextForEachFormatCode) {
  struct {
    int code;
    const char* mask;
    const char* blank;
  } cases[] = {
      {1, "9999/99/99;1; ", "    /  /  "}, {2, "99/99/9999;1; ", "  /  /    "},
      {3, "99/99/9999;1; ", "  /  /    "}, {4, "99/99/99;1; ", "  /  /  "},
      {5, "999/99/99;1; ", "   /  /  "},  {0, "/99/99;1; ", "/  /  "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateEditMaskOf(c.code, "/"), c.mask) << c.code;
    EXPECT_EQ(DateBlankTextOf(c.code, "/"), c.blank) << c.code;
  }
  EXPECT_EQ(DateEditMaskOf(1, "-"), "9999-99-99;1; ");
}

TEST(DateFormat, TextToYmdForEachFormatCode) {
  struct {
    const char* text;
    int code;
    const char* ymd;
    bool valid;
  } cases[] = {
      {"2009/05/17", 1, "20090517", true},
      {"05/17/2009", 2, "20090517", true},
      {"17/05/2009", 3, "20090517", true},
      {"98/01/01", 4, "20090101", true},
      {"098/01/01", 5, "20090101", true},
      {"2009/2/30", 1, "20090230", false},  // read, but no real date
      {"2009/05/  ", 1, "2009/05/  ", false},  // the day is not a number: text unchanged
      {"    /  /  ", 1, "", true},           // the blank pattern of the mask
      {"  ", 1, "", true},
      {"2009/05/17", 7, "", true},  // an unknown code gives nothing
      {" 2009 / 5 / 7 ", 1, "20090507", true},
      {"1700/01/01", 1, "17000101", false},
  };
  for (const auto& c : cases) {
    const std::string ymd = DateTextToYmdOf(c.text, c.code, "/");
    EXPECT_EQ(ymd, c.ymd) << c.text << " code " << c.code;
    EXPECT_EQ(IsValidYmdText(ymd) && (ymd.empty() || ymd.size() == 8), c.valid) << c.text;
  }
  EXPECT_EQ(DateTextToYmdOf("17-05-2009", 3, "-"), "20090517");
}

TEST(DateFields, ListedByPlainTextSearch) {
  EXPECT_TRUE(IsListedName("edPrintDate,edDate", "edDat")) << "a part of a listed name counts";
  EXPECT_TRUE(IsListedName("edPrintDate", "edPrintDate"));
  EXPECT_FALSE(IsListedName("edPrintDate", "me01"));
  EXPECT_FALSE(IsListedName("edPrintDate", ""));
}

TEST(RequiredFields, ItemsWithFlagAndPart) {
  const auto items = ParseRequiredFields(" me01;Y;0, sp1;N;2,sp2;;3,cbo1;1;9,,sp3;y;x");
  ASSERT_EQ(items.size(), 5u);
  struct {
    const char* name;
    int part;
    bool examined;
  } expected[] = {{"me01", 0, true}, {"sp1", 2, false}, {"sp2", 3, true},
                  {"cbo1", 0, false}, {"sp3", 0, true}};
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].Name, expected[i].name);
    EXPECT_EQ(items[i].Part, expected[i].part) << items[i].Name;
    EXPECT_EQ(items[i].Examined(), expected[i].examined) << items[i].Name;
  }
  TRequiredItem lower{"x", "n", 0};
  EXPECT_FALSE(lower.Examined()) << "the flag is compared without regard to case";
  EXPECT_EQ(RequiredFieldColour, toolkit::TColor(0xAFFFFF));
}

}  // namespace
