// The combo box: its styles, the chosen item and its text, and which changes raise events.
#include "toolkit/ComboBox.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "toolkit/Form.h"
#include "toolkit/Properties.h"

namespace toolkit {
namespace {

class ComboWindow : public Form {
  Q_OBJECT
 public:
  explicit ComboWindow(Component* owner) : Form(owner) {
    combo = new ComboBox(this);
    combo->SetName("cboKind");
    combo->SetParent(this);
    combo->Items()->Assign({"alpha", "beta", "gamma"});
    SetMethodPropOf(combo, "OnChange", FindMethod(this, "Changed"));
    SetMethodPropOf(combo, "OnClick", FindMethod(this, "Clicked"));
  }
  void Changed(Component*) { log.push_back("change " + combo->Text()); }
  void Clicked(Component*) { log.push_back("click " + std::to_string(combo->ItemIndex())); }
  void Selected(Component*) { log.push_back("select"); }

  ComboBox* combo;
  std::vector<std::string> log;
};

const auto published = Publish<ComboWindow>()
                           .Handler("Changed", &ComboWindow::Changed)
                           .Handler("Clicked", &ComboWindow::Clicked)
                           .Handler("Selected", &ComboWindow::Selected);

TEST(ComboBoxTest, TextAndItemIndexByStyle) {
  struct {
    const char* style;
    const char* setText;
    int index;         // ItemIndex after setting the text
    const char* text;  // Text after setting the text
  } cases[] = {
      {"csDropDown", "beta", 1, "beta"},
      {"csDropDown", "delta", -1, "delta"},  // any text in an edit style
      {"csSimple", "gamma", 2, "gamma"},
      {"csDropDownList", "gamma", 2, "gamma"},
      {"csDropDownList", "GAMMA", 2, "gamma"},  // the item of that text, ignoring case
      {"csDropDownList", "delta", -1, ""},      // a list style shows only its items
      {"csOwnerDrawFixed", "beta", 1, "beta"},
  };
  for (const auto& c : cases) {
    ComboWindow window(nullptr);
    SetPropValue(window.combo, "Style", automation::Variant(c.style));
    SetStrPropOf(window.combo, "Text", c.setText);
    EXPECT_EQ(GetOrdPropOf(window.combo, "ItemIndex"), c.index) << c.style << " " << c.setText;
    EXPECT_EQ(GetStrPropOf(window.combo, "Text"), c.text) << c.style << " " << c.setText;
    EXPECT_TRUE(window.log.empty()) << "setting in code raises no event";
  }
}

TEST(ComboBoxTest, ItemIndexOutsideTheItemsChoosesNone) {
  ComboWindow window(nullptr);
  window.combo->SetItemIndex(1);
  EXPECT_EQ(window.combo->Text(), "beta");
  EXPECT_EQ(window.combo->QtComboBox()->currentText().toStdString(), "beta");
  window.combo->SetItemIndex(7);
  EXPECT_EQ(window.combo->ItemIndex(), -1);
  EXPECT_EQ(window.combo->Text(), "");
}

TEST(ComboBoxTest, TheChoiceStaysWhileItsItemStays) {
  ComboWindow window(nullptr);
  window.combo->SetStyle(ComboBox::csDropDownList);
  window.combo->SetItemIndex(1);
  window.combo->Items()->Add("delta");
  EXPECT_EQ(window.combo->ItemIndex(), 1);
  // Replacing the items (as a code-page conversion does) loses the choice; the converter puts
  // the index back itself.
  window.combo->Items()->Assign({"A", "B", "C", "D"});
  EXPECT_EQ(window.combo->ItemIndex(), -1);
  window.combo->SetItemIndex(3);
  window.combo->Items()->Delete(3);
  EXPECT_EQ(window.combo->ItemIndex(), -1);
}

TEST(ComboBoxTest, UserChoiceRaisesClickAndChangeOrSelect) {
  ComboWindow window(nullptr);
  window.combo->SetStyle(ComboBox::csDropDownList);
  window.combo->SetItemIndex(0);
  QTest::keyClick(window.combo->QtComboBox(), Qt::Key_Down);
  EXPECT_EQ(window.combo->ItemIndex(), 1);
  EXPECT_EQ(window.log, (std::vector<std::string>{"click 1", "change beta"}));
  // With OnSelect set, the choice raises it instead of OnChange.
  SetMethodPropOf(window.combo, "OnSelect", FindMethod(&window, "Selected"));
  window.log.clear();
  QTest::keyClick(window.combo->QtComboBox(), Qt::Key_Down);
  EXPECT_EQ(window.log, (std::vector<std::string>{"click 2", "select"}));
}

TEST(ComboBoxTest, TypingInAnEditStyle) {
  ComboWindow window(nullptr);
  QLineEdit* edit = window.combo->QtEdit();
  ASSERT_NE(edit, nullptr);
  QTest::keyClicks(edit, "beta");
  EXPECT_EQ(window.combo->Text(), "beta");
  EXPECT_EQ(window.combo->ItemIndex(), 1);  // the typed text names an item
  EXPECT_EQ(window.log.back(), "change beta");
  window.combo->SetMaxLength(5);
  QTest::keyClicks(edit, "xx");
  EXPECT_EQ(window.combo->Text(), "betax");
}

TEST(ComboBoxTest, SimpleStyleShowsItsList) {
  ComboWindow window(nullptr);
  window.combo->SetStyle(ComboBox::csSimple);
  window.combo->SetBounds(0, 0, 120, 100);
  EXPECT_TRUE(window.combo->QtList()->isVisibleTo(window.combo));
  EXPECT_EQ(window.combo->QtList()->count(), 3);
  window.combo->QtList()->setCurrentRow(2);  // as a click on the list does
  EXPECT_EQ(window.combo->Text(), "gamma");
  EXPECT_EQ(window.combo->QtEdit()->text().toStdString(), "gamma");
}

TEST(ComboBoxTest, SortedKeepsTheItemsInOrder) {
  ComboWindow window(nullptr);
  window.combo->Items()->Assign({"pear", "Apple", "fig"});
  window.combo->SetSorted(true);
  EXPECT_EQ(window.combo->Items()->Lines(), (std::vector<std::string>{"Apple", "fig", "pear"}));
  window.combo->Items()->Add("banana");
  EXPECT_EQ(window.combo->Items()->At(1), "banana");
}

}  // namespace
}  // namespace toolkit

#include "ComboBox_test.moc"
