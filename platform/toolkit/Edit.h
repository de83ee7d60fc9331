// Edit ("TEdit"): a single-line text field holding an 8-bit text.
//
// Published: Text, Color (initially clWindow), MaxLength (in bytes of the 8-bit text; 0 = no
// limit), ReadOnly, ImeName (kept for the module, the input method is the desktop's), OnChange
// (after every change of Text, typed or set), and the common windowed-control properties and
// events. What the user types is read back through the code page of the font's character set.
#pragma once

#include <QLineEdit>

#include "toolkit/Control.h"

namespace toolkit {

class Edit : public QLineEdit, public WinControl {
  Q_OBJECT
  Q_PROPERTY(std::string Text READ Text WRITE SetText)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
  Q_PROPERTY(std::string ImeName READ ImeName WRITE SetImeName)
  Q_PROPERTY(toolkit::NotifyEvent OnChange MEMBER FOnChange)

 public:
  // A new edit, 121 × 21, empty, TabStop on.
  explicit Edit(Component* owner);

  const std::string& Text() const { return GetText(); }
  void SetText(std::string text) { SetTextValue(std::move(text)); }
  int MaxLength() const { return max_length_; }
  void SetMaxLength(int length);
  bool ReadOnly() const { return isReadOnly(); }
  void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }
  const std::string& ImeName() const { return ime_name_; }
  void SetImeName(std::string name) { ime_name_ = std::move(name); }

  // Selection in bytes of the 8-bit text.
  int SelStart() const;
  int SelLength() const;
  void SelectAll() { selectAll(); }

 protected:
  // Fires OnChange.
  virtual void Change();
  void TextChanged() override;
  void ColorChanged() override;

  NotifyEvent FOnChange;

 private:
  void UserEdited(const QString& text);
  int max_length_ = 0;
  std::string ime_name_;
  bool showing_text_ = false;
};

}  // namespace toolkit
