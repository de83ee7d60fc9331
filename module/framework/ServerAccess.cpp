#include "framework/ServerAccess.h"

#include <cstdio>
#include <array>
#include <exception>

#include "automation/ClassRegistry.h"
#include "automation/DateTime.h"
#include "os/CodePage.h"
#include "support/LibStrs.h"
#include "support/VarnelIni.h"

using automation::Variant;

namespace detail {

std::string TrimText(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return std::string(text.substr(begin, end - begin));
}

int StrToIntDef(std::string_view text, int fallback) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return fallback;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return fallback;
    value = value * 10 + (text[i] - '0');
    if (value > 2147483648LL) return fallback;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return fallback;
  return static_cast<int>(value);
}

std::string UpperText(std::string_view text) {
  std::string upper(text);
  // Only ASCII letters change, and never a trail byte of a two-byte character.
  for (size_t i = 0; i < upper.size(); ++i) {
    const auto c = static_cast<unsigned char>(upper[i]);
    if (os::IsLeadByte(c, os::CP_GBK) && i + 1 < upper.size()) {
      ++i;
      continue;
    }
    if (c >= 'a' && c <= 'z') upper[i] = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace detail

namespace {

bool SameText(std::string_view a, std::string_view b) {
  return detail::UpperText(a) == detail::UpperText(b);
}

// Calls a method whose arguments are all passed by reference and copies them back.
Variant CallByRef(const Variant& object, std::string_view name, std::span<Variant> args) {
  static const std::array<bool, 8> byRef{true, true, true, true, true, true, true, true};
  if (args.size() > byRef.size()) throw automation::Error("Too many arguments");
  return object.Call(name, args, std::span<const bool>(byRef.data(), args.size()));
}

}  // namespace

TGeneServices::TGeneServices() = default;
TGeneServices::~TGeneServices() = default;

// ---- Manager objects and system information ---------------------------------------------------

void TGeneServices::AcquireManagerObjects() {
  if (!IsLibraryModule()) {
    // A stand-alone program has no host to hand it a manager: it makes its own.
    try {
      Manager = automation::CreateOleObject("OstrelWorkCenter.Manager");
    } catch (const std::exception&) {
      Manager = Variant();
    }
  }
  try {
    Counter = Manager.Get("Com_Counter");
    SystemInfo("");
    CompanyTitle = SystemInfo("QRN002");
  } catch (const std::exception&) {
    Counter = Variant();
  }
  try {
    Validator = Manager.Get("Com_Validator");
  } catch (const std::exception&) {
    Validator = Variant();
  }
}

void TGeneServices::AcquireLookupService() {
  if ((LookupFlags & 4) == 0) return;
  try {
    LookupService = Manager.Get("Com_F2Window");
  } catch (const std::exception&) {
    LookupService = Variant();
  }
}

std::string TGeneServices::SystemInfo(std::string_view Name) {
  if (Name.empty()) {
    if (!Counter.IsDispatch()) return std::string();
    Variant args[] = {Variant(CompanyCode)};
    const Variant answer = CallByRef(Counter, "GetSysInfo", args);
    if (VarIsNullOrEmpty(answer)) return std::string();
    const int low = automation::VarArrayLowBound(answer, 2);
    const int high = automation::VarArrayHighBound(answer, 2);
    const int nameRow = automation::VarArrayLowBound(answer, 1);
    for (int i = low; i <= high; ++i) {
      std::string name = automation::VarToStr(answer.ElementAt(nameRow, i));
      std::string value = automation::VarToStr(answer.ElementAt(nameRow + 1, i));
      bool replaced = false;
      for (auto& entry : sysInfo_) {
        if (SameText(entry.first, name)) {
          entry.second = value;
          replaced = true;
          break;
        }
      }
      if (!replaced) sysInfo_.emplace_back(std::move(name), std::move(value));
    }
    return std::string();
  }
  try {
    for (const auto& entry : sysInfo_) {
      if (SameText(entry.first, Name)) {
        return automation::VarToStr(FromDBCodeValue(Variant(entry.second)));
      }
    }
  } catch (const std::exception&) {
  }
  return std::string();
}

int TGeneServices::DateFormatCode() { return detail::StrToIntDef(SystemInfo("Sys001"), 1); }

std::string TGeneServices::DateSeparatorText() {
  std::string separator = SystemInfo("Sys002");
  return separator.empty() ? std::string("/") : separator;
}

bool TGeneServices::IsLibraryModule() const {
  const size_t slash = ModulePath.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? ModulePath : ModulePath.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string extension = detail::UpperText(name.substr(dot));
  return extension == ".DLL" || extension == ".SO";
}

void TGeneServices::ReadProductCode() {
  (void)Manager.Get("VersionType");
  try {
    ProductCode = Manager.Get("ProductID").AsInteger();
  } catch (const std::exception&) {
    ProductCode = 3;
  }
}

std::string TGeneServices::HelpTopic(std::string_view ProgramCode) {
  const std::string code = detail::UpperText(ProgramCode);
  if (code.size() < 4) return std::string();
  std::string topic;
  char kind = 0;
  if (code[3] == 'A' || code[3] == 'M') {
    topic = code[3] == 'A' ? "6" : "8";
    kind = code.size() >= 5 ? code[4] : 0;
  } else {
    topic = "1";
    kind = code[3];
  }
  if (kind == 'B') {
    topic += "3";
  } else if (kind == 'R') {
    topic += "2";
  } else {
    return std::string();
  }
  topic += code.substr(code.size() - 2);
  topic += "0000";
  return topic;
}

bool TGeneServices::CallProgramHelp() {
  const std::string topic = HelpTopic(ProgramCode);
  if (topic.empty() || !Manager.IsDispatch()) return false;
  Manager.Call("CallHelp", {automation::VarArrayOf({Variant(ProgramCode.substr(0, 3)), Variant(topic)})});
  return true;
}

// ---- Validation, counters, lookups --------------------------------------------------------------

void TGeneServices::ReadProgramMaster() {
  try {
    Variant result;
    if (QueryServer("ADMMB", "01", automation::VarArrayOf({Variant(ProgramCode)}), result, false)) {
      ProgramName = automation::VarToStr(result[0]);
      WantLog = automation::VarToStr(result[4]) == "Y";
      if (result.IsArray() && result.Array().ElementCount() >= 8 && UiCodePageText() == "437") {
        ProgramName = automation::VarToStr(result[7]);
      }
    }
  } catch (const std::exception&) {
    ProgramName = ProgramCode;
    WantLog = false;
  }
  CaptionText = ProgramName;
}

bool TGeneServices::QueryServer(const std::string& Table, const std::string& Key,
                                const Variant& Params, Variant& Result, bool UseQuery) {
  Variant params = ToDBCodeValue(Params);
  if (!Validator.IsDispatch()) return false;
  try {
    Validator.Set("ProductID", Variant(ProductCode));
    Validator.Set("BaseLimited", Variant(os::WideToAnsi(BaseLimitText, os::SystemCodePage())));
  } catch (const std::exception&) {
    // The validator works without them; older services do not know these properties.
  }
  bool ok = false;
  try {
    Variant args[] = {Variant(Table), Variant(Key), Variant(SystemDbName), params, Result};
    ok = CallByRef(Validator, UseQuery ? "QueryData" : "CheckValue", args).AsBoolean();
    Result = args[4];
  } catch (const std::exception&) {
    return false;
  }
  Result = FromDBCodeValue(Result);
  return ok;
}

bool TGeneServices::CheckServerValue(const Variant& Table, const Variant& Key,
                                     const Variant& Params, Variant& Result, int Index,
                                     const std::string& MsgType) {
  if (CancelHasFocus()) return true;
  if (VarIsNullOrEmpty(Params)) {
    Result = Variant();
    return true;
  }
  Variant answer;
  const bool ok = QueryServer(automation::VarToStr(Table), automation::VarToStr(Key), Params,
                              answer, Index == -2);
  if (!ok) {
    if (MsgType == "E") {
      ShowCode("E;000001;" + GetMessageText("I", "000008"));
    } else if (MsgType == "W") {
      ShowCode("W;000004;" + GetMessageText("I", "000008"));
    }
    return false;
  }
  Result = Variant();
  if (VarIsNullOrEmpty(answer)) return true;
  if (answer.IsArray() && answer.Array().DimCount() == 1 && Index >= answer.Array().LowBound() &&
      Index <= answer.Array().HighBound()) {
    Result = answer[Index];
  } else {
    Result = answer;
  }
  return true;
}

void TGeneServices::GetCounterValue(const std::string& Name, const Variant& Params,
                                    Variant& Result) {
  Result = Variant();
  if (!Counter.IsDispatch()) return;
  Variant args[] = {Variant(detail::UpperText(Name)), Params,
                    automation::VarArrayOf({Variant(CompanyCode), Variant(SystemDbName)})};
  const bool byRef[] = {false, true, false};
  Result = FromDBCodeValue(Counter.Call("GetCounter", args, byRef));
}

void TGeneServices::LookupData(const Variant& Table, const Variant& Key, const Variant& Params,
                               const std::string& ExtraText, bool ExtraFlag, Variant& Result) {
  if (VarIsNullOrEmpty(LookupService)) {
    Result = Variant();
    return;
  }
  const Variant params = ToDBCodeValue(Params);
  const Variant extra = ToDBCodeValue(Variant(ExtraText));
  Variant args = automation::VarArrayCreate({{0, 18}});
  args[0] = Table;
  args[1] = Key;
  args[2] = params;
  args[3] = ExtraFlag;
  args[4] = extra;
  args[5] = CompanyCode;
  args[6] = SystemDbName;
  args[7] = ServiceWindowHandle();
  args[8] = 1;
  args[9] = false;
  args[10] = ProductCode;
  args[11] = std::string();
  args[12] = std::string();
  args[13] = std::string();
  args[14] = os::WideToAnsi(BaseLimitText, os::SystemCodePage());
  args[15] = LookupRightB;
  args[16] = LookupRightA;
  args[17] = Manager;
  args[18] = UserCode;
  Result = FromDBCodeValue(LookupService.Call("F2GetData", {args}));
}

std::string TGeneServices::PickDate(const std::string& Text) {
  if (VarIsNullOrEmpty(LookupService)) return std::string();
  std::string start = Text;
  if (start.size() != 8) {
    int y = 0, m = 0, d = 0;
    automation::DecodeDate(automation::Today(), y, m, d);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", y, m, d);
    start = buffer;
  }
  const int code = DateFormatCode();
  const std::string answer = detail::TrimText(automation::VarToStr(LookupService.Call(
      "ShowInputDay", {automation::VarArrayOf({Variant(code > 3), Variant(start),
                                               Variant(SystemDbName)})})));
  if (answer.empty()) return Text;
  return FormatDateSep(code, DateSeparatorText(), DateFromYmdText(answer));
}

std::string TGeneServices::PhraseText() {
  if (VarIsNullOrEmpty(LookupService)) return std::string();
  Variant args[] = {Variant(UserCode), Variant(SystemDbName), Variant(ServiceWindowHandle())};
  const bool byRef[] = {true, true, false};
  return automation::VarToStr(FromDBCodeValue(LookupService.Call("GetPhrase", args, byRef)));
}

// ---- Job server -----------------------------------------------------------------------------------

bool TGeneServices::ConfigureJobConnection() {
  try {
    MainMidas.Close();
    std::string error;
    // A code recorded earlier in this initialisation (a short parameter array) already dooms
    // the connection: it is reported once more instead of a second, misleading message.
    if (!MessageCodes.empty()) {
      error = MessageCodes;
    } else {
      const TVarnelIniC ini;
      const Variant& list = ini.ServerList;
      if (automation::VarArrayDimCount(list) == 2 && list.Array().ElementCount() > 0) {
        const int row = list.Array().LowBound(1);
        const int column = list.Array().LowBound(2);
        MainMidas.SetAddress(automation::VarToStr(list.ElementAt(row, column)));
        MainMidas.SetPort(list.ElementAt(row + 1, column).AsInteger());
      }
    }
    if (!error.empty()) ShowCode(error);
    return error.empty();
  } catch (const std::exception& e) {
    RecordError(e.what());
    return false;
  }
}

bool TGeneServices::ConnectJobServer() {
  JobServer = Variant();
  try {
    if (MainMidas.Connected()) MainMidas.Close();
    ServerIsLocal = IsLoopbackAddress(MainMidas.Address());
    if (ServerIsLocal) {
      const Variant server = automation::CreateOleObject(MainMidas.ServerName());
      MainMidas.SetAppServer(server);
      JobServer = server;
    } else {
      MainMidas.Open();
      if (MainMidas.Connected()) JobServer = MainMidas.AppServer();
    }
    return true;
  } catch (const std::exception& e) {
    RecordError(e.what());
    return false;
  }
}

void TGeneServices::DisconnectJobServer() {
  if (!ServerIsLocal) MainMidas.Close();
  JobServer = Variant();
}

void TGeneServices::ApplyJobRights(const Variant& Answer) {
  const std::string rights = GetToken(automation::VarToStr(Answer[1]), ",", 4);
  auto right = [&rights](size_t position) {
    return position <= rights.size() && rights[position - 1] != 'N';
  };
  LookupRightA = right(7);
  LookupRightB = right(8);
  BaseLimitText = JoinParamList(automation::VarToStr(Answer[4]), Answer[5]);
  AfterRightsLoaded();
}
