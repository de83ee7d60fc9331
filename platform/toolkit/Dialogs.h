// Message dialogs and modal runs.
//
// A message dialog is built as a model (`MessageDialog`: text, kind, buttons with their captions,
// caption, font) and shown by the current `DialogRunner`, which answers the modal result of the
// chosen button. Modal forms (`Form::ShowModal`) run through the current `ModalRunner`. The
// defaults show a real Qt dialog and run a real modal event loop; tests install scripted runners
// that answer from a script and record what was shown, so that the model is what a test asserts
// on. The texts of the model are 8-bit texts in the code page of the dialog font's character
// set, like every text of a control.
//
// `HandleException` is where an error that escaped an event handler ends: it is shown in an
// error dialog through the current DialogRunner.
#pragma once

#include <deque>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Graphics.h"

namespace toolkit {

class Form;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp
};
// A set of buttons: bit (1 << TMsgDlgBtn).
using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons ButtonSet(std::initializer_list<TMsgDlgBtn> buttons) {
  TMsgDlgButtons set = 0;
  for (TMsgDlgBtn b : buttons) set |= 1u << b;
  return set;
}
inline constexpr TMsgDlgButtons mbOKCancel = (1u << mbOK) | (1u << mbCancel);
inline constexpr TMsgDlgButtons mbYesNoCancel = (1u << mbYes) | (1u << mbNo) | (1u << mbCancel);
inline constexpr TMsgDlgButtons mbYesNo = (1u << mbYes) | (1u << mbNo);
inline constexpr TMsgDlgButtons mbAbortRetryIgnore =
    (1u << mbAbort) | (1u << mbRetry) | (1u << mbIgnore);

// The name of a button as callers look it up ("Yes", "OK", "NoToAll") and its modal result.
const char* ButtonName(TMsgDlgBtn button);
int ButtonModalResult(TMsgDlgBtn button);

struct DialogButton {
  TMsgDlgBtn Kind = mbOK;
  std::string Name;     // "Yes", "OK", ...
  std::string Caption;  // what the button shows; "&" marks the accelerator letter
  int ModalResult = 0;
};

// The font of a dialog (the values of a Font).
struct DialogFont {
  std::string Name = "\xCB\xCE\xCC\xE5";  // 宋体
  int Charset = GB2312_CHARSET;
  int Height = -12;
};

struct MessageDialog {
  std::string Text;
  TMsgDlgType Kind = mtInformation;
  std::string Caption;
  std::vector<DialogButton> Buttons;
  DialogFont Font;
  // Index into Buttons of the button Enter presses; the first one by default.
  int DefaultButton = 0;

  // The button of that name (compared without regard to case), or null.
  DialogButton* FindButton(std::string_view name);
  const DialogButton* FindButton(std::string_view name) const;
};

// A dialog model with the buttons of the set in their usual order (Yes, No, OK, Cancel, Abort,
// Retry, Ignore, All, NoToAll, YesToAll, Help), their standard English captions and the caption
// of the kind ("Warning", "Error", "Information", "Confirm"; a custom dialog has none). Callers
// replace captions before showing it.
MessageDialog CreateMessageDialog(std::string text, TMsgDlgType kind, TMsgDlgButtons buttons);

class DialogRunner {
 public:
  virtual ~DialogRunner() = default;
  // Shows the dialog modally and answers the chosen button's modal result (mrCancel when the
  // dialog is closed without a button).
  virtual int Run(const MessageDialog& dialog) = 0;
};

class ModalRunner {
 public:
  virtual ~ModalRunner() = default;
  // Runs the form modally until its ModalResult is non-zero (or it is closed); answers the
  // result.
  virtual int Run(Form& form) = 0;
};

// The runners in use; the Qt runners when none was installed.
DialogRunner& CurrentDialogRunner();
ModalRunner& CurrentModalRunner();
// Installs a runner (null for the default) and answers the previous one.
DialogRunner* SetDialogRunner(DialogRunner* runner);
ModalRunner* SetModalRunner(ModalRunner* runner);

// Shows the model through the current runner and answers the modal result.
int ShowMessageDialog(const MessageDialog& dialog);
// CreateMessageDialog and ShowMessageDialog in one.
int MessageDlg(std::string text, TMsgDlgType kind, TMsgDlgButtons buttons);
// An information box with an OK button.
void ShowMessage(std::string text);

// Shows an error that escaped an event handler: an error dialog with the exception's text and
// an OK button. Never throws.
void HandleException(const std::exception& error) noexcept;

// A dialog runner for tests: answers from a script, records every dialog shown.
class ScriptedDialogRunner : public DialogRunner {
 public:
  // Installs itself; the previous runner comes back when it is destroyed.
  ScriptedDialogRunner();
  ~ScriptedDialogRunner() override;

  // The next dialog answers this modal result / the result of the button of this name.
  void Answer(int modalResult) { answers_.push_back({modalResult, {}}); }
  void AnswerButton(std::string name) { answers_.push_back({0, std::move(name)}); }

  int Run(const MessageDialog& dialog) override;
  // Every dialog shown, in order.
  const std::vector<MessageDialog>& Shown() const { return shown_; }
  void Clear() { shown_.clear(); }

 private:
  struct ScriptAnswer {
    int result;
    std::string button;
  };
  std::deque<ScriptAnswer> answers_;
  std::vector<MessageDialog> shown_;
  DialogRunner* previous_;
};

// A modal runner for tests: each modal run calls the next step of the script with the form
// (which may set fields or press buttons) and ends with the result the step answers; without a
// step the run answers mrCancel. Records the class names of the forms run.
class ScriptedModalRunner : public ModalRunner {
 public:
  using Step = std::function<int(Form& form)>;
  ScriptedModalRunner();
  ~ScriptedModalRunner() override;

  void Then(Step step) { steps_.push_back(std::move(step)); }
  void ThenAnswer(int modalResult) {
    steps_.push_back([modalResult](Form&) { return modalResult; });
  }

  int Run(Form& form) override;
  const std::vector<std::string>& Shown() const { return shown_; }

 private:
  std::deque<Step> steps_;
  std::vector<std::string> shown_;
  ModalRunner* previous_;
};

}  // namespace toolkit
