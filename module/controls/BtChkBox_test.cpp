#include "controls/BtChkBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "controls/ModuleRes.h"
#include "toolkit/Form.h"
#include "toolkit/Properties.h"

namespace {

using toolkit::CheckBox;
using toolkit::Picture;

// A window with one bitmap check box whose OnClick handler counts.
class BoxWindow : public toolkit::Form {
  Q_OBJECT
 public:
  explicit BoxWindow(toolkit::Component* owner) : toolkit::Form(owner) {
    SetBounds(0, 0, 200, 80);
    box = new TBitCheckBox(this);
    box->SetName("chkNotify");
    box->SetParent(this);
    box->SetBounds(10, 10, 120, 17);
    toolkit::SetMethodPropOf(box, "OnClick", toolkit::FindMethod(this, "BoxClick"));
  }
  void BoxClick(toolkit::Component*) { ++clicks; }

  TBitCheckBox* box;
  int clicks = 0;
};

const auto published = toolkit::Publish<BoxWindow>().Handler("BoxClick", &BoxWindow::BoxClick);

class BitCheckBoxTest : public testing::Test {
 protected:
  void SetUp() override { window = new BoxWindow(nullptr); }
  void TearDown() override { toolkit::Free(window); }
  void Activate() {
    window->Show();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  }
  BoxWindow* window;
};

TEST_F(BitCheckBoxTest, NewBoxHasItsInitialValues) {
  TBitCheckBox box(nullptr);
  EXPECT_EQ(box.Width(), 97);
  EXPECT_EQ(box.Height(), 17);
  EXPECT_EQ(box.State(), CheckBox::cbUnchecked);
  EXPECT_FALSE(box.Checked());
  EXPECT_FALSE(box.AllowGrayed());
  EXPECT_EQ(box.Alignment(), toolkit::Control::taRightJustify);
  EXPECT_TRUE(box.TabStop());
  EXPECT_TRUE(box.Ctl3D());
  EXPECT_TRUE(box.CheckedGlyph()->GetPicture() == ModulePicture("CHECKED"));
  EXPECT_TRUE(box.UncheckedGlyph()->GetPicture() == ModulePicture("UNCHECKED"));
  EXPECT_TRUE(box.GrayedGlyph()->GetPicture() == ModulePicture("GRAYED"));
  EXPECT_EQ(box.CheckedNumGlyphs(), 1);
  EXPECT_EQ(box.ClassName(), "TBitCheckBox");
}

TEST_F(BitCheckBoxTest, ClicksCycleThroughTheStates) {
  const struct {
    bool allowGrayed;
    std::vector<CheckBox::TCheckBoxState> states;
  } cases[] = {
      {false, {CheckBox::cbChecked, CheckBox::cbUnchecked, CheckBox::cbChecked}},
      {true, {CheckBox::cbGrayed, CheckBox::cbChecked, CheckBox::cbUnchecked, CheckBox::cbGrayed}},
  };
  for (const auto& c : cases) {
    window->box->SetState(CheckBox::cbUnchecked);
    window->box->SetAllowGrayed(c.allowGrayed);
    window->clicks = 0;
    int n = 0;
    for (CheckBox::TCheckBoxState expected : c.states) {
      window->box->Click();
      ++n;
      EXPECT_EQ(window->box->State(), expected)
          << "AllowGrayed " << c.allowGrayed << " click " << n;
      EXPECT_EQ(window->clicks, n);
    }
  }
}

TEST_F(BitCheckBoxTest, GrayedBecomesCheckedEvenWithoutAllowGrayed) {
  window->box->SetState(CheckBox::cbGrayed);
  window->box->Click();
  EXPECT_EQ(window->box->State(), CheckBox::cbChecked);
}

TEST_F(BitCheckBoxTest, CodeWritesRaiseNoClick) {
  window->box->SetChecked(true);
  EXPECT_TRUE(window->box->Checked());
  window->box->SetState(CheckBox::cbGrayed);
  EXPECT_FALSE(window->box->Checked());
  toolkit::SetPropValue(window->box, "Checked", automation::Variant(true));
  EXPECT_EQ(toolkit::GetEnumPropOf(window->box, "State"), "cbChecked");
  toolkit::SetPropValue(window->box, "State", automation::Variant(std::string("cbUnchecked")));
  EXPECT_FALSE(window->box->Checked());
  EXPECT_EQ(window->clicks, 0);
}

TEST_F(BitCheckBoxTest, MouseClickAndSpaceToggleWithClickAndFocus) {
  Activate();
  QTest::mouseClick(window->box, Qt::LeftButton, {}, QPoint(5, 8));
  EXPECT_TRUE(window->box->Checked());
  EXPECT_EQ(window->clicks, 1);
  EXPECT_TRUE(window->box->Focused());
  QTest::keyClick(window->box, Qt::Key_Space);
  EXPECT_FALSE(window->box->Checked());
  EXPECT_EQ(window->clicks, 2);
}

TEST_F(BitCheckBoxTest, AcceleratorTogglesWithoutClick) {
  window->box->SetCaption("&Notify");
  Activate();
  QTest::keyClick(window, Qt::Key_N, Qt::AltModifier);
  EXPECT_TRUE(window->box->Focused());
  EXPECT_TRUE(window->box->Checked());
  EXPECT_EQ(window->clicks, 0);
}

TEST_F(BitCheckBoxTest, NumberOfImagesFollowsSquarePictures) {
  const struct {
    int width;
    int before;
    int expected;
  } cases[] = {
      {28, 1, 2},                          // two square images
      {38, 2, 2},                          // 38 is no multiple of 14: the number stays
      {38, 1, 1}, {14, 2, 1}, {42, 1, 2},  // three squares, held to 2
  };
  for (const auto& c : cases) {
    window->box->SetCheckedNumGlyphs(c.before);
    const Picture picture(c.width, 14, Picture::Rgb(0, 0, 255));
    window->box->SetGlyphPicture(CheckBox::cbChecked, &picture);
    EXPECT_EQ(window->box->CheckedNumGlyphs(), c.expected) << c.width << " wide, " << c.before;
  }
  window->box->SetCheckedNumGlyphs(5);
  EXPECT_EQ(window->box->CheckedNumGlyphs(), 2);
  window->box->SetCheckedNumGlyphs(0);
  EXPECT_EQ(window->box->CheckedNumGlyphs(), 1);
  window->box->SetCheckedGlyph(nullptr);
  EXPECT_TRUE(window->box->CheckedGlyph()->GetPicture() == ModulePicture("CHECKED"));
}

TEST_F(BitCheckBoxTest, SecondImageIsDrawnWhileDisabled) {
  Picture pair(28, 14, Picture::Rgb(0, 0, 255));
  pair.FillRect(14, 0, 14, 14, Picture::Rgb(255, 0, 0));
  window->box->SetGlyphPicture(CheckBox::cbUnchecked, &pair);
  EXPECT_EQ(window->box->ImageIndex(), 0);
  window->box->SetEnabled(false);
  EXPECT_EQ(window->box->ImageIndex(), 1);
  // One image only: the same image while disabled.
  window->box->SetUncheckedNumGlyphs(1);
  EXPECT_EQ(window->box->ImageIndex(), 0);
}

TEST_F(BitCheckBoxTest, CaptionAndPictureFollowTheAlignment) {
  TBitCheckBox* box = window->box;
  box->SetCaption("Log");
  box->SetBounds(10, 10, 120, 17);
  const int textWidth = box->TextWidth("Log");
  const int textHeight = QFontMetrics(box->font()).height();
  const int top = (17 - textHeight) / 2 - 2;
  // Picture 19 × 14 at the left, caption from 19 + 4.
  EXPECT_EQ(box->ImagePosition(), QPoint(0, (17 - 14) / 2));
  QRect expected(QPoint(23, top), QPoint(23 + textWidth - 1, top + textHeight + 2));
  EXPECT_EQ(box->CaptionRect(), expected.intersected(QRect(0, 0, 120, 17)));
  box->SetAlignment(toolkit::Control::taLeftJustify);
  EXPECT_EQ(box->ImagePosition(), QPoint(120 - 19, 1));
  expected = QRect(QPoint(1, top), QPoint(1 + textWidth - 1, top + textHeight + 2));
  EXPECT_EQ(box->CaptionRect(), expected.intersected(QRect(0, 0, 120, 17)));
  // An accelerator mark takes no room.
  box->SetCaption("&Log");
  EXPECT_EQ(box->CaptionRect().width(), textWidth);
}

TEST_F(BitCheckBoxTest, SelectionPanelChoiceBoxIsTheSameControl) {
  TZelCheckBox box(nullptr);
  EXPECT_EQ(box.ClassName(), "TZelCheckBox");
  EXPECT_TRUE(box.InheritsFrom("TBitCheckBox"));
  EXPECT_TRUE(toolkit::IsComponentClass("TBitCheckBox"));
  EXPECT_TRUE(toolkit::IsComponentClass("TZelCheckBox"));
}

}  // namespace

#include "BtChkBox_test.moc"
