#include "toolkit/Edit.h"

namespace toolkit {

Edit::Edit(Component* owner) : QLineEdit(nullptr), WinControl(this, owner) {
  SetTabStop(true);
  SetBounds(0, 0, 121, 21);
  SetColor(clWindow);
  // Qt's signal covers typing, pasting and undo; texts set by the program come through
  // TextChanged.
  QObject::connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!showing_text_) UserEdited(text);
  });
}

void Edit::SetMaxLength(int length) {
  max_length_ = std::max(0, length);
  setMaxLength(max_length_ > 0 ? max_length_ : 32767);
}

int Edit::SelStart() const {
  const int start = hasSelectedText() ? selectionStart() : cursorPosition();
  return static_cast<int>(FromScreen(text().left(start)).size());
}

int Edit::SelLength() const {
  return static_cast<int>(FromScreen(selectedText()).size());
}

void Edit::Change() {
  FOnChange(this);
}

void Edit::TextChanged() {
  if (!showing_text_) {
    showing_text_ = true;
    setText(ToScreen(Text()));
    showing_text_ = false;
  }
  if (!IsLoading()) Change();
}

void Edit::UserEdited(const QString& text) {
  std::string bytes = FromScreen(text);
  if (max_length_ > 0 && static_cast<int>(bytes.size()) > max_length_) {
    // A limit in bytes: a typed two-byte character that does not fit is refused.
    showing_text_ = true;
    const int cursor = std::max(0, cursorPosition() - 1);
    setText(ToScreen(GetText()));
    setCursorPosition(std::min(cursor, static_cast<int>(this->text().size())));
    showing_text_ = false;
    return;
  }
  // The widget already shows the text; only the 8-bit value changes.
  showing_text_ = true;
  SetTextValue(std::move(bytes));
  showing_text_ = false;
}

void Edit::ColorChanged() {
  QPalette p = palette();
  p.setColor(QPalette::Base, ToQColor(Color()));
  setPalette(p);
}

TOOLKIT_REGISTER_CLASS(Edit, "TEdit");

}  // namespace toolkit
