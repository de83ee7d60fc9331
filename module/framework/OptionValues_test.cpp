#include "framework/OptionValues.h"

#include <gtest/gtest.h>

namespace {

TEST(SchemePaths, SplitAtTheFirstDot) {
  struct {
    const char* entry;
    bool ok;
    const char* component;
    const char* property;
  } cases[] = {
      {"me01.text", true, "me01", "text"},   {" cbo1 . itemindex ", true, "cbo1", "itemindex"},
      {"sp1.Font.Name", true, "sp1", "Font.Name"}, {"me01", false, "", ""},
      {".text", false, "", ""},                {"me01.", false, "", ""},
  };
  for (const auto& c : cases) {
    std::string component, property;
    EXPECT_EQ(SplitPath(c.entry, component, property), c.ok) << c.entry;
    if (c.ok) {
      EXPECT_EQ(component, c.component);
      EXPECT_EQ(property, c.property);
    }
  }
}

TEST(SchemeValues, ListRowsRoundTrip) {
  const std::vector<TSchemeRow> rows = {{"A"}, {"B", "x", "y"}};
  const std::string text = DiscreteValueText(rows);
  EXPECT_EQ(text, "sp_Discrete\x03" "A\x04" "B\x01x\x01y\x04");
  EXPECT_EQ(ListRowsOf(text, 2), rows);
  EXPECT_TRUE(ListRowsOf("sp_Discrete\x03", 2).empty());
  EXPECT_EQ(ListRowsOf("sp_Discrete\x03" "A\x04\x04" "B", 2),
            (std::vector<TSchemeRow>{{"A"}, {"B"}}))
      << "empty parts have no columns and add no row";
}

TEST(SchemeValues, PanelFormatsByStyle) {
  EXPECT_EQ(RangeValueText("R001", "R009"), "sp_Range\x03R001\x03R009");
  EXPECT_EQ(UserChoiceValueText(true, "a", "b", {}), "sp_UserChoice\x03True\x03" "a\x03" "b");
  EXPECT_EQ(UserChoiceValueText(false, "a", "b", {{"A"}, {"B", "x"}}),
            "sp_UserChoice\x03" "False\x03" "A\x04" "B\x01x\x04");
  const std::string v = UserChoiceValueText(true, "a", "b", {});
  EXPECT_EQ(SchemeField(v, 1), "sp_UserChoice");
  EXPECT_EQ(SchemeField(v, 2), "True");
  EXPECT_EQ(SchemeField(v, 4), "b");
}

}  // namespace
