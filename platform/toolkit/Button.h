// Button ("TButton"): a push button.
//
// Published: Caption ("&" marks the accelerator letter), ModalResult (a click sets the form's
// ModalResult to it before OnClick runs, which ends a modal run), Default (Enter clicks it when
// no other button has the focus), Cancel (Esc clicks it), and the common windowed-control
// properties and events. A click by mouse or key runs after the focus has moved to the button,
// so the control left has run its exit handler first.
#pragma once

#include <QPushButton>

#include "toolkit/Control.h"

namespace toolkit {

class Button : public QPushButton, public WinControl {
  Q_OBJECT
  Q_PROPERTY(std::string Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
  Q_PROPERTY(bool Default READ Default WRITE SetDefault)
  Q_PROPERTY(bool Cancel READ Cancel WRITE SetCancel)

 public:
  // A new button, 75 × 25, caption "", TabStop on.
  explicit Button(Component* owner);

  const std::string& Caption() const { return GetText(); }
  void SetCaption(std::string caption) { SetTextValue(std::move(caption)); }
  int ModalResult() const { return modal_result_; }
  void SetModalResult(int result) { modal_result_ = result; }
  bool Default() const { return default_; }
  void SetDefault(bool isDefault);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool cancel) { cancel_ = cancel; }

  // Sets the form's ModalResult (when this button has one), then fires OnClick.
  void Click() override;
  bool DialogKey(Word key, ShiftState shift) override;

 protected:
  void TextChanged() override;

 private:
  int modal_result_ = 0;
  bool default_ = false;
  bool cancel_ = false;
};

}  // namespace toolkit
