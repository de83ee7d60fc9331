// The condition schemes of the option window: the list, open, delete, rename, view styles and
// saving, and the scheme values of every kind of option, selection panels in all their styles
// included.
#include <gtest/gtest.h>

#include "support/GbkText.h"
#include "testdata/GeneTestWindow.h"
#include "toolkit/ListView.h"
#include "toolkit/Menus.h"
#include "toolkit/ToolBar.h"
#include "toolkit/WindowPicture.h"

namespace {

using automation::VarArrayOf;
using automation::Variant;
using genetest::BaseGeneTest;
using genetest::TfrmGeneTest;

const std::string F(1, '\x03');        // field mark of a panel value
const std::string R(1, '\x04');        // row mark
const std::string C(1, '\x01');        // column mark
const std::string kBlanks = "      ";  // the end of every text of the base window's dialogs

std::vector<std::string> Captions(toolkit::ListView* list) {
  std::vector<std::string> captions;
  for (int i = 0; i < list->Items()->Count(); ++i) {
    captions.push_back(list->Items()->ItemAs<toolkit::ListItem>(i)->Caption());
  }
  return captions;
}

toolkit::ListItem* ItemNamed(toolkit::ListView* list, const std::string& caption) {
  for (int i = 0; i < list->Items()->Count(); ++i) {
    auto* item = list->Items()->ItemAs<toolkit::ListItem>(i);
    if (item->Caption() == caption) return item;
  }
  return nullptr;
}

std::vector<std::vector<std::string>> Rows(TSelectPanel* panel) {
  std::vector<std::vector<std::string>> rows;
  TZelListView* list = panel->ListBox();
  for (int i = 0; i < list->RowCount(); ++i) {
    std::vector<std::string> row{list->RowCaption(i)};
    for (const std::string& s : list->RowSubItems(i)) row.push_back(s);
    rows.push_back(row);
  }
  return rows;
}

using SchemeTest = BaseGeneTest;

TEST_F(SchemeTest, ListShowsTheSchemesOfTheUserAndProgram) {
  TfrmGeneTest* w = ShownWindow();
  EXPECT_EQ(Captions(w->lstCondition), (std::vector<std::string>{"Monthly", "Weekly"}));
  ASSERT_EQ(jobServer->CountOf("LoadTable"), 1);
  EXPECT_EQ(jobServer->CallsOf("LoadTable")[0].args[0], VarArrayOf({"796", "QZLB27"}));
  toolkit::ListItem* monthly = ItemNamed(w->lstCondition, "Monthly");
  ASSERT_NE(monthly, nullptr);
  EXPECT_EQ(monthly->ImageIndex(), 0);
  EXPECT_EQ(monthly->SubItems()->Lines(), std::vector<std::string>{"2009/05/17"});
  EXPECT_EQ(w->lstCondition->ViewStyle(), toolkit::ListView::vsIcon)
      << "the view style comes back after filling";
  ASSERT_EQ(w->lstCondition->Columns()->Count(), 2);
  EXPECT_EQ(w->lstCondition->Columns()->ItemAs<toolkit::ListColumn>(0)->Caption(), Gbk("方案名称"));
  EXPECT_EQ(w->lstCondition->Columns()->ItemAs<toolkit::ListColumn>(1)->Caption(), Gbk("创建时间"));

  // Loading that fails raises its message again, and leaves the list usable.
  jobServer->DefineMethod("AS_GetRecords",
                          [](automation::CallArgs) -> Variant { throw automation::Error("gone"); });
  try {
    w->LoadSchemeList();
    ADD_FAILURE() << "no error";
  } catch (const automation::Error& e) {
    EXPECT_STREQ(e.what(), "gone");
  }
  toolkit::ListItem* added = w->lstCondition->Items()->Add();
  added->SetCaption("after");
  EXPECT_EQ(Captions(w->lstCondition), std::vector<std::string>{"after"})
      << "the list's update was ended";

  // Without a job server the list stays as it is.
  w->JobServer = Variant();
  EXPECT_FALSE(w->LoadSchemeList());
  EXPECT_EQ(Captions(w->lstCondition), std::vector<std::string>{"after"});
}

TEST_F(SchemeTest, OpenAppliesTheSelectedScheme) {
  TfrmGeneTest* w = ShownWindow();
  w->btnOpenClick(w);
  EXPECT_EQ(w->schemesOpened, 0) << "nothing without a selected item";

  w->lstCondition->SetSelected(ItemNamed(w->lstCondition, "Monthly"));
  w->btnOpenClick(w);
  EXPECT_EQ(w->me01->Text(), "2009/05/01") << "a date field shows the window's date format";
  EXPECT_EQ(w->me01->GetEditMask(), w->DateEditMask());
  EXPECT_EQ(w->schemesOpened, 1);
  EXPECT_TRUE(Texts().empty());

  // A scheme naming a component that is gone applies the rest without a message; one whose
  // values cannot be applied shows R 200235.
  manager->messages["R200235"] = "scheme cannot be applied";
  jobServer->records.push_back(
      {"Old", "796", "QZLB27", "20090101", "gone.text;chk1.checked;", "x\r\nTrue\r\n"});
  jobServer->records.push_back({"Broken", "796", "QZLB27", "20090101", "chk1.checked;", "1\r\n"});
  w->LoadSchemeList();
  w->lstCondition->SetSelected(ItemNamed(w->lstCondition, "Old"));
  w->btnOpenClick(w);
  EXPECT_TRUE(w->chk1->Checked());
  EXPECT_TRUE(Texts().empty());
  w->lstCondition->SetSelected(ItemNamed(w->lstCondition, "Broken"));
  w->btnOpenClick(w);
  EXPECT_EQ(Texts(), std::vector<std::string>{"scheme cannot be applied"});
  EXPECT_EQ(w->schemesOpened, 3) << "the hook follows even a failed restore";
}

TEST_F(SchemeTest, DeleteAsksFirst) {
  TfrmGeneTest* w = ShownWindow();
  w->lstCondition->SetSelected(ItemNamed(w->lstCondition, "Weekly"));
  dialogs.Answer(toolkit::mrNo);
  w->btnDeleteClick(w);
  ASSERT_EQ(dialogs.Shown().size(), 1u);
  EXPECT_EQ(dialogs.Shown()[0].Text, Gbk("确实要删除此方案吗？") + "Weekly" + kBlanks);
  EXPECT_EQ(dialogs.Shown()[0].Kind, toolkit::mtConfirmation);
  EXPECT_EQ(jobServer->CountOf("DeleteConTable"), 0) << "No changes nothing";

  dialogs.Answer(toolkit::mrYes);
  w->btnDeleteClick(w);
  ASSERT_EQ(jobServer->CountOf("DeleteConTable"), 1);
  EXPECT_EQ(jobServer->CallsOf("DeleteConTable")[0].args[0],
            VarArrayOf({"Weekly", "796", "QZLB27"}));
  EXPECT_EQ(Captions(w->lstCondition), std::vector<std::string>{"Monthly"});

  // A refusal is raised with the server's text and the list is not reloaded.
  jobServer->refusal = "in use";
  w->lstCondition->SetSelected(ItemNamed(w->lstCondition, "Monthly"));
  dialogs.Answer(toolkit::mrYes);
  const int loads = jobServer->CountOf("LoadTable");
  EXPECT_THROW(
      try { w->btnDeleteClick(w); } catch (const automation::Error& e) {
        EXPECT_STREQ(e.what(), "in use");
        throw;
      },
      automation::Error);
  EXPECT_EQ(jobServer->CountOf("LoadTable"), loads);
}

TEST_F(SchemeTest, RenameRules) {
  TfrmGeneTest* w = ShownWindow();
  struct {
    std::string to;
    const char* refusal;  // the dialog's text, or null when the rename goes ahead
    bool sent;
  } cases[] = {
      {"   ", "方案名不可空白!", false},
      {Gbk("一二三四五六七八九十"), nullptr, true},  // exactly 20 bytes
      {Gbk("一二三四五六七八九十") + "x", "方案名长度不可大于20!", false},
      {"Weekly", "此方案名称已经存在！", false},
      {"weekly", nullptr, true},  // letter case makes another name
      {" A ", nullptr, true},     // sent with its blanks
      {" A ", nullptr, false},    // the same name again: nothing
  };
  std::string current = "Monthly";
  for (const auto& c : cases) {
    dialogs.Clear();
    toolkit::ListItem* item = ItemNamed(w->lstCondition, current);
    ASSERT_NE(item, nullptr) << current;
    const int sent = jobServer->CountOf("ChangeConName");
    std::string s = c.to;
    w->lstConditionEdited(w->lstCondition, item, s);
    if (c.refusal != nullptr) {
      EXPECT_EQ(Texts(), std::vector<std::string>{Gbk(c.refusal) + kBlanks}) << c.to;
      EXPECT_EQ(dialogs.Shown()[0].Kind, toolkit::mtError);
      EXPECT_EQ(s, current) << "the caption stays";
    } else {
      EXPECT_TRUE(Texts().empty()) << c.to;
      EXPECT_EQ(s, c.to);
    }
    EXPECT_EQ(jobServer->CountOf("ChangeConName"), sent + (c.sent ? 1 : 0)) << c.to;
    if (c.sent) {
      EXPECT_EQ(jobServer->CallsOf("ChangeConName").back().args[0],
                VarArrayOf({current, "796", "QZLB27"}));
      EXPECT_EQ(jobServer->CallsOf("ChangeConName").back().args[1],
                VarArrayOf({c.to, "796", "QZLB27"}));
      item->SetCaption(s);  // the list view keeps what the handler left in S
      current = s;
    }
  }

  // The renamed scheme opens under its new name.
  w->lstCondition->SetSelected(ItemNamed(w->lstCondition, " A "));
  w->btnOpenClick(w);
  EXPECT_EQ(w->schemesOpened, 1);
  EXPECT_EQ(w->me01->Text(), "2009/05/01");

  // A refusal: an error dialog, the caption back, the server's text raised.
  dialogs.Clear();
  jobServer->refusal = "locked";
  std::string s = "New name";
  EXPECT_THROW(w->lstConditionEdited(w->lstCondition, ItemNamed(w->lstCondition, " A "), s),
               automation::Error);
  EXPECT_EQ(Texts(), std::vector<std::string>{Gbk("更改方案名失败!") + kBlanks});
  EXPECT_EQ(s, " A ");
}

TEST_F(SchemeTest, ViewButtonCyclesThroughTheFourStyles) {
  TfrmGeneTest* w = ShownWindow();
  using LV = toolkit::ListView;
  const LV::TViewStyle expected[] = {LV::vsSmallIcon, LV::vsList, LV::vsReport, LV::vsIcon};
  for (int click = 0; click < 4; ++click) {
    w->ToolButton1Click(w->ToolButton1);
    EXPECT_EQ(w->lstCondition->ViewStyle(), expected[click]) << "click " << click + 1;
    const int checked = (click + 1) % 4;
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(w->mnListItems[i]->Checked(), i == checked) << "click " << click + 1;
    }
  }
  w->ViewReportExecute(w->mnListItems[3]);
  EXPECT_EQ(w->lstCondition->ViewStyle(), LV::vsReport);
  EXPECT_TRUE(w->mnListItems[3]->Checked());
  EXPECT_TRUE(toolkit::SaveWindowPicture(w, std::string(QZLB27_BUILD_DIR) +
                                                "/TfrmBaseGene-details.png"));
}

TEST_F(SchemeTest, SaveSendsTheCapturedValues) {
  TfrmGeneTest* w = ShownWindow();
  w->chk1->SetChecked(true);
  w->cbo1->SetItemIndex(2);
  ASSERT_TRUE(w->SaveScheme("chk1.checked;cbo1.itemindex;", "Mine", true));
  ASSERT_EQ(jobServer->CountOf("InsertConTable"), 1);
  const Variant sent = jobServer->CallsOf("InsertConTable")[0].args[0];
  EXPECT_EQ(sent[0], Variant("Mine"));
  EXPECT_EQ(sent[1], Variant("796"));
  EXPECT_EQ(sent[2].AsAnsi().size(), 8u) << "today as yyyymmdd";
  EXPECT_EQ(sent[3], Variant("QZLB27"));
  EXPECT_EQ(sent[4], Variant("chk1.checked;cbo1.itemindex;"));
  EXPECT_EQ(sent[5], Variant("True\r\n2\r\n"));
  EXPECT_EQ(sent[6], Variant(true));
  ASSERT_TRUE(w->LoadSchemeList());
  EXPECT_NE(ItemNamed(w->lstCondition, "Mine"), nullptr);

  jobServer->refusal = "exists";
  EXPECT_FALSE(w->SaveScheme("chk1.checked;", "Mine", false));
}

// ---- Scheme values of selection panels --------------------------------------------------------

TEST_F(SchemeTest, PanelValuesInEveryStyle) {
  TfrmGeneTest* w = InitialisedWindow();
  w->spRange->edBegin()->SetText("B");
  w->spRange->edFinal()->SetText("Z");
  w->spList->ListBox()->AddRow({"A"});
  w->spList->ListBox()->AddRow({"B", "x"});
  w->spChoice->SetUserChoice(true);
  w->spChoice->edBegin()->SetText("1");
  w->spChoice->edFinal()->SetText("9");
  w->DateEnvironment["spDate"] = "20090501" + F + "20090531";
  const std::string paths = "spRange.style;spList.style;spChoice.style;spDate.style;";
  const std::string captured = w->CaptureValues(paths);
  EXPECT_EQ(captured, "sp_Range" + F + "B" + F + "Z\r\n" +  //
                          "sp_Discrete" + F + "A" + C + R + "B" + C + "x" + R + "\r\n" +
                          "sp_UserChoice" + F + "True" + F + "1" + F + "9\r\n" + "sp_Range" + F +
                          "20090501" + F + "20090531\r\n");

  // Restoring into cleared panels gives the same values back, dates in the window's format.
  w->spRange->edBegin()->SetText("");
  w->spList->ListBox()->ClearRows();
  w->spChoice->SetUserChoice(false);
  w->spChoice->ListBox()->AddRow({"stale"});
  w->applied.clear();
  ASSERT_TRUE(w->ApplySchemeValues(paths, captured));
  EXPECT_EQ(w->spRange->edBegin()->Text(), "B");
  EXPECT_EQ(Rows(w->spList), (std::vector<std::vector<std::string>>{{"A", ""}, {"B", "x"}}));
  EXPECT_TRUE(w->spChoice->UserChoice());
  EXPECT_EQ(w->spChoice->edFinal()->Text(), "9");
  EXPECT_EQ(w->spDate->edBegin()->Text(), "2009/05/01");
  EXPECT_EQ(w->spDate->edFinal()->Text(), "2009/05/31");
  EXPECT_EQ(w->spDate->EditMask(), w->DateEditMask());
  EXPECT_EQ(w->spList->Style(), sp_Discrete) << "a restore leaves the style alone";
  EXPECT_EQ(w->applied.size(), 4u) << "panels get BeforeApplyValue only";
  for (const std::string& a : w->applied) EXPECT_EQ(a.rfind("before ", 0), 0u) << a;

  // A user-choice panel in list mode keeps "False" and its list.
  w->spChoice->SetUserChoice(false);
  w->spChoice->ListBox()->ClearRows();
  w->spChoice->ListBox()->AddRow({"P1"});
  const std::string listMode = w->CaptureValues("spChoice.style;");
  EXPECT_EQ(listMode, "sp_UserChoice" + F + "False" + F + "P1" + R + "\r\n");
  w->spChoice->SetUserChoice(true);
  ASSERT_TRUE(w->ApplySchemeValues("spChoice.style;", listMode));
  EXPECT_FALSE(w->spChoice->UserChoice());
  EXPECT_EQ(Rows(w->spChoice), (std::vector<std::vector<std::string>>{{"P1"}}));
}

TEST_F(SchemeTest, LongListsAreCapturedWhileTheirBatchIsPending) {
  TfrmGeneTest* w = InitialisedWindow();
  std::string expected = "sp_Discrete" + F;
  for (int i = 0; i < 300; ++i) {
    const std::string value = "R" + std::to_string(1000 + i);
    w->spList->ListBox()->AddRow({value});
    expected += value + R;
  }
  EXPECT_EQ(w->CaptureValues("spList.style;"), expected + "\r\n");
  w->spList->ListBox()->ClearRows();
  ASSERT_TRUE(w->ApplySchemeValues("spList.style;", expected + "\r\n"));
  EXPECT_EQ(w->spList->ListBox()->RowCount(), 300);
  EXPECT_EQ(w->spList->ListBox()->Items()->Count(), 300) << "the view follows";
}

TEST_F(SchemeTest, DateFieldsInEveryFormat) {
  struct {
    const char* code;
    const char* shown;
  } cases[] = {{"1", "2009/05/17"},
               {"2", "05/17/2009"},
               {"3", "17/05/2009"},
               {"4", "98/05/17"},
               {"5", "098/05/17"}};
  for (const auto& c : cases) {
    manager->counter->sysInfo = {{"QRN002", "Test company"}, {"Sys001", c.code}, {"Sys002", "/"}};
    TfrmGeneTest* w = InitialisedWindow();
    // "me0" is part of the date field "me01" in the list text, so it counts as a date field.
    auto* me0 = new toolkit::MaskEdit(w);
    me0->SetName("me0");
    me0->SetParent(w->tsOption1);
    ASSERT_TRUE(w->ApplySchemeValues("me01.text;me0.text;", "20090517\r\n20090518\r\n")) << c.code;
    EXPECT_EQ(w->me01->Text(), c.shown) << c.code;
    EXPECT_EQ(w->DateTextToYmd(me0->Text()), "20090518") << c.code;
    EXPECT_EQ(w->DateTextToYmd(w->me01->Text()), "20090517") << c.code;
    // Captured through the date environment: a date field without an entry is empty.
    EXPECT_EQ(w->CaptureValues("me01.text;me0.text;"), "\r\n\r\n") << c.code;
    w->DateEnvironment["me01"] = "20090517";
    EXPECT_EQ(w->CaptureValues("me01.text;"), "20090517\r\n") << c.code;
  }
}

}  // namespace
