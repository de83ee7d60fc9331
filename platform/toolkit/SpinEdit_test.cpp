// The spin edit: its value within the limits, the text it holds, stepping and the change event.
#include "toolkit/SpinEdit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/Properties.h"

namespace toolkit {
namespace {

class SpinWindow : public Form {
  Q_OBJECT
 public:
  explicit SpinWindow(Component* owner) : Form(owner) {
    spin = new SpinEdit(this);
    spin->SetName("seDay");
    spin->SetParent(this);
    SetMethodPropOf(spin, "OnChange", FindMethod(this, "seDayChange"));
  }
  void seDayChange(Component*) { log.push_back(spin->Text()); }
  SpinEdit* spin;
  std::vector<std::string> log;
};

const auto published = Publish<SpinWindow>().Handler("seDayChange", &SpinWindow::seDayChange);

TEST(SpinEditTest, ValueFromTheText) {
  struct {
    int min, max;
    const char* text;
    int value;
  } cases[] = {
      {1, 999, "7", 7},   {1, 999, "0", 1},    {1, 999, "1200", 999}, {1, 999, "", 1},
      {1, 999, "12-", 1}, {-99, 99, "-5", -5}, {-99, 99, " +8 ", 8},  {0, 0, "123456", 123456},
      {0, 0, "-40", -40}, {0, 0, "x", 0},
  };
  for (const auto& c : cases) {
    SpinWindow window(nullptr);
    SetOrdPropOf(window.spin, "MinValue", c.min);
    SetOrdPropOf(window.spin, "MaxValue", c.max);
    SetStrPropOf(window.spin, "Text", c.text);
    EXPECT_EQ(GetOrdPropOf(window.spin, "Value"), c.value) << c.text;
    EXPECT_EQ(GetStrPropOf(window.spin, "Text"), c.text) << "the text stays as it was set";
  }
}

TEST(SpinEditTest, SettingAValueHoldsItToTheLimits) {
  SpinWindow window(nullptr);
  window.spin->SetMinValue(1);
  window.spin->SetMaxValue(31);
  window.spin->SetValue(40);
  EXPECT_EQ(window.spin->Text(), "31");
  window.spin->SetValue(-3);
  EXPECT_EQ(window.spin->Text(), "1");
  EXPECT_EQ(window.spin->QtEdit()->text().toStdString(), "1");
}

TEST(SpinEditTest, StepsByTheIncrement) {
  SpinWindow window(nullptr);
  window.spin->SetMinValue(0);
  window.spin->SetMaxValue(59);
  window.spin->SetIncrement(5);
  window.spin->SetValue(50);
  window.spin->stepBy(1);
  EXPECT_EQ(window.spin->Value(), 55);
  window.spin->stepBy(2);
  EXPECT_EQ(window.spin->Value(), 59);
  QTest::keyClick(window.spin, Qt::Key_Down);
  EXPECT_EQ(window.spin->Value(), 54);
}

TEST(SpinEditTest, TypingAndChangeEvents) {
  SpinWindow window(nullptr);
  window.log.clear();
  window.spin->SetText("12");
  window.spin->QtEdit()->setCursorPosition(2);
  QTest::keyClick(window.spin->QtEdit(), '-');  // digits and signs go in
  QTest::keyClick(window.spin->QtEdit(), 'a');  // anything else does not
  EXPECT_EQ(window.spin->Text(), "12-");
  EXPECT_EQ(window.log, (std::vector<std::string>{"12", "12-"}));
}

TEST(SpinEditTest, LeavingHoldsATypedNumberToTheLimits) {
  SpinWindow window(nullptr);
  window.spin->SetMinValue(1);
  window.spin->SetMaxValue(99);
  window.spin->SetText("150");
  window.Show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  auto* other = new Edit(&window);
  other->SetParent(&window);
  other->SetTop(40);
  window.spin->SetFocus();
  other->SetFocus();
  EXPECT_EQ(window.spin->Text(), "99");
}

}  // namespace
}  // namespace toolkit

#include "SpinEdit_test.moc"
