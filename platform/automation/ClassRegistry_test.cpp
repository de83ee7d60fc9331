#include "automation/ClassRegistry.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// Without a locator of its own, CreateObject finds a class through the registry store's class
// key, the way an installed in-process server is found.
TEST(ClassRegistry, StoreClassKeysServeWhenNoLocatorIsInstalled) {
  std::string folder = (fs::temp_directory_path() / "qrn-classes-XXXXXX").string();
  ASSERT_NE(::mkdtemp(folder.data()), nullptr);
  const std::string store = folder + "/registry.ini";
  std::ofstream(store) << "[HKEY_CLASSES_ROOT\\Store.Echo]\n"
                          "Library=" QZLB27_TESTLIB_DIR
                          "/AutomationTestLib.dll\n"
                          "Factory=CreateEcho\n"
                          "[HKEY_CLASSES_ROOT\\Store.NoEntry]\n"
                          "Library=" QZLB27_TESTLIB_DIR
                          "/AutomationTestLib.dll\n"
                          "Factory=Missing\n";
  ::setenv("QRN_REGISTRY", store.c_str(), 1);
  automation::SetClassLocator({});

  automation::Variant echo = automation::CreateOleObject("store.echo");
  EXPECT_EQ(echo.Call("ClassName").AsAnsi(), "store.echo");
  EXPECT_EQ(echo.Call("Twice", {21}).AsInteger(), 42);
  EXPECT_THROW(automation::CreateObject("Store.NoEntry"), automation::Error);
  EXPECT_THROW(automation::CreateObject("Store.Unknown"), automation::Error);

  // An installed locator takes the place of the store.
  automation::SetClassLocator(
      [](std::string_view) -> std::optional<automation::ClassLocation> { return std::nullopt; });
  EXPECT_THROW(automation::CreateObject("Store.Echo"), automation::Error);
  automation::SetClassLocator({});

  ::unsetenv("QRN_REGISTRY");
  fs::remove_all(folder);
}

}  // namespace
