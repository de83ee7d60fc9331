#include "os/Registry.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "os/CodePage.h"

namespace {

namespace fs = std::filesystem;

// A temporary folder of the test's own, with QRN_REGISTRY pointing at a store file in it.
class RegistryStore : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qrn-registry-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    store_ = (folder_ / "registry.ini").string();
    ::setenv("QRN_REGISTRY", store_.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("QRN_REGISTRY");
    os::SetSystemCodePage(os::CP_GBK);
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  void WriteStore(const std::string& text) { std::ofstream(store_, std::ios::binary) << text; }

  fs::path folder_;
  std::string store_;
};

const char* kStore =
    "[HKEY_LOCAL_MACHINE\\Software\\QRN\\Varnel]\r\n"
    "ClientPath=/opt/qrn/client/\r\n"
    "ProfileType=1\r\n"
    "Title=\xD6\xD0\xCE\xC4\r\n"
    "@=default value\r\n"
    "[HKLM\\Software\\QRN\\Empty]\r\n"
    "[HKEY_CURRENT_USER\\Software\\QRN\\Varnel]\r\n"
    "ClientPath=/home/user/qrn/\r\n";

TEST_F(RegistryStore, OpensKeysByRootAndPathWithoutRegardToCase) {
  WriteStore(kStore);
  using os::RegistryRoot;
  struct {
    RegistryRoot root;
    const char* path;
    const char* value;
    std::optional<std::string> expected;  // nullopt: value absent
    bool opens;
  } cases[] = {
      {RegistryRoot::LocalMachine, "Software\\QRN\\Varnel", "ClientPath", "/opt/qrn/client/", true},
      {RegistryRoot::LocalMachine, "SOFTWARE\\qrn\\varnel", "clientpath", "/opt/qrn/client/", true},
      {RegistryRoot::LocalMachine, "\\Software/QRN/Varnel\\", "ProfileType", "1", true},
      {RegistryRoot::LocalMachine, "Software\\QRN\\Varnel", "Title", "\xD6\xD0\xCE\xC4", true},
      {RegistryRoot::LocalMachine, "Software\\QRN\\Varnel", "", "default value", true},
      {RegistryRoot::LocalMachine, "Software\\QRN\\Varnel", "ServerPath", std::nullopt, true},
      {RegistryRoot::LocalMachine, "Software\\QRN\\Empty", "ClientPath", std::nullopt, true},
      {RegistryRoot::CurrentUser, "Software\\QRN\\Varnel", "ClientPath", "/home/user/qrn/", true},
      {RegistryRoot::LocalMachine, "Software\\QRN", "ClientPath", std::nullopt, false},
      {RegistryRoot::LocalMachine, "Software\\QRN\\Varnel\\Sub", "ClientPath", std::nullopt, false},
      {RegistryRoot::Users, "Software\\QRN\\Varnel", "ClientPath", std::nullopt, false},
  };
  for (const auto& c : cases) {
    std::optional<os::RegistryKey> key = os::RegistryKey::OpenReadOnly(c.root, c.path);
    ASSERT_EQ(key.has_value(), c.opens) << c.path;
    if (!key) continue;
    EXPECT_EQ(key->ReadString(c.value), c.expected) << c.path << " " << c.value;
    EXPECT_EQ(key->ValueExists(c.value), c.expected.has_value()) << c.path << " " << c.value;
  }
  EXPECT_EQ(
      os::RegistryReadString(RegistryRoot::LocalMachine, "Software\\QRN\\Varnel", "ClientPath"),
      "/opt/qrn/client/");
  EXPECT_EQ(os::RegistryReadString(RegistryRoot::LocalMachine, "Software\\None", "ClientPath"), "");
}

TEST_F(RegistryStore, MissingStoreOpensNoKey) {
  EXPECT_FALSE(
      os::RegistryKey::OpenReadOnly(os::RegistryRoot::LocalMachine, "Software\\QRN\\Varnel"));
  EXPECT_EQ(os::GetACP(), 936);
}

TEST_F(RegistryStore, ReadsTheFileAgainAtEveryOpening) {
  WriteStore(kStore);
  EXPECT_TRUE(
      os::RegistryKey::OpenReadOnly(os::RegistryRoot::LocalMachine, "Software\\QRN\\Varnel"));
  WriteStore("[HKEY_LOCAL_MACHINE\\Software\\Other]\n");
  EXPECT_FALSE(
      os::RegistryKey::OpenReadOnly(os::RegistryRoot::LocalMachine, "Software\\QRN\\Varnel"));
}

TEST_F(RegistryStore, DefaultPathIsThePersonalFileThenTheSystemFile) {
  EXPECT_EQ(os::RegistryStorePath(), store_);
  ::setenv("QRN_REGISTRY", "", 1);
  const std::string oldHome = ::getenv("HOME") ? ::getenv("HOME") : "";
  ::setenv("HOME", folder_.c_str(), 1);
  EXPECT_EQ(os::RegistryStorePath(), "/etc/qrn/registry.ini");
  fs::create_directories(folder_ / ".config/qrn");
  std::ofstream(folder_ / ".config/qrn/registry.ini") << "";
  EXPECT_EQ(os::RegistryStorePath(), (folder_ / ".config/qrn/registry.ini").string());
  ::setenv("HOME", oldHome.c_str(), 1);
}

TEST_F(RegistryStore, AnsiCodePageComesFromTheStore) {
  struct {
    const char* acp;  // nullptr: no value
    int expected;
    int applied;
  } cases[] = {
      {"950", 950, 950},   {"936", 936, 936}, {"437", 437, 437}, {"1252", 1252, 437},
      {nullptr, 936, 936}, {"abc", 936, 936}, {"", 936, 936},
  };
  for (const auto& c : cases) {
    std::string text = "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage]\n";
    if (c.acp) text += std::string("ACP=") + c.acp + "\n";
    WriteStore(text);
    EXPECT_EQ(os::GetACP(), c.expected) << (c.acp ? c.acp : "none");
    os::ApplyStoreCodePage();
    EXPECT_EQ(os::SystemCodePage(), c.applied) << (c.acp ? c.acp : "none");
  }
}

TEST_F(RegistryStore, FirstOpeningAppliesTheCodePage) {
  // A process of its own, so that this opening is the first.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  WriteStore("[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage]\nACP=950\n");
  EXPECT_EXIT(
      {
        const bool before = os::SystemCodePage() == 936;
        os::RegistryKey::OpenReadOnly(os::RegistryRoot::LocalMachine, "Software\\QRN\\Varnel");
        const bool applied = os::SystemCodePage() == 950;
        fs::remove_all(folder_);  // the child leaves without TearDown
        std::exit(before && applied ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(RegistryStore, FindsClassesByName) {
  WriteStore(
      "[HKEY_CLASSES_ROOT\\ReportCounterS.dmReportCounter]\n"
      "Library=ReportCounterS.dll\nFactory=CreateReportCounter\n"
      "[HKEY_CLASSES_ROOT\\No.Factory]\nLibrary=Some.so\n");
  std::optional<os::RegisteredClass> found =
      os::FindRegisteredClass("reportcounters.dmreportcounter");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->library, "ReportCounterS.dll");
  EXPECT_EQ(found->factory, "CreateReportCounter");
  EXPECT_FALSE(os::FindRegisteredClass("No.Factory"));
  EXPECT_FALSE(os::FindRegisteredClass("No.Such"));
  EXPECT_FALSE(os::FindRegisteredClass(""));
}

}  // namespace
