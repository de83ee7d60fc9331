#include "toolkit/SpinEdit.h"

#include <QApplication>
#include <QLineEdit>
#include <charconv>
#include <optional>

namespace toolkit {
namespace {

// The text as a whole number: blanks around it and one leading "+" allowed.
std::optional<int> ParseNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {};
  return value;
}

}  // namespace

SpinEdit::SpinEdit(Component* owner) : QAbstractSpinBox(nullptr), WinControl(this, owner) {
  FeedEventsFrom(lineEdit());
  SetTabStop(true);
  SetBounds(0, 0, 121, 22);
  SetColor(clWindow);
  setAccelerated(true);
  setKeyboardTracking(true);
  QObject::connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
    if (!showing_) UserEdited(text);
  });
  SetText("0");
}

SpinEdit::~SpinEdit() {
  // The editor reports its events to this control; it goes while the control is still whole.
  dying_ = true;
  setLineEdit(new QLineEdit);
}

bool SpinEdit::FilterEvent(QObject* watched, QEvent* event) {
  if (dying_) return false;
  return WinControl::FilterEvent(watched, event);
}

int SpinEdit::CheckValue(int value) const {
  if (min_value_ == 0 && max_value_ == 0) return value;
  return std::clamp(value, min_value_, std::max(min_value_, max_value_));
}

int SpinEdit::Value() const {
  return CheckValue(ParseNumber(Text()).value_or(min_value_));
}

void SpinEdit::SetValue(int value) {
  SetText(std::to_string(CheckValue(value)));
}

void SpinEdit::SetMinValue(int value) {
  min_value_ = value;
  update();
}

void SpinEdit::SetMaxValue(int value) {
  max_value_ = value;
  update();
}

void SpinEdit::SetEditorEnabled(bool enabled) {
  editor_enabled_ = enabled;
  lineEdit()->setReadOnly(!enabled || isReadOnly());
}

void SpinEdit::SetMaxLength(int length) {
  max_length_ = std::max(0, length);
  lineEdit()->setMaxLength(max_length_ > 0 ? max_length_ : 32767);
}

void SpinEdit::SetPopupMenu(toolkit::PopupMenu* menu) {
  popup_menu_ = menu;
  AttachPopupMenu(this, menu);
}

void SpinEdit::stepBy(int steps) {
  if (isReadOnly()) return;
  const long long next =
      static_cast<long long>(Value()) + static_cast<long long>(steps) * increment_;
  const int value = static_cast<int>(std::clamp<long long>(next, INT32_MIN, INT32_MAX));
  Dispatch([&] { SetValue(value); });
  lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const {
  if (isReadOnly()) return StepNone;
  if (min_value_ == 0 && max_value_ == 0) return StepUpEnabled | StepDownEnabled;
  StepEnabled enabled = StepNone;
  const int value = Value();
  if (value < max_value_) enabled |= StepUpEnabled;
  if (value > min_value_) enabled |= StepDownEnabled;
  return enabled;
}

QValidator::State SpinEdit::validate(QString& input, int&) const {
  // The characters the desktop control lets through: digits and signs.
  for (QChar c : input) {
    if (!c.isDigit() && c != u'+' && c != u'-' && c != u' ') return QValidator::Invalid;
  }
  return QValidator::Acceptable;
}

void SpinEdit::Change() {
  FOnChange(this);
}

void SpinEdit::TextChanged() {
  if (!showing_) {
    showing_ = true;
    lineEdit()->setText(ToScreen(Text()));
    showing_ = false;
  }
  if (!IsLoading()) Change();
}

void SpinEdit::UserEdited(const QString& text) {
  showing_ = true;
  SetTextValue(FromScreen(text));
  showing_ = false;
}

void SpinEdit::DoExit() {
  // A number outside the limits is written back held to them when the edit is left.
  if (const std::optional<int> value = ParseNumber(Text()); value && CheckValue(*value) != *value) {
    SetValue(*value);
  }
  WinControl::DoExit();
}

void SpinEdit::ColorChanged() {
  QPalette p = palette();
  p.setColor(QPalette::Base, ToQColor(Color()));
  setPalette(p);
}

TOOLKIT_REGISTER_CLASS(SpinEdit, "TSpinEdit");

}  // namespace toolkit
