// TGSpeedButton, TF2Button and TDBLabel: pictures by number, bindings and their placement.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "OsResD5.h"
#include "controls/DBLabel.h"
#include "controls/F2Button.h"
#include "controls/GSpdBtn.h"
#include "controls/LookupRequest.h"
#include "support/GbkText.h"
#include "toolkit/DataSet.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/Panel.h"
#include "toolkit/Properties.h"

namespace {

using toolkit::Edit;

// A window that records the lookup requests it receives and the clicks of its buttons.
class LookupWindow : public toolkit::Form {
  Q_OBJECT
 public:
  explicit LookupWindow(toolkit::Component* owner) : toolkit::Form(owner) {
    SetBounds(0, 0, 320, 200);
    edit = new Edit(this);
    edit->SetName("me01");
    edit->SetParent(this);
    edit->SetBounds(10, 20, 100, 21);
  }
  void WndProc(toolkit::Message& message) override {
    if (message.Msg == LookupRequest) {
      toolkit::Control* control = toolkit::ParamControl(message.LParam);
      log.push_back(
          "lookup " + (control ? control->Name() : std::string("(none)")) +
          (control && dynamic_cast<toolkit::WinControl*>(control)->Focused() ? " focused" : ""));
      return;
    }
    toolkit::Form::WndProc(message);
  }
  void ButtonClick(toolkit::Component* sender) { log.push_back("click " + sender->Name()); }
  void Activate() {
    Show();
    QApplication::setActiveWindow(this);
    ASSERT_TRUE(QTest::qWaitForWindowActive(this));
  }

  Edit* edit;
  std::vector<std::string> log;
};

const auto published =
    toolkit::Publish<LookupWindow>().Handler("ButtonClick", &LookupWindow::ButtonClick);

class LookupButtonsTest : public testing::Test {
 protected:
  void SetUp() override { window = new LookupWindow(nullptr); }
  void TearDown() override { toolkit::Free(window); }

  template <class T>
  T* Make(const char* name) {
    auto* control = new T(window);
    control->SetName(name);
    control->SetParent(window);
    return control;
  }

  LookupWindow* window;
};

TEST_F(LookupButtonsTest, PictureNumbersLoadFromTheLibrary) {
  const struct {
    int index;
    const char* caption;
    int width;
    int numGlyphs;
  } cases[] = {
      {8, "", 23, 1},    // the lookup picture
      {4, "", 46, 2},    // two images side by side
      {47, "", 23, 1},   // the highest number
      {48, "48", 0, 1},  // above GetMaxBmpID: the number, no picture
      {5, "5", 0, 1},    // a number without a picture
      {0, "0", 0, 1},    // none
      {-3, "-3", 0, 1},
  };
  auto* button = Make<TGSpeedButton>("btnPicture");
  for (const auto& c : cases) {
    button->SetGlyphIndex(9);  // a picture first, so that each case shows what it changes
    button->SetNumGlyphs(1);
    button->SetGlyphIndex(c.index);
    EXPECT_EQ(button->GlyphIndex(), c.index);
    EXPECT_EQ(button->Caption(), c.caption) << c.index;
    EXPECT_EQ(button->Glyph()->Width(), c.width) << c.index;
    EXPECT_EQ(button->NumGlyphs(), c.numGlyphs) << c.index;
  }
  ASSERT_EQ(GetMaxBmpID(), 47);
}

TEST_F(LookupButtonsTest, SettingTheSameNumberAgainChangesNothing) {
  auto* button = Make<TGSpeedButton>("btnPicture");
  button->SetGlyphIndex(48);
  button->SetCaption("mine");
  button->SetGlyphIndex(48);
  EXPECT_EQ(button->Caption(), "mine");
  // Published by name.
  toolkit::SetPropValue(button, "GlyphIndex", automation::Variant(39));
  EXPECT_EQ(button->Glyph()->Width(), 23);
  toolkit::SetPropValue(button, "HintIndex", automation::Variant(7));
  EXPECT_EQ(toolkit::GetOrdPropOf(button, "HintIndex"), 7);
}

TEST_F(LookupButtonsTest, NewLookupButtonIsFlatWithTheMagnifier) {
  auto* button = Make<TF2Button>("F2Button2");
  EXPECT_TRUE(button->Flat());
  EXPECT_EQ(button->GlyphIndex(), 8);
  EXPECT_EQ(button->Caption(), "");
  EXPECT_TRUE(button->AutoAlign());
  EXPECT_EQ(button->Gap(), 2);
  EXPECT_EQ(button->F2Control(), nullptr);
}

TEST_F(LookupButtonsTest, LookupButtonPlacesItselfRightOfItsControl) {
  auto* button = Make<TF2Button>("F2Button2");
  button->SetF2Control(window->edit);
  EXPECT_EQ(button->Left(), 10 + 100 + 2);
  EXPECT_EQ(button->Top(), 20);
  EXPECT_EQ(button->Width(), 21);
  EXPECT_EQ(button->Height(), 21);
  button->SetGap(6);
  EXPECT_EQ(button->Left(), 116);
  // A later move of the edit is not followed until AutoAlign is set again.
  window->edit->SetBounds(40, 60, 80, 24);
  EXPECT_EQ(button->Left(), 116);
  button->SetAutoAlign(false);
  button->SetAutoAlign(true);
  EXPECT_EQ(button->Left(), 40 + 80 + 6);
  EXPECT_EQ(button->Top(), 60);
  EXPECT_EQ(button->Width(), 24);
  // By name, as a window's description binds it.
  auto* other = Make<Edit>("edOther");
  toolkit::SetObjectProperty(button, "F2Control", other);
  EXPECT_EQ(button->F2Control(), other);
}

TEST_F(LookupButtonsTest, SecondBindingToTheSameControlIsRefused) {
  toolkit::ScriptedDialogRunner dialogs;
  auto* first = Make<TF2Button>("F2Button1");
  auto* second = Make<TF2Button>("F2Button2");
  first->SetF2Control(window->edit);
  second->SetF2Control(window->edit);
  EXPECT_EQ(first->F2Control(), window->edit);
  EXPECT_EQ(second->F2Control(), nullptr);
  ASSERT_EQ(dialogs.Shown().size(), 1u);
  EXPECT_EQ(dialogs.Shown()[0].Text, Gbk("不能同时有两个 F2Button 指到同一个 Edit."));
  EXPECT_EQ(dialogs.Shown()[0].Kind, toolkit::mtError);
  ASSERT_EQ(dialogs.Shown()[0].Buttons.size(), 1u);
  EXPECT_EQ(dialogs.Shown()[0].Buttons[0].Kind, toolkit::mbOK);

  // The same button again: refused silently, and it does not align either.
  window->edit->SetLeft(200);
  first->SetF2Control(window->edit);
  EXPECT_EQ(dialogs.Shown().size(), 1u);
  EXPECT_EQ(first->Left(), 112);
  // Unbinding is always allowed; then the other button may take the edit.
  first->SetF2Control(nullptr);
  second->SetF2Control(window->edit);
  EXPECT_EQ(second->F2Control(), window->edit);
  EXPECT_EQ(dialogs.Shown().size(), 1u);
}

TEST_F(LookupButtonsTest, PressingAsksTheWindowForTheLookupOfTheFocusedControl) {
  auto* button = Make<TF2Button>("F2Button2");
  toolkit::SetMethodPropOf(button, "OnClick", toolkit::FindMethod(window, "ButtonClick"));
  button->SetF2Control(window->edit);
  window->Activate();
  button->Click();
  EXPECT_EQ(window->log, (std::vector<std::string>{"click F2Button2", "lookup me01 focused"}));

  window->log.clear();
  window->edit->SetEnabled(false);
  button->Click();
  EXPECT_EQ(window->log, (std::vector<std::string>{"click F2Button2"}));

  window->log.clear();
  window->edit->SetEnabled(true);
  button->SetF2Control(nullptr);
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(window->log, (std::vector<std::string>{"click F2Button2"}));
}

TEST_F(LookupButtonsTest, ControlThatCannotTakeTheFocusGetsNoLookup) {
  auto* button = Make<TF2Button>("F2Button2");
  button->SetF2Control(window->edit);
  auto* other = Make<Edit>("edOther");
  other->SetBounds(10, 100, 100, 21);
  window->Activate();
  other->SetFocus();
  window->edit->SetVisible(false);
  button->Click();
  EXPECT_TRUE(window->log.empty());
}

// ---- TDBLabel ----

TEST_F(LookupButtonsTest, LinkedLabelStartsWithItsDefaults) {
  auto* label = Make<TDBLabel>("lblDoc");
  EXPECT_EQ(label->Caption(), Gbk("挂靠标签"));
  EXPECT_EQ(label->Pos(), TDBLabel::psLeft);
  EXPECT_EQ(label->Gap(), 4);
  EXPECT_TRUE(label->AutoAlign());
  EXPECT_TRUE(label->AutoCaption());
  EXPECT_EQ(toolkit::GetEnumPropOf(label, "Pos"), "psLeft");
}

TEST_F(LookupButtonsTest, LinkedLabelPlacement) {
  const struct {
    const char* name;
    TDBLabel::TPos pos;
    QRect control;
    int labelWidth;
    int labelHeight;
    QPoint expected;
  } cases[] = {
      {"top, clamped at 0", TDBLabel::psTop, QRect(30, 5, 100, 21), 40, 13, QPoint(30, 0)},
      {"top", TDBLabel::psTop, QRect(30, 40, 100, 21), 40, 13, QPoint(30, 40 - 13 - 4)},
      {"left, centred", TDBLabel::psLeft, QRect(60, 8, 100, 21), 40, 13, QPoint(16, 8 + 10 - 6)},
      {"left, clamped at 0", TDBLabel::psLeft, QRect(20, 8, 100, 21), 40, 13, QPoint(0, 12)},
      {"left, same height", TDBLabel::psLeft, QRect(60, 8, 100, 13), 40, 13, QPoint(16, 8)},
      {"left, taller label clamped", TDBLabel::psLeft, QRect(60, 2, 100, 10), 40, 30,
       QPoint(16, 0)},
      {"right", TDBLabel::psRight, QRect(60, 8, 100, 21), 40, 13, QPoint(164, 12)},
      {"bottom", TDBLabel::psBottom, QRect(60, 8, 100, 21), 40, 13, QPoint(60, 33)},
  };
  for (const auto& c : cases) {
    auto* label = Make<TDBLabel>("");
    label->SetAutoSize(false);
    label->SetBounds(0, 0, c.labelWidth, c.labelHeight);
    auto* edit = Make<Edit>("");
    edit->SetBounds(c.control.x(), c.control.y(), c.control.width(), c.control.height());
    label->SetPos(c.pos);
    label->SetFocusControl(edit);
    EXPECT_EQ(QPoint(label->Left(), label->Top()), c.expected) << c.name;
    EXPECT_EQ(label->Width(), c.labelWidth) << c.name;
    toolkit::Free(label);
    toolkit::Free(edit);
  }
}

TEST_F(LookupButtonsTest, LinkedLabelRealignsWhenItsPropertiesChange) {
  auto* label = Make<TDBLabel>("lblDoc");
  label->SetAutoSize(false);
  label->SetBounds(0, 0, 40, 13);
  label->SetFocusControl(window->edit);  // edit at 10, 20, 100 × 21
  EXPECT_EQ(QPoint(label->Left(), label->Top()), QPoint(0, 24));
  label->SetPos(TDBLabel::psBottom);
  EXPECT_EQ(QPoint(label->Left(), label->Top()), QPoint(10, 45));
  label->SetGap(10);
  EXPECT_EQ(label->Top(), 51);
  label->SetAutoAlign(false);
  label->SetPos(TDBLabel::psTop);
  EXPECT_EQ(label->Top(), 51);
}

TEST_F(LookupButtonsTest, SecondLinkedLabelIsRefused) {
  toolkit::ScriptedDialogRunner dialogs;
  auto* first = Make<TDBLabel>("lbl1");
  auto* second = Make<TDBLabel>("lbl2");
  first->SetFocusControl(window->edit);
  second->SetFocusControl(window->edit);
  EXPECT_EQ(second->FocusControl(), nullptr);
  ASSERT_EQ(dialogs.Shown().size(), 1u);
  EXPECT_EQ(dialogs.Shown()[0].Text, Gbk("不能同时有两个 DBLabel 指到同一个 Control."));
  EXPECT_EQ(dialogs.Shown()[0].Kind, toolkit::mtError);
  first->SetFocusControl(window->edit);
  EXPECT_EQ(dialogs.Shown().size(), 1u);
  // A label and a lookup button may share a control.
  auto* button = Make<TF2Button>("F2Button1");
  button->SetF2Control(window->edit);
  EXPECT_EQ(button->F2Control(), window->edit);
  EXPECT_EQ(dialogs.Shown().size(), 1u);
}

TEST_F(LookupButtonsTest, BindingsOnAnotherParentAreNotCompared) {
  // The check looks at the components the parent owns; a panel owns none of the window's.
  toolkit::ScriptedDialogRunner dialogs;
  auto* panel = Make<toolkit::Panel>("pnl");
  auto* first = Make<TF2Button>("F2Button1");
  auto* second = Make<TF2Button>("F2Button2");
  first->SetParent(panel);
  second->SetParent(panel);
  first->SetF2Control(window->edit);
  second->SetF2Control(window->edit);
  EXPECT_EQ(second->F2Control(), window->edit);
  EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(LookupButtonsTest, LabelForgetsAControlThatIsGone) {
  auto* label = Make<TDBLabel>("lblDoc");
  auto* edit = Make<Edit>("edGone");
  label->SetFocusControl(edit);
  toolkit::Free(edit);
  EXPECT_EQ(label->FocusControl(), nullptr);
  label->SetPos(TDBLabel::psTop);  // no control: nothing to align with
}

// A data source and a data-aware control of the shape the label reads by name.
class TestDataSource : public toolkit::NonVisualComponent {
  Q_OBJECT
  Q_PROPERTY(QObject* DataSet MEMBER DataSet)
 public:
  using toolkit::NonVisualComponent::NonVisualComponent;
  QObject* DataSet = nullptr;
};

class TestDBEdit : public Edit {
  Q_OBJECT
  Q_PROPERTY(QObject* DataSource MEMBER DataSource)
  Q_PROPERTY(std::string DataField MEMBER DataField)
 public:
  using Edit::Edit;
  QObject* DataSource = nullptr;
  std::string DataField;
};

TEST_F(LookupButtonsTest, CaptionComesFromTheFieldsDisplayLabel) {
  auto* dataSet = new toolkit::ClientDataSet(window);
  dataSet->AddField("MC001", toolkit::Field::ftString, 16)->SetDisplayLabel(Gbk("退货单号"));
  dataSet->AddField("MC002", toolkit::Field::ftString, 8)->SetDisplayLabel(Gbk("日期"));
  auto* source = new TestDataSource(window);
  auto* edit = Make<TestDBEdit>("edDoc");
  edit->DataField = "mc002";
  auto* label = Make<TDBLabel>("lblDoc");

  // Without a data source the caption stays.
  label->SetFocusControl(edit);
  EXPECT_EQ(label->Caption(), Gbk("挂靠标签"));
  edit->DataSource = source;
  label->SetGap(5);  // a data source without a data set: still the same
  EXPECT_EQ(label->Caption(), Gbk("挂靠标签"));
  source->DataSet = dataSet;
  label->SetGap(6);
  EXPECT_EQ(label->Caption(), Gbk("日期"));
  // A field the data set lacks leaves the caption as it is.
  edit->DataField = "MC999";
  label->SetGap(7);
  EXPECT_EQ(label->Caption(), Gbk("日期"));
  // AutoCaption off: the caption is the label's own.
  edit->DataField = "MC001";
  label->SetAutoCaption(false);
  EXPECT_EQ(label->Caption(), Gbk("日期"));
  label->SetAutoCaption(true);
  EXPECT_EQ(label->Caption(), Gbk("退货单号"));
}

}  // namespace

#include "LookupButtons_test.moc"
