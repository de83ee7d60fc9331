// BaseGene: `TfrmBaseGene`, the generic option window of every batch or report program of the
// framework, and the base of the schedule window, the batch window and the module's own window.
//
// It owns the window's context (who runs which program for which company), the job-server
// connection, the pages of options, the keyboard conventions (Esc closes, F1 help, F2 lookup,
// Ctrl+Tab and Ctrl+PageUp/PageDown change pages, Enter moves on, Ctrl+Alt+V shows the module
// file's properties), the job request a subclass sends to the job server, the host value push,
// the condition-scheme panel and the date and required-field checks.
//
// Everything that varies between programs is one of the twenty-five overridable operations,
// declared below in their fixed order (the unnamed ones, 10 and 13, are empty and never called);
// HandleLookupKey, AcquireManagerObjects and AcquireLookupService are further overridable
// operations. Subclasses call the inherited operation first and then change what they own.
//
// The server calls and messages come from TGeneServices (framework/ServerAccess.h,
// framework/Messages.h); the rules of dates, required fields, scheme values and scheme names from
// framework/FieldChecks.h, framework/OptionValues.h and framework/Schemes.h. Members of this
// class are defined in BaseGene.cpp (life cycle, keyboard, request, host push), FieldChecks.cpp,
// OptionValues.cpp and Schemes.cpp.
//
// The window's components come from its form description (":/forms/TfrmBaseGene.form"); the
// window binds them by name when it is loaded. Errors inside the window's handlers are shown by
// the toolkit's event dispatch in an error dialog; nothing escapes to the host.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "automation/Variant.h"
#include "framework/FieldChecks.h"
#include "framework/Messages.h"
#include "framework/OptionValues.h"
#include "framework/QRForm.h"
#include "framework/Schemes.h"
#include "framework/ServerAccess.h"
#include "toolkit/Events.h"

namespace toolkit {
class BitBtn;
class ClientDataSet;
class ListItem;
class ListView;
class MaskEdit;
class MenuItem;
class PageControl;
class Panel;
class PopupMenu;
class Splitter;
class TabSheet;
class ToolBar;
class ToolButton;
class ImageList;
}  // namespace toolkit
class TDBLabel;
class TExtPageControl;

class TfrmBaseGene : public TQRForm, public TGeneServices {
  Q_OBJECT
  Q_PROPERTY(bool WantLog MEMBER WantLog)
  Q_PROPERTY(toolkit::NotifyEvent OnDateFieldEnter MEMBER OnDateFieldEnter)
  Q_PROPERTY(toolkit::NotifyEvent OnDateFieldExit MEMBER OnDateFieldExit)
  Q_PROPERTY(toolkit::NotifyEvent OnRequiredExit MEMBER OnRequiredExit)

 public:
  explicit TfrmBaseGene(toolkit::Component* Owner);
  ~TfrmBaseGene() override;

  // ---- Window context (texts in the database code page) ----
  std::string ServerClassName;                 // ProgramCode + "S.Class1"
  std::string ProgramType = "R";               // "R" generic, "B" batch windows
  int HostWindow = 0;                          // host parameter 3: repainted when the window moves
  automation::Variant ReservedParam;           // host parameter 4 (kept, never read)
  std::string VersionStamp;                    // "870401-0.00.00"
  int EnvironmentCount = 9;                    // environment entries of the request
  int OptionCount = 0;                         // option entries of the request
  int BaseOptionCount = 1;                     // option entries the framework levels contribute
  automation::Variant JobRequest;              // built by BuildOptionParams
  bool AutoConfirm = false;                    // the last host push asks for a run
  bool ShowMessages = true;                    // false after a host push with run mode 2 or above
  bool CheckFailed = false;                    // the last field check failed; blocks page changes
  toolkit::WinControl* LastFocused = nullptr;  // error dialogs give the focus back to it
  bool SystemPageArranged = false;
  std::vector<toolkit::Control*> PageAdvanceControls;  // Enter moves to the next page here
  std::int32_t JobStatus = 0;                          // 0 none, 1 submitted, 2 cancelled
  automation::Variant JobResult;                       // the job server's reply text

  // ---- Field checks ----
  std::string DateFields;      // comma-separated date fields (plain text search)
  std::string RequiredFields;  // required-field items "Name;Flag;Part", comma-separated
  std::vector<std::pair<std::string, toolkit::Method>> DateFieldHandlers;
  std::vector<std::pair<std::string, toolkit::Method>> RequiredFieldHandlers;
  std::vector<std::pair<std::string, toolkit::TColor>> ColourSnapshot;
  toolkit::NotifyEvent OnDateFieldEnter;
  toolkit::NotifyEvent OnDateFieldExit;
  toolkit::NotifyEvent OnRequiredExit;

  // ---- Schemes ----
  std::string SchemePaths;  // what a scheme captures (set by the schedule window)
  // Dates the date environment yields per component: "yyyymmdd", or begin #3 end for a range
  // panel (the scheme save dialog fills it).
  std::map<std::string, std::string> DateEnvironment;

  // ---- The twenty-five overridable operations, in their fixed order ----
  virtual void ArrangeSystemPage();                                        // 1
  virtual bool BuildOptionParams();                                        // 2
  virtual void DeclareOptions();                                           // 3
  virtual void ShowPhrase(toolkit::Control* Control);                      // 4
  virtual void SetRequiredFields(const std::string& List);                 // 5
  virtual bool RunJobInProcess();                                          // 6
  void PrepareDataSets() override;                                         // 7
  virtual void SetupContext();                                             // 8
  virtual bool InitWindow(const automation::Variant& Params);              // 9
  virtual void Reserved10();                                               // 10
  virtual bool FillOptionValues(automation::Variant& Values, int Offset);  // 11
  virtual bool ApplyHostValues(const automation::Variant& Values);         // 12
  virtual void Reserved13();                                               // 13
  virtual bool FillEnvironment(automation::Variant& Env, int Count);       // 14
  virtual bool FillOptionTitles(automation::Variant& Titles, int Offset);  // 15
  void AfterRightsLoaded() override;                                       // 16
  virtual void OpenLookup(const automation::Variant& Table, const automation::Variant& Key,
                          const automation::Variant& Params, const std::string& ExtraText,
                          bool ExtraFlag, automation::Variant& Result);  // 17
  void ConfigureConnection(net::SocketConnection& Connection) override;  // 18
  virtual bool SaveScheme(const std::string& Paths, const std::string& Name,
                          bool Replace);                                                   // 19
  virtual bool ApplySchemeValues(const std::string& Paths, const std::string& Values);     // 20
  virtual bool LoadSchemeList();                                                           // 21
  virtual bool AfterSchemeOpened();                                                        // 22
  virtual bool RunHostMode(int Mode);                                                      // 23
  virtual void BeforeApplyValue(toolkit::Component* Component, const std::string& Value);  // 24
  virtual void AfterApplyValue(toolkit::Component* Component, const std::string& Value);   // 25

  // ---- Overridable by index ----
  // F2 on a control and the lookup request of a lookup button: focuses the control; the report
  // date gets the date picker.
  virtual void HandleLookupKey(toolkit::Word Key, toolkit::Control* Control);
  void AcquireManagerObjects() override;
  void AcquireLookupService() override;

  // ---- Supporting operations ----
  // Records the module's file name (a stand-alone program initialises itself at once).
  void SetModulePath(const std::string& Path);
  // OptionCount := n + BaseOptionCount (unless BaseOptionCount is below the present count).
  void SetOwnOptionCount(int n);
  // ProgramCode (upper case), ServerClassName and the program master's name, caption and flag.
  void SetProgramCode(const std::string& Code);
  // The program code of a module file: the name without folder and extension, one more
  // character dropped (two for a stand-alone program), at least its first six kept.
  static std::string ProgramCodeFromModule(const std::string& Path, bool Library);
  // The host value push (Values[1] is [mode, [by name, values]]).
  void HostPush(const automation::Variant& Values);
  // The by-name check of pushed values: every named component exists and can take a value.
  bool CheckPushedNames(const automation::Variant& Names);
  // Activates `page` and focuses its first focusable control.
  void FocusFirstControl();
  // The scheme list's columns (name, creation time).
  void SetupSchemeColumns();

  // ---- Field checks (FieldChecks.cpp) ----
  void SetDateFields(const std::string& List);
  bool CheckDateField(toolkit::Control* Control, bool Entering);
  bool CheckRequiredFields(const std::string& List);
  std::string DateTextToYmd(const std::string& Text);
  std::string DateEditMask();
  std::string DateBlankText();
  void TakeColourSnapshot(toolkit::WinControl* Control);
  void RestoreColours(toolkit::WinControl* Control);
  bool IsTextEmpty(toolkit::Component* Component);

  // ---- Option values (OptionValues.cpp) ----
  std::string CaptureValues(const std::string& Paths);
  std::string PanelListText(toolkit::Component* Panel);
  bool LoadPanelList(const std::string& Text, toolkit::Component* Panel, int FieldIndex);

  // ---- Published handlers ----
  void FormCreate(toolkit::Component* Sender) override;
  void FormClose(toolkit::Component* Sender, toolkit::TCloseAction& Action);
  void FormDestroy(toolkit::Component* Sender);
  void FormKeyDown(toolkit::Component* Sender, toolkit::Word& Key, toolkit::ShiftState Shift);
  void FormKeyPress(toolkit::Component* Sender, char& Key);
  void FormShow(toolkit::Component* Sender) override;
  void FormResize(toolkit::Component* Sender);
  void btnOkClick(toolkit::Component* Sender);
  void btnCancelClick(toolkit::Component* Sender);
  void pgOptionChange(toolkit::Component* Sender);
  void pgOptionChanging(toolkit::Component* Sender, bool& AllowChange);
  void tsOption2Show(toolkit::Component* Sender);
  void btnPrintDateClick(toolkit::Component* Sender);
  void btnInsertClick(toolkit::Component* Sender);
  void btnOpenClick(toolkit::Component* Sender);
  void btnDeleteClick(toolkit::Component* Sender);
  void lstConditionEdited(toolkit::Component* Sender, toolkit::ListItem* Item, std::string& S);
  void lstConditionKeyDown(toolkit::Component* Sender, toolkit::Word& Key,
                           toolkit::ShiftState Shift);
  void ToolButton1Click(toolkit::Component* Sender);
  void ViewIconExecute(toolkit::Component* Sender);
  void ViewSmallIconExecute(toolkit::Component* Sender);
  void ViewListExecute(toolkit::Component* Sender);
  void ViewReportExecute(toolkit::Component* Sender);
  void DateFieldEnter(toolkit::Component* Sender);
  void DateFieldExit(toolkit::Component* Sender);
  void RequiredExit(toolkit::Component* Sender);

  // ---- Components (bound by name after loading) ----
  TExtPageControl* pgOption = nullptr;
  toolkit::TabSheet* tsOption1 = nullptr;
  toolkit::TabSheet* tsOption2 = nullptr;
  TDBLabel* lblToday = nullptr;
  toolkit::MaskEdit* edPrintDate = nullptr;
  toolkit::Control* btnPrintDate = nullptr;
  toolkit::Panel* Panel1 = nullptr;
  toolkit::BitBtn* btnOk = nullptr;
  toolkit::BitBtn* btnCancel = nullptr;
  toolkit::Splitter* Splitter1 = nullptr;
  toolkit::Panel* pnlCondition = nullptr;
  toolkit::ToolBar* ToolBar1 = nullptr;
  toolkit::ToolButton* ToolButton1 = nullptr;
  toolkit::ListView* lstCondition = nullptr;
  // The job server's schemes of (user, program), provider "pvdConSave", index "Index1" on
  // NCONDITION;CREATOR;PROGRAMME (the current index).
  toolkit::ClientDataSet* ClientDataSet1 = nullptr;
  toolkit::MenuItem* mnListItems[4] = {nullptr, nullptr, nullptr, nullptr};  // N7..N10

 protected:
  void Loaded() override;
  void WndProc(toolkit::Message& Message) override;

  // Hooks of the services.
  bool CancelHasFocus() const override;
  automation::Variant ToDBCodeValue(const automation::Variant& Value) override;
  automation::Variant FromDBCodeValue(const automation::Variant& Value) override;
  std::string ToUICodeText(const std::string& Text) override;
  std::string UiCodePageText() const override;
  int ServiceWindowHandle() const override;
  std::string DialogCaption() const override;
  void PrepareDialogFont(toolkit::MessageDialog& Dialog) override;
  void AfterDialog(toolkit::TMsgDlgType Kind) override;

 private:
  void SetViewStyle(int Style);
  void ShowModuleProperties();
  void MoveToNextControlOrPage(toolkit::WinControl* Control, bool NextPage);
};
