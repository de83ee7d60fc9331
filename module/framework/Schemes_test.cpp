#include "framework/Schemes.h"

#include <gtest/gtest.h>

#include "support/GbkText.h"

namespace {

TEST(SchemeRename, RulesOfLengthBlanksAndCase) {
  const std::vector<std::string> others = {"Monthly", Gbk("月报")};
  struct {
    std::string name;
    const char* problem;
  } cases[] = {
      {"   ", "sProjNameEmpty"},
      {std::string(20, 'a'), ""},
      {std::string(21, 'a'), "sProjNameError"},
      {Gbk("一二三四五六七八九十"), ""},  // ten Chinese characters are 20 bytes
      {Gbk("一二三四五六七八九十") + "a", "sProjNameError"},
      {"Monthly", "sProjNameExist"},
      {"monthly", ""},  // letter case makes another name
      {Gbk("月报"), "sProjNameExist"},
      {" A ", ""},  // blanks are kept and counted
      {std::string(" ") + std::string(19, 'a') + " ", "sProjNameError"},
  };
  for (const auto& c : cases) EXPECT_EQ(SchemeRenameProblem(c.name, others), c.problem) << c.name;
}

}  // namespace

namespace {

TEST(SchemeRecords, ReadByColumnName) {
  using automation::Variant;
  Variant table = automation::VarArrayCreate({{0, 2}, {0, 6}});
  const char* header[] = {"vcondition", "NCONDITION", "CREATOR", "PROGRAMME", "CREATE_DATE",
                          "SCONDITION", "EXTRA"};
  for (int c = 0; c < 7; ++c) table.ElementAt(0, c) = header[c];
  const char* rows[2][7] = {{"v1\r\n", "Monthly", "796", "QZLB27", "20090517", "me01.text;", "x"},
                            {"", "Weekly", "796", "QZLB27", "20090601", "", "y"}};
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 7; ++c) table.ElementAt(r + 1, c) = rows[r][c];
  }
  const auto records = SchemeRecordsOf(table);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].Name, "Monthly");
  EXPECT_EQ(records[0].Creator, "796");
  EXPECT_EQ(records[0].Programme, "QZLB27");
  EXPECT_EQ(records[0].CreateDate, "20090517");
  EXPECT_EQ(records[0].Paths, "me01.text;");
  EXPECT_EQ(records[0].Values, "v1\r\n");
  EXPECT_EQ(records[1].Name, "Weekly");
  EXPECT_TRUE(SchemeRecordsOf(Variant()).empty());
  EXPECT_THROW(SchemeRecordsOf(automation::VarArrayOf({"a"})), automation::Error);
}

}  // namespace
