// QrSpin: `TQrSpinEdit`, the spin edit of the schedule page's day, week, month and repeat
// counters: the toolkit's spin edit (MinValue, MaxValue, Value, Increment, Text, OnChange) with
// one rule of its own on every change of the text:
//   if "+" occurs anywhere after the first character, the last character is removed; then the
//   same for "-"; then OnChange is raised only when the text, trimmed, is not empty.
// A sign typed after a number is so taken back ("12" and a typed "-" shows "12" again), and an
// emptied field raises no OnChange. The correction itself raises OnChange once, for the text it
// leaves.
#pragma once

#include "toolkit/SpinEdit.h"

class TQrSpinEdit : public toolkit::SpinEdit {
  Q_OBJECT
 public:
  explicit TQrSpinEdit(toolkit::Component* owner) : toolkit::SpinEdit(owner) {}

 protected:
  void Change() override;

 private:
  bool correcting_ = false;
};
