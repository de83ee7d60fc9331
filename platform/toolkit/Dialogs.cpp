#include "toolkit/Dialogs.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

#include "automation/Dispatch.h"
#include "os/CodePage.h"
#include "toolkit/Form.h"

namespace toolkit {
namespace {

struct ButtonInfo {
  TMsgDlgBtn kind;
  const char* name;
  const char* caption;
  int result;
};

// In the order the buttons appear in a dialog.
const ButtonInfo kButtons[] = {
    {mbYes, "Yes", "&Yes", mrYes},
    {mbNo, "No", "&No", mrNo},
    {mbOK, "OK", "OK", mrOk},
    {mbCancel, "Cancel", "Cancel", mrCancel},
    {mbAbort, "Abort", "&Abort", mrAbort},
    {mbRetry, "Retry", "&Retry", mrRetry},
    {mbIgnore, "Ignore", "&Ignore", mrIgnore},
    {mbAll, "All", "&All", mrAll},
    {mbNoToAll, "NoToAll", "N&o to All", mrNoToAll},
    {mbYesToAll, "YesToAll", "Yes to &All", mrYesToAll},
    {mbHelp, "Help", "&Help", 0},
};

QString Decode(std::string_view text, int codePage) {
  return QString::fromStdU16String(os::AnsiToWide(text, codePage));
}

class QtDialogRunner : public DialogRunner {
 public:
  int Run(const MessageDialog& dialog) override {
    const int codePage = CharsetCodePage(dialog.Font.Charset);
    QMessageBox box;
    switch (dialog.Kind) {
      case mtWarning:
        box.setIcon(QMessageBox::Warning);
        break;
      case mtError:
        box.setIcon(QMessageBox::Critical);
        break;
      case mtInformation:
        box.setIcon(QMessageBox::Information);
        break;
      case mtConfirmation:
        box.setIcon(QMessageBox::Question);
        break;
      case mtCustom:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    box.setWindowTitle(Decode(dialog.Caption, codePage));
    box.setText(Decode(dialog.Text, codePage));
    Font font;
    font.SetName(dialog.Font.Name);
    font.SetCharset(dialog.Font.Charset);
    font.SetHeight(dialog.Font.Height);
    box.setFont(font.ToQFont());
    std::vector<std::pair<QAbstractButton*, int>> results;
    for (size_t i = 0; i < dialog.Buttons.size(); ++i) {
      const DialogButton& b = dialog.Buttons[i];
      QPushButton* button = box.addButton(Decode(b.Caption, codePage), QMessageBox::AcceptRole);
      results.emplace_back(button, b.ModalResult);
      if (static_cast<int>(i) == dialog.DefaultButton) box.setDefaultButton(button);
      if (b.Kind == mbCancel || b.Kind == mbNo) box.setEscapeButton(button);
    }
    box.exec();
    for (auto& [button, result] : results) {
      if (box.clickedButton() == button) return result;
    }
    return mrCancel;
  }
};

class QtModalRunner : public ModalRunner {
 public:
  int Run(Form& form) override {
    QEventLoop loop;
    form.SetModalEndHandler([&loop] { loop.quit(); });
    form.setWindowModality(Qt::ApplicationModal);
    form.Show();
    if (form.ModalResult() == mrNone) loop.exec();
    form.SetModalEndHandler({});
    form.setWindowModality(Qt::NonModal);
    return form.ModalResult();
  }
};

DialogRunner* installed_dialog_runner = nullptr;
ModalRunner* installed_modal_runner = nullptr;

}  // namespace

const char* ButtonName(TMsgDlgBtn button) {
  return kButtons[button].name;
}
int ButtonModalResult(TMsgDlgBtn button) {
  return kButtons[button].result;
}

DialogButton* MessageDialog::FindButton(std::string_view name) {
  for (DialogButton& b : Buttons) {
    if (automation::SameName(b.Name, name)) return &b;
  }
  return nullptr;
}

const DialogButton* MessageDialog::FindButton(std::string_view name) const {
  return const_cast<MessageDialog*>(this)->FindButton(name);
}

MessageDialog CreateMessageDialog(std::string text, TMsgDlgType kind, TMsgDlgButtons buttons) {
  static const char* const kCaptions[] = {"Warning", "Error", "Information", "Confirm", ""};
  MessageDialog dialog;
  dialog.Text = std::move(text);
  dialog.Kind = kind;
  dialog.Caption = kCaptions[kind];
  for (const ButtonInfo& info : kButtons) {
    if (buttons & (1u << info.kind)) {
      dialog.Buttons.push_back(DialogButton{info.kind, info.name, info.caption, info.result});
    }
  }
  return dialog;
}

DialogRunner& CurrentDialogRunner() {
  static QtDialogRunner qtRunner;
  return installed_dialog_runner ? *installed_dialog_runner : qtRunner;
}

ModalRunner& CurrentModalRunner() {
  static QtModalRunner qtRunner;
  return installed_modal_runner ? *installed_modal_runner : qtRunner;
}

DialogRunner* SetDialogRunner(DialogRunner* runner) {
  DialogRunner* previous = installed_dialog_runner;
  installed_dialog_runner = runner;
  return previous;
}

ModalRunner* SetModalRunner(ModalRunner* runner) {
  ModalRunner* previous = installed_modal_runner;
  installed_modal_runner = runner;
  return previous;
}

int ShowMessageDialog(const MessageDialog& dialog) {
  return CurrentDialogRunner().Run(dialog);
}

int MessageDlg(std::string text, TMsgDlgType kind, TMsgDlgButtons buttons) {
  return ShowMessageDialog(CreateMessageDialog(std::move(text), kind, buttons));
}

void ShowMessage(std::string text) {
  MessageDlg(std::move(text), mtInformation, 1u << mbOK);
}

void HandleException(const std::exception& error) noexcept {
  try {
    ShowMessageDialog(CreateMessageDialog(error.what(), mtError, 1u << mbOK));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n%s\n", error.what(), e.what());
  } catch (...) {
    std::fprintf(stderr, "%s\n", error.what());
  }
}

ScriptedDialogRunner::ScriptedDialogRunner() : previous_(SetDialogRunner(this)) {}
ScriptedDialogRunner::~ScriptedDialogRunner() {
  SetDialogRunner(previous_);
}

int ScriptedDialogRunner::Run(const MessageDialog& dialog) {
  shown_.push_back(dialog);
  if (answers_.empty()) {
    const int index = dialog.DefaultButton;
    if (index >= 0 && index < static_cast<int>(dialog.Buttons.size())) {
      return dialog.Buttons[static_cast<size_t>(index)].ModalResult;
    }
    return mrCancel;
  }
  ScriptAnswer answer = answers_.front();
  answers_.pop_front();
  if (answer.button.empty()) return answer.result;
  const DialogButton* button = dialog.FindButton(answer.button);
  return button ? button->ModalResult : mrCancel;
}

ScriptedModalRunner::ScriptedModalRunner() : previous_(SetModalRunner(this)) {}
ScriptedModalRunner::~ScriptedModalRunner() {
  SetModalRunner(previous_);
}

int ScriptedModalRunner::Run(Form& form) {
  shown_.push_back(form.ClassName());
  if (steps_.empty()) {
    form.SetModalResult(mrCancel);
    return mrCancel;
  }
  Step step = std::move(steps_.front());
  steps_.pop_front();
  const int result = step(form);
  if (form.ModalResult() == mrNone) form.SetModalResult(result == mrNone ? mrCancel : result);
  return form.ModalResult();
}

}  // namespace toolkit
