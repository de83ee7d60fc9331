#include "toolkit/MaskEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>

namespace toolkit {
namespace {

std::u16string Wide(const QString& text) {
  return text.toStdU16String();
}
QString Qt16(const std::u16string& text) {
  return QString::fromStdU16String(text);
}

}  // namespace

MaskEdit::MaskEdit(Component* owner) : QLineEdit(nullptr), WinControl(this, owner) {
  SetTabStop(true);
  SetBounds(0, 0, 121, 21);
  SetColor(clWindow);
  setDragEnabled(false);
  setAcceptDrops(false);
  // Without a mask the widget edits freely; with one, keys come through keyPressEvent and this
  // signal only sees what the widget's own commands did (undo), which is taken back.
  QObject::connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (!showing_) UserEdited(text);
  });
}

void MaskEdit::SetEditMask(std::string mask) {
  // The characters the edit holds are kept and laid into the new mask.
  const std::u16string old = Wide(text());
  const std::u16string raw = mask_.IsMasked() ? mask_.RawText(old) : old;
  mask_text_ = std::move(mask);
  mask_ = toolkit::EditMask(Wide(ToScreen(mask_text_)));
  setMaxLength(mask_.IsMasked() ? 32767 : (max_length_ > 0 ? max_length_ : 32767));
  Show(Qt16(mask_.IsMasked() ? mask_.LayRaw(raw, mask_.Blank()) : raw), 0);
}

std::string MaskEdit::Text() const {
  return FromScreen(Qt16(mask_.Text(Wide(text()))));
}

void MaskEdit::SetText(std::string text) {
  Show(Qt16(mask_.EditTextFromText(Wide(ToScreen(text)))), 0);
}

std::string MaskEdit::EditText() const {
  return FromScreen(text());
}

void MaskEdit::SetEditText(std::string text) {
  Show(Qt16(mask_.ConformEditText(Wide(ToScreen(text)))), 0);
}

void MaskEdit::SetMaxLength(int length) {
  max_length_ = std::max(0, length);
  if (!mask_.IsMasked()) setMaxLength(max_length_ > 0 ? max_length_ : 32767);
}

void MaskEdit::SetPopupMenu(toolkit::PopupMenu* menu) {
  popup_menu_ = menu;
  AttachPopupMenu(this, menu);
}

bool MaskEdit::IsValid() const {
  return FirstInvalidPosition() < 0;
}

int MaskEdit::FirstInvalidPosition() const {
  return mask_.FirstInvalidPosition(Wide(text()));
}

int MaskEdit::SelStart() const {
  return hasSelectedText() ? selectionStart() : cursorPosition();
}

int MaskEdit::SelLength() const {
  return hasSelectedText() ? selectionLength() : 0;
}

void MaskEdit::SetSelStart(int start) {
  deselect();
  setCursorPosition(std::clamp(start, 0, static_cast<int>(text().size())));
}

void MaskEdit::SetSelLength(int length) {
  const int start = SelStart();
  setSelection(start, std::clamp(length, 0, static_cast<int>(text().size()) - start));
}

void MaskEdit::Change() {
  FOnChange(this);
}

void MaskEdit::Show(const QString& edit, int cursor) {
  const bool changed = edit != text();
  showing_ = true;
  if (changed) setText(edit);
  setCursorPosition(std::clamp(cursor, 0, static_cast<int>(edit.size())));
  showing_ = false;
  if (!changed) return;
  // The mixin keeps the 8-bit text as the mask reads it (GetText, the Text property by name).
  showing_ = true;
  SetTextValue(Text());
  showing_ = false;
  if (!IsLoading()) Change();
}

void MaskEdit::TextChanged() {
  // SetTextValue from outside (a font change re-shows the text through the new code page).
  if (showing_) return;
  Show(Qt16(mask_.EditTextFromText(Wide(ToScreen(GetText())))), cursorPosition());
}

void MaskEdit::FontChanged() {
  // The mask itself is 8-bit text too.
  mask_ = toolkit::EditMask(Wide(ToScreen(mask_text_)));
  WinControl::FontChanged();
}

void MaskEdit::ColorChanged() {
  QPalette p = palette();
  p.setColor(QPalette::Base, ToQColor(Color()));
  setPalette(p);
}

void MaskEdit::UserEdited(const QString& text) {
  if (!mask_.IsMasked()) {
    std::string bytes = FromScreen(text);
    if (max_length_ > 0 && static_cast<int>(bytes.size()) > max_length_) {
      // A limit in bytes: a typed two-byte character that does not fit is refused.
      const int cursor = std::max(0, cursorPosition() - 1);
      showing_ = true;
      setText(ToScreen(GetText()));
      setCursorPosition(std::min(cursor, static_cast<int>(this->text().size())));
      showing_ = false;
      return;
    }
    showing_ = true;
    SetTextValue(std::move(bytes));
    showing_ = false;
    if (!IsLoading()) Dispatch([this] { Change(); });
    return;
  }
  // Only the widget's own commands get here with a mask: bring the result back to its shape.
  const QString conformed = Qt16(mask_.ConformEditText(Wide(text)));
  const int cursor = cursorPosition();
  showing_ = true;
  setText(conformed);
  setCursorPosition(std::min(cursor, static_cast<int>(conformed.size())));
  SetTextValue(Text());
  showing_ = false;
  if (!IsLoading()) Dispatch([this] { Change(); });
}

void MaskEdit::TypeText(const QString& typed) {
  std::u16string edit = Wide(text());
  int cursor = cursorPosition();
  if (hasSelectedText()) {
    cursor = selectionStart();
    mask_.ClearRange(edit, cursor, cursor + selectionLength());
  }
  int taken = 0;
  for (QChar c : typed) {
    if (mask_.TypeChar(edit, &cursor, c.unicode())) ++taken;
  }
  if (taken == 0) {
    QApplication::beep();
    if (hasSelectedText()) return;
  }
  Dispatch([&] { Show(Qt16(edit), cursor); });
}

void MaskEdit::DeleteSelectionOr(int from, int to) {
  std::u16string edit = Wide(text());
  int cursor = from;
  if (hasSelectedText()) {
    cursor = selectionStart();
    mask_.ClearRange(edit, cursor, cursor + selectionLength());
  } else {
    mask_.ClearRange(edit, from, to);
  }
  Dispatch([&] { Show(Qt16(edit), cursor); });
}

void MaskEdit::PasteClipboard() {
  if (isReadOnly()) return;
  const QString clip = QApplication::clipboard()->text();
  if (!clip.isEmpty()) TypeText(clip);
}

void MaskEdit::CutSelection() {
  if (!hasSelectedText()) return;
  copy();
  if (!isReadOnly()) DeleteSelectionOr(selectionStart(), selectionStart());
}

void MaskEdit::keyPressEvent(QKeyEvent* event) {
  if (!mask_.IsMasked()) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  event->accept();
  if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll)) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (event->matches(QKeySequence::Paste)) {
    PasteClipboard();
    return;
  }
  if (event->matches(QKeySequence::Cut)) {
    CutSelection();
    return;
  }
  const bool editing = event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete ||
                       event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo) ||
                       event->matches(QKeySequence::DeleteEndOfLine) ||
                       event->matches(QKeySequence::DeleteStartOfWord) ||
                       event->matches(QKeySequence::DeleteEndOfWord) ||
                       event->matches(QKeySequence::DeleteCompleteLine);
  if (editing) {
    if (isReadOnly()) return;
    if (event->key() == Qt::Key_Backspace) {
      if (hasSelectedText()) {
        DeleteSelectionOr(0, 0);
      } else {
        std::u16string edit = Wide(text());
        int cursor = cursorPosition();
        if (mask_.Backspace(edit, &cursor)) Dispatch([&] { Show(Qt16(edit), cursor); });
      }
    } else if (event->key() == Qt::Key_Delete) {
      DeleteSelectionOr(cursorPosition(), cursorPosition() + 1);
    }
    // Undo, redo and the word and line deletions would shift the positions: refused.
    return;
  }
  const QString typed = event->text();
  const bool printable = !typed.isEmpty() && typed[0].unicode() >= 0x20 &&
                         (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) == 0;
  if (printable) {
    if (!isReadOnly()) TypeText(typed);
    return;
  }
  // Cursor keys, Home, End, Enter and the like.
  QLineEdit::keyPressEvent(event);
}

void MaskEdit::inputMethodEvent(QInputMethodEvent* event) {
  if (!mask_.IsMasked()) {
    QLineEdit::inputMethodEvent(event);
    return;
  }
  // Characters composed by an input method are typed into the mask one by one; the composition
  // itself is not shown in place.
  if (!event->commitString().isEmpty() && !isReadOnly()) TypeText(event->commitString());
  event->accept();
}

void MaskEdit::contextMenuEvent(QContextMenuEvent* event) {
  if (!mask_.IsMasked()) {
    QLineEdit::contextMenuEvent(event);
    return;
  }
  // The standard menu with its commands routed through the mask; undo and redo are not offered.
  std::unique_ptr<QMenu> menu(createStandardContextMenu());
  for (QAction* action : menu->actions()) {
    const QString name = action->objectName();
    if (name == "edit-undo" || name == "edit-redo") {
      action->setEnabled(false);
    } else if (name == "edit-paste") {
      QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
      QObject::connect(action, &QAction::triggered, this, [this] { PasteClipboard(); });
    } else if (name == "edit-cut") {
      QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
      QObject::connect(action, &QAction::triggered, this, [this] { CutSelection(); });
    } else if (name == "edit-delete") {
      QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
      QObject::connect(action, &QAction::triggered, this,
                       [this] { DeleteSelectionOr(cursorPosition(), cursorPosition()); });
    }
  }
  menu->exec(event->globalPos());
}

TOOLKIT_REGISTER_CLASS(MaskEdit, "TMaskEdit");

}  // namespace toolkit
