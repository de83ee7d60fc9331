// The labelled edits, the spin edit, the radio button and group, and the page control.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTabBar>
#include <QTest>

#include "controls/ExtPage.h"
#include "controls/GSpdBtn.h"
#include "controls/LookupRequest.h"
#include "controls/QrRadioButton.h"
#include "controls/QrRadioGroup.h"
#include "controls/QrSpin.h"
#include "controls/QrnEdit.h"
#include "toolkit/Form.h"
#include "toolkit/Panel.h"
#include "toolkit/Properties.h"
#include "toolkit/WindowPicture.h"

namespace {

class ControlsWindow : public toolkit::Form {
  Q_OBJECT
 public:
  explicit ControlsWindow(toolkit::Component* owner) : toolkit::Form(owner) {
    SetName("frmControls");
    SetBounds(0, 0, 400, 300);
  }
  void WndProc(toolkit::Message& message) override {
    if (message.Msg == LookupRequest) {
      toolkit::Control* control = toolkit::ParamControl(message.LParam);
      log.push_back("lookup " + (control ? control->Name() : std::string("?")));
      return;
    }
    toolkit::Form::WndProc(message);
  }
  void Logged(toolkit::Component* sender) { log.push_back("click " + sender->Name()); }
  void Changed(toolkit::Component* sender) {
    log.push_back("change " + toolkit::GetStrPropOf(sender, "Text"));
  }
  void Dialog(toolkit::Component* sender) { log.push_back("dialog " + sender->Name()); }
  void KeyPressed(toolkit::Component* sender, char& key) {
    log.push_back(std::string("key ") + key + " " + sender->Name());
  }
  void DrawTab(toolkit::Component*, int tab, const QRect&, bool active) {
    log.push_back("tab " + std::to_string(tab) + (active ? " active" : ""));
  }
  void Activate() {
    Show();
    QApplication::setActiveWindow(this);
    ASSERT_TRUE(QTest::qWaitForWindowActive(this));
  }
  template <class T>
  T* Make(const char* name, toolkit::WinControl* parent = nullptr) {
    auto* control = new T(this);
    control->SetName(name);
    control->SetParent(parent ? parent : this);
    return control;
  }
  void Bind(toolkit::Persistent* control, const char* event, const char* handler) {
    toolkit::SetMethodPropOf(control, event, toolkit::FindMethod(this, handler));
  }
  std::vector<std::string> log;
};

const auto published = toolkit::Publish<ControlsWindow>()
                           .Handler("Logged", &ControlsWindow::Logged)
                           .Handler("Changed", &ControlsWindow::Changed)
                           .Handler("Dialog", &ControlsWindow::Dialog)
                           .Handler("KeyPressed", &ControlsWindow::KeyPressed)
                           .Handler("DrawTab", &ControlsWindow::DrawTab);

class OtherControlsTest : public testing::Test {
 protected:
  void SetUp() override { window = new ControlsWindow(nullptr); }
  void TearDown() override { toolkit::Free(window); }
  ControlsWindow* window;
};

// ---- Labelled edits ----

TEST_F(OtherControlsTest, EditLabelFollowsTheEdit) {
  const struct {
    TQrEdit::TLabelPosition position;
    int spacing;
    QPoint expected;
  } cases[] = {
      {TQrEdit::lpLeft, 4, QPoint(42 - 26 - 4, 30 + 4)},  // left 12, 4 below the edit's top
      {TQrEdit::lpRight, 4, QPoint(42 + 45 + 4, 34)},
      {TQrEdit::lpAbove, 4, QPoint(42, 30 - 13 - 4)},
      {TQrEdit::lpBelow, 6, QPoint(42, 30 + 21 + 6)},
  };
  for (const auto& c : cases) {
    auto* edit = window->Make<TQrEdit>("edHour");
    toolkit::Label* label = edit->EditLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Name(), "EditLabel");
    EXPECT_EQ(label->FocusControl(), edit);
    label->SetAutoSize(false);
    label->SetBounds(0, 0, 26, 13);
    edit->SetLabelSpacing(c.spacing);
    edit->SetLabelPosition(c.position);
    edit->SetBounds(42, 30, 45, 21);
    EXPECT_EQ(QPoint(label->Left(), label->Top()), c.expected) << c.position;
    EXPECT_EQ(label->Width(), 26);
    EXPECT_EQ(label->Parent(), window);
    toolkit::Free(edit);
  }
}

TEST_F(OtherControlsTest, EditLabelCaptionSpacingAndState) {
  auto* edit = window->Make<TQrEdit>("edHour");
  EXPECT_EQ(edit->LabelPosition(), TQrEdit::lpLeft);
  EXPECT_EQ(edit->LabelSpacing(), 4);
  EXPECT_EQ(edit->Caption(), "");
  edit->SetBounds(100, 50, 60, 21);
  edit->SetCaption("Hours");
  toolkit::Label* label = edit->EditLabel();
  EXPECT_EQ(label->Caption(), "Hours");
  EXPECT_EQ(label->Left(), 100 - label->Width() - 4);
  edit->SetLabelSpacing(-3);  // ignored
  EXPECT_EQ(edit->LabelSpacing(), 4);
  // Reached by name, as language packs write it.
  toolkit::SetPropertyPath(edit, "EditLabel.Caption", automation::Variant(std::string("H")));
  EXPECT_EQ(edit->Caption(), "H");
  toolkit::SetPropValue(edit, "LabelPosition", automation::Variant(std::string("lpAbove")));
  EXPECT_EQ(label->Top(), 50 - label->Height() - 4);
  edit->SetEnabled(false);
  EXPECT_FALSE(label->Enabled());
  edit->SetVisible(false);
  EXPECT_FALSE(label->Visible());
  auto* panel = window->Make<toolkit::Panel>("pnl");
  edit->SetParent(panel);
  EXPECT_EQ(label->Parent(), panel);
  // A label destroyed first is forgotten.
  toolkit::Free(label);
  EXPECT_EQ(edit->EditLabel(), nullptr);
  edit->SetBounds(0, 0, 10, 10);
  EXPECT_EQ(edit->Caption(), "");
}

TEST_F(OtherControlsTest, ButtonEditPlacesItsButtonAndAsksForTheLookup) {
  auto* edit = window->Make<TQrBtnDBEdit>("edDoc");
  TGSpeedButton* button = edit->Button();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->Name(), "F2Button");
  EXPECT_TRUE(button->Flat());
  EXPECT_EQ(edit->GlyphIndex(), 8);
  EXPECT_EQ(edit->ButtonSpacing(), 2);
  edit->SetBounds(50, 40, 100, 21);
  EXPECT_EQ(QRect(button->Left(), button->Top(), button->Width(), button->Height()),
            QRect(152, 40, 21, 21));
  edit->SetButtonSpacing(5);
  EXPECT_EQ(button->Left(), 155);
  edit->SetButtonHint("Lookup");
  EXPECT_EQ(button->Hint(), "Lookup");
  edit->SetGlyphIndex(9);
  EXPECT_EQ(button->GlyphIndex(), 9);
  EXPECT_EQ(toolkit::GetOrdPropOf(edit, "GlyphIndex"), 9);

  window->Activate();
  button->Click();
  EXPECT_EQ(window->log, (std::vector<std::string>{"lookup edDoc"}));
  EXPECT_TRUE(edit->Focused());
  window->log.clear();
  window->Bind(edit, "OnDialog", "Dialog");
  button->Click();
  EXPECT_EQ(window->log, (std::vector<std::string>{"dialog edDoc"}));
  edit->SetEnabled(false);
  EXPECT_FALSE(button->Enabled());
}

// ---- Spin edit ----

TEST_F(OtherControlsTest, SpinEditTakesALateSignBack) {
  const struct {
    const char* typed;
    const char* shown;
    std::vector<std::string> log;
  } cases[] = {
      {"12-", "12", {"change 12"}},
      {"12+", "12", {"change 12"}},
      {"-12", "-12", {"change -12"}},
      {"+5", "+5", {"change +5"}},
      {"1-2", "1-", {"change 1-"}},  // only the last character goes
      {"", "", {}},                  // empty: no change event
      {"  ", "  ", {}},
  };
  auto* spin = window->Make<TQrSpinEdit>("seDay");
  window->Bind(spin, "OnChange", "Changed");
  for (const auto& c : cases) {
    spin->SetText("7");
    window->log.clear();
    spin->SetText(c.typed);
    EXPECT_EQ(spin->Text(), c.shown) << c.typed;
    EXPECT_EQ(window->log, c.log) << c.typed;
  }
}

TEST_F(OtherControlsTest, SpinEditTypedSign) {
  auto* spin = window->Make<TQrSpinEdit>("seDay");
  spin->SetMaxValue(99);
  spin->SetText("12");
  window->Activate();
  spin->SetFocus();
  spin->SelectAll();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Minus);
  EXPECT_EQ(spin->Text(), "12");
}

// ---- Radio buttons ----

TEST_F(OtherControlsTest, CheckingARadioButtonUnchecksItsSiblingsOnly) {
  auto* r1 = window->Make<TQrRadioButton>("rdo1");
  auto* r2 = window->Make<TQrRadioButton>("rdo2");
  auto* r3 = window->Make<TQrRadioButton>("rdo3");
  auto* panel = window->Make<toolkit::Panel>("pnl");
  auto* elsewhere = window->Make<TQrRadioButton>("rdoOther", panel);
  EXPECT_EQ(r1->Width(), 113);
  EXPECT_EQ(r1->Height(), 17);
  EXPECT_FALSE(r1->TabStop());
  for (auto* r : {r1, r2, r3, elsewhere}) window->Bind(r, "OnClick", "Logged");
  elsewhere->SetChecked(true);
  r1->SetChecked(true);
  r3->SetChecked(true);
  EXPECT_FALSE(r1->Checked());
  EXPECT_FALSE(r2->Checked());
  EXPECT_TRUE(r3->Checked());
  EXPECT_TRUE(elsewhere->Checked());
  EXPECT_TRUE(r3->TabStop());
  EXPECT_FALSE(r1->TabStop());
  // A code write of True raises OnClick; unchecking and checking a checked button do not.
  EXPECT_EQ(window->log, (std::vector<std::string>{"click rdoOther", "click rdo1", "click rdo3"}));
  window->log.clear();
  r3->SetChecked(true);
  r3->SetChecked(false);
  r2->SetClicksDisabled(true);
  r2->SetChecked(true);
  EXPECT_TRUE(window->log.empty());
  EXPECT_TRUE(r2->Checked());
}

TEST_F(OtherControlsTest, ClickingARadioButtonChecksIt) {
  auto* r1 = window->Make<TQrRadioButton>("rdo1");
  auto* r2 = window->Make<TQrRadioButton>("rdo2");
  r2->SetTop(30);
  window->Bind(r1, "OnClick", "Logged");
  window->Bind(r2, "OnClick", "Logged");
  r1->SetChecked(true);
  window->Activate();
  window->log.clear();
  QTest::mouseClick(r2, Qt::LeftButton, {}, QPoint(6, 8));
  EXPECT_TRUE(r2->Checked());
  EXPECT_FALSE(r1->Checked());
  QTest::mouseClick(r2, Qt::LeftButton, {}, QPoint(6, 8));  // checked already: stays
  EXPECT_TRUE(r2->Checked());
  EXPECT_EQ(window->log, (std::vector<std::string>{"click rdo2"}));
}

TEST_F(OtherControlsTest, CaptionOffsetByFontSize) {
  const struct {
    int points;
    int d;
  } cases[] = {{1, 17},  {8, 17},  {9, 19},  {15, 19}, {16, 20}, {17, 20}, {18, 21}, {23, 21},
               {24, 23}, {29, 23}, {30, 25}, {35, 25}, {36, 27}, {41, 27}, {42, 29}, {43, 29},
               {44, 31}, {60, 31}, {61, 39}, {80, 39}, {81, 44}, {0, 44},  {-3, 44}};
  for (const auto& c : cases) EXPECT_EQ(TQrRadioButton::CaptionOffset(c.points), c.d) << c.points;
}

// ---- Radio group ----

TEST_F(OtherControlsTest, RadioGroupLaysItsButtonsOutInColumns) {
  auto* group = window->Make<TQrRadioGroup>("rgKind");
  group->SetBounds(10, 10, 210, 105);
  group->Items()->Assign(std::vector<std::string>{"a", "b", "c", "d", "e"});
  group->SetColumns(2);
  ASSERT_EQ(group->ButtonCount(), 5);
  const int f = QFontMetrics(group->font()).height();
  const int r = 3;
  const int columnWidth = (210 - 10) / 2;
  const int h = (105 - f - 5) / r;
  const int margin = ((105 - f - 5) % r) / 2 + f + 1;
  for (int i = 0; i < 5; ++i) {
    TQrGroupButton* b = group->Buttons(i);
    EXPECT_EQ(b->Caption(), std::string(1, static_cast<char>('a' + i)));
    EXPECT_EQ(b->Left(), (i / r) * columnWidth + 8) << i;
    EXPECT_EQ(b->Top(), (i % r) * h + margin) << i;
    EXPECT_EQ(b->Width(), columnWidth);
    EXPECT_EQ(b->Height(), h);
  }
  // Three in the first column, two in the second.
  EXPECT_EQ(group->Buttons(2)->Left(), 8);
  EXPECT_EQ(group->Buttons(3)->Left(), 8 + columnWidth);
  group->SetColumns(40);
  EXPECT_EQ(group->Columns(), 16);
  group->Items()->Delete(4);
  EXPECT_EQ(group->ButtonCount(), 4);
}

TEST_F(OtherControlsTest, RadioGroupItemIndex) {
  auto* group = window->Make<TQrRadioGroup>("rgKind");
  window->Bind(group, "OnClick", "Logged");
  group->Items()->Assign(std::vector<std::string>{"a", "b", "c"});
  EXPECT_EQ(group->ItemIndex(), -1);
  group->SetItemIndex(1);
  EXPECT_TRUE(group->Buttons(1)->Checked());
  EXPECT_TRUE(window->log.empty());  // no click from code
  toolkit::SetPropValue(group, "ItemIndex", automation::Variant(7));
  EXPECT_EQ(group->ItemIndex(), 2);
  group->SetItemIndex(-1);
  EXPECT_FALSE(group->Buttons(2)->Checked());
  // A button clicked by the user sets ItemIndex and clicks the group.
  group->Buttons(0)->SetChecked(true);
  EXPECT_EQ(group->ItemIndex(), 0);
  EXPECT_EQ(window->log, (std::vector<std::string>{"click rgKind"}));
  // Fewer items: the index follows.
  group->Items()->Assign(std::vector<std::string>{});
  EXPECT_EQ(group->ItemIndex(), -1);
}

TEST_F(OtherControlsTest, RadioGroupButtonsForwardKeys) {
  auto* group = window->Make<TQrRadioGroup>("rgKind");
  group->SetBounds(10, 10, 200, 100);
  group->Items()->Assign(std::vector<std::string>{"a", "b"});
  window->Bind(group, "OnKeyPress", "KeyPressed");
  window->Activate();
  group->Buttons(1)->SetFocus();
  QTest::keyClick(group->Buttons(1), Qt::Key_X);
  EXPECT_EQ(window->log, (std::vector<std::string>{"key x rgKind"}));
}

// ---- Page control ----

TEST_F(OtherControlsTest, PageControlDrawsItsTabsOrLetsTheHandlerDrawThem) {
  auto* pages = window->Make<TExtPageControl>("pgOption");
  pages->SetBounds(0, 0, 380, 200);
  auto* first = new toolkit::TabSheet(window);
  first->SetName("tsOption");
  first->SetCaption("Options");
  first->SetPageControl(pages);
  auto* hidden = new toolkit::TabSheet(window);
  hidden->SetCaption("Hidden");
  hidden->SetPageControl(pages);
  hidden->SetTabVisible(false);
  auto* second = new toolkit::TabSheet(window);
  second->SetName("tsSchedule");
  second->SetCaption("Schedule");
  second->SetPageControl(pages);
  pages->SetActivePage(first);
  // The second visible tab shows the third page (counting visible tabs only).
  EXPECT_EQ(pages->PageOfTab(1), second);
  QImage plain(pages->Width(), pages->Height(), QImage::Format_RGB32);
  pages->Widget()->render(&plain);
  window->Bind(pages, "OnDrawTab", "DrawTab");
  QImage drawn(pages->Width(), pages->Height(), QImage::Format_RGB32);
  pages->Widget()->render(&drawn);
  EXPECT_EQ(window->log, (std::vector<std::string>{"tab 0 active", "tab 1"}));
  EXPECT_NE(plain, drawn);
  // The built-in drawing fills the active tab with the active caption colour.
  const QRect tab0 = pages->QtTabBar()->tabRect(0).translated(pages->QtTabBar()->pos());
  EXPECT_EQ(QColor(plain.pixel(tab0.left() + 3, tab0.top() + 3)),
            toolkit::ToQColor(toolkit::clActiveCaption));
  const QRect tab1 = pages->QtTabBar()->tabRect(1).translated(pages->QtTabBar()->pos());
  EXPECT_EQ(QColor(plain.pixel(tab1.left() + 1, tab1.top() + 1)),
            toolkit::ToQColor(toolkit::clInactiveCaption));
}

}  // namespace

#include "OtherControls_test.moc"
