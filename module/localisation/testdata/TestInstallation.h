// An installation of the client platform in a temporary folder of the test's own, so that no test
// reads the machine's registry store or configuration: the registry store (QRN_REGISTRY) with the
// platform folders and the system code page, "VarnelC.ini" and "VarnelS.ini" with the code
// pages, the language folders, and the folders where the conversion libraries are found
// (QZLB27_LIBRARY_PATH). The system code page of the process follows the store while the
// installation lives and goes back to 936 afterwards.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "os/CodePage.h"
#include "os/Registry.h"

class TestInstallation {
 public:
  // uiCodePage: [CodePage] UICodePage of both files ("" leaves it out: the system code page);
  // dbCodePage likewise DBCodePage; acp: the system code page of the store.
  explicit TestInstallation(const std::string& uiCodePage, const std::string& dbCodePage = "936",
                            const std::string& acp = "936") {
    std::string pattern = (std::filesystem::temp_directory_path() / "qzlb27-lang-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
    folder_ = pattern;
    root_ = (folder_ / "App").string() + "/";
    std::filesystem::create_directories(root_);
    {
      std::ofstream store(folder_ / "registry.ini");
      store << "[HKEY_LOCAL_MACHINE\\Software\\QRN\\Varnel]\n"
            << "ClientPath=" << root_ << "\nServerPath=" << root_ << "\nProfileType=0\n"
            << "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage]\n"
            << "ACP=" << acp << "\n";
    }
    for (const char* name : {"VarnelC.ini", "VarnelS.ini"}) {
      std::ofstream ini(root_ + name);
      ini << "[CodePage]\n";
      if (!uiCodePage.empty()) ini << "UICodePage=" << uiCodePage << "\n";
      if (!dbCodePage.empty()) ini << "DBCodePage=" << dbCodePage << "\n";
      ini << "[Server Information]\nComputerName=127.0.0.1\nServerPort=211\n";
    }
    ::setenv("QRN_REGISTRY", (folder_ / "registry.ini").c_str(), 1);
    ::setenv("QZLB27_LIBRARY_PATH", QZLB27_TESTLIB_DIR ":" QZLB27_LIBRARY_DIR, 1);
    os::ApplyStoreCodePage();
  }
  ~TestInstallation() {
    ::unsetenv("QRN_REGISTRY");
    os::SetSystemCodePage(os::CP_GBK);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  TestInstallation(const TestInstallation&) = delete;
  TestInstallation& operator=(const TestInstallation&) = delete;

  // The platform folder, ending in "/".
  const std::string& Root() const { return root_; }
  // The language folder of a language ("CHS", "CHT", "ENG"), made when missing.
  std::string MakeLanguageFolder(const std::string& language) const {
    const std::string folder = root_ + "MultiLanguage/" + language + "/";
    std::filesystem::create_directories(folder);
    return folder;
  }
  // Writes a pack file (bytes as given) into the language folder; answers its full name.
  std::string WritePack(const std::string& language, const std::string& package,
                        const std::string& text) const {
    const std::string file = MakeLanguageFolder(language) + package + ".Lng";
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }

 private:
  std::filesystem::path folder_;
  std::string root_;
};
