#include "controls/QrSpin.h"

#include "controls/SelectRange.h"

void TQrSpinEdit::Change() {
  // Taking a character back changes the text again; that change is this one.
  if (correcting_) return;
  correcting_ = true;
  try {
    for (char sign : {'+', '-'}) {
      const std::string text = Text();
      if (text.size() > 1 && text.find(sign, 1) != std::string::npos) {
        SetText(text.substr(0, text.size() - 1));
      }
    }
  } catch (...) {
    correcting_ = false;
    throw;
  }
  correcting_ = false;
  if (!TrimBlanks(Text()).empty()) toolkit::SpinEdit::Change();
}

TOOLKIT_REGISTER_CLASS(TQrSpinEdit, "TQrSpinEdit");
