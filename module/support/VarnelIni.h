// Configuration of the client platform: the readers of "VarnelC.ini" (client side) and
// "VarnelS.ini" (server side), and the database password coding of the server file.
//
// The platform's folders come from the registry store's key
// HKEY_LOCAL_MACHINE\Software\QRN\Varnel ("ClientPath", "ServerPath", "ProfileType"). A reader
// reads the key and the file when it is created and then serves the values from its fields;
// each user creates one, reads what it needs and lets it go, so every creation sees the store
// and the file as they are now. A reader never raises for a missing store, key, file or value:
// defaults stay, and `ErrorCode` says why the read failed ("E;000015" no registry key,
// "E;000016" no server computer in the client file; "" with `ReadSucceeded` false when the
// root value is empty). Folders end with "/".
//
// Users: the application-server connection (ServerList), local execution of a job
// (WorkDLLPaths), the code-page conversion of windows and language packs (code pages, modes,
// root folder).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "automation/Variant.h"

// What both readers read. The root folder is `ClientPath` or `ServerPath` of the reader.
class TVarnelIniBase {
 public:
  std::string ProfilePath;              // folder of the file actually read
  std::string ProfileType = "0";        // registry value: "0" or "" one file for all users
  std::string ProfileUser = "Default";  // login name when profiles are per user
  std::string UICodePage;               // code page of the user-interface texts
  std::string DBCodePage = "936";       // code page of the database texts
  std::string SystemCodePage;           // the system's ANSI code page: "936", "950" or "437"
  int UIConvertMode = 0;                // 2: UI 950; 4: UI 936 on a 950 system; else 0
  int DataConvertMode = 0;              // 2: UI 950 and DB 936; 1: UI 936 and DB 950; else 0
  bool SupportCallBack = false;
  std::string IniFileName;                // full name of the file read
  std::string ErrorCode;                  // "" or the message code of a failed read
  std::vector<std::string> WorkDLLPaths;  // folders of the job libraries, resolved
  std::string Version;                    // [ProductVersion] Version
  bool ReadSucceeded = false;             // whether the whole read ran

 protected:
  TVarnelIniBase();
  TVarnelIniBase(const TVarnelIniBase&) = default;
  TVarnelIniBase& operator=(const TVarnelIniBase&) = default;
  ~TVarnelIniBase() = default;
};

// The client reader: "VarnelC.ini" below "ClientPath" (or the user's profile folder).
class TVarnelIniC : public TVarnelIniBase {
 public:
  // Reads the registry store and the file now.
  TVarnelIniC();

  std::string ClientPath;                   // root folder, ending in "/"
  std::string LangType = "ENG";             // [Client Components] LangType
  std::string CreateGifBeforeSendEF = "Y";  // [UserDefine]
  // Two rows, one column per server: row 0 the computer name (text), row 1 the port
  // (integer). Empty until the server list was read.
  automation::Variant ServerList;
  std::string AutoCheckNewMsg = "1";  // [TaskMessageCenter Setting]
  std::string CheckInterval = "1";
  std::string PopupMsg = "1";
  std::string LoginCheck = "0";
};

// The server reader: "VarnelS.ini" below "ServerPath" (or the user's profile folder).
class TVarnelIniS : public TVarnelIniBase {
 public:
  // Reads the registry store and the file now.
  TVarnelIniS();

  // Replaces the content of `list` with WorkDLLPaths.
  void GetWorkDLLPaths(std::vector<std::string>& list) const;

  std::string ServerPath;  // root folder, ending in "/"
  // 4 rows (0 main database, 1 temporary database, 2 password-control server, 3 EDI
  // database) by 8 columns; cells no key fills stay empty. Passwords are decoded, except the
  // EDI password, which is kept as stored.
  automation::Variant DBSettings;
  int DBKind = 0;  // 1 when the main database type is "ORACLE", 2 for "DB2", else 0
  std::string SystemControlAddress;       // blank: the main server name
  std::string OtherSystemControlAddress;  // blank: the main server name
};

// The password as stored in the server file: each byte rotated right by (position mod 8) bits,
// positions counted from 1, written as two lowercase hexadecimal digits. An empty password is
// stored as the encoded marker "UN_Mir_DcLrdcRbph_LezHlhbChvoDdAthna".
std::string EncodeDbPassword(std::string_view plain);

// The inverse of EncodeDbPassword; a final odd character is ignored and the marker decodes to
// "". Text that is not hexadecimal gives "VA_Tpa_Ixnncghr_Foqfd" and a report in the daily
// error log.
std::string DecodeSQLSa(std::string_view encoded);

// A folder of the configuration made absolute: an absolute path ("/...", a drive "D:", a share
// "\\server\share") stays as it is; anything else is placed below `base` (which ends in "/"),
// one leading "\" of the path dropped. "\" in the result reads as "/".
std::string ResolvePath(std::string_view path, std::string_view base);
