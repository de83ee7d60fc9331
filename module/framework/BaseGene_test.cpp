#include "framework/BaseGene.h"

#include <gtest/gtest.h>

#include "testdata/GeneTestWindow.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/WindowPicture.h"

namespace {

using automation::VarArrayOf;
using automation::Variant;
using genetest::BaseGeneTest;
using genetest::TfrmGeneTest;

TEST_F(BaseGeneTest, InitialisesShowsAndIsPictured) {
  TfrmGeneTest* w = NewWindow();
  ASSERT_TRUE(w->InitWindow(Params())) << ::testing::PrintToString(Texts());
  EXPECT_EQ(w->ProgramCode, "QZLB27");
  EXPECT_EQ(w->ServerClassName, "QZLB27S.Class1");
  EXPECT_EQ(w->ProgramName, "Purchase returns");
  EXPECT_TRUE(w->WantLog);
  EXPECT_EQ(w->OptionCount, 2);
  EXPECT_TRUE(w->JobServer.IsDispatch());
  EXPECT_FALSE(w->Visible()) << "initialised windows stay hidden";
  w->Show();
  EXPECT_EQ(w->Caption(), "Purchase returns[Test company]");
  ASSERT_NE(w->lstCondition, nullptr);
  ASSERT_NE(w->ClientDataSet1, nullptr);
  EXPECT_EQ(w->ClientDataSet1->RecordCount(), 2);
  const std::string dir = QZLB27_BUILD_DIR;
  EXPECT_TRUE(toolkit::SaveWindowPicture(w, dir + "/TfrmBaseGene-page1.png"));
  w->spList->ListBox()->AddRow({"R001-00000000001"});
  w->spList->ListBox()->AddRow({"R001-00000000002"});
  w->spList->ListBox()->Flush();
  w->pgOption->SetActivePage(w->tsPanels);
  EXPECT_TRUE(toolkit::SaveWindowPicture(w, dir + "/TfrmBaseGene-panels.png"));
  w->pgOption->SetActivePage(w->tsOption2);
  w->tsOption2Show(w->tsOption2);
  EXPECT_TRUE(toolkit::SaveWindowPicture(w, dir + "/TfrmBaseGene-page2.png"));
  EXPECT_TRUE(dialogs.Shown().empty()) << ::testing::PrintToString(Texts());
}

TEST_F(BaseGeneTest, FailedInitialisations) {
  {
    // Four elements: the missing reserved element is reported, again by the connection, and
    // no job server is reached.
    TfrmGeneTest* w = NewWindow();
    EXPECT_FALSE(w->InitWindow(VarArrayOf({"796", "SDTest60", "SYSDB", 0})));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"parameters missing", "parameters missing",
                                                 "no job server"}));
    EXPECT_EQ(w->ProgramName, "Purchase returns") << "the context was still set up";
    EXPECT_FALSE(w->InitWindow(Params())) << "a window is initialised once";
  }
  {
    dialogs.Clear();
    TfrmGeneTest* w = NewWindow("frmAbcd27");
    EXPECT_TRUE(w->InitWindow(Params())) << "the window closes, the result stays true";
    EXPECT_EQ(Texts(), std::vector<std::string>{"wrong program"});
    EXPECT_TRUE(w->JobServer.IsEmpty()) << "no connection attempt";
  }
  {
    dialogs.Clear();
    setenv("QRN_REGISTRY", "/nonexistent/registry.ini", 1);
    TfrmGeneTest* w = NewWindow();
    EXPECT_FALSE(w->InitWindow(Params()));
    EXPECT_EQ(Texts(), std::vector<std::string>{"no job server"});
  }
}

TEST(ProgramCode, FromTheModuleFileName) {
  struct {
    const char* path;
    bool library;
    const char* code;
  } cases[] = {{"/opt/ABC123C.dll", true, "ABC123"},
               {"AB1C.dll", true, "AB1C"},
               {"/x/QZLB27C.so", true, "QZLB27"},
               {"C:\\erp\\QZLB27CX.exe", false, "QZLB27"},
               {"QZLB2.so", true, "QZLB2"}};
  for (const auto& c : cases) {
    EXPECT_EQ(TfrmBaseGene::ProgramCodeFromModule(c.path, c.library), c.code) << c.path;
  }
}

TEST_F(BaseGeneTest, RequestSkeletonAndItsWarnings) {
  manager->messages["W000003"] = "%s: %d entries, entry %d empty";
  TfrmGeneTest* w = NewWindow();
  ASSERT_TRUE(w->InitWindow(Params()));
  w->me01->SetText("R001-00000000001");
  w->edPrintDate->SetText("2009/05/17");
  ASSERT_TRUE(w->BuildOptionParams()) << ::testing::PrintToString(Texts());
  const Variant& request = w->JobRequest;
  EXPECT_EQ(request[0][1], Variant("QZLB27"));
  EXPECT_EQ(request[0][2], Variant(9));
  EXPECT_EQ(request[0][3], Variant(2));
  EXPECT_EQ(request[0][9], Variant("R"));
  EXPECT_EQ(request[1][2], VarArrayOf({w->lblToday->Caption(), "edPrintDate"}))
      << "the framework's entries take the last positions";
  EXPECT_EQ(request[2][1], Variant("R001-00000000001"));
  EXPECT_EQ(request[2][2], Variant("20090517"));

  w->leaveTitleEmpty = true;
  EXPECT_FALSE(w->BuildOptionParams());
  ASSERT_FALSE(dialogs.Shown().empty());
  EXPECT_NE(dialogs.Shown().back().Text.find(": 2 entries, entry 1 empty"), std::string::npos)
      << dialogs.Shown().back().Text;

  // Titles of another size name both sizes.
  manager->messages["W000002"] = "%s: %d entries expected, %d given";
  w->leaveTitleEmpty = false;
  w->titleCount = 3;
  EXPECT_FALSE(w->BuildOptionParams());
  EXPECT_NE(dialogs.Shown().back().Text.find(": 2 entries expected, 3 given"), std::string::npos)
      << dialogs.Shown().back().Text;
}

// A host push naming its components: [mode, [by name, [[entries [x, name]], values]]].
Variant PushByName(int mode, const char* name) {
  return VarArrayOf(
      {Variant(),
       VarArrayOf({mode, VarArrayOf({true, VarArrayOf({VarArrayOf({VarArrayOf({0, name})}),
                                                       VarArrayOf({"v"})})})})});
}

TEST_F(BaseGeneTest, HostPushModes) {
  manager->messages["W000014"] = "names cannot take values";
  TfrmGeneTest* w = NewWindow();
  ASSERT_TRUE(w->InitWindow(Params()));
  struct {
    int mode;
    const char* name;
    bool autoConfirm;
    bool showMessages;
    size_t hostModes;
  } cases[] = {
      {0, "me01", false, true, 0},  // mode 0 changes nothing visible
      {1, "me01", true, true, 0},   // a successful check presses OK
      {2, "cbo1", true, false, 0},
      {3, "chk1", true, false, 1},  // run modes above 2 go to RunHostMode instead of OK
      {1, "nothere", false, true, 1},
  };
  for (const auto& c : cases) {
    dialogs.Clear();
    w->HostPush(PushByName(c.mode, c.name));
    EXPECT_EQ(w->AutoConfirm, c.autoConfirm) << c.mode << c.name;
    EXPECT_EQ(w->ShowMessages, c.showMessages) << c.mode << c.name;
    EXPECT_EQ(w->hostModes.size(), c.hostModes) << c.mode << c.name;
  }
  EXPECT_EQ(w->hostModes, std::vector<int>{3});
  EXPECT_EQ(Texts(), std::vector<std::string>{"names cannot take values"});
  EXPECT_TRUE(w->TextsConverted) << "a push converts the window's texts once";
}

TEST_F(BaseGeneTest, F1AsksTheManagerForTheProgramsHelpTopic) {
  TfrmGeneTest* w = NewWindow();
  ASSERT_TRUE(w->InitWindow(Params()));
  toolkit::Word key = toolkit::VK_F1;
  w->FormKeyDown(w, key, 0);
  ASSERT_EQ(manager->CountOf("CallHelp"), 1);
  EXPECT_EQ(manager->CallsOf("CallHelp")[0].args[0], VarArrayOf({"QZL", "13270000"}));
}

TEST_F(BaseGeneTest, InvalidDateRefusesThePageChange) {
  manager->messages["E000005"] = "not a date";
  TfrmGeneTest* w = NewWindow();
  ASSERT_TRUE(w->InitWindow(Params()));
  w->Show();
  struct {
    const char* text;
    bool allowed;
  } cases[] = {
      {"2009/02/30", false}, {"2009/05/17", true}, {"    /  /  ", true}, {"2009/05/  ", false}};
  for (const auto& c : cases) {
    dialogs.Clear();
    w->me01->SetText(c.text);
    w->SetActiveControl(w->me01);
    bool allow = true;
    w->pgOptionChanging(w->pgOption, allow);
    EXPECT_EQ(allow, c.allowed) << c.text;
    EXPECT_EQ(w->CheckFailed, !c.allowed) << c.text;
    EXPECT_EQ(Texts(),
              c.allowed ? std::vector<std::string>{} : std::vector<std::string>{"not a date"})
        << c.text;
    EXPECT_FALSE(w->ChangingPage);
  }
}

TEST_F(BaseGeneTest, RequiredFieldsAreColouredAndBlockOk) {
  manager->messages["E000037"] = "required";
  TfrmGeneTest* w = NewWindow();
  ASSERT_TRUE(w->InitWindow(Params()));
  const toolkit::TColor before = w->me01->Color();
  w->SetRequiredFields("me01;Y;0,mm1;N;0");
  EXPECT_EQ(w->me01->Color(), RequiredFieldColour);
  EXPECT_EQ(w->mm1->Color(), RequiredFieldColour) << "flag N is coloured too";
  EXPECT_TRUE(w->CheckRequiredFields(w->RequiredFields));
  EXPECT_EQ(Texts(), std::vector<std::string>{"required"});
  w->me01->SetText("R001");
  EXPECT_FALSE(w->CheckRequiredFields(w->RequiredFields)) << "mm1 never blocks";
  w->SetRequiredFields("mm1;Y;0");
  EXPECT_EQ(w->me01->Color(), before) << "the first list's colours come back";
  EXPECT_EQ(w->mm1->Color(), RequiredFieldColour);
}

TEST_F(BaseGeneTest, RequiredFieldsTwiceKeepTheButtonsOwnHandler) {
  manager->messages["E000037"] = "required";
  TfrmGeneTest* w = InitialisedWindow();
  const toolkit::Method own = toolkit::GetMethodPropOf(w->btnOk, "OnClick");
  w->SetRequiredFields("spRange;Y;1");
  EXPECT_EQ(w->spRange->edBegin()->Color(), RequiredFieldColour);
  EXPECT_NE(w->spRange->edFinal()->Color(), RequiredFieldColour) << "part 1: the begin edit";
  w->SetRequiredFields("spRange;Y;3,me01;N;0");
  EXPECT_NE(w->spRange->edBegin()->Color(), RequiredFieldColour) << "the first list's colours";
  EXPECT_EQ(w->spRange->ListBox()->Color(), RequiredFieldColour);
  EXPECT_EQ(toolkit::GetMethodPropOf(w->btnOk, "OnClick"), w->OnRequiredExit);
  ASSERT_EQ(w->RequiredFieldHandlers.size(), 1u);
  EXPECT_EQ(w->RequiredFieldHandlers[0].second, own)
      << "the saved handler is the button's own, not the check";
}

TEST_F(BaseGeneTest, PeriodButtonDownWithAnEmptyRequiredField) {
  manager->messages["E000037"] = "required";
  TfrmGeneTest* w = InitialisedWindow();
  w->Show();
  auto* period = new toolkit::SpeedButton(w);
  period->SetName("btnPeriod");
  period->SetParent(w->Panel1);
  period->SetGroupIndex(1);
  period->SetAllowAllUp(true);
  w->SetRequiredFields("me01;Y;0");
  period->SetDown(true);
  w->pgOption->SetActivePage(w->tsOption1);
  w->RequiredExit(period);
  EXPECT_TRUE(w->CheckFailed);
  EXPECT_EQ(Texts(), std::vector<std::string>{"required"});
  EXPECT_FALSE(period->Down()) << "the period button is released";
  EXPECT_FALSE(w->tsOption2->TabVisible()) << "and the last page's tab hidden";

  dialogs.Clear();
  w->me01->SetText("R001");
  period->SetDown(true);
  w->RequiredExit(period);
  EXPECT_FALSE(w->CheckFailed);
  EXPECT_TRUE(period->Down());
  EXPECT_TRUE(Texts().empty());
}

TEST_F(BaseGeneTest, SchemeValuesCaptureAndRestore) {
  TfrmGeneTest* w = NewWindow();
  ASSERT_TRUE(w->InitWindow(Params()));
  w->mm1->Lines()->Assign(std::vector<std::string>{"a"});
  w->chk1->SetChecked(true);
  w->cbo1->SetItemIndex(1);
  w->me01->SetText("R001");
  EXPECT_EQ(w->CaptureValues("gone.text;chk1.checked;cbo1.itemindex;cbo1.style;"),
            "\r\nTrue\r\n1\r\n" + toolkit::GetEnumPropOf(w->cbo1, "Style") + "\r\n")
      << "a missing component keeps its line";

  // An entry whose property takes no text (an object) is skipped; the later values still come.
  w->chk1->SetChecked(false);
  EXPECT_TRUE(w->ApplySchemeValues("chk1.Font;chk1.checked;cbo1.itemindex;gone.text;",
                                   "x\r\nTrue\r\n2\r\ny\r\n"));
  EXPECT_TRUE(w->chk1->Checked());
  EXPECT_EQ(w->cbo1->ItemIndex(), 2);

  // An enumeration wants its name: "1" ends the restore with false, earlier values stay.
  EXPECT_FALSE(w->ApplySchemeValues("cbo1.itemindex;chk1.checked;", "0\r\n1\r\n"));
  EXPECT_EQ(w->cbo1->ItemIndex(), 0);
}

TEST_F(BaseGeneTest, EnterInAMemoBreaksLinesUntilItsThirdLine) {
  TfrmGeneTest* w = NewWindow();
  ASSERT_TRUE(w->InitWindow(Params()));
  w->mm1->Lines()->Assign(std::vector<std::string>{"one", "two", "three"});
  w->SetActiveControl(w->mm1);
  for (int line : {0, 1, 2}) {
    w->mm1->SetCaretPos(0, line);
    char key = '\r';
    w->FormKeyPress(w, key);
    EXPECT_EQ(key, line < 2 ? '\r' : '\0') << "line " << line;
  }
  w->SetActiveControl(w->me01);
  char key = '\r';
  w->FormKeyPress(w, key);
  EXPECT_EQ(key, '\0') << "elsewhere Enter moves on";
}

}  // namespace
