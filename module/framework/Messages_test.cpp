#include "framework/Messages.h"

#include <gtest/gtest.h>

#include "support/LibStrs.h"
#include "testdata/ScriptedPartners.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"

namespace {

using automation::Variant;

class Services : public TGeneServices {
 public:
  bool cancelFocused = false;
  std::string uiCodePage = "936";
  std::vector<toolkit::TMsgDlgType> afterDialogs;

  bool CancelHasFocus() const override { return cancelFocused; }
  std::string UiCodePageText() const override { return uiCodePage; }
  void AfterDialog(toolkit::TMsgDlgType kind) override { afterDialogs.push_back(kind); }
};

class MessagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    services.Manager = Variant(manager);
    services.CaptionText = "QZLB27 window";
    manager->messages["I000004"] = "Document %s recorded";
    manager->messages["E000013"] = "Error thirteen[%s]";
  }
  std::shared_ptr<scripted::Manager> manager = std::make_shared<scripted::Manager>();
  Services services;
  toolkit::ScriptedDialogRunner dialogs;
};

TEST_F(MessagesTest, NegativeNumberRecordsWithoutShowing) {
  services.ShowCode("I;-000004;J123");
  EXPECT_TRUE(dialogs.Shown().empty());
  EXPECT_EQ(services.MessageCodes, "I;-000004;J123; ");
  EXPECT_EQ(services.MessageLog, "Document J123 recorded; ");
  const auto asked = manager->CallsOf("GetMessage").at(0);
  EXPECT_EQ(asked.args[0], Variant("I"));
  EXPECT_EQ(asked.args[1], Variant("000004")) << "the sign is dropped before the lookup";
}

TEST_F(MessagesTest, ShownCodeHasOneEmptyArgumentAndAnOkButton) {
  services.ShowCode("E;000013");
  ASSERT_EQ(dialogs.Shown().size(), 1u);
  const toolkit::MessageDialog& d = dialogs.Shown()[0];
  EXPECT_EQ(d.Text, "Error thirteen[]");
  EXPECT_EQ(d.Kind, toolkit::mtError);
  EXPECT_EQ(d.Caption, "QZLB27 window");
  ASSERT_EQ(d.Buttons.size(), 1u);
  EXPECT_EQ(d.Buttons[0].Name, "OK");
  EXPECT_EQ(d.Buttons[0].Caption, DialogButtonCaption("OK"));
  EXPECT_EQ(services.afterDialogs, std::vector<toolkit::TMsgDlgType>{toolkit::mtError});
}

TEST_F(MessagesTest, DialogKindFollowsTheTypeLetter) {
  struct {
    const char* code;
    toolkit::TMsgDlgType kind;
  } cases[] = {{"C;000001", toolkit::mtWarning},     {"D;000001", toolkit::mtWarning},
               {"W;000001", toolkit::mtWarning},     {"E;000001", toolkit::mtError},
               {"I;000001", toolkit::mtInformation}, {"Q;000001", toolkit::mtConfirmation},
               {"R;200235", toolkit::mtCustom}};
  for (const auto& c : cases) {
    dialogs.Clear();
    services.ShowCode(c.code);
    ASSERT_EQ(dialogs.Shown().size(), 1u) << c.code;
    EXPECT_EQ(dialogs.Shown()[0].Kind, c.kind) << c.code;
    EXPECT_EQ(dialogs.Shown()[0].Buttons.size(), 1u) << "ShowCode always offers OK alone";
  }
}

TEST_F(MessagesTest, RawErrorsAreLoggedOnceUnderThePseudoCode) {
  services.RecordError("  disk full ");
  services.RecordError("disk full");
  EXPECT_EQ(services.MessageCodes, "E;-1; E;-1; ");
  EXPECT_EQ(services.MessageLog, "disk full; ");
  EXPECT_TRUE(dialogs.Shown().empty());

  services.RecordError("   ");
  EXPECT_EQ(services.MessageCodes, "");
  EXPECT_EQ(services.MessageLog, "");
  services.ShowCode("E;000013");
  services.ShowCode("");
  EXPECT_EQ(services.MessageCodes, "");
  EXPECT_EQ(services.MessageLog, "");
}

TEST_F(MessagesTest, NothingWhileCancelHasTheFocus) {
  services.cancelFocused = true;
  services.ShowCode("E;000013");
  services.RecordError("boom");
  services.ShowCode("");
  EXPECT_EQ(services.MessageCodes, "");
  EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(MessagesTest, TextThatDoesNotFitItsArgumentsShowsTheArgumentsPlainly) {
  manager->messages["E000020"] = "Count %d";
  services.ShowCode("E;000020;abc;x");
  ASSERT_EQ(dialogs.Shown().size(), 1u);
  EXPECT_EQ(dialogs.Shown()[0].Text, "Count %d\rabc;x;;;;;;;;;");
}

TEST_F(MessagesTest, TenArgumentsAtMost) {
  EXPECT_NO_THROW(services.ShowCode("I;-000004;1;2;3;4;5;6;7;8;9;10"));
  EXPECT_THROW(services.ShowCode("I;-000004;1;2;3;4;5;6;7;8;9;10;11"), automation::Error);
}

TEST_F(MessagesTest, WithoutManagerTheTextNamesTypeAndNumber) {
  services.Manager = Variant();
  EXPECT_EQ(services.GetMessageText("E", "000013"), "Can not Get Message\rType= E, ID= 000013 ");
}

TEST_F(MessagesTest, ShowMessageCodeUsesDefaultOrGivenButtonsAndLogsNothing) {
  manager->messages["W000002"] = "%s: %d expected, %d found";
  dialogs.AnswerButton("Cancel");
  const Variant args[] = {"titles", 3, 2};
  EXPECT_EQ(services.ShowMessageCode("W", "000002", args, 2, 0), toolkit::mrCancel);
  ASSERT_EQ(dialogs.Shown().size(), 1u);
  EXPECT_EQ(dialogs.Shown()[0].Text, "titles: 3 expected, 2 found");
  ASSERT_EQ(dialogs.Shown()[0].Buttons.size(), 2u);
  EXPECT_EQ(dialogs.Shown()[0].Buttons[0].Name, "OK");
  EXPECT_EQ(dialogs.Shown()[0].Buttons[1].Name, "Cancel");
  EXPECT_EQ(services.MessageCodes, "");
  EXPECT_EQ(services.MessageLog, "");

  dialogs.AnswerButton("No");
  EXPECT_EQ(services.ShowMessageCode("W", "000002", args, 2, toolkit::mbYesNo), toolkit::mrNo);
  EXPECT_EQ(dialogs.Shown()[1].Buttons[1].Name, "No");

  manager->messages["D000009"] = "Really?";
  dialogs.AnswerButton("Yes");
  EXPECT_EQ(services.ShowMessageCode("D", "000009", {}, -1, 0), toolkit::mrYes);
  EXPECT_EQ(dialogs.Shown()[2].Buttons.size(), 3u) << "D: Yes, No, Cancel";

  EXPECT_THROW(services.ShowMessageCode("W", "000002", args, -1, 0), automation::Error)
      << "the caller sees a text that does not fit";
}

TEST_F(MessagesTest, OnlyErrorsWhileAPageChangeIsValidating) {
  services.ChangingPage = true;
  EXPECT_EQ(services.ShowText("careful", toolkit::mtWarning, toolkit::mbOKCancel), 0);
  EXPECT_TRUE(dialogs.Shown().empty());
  dialogs.Answer(toolkit::mrOk);
  EXPECT_EQ(services.ShowText("wrong", toolkit::mtError, toolkit::ButtonSet({toolkit::mbOK})),
            toolkit::mrOk);
  EXPECT_EQ(dialogs.Shown().size(), 1u);
}

TEST_F(MessagesTest, EnglishInterfaceKeepsTheStandardCaptions) {
  services.uiCodePage = "437";
  services.ShowText("q", toolkit::mtConfirmation, toolkit::mbYesNo);
  services.uiCodePage = "936";
  services.ShowText("q", toolkit::mtConfirmation, toolkit::mbYesNo);
  ASSERT_EQ(dialogs.Shown().size(), 2u);
  EXPECT_EQ(dialogs.Shown()[0].Buttons[0].Caption, "&Yes");
  EXPECT_EQ(dialogs.Shown()[0].Buttons[1].Caption, "&No");
  EXPECT_EQ(dialogs.Shown()[1].Buttons[0].Caption, DialogButtonCaption("Yes"));
  EXPECT_EQ(dialogs.Shown()[1].Buttons[1].Caption, DialogButtonCaption("No"));
}

}  // namespace
