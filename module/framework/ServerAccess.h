// ServerAccess: the option window's road to its outside partners — the work-center manager with
// its counter, validator and lookup-window services, and the job server — together with the
// message codes, texts, dialogs and the two message logs (unit Messages defines those members).
//
// `TGeneServices` holds the window context these calls read (user, company, system database,
// program), the service objects and the job-server connection `MainMidas`. The generic option
// window TfrmBaseGene (framework/BaseGene.h) derives from it and supplies what only a window
// knows through the protected hooks: whether the Cancel button has the focus, the code-page
// conversion of values exchanged with the services, the window's handle and caption, and what
// happens around a dialog. Without a window the hooks answer plain defaults (no conversion,
// handle 0), which is how the services are exercised on their own.
//
// Every call to a partner is late-bound (automation::Variant dispatch). A missing service object
// gives an empty result or false, never a dialog; the messages named below are the only ones
// these calls show. Everything runs on the user-interface thread and blocks until the partner
// answers.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "automation/Variant.h"
#include "net/SocketConnection.h"
#include "toolkit/Dialogs.h"

class TGeneServices {
 public:
  TGeneServices();
  virtual ~TGeneServices();
  TGeneServices(const TGeneServices&) = delete;
  TGeneServices& operator=(const TGeneServices&) = delete;

  // ---- Window context the calls read (8-bit texts in the database code page) ----
  std::string ModulePath;       // full file name of the module
  std::string UserCode;         // host parameter 0
  std::string CompanyCode;      // host parameter 1
  std::string SystemDbName;     // host parameter 2
  std::string ProgramCode;      // upper-case program code
  std::string ProgramName;      // from the program master "ADMMB"
  std::string CaptionText;      // caption base, starts equal to ProgramName
  std::string CompanyTitle;     // system information "QRN002"
  std::int32_t ProductCode = 3;  // the manager's ProductID; 3 when it cannot answer
  std::uint8_t LookupFlags = 0;  // value 4: the window needs the lookup service
  bool WantLog = false;          // the program master's write-log flag

  // ---- Partners ----
  automation::Variant Manager;        // the work-center manager; empty when none was given
  automation::Variant Counter;        // Manager.Com_Counter
  automation::Variant Validator;      // Manager.Com_Validator
  automation::Variant LookupService;  // Manager.Com_F2Window, only with LookupFlags value 4
  automation::Variant JobServer;      // the job server's application-server object
  net::SocketConnection MainMidas;    // the connection to the job server
  bool ServerIsLocal = false;         // the job server lives in process (address 127.0.0.1)
  std::u16string BaseLimitText;       // restriction text of the job rights
  bool LookupRightA = false;          // rights flags sent with every lookup
  bool LookupRightB = false;
  bool TitlesBuilt = false;           // FillOptionTitles ran

  // ---- Messages ----
  std::string MessageCodes;  // every code string reported, each followed by "; "
  std::string MessageLog;    // the distinct texts reported, each followed by "; "
  bool ChangingPage = false;  // a page change is validating: only error dialogs are shown

  // ---- Manager objects and system information ----
  // Counter and Validator from the manager (a stand-alone build first creates the manager by its
  // class name "OstrelWorkCenter.Manager"); fills the system information and CompanyTitle. A
  // service that cannot be had stays empty.
  virtual void AcquireManagerObjects();
  // LookupService from the manager when LookupFlags holds the value 4; empty on failure.
  virtual void AcquireLookupService();
  // Empty Name: fills the cache from Counter.GetSysInfo(&CompanyCode) (nothing without a
  // counter) and answers "". Otherwise the cached value of the name (letter case ignored; the
  // later of equal names wins), converted for the screen; "" when absent.
  std::string SystemInfo(std::string_view Name);
  // Forgets the cached system information.
  void ClearSystemInfo() { sysInfo_.clear(); }
  // The date format of the company: "Sys001" as an integer (1 when not a number), "Sys002"
  // ("/" when empty).
  int DateFormatCode();
  std::string DateSeparatorText();
  // Whether the module file is a library (".dll" or ".so", letter case ignored).
  bool IsLibraryModule() const;
  // Reads the manager's VersionType (not used; its failure passes to the caller) and its
  // ProductID into ProductCode (3 when the manager cannot answer).
  void ReadProductCode();
  // The help call of F1: Manager.CallHelp([first three characters of ProgramCode, topic]) when
  // the program code names a help topic (HelpTopic); false when it names none or there is no
  // manager.
  bool CallProgramHelp();
  // The help topic of a program code: prefix "6" for kind "A", "8" for "M" (the kind letter is
  // then character 5), "1" with character 4 as the kind otherwise; kind "B" appends "3", "R"
  // "2"; then the code's last two characters and "0000". "" when the code names no topic.
  static std::string HelpTopic(std::string_view ProgramCode);

  // ---- Validation, counters, lookups ----
  // The program master "ADMMB": ProgramName (the English name under code page 437), WantLog and
  // CaptionText. A refused query leaves ProgramName empty; a failing one sets it to ProgramCode.
  void ReadProgramMaster();
  // Validator.QueryData (UseQuery) or Validator.CheckValue with (&Table, &Key, &SystemDbName,
  // &Params, &Result); the answer converted for the screen. False without a validator or on any
  // error.
  bool QueryServer(const std::string& Table, const std::string& Key,
                   const automation::Variant& Params, automation::Variant& Result, bool UseQuery);
  // Field validation for module windows: true at once while Cancel has the focus, true with
  // Result unassigned for empty Params; a refused validation shows "E;000001;" or "W;000004;"
  // followed by the text of I 000008 for MsgType "E" or "W" and answers false. Otherwise Result
  // is Answer[Index], or the whole answer when Index lies outside its bounds (-1, -2: Index -2
  // asks QueryData instead of CheckValue).
  bool CheckServerValue(const automation::Variant& Table, const automation::Variant& Key,
                        const automation::Variant& Params, automation::Variant& Result, int Index,
                        const std::string& MsgType);
  // Result := Counter.GetCounter(upper-case Name, &Params, [CompanyCode, SystemDbName]) for the
  // screen; unassigned without a counter.
  void GetCounterValue(const std::string& Name, const automation::Variant& Params,
                       automation::Variant& Result);
  // The F2 lookup window: the lookup service's F2GetData with its nineteen arguments; Result
  // unassigned without a lookup service.
  void LookupData(const automation::Variant& Table, const automation::Variant& Key,
                  const automation::Variant& Params, const std::string& ExtraText, bool ExtraFlag,
                  automation::Variant& Result);
  // The date picker: the lookup service's ShowInputDay from Text (exactly 8 characters) or
  // today; the picked "yyyymmdd" in the company's date format, Text unchanged when nothing was
  // picked, "" without a lookup service.
  std::string PickDate(const std::string& Text);
  // The user's phrase from the lookup service's GetPhrase, for the screen; "" without one.
  std::string PhraseText();

  // ---- Job server ----
  // Disconnects MainMidas and sets its address and port from the client configuration's first
  // server. Message codes already recorded during this initialisation are the error: shown once
  // more, result false. A raised error is recorded and gives false.
  bool ConfigureJobConnection();
  // Connects to the job server: at 127.0.0.1 the server object is created in process by the
  // connection's server name and no socket is opened; otherwise the socket connection opens and
  // JobServer is its application server. A raised error is recorded and gives false.
  bool ConnectJobServer();
  // Closes the connection unless the job server lives in process; forgets JobServer.
  void DisconnectJobServer();
  // The rights answer of GetPower: LookupRightA/B from characters 7 and 8 of the fourth field of
  // Answer[1], BaseLimitText from Answer[4] and Answer[5]; then AfterRightsLoaded.
  void ApplyJobRights(const automation::Variant& Answer);

  // ---- Messages (unit Messages) ----
  // Reports a coded message: logs it and, unless its number is not positive, shows it with an
  // OK button. Nothing while Cancel has the focus; empty Code clears both logs. More than ten
  // arguments raise automation::Error.
  void ShowCode(const std::string& Code);
  // Logs a raw error text under "E;-1" without showing it; empty text clears both logs; nothing
  // while Cancel has the focus.
  void RecordError(const std::string& Text);
  // The manager's text of a message, converted for the screen; a fixed English text naming type
  // and number without a manager.
  std::string GetMessageText(const std::string& Type, const std::string& Number);
  // Shows a coded message with chosen buttons (none: the type's default) without logging;
  // Args[0..HighIndex] fill the placeholders (a mismatch raises). Answers the modal result.
  int ShowMessageCode(const std::string& Type, const std::string& Number,
                      std::span<const automation::Variant> Args, int HighIndex,
                      toolkit::TMsgDlgButtons Buttons);
  // The dialog: the window's caption, localised button captions (English under code page
  // 437); while a page change is validating only the error kind is shown (others answer 0).
  virtual int ShowText(const std::string& Text, toolkit::TMsgDlgType Kind,
                       toolkit::TMsgDlgButtons Buttons);
  // Dialog kind and default buttons of a message type letter.
  static toolkit::TMsgDlgType MessageKind(std::string_view Type);
  static toolkit::TMsgDlgButtons MessageButtons(std::string_view Type);

 protected:
  // ---- Hooks the window supplies ----
  // Whether the window's Cancel button has the focus (the user is leaving).
  virtual bool CancelHasFocus() const { return false; }
  // Values on their way to a partner (user-interface → database code page) and back.
  virtual automation::Variant ToDBCodeValue(const automation::Variant& Value) { return Value; }
  virtual automation::Variant FromDBCodeValue(const automation::Variant& Value) { return Value; }
  // Texts of the window's own (defaults, button captions) for the user-interface code page.
  virtual std::string ToUICodeText(const std::string& Text) { return Text; }
  // The user-interface code page ("936", "950", "437").
  virtual std::string UiCodePageText() const { return "936"; }
  // The handle the partners' dialogs are placed over.
  virtual int ServiceWindowHandle() const { return 0; }
  // The caption of message dialogs.
  virtual std::string DialogCaption() const { return CaptionText; }
  // Sets the dialog's font for the user-interface code page.
  virtual void PrepareDialogFont(toolkit::MessageDialog& /*Dialog*/) {}
  // After a dialog closed: release a pending mouse capture, give the focus back after errors.
  virtual void AfterDialog(toolkit::TMsgDlgType /*Kind*/) {}
  // The connection before connecting (the schedule window sets the server name).
  virtual void ConfigureConnection(net::SocketConnection& /*Connection*/) {}
  // After the job rights were applied.
  virtual void AfterRightsLoaded() {}

 private:
  std::vector<std::pair<std::string, std::string>> sysInfo_;
};

namespace detail {
// The text without blanks and control characters at both ends.
std::string TrimText(std::string_view text);
// The text read as a decimal integer (leading blanks and a sign allowed, nothing after);
// `fallback` otherwise.
int StrToIntDef(std::string_view text, int fallback);
// Upper case of ASCII letters; other bytes unchanged.
std::string UpperText(std::string_view text);
}  // namespace detail
