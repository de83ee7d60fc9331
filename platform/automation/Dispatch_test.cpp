#include "automation/Dispatch.h"

#include <gtest/gtest.h>

#include "automation/ClassRegistry.h"
#include "automation/DynamicLibrary.h"

namespace automation {
namespace {

// A counter object with one method that writes back its by-reference argument.
class Counter : public DispatchTable {
 public:
  Counter() {
    DefineProperty("Value", [this] { return Variant(value_); },
                   [this](const Variant& v) { value_ = v.AsInteger(); });
    DefineProperty("Name", [] { return Variant("counter"); });
    DefineMethod("Next", [this](CallArgs a) {
      a[0] = ++value_;  // the new number goes back through the first argument
      return Variant(true);
    });
  }

 private:
  int value_ = 0;
};

TEST(Dispatch, CallsAndPropertiesByNameIgnoringCase) {
  Variant counter(std::make_shared<Counter>());
  counter.Set("value", 41);
  EXPECT_EQ(counter.Get("VALUE").AsInteger(), 41);
  Variant args[] = {Variant()};
  const bool byRef[] = {true};
  EXPECT_TRUE(counter.Call("next", args, byRef).AsBoolean());
  EXPECT_EQ(args[0].AsInteger(), 42);
  EXPECT_EQ(counter.Call("Name").AsAnsi(), "counter");  // a property read as a method call
}

TEST(Dispatch, RefusedCallsThrowClearErrors) {
  Variant counter(std::make_shared<Counter>());
  struct {
    std::function<void()> call;
    const char* message;
  } cases[] = {
      {[&] { counter.Call("Missing"); }, "Method 'Missing' not supported by automation object"},
      {[&] { counter.Set("Name", "x"); }, "Property 'Name' is read only"},
      {[&] { counter.Call("Next"); }, "Parameter not optional"},
  };
  for (const auto& c : cases) {
    try {
      c.call();
      ADD_FAILURE() << c.message;
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

TEST(ClassRegistry, CreatesRegisteredClassesByName) {
  RegisterClass("Test.Counter", [] { return std::make_shared<Counter>(); });
  Variant a = CreateOleObject("test.counter");
  Variant b = CreateOleObject("Test.Counter");
  a.Set("Value", 5);
  EXPECT_EQ(b.Get("Value").AsInteger(), 0);  // each call makes a new object
  UnregisterClass("TEST.COUNTER");
  EXPECT_THROW(CreateObject("Test.Counter"), Error);
}

TEST(ClassRegistry, UnknownClassIsAnInvalidClassString) {
  try {
    CreateObject("No.Such");
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Invalid class string: No.Such");
  }
}

TEST(ClassRegistry, LocatorFindsAFactoryInALibrary) {
  SetClassLocator([](std::string_view name) -> std::optional<ClassLocation> {
    if (SameName(name, "Lib.Echo"))
      return ClassLocation{QZLB27_TESTLIB_DIR "/AutomationTestLib.dll", "CreateEcho"};
    if (SameName(name, "Lib.NoEntry"))
      return ClassLocation{QZLB27_TESTLIB_DIR "/AutomationTestLib.dll", "Missing"};
    if (SameName(name, "Lib.NoLib")) return ClassLocation{"/nowhere/Nothing.dll", "Create"};
    return std::nullopt;
  });
  Variant echo = CreateOleObject("Lib.Echo");
  EXPECT_EQ(echo.Call("ClassName").AsAnsi(), "Lib.Echo");
  EXPECT_EQ(echo.Call("twice", {21}).AsInteger(), 42);
  EXPECT_THROW(CreateObject("Lib.NoEntry"), Error);
  EXPECT_THROW(CreateObject("Lib.NoLib"), Error);
  SetClassLocator({});
  EXPECT_THROW(CreateObject("Lib.Echo"), Error);
}

TEST(DynamicLibrary, LoadsByTheSystemsNameAndFindsEntries) {
  auto lib = DynamicLibrary::Load(QZLB27_TESTLIB_DIR "/AutomationTestLib.DLL");
  auto addOne = lib->EntryAs<int(int)>("AddOne");
  ASSERT_NE(addOne, nullptr);
  EXPECT_EQ(addOne(1), 2);
  EXPECT_EQ(lib->Entry("NoSuchEntry"), nullptr);
  std::string error;
  EXPECT_EQ(DynamicLibrary::TryLoad("NoSuchLibrary.dll", &error), nullptr);
  EXPECT_NE(error.find("NoSuchLibrary.so"), std::string::npos) << error;
  EXPECT_THROW(DynamicLibrary::Load("NoSuchLibrary"), Error);
}

TEST(DynamicLibrary, SearchesTheLibraryPath) {
  setenv("QZLB27_LIBRARY_PATH", "/nowhere:" QZLB27_TESTLIB_DIR, 1);
  auto lib = DynamicLibrary::TryLoad("AutomationTestLib.dll");
  unsetenv("QZLB27_LIBRARY_PATH");
  ASSERT_NE(lib, nullptr);
  EXPECT_EQ(lib->FileName(), QZLB27_TESTLIB_DIR "/AutomationTestLib.so");
}

}  // namespace
}  // namespace automation
