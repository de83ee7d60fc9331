#include "controls/SelectPnl.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <QTreeView>

#include "controls/LookupRequest.h"
#include "support/GbkText.h"
#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/FormDescription.h"
#include "toolkit/Properties.h"

namespace {

using Cells = std::vector<std::string>;

std::vector<std::string> Captions(const std::vector<Cells>& rows) {
  std::vector<std::string> captions;
  for (const Cells& row : rows) captions.push_back(row[0]);
  return captions;
}

// A window with one selection panel and an edit to move the focus to; its handlers log what the
// panel reports.
class PanelWindow : public toolkit::Form {
  Q_OBJECT
 public:
  explicit PanelWindow(toolkit::Component* owner) : toolkit::Form(owner) {
    SetName("frmPanel");
    SetBounds(0, 0, 480, 260);
    panel = new TSelectPanel(this);
    panel->SetName("spDoc");
    panel->SetParent(this);
    panel->SetBounds(10, 10, 353, 45);
    other = new toolkit::Edit(this);
    other->SetName("edOther");
    other->SetParent(this);
    other->SetBounds(10, 200, 100, 21);
  }

  void WndProc(toolkit::Message& message) override {
    if (message.Msg == LookupRequest) {
      auto* control = dynamic_cast<toolkit::WinControl*>(toolkit::ParamControl(message.LParam));
      log.push_back("lookup " + (control ? control->Name() : std::string("?")) +
                    (control && control->Focused() ? " focused" : ""));
      return;
    }
    toolkit::Form::WndProc(message);
  }

  void StyleChanging(toolkit::Component*, TSelectStyle now, TSelectStyle& next, bool& accept) {
    log.push_back("changing " + std::to_string(now) + "->" + std::to_string(next));
    if (refuse) accept = false;
    if (replace >= 0) next = static_cast<TSelectStyle>(replace);
  }
  void StyleChange(toolkit::Component*, TSelectStyle old, TSelectStyle next) {
    log.push_back("change " + std::to_string(old) + "->" + std::to_string(next) + " while " +
                  std::to_string(panel->Style()));
  }
  void TypeClick(toolkit::Component* sender) {
    log.push_back(std::string("type ") + (sender == panel ? "panel" : "?") +
                  (panel->UserChoice() ? " range" : " list"));
  }
  void OpenWinClick(toolkit::Component* sender, toolkit::Component* control) {
    log.push_back(std::string("open ") + (sender == panel ? "panel " : "? ") + control->Name());
  }
  void DeleteClick(toolkit::Component* sender, bool& accept) {
    log.push_back("delete " + sender->Name());
    accept = accept_delete;
  }
  void ClearClick(toolkit::Component* sender) {
    log.push_back("clear " + sender->Name() + " rows " +
                  std::to_string(panel->ListBox()->RowCount()));
  }
  void PanelExit(toolkit::Component*) {
    log.push_back("exit " + panel->edBegin()->Text() + ".." + panel->edFinal()->Text());
  }
  void ItemSelect(toolkit::Component* sender, toolkit::ListItem*, int index, bool selected) {
    log.push_back("select " + sender->Name() + " " + std::to_string(index) +
                  (selected ? " on" : " off"));
  }
  void KeyPressed(toolkit::Component* sender, char& key) {
    log.push_back(std::string("key ") + key + " " + sender->Name());
  }
  void MouseDown(toolkit::Component* sender, toolkit::TMouseButton, toolkit::ShiftState, int x,
                 int y) {
    log.push_back("down " + sender->Name() + " " + std::to_string(x) + "," + std::to_string(y));
  }
  void Activate() {
    Show();
    QApplication::setActiveWindow(this);
    ASSERT_TRUE(QTest::qWaitForWindowActive(this));
  }
  void Bind(const char* event, const char* handler) {
    toolkit::SetMethodPropOf(panel, event, toolkit::FindMethod(this, handler));
  }

  TSelectPanel* panel;
  toolkit::Edit* other;
  std::vector<std::string> log;
  bool refuse = false;
  int replace = -1;
  bool accept_delete = true;
};

const auto published = toolkit::Publish<PanelWindow>()
                           .Handler("StyleChanging", &PanelWindow::StyleChanging)
                           .Handler("StyleChange", &PanelWindow::StyleChange)
                           .Handler("TypeClick", &PanelWindow::TypeClick)
                           .Handler("OpenWinClick", &PanelWindow::OpenWinClick)
                           .Handler("DeleteClick", &PanelWindow::DeleteClick)
                           .Handler("ClearClick", &PanelWindow::ClearClick)
                           .Handler("PanelExit", &PanelWindow::PanelExit)
                           .Handler("ItemSelect", &PanelWindow::ItemSelect)
                           .Handler("KeyPressed", &PanelWindow::KeyPressed)
                           .Handler("MouseDown", &PanelWindow::MouseDown);

class SelectPanelTest : public testing::Test {
 protected:
  void SetUp() override {
    window = new PanelWindow(nullptr);
    panel = window->panel;
  }
  void TearDown() override { toolkit::Free(window); }

  std::vector<Cells> Rows() {
    std::vector<Cells> rows;
    TZelListView* list = panel->ListBox();
    for (int i = 0; i < list->RowCount(); ++i) {
      Cells cells{list->RowCaption(i)};
      for (const std::string& s : list->RowSubItems(i)) cells.push_back(s);
      rows.push_back(cells);
    }
    return rows;
  }
  // What the list view's own items show.
  std::vector<Cells> ShownRows() const {
    std::vector<Cells> rows;
    toolkit::ListItems* items = panel->ListBox()->Items();
    for (int i = 0; i < items->Count(); ++i) {
      Cells cells{items->Items(i)->Caption()};
      for (const std::string& s : items->Items(i)->SubItems()->Lines()) cells.push_back(s);
      rows.push_back(cells);
    }
    return rows;
  }
  void ClickHeader(int column) {
    auto* tree = dynamic_cast<QTreeView*>(panel->ListBox()->QtView());
    ASSERT_NE(tree, nullptr);
    QHeaderView* header = tree->header();
    const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
  }

  PanelWindow* window;
  TSelectPanel* panel;
};

TEST_F(SelectPanelTest, NewPanelHasItsInitialValues) {
  EXPECT_EQ(panel->Width(), 353);
  EXPECT_EQ(panel->Height(), 45);
  EXPECT_EQ(panel->Style(), sp_Range);
  EXPECT_TRUE(panel->UserChoice());
  EXPECT_EQ(panel->HintWord(), Gbk("区间选择"));
  EXPECT_EQ(panel->BeginWords()->Lines(), (Cells{Gbk("起"), Gbk("起")}));
  EXPECT_EQ(panel->FinalWords()->Lines(), (Cells{Gbk("止"), Gbk("止")}));
  EXPECT_EQ(panel->ValueType(), vt_String);
  EXPECT_TRUE(panel->AutoChangeDateSite());
  EXPECT_EQ(panel->DateType(), dt_NoneCare);
  EXPECT_EQ(panel->DateSign(), "/");
  EXPECT_TRUE(panel->CanOpenWin());
  EXPECT_EQ(panel->GlyphIndex(), 8);
  EXPECT_EQ(panel->OtherWidth(), 200);
  EXPECT_EQ(panel->OtherHeight(), 105);
  EXPECT_EQ(panel->CheckDuplicate(), cd_None);
  EXPECT_FALSE(panel->SortListBox());
  EXPECT_FALSE(panel->ShowColumnHeader());
  EXPECT_TRUE(panel->ColumnsAutoSize());
  EXPECT_FALSE(panel->HideSelection());
  EXPECT_EQ(panel->ChildHints()->Count(), 9);
  EXPECT_EQ(panel->edBegin()->Hint(), Gbk("区间选择-起始信息"));
  EXPECT_EQ(panel->ClearButton()->Hint(), Gbk("多选-删除己选信息"));
  EXPECT_EQ(panel->ChoiceBox()->Hint(), Gbk("用户自定输入方式"));
  EXPECT_FALSE(panel->ChoiceBox()->Visible());
  EXPECT_FALSE(panel->ChoiceBox()->Checked());
  EXPECT_TRUE(panel->RangePane()->Visible());
  EXPECT_FALSE(panel->ListPane()->Visible());
  EXPECT_EQ(panel->BeginButton()->GlyphIndex(), 8);
  EXPECT_EQ(panel->DeleteButton()->GlyphIndex(), 47);
  EXPECT_EQ(panel->ClearButton()->GlyphIndex(), 4);
  EXPECT_EQ(panel->ClearButton()->NumGlyphs(), 2);
  EXPECT_EQ(panel->edBegin()->Height(), 24);
  TZelListView* list = panel->ListBox();
  EXPECT_EQ(list->ViewStyle(), toolkit::ListView::vsReport);
  EXPECT_TRUE(list->MultiSelect());
  EXPECT_TRUE(list->RowSelect());
  EXPECT_TRUE(list->ReadOnly());
  EXPECT_EQ(list->Cursor(), toolkit::crHandPoint);
  EXPECT_EQ(panel->FindComponent("edBegin"), panel->edBegin());
  EXPECT_EQ(panel->FindComponent("ListBox"), list);
}

TEST_F(SelectPanelTest, PropertiesAreReachedByName) {
  toolkit::SetPropValue(panel, "Style", automation::Variant(std::string("sp_Discrete")));
  EXPECT_EQ(panel->Style(), sp_Discrete);
  toolkit::SetPropValue(panel, "ValueType", automation::Variant(std::string("vt_Date")));
  toolkit::SetPropValue(panel, "DateType", automation::Variant(std::string("dt_YYMMDD")));
  toolkit::SetPropValue(panel, "CheckDuplicate",
                        automation::Variant(std::string("cd_CaseInsensitive")));
  EXPECT_EQ(panel->ValueType(), vt_Date);
  EXPECT_EQ(toolkit::GetEnumPropOf(panel, "DateType"), "dt_YYMMDD");
  EXPECT_EQ(toolkit::GetEnumPropOf(panel, "CheckDuplicate"), "cd_CaseInsensitive");
  EXPECT_EQ(toolkit::GetEnumPropOf(panel, "SortListBox"), "True");
  toolkit::SetPropertyPath(panel, "Font.Size", automation::Variant(12));
  EXPECT_EQ(panel->edBegin()->Font()->Size(), 12);
  EXPECT_TRUE(toolkit::IsComponentClass("TSelectPanel"));
  EXPECT_TRUE(toolkit::IsComponentClass("TZelMaskEdit"));
  EXPECT_TRUE(toolkit::IsComponentClass("TZelListView"));
}

TEST_F(SelectPanelTest, SizeIsExchangedBetweenTheOneLineRangeAndTheOthers) {
  const struct {
    TSelectStyle to;
    int width, height, otherWidth, otherHeight;
  } steps[] = {
      {sp_Discrete, 200, 105, 353, 45},    // one line -> list: exchanged
      {sp_UserChoice, 200, 105, 353, 45},  // list -> user choice: kept
      {sp_Discrete, 200, 105, 353, 45},   {sp_Range, 353, 45, 200, 105},  // back: exchanged again
      {sp_Range, 353, 45, 200, 105},                                      // the same style: nothing
      {sp_UserChoice, 200, 105, 353, 45},
  };
  for (const auto& s : steps) {
    panel->SetStyle(s.to);
    EXPECT_EQ(panel->Style(), s.to);
    EXPECT_EQ(panel->Width(), s.width) << "to " << s.to;
    EXPECT_EQ(panel->Height(), s.height) << "to " << s.to;
    EXPECT_EQ(panel->OtherWidth(), s.otherWidth) << "to " << s.to;
    EXPECT_EQ(panel->OtherHeight(), s.otherHeight) << "to " << s.to;
  }
}

TEST_F(SelectPanelTest, TwoLineRangeExchangesItsSizeWhenSwitchedAndNotBetweenStyles) {
  panel->SetUseVertical(true);
  EXPECT_EQ(panel->Width(), 200);
  EXPECT_EQ(panel->Height(), 105);
  // Range on two lines to list: both two-line layouts, no exchange.
  panel->SetStyle(sp_Discrete);
  EXPECT_EQ(panel->Width(), 200);
  EXPECT_EQ(panel->Height(), 105);
  // UseVertical only counts in sp_Range.
  panel->SetUseVertical(false);
  EXPECT_TRUE(panel->UseVertical());
  panel->SetStyle(sp_Range);
  panel->SetUseVertical(false);
  EXPECT_EQ(panel->Width(), 353);
  EXPECT_EQ(panel->Height(), 45);
}

TEST_F(SelectPanelTest, StyleChangingMayRefuseOrReplaceTheStyle) {
  window->Bind("OnStyleChanging", "StyleChanging");
  window->Bind("OnStyleChange", "StyleChange");
  const int beginLeft = panel->edBegin()->Left();
  window->refuse = true;
  panel->SetStyle(sp_Discrete);
  EXPECT_EQ(panel->Style(), sp_Range);
  EXPECT_EQ(panel->Width(), 353);
  EXPECT_EQ(panel->edBegin()->Left(), beginLeft);
  EXPECT_TRUE(panel->RangePane()->Visible());
  EXPECT_EQ(window->log, (std::vector<std::string>{"changing 0->1"}));

  window->log.clear();
  window->refuse = false;
  window->replace = sp_UserChoice;
  panel->SetStyle(sp_Discrete);
  EXPECT_EQ(panel->Style(), sp_UserChoice);
  EXPECT_TRUE(panel->ChoiceBox()->Visible());
  EXPECT_EQ(panel->Width(), 200);
  // The change event runs while Style still holds the old value.
  EXPECT_EQ(window->log, (std::vector<std::string>{"changing 0->1", "change 0->2 while 0"}));
}

TEST_F(SelectPanelTest, OneLineRangeLayout) {
  for (bool buttons : {true, false}) {
    panel->SetCanOpenWin(buttons);
    const int w = panel->RangePane()->Width();
    const int h = panel->RangePane()->Height();
    const toolkit::Label* bl = panel->BeginLabel();
    const toolkit::Label* fl = panel->FinalLabel();
    const TZelMaskEdit* eb = panel->edBegin();
    const TZelMaskEdit* ef = panel->edFinal();
    const TF2Button* bb = panel->BeginButton();
    const TF2Button* fb = panel->FinalButton();
    EXPECT_EQ(panel->RangePane()->Left(), 2);
    EXPECT_EQ(panel->RangePane()->Top(), panel->TextHeight("") + 3);
    EXPECT_EQ(w, 353 - 5);
    EXPECT_EQ(h, 45 - panel->RangePane()->Top() - 3);
    EXPECT_EQ(bl->Caption(), Gbk("起"));
    EXPECT_EQ(bl->Left(), 2);
    EXPECT_EQ(bl->Top(), (h - 24) / 2);
    EXPECT_EQ(eb->Left(), 2 + bl->Width() + 1);
    EXPECT_EQ(eb->Top(), bl->Top());
    const int width = buttons ? (w - 2 - bl->Width() - 23 - fl->Width() - 23 - 8) / 2 - 1
                              : (w - 2 - bl->Width() - fl->Width() - 4) / 2 - 1;
    EXPECT_EQ(eb->Width(), width) << buttons;
    if (buttons) {
      EXPECT_TRUE(bb->Visible());
      EXPECT_EQ(bb->Left(), eb->Left() + eb->Width() + 2);
      EXPECT_EQ(fl->Left(), bb->Left() + 23 + 2);
      EXPECT_EQ(fb->Left(), ef->Left() + ef->Width() + 2);
      EXPECT_EQ(fb->Top(), bl->Top());
    } else {
      EXPECT_FALSE(bb->Visible());
      EXPECT_FALSE(panel->ListButton()->Visible());
      EXPECT_EQ(fl->Left(), eb->Left() + eb->Width() + 4);
    }
    EXPECT_EQ(fl->Top(), bl->Top());
    EXPECT_EQ(ef->Left(), fl->Left() + fl->Width() + 2);
    EXPECT_EQ(ef->Width(), eb->Width());
  }
}

TEST_F(SelectPanelTest, TwoLineAndListLayouts) {
  toolkit::Strings words;
  words.Assign(std::vector<std::string>{Gbk("起"), Gbk("起始")});
  panel->SetBeginWords(&words);
  panel->SetStyle(sp_UserChoice);  // 200 × 105, choice box, two-line range
  const int t = panel->TextHeight("");
  const TZelCheckBox* choice = panel->ChoiceBox();
  EXPECT_EQ(choice->Left(), 16);
  EXPECT_EQ(choice->Top(), t + 1);
  EXPECT_EQ(choice->Width(), choice->TextWidth(panel->HintWord()) + 24);
  EXPECT_EQ(choice->Height(), choice->TextHeight(panel->HintWord()) + 2);
  const int paneTop = choice->Top() + choice->TextHeight(panel->HintWord()) + 2;
  for (const toolkit::Panel* pane : {panel->RangePane(), panel->ListPane()}) {
    EXPECT_EQ(pane->Left(), 2);
    EXPECT_EQ(pane->Top(), paneTop);
    EXPECT_EQ(pane->Width(), 200 - 4);
    EXPECT_EQ(pane->Height(), 105 - paneTop - 2);
  }
  const int w = panel->RangePane()->Width();
  const int h = panel->RangePane()->Height();
  const toolkit::Label* bl = panel->BeginLabel();
  const TZelMaskEdit* eb = panel->edBegin();
  const int g = (h - 24 - 24) / 3;
  EXPECT_EQ(bl->Caption(), Gbk("起始"));
  EXPECT_EQ(bl->Top(), g);
  EXPECT_EQ(eb->Left(), 2 + bl->Width() + 2);
  EXPECT_EQ(eb->Width(), w - 2 - bl->Width() - 23 - 4);
  EXPECT_EQ(panel->BeginButton()->Left(), eb->Left() + eb->Width() + 1);
  EXPECT_EQ(panel->FinalLabel()->Left(), 2);
  EXPECT_EQ(panel->FinalLabel()->Top(), g + g + 24);
  EXPECT_EQ(panel->edFinal()->Top(), panel->FinalLabel()->Top());
  EXPECT_EQ(panel->FinalButton()->Left(), panel->BeginButton()->Left());
  // The list pane: list, then the lookup, delete and clear buttons in a column.
  const int lw = panel->ListPane()->Width();
  TZelListView* list = panel->ListBox();
  EXPECT_EQ(list->Top(), 0);
  EXPECT_EQ(list->Width(), lw - 23 - 3);
  EXPECT_EQ(list->Height(), panel->ListPane()->Height());
  EXPECT_EQ(panel->ListButton()->Left(), list->Width() + 2);
  EXPECT_EQ(panel->DeleteButton()->Left(), list->Width() + 2);
  EXPECT_EQ(panel->DeleteButton()->Top(), 23);
  EXPECT_EQ(panel->ClearButton()->Top(), 46);
  // Hiding the lookup buttons keeps the column in place.
  panel->SetCanOpenWin(false);
  EXPECT_EQ(list->Width(), lw - 23 - 3);
  EXPECT_EQ(panel->DeleteButton()->Top(), 23);
}

TEST_F(SelectPanelTest, ChoiceBoxSwitchesBetweenRangeAndList) {
  window->Bind("OnTypeClick", "TypeClick");
  panel->SetUserChoice(false);  // ignored outside sp_UserChoice
  EXPECT_TRUE(panel->UserChoice());
  panel->SetStyle(sp_UserChoice);
  // The box shows what UserChoice says.
  EXPECT_TRUE(panel->ChoiceBox()->Checked());
  EXPECT_TRUE(panel->RangeActive());
  EXPECT_TRUE(panel->RangePane()->Visible());
  panel->ChoiceBox()->Click();  // the user unchecks it
  EXPECT_FALSE(panel->UserChoice());
  EXPECT_FALSE(panel->RangePane()->Visible());
  EXPECT_TRUE(panel->ListPane()->Visible());
  panel->SetUserChoice(true);
  EXPECT_TRUE(panel->ChoiceBox()->Checked());
  EXPECT_TRUE(panel->RangePane()->Visible());
  EXPECT_EQ(window->log, (std::vector<std::string>{"type panel list", "type panel range"}));
}

TEST_F(SelectPanelTest, EditMaskGivesTheBlankTextAndKeepsBothTexts) {
  panel->edBegin()->SetText("20090501");
  panel->edFinal()->SetText("20091231");
  panel->SetEditMask("9999/99/99;1; ");
  EXPECT_EQ(panel->BlankMaskText(), "    /  /  ");
  EXPECT_EQ(panel->edBegin()->GetEditMask(), "9999/99/99;1; ");
  EXPECT_EQ(panel->edFinal()->GetEditMask(), "9999/99/99;1; ");
  EXPECT_EQ(panel->edBegin()->Text(), "2009/05/01");
  EXPECT_EQ(panel->edFinal()->Text(), "2009/12/31");
  panel->SetEditMask("");
  EXPECT_EQ(panel->BlankMaskText(), "");
}

TEST_F(SelectPanelTest, RangeCheckByValueType) {
  const struct {
    const char* name;
    TValueType type;
    TDateType dateType;
    const char* mask;
    const char* begin;
    const char* end;
    const char* expectedBegin;
    const char* expectedEnd;
  } cases[] = {
      {"numbers", vt_Number, dt_NoneCare, "", "20", "3", "3", "20"},
      {"strings byte-wise", vt_String, dt_NoneCare, "", "20", "3", "20", "3"},
      {"trimmed and written back", vt_String, dt_NoneCare, "", "  b ", " a", "a", "b"},
      {"date month end", vt_Date, dt_YYYYMMDD, "", "2009/05/01", "2009/04", "2009/04",
       "2009/05/01"},
      {"date Minguo", vt_Date, dt_YYMMDD, "", "98/01/01", "97/12/31", "97/12/31", "98/01/01"},
      {"date not a date", vt_Date, dt_YYYYMMDD, "", "2009/05/01", "2009/13/01", "2009/13/01",
       "2009/05/01"},
      {"blank masked end", vt_Date, dt_YYYYMMDD, "9999/99/99;1; ", "2009/05/01", "", "2009/05/01",
       "    /  /  "},
      {"masked dates", vt_Date, dt_YYYYMMDD, "9999/99/99;1; ", "2009/05/01", "2009/04/30",
       "2009/04/30", "2009/05/01"},
      {"one empty end", vt_Number, dt_NoneCare, "", "20", "", "20", ""},
      {"other mask", vt_OtherMask, dt_NoneCare, "", "b", "a", "b", "a"},
  };
  for (const auto& c : cases) {
    panel->SetEditMask(c.mask);
    panel->SetValueType(c.type);
    panel->SetDateType(c.dateType);
    panel->edBegin()->SetText(c.begin);
    panel->edFinal()->SetText(c.end);
    panel->CheckRange();
    EXPECT_EQ(panel->edBegin()->Text(), c.expectedBegin) << c.name;
    EXPECT_EQ(panel->edFinal()->Text(), c.expectedEnd) << c.name;
  }
}

TEST_F(SelectPanelTest, DiscardKeepsTheRangeAsEntered) {
  panel->SetUseDiscard(true);
  panel->SetDiscard("ZZZZ");
  panel->edBegin()->SetText("b");
  panel->edFinal()->SetText("ZZZZ ");
  panel->CheckRange();
  EXPECT_EQ(panel->edBegin()->Text(), "b");
  EXPECT_EQ(panel->edFinal()->Text(), "ZZZZ");
  panel->SetUseDiscard(false);
  panel->CheckRange();
  EXPECT_EQ(panel->edBegin()->Text(), "ZZZZ");
}

TEST_F(SelectPanelTest, LeavingThePanelChecksTheRangeBeforeOnExit) {
  window->Bind("OnExit", "PanelExit");
  panel->SetValueType(vt_Number);
  window->Activate();
  panel->edBegin()->SetFocus();
  panel->edBegin()->SetText("20");
  panel->edFinal()->SetFocus();  // inside the panel: no check yet
  panel->edFinal()->SetText("3");
  EXPECT_TRUE(window->log.empty());
  window->other->SetFocus();
  EXPECT_EQ(panel->edBegin()->Text(), "3");
  EXPECT_EQ(window->log, (std::vector<std::string>{"exit 3..20"}));
}

TEST_F(SelectPanelTest, LookupButtonsFocusTheirControlAndAskTheWindow) {
  window->Bind("OnOpenWinClick", "OpenWinClick");
  panel->SetStyle(sp_UserChoice);
  window->Activate();
  panel->BeginButton()->Click();
  panel->FinalButton()->Click();
  panel->ChoiceBox()->Click();  // to the list
  panel->ListButton()->Click();
  EXPECT_EQ(window->log,
            (std::vector<std::string>{"lookup edBegin focused", "open panel edBegin",
                                      "lookup edFinal focused", "open panel edFinal",
                                      "lookup ListBox focused", "open panel ListBox"}));
}

TEST_F(SelectPanelTest, AddRowMakesColumnsAndPadsRows) {
  TZelListView* list = panel->ListBox();
  EXPECT_FALSE(list->AddRow({}));
  EXPECT_EQ(list->RowCount(), 0);
  EXPECT_TRUE(list->AddRow({"R001", "a", "b"}));
  EXPECT_TRUE(list->AddRow({"R002"}));
  ASSERT_EQ(panel->Columns()->Count(), 3);
  EXPECT_EQ(panel->Columns()->Items(0)->Caption(), "Data1");
  EXPECT_EQ(panel->Columns()->Items(1)->Caption(), "Data2");
  EXPECT_EQ(panel->Columns()->Items(2)->Caption(), "Data3");
  EXPECT_EQ(Rows(), (std::vector<Cells>{{"R001", "a", "b"}, {"R002", "", ""}}));
  EXPECT_EQ(ShownRows(), Rows());
  // Auto-size: "W" wide times the longest caption or cell.
  const int w = list->TextWidth("W");
  EXPECT_EQ(panel->Columns()->Items(0)->Width(), w * 5);  // "Data1"
  list->AddRow({"R003-LONGER", "abcdefgh"});
  EXPECT_EQ(panel->Columns()->Items(0)->Width(), w * 11);
  EXPECT_EQ(panel->Columns()->Items(1)->Width(), w * 8);
  // Without the flag the widths stay.
  panel->SetColumnsAutoSize(false);
  list->AddRow({"R004-EVEN-LONGER"});
  EXPECT_EQ(panel->Columns()->Items(0)->Width(), w * 11);
}

TEST_F(SelectPanelTest, DuplicatesAreRemovedIgnoringCase) {
  panel->SetStyle(sp_Discrete);
  TZelListView* list = panel->ListBox();
  list->AddRow({"abc"});
  list->AddRow({"ABC"});
  list->AddRow({"b"});
  EXPECT_EQ(list->RowCount(), 3);
  // With the list entry active the duplicates go at once; the list is sorted from now on.
  panel->SetCheckDuplicate(cd_CaseInsensitive);
  EXPECT_TRUE(panel->SortListBox());
  EXPECT_EQ(Rows(), (std::vector<Cells>{{"abc"}, {"b"}}));
  list->AddRow({"ABC"});
  list->AddRow({"a"});
  EXPECT_EQ(Rows(), (std::vector<Cells>{{"a"}, {"abc"}, {"b"}}));
  EXPECT_EQ(ShownRows(), Rows());
}

TEST_F(SelectPanelTest, DuplicatesWaitWhileTheRangeIsActive) {
  TZelListView* list = panel->ListBox();
  list->AddRow({"x"});
  list->AddRow({"x"});
  panel->SetCheckDuplicate(cd_CheckCase);
  EXPECT_EQ(list->RowCount(), 2);
  list->AddRow({"y"});
  EXPECT_EQ(Rows(), (std::vector<Cells>{{"x"}, {"y"}}));
}

TEST_F(SelectPanelTest, HeaderClicksSortByTheirColumn) {
  panel->SetStyle(sp_Discrete);
  panel->SetShowColumnHeader(true);
  panel->SetBounds(10, 10, 400, 200);
  TZelListView* list = panel->ListBox();
  list->AddRow({"b", "2"});
  list->AddRow({"c", "1"});
  list->AddRow({"a", "3"});
  list->AddRow({"d", "1"});
  window->Activate();
  list->Flush();
  ClickHeader(1);
  EXPECT_EQ(Rows(), (std::vector<Cells>{{"c", "1"}, {"d", "1"}, {"b", "2"}, {"a", "3"}}));
  EXPECT_EQ(ShownRows(), Rows());
  ClickHeader(1);
  EXPECT_EQ(Rows(), (std::vector<Cells>{{"a", "3"}, {"b", "2"}, {"d", "1"}, {"c", "1"}}));
  ClickHeader(0);  // another column: ascending
  EXPECT_EQ(Rows(), (std::vector<Cells>{{"a", "3"}, {"b", "2"}, {"c", "1"}, {"d", "1"}}));
  EXPECT_TRUE(list->SortAscending());
  EXPECT_EQ(ShownRows(), Rows());
}

TEST_F(SelectPanelTest, FirstClickOnColumnZeroSortsDescending) {
  panel->SetStyle(sp_Discrete);
  panel->SetShowColumnHeader(true);
  panel->SetBounds(10, 10, 400, 200);
  TZelListView* list = panel->ListBox();
  for (const char* c : {"b", "c", "a"}) list->AddRow({c});
  window->Activate();
  list->Flush();
  ClickHeader(0);
  EXPECT_EQ(Captions(Rows()), (std::vector<std::string>{"c", "b", "a"}));
  EXPECT_FALSE(list->SortAscending());
  EXPECT_EQ(ShownRows(), Rows());
  // Unsorted list: a new row goes to the end.
  list->AddRow({"e"});
  EXPECT_EQ(Captions(Rows()), (std::vector<std::string>{"c", "b", "a", "e"}));
  // Keep-sorted: the rows follow the header's order, new ones too.
  panel->SetSortListBox(true);
  list->AddRow({"bb"});
  EXPECT_EQ(Captions(Rows()), (std::vector<std::string>{"e", "c", "bb", "b", "a"}));
  EXPECT_EQ(ShownRows(), Rows());
}

TEST_F(SelectPanelTest, SortingKeepsTheSelectionWithItsRow) {
  panel->SetStyle(sp_Discrete);
  TZelListView* list = panel->ListBox();
  for (const char* c : {"c", "a", "b"}) list->AddRow({c});
  list->Items()->Items(0)->SetSelected(true);  // "c"
  list->SortBy(0, true);
  toolkit::ListItems* items = list->Items();
  ASSERT_EQ(items->Count(), 3);
  EXPECT_EQ(items->Items(2)->Caption(), "c");
  EXPECT_TRUE(items->Items(2)->Selected());
  EXPECT_FALSE(items->Items(0)->Selected());
}

TEST_F(SelectPanelTest, DeleteAndClearButtons) {
  window->Bind("OnDeleteClick", "DeleteClick");
  window->Bind("OnClearClick", "ClearClick");
  panel->SetStyle(sp_Discrete);
  TZelListView* list = panel->ListBox();
  for (const char* c : {"a", "b", "c", "d"}) list->AddRow({c});
  list->Items()->Items(1)->SetSelected(true);
  list->Items()->Items(3)->SetSelected(true);
  window->accept_delete = false;
  panel->DeleteButton()->Click();
  EXPECT_EQ(list->RowCount(), 4);
  window->accept_delete = true;
  panel->DeleteButton()->Click();
  EXPECT_EQ(Rows(), (std::vector<Cells>{{"a"}, {"c"}}));
  EXPECT_EQ(ShownRows(), Rows());
  window->Activate();
  panel->ClearButton()->Click();
  EXPECT_EQ(list->RowCount(), 0);
  EXPECT_EQ(list->Items()->Count(), 0);
  EXPECT_TRUE(list->Focused());
  EXPECT_EQ(window->log, (std::vector<std::string>{"delete DeleteButton", "delete DeleteButton",
                                                   "clear ClearButton rows 0"}));
}

TEST_F(SelectPanelTest, RowSelectionIsReportedWithItsIndex) {
  window->Bind("OnItemSelect", "ItemSelect");
  panel->SetStyle(sp_Discrete);
  TZelListView* list = panel->ListBox();
  for (const char* c : {"a", "b"}) list->AddRow({c});
  list->Items()->Items(1)->SetSelected(true);
  EXPECT_EQ(window->log, (std::vector<std::string>{"select ListBox 1 on"}));
}

TEST_F(SelectPanelTest, EnabledReachesEveryControlInside) {
  panel->SetEnabled(false);
  for (toolkit::Control* c : std::initializer_list<toolkit::Control*>{
           panel->edBegin(), panel->edFinal(), panel->ListBox(), panel->ChoiceBox(),
           panel->BeginButton(), panel->ClearButton(), panel->RangePane(), panel->BeginLabel()}) {
    EXPECT_FALSE(c->Enabled()) << c->Name();
  }
  panel->SetEnabled(true);
  EXPECT_TRUE(panel->edFinal()->Enabled());
}

TEST_F(SelectPanelTest, FocusGoesToTheListWhenItIsActive) {
  panel->SetStyle(sp_Discrete);
  window->Activate();
  panel->SetFocus();
  EXPECT_TRUE(panel->ListBox()->Focused());
}

TEST_F(SelectPanelTest, GlyphIndexReachesTheThreeLookupButtons) {
  panel->SetGlyphIndex(9);
  for (TF2Button* b : {panel->BeginButton(), panel->FinalButton(), panel->ListButton()}) {
    EXPECT_EQ(b->GlyphIndex(), 9) << b->Name();
  }
  EXPECT_EQ(panel->DeleteButton()->GlyphIndex(), 47);
  EXPECT_EQ(panel->GlyphIndex(), 9);
}

TEST_F(SelectPanelTest, WordsHintsAndColumnCaptions) {
  toolkit::Strings one;
  one.Assign(std::vector<std::string>{Gbk("从")});
  panel->SetBeginWords(&one);
  EXPECT_EQ(panel->BeginLabel()->Caption(), Gbk("从"));
  toolkit::Strings none;
  panel->SetFinalWords(&none);
  EXPECT_EQ(panel->FinalWords()->Count(), 0);
  EXPECT_EQ(panel->FinalLabel()->Caption(), Gbk("止"));
  toolkit::Strings three;
  three.Assign(std::vector<std::string>{"A", "B", "C"});
  panel->SetFinalWords(&three);
  EXPECT_EQ(panel->FinalWords()->Lines(), (Cells{"A", "B"}));
  EXPECT_EQ(panel->FinalLabel()->Caption(), "A");

  toolkit::Strings hints;
  hints.Assign(std::vector<std::string>{"h0", "h1"});
  panel->SetChildHints(&hints);
  EXPECT_EQ(panel->ChoiceBox()->Hint(), "h0");
  EXPECT_EQ(panel->edBegin()->Hint(), "h1");
  EXPECT_EQ(panel->BeginButton()->Hint(), Gbk("区间选择-起始信息开窗"));  // no entry 2: kept

  toolkit::Strings captions;
  captions.Assign(std::vector<std::string>{Gbk("单号"), Gbk("日期")});
  panel->SetColumnCaptions(&captions);
  ASSERT_EQ(panel->Columns()->Count(), 2);
  EXPECT_EQ(panel->Columns()->Items(1)->Caption(), Gbk("日期"));
  EXPECT_EQ(panel->Columns()->Items(1)->RequestedWidth(), -1);
  EXPECT_EQ(panel->ColumnCaptions()->Lines(), (Cells{Gbk("单号"), Gbk("日期")}));
  // A language pack writes one entry of the list it reads.
  panel->ColumnCaptions()->SetStringAt(0, "No.");
  EXPECT_EQ(panel->Columns()->Items(0)->Caption(), "No.");
}

TEST_F(SelectPanelTest, ItemsAreCopiedBetweenPanels) {
  TSelectPanel* second = new TSelectPanel(window);
  second->SetParent(window);
  panel->ListBox()->AddRow({"a", "1"});
  panel->ListBox()->AddRow({"b", "2"});
  second->SetItems(panel->Items());
  EXPECT_EQ(second->ListBox()->RowCount(), 2);
  EXPECT_EQ(second->ListBox()->RowSubItems(1), (Cells{"2"}));
  EXPECT_EQ(second->Items()->Count(), 2);
}

TEST_F(SelectPanelTest, RowsWrittenIntoTheItemsAreTakenOver) {
  TZelListView* list = panel->ListBox();
  list->AddRow({"b"});
  toolkit::ListItem* item = list->Items()->Add();
  item->SetCaption("a");
  panel->SetSortListBox(true);
  list->AddRow({"c"});
  EXPECT_EQ(Rows(), (std::vector<Cells>{{"a"}, {"b"}, {"c"}}));
  EXPECT_EQ(ShownRows(), Rows());
  // A caption changed in an item moves its row in keep-sorted mode.
  list->Items()->Items(0)->SetCaption("z");
  EXPECT_EQ(Rows(), (std::vector<Cells>{{"b"}, {"c"}, {"z"}}));
  EXPECT_EQ(ShownRows(), Rows());
}

TEST_F(SelectPanelTest, RowsRestoredThroughTheItemsReplaceTheOldOnes) {
  // What the option framework does when it restores saved rows: clear the items, add new ones.
  TZelListView* list = panel->ListBox();
  list->AddRow({"old1", "x"});
  list->AddRow({"old2", "y"});
  toolkit::ListView* view = panel->FindComponent<toolkit::ListView>("ListBox");
  view->Items()->Clear();
  for (const char* caption : {"new1", "new2"}) {
    toolkit::ListItem* item = view->Items()->Add();
    item->SetCaption(caption);
    item->SubItems()->Add("z");
  }
  EXPECT_EQ(Rows(), (std::vector<Cells>{{"new1", "z"}, {"new2", "z"}}));
  list->AddRow({"new3", "w"});
  EXPECT_EQ(Rows(), (std::vector<Cells>{{"new1", "z"}, {"new2", "z"}, {"new3", "w"}}));
  EXPECT_EQ(ShownRows(), Rows());
  // Fewer rows than before.
  view->Items()->Clear();
  view->Items()->Add()->SetCaption("only");
  EXPECT_EQ(Rows(), (std::vector<Cells>{{"only"}}));
}

TEST_F(SelectPanelTest, SubControlEventsAreThePanels) {
  window->Bind("OnKeyPress", "KeyPressed");
  window->Bind("OnMouseDown", "MouseDown");
  window->Activate();
  panel->edBegin()->SetFocus();
  QTest::keyClick(panel->edBegin(), Qt::Key_A);
  EXPECT_EQ(panel->edBegin()->Text(), "a");
  // A press in an edit keeps the edit as sender; one on a label is the panel's, in its
  // coordinates.
  QTest::mousePress(panel->edFinal(), Qt::LeftButton, {}, QPoint(3, 4));
  QTest::mouseRelease(panel->edFinal(), Qt::LeftButton, {}, QPoint(3, 4));
  const QPoint at = panel->BeginLabel()->Widget()->mapTo(panel, QPoint(2, 3));
  QTest::mousePress(panel->BeginLabel()->Widget(), Qt::LeftButton, {}, QPoint(2, 3));
  QTest::mouseRelease(panel->BeginLabel()->Widget(), Qt::LeftButton, {}, QPoint(2, 3));
  EXPECT_EQ(window->log, (std::vector<std::string>{"key a edBegin", "down edFinal 3,4",
                                                   "down spDoc " + std::to_string(at.x()) + "," +
                                                       std::to_string(at.y())}));
}

TEST_F(SelectPanelTest, PressOnTheListFocusesItFirst) {
  panel->SetStyle(sp_Discrete);
  panel->ListBox()->AddRow({"a"});
  panel->ListBox()->AddRow({"b"});
  window->Activate();
  window->other->SetFocus();
  QAbstractItemView* view = panel->ListBox()->QtView();
  const QRect second = view->visualRect(view->model()->index(1, 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, second.center());
  EXPECT_TRUE(panel->ListBox()->Focused());
  EXPECT_TRUE(panel->ListBox()->Items()->Items(1)->Selected());
}

TEST_F(SelectPanelTest, SubControlsTakeThePanelsHintSetting) {
  toolkit::SetPropValue(panel, "ShowHint", automation::Variant(true));
  EXPECT_TRUE(panel->ShowHint());
  EXPECT_TRUE(panel->edBegin()->ShowHint());
  EXPECT_TRUE(panel->ClearButton()->ShowHint());
}

TEST_F(SelectPanelTest, PanelLoadsFromAWindowDescription) {
  PanelWindow* loaded = new PanelWindow(nullptr);
  const char* text =
      "object frmPanel: TForm\n"
      "  object spLoaded: TSelectPanel\n"
      "    Left = 10\n"
      "    Top = 60\n"
      "    Width = 300\n"
      "    Height = 120\n"
      "    UserChoice = False\n"
      "    Style = sp_UserChoice\n"
      "    ValueType = vt_Date\n"
      "    DateType = dt_YYYYMMDD\n"
      "    EditMask = \"9999/99/99;1; \"\n"
      "    HintWord = \"选择\"\n"
      "  end\n"
      "end\n";
  toolkit::LoadFormDescription(loaded, text, "test.form", true);
  toolkit::EndFormLoading(loaded);
  auto* p = loaded->FindComponent<TSelectPanel>("spLoaded");
  ASSERT_NE(p, nullptr);
  // Loading exchanges no size, and UserChoice written before the style holds.
  EXPECT_EQ(p->Width(), 300);
  EXPECT_EQ(p->Height(), 120);
  EXPECT_EQ(p->Style(), sp_UserChoice);
  EXPECT_FALSE(p->UserChoice());
  EXPECT_FALSE(p->ChoiceBox()->Checked());
  EXPECT_TRUE(p->ListPane()->Visible());
  EXPECT_EQ(p->BlankMaskText(), "    /  /  ");
  EXPECT_EQ(p->HintWord(), Gbk("选择"));
  toolkit::Free(loaded);
}

}  // namespace

#include "SelectPnl_test.moc"
