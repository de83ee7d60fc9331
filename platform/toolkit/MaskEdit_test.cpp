// The masked edit: the module's masks by property name, typing through the mask, and the text a
// mask change keeps.
#include "toolkit/MaskEdit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "toolkit/Form.h"
#include "toolkit/Properties.h"

namespace toolkit {
namespace {

class MaskWindow : public Form {
  Q_OBJECT
 public:
  explicit MaskWindow(Component* owner) : Form(owner) {
    SetBounds(0, 0, 300, 100);
    edit = new MaskEdit(this);
    edit->SetName("me01");
    edit->SetParent(this);
    SetMethodPropOf(edit, "OnChange", FindMethod(this, "me01Change"));
  }
  void me01Change(Component*) { changes.push_back(edit->EditText()); }

  MaskEdit* edit;
  std::vector<std::string> changes;
};

const auto published = Publish<MaskWindow>().Handler("me01Change", &MaskWindow::me01Change);

TEST(MaskEditTest, ModuleMasksByPropertyName) {
  struct {
    const char* mask;
    const char* text;
    const char* shown;
    const char* readBack;
  } cases[] = {
      {"9999/99/99;1; ", "2009/05/01", "2009/05/01", "2009/05/01"},
      {"9999/99/99;1; ", "2009/5/1", "2009/5 /1 ", "2009/5 /1 "},
      {"9999/99/99;1; ", "", "    /  /  ", "    /  /  "},
      {"99/99/9999;1; ", "05/01/2009", "05/01/2009", "05/01/2009"},
      {"99:99;1;_", "9:5", "9_:5_", "9 :5 "},
      {"!9999/99;1; ", "2009/5", "2009/ 5", "2009/ 5"},
      {"!aaaa-aaaaaaaaaaa;0; ", "PR0120090101001", "PR01-20090101001", "PR0120090101001"},
      {"!aaaa-aaaaaaaaaaa;0; ", "PR  123        ", "PR  -123        ", "PR  123        "},
      {"!aaaa-aaaaaaaaaaa;0; ", "", "    -           ", ""},
      {"", "free text", "free text", "free text"},
  };
  for (const auto& c : cases) {
    MaskWindow window(nullptr);
    SetStrPropOf(window.edit, "EditMask", c.mask);
    SetStrPropOf(window.edit, "Text", c.text);
    EXPECT_EQ(GetStrPropOf(window.edit, "EditText"), c.shown) << c.mask << " | " << c.text;
    EXPECT_EQ(GetStrPropOf(window.edit, "Text"), c.readBack) << c.mask << " | " << c.text;
    EXPECT_EQ(window.edit->text().toStdString(), c.shown) << "the Qt editor shows the edit text";
    EXPECT_EQ(GetStrPropOf(window.edit, "EditMask"), c.mask);
  }
}

// The framework finds the blank text of a date mask this way: literals out of the text, empty it,
// literals back in, read the text.
TEST(MaskEditTest, BlankTextOfADateMaskThroughAMaskChange) {
  MaskWindow window(nullptr);
  window.edit->SetEditMask("9999/99/99;1; ");
  window.edit->SetText("2009/05/01");
  window.edit->SetEditMask("9999/99/99;0; ");
  window.edit->SetText("");
  window.edit->SetEditMask("9999/99/99;1; ");
  EXPECT_EQ(window.edit->Text(), "    /  /  ");
}

TEST(MaskEditTest, ANewMaskKeepsTheCharactersTheEditHolds) {
  MaskWindow window(nullptr);
  window.edit->SetText("20090501");
  window.edit->SetEditMask("9999/99/99;1; ");
  EXPECT_EQ(window.edit->EditText(), "2009/05/01");
  window.edit->SetEditMask("");
  EXPECT_EQ(window.edit->Text(), "20090501");
}

TEST(MaskEditTest, TypingGoesThroughTheMask) {
  struct {
    const char* mask;
    const char* typed;
    const char* shown;
  } cases[] = {
      {"9999/99/99;1; ", "2009x0501", "2009/05/01"},
      {"9999/99/99;1; ", "2009/5/1", "2009/5 /1 "},
      {"!aaaa-aaaaaaaaaaa;0; ", "pr01-123", "pr01-123        "},
      {">LL-99;1;_", "ab12", "AB-12"},
      {"99:99;1;_", "123456", "12:34"},
  };
  for (const auto& c : cases) {
    MaskWindow window(nullptr);
    window.edit->SetEditMask(c.mask);
    window.edit->setCursorPosition(0);
    QTest::keyClicks(window.edit, c.typed);
    EXPECT_EQ(window.edit->EditText(), c.shown) << c.mask << " | " << c.typed;
  }
}

TEST(MaskEditTest, BackspaceDeleteAndPasteKeepTheMask) {
  MaskWindow window(nullptr);
  window.edit->SetEditMask("9999/99/99;1; ");
  window.edit->SetText("2009/05/01");
  window.edit->setCursorPosition(5);
  QTest::keyClick(window.edit, Qt::Key_Backspace);  // over the "/" to the last year digit
  EXPECT_EQ(window.edit->EditText(), "200 /05/01");
  window.edit->setCursorPosition(8);
  QTest::keyClick(window.edit, Qt::Key_Delete);
  EXPECT_EQ(window.edit->EditText(), "200 /05/ 1");
  window.edit->selectAll();
  QTest::keyClick(window.edit, Qt::Key_Delete);
  EXPECT_EQ(window.edit->EditText(), "    /  /  ");
  QApplication::clipboard()->setText("1998/7/3");
  window.edit->setCursorPosition(0);
  QTest::keyClick(window.edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(window.edit->EditText(), "1998/7 /3 ");
  EXPECT_TRUE(window.edit->IsValid());
}

TEST(MaskEditTest, ValidityFollowsTheRequiredPositions) {
  MaskWindow window(nullptr);
  window.edit->SetEditMask("0000/00/00;1;_");
  window.edit->SetText("2009/05");
  EXPECT_FALSE(window.edit->IsValid());
  EXPECT_EQ(window.edit->FirstInvalidPosition(), 8);
  window.edit->SetText("2009/05/01");
  EXPECT_TRUE(window.edit->IsValid());
}

TEST(MaskEditTest, ChangeEventsForTypedAndSetTexts) {
  MaskWindow window(nullptr);
  window.edit->SetEditMask("99:99;1;_");
  window.changes.clear();
  window.edit->SetText("1230");
  window.edit->SetText("1230");  // the same text: no change
  window.edit->setCursorPosition(0);
  QTest::keyClick(window.edit, '0');
  QTest::keyClick(window.edit, 'x');  // refused: no change
  EXPECT_EQ(window.changes, (std::vector<std::string>{"12:30", "02:30"}));
}

TEST(MaskEditTest, ReadOnlyRefusesTyping) {
  MaskWindow window(nullptr);
  window.edit->SetEditMask("9999;1;_");
  SetPropValue(window.edit, "ReadOnly", automation::Variant(true));
  QTest::keyClicks(window.edit, "12");
  EXPECT_EQ(window.edit->EditText(), "____");
}

}  // namespace
}  // namespace toolkit

#include "MaskEdit_test.moc"
