#include "toolkit/Properties.h"

#include <gtest/gtest.h>

#include "toolkit/Button.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Classes.h"
#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/FormDescription.h"
#include "toolkit/Label.h"
#include "toolkit/Panel.h"

namespace toolkit {
namespace {

using automation::Variant;

// A window with one control of each exemplar class, owned by the form.
class PropertiesTest : public testing::Test {
 protected:
  void SetUp() override {
    form = new Form(nullptr);
    edit = new Edit(form);
    edit->SetName("edName");
    edit->SetParent(form);
    check = new CheckBox(form);
    check->SetName("chkDone");
    check->SetParent(form);
    label = new Label(form);
    label->SetName("lblName");
    label->SetParent(form);
  }
  void TearDown() override { Free(form); }

  Form* form = nullptr;
  Edit* edit = nullptr;
  CheckBox* check = nullptr;
  Label* label = nullptr;
};

TEST_F(PropertiesTest, KindsOfPublishedProperties) {
  struct {
    Persistent* object;
    const char* name;
    PropKind kind;
  } cases[] = {
      {edit, "Text", PropKind::Text},
      {edit, "text", PropKind::Text},
      {edit, "MaxLength", PropKind::Integer},
      {edit, "Color", PropKind::Integer},
      {edit, "Left", PropKind::Integer},
      {edit, "Enabled", PropKind::Enumeration},
      {edit, "Font", PropKind::Object},
      {edit, "OnExit", PropKind::Method},
      {edit, "OnChange", PropKind::Method},
      {edit, "Align", PropKind::Enumeration},
      {edit, "Name", PropKind::Text},
      {label, "Caption", PropKind::Text},
      {check, "State", PropKind::Enumeration},
      {edit->Font(), "Style", PropKind::Set},
      {edit, "Caption", PropKind::None},
      {edit, "objectName", PropKind::None},
      {label, "OnEnter", PropKind::None},
      {nullptr, "Text", PropKind::None},
      {edit, "", PropKind::None},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PropertyKind(c.object, c.name), c.kind) << c.name;
    EXPECT_EQ(HasProperty(c.object, c.name), c.kind != PropKind::None) << c.name;
  }
}

TEST_F(PropertiesTest, TextAndOrdinalsByName) {
  SetStrPropOf(edit, "TEXT", "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(edit->Text(), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(GetStrPropOf(edit, "text"), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(GetStrPropOf(edit, "Nothing"), "");
  EXPECT_EQ(GetStrPropOf(edit, "MaxLength"), "");
  SetStrPropOf(edit, "Nothing", "x");  // nothing happens

  SetOrdPropOf(edit, "MaxLength", 11);
  EXPECT_EQ(edit->MaxLength(), 11);
  SetOrdPropOf(check, "Checked", 1);
  EXPECT_TRUE(check->Checked());
  EXPECT_EQ(GetOrdPropOf(check, "Checked"), 1);
  EXPECT_EQ(GetOrdPropOf(check, "State"), CheckBox::cbChecked);
  EXPECT_EQ(GetEnumPropOf(check, "Checked"), "True");
  EXPECT_EQ(GetEnumPropOf(check, "State"), "cbChecked");
  SetOrdPropOf(edit, "Align", Control::alClient);
  EXPECT_EQ(edit->Align(), Control::alClient);
  EXPECT_EQ(GetOrdPropOf(edit, "Color"), static_cast<int>(clWindow));
  EXPECT_EQ(GetOrdPropOf(edit, "Missing"), 0);
  EXPECT_EQ(GetOrdPropOf(edit, "Text"), 0);
}

TEST_F(PropertiesTest, SetPropertyPathConvertsByKind) {
  struct {
    const char* path;
    Variant value;
    std::function<bool()> holds;
  } cases[] = {
      {"Text", Variant("abc"), [&] { return edit->Text() == "abc"; }},
      {"Text", Variant(12), [&] { return edit->Text() == "12"; }},
      {"MaxLength", Variant("7"), [&] { return edit->MaxLength() == 7; }},
      {"Color", Variant("clYellow"), [&] { return edit->Color() == clYellow; }},
      {"Color", Variant(" clBtnFace "), [&] { return edit->Color() == clBtnFace; }},
      {"Color", Variant("$00AFFFFF"), [&] { return edit->Color() == TColor(0xAFFFFF); }},
      {"Color", Variant(255), [&] { return edit->Color() == clRed; }},
      {"Enabled", Variant("False"), [&] { return !edit->Enabled(); }},
      {"Enabled", Variant(true), [&] { return edit->Enabled(); }},
      {"Align", Variant(" alBottom "), [&] { return edit->Align() == Control::alBottom; }},
      {"Align", Variant(1), [&] { return edit->Align() == Control::alTop; }},
      {"Font.Name", Variant("Tahoma"), [&] { return edit->Font()->Name() == "Tahoma"; }},
      {"Font.Charset", Variant(136), [&] { return edit->Font()->Charset() == 136; }},
      {"font.size", Variant(12), [&] { return edit->Font()->Size() == 12; }},
      {"Font.Style", Variant("[fsBold, fsItalic]"),
       [&] { return edit->Font()->Style() == (Font::fsBold | Font::fsItalic); }},
      {"Font.Style", Variant("[]"), [&] { return edit->Font()->Style() == Font::TFontStyles(); }},
      {"Font.Color", Variant("clRed"), [&] { return edit->Font()->Color() == clRed; }},
      {"Cursor", Variant("crHourGlass"), [&] { return edit->Cursor() == crHourGlass; }},
      {"NoSuchProperty", Variant("x"), [] { return true; }},
  };
  for (const auto& c : cases) {
    SetPropertyPath(edit, c.path, c.value);
    EXPECT_TRUE(c.holds()) << c.path << " = " << automation::VarToStr(c.value);
  }
  EXPECT_EQ(GetSetPropOf(edit->Font(), "Style"), "[]");
  SetPropertyPath(edit, "Font.Style", Variant(5));
  EXPECT_EQ(GetSetPropOf(edit->Font(), "Style"), "[fsBold,fsUnderline]");
  EXPECT_EQ(GetOrdPropOf(edit->Font(), "Style"), 5);
}

TEST_F(PropertiesTest, BadPathsRaiseAndTryAnswersNo) {
  struct {
    const char* path;
    Variant value;
  } bad[] = {
      {"NoSuch.Name", Variant("x")},        // not a property
      {"Text.Length", Variant("x")},        // not an object property
      {"MaxLength", Variant("abc")},        // not a number
      {"Enabled", Variant("Yes")},          // not an enumeration name
      {"Align", Variant("alNowhere")},      //
      {"Font.Style", Variant("[fsWide]")},  // not a set member
      {"Font", Variant("Arial")},           // an object takes no value
      {"OnExit", Variant("btnOkClick")},    // nor does an event
  };
  for (const auto& c : bad) {
    EXPECT_ANY_THROW(SetPropertyPath(edit, c.path, c.value)) << c.path;
    EXPECT_FALSE(TrySetPropertyPath(edit, c.path, c.value)) << c.path;
  }
  EXPECT_TRUE(TrySetPropertyPath(edit, "Font.Name", Variant("Arial")));
  EXPECT_TRUE(TrySetPropertyPath(edit, "Font.NoSuch", Variant("Arial")));
  EXPECT_EQ(edit->MaxLength(), 0);  // the failed writes changed nothing
}

TEST_F(PropertiesTest, ObjectPropertiesAndReferences) {
  EXPECT_EQ(GetObjectProperty(edit, "Font"), edit->Font());
  EXPECT_EQ(GetObjectProperty(edit, "Text"), nullptr);
  EXPECT_EQ(GetObjectProperty(edit, "Missing"), nullptr);
  EXPECT_TRUE(edit->Font()->InheritsFrom("TFont"));

  SetObjectProperty(label, "FocusControl", edit);
  EXPECT_EQ(label->FocusControl(), edit);
  EXPECT_EQ(GetObjectProperty(label, "FocusControl"), edit);
  EXPECT_THROW(SetObjectProperty(label, "FocusControl", edit->Font()), Error);
  SetObjectProperty(label, "FocusControl", nullptr);
  EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(PropertiesTest, ValuesAsVariants) {
  edit->SetText("x");
  edit->SetMaxLength(4);
  EXPECT_EQ(GetPropValue(edit, "Text"), Variant("x"));
  EXPECT_EQ(GetPropValue(edit, "MaxLength"), Variant(4));
  EXPECT_EQ(GetPropValue(edit, "Enabled"), Variant(true));
  EXPECT_EQ(GetPropValue(edit, "Align"), Variant("alNone"));
  EXPECT_EQ(GetPropValue(edit, "Font").Type(), automation::VarType::Empty);
  EXPECT_EQ(GetPropValue(edit, "Missing").Type(), automation::VarType::Empty);
}

// A component with a string list and a collection, as a list view has its columns.
class TColumnItem : public CollectionItem {
  Q_OBJECT
  Q_PROPERTY(std::string Caption MEMBER caption)
  Q_PROPERTY(int Width MEMBER width)
 public:
  using CollectionItem::CollectionItem;
  std::string caption;
  int width = 50;
};

class TColumnHolder : public NonVisualComponent {
  Q_OBJECT
  Q_PROPERTY(toolkit::Collection* Columns READ Columns)
  Q_PROPERTY(toolkit::Strings* Items READ Items)
 public:
  explicit TColumnHolder(Component* owner)
      : NonVisualComponent(owner),
        columns_([](Collection* c) { return std::make_unique<TColumnItem>(c); }) {}
  Collection* Columns() { return &columns_; }
  Strings* Items() { return &items_; }

 private:
  Collection columns_;
  Strings items_;
};
TOOLKIT_REGISTER_CLASS(TColumnHolder, "TColumnHolder");

TEST(IndexedEntriesTest, ColumnsAndItemsByIndex) {
  Form form(nullptr);
  LoadFormDescription(&form,
                      "object frm: TForm\n"
                      "  object Holder: TColumnHolder\n"
                      "    Items = (\"A\" \"B\")\n"
                      "    Columns = <\n"
                      "      item\n"
                      "        Caption = \"Code\"\n"
                      "      end\n"
                      "      item\n"
                      "        Caption = \"Name\"\n"
                      "        Width = 120\n"
                      "      end>\n"
                      "  end\n"
                      "end\n",
                      "TInline.form", true);
  EndFormLoading(&form);
  auto* holder = form.FindComponent<TColumnHolder>("Holder");
  ASSERT_NE(holder, nullptr);
  EXPECT_EQ(holder->Items()->Text(), "A\r\nB\r\n");
  ASSERT_EQ(holder->Columns()->Count(), 2);
  EXPECT_EQ(holder->Columns()->ItemAs<TColumnItem>(1)->width, 120);

  // "Columns_1.Caption": the entry, then the property path on it.
  Persistent* column = IndexedEntry(holder, "Columns", 1);
  ASSERT_NE(column, nullptr);
  EXPECT_EQ(GetStrPropOf(column, "Caption"), "Name");
  EXPECT_TRUE(TrySetPropertyPath(column, "Caption", automation::Variant("Title")));
  EXPECT_EQ(holder->Columns()->ItemAs<TColumnItem>(1)->caption, "Title");
  EXPECT_EQ(IndexedEntry(holder, "Columns", 9), nullptr);  // "Columns_9": no such entry
  EXPECT_EQ(IndexedEntry(holder->Columns(), "Items", 0), holder->Columns()->Items(0));
  EXPECT_EQ(IndexedEntry(holder, "Items", 0), nullptr);  // a string list is not a collection
  // "Items_5" on a two-line list: extended with empty lines.
  auto* items = dynamic_cast<Strings*>(GetObjectProperty(holder, "Items"));
  ASSERT_NE(items, nullptr);
  items->SetStringAt(5, "Z");
  EXPECT_EQ(items->Count(), 6);
}

TEST(StringsTest, LinesTextAndIndexedSetting) {
  Strings lines;
  int changes = 0;
  lines.SetOnChange([&] { ++changes; });
  lines.SetText("A\r\nB\nC");
  EXPECT_EQ(lines.Count(), 3);
  EXPECT_EQ(lines.Text(), "A\r\nB\r\nC\r\n");
  lines.SetStringAt(5, "Z");  // extended with empty lines, one notification
  EXPECT_EQ(lines.Count(), 6);
  EXPECT_EQ(lines[5], "Z");
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(changes, 2);
  EXPECT_THROW(lines.At(6), Error);
  lines.SetCommaText("a,\"b c\",d");
  EXPECT_EQ(lines.Count(), 3);
  EXPECT_EQ(lines[1], "b c");
  EXPECT_EQ(lines.CommaText(), "a,\"b c\",d");
}

}  // namespace
}  // namespace toolkit

#include "Properties_test.moc"
