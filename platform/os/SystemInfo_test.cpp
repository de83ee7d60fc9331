#include "os/SystemInfo.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

TEST(SystemInfo, ComputerNameHasAtMostFifteenCharacters) {
  const std::string name = os::ComputerName();
  EXPECT_FALSE(name.empty());
  EXPECT_LE(name.size(), 15u);
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) == 0 && host[0]) {
    EXPECT_EQ(name, std::string(host).substr(0, 15));
  }
}

TEST(SystemInfo, TempDirectoryFollowsTmpdir) {
  const char* old = ::getenv("TMPDIR");
  const std::string saved = old ? old : "";
  ::setenv("TMPDIR", "/var/tmp/qrn", 1);
  EXPECT_EQ(os::TempDirectory(), "/var/tmp/qrn/");
  ::setenv("TMPDIR", "/var/tmp/qrn/", 1);
  EXPECT_EQ(os::TempDirectory(), "/var/tmp/qrn/");
  ::unsetenv("TMPDIR");
  EXPECT_EQ(os::TempDirectory(), "/tmp/");
  if (old) ::setenv("TMPDIR", saved.c_str(), 1);
}

TEST(SystemInfo, ProgramFolderHoldsTheRunningTest) {
  const std::string file = os::ProgramFileName();
  const std::string folder = os::ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_EQ(file, folder + "qzlb27_os_tests");
  EXPECT_EQ(folder, std::string(QZLB27_BUILD_DIR) + "/bin/");
}

TEST(SystemInfo, UserNameIsTheLoginName) {
  EXPECT_FALSE(os::UserName().empty());
}

}  // namespace
