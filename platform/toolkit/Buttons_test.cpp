// Radio buttons, buttons with pictures and speed buttons: checking and its click, pictures with
// several images, kinds, and groups of speed buttons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>

#include "toolkit/BitBtn.h"
#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/Panel.h"
#include "toolkit/Properties.h"
#include "toolkit/RadioButton.h"
#include "toolkit/SpeedButton.h"

namespace toolkit {
namespace {

class ButtonsWindow : public Form {
  Q_OBJECT
 public:
  explicit ButtonsWindow(Component* owner) : Form(owner) { SetBounds(0, 0, 400, 300); }
  template <class T>
  T* Make(const char* name, WinControl* parent, int left, int top) {
    T* control = new T(this);
    control->SetName(name);
    control->SetParent(parent);
    control->SetLeft(left);
    control->SetTop(top);
    SetMethodPropOf(control, "OnClick", FindMethod(this, "Clicked"));
    return control;
  }
  void Clicked(Component* sender) { log.push_back("click " + sender->Name()); }
  std::vector<std::string> log;
};

const auto published = Publish<ButtonsWindow>().Handler("Clicked", &ButtonsWindow::Clicked);

TEST(RadioButtonTest, CheckingUnchecksTheSiblingsOnly) {
  ButtonsWindow window(nullptr);
  auto* a = window.Make<RadioButton>("rbA", &window, 10, 10);
  auto* b = window.Make<RadioButton>("rbB", &window, 10, 30);
  auto* c = window.Make<RadioButton>("rbC", &window, 10, 50);
  auto* panel = window.Make<Panel>("pnl", &window, 150, 10);
  auto* other = window.Make<RadioButton>("rbOther", panel, 5, 5);
  other->SetChecked(true);
  window.log.clear();
  SetPropValue(a, "Checked", automation::Variant(true));
  b->SetChecked(true);
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(b->Checked());
  EXPECT_FALSE(c->Checked());
  EXPECT_TRUE(other->Checked()) << "another parent is another group";
  // Checking clicks; unchecking does not.
  EXPECT_EQ(window.log, (std::vector<std::string>{"click rbA", "click rbB"}));
  EXPECT_TRUE(b->TabStop());
  EXPECT_FALSE(a->TabStop());
}

TEST(RadioButtonTest, AUserClickChecksAndClicksOnce) {
  ButtonsWindow window(nullptr);
  auto* a = window.Make<RadioButton>("rbA", &window, 10, 10);
  auto* b = window.Make<RadioButton>("rbB", &window, 10, 30);
  a->SetChecked(true);
  window.log.clear();
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 8));
  EXPECT_TRUE(b->Checked());
  EXPECT_FALSE(a->Checked());
  EXPECT_FALSE(a->isChecked());
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 8));  // already checked: nothing new
  EXPECT_EQ(window.log, (std::vector<std::string>{"click rbB"}));
  EXPECT_TRUE(b->isChecked());
}

TEST(BitBtnTest, AGlyphDeclaresItsImages) {
  struct {
    int width, height;
    int images;
  } cases[] = {{16, 16, 1}, {32, 16, 2}, {46, 23, 2}, {38, 14, 1}, {80, 16, 1}, {64, 16, 4}};
  for (const auto& c : cases) {
    ButtonsWindow window(nullptr);
    auto* button = window.Make<BitBtn>("btnOk", &window, 10, 10);
    Bitmap bitmap;
    bitmap.Assign(Picture(c.width, c.height, 0xFF00FF));
    button->SetGlyph(&bitmap);
    EXPECT_EQ(GetOrdPropOf(button, "NumGlyphs"), c.images) << c.width << "x" << c.height;
    EXPECT_EQ(GetOrdPropOf(GetObjectProperty(button, "Glyph"), "Width"), c.width);
  }
}

TEST(BitBtnTest, GlyphDataThroughAPropertyPath) {
  ButtonsWindow window(nullptr);
  auto* button = window.Make<BitBtn>("btnOk", &window, 10, 10);
  Picture picture(4, 2, 0x00FF00);
  picture.SetPixel(3, 0, 0x0000FF);
  Bitmap source;
  source.Assign(picture);
  SetPropertyPath(button, "Glyph.Data", automation::Variant(source.Data()));
  EXPECT_TRUE(button->Glyph()->GetPicture() == picture);
  EXPECT_EQ(GetOrdPropOf(button, "NumGlyphs"), 2);
  EXPECT_FALSE(TrySetPropertyPath(button, "Glyph.Data", automation::Variant("424D00zz")));
}

TEST(BitBtnTest, KindsSetResultsAndDefaults) {
  struct {
    const char* kind;
    int modalResult;
    bool isDefault, isCancel;
  } cases[] = {{"bkOK", mrOk, true, false},        {"bkCancel", mrCancel, false, true},
               {"bkYes", mrYes, true, false},      {"bkNo", mrNo, false, true},
               {"bkRetry", mrRetry, false, false}, {"bkCustom", 0, false, false}};
  for (const auto& c : cases) {
    ButtonsWindow window(nullptr);
    auto* button = window.Make<BitBtn>("btn", &window, 10, 10);
    SetPropValue(button, "Kind", automation::Variant(c.kind));
    EXPECT_EQ(button->ModalResult(), c.modalResult) << c.kind;
    EXPECT_EQ(button->Default(), c.isDefault) << c.kind;
    EXPECT_EQ(button->Cancel(), c.isCancel) << c.kind;
    EXPECT_EQ(GetEnumPropOf(button, "Kind"), c.kind);
  }
}

TEST(BitBtnTest, CloseKindClosesTheFormWithoutAClick) {
  ButtonsWindow window(nullptr);
  auto* button = window.Make<BitBtn>("btnClose", &window, 10, 10);
  button->SetKind(BitBtn::bkClose);
  window.Show();
  button->Click();
  EXPECT_FALSE(window.Visible());
  EXPECT_TRUE(window.log.empty());
}

TEST(BitBtnTest, DrawsTheDisabledImageWhenDisabled) {
  ButtonsWindow window(nullptr);
  auto* button = window.Make<BitBtn>("btnOk", &window, 0, 0);
  button->SetBounds(0, 0, 60, 30);
  Picture picture(16, 16, 0xFF00FF);  // image 0 red, image 1 blue, on magenta
  picture.FillRect(4, 4, 8, 8, 0x0000FF);
  Picture disabled(16, 16, 0xFF00FF);
  disabled.FillRect(4, 4, 8, 8, 0xFF0000);
  picture.AppendImage(disabled);
  Bitmap bitmap;
  bitmap.Assign(picture);
  button->SetGlyph(&bitmap);
  auto shows = [&](QRgb color) {
    const QImage image = button->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) == color) return true;
    return false;
  };
  EXPECT_TRUE(shows(qRgb(255, 0, 0)));
  EXPECT_FALSE(shows(qRgb(255, 0, 255))) << "the transparent colour never shows";
  button->SetEnabled(false);
  EXPECT_TRUE(shows(qRgb(0, 0, 255)));
  EXPECT_FALSE(shows(qRgb(255, 0, 0)));
}

TEST(SpeedButtonTest, GroupsPutOneButtonDown) {
  ButtonsWindow window(nullptr);
  auto* a = window.Make<SpeedButton>("sbA", &window, 10, 10);
  auto* b = window.Make<SpeedButton>("sbB", &window, 40, 10);
  auto* solo = window.Make<SpeedButton>("sbSolo", &window, 70, 10);
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  solo->SetDown(true);
  EXPECT_FALSE(solo->Down()) << "a button outside any group is down only while pressed";
  a->SetDown(true);
  QTest::mouseClick(b, Qt::LeftButton);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  QTest::mouseClick(b, Qt::LeftButton);
  EXPECT_TRUE(b->Down()) << "without AllowAllUp a down button stays down";
  b->SetDown(false);
  EXPECT_TRUE(b->Down());
  b->SetAllowAllUp(true);
  EXPECT_TRUE(a->AllowAllUp()) << "the group shares AllowAllUp";
  QTest::mouseClick(b, Qt::LeftButton);
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(window.log, (std::vector<std::string>{"click sbB", "click sbB", "click sbB"}));
}

TEST(SpeedButtonTest, PressingLeavesTheFocusWhereItIs) {
  ButtonsWindow window(nullptr);
  auto* edit = window.Make<Edit>("ed", &window, 10, 10);
  auto* button = window.Make<SpeedButton>("sb", &window, 140, 10);
  window.Show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  edit->SetFocus();
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(window.log, (std::vector<std::string>{"click sb"}));
}

}  // namespace
}  // namespace toolkit

#include "Buttons_test.moc"
