// Masked edit ("TMaskEdit"): a single-line edit whose text follows an edit mask in the masked-edit
// notation of toolkit/EditMask.h ("9999/99/99;1; ", "!aaaa-aaaaaaaaaaa;0; ").
//
// Published: EditMask (initially ""), Text (the text as the mask reads it: with or without the
// literal characters, blanks trimmed as the mask says), EditText (what the edit shows, blank
// characters and literals included), Color (initially clWindow), MaxLength (bytes, only without a
// mask), ReadOnly, ImeName, PopupMenu, OnChange (after every change of what the edit shows, typed
// or set; not while loading), and the common windowed-control properties and events.
//
// With a mask the edit overwrites: a typed character goes to the next editable position if the
// position takes it (converted to upper or lower case as the mask says), literals are skipped, a
// separator typed early jumps to the next field, Backspace and Delete leave blanks, and pasted
// text is typed character by character. Setting EditMask keeps the characters the edit holds and
// lays them into the new mask. Without a mask it behaves as a plain edit. Texts are the module's
// 8-bit texts, shown through the code page of the font's character set; one position of the mask
// holds one character as shown.
#pragma once

#include <QLineEdit>

#include "toolkit/Control.h"
#include "toolkit/EditMask.h"
#include "toolkit/Menus.h"

namespace toolkit {

class MaskEdit : public QLineEdit, public WinControl {
  Q_OBJECT
  Q_PROPERTY(std::string EditMask READ GetEditMask WRITE SetEditMask)
  Q_PROPERTY(std::string Text READ Text WRITE SetText)
  Q_PROPERTY(std::string EditText READ EditText WRITE SetEditText)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
  Q_PROPERTY(std::string ImeName READ ImeName WRITE SetImeName)
  Q_PROPERTY(toolkit::PopupMenu* PopupMenu READ GetPopupMenu WRITE SetPopupMenu)
  Q_PROPERTY(toolkit::NotifyEvent OnChange MEMBER FOnChange)

 public:
  // A new masked edit, 121 × 21, no mask, empty, TabStop on.
  explicit MaskEdit(Component* owner);

  const std::string& GetEditMask() const { return mask_text_; }
  void SetEditMask(std::string mask);
  const toolkit::EditMask& Mask() const { return mask_; }
  bool IsMasked() const { return mask_.IsMasked(); }

  // The text as the mask reads it; setting lays it into the mask (EditMask::EditTextFromText).
  std::string Text() const;
  void SetText(std::string text);
  // What the edit shows; setting brings it to the mask's shape (EditMask::ConformEditText).
  std::string EditText() const;
  void SetEditText(std::string text);
  // Empties the edit: blanks in every editable position.
  void Clear() { SetEditText(std::string()); }

  int MaxLength() const { return max_length_; }
  void SetMaxLength(int length);
  bool ReadOnly() const { return isReadOnly(); }
  void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }
  const std::string& ImeName() const { return ime_name_; }
  void SetImeName(std::string name) { ime_name_ = std::move(name); }
  toolkit::PopupMenu* GetPopupMenu() const { return popup_menu_; }
  void SetPopupMenu(toolkit::PopupMenu* menu);

  // Whether every required position of the mask is filled and every character fits (always true
  // without a mask); the first position that breaks the mask, or -1.
  bool IsValid() const;
  int FirstInvalidPosition() const;

  // Selection in characters of what the edit shows (a mask's positions).
  int SelStart() const;
  int SelLength() const;
  void SetSelStart(int start);
  void SetSelLength(int length);
  void SelectAll() { selectAll(); }

 protected:
  // Fires OnChange.
  virtual void Change();
  void TextChanged() override;
  void ColorChanged() override;
  void FontChanged() override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

  NotifyEvent FOnChange;

 private:
  // Shows `edit` (a display text of the mask) with the cursor at `cursor`, keeps the 8-bit text
  // in step and fires OnChange when something changed.
  void Show(const QString& edit, int cursor);
  void TypeText(const QString& text);
  void DeleteSelectionOr(int from, int to);
  void PasteClipboard();
  void CutSelection();
  void UserEdited(const QString& text);

  std::string mask_text_;
  toolkit::EditMask mask_;
  int max_length_ = 0;
  std::string ime_name_;
  QPointer<toolkit::PopupMenu> popup_menu_;
  bool showing_ = false;
};

}  // namespace toolkit
