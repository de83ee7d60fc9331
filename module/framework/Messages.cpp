#include "framework/Messages.h"

#include <array>
#include <exception>

#include "support/Format.h"
#include "support/LibStrs.h"

using automation::Variant;

namespace {

void AppendDistinct(std::string& log, const std::string& text) {
  if (log.find(text) == std::string::npos) log += text + "; ";
}

}  // namespace

toolkit::TMsgDlgType TGeneServices::MessageKind(std::string_view Type) {
  if (Type == "C" || Type == "D" || Type == "W") return toolkit::mtWarning;
  if (Type == "E") return toolkit::mtError;
  if (Type == "I") return toolkit::mtInformation;
  if (Type == "Q") return toolkit::mtConfirmation;
  return toolkit::mtCustom;
}

toolkit::TMsgDlgButtons TGeneServices::MessageButtons(std::string_view Type) {
  if (Type == "C" || Type == "W" || Type == "Q") return toolkit::mbOKCancel;
  if (Type == "D") return toolkit::mbYesNoCancel;
  return toolkit::ButtonSet({toolkit::mbOK});
}

std::string TGeneServices::GetMessageText(const std::string& Type, const std::string& Number) {
  std::string text;
  bool answered = false;
  if (Manager.IsDispatch()) {
    try {
      text = automation::VarToStr(Manager.Call("GetMessage", {Variant(Type), Variant(Number)}));
      answered = true;
    } catch (const std::exception&) {
      // A manager that cannot answer is treated like a missing one: the user still learns
      // which message was meant.
    }
  }
  if (!answered) {
    text = Format("Can not Get Message\rType= %s, ID= %s ", {Variant(Type), Variant(Number)});
  }
  return automation::VarToStr(FromDBCodeValue(Variant(text)));
}

void TGeneServices::ShowCode(const std::string& Code) {
  if (CancelHasFocus()) return;
  if (Code.empty()) {
    MessageCodes.clear();
    MessageLog.clear();
    return;
  }
  MessageCodes += Code + "; ";
  const std::string type = GetToken(Code, ";", 1);
  std::string number = GetToken(Code, ";", 2);
  const bool show = detail::StrToIntDef(number, 0) > 0;

  std::array<Variant, 10> arguments;
  const int fields = CountTokens(Code, ";");
  if (fields - 2 > static_cast<int>(arguments.size())) {
    throw automation::Error("Too many arguments in message code " + Code);
  }
  arguments[0] = std::string();
  for (int i = 3; i <= fields; ++i) arguments[i - 3] = GetToken(Code, ";", i);

  if (!show && !number.empty()) number.erase(0, 1);
  std::string text = GetMessageText(type, number);
  try {
    text = Format(text, std::span<const Variant>(arguments.data(), arguments.size()));
  } catch (const std::exception&) {
    text += "\r";
    for (const Variant& argument : arguments) text += automation::VarToStr(argument) + ";";
  }
  AppendDistinct(MessageLog, text);
  if (show) ShowText(text, MessageKind(type), toolkit::ButtonSet({toolkit::mbOK}));
}

void TGeneServices::RecordError(const std::string& Text) {
  if (CancelHasFocus()) return;
  const std::string text = detail::TrimText(Text);
  if (text.empty()) {
    MessageCodes.clear();
    MessageLog.clear();
    return;
  }
  MessageCodes += std::string(MessageCode::RawError) + "; ";
  AppendDistinct(MessageLog, text);
}

int TGeneServices::ShowMessageCode(const std::string& Type, const std::string& Number,
                                   std::span<const Variant> Args, int HighIndex,
                                   toolkit::TMsgDlgButtons Buttons) {
  const size_t count = HighIndex < 0 ? 0 : std::min(Args.size(), static_cast<size_t>(HighIndex) + 1);
  const std::string text = Format(GetMessageText(Type, Number), Args.first(count));
  return ShowText(text, MessageKind(Type), Buttons != 0 ? Buttons : MessageButtons(Type));
}

int TGeneServices::ShowText(const std::string& Text, toolkit::TMsgDlgType Kind,
                            toolkit::TMsgDlgButtons Buttons) {
  if (ChangingPage && Kind != toolkit::mtError) return 0;
  toolkit::MessageDialog dialog = toolkit::CreateMessageDialog(Text, Kind, Buttons);
  dialog.Caption = DialogCaption();
  if (UiCodePageText() != "437") {
    for (toolkit::DialogButton& button : dialog.Buttons) {
      button.Caption = ToUICodeText(DialogButtonCaption(button.Name));
    }
  }
  PrepareDialogFont(dialog);
  const int result = toolkit::ShowMessageDialog(dialog);
  AfterDialog(Kind);
  return result;
}
