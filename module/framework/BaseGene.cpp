#include "framework/BaseGene.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <exception>
#include <filesystem>

#include "automation/DateTime.h"
#include "controls/DBLabel.h"
#include "controls/ExtPage.h"
#include "controls/LookupRequest.h"
#include "controls/SelectPnl.h"
#include "localisation/CodeConverter.h"
#include "os/CodePage.h"
#include "support/GbkText.h"
#include "support/LibStrs.h"
#include "toolkit/Application.h"
#include "toolkit/BitBtn.h"
#include "toolkit/DataSet.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/ListView.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/Memo.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"
#include "toolkit/Panel.h"
#include "toolkit/Properties.h"
#include "toolkit/Splitter.h"
#include "toolkit/StringGrid.h"
#include "toolkit/ToolBar.h"

using automation::Variant;
using toolkit::Component;
using toolkit::Control;
using toolkit::WinControl;

namespace {

const auto published = toolkit::Publish<TfrmBaseGene>()
                           .Handler("FormCreate", &TfrmBaseGene::FormCreate)
                           .Handler("FormClose", &TfrmBaseGene::FormClose)
                           .Handler("FormDestroy", &TfrmBaseGene::FormDestroy)
                           .Handler("FormKeyDown", &TfrmBaseGene::FormKeyDown)
                           .Handler("FormKeyPress", &TfrmBaseGene::FormKeyPress)
                           .Handler("FormShow", &TfrmBaseGene::FormShow)
                           .Handler("FormResize", &TfrmBaseGene::FormResize)
                           .Handler("btnOkClick", &TfrmBaseGene::btnOkClick)
                           .Handler("btnCancelClick", &TfrmBaseGene::btnCancelClick)
                           .Handler("pgOptionChange", &TfrmBaseGene::pgOptionChange)
                           .Handler("pgOptionChanging", &TfrmBaseGene::pgOptionChanging)
                           .Handler("tsOption2Show", &TfrmBaseGene::tsOption2Show)
                           .Handler("btnPrintDateClick", &TfrmBaseGene::btnPrintDateClick)
                           .Handler("btnInsertClick", &TfrmBaseGene::btnInsertClick)
                           .Handler("btnOpenClick", &TfrmBaseGene::btnOpenClick)
                           .Handler("btnDeleteClick", &TfrmBaseGene::btnDeleteClick)
                           .Handler("lstConditionEdited", &TfrmBaseGene::lstConditionEdited)
                           .Handler("lstConditionKeyDown", &TfrmBaseGene::lstConditionKeyDown)
                           .Handler("ToolButton1Click", &TfrmBaseGene::ToolButton1Click)
                           .Handler("ViewIconExecute", &TfrmBaseGene::ViewIconExecute)
                           .Handler("ViewSmallIconExecute", &TfrmBaseGene::ViewSmallIconExecute)
                           .Handler("ViewListExecute", &TfrmBaseGene::ViewListExecute)
                           .Handler("ViewReportExecute", &TfrmBaseGene::ViewReportExecute)
                           .Handler("DateFieldEnter", &TfrmBaseGene::DateFieldEnter)
                           .Handler("DateFieldExit", &TfrmBaseGene::DateFieldExit)
                           .Handler("RequiredExit", &TfrmBaseGene::RequiredExit);

constexpr const char* kVersionStamp = "870401-0.00.00";

// The text of a variant element the request checks read: null and unassigned are missing.
bool IsMissing(const Variant& value) {
  return VarIsNullOrEmpty(value);
}

// A request part with indices 1..count, every element null.
Variant NullArray(int count) {
  Variant part = automation::VarArrayCreate({{1, count}});
  for (Variant& e : part.Array().Elements()) e = Variant::Null();
  return part;
}

}  // namespace

TfrmBaseGene::TfrmBaseGene(Component* Owner) : TQRForm(Owner) {}

TfrmBaseGene::~TfrmBaseGene() = default;

void TfrmBaseGene::Loaded() {
  TQRForm::Loaded();
  pgOption = FindComponent<TExtPageControl>("pgOption");
  tsOption1 = FindComponent<toolkit::TabSheet>("tsOption1");
  tsOption2 = FindComponent<toolkit::TabSheet>("tsOption2");
  lblToday = FindComponent<TDBLabel>("lblToday");
  edPrintDate = FindComponent<toolkit::MaskEdit>("edPrintDate");
  btnPrintDate = FindComponent<Control>("btnPrintDate");
  Panel1 = FindComponent<toolkit::Panel>("Panel1");
  btnOk = FindComponent<toolkit::BitBtn>("btnOk");
  btnCancel = FindComponent<toolkit::BitBtn>("btnCancel");
  Splitter1 = FindComponent<toolkit::Splitter>("Splitter1");
  pnlCondition = FindComponent<toolkit::Panel>("pnlCondition");
  ToolBar1 = FindComponent<toolkit::ToolBar>("ToolBar1");
  ToolButton1 = FindComponent<toolkit::ToolButton>("ToolButton1");
  lstCondition = FindComponent<toolkit::ListView>("lstCondition");
  ClientDataSet1 = FindComponent<toolkit::ClientDataSet>("ClientDataSet1");
  if (ClientDataSet1 != nullptr) {
    ClientDataSet1->AddIndex("Index1", "NCONDITION;CREATOR;PROGRAMME");
    ClientDataSet1->SetIndexName("Index1");
    // The records come from the job server's provider, those of the user and program that the
    // last LoadTable chose.
    ClientDataSet1->SetDataRequest([this](toolkit::ClientDataSet& Data) {
      const Variant answer = JobServer.Call("AS_GetRecords", {Variant(Data.ProviderName())});
      for (const TSchemeRecord& r : SchemeRecordsOf(answer)) {
        Data.Append();
        const std::pair<const char*, const std::string*> cells[] = {
            {"NCONDITION", &r.Name},        {"CREATOR", &r.Creator},  {"PROGRAMME", &r.Programme},
            {"CREATE_DATE", &r.CreateDate}, {"SCONDITION", &r.Paths}, {"VCONDITION", &r.Values}};
        for (const auto& [field, value] : cells) Data.FieldByName(field)->SetAsString(*value);
        Data.Post();
      }
    });
  }
  const char* items[4] = {"N7", "N8", "N9", "N10"};
  for (int i = 0; i < 4; ++i) mnListItems[i] = FindComponent<toolkit::MenuItem>(items[i]);
  // Lookup buttons look flat on every option window.
  for (Component* c : ComponentList()) {
    if (c->InheritsFrom("TF2Button")) toolkit::SetPropValue(c, "Flat", Variant(true));
  }
}

// ---- Creation -----------------------------------------------------------------------------------

void TfrmBaseGene::FormCreate(Component* Sender) {
  TQRForm::FormCreate(Sender);
  VersionStamp = kVersionStamp;
  CompanyCode.clear();
  ProgramCode.clear();
  ProgramName.clear();
  RequiredFields.clear();
  DateFields.clear();
  OnDateFieldEnter = toolkit::FindMethod(this, "DateFieldEnter");
  OnDateFieldExit = toolkit::FindMethod(this, "DateFieldExit");
  OnRequiredExit = toolkit::FindMethod(this, "RequiredExit");
  CheckFailed = false;
  SystemPageArranged = false;
  toolkit::Application::Instance().SetHintHidePause(500000);
  LastFocused = this;
  ChangingPage = false;
  ShowMessages = true;
  PrepareDataSets();
  DateEnvironment.clear();
  for (Component* c : ComponentList()) {
    if (toolkit::HasProperty(c, "ImeName")) toolkit::SetStrPropOf(c, "ImeName", "");
  }
}

void TfrmBaseGene::SetModulePath(const std::string& Path) {
  ModulePath = Path;
  if (!IsLibraryModule()) {
    // A stand-alone program has no host: it starts with the test company's parameters.
    InitWindow(automation::VarArrayOf({"796", "SDTest60", "SDTest60"}));
  }
}

std::string TfrmBaseGene::ProgramCodeFromModule(const std::string& Path, bool Library) {
  const size_t slash = Path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? Path : Path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  const size_t drop = Library ? 1 : 2;
  const size_t keep =
      std::max(name.size() > drop ? name.size() - drop : 0, std::min<size_t>(6, name.size()));
  return name.substr(0, keep);
}

void TfrmBaseGene::SetOwnOptionCount(int n) {
  OptionCount = n + (BaseOptionCount < OptionCount ? 0 : BaseOptionCount);
}

void TfrmBaseGene::SetProgramCode(const std::string& Code) {
  ProgramCode = detail::UpperText(Code);
  ServerClassName = ProgramCode + "S.Class1";
  ReadProgramMaster();
}

// ---- Initialisation -----------------------------------------------------------------------------

bool TfrmBaseGene::InitWindow(const Variant& Params) {
  if (!CompanyCode.empty()) return false;  // a window is initialised once
  try {
    ClearSystemInfo();
    PageAdvanceControls.clear();
    ColourSnapshot.clear();
    DateFieldHandlers.clear();
    RequiredFieldHandlers.clear();
    LookupService = Variant();
    Validator = Variant();
    Counter = Variant();

    BaseOptionCount = 1;
    RecordError("");
    if (edPrintDate != nullptr) edPrintDate->SetText("");
    AutoConfirm = false;

    const int high = automation::VarArrayHighBound(Params, 1);
    HostWindow =
        high >= 3 ? automation::VarToStr(Params[3]).empty() ? 0 : Params[3].AsInteger() : 0;
    if (high >= 4) {
      ReservedParam = Params[4];
    } else {
      ShowCode(MessageCode::ShortParameters);
      PostClose();
    }

    Hide();
    UserCode = automation::VarToStr(Params[0]);
    CompanyCode = automation::VarToStr(Params[1]);
    SystemDbName = automation::VarToStr(Params[2]);

    SetupContext();

    // The window's component name carries the program code after its "frm" prefix.
    const std::string own = detail::UpperText(Name().size() >= 6 ? Name().substr(3, 3) : "");
    const std::string code = detail::UpperText(ProgramCode.substr(0, 3));
    if (own != code) {
      ShowCode(MessageCode::WrongProgram);
      PostClose();
      return true;
    }

    bool connected = false;
    MainMidas.Close();
    if (ConfigureJobConnection()) {
      ConfigureConnection(MainMidas);
      if (!MainMidas.ServerName().empty()) connected = ConnectJobServer();
    }
    if (!connected) {
      ShowCode(MessageCode::NoJobServer);
      PostClose();
      return false;
    }
    return true;
  } catch (const std::exception& e) {
    RecordError(e.what());
    return false;
  }
}

void TfrmBaseGene::SetupContext() {
  TakeColourSnapshot(this);
  AcquireManagerObjects();
  ReadProductCode();
  DeclareOptions();
  AcquireLookupService();
}

void TfrmBaseGene::DeclareOptions() {
  SetDateFields("edPrintDate");
  ProgramType = "R";
  EnvironmentCount = 9;
  LookupFlags = 0;
  SetProgramCode(ProgramCodeFromModule(ModulePath, IsLibraryModule()));
  SetOwnOptionCount(0);
}

void TfrmBaseGene::AcquireManagerObjects() {
  TGeneServices::AcquireManagerObjects();
}
void TfrmBaseGene::AcquireLookupService() {
  TGeneServices::AcquireLookupService();
}
void TfrmBaseGene::AfterRightsLoaded() {}
void TfrmBaseGene::ConfigureConnection(net::SocketConnection& /*Connection*/) {}
void TfrmBaseGene::Reserved10() {}
void TfrmBaseGene::Reserved13() {}
bool TfrmBaseGene::ApplyHostValues(const Variant& /*Values*/) {
  return false;
}
bool TfrmBaseGene::AfterSchemeOpened() {
  return true;
}
bool TfrmBaseGene::RunHostMode(int /*Mode*/) {
  return true;
}
void TfrmBaseGene::BeforeApplyValue(Component* /*Component*/, const std::string& /*Value*/) {}
void TfrmBaseGene::AfterApplyValue(Component* /*Component*/, const std::string& /*Value*/) {}

bool TfrmBaseGene::RunJobInProcess() {
  // The job library road (work directories, updater, GetSvrController) comes with the batch
  // window; the generic window never runs a job itself.
  return false;
}

void TfrmBaseGene::PrepareDataSets() {
  TQRForm::PrepareDataSets();
}

void TfrmBaseGene::ShowPhrase(Control* Control) {
  const std::string phrase = PhraseText();
  if (!phrase.empty() && Control != nullptr) toolkit::SetStrPropOf(Control, "Text", phrase);
}

void TfrmBaseGene::OpenLookup(const Variant& Table, const Variant& Key, const Variant& Params,
                              const std::string& ExtraText, bool ExtraFlag, Variant& Result) {
  LookupData(Table, Key, Params, ExtraText, ExtraFlag, Result);
}

// ---- Showing, closing ---------------------------------------------------------------------------

void TfrmBaseGene::FormShow(Component* Sender) {
  TQRForm::FormShow(Sender);
  std::string caption = CaptionText;
  if (ProductCode == 5) caption += LocalText("TfrmBaseGene", "sPublicVer", true, Gbk("-普及版"));
  SetCaption(caption + "[" + CompanyTitle + "]");
  FocusFirstControl();
  ConvertTexts();
  SetupSchemeColumns();
  LoadSchemeList();
}

void TfrmBaseGene::FormClose(Component* /*Sender*/, toolkit::TCloseAction& Action) {
  Action = toolkit::caFree;
}

void TfrmBaseGene::FormDestroy(Component* /*Sender*/) {
  PageAdvanceControls.clear();
  ColourSnapshot.clear();
  DateFieldHandlers.clear();
  RequiredFieldHandlers.clear();
  Counter = Variant();
  LookupService = Variant();
  Validator = Variant();
  DisconnectJobServer();
  Manager = Variant();
  DateEnvironment.clear();
}

void TfrmBaseGene::FormResize(Component* /*Sender*/) {
  if (HostWindow != 0) toolkit::RepaintWindow(HostWindow);
}

void TfrmBaseGene::btnOkClick(Component* /*Sender*/) {}

void TfrmBaseGene::btnCancelClick(Component* /*Sender*/) {
  Close();
}

void TfrmBaseGene::WndProc(toolkit::Message& Message) {
  if (Message.Msg == LookupRequest) {
    HandleLookupKey(toolkit::VK_F2, toolkit::ParamControl(Message.LParam));
    return;
  }
  TQRForm::WndProc(Message);
}

// ---- Pages --------------------------------------------------------------------------------------

void TfrmBaseGene::FocusFirstControl() {
  if (pgOption == nullptr || pgOption->ActivePage() == nullptr) return;
  const auto& tabs = pgOption->ActivePage()->TabList();
  // The control of tab order 0, or the next order when that one is disabled.
  for (size_t order = 0; order < tabs.size(); ++order) {
    WinControl* found = tabs[order];
    if (found == nullptr) break;
    if (!found->Enabled()) continue;
    if (auto* panel = dynamic_cast<TSelectPanel*>(found)) {
      WinControl* part = panel->RangeActive() ? static_cast<WinControl*>(panel->edBegin())
                                              : static_cast<WinControl*>(panel->ListBox());
      if (part->CanFocus()) part->SetFocus();
      return;
    }
    if (found->CanFocus()) found->SetFocus();
    return;
  }
}

void TfrmBaseGene::pgOptionChange(Component* /*Sender*/) {
  // The system page is laid out the first time it comes to the front.
  if (pgOption != nullptr && tsOption2 != nullptr && pgOption->ActivePage() == tsOption2) {
    tsOption2Show(tsOption2);
  }
  FocusFirstControl();
}

void TfrmBaseGene::pgOptionChanging(Component* /*Sender*/, bool& AllowChange) {
  ChangingPage = true;
  if (WinControl* focused = ActiveControl()) {
    const toolkit::Method exit = toolkit::GetMethodPropOf(focused, "OnExit");
    try {
      toolkit::CallHandler(exit, focused);
    } catch (...) {
      ChangingPage = false;
      throw;
    }
  }
  ChangingPage = false;
  AllowChange = !CheckFailed;
}

void TfrmBaseGene::tsOption2Show(Component* /*Sender*/) {
  if (SystemPageArranged) return;
  SystemPageArranged = true;
  ArrangeSystemPage();
}

void TfrmBaseGene::ArrangeSystemPage() {
  if (tsOption2 != nullptr) {
    tsOption2->SetParentFont(false);
    tsOption2->Font()->SetName(Font()->Name());
    tsOption2->Font()->SetSize(9);
  }
  if (Height() < 110) SetHeight(110);
  if (Width() < 315) SetWidth(315);
  if (lblToday != nullptr) {
    lblToday->SetBounds(8, 12, lblToday->Width(), lblToday->Height());
    lblToday->SetAutoSize(true);
  }
  if (edPrintDate != nullptr) edPrintDate->SetBounds(60, 8, 85, edPrintDate->Height());
  // The lookup button follows its edit again once the edit has moved.
  if (btnPrintDate != nullptr) toolkit::SetPropValue(btnPrintDate, "AutoAlign", Variant(true));
}

// ---- Keyboard -----------------------------------------------------------------------------------

void TfrmBaseGene::FormKeyDown(Component* /*Sender*/, toolkit::Word& Key,
                               toolkit::ShiftState Shift) {
  using namespace toolkit;
  const ShiftState mods = Shift & (ssShift | ssAlt | ssCtrl);
  if (Key == VK_ESCAPE) {
    Close();
  } else if (Key == VK_F1) {
    CallProgramHelp();
  } else if (Key == VK_F2) {
    HandleLookupKey(VK_F2, ActiveControl());
  } else if (Key == 'V' && mods == (ssCtrl | ssAlt)) {
    ShowModuleProperties();
    Key = 0;
  } else if (pgOption != nullptr && (mods & ssCtrl) != 0 &&
             ((Key == VK_TAB && (mods & ssShift) != 0) || (Key == VK_PRIOR && mods == ssCtrl))) {
    pgOption->SelectNextPage(false);
    Key = 0;
  } else if (pgOption != nullptr && mods == ssCtrl && (Key == VK_TAB || Key == VK_NEXT)) {
    pgOption->SelectNextPage(true);
    Key = 0;
  }
}

void TfrmBaseGene::HandleLookupKey(toolkit::Word /*Key*/, Control* Control) {
  auto* target = dynamic_cast<WinControl*>(Control);
  if (target != nullptr && target->CanFocus()) target->SetFocus();
  if (Control != nullptr && Control == edPrintDate) {
    // Without a date picker (no lookup service) nothing is picked and the date stays.
    const std::string picked = PickDate(edPrintDate->Text());
    if (!picked.empty()) edPrintDate->SetText(picked);
  }
}

void TfrmBaseGene::btnPrintDateClick(Component* /*Sender*/) {
  HandleLookupKey(toolkit::VK_F2, edPrintDate);
}

// ---- Job request --------------------------------------------------------------------------------

bool TfrmBaseGene::BuildOptionParams() {
  if (EnvironmentCount < 1 || (OptionCount < 1 && !AutoConfirm)) {
    const Variant args[] = {std::string()};
    ShowMessageCode("I", "000003", args, 0, 0);
    return false;
  }
  Variant env = NullArray(EnvironmentCount);
  Variant titles = NullArray(OptionCount);
  Variant values = NullArray(OptionCount);

  // A filled part must have the declared size and no missing element; the warning names the
  // part, the declared count and the upper bound or the first missing index.
  auto checkPart = [this](const Variant& part, int count, const char* key, const char* fallback) {
    const std::string title = LocalText("TfrmBaseGene", key, true, Gbk(fallback));
    const int high = automation::VarArrayHighBound(part, 1);
    if (high != count) {
      const Variant args[] = {title, count, high};
      ShowMessageCode("W", "000002", args, 2, 0);
      return false;
    }
    for (int i = automation::VarArrayLowBound(part, 1); i <= high; ++i) {
      if (IsMissing(part[i])) {
        const Variant args[] = {title, count, i};
        ShowMessageCode("W", "000003", args, 2, 0);
        return false;
      }
    }
    return true;
  };

  if (!FillOptionTitles(titles, OptionCount - BaseOptionCount)) return false;
  if (!checkPart(titles, OptionCount, "sOption", "选择条件文字")) return false;
  if (!FillOptionValues(values, OptionCount - BaseOptionCount)) return false;
  if (!checkPart(values, OptionCount, "sOptionInf", "选择条件信息")) return false;
  if (!FillEnvironment(env, EnvironmentCount)) return false;
  if (!checkPart(env, EnvironmentCount, "sEnvSetting", "环境设置")) return false;

  JobRequest = automation::VarArrayOf({env, ToDBCodeValue(titles), ToDBCodeValue(values)});
  return true;
}

bool TfrmBaseGene::FillOptionTitles(Variant& Titles, int Offset) {
  try {
    Titles[Offset + BaseOptionCount] = automation::VarArrayOf(
        {Variant(lblToday != nullptr ? lblToday->Caption() : std::string()), "edPrintDate"});
    TitlesBuilt = true;
    return true;
  } catch (const std::exception&) {
    ShowCode(std::string(MessageCode::BuildFailed) + ";" + GetMessageText("I", "000011"));
    return false;
  }
}

bool TfrmBaseGene::FillOptionValues(Variant& Values, int Offset) {
  try {
    const std::string text = detail::TrimText(edPrintDate != nullptr ? edPrintDate->Text() : "");
    const std::string separator = DateSeparatorText();
    std::string ymd;
    const bool cut =
        !text.empty() &&
        (text.compare(0, separator.size(), separator) == 0 ||
         (text.size() >= separator.size() &&
          text.compare(text.size() - separator.size(), separator.size(), separator) == 0));
    if (!text.empty() && !cut) ymd = DateTextToYmd(text);
    Values[Offset + BaseOptionCount] = ymd;
    return true;
  } catch (const std::exception&) {
    ShowCode(MessageCode::BuildFailed);
    return false;
  }
}

bool TfrmBaseGene::FillEnvironment(Variant& Env, int /*Count*/) {
  Env[1] = detail::UpperText(ProgramCode);
  Env[2] = EnvironmentCount;
  Env[3] = OptionCount;
  Env[4] = CompanyCode;
  Env[5] = UserCode;
  Env[6] = SystemDbName;
  Env[7] = Variant::FromDate(automation::Now());
  Env[8] = ServerClassName;
  Env[9] = detail::UpperText(ProgramType);
  return true;
}

// ---- Host value push ----------------------------------------------------------------------------

void TfrmBaseGene::HostPush(const Variant& Values) {
  const Variant v = Values.IsArray() ? Values[1] : Variant();
  if (VarIsNullOrEmpty(v) || !v.IsArray()) return;
  const int mode = v[0].AsInteger();
  ShowMessages = mode == 0 || mode == 1;
  AutoConfirm = false;
  bool applied = false;
  const Variant& pushed = v[1];
  if (!VarIsNullOrEmpty(pushed) && pushed.IsArray()) {
    const bool byName = pushed[0].AsBoolean();
    const Variant& w = pushed[1];
    if (!VarIsNullOrEmpty(w) && w.IsArray()) {
      applied = byName ? CheckPushedNames(w) : ApplyHostValues(w);
    }
    AutoConfirm = applied && mode != 0;
  }
  if (!TextsConverted) {
    ConvertTexts();
    if (SystemCodePage() == "950") {
      if (auto* converter = QrConverter()) {
        CaptionText = converter->GbToBig5Text(CaptionText);
      }
      std::string caption = CaptionText;
      if (!IsLibraryModule())
        caption += LocalText("TfrmBaseGene", "sExeVer", true, Gbk("[您现在运行的是Exe版本!]"));
      SetCaption(caption + "[" + CompanyTitle + "]");
    }
  }
  if (mode > 2 && applied) {
    RunHostMode(mode);
  } else if (AutoConfirm && btnOk != nullptr) {
    btnOk->Click();
  }
}

bool TfrmBaseGene::CheckPushedNames(const Variant& Names) {
  bool ok = true;
  const Variant& entries = Names[0];
  if (!entries.IsArray()) ok = false;
  for (int i = ok ? entries.Array().LowBound() : 0; ok && i <= entries.Array().HighBound(); ++i) {
    Component* c = FindComponent(automation::VarToStr(entries[i][1]));
    ok = c != nullptr &&
         (c->InheritsFrom("TSelectPanel") || c->InheritsFrom("TComboBox") ||
          toolkit::HasProperty(c, "ItemIndex") || toolkit::HasProperty(c, "Checked") ||
          toolkit::HasProperty(c, "Text") || toolkit::HasProperty(c, "Lines"));
  }
  if (!ok) ShowCode(MessageCode::UnusableNames);
  return ok;
}

// ---- Hooks of the services ----------------------------------------------------------------------

bool TfrmBaseGene::CancelHasFocus() const {
  return btnCancel != nullptr && btnCancel->Focused();
}

Variant TfrmBaseGene::ToDBCodeValue(const Variant& Value) {
  auto* converter = QrConverter();
  return converter != nullptr ? converter->ToDBCode(Value) : Value;
}

Variant TfrmBaseGene::FromDBCodeValue(const Variant& Value) {
  // Values received before the window's texts were converted are used as received.
  auto* converter = QrConverter();
  return converter != nullptr && TextsConverted ? converter->FromDBCode(Value) : Value;
}

std::string TfrmBaseGene::ToUICodeText(const std::string& Text) {
  auto* converter = QrConverter();
  return converter != nullptr ? automation::VarToStr(converter->ToUICode(Variant(Text))) : Text;
}

std::string TfrmBaseGene::UiCodePageText() const {
  return UiCodePage();
}

int TfrmBaseGene::ServiceWindowHandle() const {
  return Handle();
}

std::string TfrmBaseGene::DialogCaption() const {
  return Caption();
}

void TfrmBaseGene::PrepareDialogFont(toolkit::MessageDialog& Dialog) {
  auto* converter = QrConverter();
  if (converter == nullptr) return;
  toolkit::Font font;
  font.SetName(Dialog.Font.Name);
  font.SetCharset(Dialog.Font.Charset);
  font.SetHeight(Dialog.Font.Height);
  TCodeConverter::SetCharsetFont(converter->UIConvertMode(), &font);
  Dialog.Font.Name = font.Name();
  Dialog.Font.Charset = font.Charset();
  Dialog.Font.Height = font.Height();
}

void TfrmBaseGene::AfterDialog(toolkit::TMsgDlgType Kind) {
  if (WinControl* focused = ActiveControl()) {
    // No mouse capture stays pending after the modal dialog.
    focused->Widget()->releaseMouse();
  }
  if (Kind == toolkit::mtError && LastFocused != nullptr && LastFocused->CanFocus()) {
    LastFocused->SetFocus();
  }
}

// ---- Enter --------------------------------------------------------------------------------------

namespace {

bool Listed(const std::vector<Control*>& list, const Control* control) {
  return std::find(list.begin(), list.end(), control) != list.end();
}

}  // namespace

void TfrmBaseGene::FormKeyPress(Component* /*Sender*/, char& Key) {
  if (Key != '\r') return;
  WinControl* focused = ActiveControl();
  if (focused == nullptr) return;

  // A control counts as listed through its selection panel (end edit or value list) or its
  // radio group.
  bool listed = Listed(PageAdvanceControls, focused);
  if (!listed && focused->Parent() != nullptr) {
    TSelectPanel* panel = nullptr;
    for (WinControl* p = focused->Parent(); p != nullptr && panel == nullptr; p = p->Parent()) {
      panel = dynamic_cast<TSelectPanel*>(p);
    }
    if (panel != nullptr) {
      listed = Listed(PageAdvanceControls, panel) &&
               (focused == static_cast<WinControl*>(panel->edFinal()) ||
                focused == static_cast<WinControl*>(panel->ListBox()));
    } else if (focused->InheritsFrom("TRadioButton") &&
               Listed(PageAdvanceControls, focused->Parent())) {
      listed = true;
    }
  }

  auto* grid = dynamic_cast<toolkit::DrawGrid*>(focused);
  if (grid != nullptr && !listed) {
    Key = 0;
    if (grid->Col() < grid->ColCount() - 1) {
      grid->SetCol(grid->Col() + 1);
    } else {
      if (grid->Row() >= grid->RowCount() - 1) grid->SetRowCount(grid->RowCount() + 1);
      grid->SetRow(grid->Row() + 1);
      grid->SetCol(grid->FixedCols());
    }
    return;
  }
  // In a memo Enter breaks lines on its first two lines; from the third line on it moves on.
  if (auto* memo = dynamic_cast<toolkit::Memo*>(focused);
      memo != nullptr && memo->CaretPos().Y < 2) {
    return;
  }
  Key = 0;
  if (listed && grid == nullptr) {
    if (pgOption != nullptr && pgOption->ActivePageIndex() < pgOption->PageCount() - 1) {
      pgOption->SelectNextPage(true);
    }
    return;
  }
  SelectNext(focused, true, true);
}

// ---- File properties (Ctrl+Alt+V) ---------------------------------------------------------------

void TfrmBaseGene::ShowModuleProperties() {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path file(ModulePath);
  const auto size = fs::file_size(file, error);
  std::string modified;
  if (const auto time = fs::last_write_time(file, error); !error) {
    const auto system = std::chrono::file_clock::to_sys(time);
    const std::time_t t = std::chrono::system_clock::to_time_t(system);
    std::tm local{};
    localtime_r(&t, &local);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y/%m/%d %H:%M:%S", &local);
    modified = buffer;
  }
  auto line = [this](const char* key, const char* fallback, const std::string& value) {
    return LocalText("TfrmBaseGene", key, true, Gbk(fallback)) + value + "\r";
  };
  std::string text = line("sFileName", "文件名: ", file.filename().string());
  text += line("sFileFolder", "位置: ", file.parent_path().string());
  const std::string bytes =
      error ? std::string()
            : std::to_string(size) + LocalText("TfrmBaseGene", "sFileBytes", true, Gbk(" 字节"));
  text += line("sFileSize", "大小: ", bytes);
  text += line("sFileTime", "修改时间: ", modified);
  text += line("sFileVersion", "版本: ", VersionStamp);
  ShowDialog(text, toolkit::mtInformation, toolkit::ButtonSet({toolkit::mbOK}));
}

// ---- Schemes ------------------------------------------------------------------------------------

namespace {

std::string Today() {
  int y = 0, m = 0, d = 0;
  automation::DecodeDate(automation::Today(), y, m, d);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", y, m, d);
  return buffer;
}

}  // namespace

void TfrmBaseGene::SetupSchemeColumns() {
  if (lstCondition == nullptr) return;
  toolkit::ListColumns* columns = lstCondition->Columns();
  columns->Clear();
  toolkit::ListColumn* name = columns->Add();
  name->SetCaption(LocalText("TfrmBaseGene", "sProjectName", true, Gbk("方案名称")));
  name->SetWidth(-2);
  name->SetAlignment(toolkit::Control::taRightJustify);
  toolkit::ListColumn* created = columns->Add();
  created->SetCaption(LocalText("TfrmBaseGene", "sCreateTime", true, Gbk("创建时间")));
  created->SetWidth(-2);
  created->SetAlignment(toolkit::Control::taLeftJustify);
}

bool TfrmBaseGene::LoadSchemeList() {
  if (!JobServer.IsDispatch() || lstCondition == nullptr) return false;
  const auto style = lstCondition->ViewStyle();
  lstCondition->Items()->BeginUpdate();
  toolkit::TCursor previous = toolkit::Application::Instance().Cursor();
  toolkit::Application::Instance().SetCursor(toolkit::crHourGlass);
  bool ok = false;
  try {
    lstCondition->SetViewStyle(toolkit::ListView::vsList);
    lstCondition->Items()->Clear();
    Variant keys = automation::VarArrayOf({Variant(UserCode), Variant(ProgramCode)});
    Variant args[] = {keys};
    const bool byRef[] = {true};
    JobServer.Call("LoadTable", args, byRef);
    if (ClientDataSet1 == nullptr) throw automation::Error("ClientDataSet1 not found");
    ClientDataSet1->Close();
    ClientDataSet1->Open();
    ClientDataSet1->First();
    const int count = ClientDataSet1->RecordCount();
    for (int i = 0; i < count; ++i) {
      toolkit::ListItem* item = lstCondition->Items()->Add();
      item->SetImageIndex(0);
      item->SetCaption(automation::VarToStr(
          FromDBCodeValue(Variant(ClientDataSet1->FieldByName("NCONDITION")->AsString()))));
      const std::string created = ClientDataSet1->FieldByName("CREATE_DATE")->AsString();
      item->SubItems()->Add(FormatDateSep(1, "/", DateFromYmdText(created)));
      ClientDataSet1->Next();
    }
    lstCondition->SetViewStyle(style);
    ok = true;
  } catch (const std::exception& e) {
    lstCondition->Items()->EndUpdate();
    toolkit::Application::Instance().SetCursor(previous);
    throw automation::Error(e.what());
  }
  lstCondition->Items()->EndUpdate();
  toolkit::Application::Instance().SetCursor(previous);
  return ok;
}

bool TfrmBaseGene::SaveScheme(const std::string& Paths, const std::string& Name, bool Replace) {
  try {
    const std::string values = CaptureValues(Paths);
    Variant record = automation::VarArrayOf({ToDBCodeValue(Variant(Name)), Variant(UserCode),
                                             Variant(Today()), Variant(ProgramCode), Variant(Paths),
                                             ToDBCodeValue(Variant(values)), Variant(Replace)});
    Variant args[] = {record};
    const bool byRef[] = {true};
    const std::string answer = automation::VarToStr(JobServer.Call("InsertConTable", args, byRef));
    if (!answer.empty()) throw automation::Error(answer);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void TfrmBaseGene::btnInsertClick(Component* /*Sender*/) {
  // Leaving the field runs its checks; a failed check keeps the user where they are.
  if (pnlCondition != nullptr && lstCondition != nullptr && lstCondition->CanFocus()) {
    lstCondition->SetFocus();
  }
  if (CheckFailed) return;
}

void TfrmBaseGene::btnOpenClick(Component* /*Sender*/) {
  if (lstCondition == nullptr || lstCondition->Selected() == nullptr) return;
  const std::string name =
      automation::VarToStr(ToDBCodeValue(Variant(lstCondition->Selected()->Caption())));
  if (ClientDataSet1 == nullptr || !ClientDataSet1->Active() ||
      !ClientDataSet1->FindKey({Variant(name), Variant(UserCode), Variant(ProgramCode)})) {
    return;
  }
  const std::string paths = ClientDataSet1->FieldByName("SCONDITION")->AsString();
  const std::string values = automation::VarToStr(
      FromDBCodeValue(Variant(ClientDataSet1->FieldByName("VCONDITION")->AsString())));
  toolkit::TCursor previous = toolkit::Application::Instance().Cursor();
  toolkit::Application::Instance().SetCursor(toolkit::crHourGlass);
  if (!ApplySchemeValues(paths, values)) ShowMessageCode("R", "200235", {}, -1, 0);
  AfterSchemeOpened();
  toolkit::Application::Instance().SetCursor(previous);
}

void TfrmBaseGene::btnDeleteClick(Component* /*Sender*/) {
  if (lstCondition == nullptr || lstCondition->Selected() == nullptr) return;
  const std::string name = lstCondition->Selected()->Caption();
  const int answer =
      ShowDialog(LocalText("TfrmBaseGene", "sDeleteProj", true, Gbk("确实要删除此方案吗？")) + name,
                 toolkit::mtConfirmation, toolkit::mbYesNo);
  if (answer != toolkit::mrYes) return;
  Variant keys = automation::VarArrayOf(
      {ToDBCodeValue(Variant(name)), Variant(UserCode), Variant(ProgramCode)});
  Variant args[] = {keys};
  const bool byRef[] = {true};
  const std::string refused = automation::VarToStr(JobServer.Call("DeleteConTable", args, byRef));
  if (!refused.empty()) throw automation::Error(refused);
  LoadSchemeList();
}

void TfrmBaseGene::lstConditionEdited(Component* /*Sender*/, toolkit::ListItem* Item,
                                      std::string& S) {
  const std::string old = Item->Caption();
  std::vector<std::string> others;
  for (int i = 0; i < lstCondition->Items()->Count(); ++i) {
    toolkit::ListItem* other = lstCondition->Items()->ItemAs<toolkit::ListItem>(i);
    if (other != Item) others.push_back(other->Caption());
  }
  auto refuse = [this, &S, &old](const char* key, const char* fallback) {
    ShowDialog(LocalText("TfrmBaseGene", key, true, Gbk(fallback)), toolkit::mtError,
               toolkit::ButtonSet({toolkit::mbOK}));
    S = old;
  };
  const std::string problem = SchemeRenameProblem(S, others);
  if (problem == "sProjNameEmpty") return refuse("sProjNameEmpty", "方案名不可空白!");
  if (problem == "sProjNameError") return refuse("sProjNameError", "方案名长度不可大于20!");
  if (problem == "sProjNameExist") return refuse("sProjNameExist", "此方案名称已经存在！");
  if (S == old) return;
  Variant from = automation::VarArrayOf(
      {ToDBCodeValue(Variant(old)), Variant(UserCode), Variant(ProgramCode)});
  Variant to =
      automation::VarArrayOf({ToDBCodeValue(Variant(S)), Variant(UserCode), Variant(ProgramCode)});
  Variant args[] = {from, to};
  const bool byRef[] = {true, true};
  const std::string refused = automation::VarToStr(JobServer.Call("ChangeConName", args, byRef));
  if (!refused.empty()) {
    refuse("sFailedRename", "更改方案名失败!");
    throw automation::Error(refused);
  }
  // The data set follows locally, so that the scheme opens under its new name.
  const Variant oldKey = ToDBCodeValue(Variant(old));
  if (ClientDataSet1 != nullptr && ClientDataSet1->Active() &&
      ClientDataSet1->FindKey({oldKey, Variant(UserCode), Variant(ProgramCode)})) {
    ClientDataSet1->Edit();
    ClientDataSet1->FieldByName("NCONDITION")->SetValue(ToDBCodeValue(Variant(S)));
    ClientDataSet1->Post();
  }
}

void TfrmBaseGene::lstConditionKeyDown(Component*, toolkit::Word&, toolkit::ShiftState) {}

void TfrmBaseGene::SetViewStyle(int Style) {
  if (lstCondition == nullptr) return;
  lstCondition->Items()->BeginUpdate();
  lstCondition->SetViewStyle(static_cast<toolkit::ListView::TViewStyle>(Style));
  lstCondition->Items()->EndUpdate();
  if (mnListItems[Style] != nullptr) mnListItems[Style]->SetChecked(true);
}

void TfrmBaseGene::ViewIconExecute(Component*) {
  SetViewStyle(0);
}
void TfrmBaseGene::ViewSmallIconExecute(Component*) {
  SetViewStyle(1);
}
void TfrmBaseGene::ViewListExecute(Component*) {
  SetViewStyle(2);
}
void TfrmBaseGene::ViewReportExecute(Component*) {
  SetViewStyle(3);
}

void TfrmBaseGene::ToolButton1Click(Component* Sender) {
  if (ToolButton1 == nullptr) return;
  ToolButton1->SetTag((ToolButton1->Tag() + 1) % 4);
  toolkit::CallMethod(this, SchemeViewHandlers[ToolButton1->Tag()], Sender);
}
