#include "support/VarnelIni.h"

#include <stdexcept>

#include "os/CodePage.h"
#include "os/IniFile.h"
#include "os/Paths.h"
#include "os/Registry.h"
#include "os/SystemInfo.h"
#include "support/GbkText.h"
#include "support/Logs.h"

namespace {

constexpr const char* kVarnelKey = "Software\\QRN\\Varnel";
constexpr const char* kEmptyPasswordMarker = "UN_Mir_DcLrdcRbph_LezHlhbChvoDdAthna";
constexpr const char* kUnreadablePassword = "VA_Tpa_Ixnncghr_Foqfd";

std::string Trim(std::string_view text) {
  size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  return std::string(text.substr(first, last - first));
}

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

bool IsYes(const std::string& text) {
  const std::string upper = Upper(text);
  return upper == "1" || upper == "Y" || upper == "YES" || upper == "TRUE";
}

void ComputeModes(TVarnelIniBase& ini) {
  if (ini.UICodePage == "950")
    ini.UIConvertMode = 2;
  else if (ini.UICodePage == "936" && ini.SystemCodePage == "950")
    ini.UIConvertMode = 4;
  else
    ini.UIConvertMode = 0;
  if (ini.UICodePage == "950" && ini.DBCodePage == "936")
    ini.DataConvertMode = 2;
  else if (ini.UICodePage == "936" && ini.DBCodePage == "950")
    ini.DataConvertMode = 1;
  else
    ini.DataConvertMode = 0;
}

bool FileExists(const std::string& file) {
  return os::IniFile(file).Exists();
}

// The steps both readers share: the registry key, the root, the profile folder and the file.
// Answers false when the read stops before the file.
bool LocateFile(TVarnelIniBase& ini, const char* rootValue, std::string& root,
                const char* fileName) {
  std::optional<os::RegistryKey> key =
      os::RegistryKey::OpenReadOnly(os::RegistryRoot::LocalMachine, kVarnelKey);
  if (!key) {
    ini.ErrorCode = "E;000015";
    return false;
  }
  root = os::NativePath(key->ReadString(rootValue).value_or(""));
  ini.ProfileType = key->ReadString("ProfileType").value_or("");
  if (root.empty()) return false;
  root = os::IncludeTrailingSlash(root);

  ini.ProfilePath = root;
  if (!ini.ProfileType.empty() && ini.ProfileType != "0") {
    const std::string user = os::UserName();
    if (!user.empty()) ini.ProfileUser = user;
    ini.ProfilePath = root + "Profile/" + ini.ProfileUser + "/";
  }
  ini.IniFileName = ini.ProfilePath + fileName;
  if (!FileExists(ini.IniFileName)) {
    ini.ProfilePath = root;
    ini.IniFileName = root + fileName;
  }
  return true;
}

void ReadCodePages(TVarnelIniBase& ini, const os::IniFile& file) {
  ini.Version = file.ReadString("ProductVersion", "Version", "");
  ini.UICodePage = file.ReadString("CodePage", "UICodePage", ini.SystemCodePage);
  ini.DBCodePage = file.ReadString("CodePage", "DBCodePage", "936");
}

// The folders of section "WorkDLLPath", or the single default folder below the root.
std::vector<std::string> WorkFolders(const os::IniFile& file, const std::string& root,
                                     const char* defaultFolder) {
  std::vector<std::string> folders;
  for (const os::IniEntry& entry : file.ReadSectionValues("WorkDLLPath")) {
    std::string value = entry.value;
    if (value.empty() || (value.back() != '\\' && value.back() != '/')) value += '/';
    folders.push_back(ResolvePath(value, root));
  }
  if (folders.empty()) folders.push_back(root + defaultFolder);
  return folders;
}

unsigned char RotateRight(unsigned char b, int bits) {
  bits %= 8;
  return static_cast<unsigned char>((b >> bits) | (b << ((8 - bits) % 8)));
}

unsigned char RotateLeft(unsigned char b, int bits) {
  bits %= 8;
  return static_cast<unsigned char>((b << bits) | (b >> ((8 - bits) % 8)));
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

TVarnelIniBase::TVarnelIniBase() {
  const int acp = os::GetACP();
  SystemCodePage = acp == os::CP_GBK || acp == os::CP_BIG5 ? std::to_string(acp) : "437";
  UICodePage = SystemCodePage;
  ComputeModes(*this);
}

TVarnelIniC::TVarnelIniC() {
  if (!LocateFile(*this, "ClientPath", ClientPath, "VarnelC.ini")) return;
  const os::IniFile file(IniFileName);
  LangType = file.ReadString("Client Components", "LangType", "ENG");
  CreateGifBeforeSendEF = file.ReadString("UserDefine", "CreateGifBeforeSendEF", "Y");
  ReadCodePages(*this, file);
  SupportCallBack = IsYes(file.ReadString("Server Information", "SupportCallBack", "0"));
  const std::string computers = file.ReadString("Server Information", "ComputerName", "127.0.0.1");
  const int port = file.ReadInteger("Server Information", "ServerPort", 211);
  AutoCheckNewMsg = file.ReadString("TaskMessageCenter Setting", "AutoCheckNewMsg", "1");
  CheckInterval = file.ReadString("TaskMessageCenter Setting", "CheckInterval", "1");
  PopupMsg = file.ReadString("TaskMessageCenter Setting", "PopupMsg", "1");
  LoginCheck = file.ReadString("TaskMessageCenter Setting", "LoginCheck", "0");
  ComputeModes(*this);

  std::string names = Trim(computers);
  if (!names.empty() && names.back() == ';') names.pop_back();
  if (names.empty()) {
    ErrorCode = "E;000016";
    return;
  }
  std::vector<std::string> servers;
  for (size_t start = 0;;) {
    const size_t semicolon = names.find(';', start);
    servers.push_back(names.substr(start, semicolon - start));
    if (semicolon == std::string::npos) break;
    start = semicolon + 1;
  }
  ServerList = automation::VarArrayCreate({{0, 1}, {0, static_cast<int>(servers.size()) - 1}});
  for (size_t i = 0; i < servers.size(); ++i) {
    ServerList.ElementAt(0, static_cast<int>(i)) = servers[i];
    ServerList.ElementAt(1, static_cast<int>(i)) = port;
  }

  WorkDLLPaths = WorkFolders(file, ClientPath, "C_PKG/");
  ReadSucceeded = true;
}

TVarnelIniS::TVarnelIniS() {
  if (!LocateFile(*this, "ServerPath", ServerPath, "VarnelS.ini")) return;
  const os::IniFile file(IniFileName);
  ReadCodePages(*this, file);

  DBSettings = automation::VarArrayCreate({{0, 3}, {0, 7}});
  auto text = [&](const char* key, const char* fallback) {
    return automation::Variant(file.ReadString("DBE Setting", key, fallback));
  };
  auto number = [&](const char* section, const char* key, int fallback) {
    return automation::Variant(file.ReadInteger(section, key, fallback));
  };
  automation::Variant& s = DBSettings;
  s.ElementAt(0, 0) = text("MainAlias", "Ostrel");
  s.ElementAt(0, 1) = text("MainUserName", "sa");
  s.ElementAt(0, 2) = DecodeSQLSa(file.ReadString("DBE Setting", "XXXXXX", ""));
  s.ElementAt(0, 3) = text("MainDBType", "MSSQL");
  s.ElementAt(0, 4) = text("MainDBName", "");
  s.ElementAt(0, 5) = text("MainServerName", "");
  s.ElementAt(0, 6) = number("DBE Setting", "MainConnectionTimeOut", 300);
  s.ElementAt(0, 7) = number("DBE Setting", "MainCommandTimeOut", 3000);
  const std::string mainServer = s.ElementAt(0, 5).AsAnsi();
  SystemControlAddress = file.ReadString("DBE Setting", "SystemControlAddress", "");
  if (Trim(SystemControlAddress).empty()) SystemControlAddress = mainServer;
  OtherSystemControlAddress = file.ReadString("DBE Setting", "OtherSystemControlAddress", "");
  if (Trim(OtherSystemControlAddress).empty()) OtherSystemControlAddress = mainServer;
  s.ElementAt(1, 0) = text("TempAlias", "OstrelTemp");
  s.ElementAt(1, 1) = text("TempUserName", "sa");
  s.ElementAt(1, 2) = DecodeSQLSa(file.ReadString("DBE Setting", "TempPassword", ""));
  s.ElementAt(1, 3) = text("TempDBType", "PARADOX");
  s.ElementAt(1, 4) = text("TempDBName", "");
  s.ElementAt(1, 5) = text("TempDriverName", "PostgreSQL");
  s.ElementAt(1, 6) = number("DBE Setting", "TempConnectionTimeOut", 300);
  s.ElementAt(1, 7) = number("DBE Setting", "TempCommandTimeOut", 3000);
  s.ElementAt(2, 0) = Trim(file.ReadString("DBPasswordCtrl", "ComputerName", ""));
  s.ElementAt(2, 1) = number("DBPasswordCtrl", "ServerPort", 211);
  s.ElementAt(2, 2) = number("DBPasswordCtrl", "ClientSocketPort", 1024);
  SupportCallBack = IsYes(file.ReadString("DBPasswordCtrl", "SupportCallBack", "0"));
  s.ElementAt(2, 3) = text("DataBaseCodeOrder", "Chinese_Taiwan_Stroke_BIN");
  s.ElementAt(3, 0) = text("EctAlias", "EDIDATA");
  s.ElementAt(3, 1) = text("EctUserName", "sa");
  s.ElementAt(3, 2) = text("EctPassword", "");

  const std::string dbType = Upper(s.ElementAt(0, 3).AsAnsi());
  DBKind = dbType == "ORACLE" ? 1 : dbType == "DB2" ? 2 : 0;
  ComputeModes(*this);
  WorkDLLPaths = WorkFolders(file, ServerPath, "S_PKG/");
  ReadSucceeded = true;
}

void TVarnelIniS::GetWorkDLLPaths(std::vector<std::string>& list) const {
  list = WorkDLLPaths;
}

std::string EncodeDbPassword(std::string_view plain) {
  if (plain.empty()) plain = kEmptyPasswordMarker;
  static const char* digits = "0123456789abcdef";
  std::string encoded;
  encoded.reserve(plain.size() * 2);
  for (size_t i = 0; i < plain.size(); ++i) {
    const unsigned char b =
        RotateRight(static_cast<unsigned char>(plain[i]), static_cast<int>((i + 1) % 8));
    encoded += digits[b >> 4];
    encoded += digits[b & 0x0F];
  }
  return encoded;
}

std::string DecodeSQLSa(std::string_view encoded) {
  std::string plain;
  for (size_t i = 1; encoded.size() >= 2 * i; ++i) {
    const int high = HexDigit(encoded[2 * i - 2]);
    const int low = HexDigit(encoded[2 * i - 1]);
    if (high < 0 || low < 0) {
      const std::invalid_argument error("'" + std::string(encoded.substr(2 * i - 2, 2)) +
                                        "' is not a valid hexadecimal byte");
      LogException(&error, "DecodeSQLSa", Gbk("解析 Sa 时发生错误!"));
      return kUnreadablePassword;
    }
    plain += static_cast<char>(
        RotateLeft(static_cast<unsigned char>(high * 16 + low), static_cast<int>(i % 8)));
  }
  return plain == kEmptyPasswordMarker ? std::string() : plain;
}

std::string ResolvePath(std::string_view path, std::string_view base) {
  if (os::IsAbsolutePath(path)) return os::NativePath(path);
  if (path.starts_with("\\")) path.remove_prefix(1);
  return os::NativePath(base) + os::NativePath(path);
}
