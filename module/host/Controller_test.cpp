// The controller as a host sees it: QZLB27C.so loaded by name, GetController looked up by name,
// the operations called through the contract header only.
#include "qzlb27/Controller.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <memory>
#include <vector>

#include "automation/ClassRegistry.h"
#include "automation/DynamicLibrary.h"
#include "framework/testdata/ScriptedPartners.h"
#include "toolkit/Control.h"
#include "toolkit/Dialogs.h"

namespace {

using automation::VarArrayOf;
using automation::Variant;

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "qzlb27_host_tests";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr) app_ = std::make_unique<QApplication>(argc, argv);
  }
  // The application goes before the process exits: by then Qt's own statics are gone.
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

struct Heard {
  std::vector<std::int32_t> codes;
  std::vector<TDLLBaseController*> senders;
};

void Listen(void* data, std::int32_t code, TDLLBaseController* sender) {
  static_cast<Heard*>(data)->codes.push_back(code);
  static_cast<Heard*>(data)->senders.push_back(sender);
}

class JobServer : public scripted::Recorder {
 public:
  JobServer() {
    Method("LoadTable", [](automation::CallArgs) { return Variant(); });
    Method("AS_GetRecords", [](automation::CallArgs) { return Variant(); });
  }
};

class ControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    automation::RegisterClass("ReportCounterS.dmReportCounter",
                              [] { return std::make_shared<JobServer>(); });
    library = automation::DynamicLibrary::Load(QZLB27_TEST_PLUGIN);
    getController = library->EntryAs<TDLLBaseController*()>(qzlb27::GetControllerEntry);
    ASSERT_NE(getController, nullptr);
    manager->validator->answers["ADMMB/01"] = VarArrayOf({"Purchase returns", "", "", "", "N"});
    manager->counter->sysInfo = {{"QRN002", "Test company"}};
    library->Pin();  // the windows' classes stay registered for the process
  }
  void TearDown() override { automation::UnregisterClass("ReportCounterS.dmReportCounter"); }

  std::unique_ptr<TDLLBaseController> NewController() {
    std::unique_ptr<TDLLBaseController> c(getController());
    c->Manager = Variant(manager);
    c->OnHostEvent = {&Listen, &heard};
    return c;
  }

  std::string Shown() const {
    std::string texts;
    for (const auto& d : dialogs.Shown()) texts += d.Text + " | ";
    return texts;
  }
  static Variant Params() { return VarArrayOf({"796", "SDTest60", "SYSDB", 0, Variant()}); }
  // A host push whose values the test window takes as the job's outcome.
  static Variant Outcome(int status, const char* text) {
    return VarArrayOf({false, VarArrayOf({0, VarArrayOf({false, VarArrayOf({status, text})})})});
  }

  scripted::ClientInstallation client{"127.0.0.1", 211};
  std::unique_ptr<automation::DynamicLibrary> library;
  TDLLBaseController* (*getController)() = nullptr;
  std::shared_ptr<scripted::Manager> manager = std::make_shared<scripted::Manager>();
  Heard heard;
  toolkit::ScriptedDialogRunner dialogs;
};

TEST_F(ControllerTest, EventsArriveInOrderAndTheResultIsCaptured) {
  auto controller = NewController();
  ASSERT_EQ(controller->InitModule(Params()), 0) << Shown();
  EXPECT_EQ(heard.codes, std::vector<std::int32_t>{qzlb27::EventCreated});
  EXPECT_EQ(controller->IsWindowVisible(), 0) << "the window starts hidden";
  EXPECT_NE(controller->GetWindowHandle(), 0);

  controller->SetWindowVisible(-1);
  EXPECT_EQ(controller->IsWindowVisible(), -1);
  controller->SetWindowVisible(0);
  EXPECT_EQ(controller->IsWindowVisible(), 0);
  EXPECT_EQ(controller->PushValues(Outcome(1, "J0001")), 0);
  EXPECT_FALSE(controller->CanUnload());
  controller->FreeWindow();

  EXPECT_EQ(heard.codes, (std::vector<std::int32_t>{0x100, 0x110, 0x120, 0x130}));
  for (TDLLBaseController* sender : heard.senders) EXPECT_EQ(sender, controller.get());
  EXPECT_EQ(controller->ResultCode, 1);
  EXPECT_EQ(controller->ResultText, Variant("J0001"));
  EXPECT_TRUE(controller->CanUnload());
}

TEST_F(ControllerTest, EveryOperationWithoutAWindow) {
  auto controller = NewController();
  std::u16string version = u"unchanged";
  controller->GetWindowVersion(version);
  EXPECT_EQ(version, u"unchanged");
  EXPECT_EQ(controller->IsWindowVisible(), 0);
  EXPECT_NO_THROW(controller->SetWindowVisible(-1));
  EXPECT_EQ(controller->GetWindowHandle(), 0);
  EXPECT_EQ(controller->PushValues(Outcome(1, "x")), -1);
  EXPECT_EQ(controller->PushCommand(5, Variant(), Variant()), -1);
  Variant result;
  controller->ShowModalWindow(result);
  EXPECT_EQ(result, Variant(2));
  EXPECT_NO_THROW(controller->FreeWindow());
  Variant info = "unchanged";
  EXPECT_EQ(controller->GetLoginInfo(info), -1);
  EXPECT_EQ(info, Variant("unchanged"));
  EXPECT_TRUE(controller->CanUnload());
  EXPECT_TRUE(heard.codes.empty());
}

TEST_F(ControllerTest, WindowContextAndVersionAfterInitialisation) {
  auto controller = NewController();
  ASSERT_EQ(controller->InitModule(Params()), 0);
  std::u16string version;
  controller->GetWindowVersion(version);
  EXPECT_EQ(version, u"870401-0.00.00");
  Variant info;
  ASSERT_EQ(controller->GetLoginInfo(info), 0);
  EXPECT_EQ(info, VarArrayOf({"796", "SDTest60", "QZLB27", "Purchase returns"}));
  EXPECT_EQ(controller->InitModule(Params()), -1) << "a window is initialised once";
  EXPECT_EQ(heard.codes, std::vector<std::int32_t>{0x100}) << "the window is made once";
}

TEST_F(ControllerTest, PushValuesAndPushCommandRules) {
  auto controller = NewController();
  ASSERT_EQ(controller->InitModule(Params()), 0);
  EXPECT_EQ(controller->PushValues(Variant::Null()), -1);
  EXPECT_EQ(controller->PushValues(Variant(5)), -1);
  EXPECT_EQ(controller->PushValues(Variant()), -1);
  EXPECT_EQ(controller->PushCommand(4, Variant(), Outcome(1, "x")[1]), -1);
  // Code 5 hands [false, Values]: the window reads the host's values themselves.
  EXPECT_EQ(controller->PushCommand(5, Variant("ignored"), Outcome(2, "J0002")[1]), 0);
  controller->FreeWindow();
  EXPECT_EQ(controller->ResultCode, 2);
  EXPECT_EQ(controller->ResultText, Variant("J0002"));
}

TEST_F(ControllerTest, UserClosingTheWindowHidesThenDestroysIt) {
  auto controller = NewController();
  ASSERT_EQ(controller->InitModule(Params()), 0) << Shown();
  controller->SetWindowVisible(-1);
  controller->PushValues(Outcome(1, "J0004"));
  QWidget* window = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible()) window = w;
  }
  ASSERT_NE(window, nullptr);
  window->close();             // as the title bar's close button does
  toolkit::ProcessMessages();  // the window frees itself through its release request
  EXPECT_EQ(heard.codes, (std::vector<std::int32_t>{0x100, 0x110, 0x120, 0x130}));
  EXPECT_EQ(controller->ResultCode, 1);
  EXPECT_EQ(controller->ResultText, Variant("J0004"));
  EXPECT_TRUE(controller->CanUnload());
}

TEST_F(ControllerTest, DestroyingTheControllerDestroysItsOpenWindow) {
  auto controller = NewController();
  ASSERT_EQ(controller->InitModule(Params()), 0);
  controller->SetWindowVisible(-1);
  controller->PushValues(Outcome(1, "J0003"));
  controller.reset();
  // The window goes with its controller: the host hears it hidden and destroyed during the
  // destruction.
  EXPECT_EQ(heard.codes, (std::vector<std::int32_t>{0x100, 0x110, 0x120, 0x130}));
}

TEST_F(ControllerTest, FailedInitialisationAnswersMinusOne) {
  auto controller = NewController();
  // Four elements: the reserved one is missing.
  EXPECT_EQ(controller->InitModule(VarArrayOf({"796", "SDTest60", "SYSDB", 0})), -1);
  EXPECT_FALSE(dialogs.Shown().empty());
  toolkit::ProcessMessages();  // the posted close request closes the window
  toolkit::ProcessMessages();  // and its release request frees it
  EXPECT_EQ(heard.codes, (std::vector<std::int32_t>{0x100, 0x130}));
  EXPECT_TRUE(controller->CanUnload());
}

TEST(Plugin, WithoutWindowClassInitModuleRaisesTheInternalError) {
  auto library = automation::DynamicLibrary::Load(QZLB27_PLUGIN);
  auto* entry = library->EntryAs<TDLLBaseController*()>(qzlb27::GetControllerEntry);
  ASSERT_NE(entry, nullptr);
  std::unique_ptr<TDLLBaseController> a(entry());
  std::unique_ptr<TDLLBaseController> b(entry());
  EXPECT_NE(a.get(), b.get());
  try {
    a->InitModule(VarArrayOf({"796", "SDTest60", "SYSDB", 0, Variant()}));
    ADD_FAILURE() << "no error";
  } catch (const automation::Error& e) {
    EXPECT_STREQ(e.what(), "QRN DLL Internal Error :\rNot Assign \"frmBaseBatchClass\" varible");
  }
  EXPECT_TRUE(a->CanUnload());
  library->Pin();
}

}  // namespace
