// Spin edit ("TSpinEdit"): an edit for a whole number with up and down buttons.
//
// Published: Value (the text read as a number, held to MinValue..MaxValue; MinValue when the
// text is no number), MinValue and MaxValue (0 and 0: no limits), Increment (1: the step of the
// buttons and the up and down keys), Text (what the edit holds, 8-bit), EditorEnabled (True: the
// number may be typed), MaxLength (0), ReadOnly, Color (clWindow), ImeName, PopupMenu, OnChange
// (after every change of the text, typed, stepped or set; not while loading), and the common
// windowed-control properties and events.
//
// The edit takes digits, "+" and "-" as the desktop control does, so a text such as "12-" can
// stand for a moment (the module's own spin edit takes a late sign back in its change handler);
// the buttons and keys step from Value and show the result, and leaving the edit writes a value
// outside the limits back held to them. A new spin edit is 121 × 22, showing 0.
#pragma once

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QPointer>

#include "toolkit/Control.h"
#include "toolkit/Menus.h"

namespace toolkit {

class SpinEdit : public QAbstractSpinBox, public WinControl {
  Q_OBJECT
  Q_PROPERTY(int Value READ Value WRITE SetValue)
  Q_PROPERTY(int MinValue READ MinValue WRITE SetMinValue)
  Q_PROPERTY(int MaxValue READ MaxValue WRITE SetMaxValue)
  Q_PROPERTY(int Increment READ Increment WRITE SetIncrement)
  Q_PROPERTY(std::string Text READ Text WRITE SetText)
  Q_PROPERTY(bool EditorEnabled READ EditorEnabled WRITE SetEditorEnabled)
  Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(std::string ImeName READ ImeName WRITE SetImeName)
  Q_PROPERTY(toolkit::PopupMenu* PopupMenu READ GetPopupMenu WRITE SetPopupMenu)
  Q_PROPERTY(toolkit::NotifyEvent OnChange MEMBER FOnChange)

 public:
  explicit SpinEdit(Component* owner);
  ~SpinEdit() override;

  int Value() const;
  // Shows the value held to the limits.
  void SetValue(int value);
  int MinValue() const { return min_value_; }
  void SetMinValue(int value);
  int MaxValue() const { return max_value_; }
  void SetMaxValue(int value);
  int Increment() const { return increment_; }
  void SetIncrement(int increment) { increment_ = increment; }
  const std::string& Text() const { return GetText(); }
  void SetText(std::string text) { SetTextValue(std::move(text)); }
  bool EditorEnabled() const { return editor_enabled_; }
  void SetEditorEnabled(bool enabled);
  int MaxLength() const { return max_length_; }
  void SetMaxLength(int length);
  bool ReadOnly() const { return isReadOnly(); }
  void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }
  const std::string& ImeName() const { return ime_name_; }
  void SetImeName(std::string name) { ime_name_ = std::move(name); }
  toolkit::PopupMenu* GetPopupMenu() const { return popup_menu_; }
  void SetPopupMenu(toolkit::PopupMenu* menu);

  // `value` held to MinValue..MaxValue (unchanged when both are 0).
  int CheckValue(int value) const;
  void SelectAll() { selectAll(); }

  // For this layer and its tests: the Qt editor inside.
  QLineEdit* QtEdit() const { return lineEdit(); }

  // Qt's spin box interface: the buttons and keys step by Increment.
  void stepBy(int steps) override;
  QValidator::State validate(QString& input, int& pos) const override;

 protected:
  // Fires OnChange.
  virtual void Change();
  void TextChanged() override;
  void DoExit() override;
  void ColorChanged() override;
  StepEnabled stepEnabled() const override;
  bool FilterEvent(QObject* watched, QEvent* event) override;

  NotifyEvent FOnChange;

 private:
  void UserEdited(const QString& text);

  int min_value_ = 0;
  int max_value_ = 0;
  int increment_ = 1;
  bool editor_enabled_ = true;
  int max_length_ = 0;
  std::string ime_name_;
  QPointer<toolkit::PopupMenu> popup_menu_;
  bool showing_ = false;
  // Set while the control is being destroyed: its inner widgets go first and report nothing.
  bool dying_ = false;
};

}  // namespace toolkit
