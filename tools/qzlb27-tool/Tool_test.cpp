// qzlb27-tool run as a program, the way administrators and scripts run it: from the build tree
// and after an installation into a prefix of the test's own.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A folder of the test's own with the registry store (QRN_REGISTRY), a client installation and
// the temporary folder (TMPDIR); programs started by the test inherit that environment.
class ToolRun : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qrn-tool-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    fs::create_directories(folder_ / "tmp");
    fs::create_directories(folder_ / "App");
    ::setenv("QRN_REGISTRY", (folder_ / "registry.ini").c_str(), 1);
    ::setenv("TMPDIR", (folder_ / "tmp").c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("QRN_REGISTRY");
    ::unsetenv("TMPDIR");
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  void WriteStore() {
    std::ofstream(folder_ / "registry.ini")
        << "[HKEY_LOCAL_MACHINE\\Software\\QRN\\Varnel]\nClientPath=" << (folder_ / "App").string()
        << "\nServerPath=" << (folder_ / "App").string() << "/\n";
  }
  // Runs the program with the arguments and `input` on standard input.
  Outcome Run(const std::string& program, const std::vector<std::string>& args,
              const std::string& input = "") {
    const fs::path in = folder_ / "stdin", out = folder_ / "stdout", err = folder_ / "stderr";
    std::ofstream(in, std::ios::binary) << input;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv = {const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    Outcome outcome;
    const int spawned =
        ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return outcome;
    int status = 0;
    ::waitpid(pid, &status, 0);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.out = ReadAll(out);
    outcome.err = ReadAll(err);
    return outcome;
  }
  Outcome Tool(const std::vector<std::string>& args, const std::string& input = "") {
    return Run(QZLB27_TOOL, args, input);
  }

  fs::path folder_;
};

TEST_F(ToolRun, AnswersSingleCommands) {
  struct {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{"schedule", "next", "20040105", "week:1:3"}, "20040107\n"},
      {{"schedule", "next", "20040105", "day:3"}, "20040105\n"},
      {{"schedule", "next", "20040215", "month:1:31"}, "20040229\n"},
      {{"schedule", "next", "20040110", "monthday:1:0:1"}, "20040202\n"},
      {{"schedule", "next", "20040105", "hour:2"}, "\n"},
      {{"schedule", "preview", "20040105", "week:2:3", "3"},
       "20040114\n20040128\n20040211\n20040225\n"},
      {{"schedule", "preview", "20040131", "month:1:31", "3"},
       "20040131\n20040229\n20040331\n20040430\n"},
      {{"schedule", "preview", "20040102", "monthday:1:4:5", "2"},
       "20040130\n20040227\n20040326\n"},
      {{"schedule", "preview", "20040105", "day:10", "2"}, "20040105\n20040115\n20040125\n"},
      {{"schedule", "preview", "20040105", "week:1:1", "0"}, "20040105\n"},
      {{"date", "add", "20040131", "M", "1"}, "20040229\n"},
      {{"date", "add", "20040229", "y", "1"}, "20050228\n"},
      {{"date", "add", "20041231", "x", "1"}, "\n"},
      {{"date", "add", "2004", "D", "1"}, "\n"},
      {{"date", "shift", "20040315", "-1", "1", "2", "0"}, "20040229\n"},
      {{"date", "shift", "200411", "2", "0", "0", "0"}, "200501\n"},
      {{"date", "shift", "20040107", "1", "0", "1", "0"}, "20040111\n"},
      {{"date", "parse", "93/1/2", "4", "/"}, "20040102\n"},
      {{"date", "parse", "2004/02/30", "1", "/"}, "20040301\n"},
      {{"date", "parse", "2004/13/01", "1", "/"}, "0\n"},
      {{"date", "format", "5", "/", "20040102"}, "093/01/02\n"},
      {{"date", "format", "1", "", "20040102"}, "20040102\n"},
      {{"date", "format", "1", "/", "0"}, "\n"},
      {{"password", "encode", "sa"}, "b958\n"},
      {{"password", "decode", "b958"}, "sa\n"},
      {{"password", "decode", ""}, "\n"},
      {{"format", "%s has %d items (%.1f%%)", "s:Box 1", "i:3", "f:1.5"},
       "Box 1 has 3 items (1.5%)\n"},
      {{"format", "no arguments"}, "no arguments\n"},
      {{"format", "%1:s-%0:s", "s:a", "s:b"}, "b-a\n"},
  };
  for (const auto& c : cases) {
    const Outcome o = Tool(c.args);
    EXPECT_EQ(o.status, 0) << c.args[0] << " " << c.args[1] << " " << o.err;
    EXPECT_EQ(o.out, c.out) << c.args[0] << " " << c.args[1] << " " << c.args[2];
    EXPECT_EQ(o.err, "");
  }
}

TEST_F(ToolRun, FormatThatDoesNotFitItsArgumentsAnswersError) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"format", "%d", "s:text"},
                                               {"format", "%s and %s", "s:one"},
                                               {"format", "%f", "i:1"}}) {
    const Outcome o = Tool(args);
    EXPECT_EQ(o.status, 1) << args[1];
    EXPECT_THAT(o.out, ::testing::StartsWith("ERROR: ")) << args[1];
    EXPECT_THAT(o.out, HasSubstr(args[1])) << args[1];
    EXPECT_EQ(Lines(o.out).size(), 1u);
  }
}

TEST_F(ToolRun, BadArgumentsGiveOneLineNamingTheArgumentAndStatusTwo) {
  struct {
    std::vector<std::string> args;
    std::string named;
  } cases[] = {
      {{}, "COMMAND"},
      {{"frobnicate"}, "COMMAND 'frobnicate'"},
      {{"config"}, "SIDE"},
      {{"config", "both"}, "SIDE 'both'"},
      {{"config", "client", "extra"}, "'extra'"},
      {{"schedule", "next", "20040105"}, "PERIOD"},
      {{"schedule", "next", "2004015", "day:1"}, "START '2004015'"},
      {{"schedule", "next", "20040105", "week:1"}, "PERIOD 'week:1'"},
      {{"schedule", "next", "20040105", "week:1:7"}, "WEEKDAY"},
      {{"schedule", "next", "20040105", "week:0:3"}, "N"},
      {{"schedule", "next", "20040105", "month:1:32"}, "DAY"},
      {{"schedule", "next", "20040105", "monthday:1:5:1"}, "POSITION"},
      {{"schedule", "next", "20040105", "hour:x"}, "H 'x'"},
      {{"schedule", "next", "20040105", "year:1"}, "PERIOD 'year:1'"},
      {{"schedule", "preview", "20040105", "day:1", "many"}, "N 'many'"},
      {{"schedule", "later"}, "ACTION 'later'"},
      {{"date", "add", "20040131", "M", "1x"}, "COUNT '1x'"},
      {{"date", "shift", "20040315", "-1", "1", "two", "0"}, "ADJUSTMENT 'two'"},
      {{"date", "shift", "20040315", "-1", "1", "2", ""}, "DAYS ''"},
      {{"date", "parse", "93/1/2", "four", "/"}, "CODE 'four'"},
      {{"date", "format", "1", "/", "20040230"}, "YYYYMMDD '20040230'"},
      {{"password", "encode"}, "TEXT"},
      {{"password", "hash", "x"}, "ACTION 'hash'"},
      {{"format"}, "FORMAT"},
      {{"format", "%d", "42"}, "ARG '42'"},
      {{"format", "%d", "i:4.2"}, "ARG 'i:4.2'"},
      {{"format", "%f", "f:1,5"}, "ARG 'f:1,5'"},
  };
  for (const auto& c : cases) {
    const Outcome o = Tool(c.args);
    const std::string label = c.args.empty() ? "(none)" : c.args.back();
    EXPECT_EQ(o.status, 2) << label;
    EXPECT_EQ(o.out, "") << label;
    EXPECT_EQ(Lines(o.err).size(), 1u) << label << ": " << o.err;
    EXPECT_THAT(o.err, HasSubstr(c.named)) << label;
  }
}

TEST_F(ToolRun, ConfigListsEveryFieldTheReaderRead) {
  WriteStore();
  fs::copy_file(fs::path(QZLB27_TESTDATA) / "VarnelC.ini", folder_ / "App" / "VarnelC.ini");
  const std::string root = (folder_ / "App").string() + "/";
  const Outcome client = Tool({"config", "client"});
  EXPECT_EQ(client.status, 0) << client.err;
  EXPECT_THAT(Lines(client.out),
              ElementsAre("ClientPath=" + root, "ProfilePath=" + root,
                          "ProfileType=", "ProfileUser=Default", "UICodePage=950", "DBCodePage=936",
                          "SystemCodePage=936", "UIConvertMode=2", "DataConvertMode=2",
                          "SupportCallBack=True", "IniFileName=" + root + "VarnelC.ini",
                          "WorkDLLPaths[0]=" + root + "Work/", "WorkDLLPaths[1]=D:/Lib/",
                          "Version=9.0.1", "LangType=CHS", "CreateGifBeforeSendEF=N",
                          "ServerList[0,0]=srv1", "ServerList[0,1]=srv2", "ServerList[1,0]=7000",
                          "ServerList[1,1]=7000", "AutoCheckNewMsg=0", "CheckInterval=5",
                          "PopupMsg=0", "LoginCheck=1", "ReadSucceeded=True", "ErrorCode="));

  const Outcome server = Tool({"config", "server"});
  EXPECT_EQ(server.status, 0);
  const std::vector<std::string> lines = Lines(server.out);
  EXPECT_THAT(lines, ::testing::Contains("ServerPath=" + root));
  EXPECT_THAT(lines, ::testing::Contains("DBSettings[0,0]=Ostrel"));
  EXPECT_THAT(lines, ::testing::Contains("DBSettings[3,7]="));
  EXPECT_THAT(lines, ::testing::Contains("WorkDLLPaths[0]=" + root + "S_PKG/"));
  EXPECT_EQ(lines.back(), "ErrorCode=");

  fs::remove(folder_ / "registry.ini");
  const Outcome missing = Tool({"config", "client"});
  EXPECT_EQ(missing.status, 0);
  EXPECT_EQ(Lines(missing.out).back(), "ErrorCode=E;000015");
  EXPECT_THAT(Lines(missing.out), ::testing::Contains("ReadSucceeded=False"));
}

TEST_F(ToolRun, BatchAnswersOneLinePerCommand) {
  const std::string input =
      "date\tadd\t20040131\tM\t1\n"
      "format\t%s and %s\ts:a b\ts:c\n"                 // words may hold blanks
      "schedule\tpreview\t20040215\tmonth:1:31\t2\r\n"  // several dates on one line; CR LF
      "\n"
      "date\tadd\t20040131\tM\tx\n"
      "format\t%d\ts:x\n"
      "password\tencode\tsa\n";
  const Outcome o = Tool({"--batch"}, input);
  EXPECT_EQ(o.status, 2);
  EXPECT_THAT(Lines(o.out),
              ElementsAre("20040229", "a b and c", "20040229\t20040331\t20040430",
                          "ERROR: missing COMMAND", "ERROR: COUNT 'x' is not an integer",
                          ::testing::StartsWith("ERROR: Format '%d'"), "b958"));
  EXPECT_EQ(o.err, "");

  const Outcome clean = Tool({"--batch"}, "date\tadd\t20040131\tD\t1\n");
  EXPECT_EQ(clean.status, 0);
  EXPECT_EQ(clean.out, "20040201\n");
  EXPECT_EQ(Tool({"--batch"}, "").out, "");
}

TEST_F(ToolRun, BatchRunsThousandsOfCasesInOneProcess) {
  // Every day of 2004 and 2005 against every weekday, checked against a calendar walk.
  namespace chr = std::chrono;
  auto text = [](chr::sys_days day) {
    const chr::year_month_day ymd(day);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.4d%.2u%.2u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return std::string(buffer);
  };
  std::string input;
  std::vector<std::string> expected;
  for (chr::sys_days start = chr::year(2004) / 1 / 1; start <= chr::year(2005) / 12 / 31;
       start += chr::days(1)) {
    for (unsigned weekday = 0; weekday < 7; ++weekday) {
      input += "schedule\tnext\t" + text(start) + "\tweek:1:" + std::to_string(weekday) + "\n";
      chr::sys_days run = start;
      while (chr::weekday(run).c_encoding() != weekday) run += chr::days(1);
      expected.push_back(text(run));
    }
  }
  const Outcome o = Tool({"--batch"}, input);
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(Lines(o.out), expected);
  EXPECT_EQ(expected.size(), 731u * 7);
}

TEST_F(ToolRun, RunsAfterInstallation) {
  const fs::path prefix = folder_ / "prefix";
  const Outcome install =
      Run(QZLB27_CMAKE, {"--install", QZLB27_BUILD_DIR, "--prefix", prefix.string()});
  ASSERT_EQ(install.status, 0) << install.out << install.err;
  const std::string installed = (prefix / "bin" / "qzlb27-tool").string();
  ASSERT_TRUE(fs::exists(installed));
  // Nothing of the build tree is on the way: the libraries come from the prefix.
  ::setenv("LD_LIBRARY_PATH", "", 1);
  const Outcome o = Run(installed, {"schedule", "preview", "20040102", "monthday:1:4:5", "1"});
  ::unsetenv("LD_LIBRARY_PATH");
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out, "20040130\n20040227\n");
  const Outcome bad = Run(installed, {"date", "add", "20040131", "M"});
  EXPECT_EQ(bad.status, 2);
  EXPECT_THAT(bad.err, HasSubstr("COUNT"));
}

}  // namespace
