#include "support/Logs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <ios>
#include <sstream>
#include <system_error>

#include "automation/DateTime.h"
#include "os/SystemInfo.h"
#include "support/LibStrs.h"

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::MatchesRegex;

// A folder of the test's own holding the registry store (QRN_REGISTRY) and the temporary
// folder (TMPDIR).
class LogFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qrn-logs-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    fs::create_directories(folder_ / "tmp");
    ::setenv("QRN_REGISTRY", (folder_ / "registry.ini").c_str(), 1);
    ::setenv("TMPDIR", (folder_ / "tmp").c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("QRN_REGISTRY");
    ::unsetenv("TMPDIR");
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  // The Varnel key with the given values ("" leaves a value out).
  void WriteStore(const std::string& clientPath, const std::string& serverPath) {
    std::ofstream store(folder_ / "registry.ini");
    store << "[HKEY_LOCAL_MACHINE\\Software\\QRN\\Varnel]\n";
    if (!clientPath.empty()) store << "ClientPath=" << clientPath << "\n";
    if (!serverPath.empty()) store << "ServerPath=" << serverPath << "\n";
  }
  // The file's lines (split at CR LF); the file must end with a line end.
  static std::vector<std::string> Lines(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string all = text.str();
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = all.find("\r\n", start)) != std::string::npos; start = end + 2)
      lines.push_back(all.substr(start, end - start));
    EXPECT_EQ(start, all.size()) << "text after the last line end in " << file;
    return lines;
  }
  // The error log's lines without their time stamps.
  std::vector<std::string> ErrorLines() {
    std::vector<std::string> lines;
    for (const std::string& line : Lines(ErrorLogPath())) {
      const bool stamped = line.size() > 22 && line[0] == '[' && line.substr(20, 2) == "] ";
      lines.push_back(stamped ? line.substr(22) : line);
    }
    return lines;
  }

  fs::path folder_;
};

TEST(AlertLogFileName, DatePartByMode) {
  const double day = automation::EncodeDate(2004, 3, 2);
  struct {
    const char* name;
    const char* mode;
    const char* file;
  } cases[] = {
      {"libstrs", "D", "Alert_libstrs_20040302.log"},
      {"libstrs", "M", "Alert_libstrs_200403.log"},
      {"libstrs", "Y", "Alert_libstrs_2004.log"},
      {"libstrs", "d", "Alert_libstrs_20040302.log"},  // modes are compared exactly
      {"libstrs", "m", "Alert_libstrs_20040302.log"},
      {"libstrs", "", "Alert_libstrs_20040302.log"},
      {"libstrs", "YY", "Alert_libstrs_20040302.log"},
      {"sync.txt", "D", "Alert_sync.txt_20040302"},  // a name with "." keeps no ".log"
      {"RODoviVoreNewFileU", "D", "Alert_RODoviVoreNewFileU_20040302.log"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(AlertLogFileName(c.name, c.mode, day), c.file) << c.name << " " << c.mode;
}

TEST_F(LogFolder, AlertLogGoesBelowThePlatformFolder) {
  struct {
    std::string clientPath;
    std::string serverPath;
    fs::path root;
  } cases[] = {
      {(folder_ / "client").string(), (folder_ / "server").string(), folder_ / "client"},
      {"", (folder_ / "server/").string(), folder_ / "server"},
  };
  for (const auto& c : cases) {
    WriteStore(c.clientPath, c.serverPath);
    const std::string file = AlertLogPath("libstrs", "M");
    EXPECT_EQ(fs::path(file).parent_path(), c.root / "Log");
    EXPECT_TRUE(WriteAlertLog("libstrs", "LINE[2735] first", "M"));
    EXPECT_TRUE(WriteAlertLog("libstrs", "LINE[115] 100% done", "M"));
    EXPECT_THAT(Lines(file),
                ElementsAre(MatchesRegex("\\[[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:"
                                         "[0-9]{2}:[0-9]{3}\\] LINE\\[2735\\] first"),
                            MatchesRegex(".{26}LINE\\[115\\] 100% done")));
  }
}

TEST_F(LogFolder, WithoutPlatformFolderAlertsGoBesideTheProgramAndErrorsToTheTempFolder) {
  WriteStore("", "");
  EXPECT_EQ(GetPlatformPath(), "");
  EXPECT_EQ(GetLogRootPath(), (folder_ / "tmp").string() + "/");

  const std::string alert = AlertLogPath("qzlb27-logs-test", "D");
  EXPECT_EQ(fs::path(alert).parent_path(), fs::path(os::ProgramFolder()) / "Log");
  EXPECT_TRUE(WriteAlertLog("qzlb27-logs-test", "beside the program", "D"));
  EXPECT_THAT(Lines(alert), ElementsAre(::testing::EndsWith("] beside the program")));
  fs::remove(alert);

  const std::string update = UpdateLogPath("qzlb27-update-test", "Y");
  EXPECT_EQ(fs::path(update).parent_path(), fs::path(os::ProgramFolder()) / "Log");
  EXPECT_TRUE(WriteUpdateLog("qzlb27-update-test", "update", "Y"));
  EXPECT_TRUE(fs::exists(update));
  fs::remove(update);

  EXPECT_EQ(fs::path(ErrorLogPath()).parent_path(), folder_ / "tmp" / "Log");
  EXPECT_TRUE(WriteErrorLog("an error"));
  EXPECT_THAT(Lines(ErrorLogPath()),
              ElementsAre(MatchesRegex("\\[[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:"
                                       "[0-9]{2}\\] an error")));
  EXPECT_THAT(ErrorLogPath(), MatchesRegex(".*/Log/Alert_Tormavex_[0-9]{8}\\.log"));
}

TEST_F(LogFolder, UpdateLogIgnoresThePlatformFolder) {
  WriteStore((folder_ / "client").string(), "");
  EXPECT_EQ(fs::path(UpdateLogPath("RODoviVoreNewFileU", "D")).parent_path(),
            fs::path(os::ProgramFolder()) / "Log");
  EXPECT_EQ(fs::path(ErrorLogPath()).parent_path(), folder_ / "client" / "Log");
}

TEST_F(LogFolder, WritersAnswerNoWhenTheLogFolderCannotBeCreated) {
  // The platform folder is a file: no "Log" folder can be made below it.
  std::ofstream(folder_ / "blocker") << "not a folder";
  WriteStore((folder_ / "blocker").string(), "");
  bool alert = true, error = true;
  EXPECT_NO_THROW(alert = WriteAlertLog("libstrs", "lost", "D"));
  EXPECT_NO_THROW(error = WriteErrorLog("lost"));
  EXPECT_FALSE(alert);
  EXPECT_FALSE(error);
  const std::runtime_error problem("lost");
  EXPECT_NO_THROW(LogException(&problem, "Place", "message"));
  EXPECT_TRUE(fs::is_regular_file(folder_ / "blocker"));

  // A log file that is a folder cannot be appended to either.
  WriteStore((folder_ / "client").string(), "");
  fs::create_directories(AlertLogPath("libstrs", "D"));
  EXPECT_FALSE(WriteAlertLog("libstrs", "lost", "D"));
}

// A database error of its own type, to see that classification goes by type.
class ESomeDatabaseFailure : public EDBEngineError {
  using EDBEngineError::EDBEngineError;
};

TEST_F(LogFolder, LogExceptionReportsByKindOfError) {
  WriteStore((folder_ / "client").string(), "");
  const std::string header =
      "---------------------------------- on X ----------------------------------";
  const std::string info = "\xD1\xB6\xCF\xA2\xD0\xC5\xCF\xA2:";  // "讯息信息:" in GBK
  const std::system_error denied(5, std::system_category(), "open");
  const std::ios_base::failure io("read failed", std::error_code(103, std::generic_category()));
  const EDBEngineError engine("engine", {{2627, "duplicate key"}, {3621, "statement ended"}});
  const ESomeDatabaseFailure empty("engine", {});
  const std::runtime_error percent("100% of %s and %d");
  struct {
    const std::exception* error;
    const char* place;
    const char* programmerMessage;
    std::vector<std::string> lines;
  } cases[] = {
      {nullptr, "X", "", {header}},
      {nullptr, "  ", " \t", {std::string(68, '-')}},
      {nullptr, "X", "  check it  ", {header, "Programer Message:   check it  "}},
      {&denied,
       "X",
       "",
       {header, info, "EWin32Error Error 01: Code: 5, Message: " + std::string(denied.what()),
        "ErrorMessage Count: 1"}},
      {&io,
       "X",
       "",
       {header, info, "EInOutError Error 01: Code: 103, Message: " + std::string(io.what()),
        "ErrorMessage Count: 1"}},
      {&engine,
       "X",
       "",
       {header, info, "EDBEngineError Error 01: Code: 2627, Message: duplicate key",
        "EDBEngineError Error 02: Code: 3621, Message: statement ended", "ErrorMessage Count: 2"}},
      {&empty, "X", "", {header, info, "ErrorMessage Count: 0"}},
      // Other errors: class name, then the message on a line of its own, written unchanged.
      {&percent,
       "X",
       "why",
       {header, info, "Exception is std::runtime_error", "Message 01: 100% of %s and %d",
        "ErrorMessage Count: 1", "Programer Message: why"}},
  };
  for (const auto& c : cases) {
    fs::remove(ErrorLogPath());
    LogException(c.error, c.place, c.programmerMessage);
    EXPECT_EQ(ErrorLines(), c.lines) << (c.error ? c.error->what() : "no error");
  }
}

// The variant conversions of the support library record their caught errors here.
TEST_F(LogFolder, VariantConversionsWriteTheirErrorsToTheAlertLog) {
  WriteStore((folder_ / "client").string(), "");
  automation::Variant deep = automation::VarArrayOf({u"text"});
  for (int level = 0; level < 70; ++level) deep = automation::VarArrayOf({deep});
  EXPECT_EQ(VarWideToAnsi(deep, 936), deep);  // the input comes back unconverted
  EXPECT_EQ(VarAnsiToWide(deep, 936), deep);
  const std::vector<std::string> lines = Lines(AlertLogPath("libstrs", "D"));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_THAT(lines[0], MatchesRegex(".{26}LINE\\[2735\\] .+"));
  EXPECT_THAT(lines[1], MatchesRegex(".{26}LINE\\[115\\] .+"));
}

}  // namespace
