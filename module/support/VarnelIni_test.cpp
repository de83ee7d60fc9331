#include "support/VarnelIni.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "os/SystemInfo.h"
#include "support/Logs.h"

namespace {

namespace fs = std::filesystem;
using automation::Variant;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const fs::path kTestData = QZLB27_TESTDATA;

// An installation of the client platform in a folder of the test's own: the registry store
// (QRN_REGISTRY), the client and server roots, and the temporary folder (TMPDIR).
class Installation : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qrn-varnel-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    root_ = (folder_ / "App").string() + "/";
    fs::create_directories(root_);
    fs::create_directories(folder_ / "tmp");
    ::setenv("QRN_REGISTRY", (folder_ / "registry.ini").c_str(), 1);
    ::setenv("TMPDIR", (folder_ / "tmp").c_str(), 1);
    WriteStore({{"ClientPath", folder_ / "App"}, {"ServerPath", folder_ / "App"}});
  }
  void TearDown() override {
    ::unsetenv("QRN_REGISTRY");
    ::unsetenv("TMPDIR");
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  // The Varnel key with these values, and the system code page when acp is not empty.
  void WriteStore(const std::vector<std::pair<std::string, std::string>>& values,
                  const std::string& acp = "") {
    std::ofstream store(folder_ / "registry.ini");
    store << "[HKEY_LOCAL_MACHINE\\Software\\QRN\\Varnel]\n";
    for (const auto& [name, value] : values) store << name << "=" << value << "\n";
    if (!acp.empty())
      store << "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage]\nACP="
            << acp << "\n";
  }
  void WriteFile(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
  }
  void CopyFixture(const char* name) {
    fs::copy_file(kTestData / name, fs::path(root_) / name, fs::copy_options::overwrite_existing);
  }
  // The columns of a server list as "name:port".
  static std::vector<std::string> Servers(const Variant& list) {
    std::vector<std::string> servers;
    if (!list.IsArray()) return servers;
    for (int column = list.Array().LowBound(2); column <= list.Array().HighBound(2); ++column)
      servers.push_back(list.ElementAt(0, column).AsAnsi() + ":" +
                        std::to_string(list.ElementAt(1, column).AsInteger()));
    return servers;
  }

  fs::path folder_;
  std::string root_;  // ends in "/"
};

TEST_F(Installation, ClientReaderReadsEveryKey) {
  CopyFixture("VarnelC.ini");
  TVarnelIniC ini;
  EXPECT_TRUE(ini.ReadSucceeded);
  EXPECT_EQ(ini.ErrorCode, "");
  EXPECT_EQ(ini.ClientPath, root_);
  EXPECT_EQ(ini.ProfilePath, root_);
  EXPECT_EQ(ini.IniFileName, root_ + "VarnelC.ini");
  EXPECT_EQ(ini.ProfileType, "");
  EXPECT_EQ(ini.ProfileUser, "Default");
  EXPECT_EQ(ini.LangType, "CHS");
  EXPECT_EQ(ini.Version, "9.0.1");
  EXPECT_EQ(ini.CreateGifBeforeSendEF, "N");
  EXPECT_EQ(ini.SystemCodePage, "936");
  EXPECT_EQ(ini.UICodePage, "950");
  EXPECT_EQ(ini.DBCodePage, "936");
  EXPECT_EQ(ini.UIConvertMode, 2);
  EXPECT_EQ(ini.DataConvertMode, 2);
  EXPECT_TRUE(ini.SupportCallBack);
  EXPECT_THAT(Servers(ini.ServerList), ElementsAre("srv1:7000", "srv2:7000"));
  EXPECT_EQ(ini.ServerList.Array().LowBound(1), 0);
  EXPECT_EQ(ini.ServerList.Array().HighBound(1), 1);
  EXPECT_EQ(ini.ServerList.ElementAt(1, 0).Type(), automation::VarType::Integer);
  EXPECT_EQ(ini.AutoCheckNewMsg, "0");
  EXPECT_EQ(ini.CheckInterval, "5");
  EXPECT_EQ(ini.PopupMsg, "0");
  EXPECT_EQ(ini.LoginCheck, "1");
  EXPECT_THAT(ini.WorkDLLPaths,
              ElementsAre(root_ + "Work/", root_ + "Work2/", "D:/Lib/", "/usr/lib/qrn/",
                          "//server/share/pkg/", root_ + "Sub/Dir/"));
}

TEST_F(Installation, MissingFileGivesEveryDefault) {
  TVarnelIniC client;
  EXPECT_TRUE(client.ReadSucceeded);
  EXPECT_EQ(client.IniFileName, root_ + "VarnelC.ini");
  EXPECT_EQ(client.LangType, "ENG");
  EXPECT_EQ(client.CreateGifBeforeSendEF, "Y");
  EXPECT_EQ(client.UICodePage, "936");
  EXPECT_FALSE(client.SupportCallBack);
  EXPECT_THAT(Servers(client.ServerList), ElementsAre("127.0.0.1:211"));
  EXPECT_THAT(client.WorkDLLPaths, ElementsAre(root_ + "C_PKG/"));
  EXPECT_EQ(client.CheckInterval, "1");
  EXPECT_EQ(client.LoginCheck, "0");

  TVarnelIniS server;
  EXPECT_TRUE(server.ReadSucceeded);
  EXPECT_THAT(server.WorkDLLPaths, ElementsAre(root_ + "S_PKG/"));
  const Variant& s = server.DBSettings;
  const Variant expected[4][8] = {
      {"Ostrel", "sa", "", "MSSQL", "", "", 300, 3000},
      {"OstrelTemp", "sa", "", "PARADOX", "", "PostgreSQL", 300, 3000},
      {"", 211, 1024, "Chinese_Taiwan_Stroke_BIN", {}, {}, {}, {}},
      {"EDIDATA", "sa", "", {}, {}, {}, {}, {}},
  };
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 8; ++column)
      EXPECT_EQ(s.ElementAt(row, column), expected[row][column]) << row << "," << column;
  EXPECT_EQ(server.DBKind, 0);
  EXPECT_EQ(server.SystemControlAddress, "");
}

TEST_F(Installation, ServerReaderReadsDatabaseSettings) {
  CopyFixture("VarnelS.ini");
  TVarnelIniS ini;
  EXPECT_TRUE(ini.ReadSucceeded);
  EXPECT_EQ(ini.ServerPath, root_);
  EXPECT_EQ(ini.Version, "9.0.2");
  EXPECT_EQ(ini.UIConvertMode, 0);
  EXPECT_EQ(ini.DataConvertMode, 1);
  const Variant& s = ini.DBSettings;
  const Variant expected[4][8] = {
      {"Ostrel9", "erp", "Secret#1", "oracle", "ERPDB", "dbhost", 30, 600},
      {"Scratch", "sa", "", "PARADOX", "TEMPDB", "PostgreSQL", 300, 3000},
      {"pwhost", 7100, 1024, "Chinese_PRC_BIN", {}, {}, {}, {}},
      {"EDIDATA", "sa", "b958", {}, {}, {}, {}, {}},  // the EDI password stays as stored
  };
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 8; ++column)
      EXPECT_EQ(s.ElementAt(row, column), expected[row][column]) << row << "," << column;
  EXPECT_EQ(ini.DBKind, 1);
  EXPECT_EQ(ini.SystemControlAddress, "dbhost");  // blank: the main server
  EXPECT_EQ(ini.OtherSystemControlAddress, "ctrl2");
  EXPECT_TRUE(ini.SupportCallBack);  // from [DBPasswordCtrl] on the server side
  std::vector<std::string> list = {"left over", "from before"};
  ini.GetWorkDLLPaths(list);
  EXPECT_THAT(list, ElementsAre(root_ + "S_JOBS/"));
}

TEST_F(Installation, DatabaseKindByMainType) {
  struct {
    const char* type;
    int kind;
  } cases[] = {{"ORACLE", 1}, {"Oracle", 1}, {"DB2", 2},    {"db2", 2},
               {"MSSQL", 0},  {"", 0},       {"ORACLE ", 0}};
  for (const auto& c : cases) {
    WriteFile(fs::path(root_) / "VarnelS.ini",
              std::string("[DBE Setting]\nMainDBType=\"") + c.type + "\"\n");
    EXPECT_EQ(TVarnelIniS().DBKind, c.kind) << c.type;
  }
}

TEST_F(Installation, ServerListFromComputerName) {
  struct {
    const char* line;  // the line in [Server Information], nullptr: no key
    std::vector<std::string> servers;
    const char* errorCode;
  } cases[] = {
      {"ComputerName=srv1;srv2;\nServerPort=7000", {"srv1:7000", "srv2:7000"}, ""},
      {"ComputerName=srv1", {"srv1:211"}, ""},
      {"ComputerName=  srv1 ; srv2  ", {"srv1 :211", " srv2:211"}, ""},  // parts not trimmed
      {"ComputerName=a;;b\nServerPort=9", {"a:9", ":9", "b:9"}, ""},
      {"ComputerName=srv1;;", {"srv1:211", ":211"}, ""},  // only one ";" is dropped
      {"ComputerName=;", {}, "E;000016"},
      {"ComputerName=   ", {}, "E;000016"},
      {nullptr, {"127.0.0.1:211"}, ""},
  };
  for (const auto& c : cases) {
    WriteFile(fs::path(root_) / "VarnelC.ini",
              std::string("[Server Information]\n") + (c.line ? c.line : "") + "\n");
    TVarnelIniC ini;
    EXPECT_THAT(Servers(ini.ServerList), ::testing::ContainerEq(c.servers))
        << (c.line ? c.line : "none");
    EXPECT_EQ(ini.ErrorCode, c.errorCode) << (c.line ? c.line : "none");
    EXPECT_EQ(ini.ReadSucceeded, std::string(c.errorCode).empty());
    // A failed server list leaves the job-library folders unresolved.
    EXPECT_EQ(ini.WorkDLLPaths.empty(), !std::string(c.errorCode).empty());
  }
}

TEST(ResolvePath, AbsolutePathsStayAndOthersGoBelowTheBase) {
  struct {
    const char* path;
    const char* base;
    const char* resolved;
  } cases[] = {
      {"Work\\", "/opt/App/", "/opt/App/Work/"},
      {"\\Work2\\", "/opt/App/", "/opt/App/Work2/"},  // one leading "\" dropped
      {"\\\\srv\\share\\", "/opt/App/", "//srv/share/"},
      {"D:\\Lib\\", "/opt/App/", "D:/Lib/"},
      {"d:", "/opt/App/", "d:"},
      {"/usr/lib/qrn/", "/opt/App/", "/usr/lib/qrn/"},
      {"..\\Shared\\", "/opt/App/", "/opt/App/../Shared/"},
      {"", "/opt/App/", "/opt/App/"},
      {"Work", "C:\\App\\", "C:/App/Work"},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolvePath(c.path, c.base), c.resolved) << c.path;
}

TEST_F(Installation, CodePagesAndConversionModes) {
  struct {
    const char* acp;  // "" no value in the store
    const char* ui;   // nullptr: no key
    const char* db;
    const char* system;
    const char* uiRead;
    int uiMode;
    int dataMode;
  } cases[] = {
      {"", nullptr, nullptr, "936", "936", 0, 0},
      {"1252", nullptr, nullptr, "437", "437", 0, 0},
      {"65001", nullptr, nullptr, "437", "437", 0, 0},
      {"950", nullptr, nullptr, "950", "950", 2, 2},
      {"950", "936", "950", "950", "936", 4, 1},
      {"950", "936", "936", "950", "936", 4, 0},
      {"936", "950", "936", "936", "950", 2, 2},
      {"936", "950", "950", "936", "950", 2, 0},
      {"936", "936", "950", "936", "936", 0, 1},
      {"936", "437", "936", "936", "437", 0, 0},
  };
  for (const auto& c : cases) {
    WriteStore({{"ClientPath", root_}}, c.acp);
    std::string text = "[CodePage]\n";
    if (c.ui) text += std::string("UICodePage=") + c.ui + "\n";
    if (c.db) text += std::string("DBCodePage=") + c.db + "\n";
    WriteFile(fs::path(root_) / "VarnelC.ini", text);
    TVarnelIniC ini;
    const std::string label =
        std::string(c.acp) + "/" + (c.ui ? c.ui : "-") + "/" + (c.db ? c.db : "-");
    EXPECT_EQ(ini.SystemCodePage, c.system) << label;
    EXPECT_EQ(ini.UICodePage, c.uiRead) << label;
    EXPECT_EQ(ini.UIConvertMode, c.uiMode) << label;
    EXPECT_EQ(ini.DataConvertMode, c.dataMode) << label;
  }
}

TEST_F(Installation, ProfileFolders) {
  const std::string user = os::UserName();
  ASSERT_FALSE(user.empty());
  const std::string profile = root_ + "Profile/" + user + "/";
  struct {
    const char* profileType;  // nullptr: no value
    bool profileFileExists;
    std::string profilePath;
    std::string profileUser;
    std::string readProfileType;
  } cases[] = {
      {nullptr, true, root_, "Default", ""},
      {"0", true, root_, "Default", "0"},
      {"1", true, profile, user, "1"},
      {"1", false, root_, user, "1"},  // no file in the profile: the common file
      {"Y", true, profile, user, "Y"},
  };
  for (const auto& c : cases) {
    std::vector<std::pair<std::string, std::string>> values = {{"ClientPath", root_}};
    if (c.profileType) values.emplace_back("ProfileType", c.profileType);
    WriteStore(values);
    fs::remove_all(fs::path(root_) / "Profile");
    WriteFile(fs::path(root_) / "VarnelC.ini", "[Client Components]\nLangType=common\n");
    if (c.profileFileExists)
      WriteFile(fs::path(profile) / "VarnelC.ini", "[Client Components]\nLangType=own\n");
    TVarnelIniC ini;
    const std::string label = c.profileType ? c.profileType : "none";
    EXPECT_EQ(ini.ProfilePath, c.profilePath) << label;
    EXPECT_EQ(ini.IniFileName, c.profilePath + "VarnelC.ini") << label;
    EXPECT_EQ(ini.ProfileUser, c.profileUser) << label;
    EXPECT_EQ(ini.ProfileType, c.readProfileType) << label;
    EXPECT_EQ(ini.LangType, c.profilePath == profile ? "own" : "common") << label;
  }
}

TEST_F(Installation, FailedReadsKeepTheDefaults) {
  // No store at all: the key cannot be opened.
  fs::remove(folder_ / "registry.ini");
  {
    TVarnelIniC client;
    EXPECT_EQ(client.ErrorCode, "E;000015");
    EXPECT_FALSE(client.ReadSucceeded);
    EXPECT_EQ(client.ClientPath, "");
    EXPECT_EQ(client.ProfileType, "0");
    EXPECT_TRUE(client.ServerList.IsEmpty());
    EXPECT_TRUE(client.WorkDLLPaths.empty());
    TVarnelIniS server;
    EXPECT_EQ(server.ErrorCode, "E;000015");
    EXPECT_TRUE(server.DBSettings.IsEmpty());
  }
  // The key without the root value: a failure without a message code.
  WriteStore({{"ServerPath", root_}});
  {
    TVarnelIniC client;
    EXPECT_EQ(client.ErrorCode, "");
    EXPECT_FALSE(client.ReadSucceeded);
    EXPECT_EQ(client.IniFileName, "");
    EXPECT_TRUE(client.WorkDLLPaths.empty());
    EXPECT_TRUE(TVarnelIniS().ReadSucceeded);
  }
  WriteStore({{"ClientPath", root_}});
  {
    TVarnelIniS server;
    EXPECT_EQ(server.ErrorCode, "");
    EXPECT_FALSE(server.ReadSucceeded);
  }
}

TEST_F(Installation, SupportCallBackWords) {
  struct {
    const char* text;
    bool yes;
  } cases[] = {{"true", true}, {"TRUE", true}, {"1", true},   {"y", true}, {"Yes", true},
               {"2", false},   {"0", false},   {"no", false}, {"", false}, {"truely", false}};
  for (const auto& c : cases) {
    WriteFile(fs::path(root_) / "VarnelC.ini",
              std::string("[Server Information]\nSupportCallBack=") + c.text + "\n");
    EXPECT_EQ(TVarnelIniC().SupportCallBack, c.yes) << c.text;
  }
}

TEST_F(Installation, EveryReaderReadsTheFileAgain) {
  WriteFile(fs::path(root_) / "VarnelC.ini", "[Client Components]\nLangType=CHS\n");
  EXPECT_EQ(TVarnelIniC().LangType, "CHS");
  WriteFile(fs::path(root_) / "VarnelC.ini", "[Client Components]\nLangType=CHT\n");
  EXPECT_EQ(TVarnelIniC().LangType, "CHT");
}

TEST(DbPassword, RoundTrips) {
  std::string allBytes;
  for (int b = 1; b < 256; ++b) allBytes += static_cast<char>(b);
  struct {
    std::string plain;
    std::string encoded;  // "" when only the round trip is checked
  } cases[] = {
      {"sa", "b958"},
      {"Secret#1", "a9596c272bd14631"},  // the eighth byte is not rotated
      {"", "aa93ebd44bc9be44b1134e461b49c47034d78956d321d86831d00d677b11c8413a1acd16"},
      {"tmp pass", ""},
      {"\xC3\xDC\xC2\xEB", ""},  // GBK text
      {allBytes, ""},
      {std::string("a\0b", 3), ""},
  };
  for (const auto& c : cases) {
    const std::string encoded = EncodeDbPassword(c.plain);
    if (!c.encoded.empty()) {
      EXPECT_EQ(encoded, c.encoded) << c.plain;
    }
    EXPECT_EQ(encoded.size(), 2 * (c.plain.empty() ? 36 : c.plain.size()));
    EXPECT_EQ(encoded.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_EQ(DecodeSQLSa(encoded), c.plain);
  }
  EXPECT_EQ(DecodeSQLSa(""), "");
  EXPECT_EQ(DecodeSQLSa("b958f"), "sa");  // a final odd character is ignored
  EXPECT_EQ(DecodeSQLSa("B958"), "sa");
  EXPECT_EQ(DecodeSQLSa("b"), "");
}

TEST_F(Installation, UnreadablePasswordIsReportedInTheErrorLog) {
  const std::string gbkMessage = "\xBD\xE2\xCE\xF6 Sa \xCA\xB1\xB7\xA2\xC9\xFA\xB4\xED\xCE\xF3!";
  EXPECT_EQ(DecodeSQLSa("b9zz"), "VA_Tpa_Ixnncghr_Foqfd");
  std::ifstream in(ErrorLogPath(), std::ios::binary);
  std::stringstream log;
  log << in.rdbuf();
  EXPECT_EQ(fs::path(ErrorLogPath()).parent_path(), fs::path(root_) / "Log");
  EXPECT_THAT(log.str(), HasSubstr(" on DecodeSQLSa "));
  EXPECT_THAT(log.str(), HasSubstr("Exception is std::invalid_argument\r\nMessage 01: 'zz'"));
  EXPECT_THAT(log.str(), HasSubstr("] Programer Message: " + gbkMessage + "\r\n"));
}

}  // namespace
