#include "host/DLLBaseCtrller.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A controller without a window: the eleven window operations answer as without one.
class WindowlessController : public TDLLBaseController {
 public:
  void GetWindowVersion(std::u16string&) override {}
  std::int32_t IsWindowVisible() override { return 0; }
  void SetWindowVisible(std::int16_t) override {}
  THandle GetWindowHandle() override { return 0; }
  std::int32_t InitModule(const automation::Variant&) override { return -1; }
  std::int32_t PushValues(const automation::Variant&) override { return -1; }
  std::int32_t PushCommand(std::int32_t, const automation::Variant&,
                           const automation::Variant&) override {
    return -1;
  }
  void ShowModalWindow(automation::Variant& Result) override { Result = 2; }
  void FreeWindow() override {}
  std::int32_t GetLoginInfo(automation::Variant&) override { return -1; }
  bool CanUnload() override { return true; }
};

struct Heard {
  std::vector<std::int32_t> codes;
  std::vector<TDLLBaseController*> senders;
};

void Listen(void* data, std::int32_t code, TDLLBaseController* sender) {
  auto* heard = static_cast<Heard*>(data);
  heard->codes.push_back(code);
  heard->senders.push_back(sender);
}

TEST(DLLBaseController, EveryNotificationReachesTheHostWithTheControllerAsSender) {
  WindowlessController controller;
  EXPECT_EQ(controller.ResultCode, 0);
  EXPECT_TRUE(controller.ResultText.IsEmpty());
  EXPECT_TRUE(controller.Manager.IsEmpty());
  Heard heard;
  controller.OnHostEvent = {&Listen, &heard};
  int window = 0;
  controller.NotifyCreated();
  controller.NotifyShown(&window);
  controller.NotifyHidden(&window);
  controller.NotifyDestroyed(&window);
  controller.NotifyCustom();
  controller.DoHostEvent(7);
  controller.Reserved();
  EXPECT_EQ(heard.codes, (std::vector<std::int32_t>{0x100, 0x110, 0x120, 0x130, 0x140, 7}));
  for (TDLLBaseController* sender : heard.senders) EXPECT_EQ(sender, &controller);
}

TEST(DLLBaseController, EmptyHandlerSkipsNotifications) {
  WindowlessController controller;
  EXPECT_NO_THROW(controller.NotifyCreated());
  EXPECT_NO_THROW(controller.NotifyCustom());
  EXPECT_NO_THROW(controller.DoHostEvent(0x130));
}

}  // namespace

namespace {

TEST(GetController, WithoutControllerClassRaisesTheInternalError) {
  ASSERT_EQ(DLLControllerClass, nullptr);
  try {
    GetController();
    ADD_FAILURE() << "no error";
  } catch (const automation::Error& e) {
    EXPECT_STREQ(e.what(), "QRN DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible");
  }
}

TEST(GetController, EachCallGivesAnIndependentController) {
  DLLControllerClass = [] { return static_cast<TDLLBaseController*>(new WindowlessController); };
  std::unique_ptr<TDLLBaseController> a(GetController());
  std::unique_ptr<TDLLBaseController> b(GetController());
  DLLControllerClass = nullptr;
  ASSERT_NE(a, nullptr);
  EXPECT_NE(a.get(), b.get());
  a->ResultCode = 1;
  EXPECT_EQ(b->ResultCode, 0);
}

}  // namespace
