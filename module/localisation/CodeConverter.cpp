// What ConvertForm does to a window, with m = UIConvertMode (nothing when m is 0):
//
//  1. The caption is converted GB → BIG5 when the system code page is "950" (the title bar is
//     drawn in the system's code page); the window's font then takes the BIG5 character set so
//     that the title shows through code page 950.
//  2. The window's own "Hint" and "ButtonHint" are converted with direction m.
//  3. The screen's icon, hint and menu fonts get the character set of m; the application's hint
//     display is switched off and on so that the hint window takes the new font.
//  4. Every component the window owns, in creation order:
//     a. property pass, each step only when the component publishes the property (of the type
//        named): "Font" and "TitleFont" (TFont) get the character set of m; "Caption" (when not
//        empty), "Hint" and "ButtonHint" are converted; "Items" and "Lines" (TStrings) are
//        converted as one text, "ItemIndex" kept; "Text" (when not empty) is converted unless it
//        already changed with the items (a list-style combo box shows its chosen item); "Style":
//        ConvertStyle; "Panels" (TStatusPanels): the text of every panel;
//     b. class pass (m = 2): tab sets (tabs, index kept), menus (owner drawn, also for m = 4),
//        list views (column captions, item captions, sub-items), selection panels (ChildHints,
//        BeginWords, FinalWords, HintWord and the columns and rows of their list), combo boxes
//        (owner drawn fixed unless simple; the first item chosen when none is), database
//        navigators (button hints), tree views (node texts) and string grids (cell texts).
#include "localisation/CodeConverter.h"

#include <QMetaEnum>
#include <QMetaProperty>

#include "automation/Dispatch.h"
#include "automation/DynamicLibrary.h"
#include "os/CodePage.h"
#include "support/VarnelIni.h"
#include "toolkit/Application.h"
#include "toolkit/Classes.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Form.h"
#include "toolkit/Graphics.h"
#include "toolkit/Properties.h"
#include "toolkit/StringGrid.h"

namespace {

using automation::Variant;
using toolkit::Component;
using toolkit::Persistent;

std::string& LibraryName() {
  static std::string name = "Varirodizu.dll";
  return name;
}

// The published property of that name (ignoring case) among the class's own and the mixin's
// properties, as toolkit/Properties.h finds it.
QMetaProperty FindMetaProperty(Persistent* object, std::string_view name) {
  if (!object) return {};
  const QMetaObject* metas[] = {object->Object()->metaObject(), object->MixinMetaObject()};
  for (const QMetaObject* meta : metas) {
    if (!meta) continue;
    for (int i = meta->propertyCount() - 1; i >= 0; --i) {
      const QMetaProperty p = meta->property(i);
      if (p.name() && automation::SameName(p.name(), name)) return p;
    }
  }
  return {};
}

// The name of the enumeration type of a published enumeration property ("TComboBoxStyle"); ""
// for other properties.
std::string EnumTypeName(Persistent* object, std::string_view name) {
  if (toolkit::PropertyKind(object, name) != toolkit::PropKind::Enumeration) return {};
  const QMetaProperty p = FindMetaProperty(object, name);
  if (p.isValid() && p.isEnumType()) return p.enumerator().enumName();
  std::string_view type = p.isValid() ? p.metaType().name() : "";
  if (size_t colon = type.rfind("::"); colon != std::string_view::npos)
    type.remove_prefix(colon + 2);
  return std::string(type);
}

// The object held by an object property when it is of class T.
template <class T>
T* HeldObject(Persistent* object, std::string_view name) {
  return dynamic_cast<T*>(toolkit::GetObjectProperty(object, name));
}

// The object held by an object property when its class is (or derives from) `className`.
Persistent* HeldObjectOfClass(Persistent* object, std::string_view name,
                              std::string_view className) {
  Persistent* held = toolkit::GetObjectProperty(object, name);
  return held && held->InheritsFrom(className) ? held : nullptr;
}

bool HasIntegerProperty(Persistent* object, std::string_view name) {
  return toolkit::PropertyKind(object, name) == toolkit::PropKind::Integer;
}

}  // namespace

// ---- TTranslator -------------------------------------------------------------------------------

const std::string& TranslatorLibraryName() {
  return LibraryName();
}

void SetTranslatorLibraryName(std::string name) {
  LibraryName() = std::move(name);
}

TTranslator::TTranslator() {
  LoadTranslator();
}

TTranslator::~TTranslator() = default;

void TTranslator::LoadTranslator() {
  if (library_) return;
  const std::string name = TranslatorLibraryName();
  library_ = automation::DynamicLibrary::TryLoad(name);
  if (!library_) throw CodeConverterError("Load Library " + name + " Error!");
  // The conversion library keeps its converters for the life of the process; unloading it with
  // each translator would drop them and load them again with the next window.
  library_->Pin();
  gb_to_big5_ = library_->EntryAs<const char*(const char*)>("GBtoBIG5");
  big5_to_gb_ = library_->EntryAs<const char*(const char*)>("BIG5toGB");
  get_big5_data_ = library_->Entry("GetBIG5Data");
  get_gb_data_ = library_->Entry("GetGBData");
  save_order_ = library_->Entry("SaveOrder");
  if (!gb_to_big5_ || !big5_to_gb_) {
    library_.reset();
    throw CodeConverterError("Get Library Procedure Address Error!");
  }
}

std::string TTranslator::Call(Entry entry, std::string_view text) const {
  if (!entry) return std::string(text);
  // The entries take a zero-terminated text; the answer lives until the next call.
  const std::string argument(text);
  const char* answer = entry(argument.c_str());
  return answer ? std::string(answer) : argument;
}

std::string TTranslator::GbToBig5(std::string_view text) const {
  return Call(gb_to_big5_, text);
}

std::string TTranslator::Big5ToGb(std::string_view text) const {
  return Call(big5_to_gb_, text);
}

// ---- TCodeConverter ----------------------------------------------------------------------------

TCodeConverter::TCodeConverter(Component* owner) : toolkit::NonVisualComponent(owner) {
  LoadCodePages();
  if (ui_convert_mode_ != 0) translator_ = std::make_unique<TTranslator>();
}

TCodeConverter::~TCodeConverter() = default;

void TCodeConverter::LoadCodePages() {
  auto copy = [this](const TVarnelIniBase& ini) {
    system_code_page_ = ini.SystemCodePage;
    ui_code_page_ = ini.UICodePage;
    db_code_page_ = ini.DBCodePage;
    ui_convert_mode_ = ini.UIConvertMode;
    data_convert_mode_ = ini.DataConvertMode;
  };
  if (design_type_ == dtServer) {
    copy(TVarnelIniS());
  } else {
    copy(TVarnelIniC());
  }
}

std::string TCodeConverter::GbToBig5Text(std::string_view text) const {
  if (text.empty() || !translator_) return std::string(text);
  return translator_->GbToBig5(text);
}

std::string TCodeConverter::Big5ToGbText(std::string_view text) const {
  if (text.empty() || !translator_) return std::string(text);
  return translator_->Big5ToGb(text);
}

Variant TCodeConverter::ConvertSingle(int direction, const Variant& value) const {
  switch (direction) {
    case 1:
      return Variant(Big5ToGbText(value.AsAnsi()));
    case 2:
      return Variant(GbToBig5Text(value.AsAnsi()));
    default:
      return value;
  }
}

Variant TCodeConverter::ConvertArray(int direction, const Variant& value) const {
  const automation::VariantArray& source = value.Array();
  Variant result = value;
  automation::VariantArray& target = result.Array();
  if (source.DimCount() == 1) {
    for (int i = source.LowBound(1); i <= source.HighBound(1); ++i) {
      const Variant& element = source.At(i);
      if (element.IsArray()) {
        target.At(i) = ConvertArray(direction, element);
      } else if (direction == 1 || direction == 2) {
        // A null element has no text: AsAnsi raises, and the whole conversion fails.
        target.At(i) = ConvertSingle(direction, element);
      }
    }
  } else if (source.DimCount() == 2) {
    for (int row = source.LowBound(1); row <= source.HighBound(1); ++row)
      for (int column = source.LowBound(2); column <= source.HighBound(2); ++column)
        target.At(row, column) = ConvertValue(direction, source.At(row, column));
  }
  return result;
}

Variant TCodeConverter::ConvertValue(int direction, const Variant& value) const {
  if (direction == 0 || !translator_ || value.IsEmpty() || value.IsNull()) return value;
  if (value.IsArray()) return ConvertArray(direction, value);
  return ConvertSingle(direction, value);
}

Variant TCodeConverter::ToUICode(const Variant& value) const {
  return ConvertValue(ui_convert_mode_, value);
}

Variant TCodeConverter::FromUICode(const Variant& value) const {
  try {
    const int direction = ui_convert_mode_ == 2 ? 1 : ui_convert_mode_ == 1 ? 2 : 0;
    return ConvertValue(direction, value);
  } catch (...) {
    return value;
  }
}

Variant TCodeConverter::FromDBCode(const Variant& value) const {
  return ConvertValue(data_convert_mode_, value);
}

Variant TCodeConverter::ToDBCode(const Variant& value) const {
  try {
    const int direction = data_convert_mode_ == 1 ? 2 : data_convert_mode_ == 2 ? 1 : 0;
    return ConvertValue(direction, value);
  } catch (...) {
    return value;
  }
}

void TCodeConverter::SetCharsetFont(int mode, toolkit::Font* font) {
  if (!font) return;
  int charset;
  switch (mode) {
    case 0:
    case 1:
    case 4:
      charset = toolkit::GB2312_CHARSET;
      break;
    case 2:
    case 3:
      charset = toolkit::CHINESEBIG5_CHARSET;
      break;
    default:
      return;
  }
  font->SetName("SimSun");
  font->SetCharset(charset);
}

namespace {

// Converts a text property in direction m; an empty text is skipped when `skipEmpty`.
void ConvertTextProperty(const TCodeConverter& converter, Persistent* object, std::string_view name,
                         int m, bool skipEmpty) {
  if (toolkit::PropertyKind(object, name) != toolkit::PropKind::Text) return;
  const std::string text = toolkit::GetStrPropOf(object, name);
  if (skipEmpty && text.empty()) return;
  toolkit::SetStrPropOf(object, name, converter.ConvertValue(m, Variant(text)).AsAnsi());
}

// Converts a string list as one text, in one change.
void ConvertLines(const TCodeConverter& converter, toolkit::Strings* lines, int m) {
  if (!lines || lines->Count() == 0) return;
  std::vector<std::string> converted;
  converted.reserve(lines->Lines().size());
  // One call for the whole text, as the list's text; the lines come back in the same places.
  std::string text;
  for (const std::string& line : lines->Lines()) text += line + "\r\n";
  toolkit::Strings result;
  result.SetText(converter.ConvertValue(m, Variant(text)).AsAnsi());
  if (result.Count() == lines->Count()) {
    lines->Assign(result);
  } else {
    // A conversion that changed the line breaks: line by line instead, so nothing moves.
    for (const std::string& line : lines->Lines())
      converted.push_back(converter.ConvertValue(m, Variant(line)).AsAnsi());
    lines->Assign(converted);
  }
}

// The item index of a component with one, kept across a change of its items.
class KeepItemIndex {
 public:
  explicit KeepItemIndex(Persistent* object, std::string_view name = "ItemIndex")
      : object_(object), name_(name), has_(HasIntegerProperty(object, name)) {
    if (has_) index_ = toolkit::GetOrdPropOf(object, name);
  }
  ~KeepItemIndex() {
    // A setter that refuses the index leaves the choice as the conversion left it.
    if (has_ && toolkit::GetOrdPropOf(object_, name_) != index_)
      toolkit::TrySetPropertyPath(object_, name_, Variant(index_));
  }
  KeepItemIndex(const KeepItemIndex&) = delete;
  KeepItemIndex& operator=(const KeepItemIndex&) = delete;

 private:
  Persistent* object_;
  std::string name_;
  bool has_;
  int index_ = -1;
};

// Combo boxes go from drop-down to owner-drawn variable and from drop-down list to owner-drawn
// fixed, list boxes from standard to owner-drawn fixed, so that texts of another code page are
// drawn by the window itself.
void ConvertStyle(Persistent* object, int m) {
  if (m == 0) return;
  const std::string type = EnumTypeName(object, "Style");
  const std::string style = toolkit::GetEnumPropOf(object, "Style");
  std::string next;
  if (type == "TComboBoxStyle") {
    if (style == "csDropDown") next = "csOwnerDrawVariable";
    if (style == "csDropDownList") next = "csOwnerDrawFixed";
  } else if (type == "TListBoxStyle") {
    if (style == "lbStandard") next = "lbOwnerDrawFixed";
  }
  if (next.empty()) return;
  KeepItemIndex keep(object);
  toolkit::TrySetPropertyPath(object, "Style", Variant(next));
}

// Every entry of a collection: its text property converted.
void ConvertCollectionTexts(const TCodeConverter& converter, toolkit::Collection* collection,
                            std::string_view name, int m) {
  if (!collection) return;
  for (int i = 0; i < collection->Count(); ++i)
    ConvertTextProperty(converter, collection->Items(i), name, m, false);
}

// A list view: column captions, item captions and sub-items.
void ConvertListView(const TCodeConverter& converter, Persistent* listView, int m) {
  if (!listView) return;
  ConvertCollectionTexts(converter, HeldObject<toolkit::Collection>(listView, "Columns"), "Caption",
                         m);
  if (auto* items = HeldObject<toolkit::Collection>(listView, "Items")) {
    for (int i = 0; i < items->Count(); ++i) {
      toolkit::CollectionItem* item = items->Items(i);
      ConvertTextProperty(converter, item, "Caption", m, false);
      ConvertLines(converter, HeldObject<toolkit::Strings>(item, "SubItems"), m);
    }
  }
}

}  // namespace

void TCodeConverter::ConvertComponent(Component* c, int m) {
  using toolkit::Strings;
  const std::string textBefore = toolkit::GetStrPropOf(c, "Text");

  // a. Property pass.
  SetCharsetFont(m, HeldObject<toolkit::Font>(c, "Font"));
  SetCharsetFont(m, HeldObject<toolkit::Font>(c, "TitleFont"));
  ConvertTextProperty(*this, c, "Caption", m, true);
  ConvertTextProperty(*this, c, "Hint", m, false);
  ConvertTextProperty(*this, c, "ButtonHint", m, false);
  if (auto* items = HeldObject<Strings>(c, "Items")) {
    KeepItemIndex keep(c);
    ConvertLines(*this, items, m);
  }
  ConvertLines(*this, HeldObject<Strings>(c, "Lines"), m);
  {
    // A list-style combo box shows its chosen item as its text: converted with the items
    // already, and converting it once more would spoil it.
    const std::string text = toolkit::GetStrPropOf(c, "Text");
    if (!text.empty() && text == textBefore) ConvertTextProperty(*this, c, "Text", m, true);
  }
  ConvertStyle(c, m);
  if (auto* panels =
          dynamic_cast<toolkit::Collection*>(HeldObjectOfClass(c, "Panels", "TStatusPanels")))
    ConvertCollectionTexts(*this, panels, "Text", m);

  // b. Class pass.
  if ((m == 2 || m == 4) && (c->InheritsFrom("TPopupMenu") || c->InheritsFrom("TMainMenu")))
    toolkit::SetOrdPropOf(c, "OwnerDraw", 1);
  if (m != 2) return;
  if (c->InheritsFrom("TTabSet")) {
    KeepItemIndex keep(c, "TabIndex");
    ConvertLines(*this, HeldObject<Strings>(c, "Tabs"), m);
  } else if (c->InheritsFrom("TSelectPanel")) {
    ConvertLines(*this, HeldObject<Strings>(c, "ChildHints"), m);
    ConvertLines(*this, HeldObject<Strings>(c, "BeginWords"), m);
    ConvertLines(*this, HeldObject<Strings>(c, "FinalWords"), m);
    ConvertTextProperty(*this, c, "HintWord", m, false);
    // The panel publishes its list's columns and rows as its own.
    ConvertListView(*this, c, m);
  } else if (c->InheritsFrom("TListView")) {
    ConvertListView(*this, c, m);
  } else if (auto* combo = dynamic_cast<toolkit::ComboBox*>(c)) {
    if (combo->Style() != toolkit::ComboBox::csSimple) {
      KeepItemIndex keep(c);
      combo->SetStyle(toolkit::ComboBox::csOwnerDrawFixed);
    }
    if (combo->ItemIndex() < 0 && combo->Items()->Count() > 0) combo->SetItemIndex(0);
  } else if (c->InheritsFrom("TDBNavigator")) {
    ConvertLines(*this, HeldObject<Strings>(c, "Hints"), m);
  } else if (auto* grid = dynamic_cast<toolkit::StringGrid*>(c)) {
    for (int row = 0; row < grid->RowCount(); ++row)
      for (int col = 0; col < grid->ColCount(); ++col)
        if (std::string text = grid->Cells(col, row); !text.empty())
          grid->SetCells(col, row, GbToBig5Text(text));
  }
}

void TCodeConverter::ConvertForm(toolkit::Form* form) {
  if (!form || !translator_) return;
  const int m = ui_convert_mode_;

  if (system_code_page_ == "950") {
    form->SetCaption(GbToBig5Text(form->Caption()));
    SetCharsetFont(2, form->Font());
  }
  ConvertTextProperty(*this, form, "Hint", m, false);
  ConvertTextProperty(*this, form, "ButtonHint", m, false);

  toolkit::Application& application = toolkit::Application::Instance();
  SetCharsetFont(m, application.IconFont());
  SetCharsetFont(m, application.HintFont());
  SetCharsetFont(m, application.MenuFont());
  application.SetShowHint(false);
  application.SetShowHint(true);

  // The list is copied: converting never creates or destroys components, but stays safe if a
  // component's setter does.
  const std::vector<Component*> components = form->ComponentList();
  for (Component* component : components) ConvertComponent(component, m);
}

int TCodeConverter::ShowCodePageMessage(std::string text, toolkit::TMsgDlgType kind,
                                        toolkit::TMsgDlgButtons buttons) const {
  if (text.empty()) return 0;
  if (ui_code_page_ == "936" || system_code_page_ == "936") text += "      ";
  toolkit::MessageDialog dialog = toolkit::CreateMessageDialog(std::move(text), kind, buttons);
  auto* window = dynamic_cast<toolkit::Form*>(Owner());
  if (window && window->WindowState() == toolkit::Form::wsMinimized)
    window->SetWindowState(toolkit::Form::wsNormal);
  toolkit::Font font;
  font.SetName(dialog.Font.Name);
  font.SetCharset(dialog.Font.Charset);
  SetCharsetFont(ui_convert_mode_, &font);
  dialog.Font.Name = font.Name();
  dialog.Font.Charset = font.Charset();
  if (window) {
    // The dialog shows its caption through its own font: a window title kept in the other code
    // page (the title bar follows the system's) is converted on the way.
    dialog.Caption = window->Caption();
    const int titlePage = window->Font()->CodePage();
    const int dialogPage = font.CodePage();
    if (titlePage == os::CP_GBK && dialogPage == os::CP_BIG5)
      dialog.Caption = GbToBig5Text(dialog.Caption);
    else if (titlePage == os::CP_BIG5 && dialogPage == os::CP_GBK)
      dialog.Caption = Big5ToGbText(dialog.Caption);
  }
  return toolkit::ShowMessageDialog(dialog);
}

TOOLKIT_REGISTER_CLASS(TCodeConverter, "TCodeConverter");
