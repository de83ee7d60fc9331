// The exemplar controls: what each one adds to the mixins (events from Qt signals, dialog keys,
// automatic size), and the default dialog runner showing a real Qt dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "toolkit/Button.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"
#include "toolkit/Properties.h"

namespace toolkit {
namespace {

class ControlsWindow : public Form {
  Q_OBJECT
 public:
  explicit ControlsWindow(Component* owner) : Form(owner) {
    edit = new Edit(this);
    edit->SetName("edValue");
    edit->SetParent(this);
    check = new CheckBox(this);
    check->SetName("chkFlag");
    check->SetParent(this);
    check->SetTop(40);
    ok = new Button(this);
    ok->SetName("btnOk");
    ok->SetParent(this);
    ok->SetTop(80);
    cancel = new Button(this);
    cancel->SetName("btnCancel");
    cancel->SetParent(this);
    cancel->SetTop(120);
    SetMethodPropOf(edit, "OnChange", FindMethod(this, "Log"));
    SetMethodPropOf(check, "OnClick", FindMethod(this, "Log"));
    SetMethodPropOf(ok, "OnClick", FindMethod(this, "Log"));
    SetMethodPropOf(cancel, "OnClick", FindMethod(this, "Log"));
  }
  void Log(Component* sender) { log.push_back(sender->Name()); }

  Edit* edit;
  CheckBox* check;
  Button* ok;
  Button* cancel;
  std::vector<std::string> log;
};

const auto published = Publish<ControlsWindow>().Handler("Log", &ControlsWindow::Log);

class ControlsTest : public testing::Test {
 protected:
  void SetUp() override {
    window = new ControlsWindow(nullptr);
    window->Show();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    window->log.clear();
  }
  void TearDown() override { Free(window); }
  ControlsWindow* window = nullptr;
};

TEST_F(ControlsTest, EditReportsEveryChangeOfItsText) {
  window->edit->SetFocus();
  QTest::keyClicks(window->edit, "ab");
  EXPECT_EQ(window->edit->Text(), "ab");
  window->edit->SetText("xyz");
  window->edit->SetText("xyz");  // no change, no event
  EXPECT_EQ(window->log, (std::vector<std::string>{"edValue", "edValue", "edValue"}));
  EXPECT_EQ(window->edit->text(), "xyz");
}

TEST_F(ControlsTest, CheckBoxClicksOnEveryChangeOfState) {
  QTest::mouseClick(window->check, Qt::LeftButton, {}, QPoint(8, 8));  // on the box
  EXPECT_TRUE(window->check->Checked());
  window->check->SetChecked(false);
  window->check->SetChecked(false);
  EXPECT_EQ(window->log, (std::vector<std::string>{"chkFlag", "chkFlag"}));
  window->check->SetFocus();
  QTest::keyClick(window->check, Qt::Key_Space);
  EXPECT_EQ(window->check->State(), CheckBox::cbChecked);
  EXPECT_EQ(window->log.size(), 3u);
}

TEST_F(ControlsTest, EnterAndEscReachTheDefaultAndCancelButtons) {
  window->ok->SetDefault(true);
  window->cancel->SetCancel(true);
  window->edit->SetFocus();
  QTest::keyClick(window->edit, Qt::Key_Return);
  QTest::keyClick(window->edit, Qt::Key_Escape);
  EXPECT_EQ(window->log, (std::vector<std::string>{"btnOk", "btnCancel"}));
  // Enter belongs to the focused button.
  window->log.clear();
  window->cancel->SetFocus();
  QTest::keyClick(window->cancel, Qt::Key_Return);
  EXPECT_EQ(window->log, (std::vector<std::string>{"btnCancel"}));
  // A disabled default button does not take it.
  window->log.clear();
  window->ok->SetEnabled(false);
  window->edit->SetFocus();
  QTest::keyClick(window->edit, Qt::Key_Return);
  EXPECT_TRUE(window->log.empty());
}

TEST(LabelTest, AutoSizeFollowsTheCaption) {
  Form form(nullptr);
  auto* label = new Label(&form);
  label->SetParent(&form);
  label->SetCaption("\xB1\xA8\xB1\xED\xC8\xD5\xC6\xDA");  // 报表日期
  const int width = label->Width();
  EXPECT_EQ(width, label->TextWidth("\xB1\xA8\xB1\xED\xC8\xD5\xC6\xDA"));
  label->SetCaption("\xB1\xA8\xB1\xED");
  EXPECT_LT(label->Width(), width);
  label->SetAutoSize(false);
  label->SetWidth(200);
  label->SetCaption("x");
  EXPECT_EQ(label->Width(), 200);
  // "&" marks an accelerator and is not shown.
  label->SetCaption("&Name && more");
  EXPECT_EQ(label->text(), "Name & more");
}

TEST(QtDialogRunnerTest, ShowsTheModelAndAnswersTheClickedButton) {
  MessageDialog dialog =
      CreateMessageDialog("\xCA\xC7\xB7\xF1\xB1\xA3\xB4\xE6?", mtConfirmation, mbYesNoCancel);
  dialog.FindButton("No")->Caption = "\xB7\xF1(&N)";  // 否(&N)
  dialog.Caption = "QZLB27";
  QString shownText, shownTitle;
  QStringList buttons;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    shownText = box->text();
    shownTitle = box->windowTitle();
    for (QAbstractButton* b : box->buttons()) buttons << b->text();
    for (QAbstractButton* b : box->buttons()) {
      if (b->text() == QString::fromUtf8("否(&N)")) b->click();
    }
  });
  EXPECT_EQ(ShowMessageDialog(dialog), mrNo);
  EXPECT_EQ(shownText, QString::fromUtf8("是否保存?"));
  EXPECT_EQ(shownTitle, "QZLB27");
  EXPECT_TRUE(buttons.contains(QString::fromUtf8("否(&N)")));
  EXPECT_TRUE(buttons.contains("&Yes"));
}

}  // namespace
}  // namespace toolkit

#include "Controls_test.moc"
