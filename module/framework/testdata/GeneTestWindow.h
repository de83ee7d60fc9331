// A module window in miniature for the option-window tests, the job server that keeps its
// condition schemes, and the fixture that creates both with a scripted manager.
//
// The first page holds a date (me01), a combo box, a check box and a memo; the page "tsPanels"
// (between the first page and the system page) holds a selection panel in each style — spRange,
// spList, spChoice — a range panel that is a date field (spDate) and a string grid (sg1). The
// window has one option of its own in the request.
#pragma once

#include <gtest/gtest.h>

#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "ScriptedPartners.h"
#include "automation/ClassRegistry.h"
#include "controls/DBLabel.h"
#include "controls/ExtPage.h"
#include "controls/SelectPnl.h"
#include "framework/BaseGene.h"
#include "toolkit/BitBtn.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/DataSet.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/Memo.h"
#include "toolkit/PageControl.h"
#include "toolkit/Properties.h"
#include "toolkit/StringGrid.h"

namespace genetest {

using automation::VarArrayOf;
using automation::Variant;

class TfrmGeneTest : public TfrmBaseGene {
 public:
  using TfrmBaseGene::TfrmBaseGene;
  std::string windowName = "frmQzlb27";
  bool leaveTitleEmpty = false;
  int titleCount = 0;        // when set, the titles come back with this upper bound
  bool wantsLookup = false;  // asks for the manager's lookup service, as schedule windows do

  void Loaded() override {
    TfrmBaseGene::Loaded();
    SetName(windowName);
    SetWidth(640);
    SetHeight(470);
    toolkit::TabSheet* page = tsOption1;
    auto add = [&](toolkit::WinControl* c, const char* name, int left, int top, int width,
                   int height) {
      dynamic_cast<toolkit::Component*>(c)->SetName(name);
      c->SetParent(page);
      c->SetBounds(left, top, width, height);
    };
    me01 = new toolkit::MaskEdit(this);
    add(me01, "me01", 90, 10, 160, 21);
    cbo1 = new toolkit::ComboBox(this);
    add(cbo1, "cbo1", 90, 40, 160, 21);
    cbo1->Items()->Assign(std::vector<std::string>{"A", "B", "C"});
    chk1 = new toolkit::CheckBox(this);
    add(chk1, "chk1", 90, 70, 160, 21);
    chk1->SetCaption("Include closed");
    mm1 = new toolkit::Memo(this);
    add(mm1, "mm1", 90, 100, 160, 60);

    tsPanels = new toolkit::TabSheet(this);
    tsPanels->SetName("tsPanels");
    tsPanels->SetCaption("Panels");
    tsPanels->SetPageControl(pgOption);
    tsPanels->SetPageIndex(1);
    page = tsPanels;
    auto panel = [&](const char* name, TSelectStyle style, int top) {
      auto* p = new TSelectPanel(this);
      p->SetName(name);
      p->SetParent(page);
      p->SetStyle(style);
      p->SetBounds(2, top, p->Width() < 200 ? 200 : p->Width(), p->Height());
      return p;
    };
    spRange = panel("spRange", sp_Range, 2);
    spList = panel("spList", sp_Discrete, 50);
    spChoice = panel("spChoice", sp_UserChoice, 160);
    spDate = panel("spDate", sp_Range, 270);
    sg1 = new toolkit::StringGrid(this);
    add(sg1, "sg1", 210, 50, 130, 80);
    sg1->SetColCount(3);
    sg1->SetRowCount(2);
    sg1->SetFixedCols(1);
    sg1->SetFixedRows(1);
  }
  void DeclareOptions() override {
    TfrmBaseGene::DeclareOptions();
    SetDateFields("me01,spDate");
    SetOwnOptionCount(1);
    if (wantsLookup) LookupFlags = 4;
  }
  void ConfigureConnection(net::SocketConnection& Connection) override {
    Connection.SetServerName("ReportCounterS.dmReportCounter");
  }
  bool FillOptionTitles(Variant& Titles, int Offset) override {
    TfrmBaseGene::FillOptionTitles(Titles, Offset);
    if (!leaveTitleEmpty) Titles[1] = VarArrayOf({"Document", "me01"});
    if (titleCount > 0) Titles.Array().Redim(titleCount);
    return true;
  }
  bool FillOptionValues(Variant& Values, int Offset) override {
    TfrmBaseGene::FillOptionValues(Values, Offset);
    Values[1] = me01->Text();
    return true;
  }
  bool RunHostMode(int Mode) override {
    hostModes.push_back(Mode);
    return true;
  }
  void BeforeApplyValue(toolkit::Component* Component, const std::string& Value) override {
    applied.push_back("before " + Component->Name() + "=" + Value);
  }
  void AfterApplyValue(toolkit::Component* Component, const std::string& Value) override {
    applied.push_back("after " + Component->Name() + "=" + Value);
  }
  bool AfterSchemeOpened() override {
    ++schemesOpened;
    return TfrmBaseGene::AfterSchemeOpened();
  }

  std::vector<int> hostModes;
  std::vector<std::string> applied;  // the hooks of a restore, in order
  int schemesOpened = 0;

  toolkit::MaskEdit* me01 = nullptr;
  toolkit::ComboBox* cbo1 = nullptr;
  toolkit::CheckBox* chk1 = nullptr;
  toolkit::Memo* mm1 = nullptr;
  toolkit::TabSheet* tsPanels = nullptr;
  TSelectPanel* spRange = nullptr;
  TSelectPanel* spList = nullptr;
  TSelectPanel* spChoice = nullptr;
  TSelectPanel* spDate = nullptr;
  toolkit::StringGrid* sg1 = nullptr;
};

// The job server's side of the condition schemes: records of every user and program; LoadTable
// chooses those of one user and program, which AS_GetRecords("pvdConSave") then delivers with
// the column names in row 0. `refusal` (when set) is the answer of the next storage call.
class SchemeJobServer : public scripted::Recorder {
 public:
  std::vector<TSchemeRecord> records;
  std::string refusal;

  SchemeJobServer() {
    records = {{"Monthly", "796", "QZLB27", "20090517", "me01.text;", "20090501\r\n"},
               {"Weekly", "796", "QZLB27", "20090601", "chk1.checked;", "True\r\n"},
               {"Other user", "797", "QZLB27", "20090601", "", ""},
               {"Other program", "796", "QZLB28", "20090601", "", ""}};
    Method("LoadTable", [this](automation::CallArgs a) {
      user_ = a[0][0].AsAnsi();
      program_ = a[0][1].AsAnsi();
      return Variant();
    });
    Method("AS_GetRecords", [this](automation::CallArgs) {
      std::vector<const TSchemeRecord*> chosen;
      for (const TSchemeRecord& r : records) {
        if (r.Creator == user_ && r.Programme == program_) chosen.push_back(&r);
      }
      Variant table = automation::VarArrayCreate({{0, static_cast<int>(chosen.size())}, {0, 5}});
      const char* names[] = {"NCONDITION",  "CREATOR",    "PROGRAMME",
                             "CREATE_DATE", "SCONDITION", "VCONDITION"};
      for (int c = 0; c < 6; ++c) table.ElementAt(0, c) = names[c];
      for (size_t i = 0; i < chosen.size(); ++i) {
        const TSchemeRecord& r = *chosen[i];
        const std::string* cells[] = {&r.Name,       &r.Creator, &r.Programme,
                                      &r.CreateDate, &r.Paths,   &r.Values};
        for (int c = 0; c < 6; ++c) table.ElementAt(static_cast<int>(i) + 1, c) = *cells[c];
      }
      return table;
    });
    Method("InsertConTable", [this](automation::CallArgs a) {
      if (Refused()) return Variant(Take(refusal));
      const Variant& r = a[0];
      std::erase_if(records, [&](const TSchemeRecord& x) {
        return x.Name == r[0].AsAnsi() && x.Creator == r[1].AsAnsi() &&
               x.Programme == r[3].AsAnsi();
      });
      records.push_back({r[0].AsAnsi(), r[1].AsAnsi(), r[3].AsAnsi(), r[2].AsAnsi(), r[4].AsAnsi(),
                         r[5].AsAnsi()});
      return Variant(std::string());
    });
    Method("DeleteConTable", [this](automation::CallArgs a) {
      if (Refused()) return Variant(Take(refusal));
      std::erase_if(records, [&](const TSchemeRecord& x) { return Matches(x, a[0]); });
      return Variant(std::string());
    });
    Method("ChangeConName", [this](automation::CallArgs a) {
      if (Refused()) return Variant(Take(refusal));
      for (TSchemeRecord& x : records) {
        if (Matches(x, a[0])) x.Name = a[1][0].AsAnsi();
      }
      return Variant(std::string());
    });
  }

  const TSchemeRecord* Find(const std::string& name) const {
    for (const TSchemeRecord& r : records) {
      if (r.Name == name) return &r;
    }
    return nullptr;
  }

 private:
  static bool Matches(const TSchemeRecord& x, const Variant& key) {
    return x.Name == key[0].AsAnsi() && x.Creator == key[1].AsAnsi() &&
           x.Programme == key[2].AsAnsi();
  }
  bool Refused() const { return !refusal.empty(); }
  static std::string Take(std::string& s) { return std::exchange(s, std::string()); }
  std::string user_, program_;
};

class BaseGeneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    automation::RegisterClass("ReportCounterS.dmReportCounter", [this] { return jobServer; });
    manager->validator->answers["ADMMB/01"] = VarArrayOf({"Purchase returns", "", "", "", "Y"});
    manager->counter->sysInfo = {{"QRN002", "Test company"}, {"Sys001", "1"}, {"Sys002", "/"}};
    manager->messages["E000038"] = "parameters missing";
    manager->messages["E000006"] = "no job server";
    manager->messages["E000036"] = "wrong program";
  }
  void TearDown() override {
    for (auto& w : windows) {
      if (w) toolkit::Free(w.data());
    }
    automation::UnregisterClass("ReportCounterS.dmReportCounter");
  }

  TfrmGeneTest* NewWindow(const char* name = "frmQzlb27") {
    auto* w = toolkit::CreateForm<TfrmGeneTest>(nullptr);
    w->windowName = name;
    w->SetName(name);
    w->SetModulePath("/opt/qrn/QZLB27C.so");
    w->Manager = Variant(manager);
    windows.emplace_back(w);
    return w;
  }
  // A window initialised against the scripted partners (job server at the loopback address).
  TfrmGeneTest* InitialisedWindow(bool wantsLookup = false) {
    TfrmGeneTest* w = NewWindow();
    w->wantsLookup = wantsLookup;
    EXPECT_TRUE(w->InitWindow(Params())) << ::testing::PrintToString(Texts());
    return w;
  }
  // The same, shown (caption, first page, scheme list).
  TfrmGeneTest* ShownWindow(bool wantsLookup = false) {
    TfrmGeneTest* w = InitialisedWindow(wantsLookup);
    w->Show();
    return w;
  }
  static Variant Params() { return VarArrayOf({"796", "SDTest60", "SYSDB", 0, Variant()}); }
  // The texts of the dialogs shown; the base window's own dialogs end their text with six blanks.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& d : dialogs.Shown()) texts.push_back(d.Text);
    return texts;
  }

  std::shared_ptr<scripted::Manager> manager = std::make_shared<scripted::Manager>();
  std::shared_ptr<SchemeJobServer> jobServer = std::make_shared<SchemeJobServer>();
  std::vector<QPointer<TfrmGeneTest>> windows;
  toolkit::ScriptedDialogRunner dialogs;
  scripted::ClientInstallation client{"127.0.0.1", 211};
};

}  // namespace genetest
