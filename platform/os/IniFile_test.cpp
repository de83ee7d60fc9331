#include "os/IniFile.h"

#include <gtest/gtest.h>

namespace {

const std::string kFixture = std::string(QZLB27_TESTDATA) + "/Private.ini";

// "中文" and "引号" in GBK.
const std::string kGbkChinese = "\xD6\xD0\xCE\xC4";
const std::string kGbkQuotes = "\xD2\xFD\xBA\xC5";

TEST(IniFile, ReadsKeysWithoutRegardToCaseFirstOccurrenceWinning) {
  os::IniFile ini(kFixture);
  ASSERT_TRUE(ini.Exists());
  struct {
    const char* section;
    const char* key;
    std::string expected;
  } cases[] = {
      {"Client Components", "LangType", "CHS"},       // blanks around "=" dropped
      {"client components", "LANGTYPE", "CHS"},       // a later "[CLIENT COMPONENTS]" loses
      {"Client Components", "Caption", kGbkChinese},  // ... but adds the keys it alone has
      {"Server Information", "ComputerName", "srv1;srv2;"},
      {"Server Information", "SupportCallBack", "true"},  // quotes dropped
      {"WorkDLLPath", "MOD1", "Work"},
      {"WorkDLLPath", "Mod2", "\\Work2"},
      {"UserDefine", "Title", kGbkQuotes},
      {"UserDefine", "Missing", "default"},
      {"No Such Section", "LangType", "default"},
      {"Server Information", "this line has no equals sign", "default"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ini.ReadString(c.section, c.key, "default"), c.expected)
        << c.section << " / " << c.key;
}

TEST(IniFile, ListsASectionInFileOrder) {
  os::IniFile ini(kFixture);
  std::vector<os::IniEntry> expected = {{"Mod1", "Work"}, {"Mod2", "\\Work2"}};
  EXPECT_EQ(ini.ReadSectionValues("workdllpath"), expected);
  EXPECT_TRUE(ini.ReadSectionValues("Nothing").empty());
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Client Components", "Server Information",
                                                          "WorkDLLPath", "UserDefine"}));
  EXPECT_TRUE(ini.SectionExists("USERDEFINE"));
  EXPECT_TRUE(ini.ValueExists("Server Information", "serverport"));
  EXPECT_FALSE(ini.ValueExists("Server Information", "ServerPorts"));
}

TEST(IniFile, MissingFileReadsAsEmpty) {
  os::IniFile ini(std::string(QZLB27_TESTDATA) + "/does-not-exist.ini");
  EXPECT_FALSE(ini.Exists());
  EXPECT_EQ(ini.ReadString("CodePage", "UICodePage", "936"), "936");
  EXPECT_EQ(ini.ReadInteger("Server Information", "ServerPort", 211), 211);
  EXPECT_TRUE(ini.ReadSections().empty());
}

TEST(IniFile, ReadsIntegersOrTheDefault) {
  os::IniFile ini = os::IniFile::FromText(
      "[N]\nplain=7000\nneg=-12\nplus=+3\nhex=0x1F\ndollar=$ff\nblank=\nword=12ab\n"
      "big=99999999999\nspaced= 42 \nmin=-2147483648\n");
  struct {
    const char* key;
    int expected;
  } cases[] = {{"plain", 7000}, {"neg", -12},       {"plus", 3},   {"hex", 31},
               {"dollar", 255}, {"blank", -1},      {"word", -1},  {"big", -1},
               {"spaced", 42},  {"min", INT32_MIN}, {"absent", -1}};
  for (const auto& c : cases) EXPECT_EQ(ini.ReadInteger("N", c.key, -1), c.expected) << c.key;
}

TEST(IniFile, IgnoresCommentsStrayLinesAndKeysOutsideSections) {
  os::IniFile ini = os::IniFile::FromText(
      "orphan=1\r\n;[Hidden]\r\n[S]\r\n;key=commented\r\nkey=value=with=equals\r\n"
      "  [ Spaced ]  \r\nk = \"\" \r\nq=\"unbalanced\r\n");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"S", "Spaced"}));
  EXPECT_EQ(ini.ReadString("S", "key", ""), "value=with=equals");
  EXPECT_EQ(ini.ReadString("S", "orphan", "none"), "none");
  EXPECT_EQ(ini.ReadString("Spaced", "k", "x"), "");
  EXPECT_EQ(ini.ReadString("Spaced", "q", "x"), "\"unbalanced");
}

TEST(IniFile, SameTextIgnoresOnlyAsciiCase) {
  EXPECT_TRUE(os::SameText("WorkDLLPath", "workdllpath"));
  EXPECT_FALSE(os::SameText("Work", "Works"));
  // GBK bytes are compared as they are: 0xC4 and 0xE4 are not one letter in two cases.
  EXPECT_FALSE(os::SameText("\xC4", "\xE4"));
}

}  // namespace
