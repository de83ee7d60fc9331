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
