// The memo: its lines and text, what the user types, and Enter between the memo and the form.
#include "toolkit/Memo.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "toolkit/Button.h"
#include "toolkit/Form.h"
#include "toolkit/Properties.h"

namespace toolkit {
namespace {

class MemoWindow : public Form {
  Q_OBJECT
 public:
  explicit MemoWindow(Component* owner) : Form(owner) {
    SetBounds(0, 0, 300, 200);
    memo = new Memo(this);
    memo->SetName("mmNote");
    memo->SetParent(this);
    ok = new Button(this);
    ok->SetName("btnOk");
    ok->SetParent(this);
    ok->SetBounds(10, 150, 75, 25);
    ok->SetDefault(true);
    SetMethodPropOf(memo, "OnChange", FindMethod(this, "mmNoteChange"));
    SetMethodPropOf(ok, "OnClick", FindMethod(this, "btnOkClick"));
    SetMethodPropOf(this, "OnKeyPress", FindMethod(this, "FormKeyPress"));
  }
  void mmNoteChange(Component*) { log.push_back("change"); }
  void btnOkClick(Component*) { log.push_back("ok"); }
  // Enter moves on from the memo's third line, as the option windows do.
  void FormKeyPress(Component*, char& key) {
    if (key == 13 && memo->CaretPos().Y >= 2) {
      log.push_back("enter taken");
      key = 0;
    }
  }

  void ShowActive() {
    Show();
    QApplication::setActiveWindow(this);
    ASSERT_TRUE(QTest::qWaitForWindowActive(this));
    memo->SetFocus();
  }

  Memo* memo;
  Button* ok;
  std::vector<std::string> log;
};

const auto published = Publish<MemoWindow>()
                           .Handler("mmNoteChange", &MemoWindow::mmNoteChange)
                           .Handler("btnOkClick", &MemoWindow::btnOkClick)
                           .Handler("FormKeyPress", &MemoWindow::FormKeyPress);

TEST(MemoTest, LinesAndTextByName) {
  MemoWindow window(nullptr);
  SetStrPropOf(window.memo, "Text", "one\r\ntwo\nthree");
  auto* lines = dynamic_cast<Strings*>(GetObjectProperty(window.memo, "Lines"));
  ASSERT_NE(lines, nullptr);
  EXPECT_EQ(lines->Lines(), (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_EQ(GetStrPropOf(window.memo, "Text"), "one\r\ntwo\r\nthree");
  EXPECT_EQ(window.memo->toPlainText().toStdString(), "one\ntwo\nthree");
  lines->SetStringAt(4, "five");
  EXPECT_EQ(window.memo->toPlainText().toStdString(), "one\ntwo\nthree\n\nfive");
  window.memo->Clear();
  EXPECT_EQ(window.memo->Text(), "");
}

TEST(MemoTest, TypedTextReachesTheLines) {
  MemoWindow window(nullptr);
  window.log.clear();
  QTest::keyClicks(window.memo, "ab");
  EXPECT_EQ(window.memo->Lines()->Lines(), (std::vector<std::string>{"ab"}));
  EXPECT_EQ(window.log, (std::vector<std::string>{"change", "change"}));
  // A break after the last line is no line of its own.
  window.memo->textCursor().insertText("\n");
  EXPECT_EQ(window.memo->Lines()->Count(), 1);
}

TEST(MemoTest, MaxLengthCountsBytes) {
  MemoWindow window(nullptr);
  window.memo->SetMaxLength(3);
  QTest::keyClicks(window.memo, "abcd");
  EXPECT_EQ(window.memo->Text(), "abc");
}

TEST(MemoTest, EnterBreaksTheLineUntilTheFormTakesIt) {
  MemoWindow window(nullptr);
  window.SetKeyPreview(true);
  window.ShowActive();
  QTest::keyClick(window.memo, 'a');
  QTest::keyClick(window.memo, Qt::Key_Return);  // line 0: stays in the memo
  QTest::keyClick(window.memo, 'b');
  QTest::keyClick(window.memo, Qt::Key_Return);  // line 1: stays
  QTest::keyClick(window.memo, Qt::Key_Return);  // line 2: the form takes it
  EXPECT_EQ(window.memo->Text(), "a\r\nb");
  EXPECT_EQ(window.memo->CaretPos().Y, 2);
  EXPECT_EQ(std::count(window.log.begin(), window.log.end(), "enter taken"), 1);
  EXPECT_EQ(std::count(window.log.begin(), window.log.end(), "ok"), 0)
      << "a memo that wants returns keeps Enter from the default button";
}

TEST(MemoTest, WithoutWantReturnsEnterGoesToTheDefaultButton) {
  MemoWindow window(nullptr);
  window.memo->SetWantReturns(false);
  window.ShowActive();
  window.log.clear();
  QTest::keyClick(window.memo, Qt::Key_Return);
  EXPECT_EQ(window.log, (std::vector<std::string>{"ok"}));
  EXPECT_EQ(window.memo->Text(), "");
  QTest::keyClick(window.memo, Qt::Key_Return, Qt::ControlModifier);  // still breaks the line
  EXPECT_EQ(window.memo->toPlainText().toStdString(), "\n");
}

}  // namespace
}  // namespace toolkit

#include "Memo_test.moc"
