#include "os/Paths.h"

#include <gtest/gtest.h>

namespace {

TEST(Paths, TellsAbsolutePaths) {
  struct {
    const char* path;
    bool absolute;
  } cases[] = {
      {"/opt/qrn", true},       {"D:\\Lib", true},  {"d:", true},    {"\\\\server\\share", true},
      {"//server/share", true}, {"\\Work2", false}, {"Work", false}, {"", false},
      {"1:\\x", false},         {"./Work", false},
  };
  for (const auto& c : cases) EXPECT_EQ(os::IsAbsolutePath(c.path), c.absolute) << c.path;
}

TEST(Paths, JoinsFoldersWithOneSlash) {
  struct {
    const char* folder;
    const char* name;
    const char* joined;
  } cases[] = {
      {"/opt/qrn", "Log", "/opt/qrn/Log"},
      {"/opt/qrn/", "Log", "/opt/qrn/Log"},
      {"/opt/qrn\\", "\\Log", "/opt/qrn/Log"},
      {"", "Log", "Log"},
      {"/", "Log", "/Log"},
      {"C:\\App", "Work\\Mod", "C:/App/Work/Mod"},
  };
  for (const auto& c : cases) EXPECT_EQ(os::JoinPath(c.folder, c.name), c.joined) << c.folder;
  EXPECT_EQ(os::IncludeTrailingSlash("/opt/qrn"), "/opt/qrn/");
  EXPECT_EQ(os::IncludeTrailingSlash("C:\\App\\"), "C:/App/");
  EXPECT_EQ(os::IncludeTrailingSlash(""), "");
}

}  // namespace
