// BaseGene, field checks: the members of TfrmBaseGene that hook date and required fields and mark
// them.
#include <exception>

#include "controls/ExtPage.h"
#include "framework/BaseGene.h"
#include "support/GbkText.h"
#include "support/LibStrs.h"
#include "toolkit/BitBtn.h"
#include "toolkit/Edit.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/PageControl.h"
#include "toolkit/Properties.h"
#include "toolkit/SpinEdit.h"

using automation::Variant;
using toolkit::Component;
using toolkit::Control;
using toolkit::WinControl;

namespace {

// A part of a selection panel: its begin edit, end edit or value list, owned by the panel.
WinControl* PanelPart(Component* panel, const char* part) {
  return panel == nullptr ? nullptr : panel->FindComponent<WinControl>(part);
}

bool IsPanel(const Component* c) {
  return c != nullptr && c->InheritsFrom("TSelectPanel");
}

// Range mode of a panel: style range, or user choice with the range chosen.
bool PanelInRangeMode(Component* panel) {
  const std::string style = toolkit::GetEnumPropOf(panel, "Style");
  return style == "sp_Range" ||
         (style == "sp_UserChoice" && toolkit::GetEnumPropOf(panel, "UserChoice") == "True");
}

std::vector<std::string> Names(const std::string& list) {
  std::vector<std::string> names;
  std::string rest = list;
  while (!rest.empty()) {
    std::string name = detail::TrimText(TakeToken(rest, ","));
    if (!name.empty()) names.push_back(std::move(name));
  }
  return names;
}

toolkit::Method SavedHandler(const std::vector<std::pair<std::string, toolkit::Method>>& list,
                             const std::string& key) {
  for (const auto& entry : list) {
    if (automation::SameName(entry.first, key)) return entry.second;
  }
  return toolkit::Method();
}

void SaveHandler(std::vector<std::pair<std::string, toolkit::Method>>& list, const std::string& key,
                 const toolkit::Method& method) {
  for (auto& entry : list) {
    if (automation::SameName(entry.first, key)) {
      entry.second = method;
      return;
    }
  }
  list.emplace_back(key, method);
}

}  // namespace

std::string TfrmBaseGene::DateEditMask() {
  return DateEditMaskOf(DateFormatCode(), DateSeparatorText());
}

std::string TfrmBaseGene::DateBlankText() {
  return DateBlankTextOf(DateFormatCode(), DateSeparatorText());
}

std::string TfrmBaseGene::DateTextToYmd(const std::string& Text) {
  try {
    return DateTextToYmdOf(Text, DateFormatCode(), DateSeparatorText());
  } catch (const std::exception&) {
    return Text;
  }
}

void TfrmBaseGene::SetDateFields(const std::string& List) {
  std::string list = detail::TrimText(List);
  if (list == DateFields) return;
  if (!DateFields.empty()) {
    for (const std::string& name : Names(DateFields)) {
      Component* c = FindComponent(name);
      if (c == nullptr) continue;
      toolkit::SetMethodPropOf(c, "OnEnter", SavedHandler(DateFieldHandlers, name + ".OnEnter"));
      toolkit::SetMethodPropOf(c, "OnExit", SavedHandler(DateFieldHandlers, name + ".OnExit"));
    }
    // Lists accumulate: a subclass's fields join those of the levels above.
    if (list.find("edPrintDate") == std::string::npos) list += "," + DateFields;
  }
  DateFields = list;
  const int code = DateFormatCode();
  for (const std::string& name : Names(DateFields)) {
    Component* c = FindComponent(name);
    if (c == nullptr) continue;
    if (toolkit::HasProperty(c, "OnEnter")) {
      const toolkit::Method current = toolkit::GetMethodPropOf(c, "OnEnter");
      if (current != OnDateFieldEnter) SaveHandler(DateFieldHandlers, name + ".OnEnter", current);
      toolkit::SetMethodPropOf(c, "OnEnter", OnDateFieldEnter);
    }
    if (toolkit::HasProperty(c, "OnExit")) {
      const toolkit::Method current = toolkit::GetMethodPropOf(c, "OnExit");
      if (current != OnDateFieldExit) SaveHandler(DateFieldHandlers, name + ".OnExit", current);
      toolkit::SetMethodPropOf(c, "OnExit", OnDateFieldExit);
    }
    if (IsPanel(c)) {
      static const char* types[] = {"dt_NoneCare", "dt_YYYYMMDD", "dt_MMDDYYYY",
                                    "dt_DDMMYYYY", "dt_YYMMDD",   "dt_YYYMMDD"};
      toolkit::SetPropValue(c, "ValueType", Variant("vt_Date"));
      toolkit::SetPropValue(c, "DateSign", Variant(DateSeparatorText()));
      toolkit::SetPropValue(c, "DateType", Variant(types[code >= 1 && code <= 5 ? code : 0]));
    }
  }
}

void TfrmBaseGene::DateFieldEnter(Component* Sender) {
  CheckFailed = false;
  auto* control = dynamic_cast<WinControl*>(Sender);
  if (control == nullptr) return;
  if (IsListedName(DateFields, control->Name())) {
    CheckFailed = !CheckDateField(control, true) || CheckFailed;
  }
  if (!CheckFailed) {
    toolkit::CallHandler(SavedHandler(DateFieldHandlers, control->Name() + ".OnEnter"), Sender);
  }
}

void TfrmBaseGene::DateFieldExit(Component* Sender) {
  if (CancelHasFocus()) return;
  CheckFailed = false;
  auto* control = dynamic_cast<Control*>(Sender);
  if (control == nullptr) return;
  if (IsListedName(DateFields, control->Name())) {
    CheckFailed = !CheckDateField(control, false) || CheckFailed;
  }
  if (!CheckFailed) {
    toolkit::CallHandler(SavedHandler(DateFieldHandlers, control->Name() + ".OnExit"), Sender);
  }
}

bool TfrmBaseGene::CheckDateField(Control* Control, bool Entering) {
  std::vector<WinControl*> targets;
  if (IsPanel(Control)) {
    if (Entering) {
      toolkit::SetStrPropOf(Control, "EditMask", DateEditMask());
      return true;
    }
    for (const char* part : {"edBegin", "edFinal"}) {
      if (WinControl* t = PanelPart(Control, part)) targets.push_back(t);
    }
  } else if (dynamic_cast<toolkit::MaskEdit*>(Control) != nullptr ||
             dynamic_cast<toolkit::Edit*>(Control) != nullptr) {
    targets.push_back(dynamic_cast<WinControl*>(Control));
  } else {
    ShowDialog(LocalText("TfrmBaseGene", "sDatePramError", true,
                         Gbk("判断日期的函数第一个参数错误, 只能传下列三种物件:")) +
                   "\rTSelectPanel, TMaskedit, TEdit",
               toolkit::mtCustom, toolkit::ButtonSet({toolkit::mbOK}));
    return false;
  }
  if (Entering) {
    if (auto* edit = dynamic_cast<toolkit::Edit*>(Control)) {
      // Only an empty edit gets the blank pattern; a date already typed stays.
      if (detail::TrimText(edit->Text()).empty()) edit->SetText(DateBlankText());
    } else if (auto* masked = dynamic_cast<toolkit::MaskEdit*>(Control)) {
      masked->SetEditMask(DateEditMask());
    }
    return true;
  }
  WinControl* failed = nullptr;
  for (WinControl* target : targets) {
    const std::string ymd = DateTextToYmd(toolkit::GetStrPropOf(target, "Text"));
    if (!ymd.empty() && !IsValidYmdText(ymd)) {
      failed = target;
      break;
    }
  }
  if (failed == nullptr) return true;
  ShowCode(MessageCode::InvalidDate);
  if (failed->CanFocus()) failed->SetFocus();
  return false;
}

bool TfrmBaseGene::IsTextEmpty(Component* Component) {
  if (!toolkit::HasProperty(Component, "Text")) return false;
  const std::string text = toolkit::GetStrPropOf(Component, "Text");
  std::string blank;
  const std::string mask = toolkit::GetStrPropOf(Component, "EditMask");
  if (toolkit::HasProperty(Component, "EditMask") && GetToken(mask, ";", 2) == "1") {
    // The blank pattern of a mask that keeps its literals: what the edit reads when cleared.
    const std::string plain = GetToken(mask, ";", 1) + ";0;" + GetToken(mask, ";", 3);
    toolkit::SetStrPropOf(Component, "EditMask", plain);
    toolkit::SetStrPropOf(Component, "Text", "");
    toolkit::SetStrPropOf(Component, "EditMask", mask);
    blank = toolkit::GetStrPropOf(Component, "Text");
    toolkit::SetStrPropOf(Component, "Text", text);
  }
  return detail::TrimText(text) == detail::TrimText(blank);
}

void TfrmBaseGene::SetRequiredFields(const std::string& List) {
  const std::string list = detail::TrimText(List);
  static const char* buttons[] = {"btnOk", "btnQuery", "btnDesign", "btnPeriod"};
  if (!RequiredFields.empty()) {
    RestoreColours(this);
    for (const char* name : buttons) {
      if (Component* b = FindComponent(name)) {
        toolkit::SetMethodPropOf(
            b, "OnClick", SavedHandler(RequiredFieldHandlers, std::string(name) + ".OnClick"));
      }
    }
    RequiredFieldHandlers.clear();
  }
  RequiredFields = list;
  for (const TRequiredItem& item : ParseRequiredFields(RequiredFields)) {
    Component* c = FindComponent(item.Name);
    if (c == nullptr) continue;
    if (IsPanel(c)) {
      const bool all = item.Part == 0;
      if (all || item.Part == 1)
        toolkit::SetOrdPropOf(PanelPart(c, "edBegin"), "Color", RequiredFieldColour);
      if (all || item.Part == 2)
        toolkit::SetOrdPropOf(PanelPart(c, "edFinal"), "Color", RequiredFieldColour);
      if (all || item.Part == 3)
        toolkit::SetOrdPropOf(PanelPart(c, "ListBox"), "Color", RequiredFieldColour);
    } else if (toolkit::HasProperty(c, "Color")) {
      toolkit::SetOrdPropOf(c, "Color", RequiredFieldColour);
    }
  }
  for (const char* name : buttons) {
    Component* b = FindComponent(name);
    if (b == nullptr) continue;
    const toolkit::Method current = toolkit::GetMethodPropOf(b, "OnClick");
    if (current != OnRequiredExit) {
      SaveHandler(RequiredFieldHandlers, std::string(name) + ".OnClick", current);
    }
    toolkit::SetMethodPropOf(b, "OnClick", OnRequiredExit);
  }
}

void TfrmBaseGene::RequiredExit(Component* Sender) {
  CheckFailed = false;
  Component* period = FindComponent("btnPeriod");
  const bool periodDown = period != nullptr && toolkit::GetOrdPropOf(period, "Down") != 0;
  if (Sender == static_cast<Component*>(btnOk) || (period != nullptr && periodDown)) {
    CheckFailed = CheckRequiredFields(RequiredFields);
  }
  if (Sender != nullptr && Sender == FindComponent("btnQuery")) {
    CheckFailed = CheckRequiredFields(RequiredFields);
  }
  if (Sender != nullptr && Sender == FindComponent("btnDesign")) {
    CheckFailed = CheckRequiredFields(RequiredFields);
  }
  if (period != nullptr && CheckFailed) {
    if (pgOption != nullptr && pgOption->ActivePageIndex() != pgOption->PageCount() - 1) {
      toolkit::SetOrdPropOf(period, "Down", 0);
      toolkit::SetOrdPropOf(pgOption->Pages(pgOption->PageCount() - 1), "TabVisible", 0);
    }
    return;
  }
  if (!CheckFailed && Sender != nullptr) {
    toolkit::CallHandler(SavedHandler(RequiredFieldHandlers, Sender->Name() + ".OnClick"), Sender);
  }
}

bool TfrmBaseGene::CheckRequiredFields(const std::string& List) {
  for (const TRequiredItem& item : ParseRequiredFields(List)) {
    if (!item.Examined()) continue;
    Component* c = FindComponent(item.Name);
    if (c == nullptr) continue;
    bool empty = false;
    WinControl* focus = dynamic_cast<WinControl*>(c);
    if (IsPanel(c)) {
      if (PanelInRangeMode(c)) {
        empty = IsTextEmpty(PanelPart(c, "edBegin")) || IsTextEmpty(PanelPart(c, "edFinal"));
        focus = PanelPart(c, "edBegin");
      } else {
        empty = toolkit::GetOrdPropOf(c, "RowCount") == 0;
        focus = PanelPart(c, "ListBox");
      }
    } else {
      empty = IsTextEmpty(c);
    }
    if (!empty) continue;
    ShowCode(MessageCode::RequiredEmpty);
    // The page that holds the field comes to the front.
    for (auto* p = dynamic_cast<Control*>(c); p != nullptr && p != this; p = p->Parent()) {
      if (auto* page = dynamic_cast<toolkit::TabSheet*>(p)) {
        if (page->GetPageControl() != nullptr) page->GetPageControl()->SetActivePage(page);
        break;
      }
    }
    if (focus != nullptr && focus->Showing() && focus->CanFocus()) focus->SetFocus();
    return true;
  }
  return false;
}

void TfrmBaseGene::TakeColourSnapshot(WinControl* Control) {
  for (toolkit::Control* child : Control->ControlList()) {
    auto* windowed = dynamic_cast<WinControl*>(child);
    if (windowed == nullptr) continue;
    if (IsPanel(child)) {
      for (const char* part : {"edBegin", "edFinal", "ListBox"}) {
        if (WinControl* p = PanelPart(child, part)) {
          ColourSnapshot.emplace_back(child->Name() + "." + part, p->Color());
        }
      }
    } else if (windowed->ControlCount() > 0 && dynamic_cast<toolkit::SpinEdit*>(child) == nullptr) {
      TakeColourSnapshot(windowed);
    } else if (toolkit::HasProperty(child, "Color")) {
      ColourSnapshot.emplace_back(child->Name(), child->Color());
    }
  }
}

void TfrmBaseGene::RestoreColours(WinControl* Control) {
  auto colourOf = [this](const std::string& key, toolkit::TColor& colour) {
    for (const auto& entry : ColourSnapshot) {
      if (automation::SameName(entry.first, key)) {
        colour = entry.second;
        return true;
      }
    }
    return false;
  };
  for (toolkit::Control* child : Control->ControlList()) {
    auto* windowed = dynamic_cast<WinControl*>(child);
    if (windowed == nullptr) continue;
    toolkit::TColor colour{};
    if (IsPanel(child)) {
      for (const char* part : {"edBegin", "edFinal", "ListBox"}) {
        WinControl* p = PanelPart(child, part);
        if (p != nullptr && colourOf(child->Name() + "." + part, colour)) p->SetColor(colour);
      }
    } else if (windowed->ControlCount() > 0 && dynamic_cast<toolkit::SpinEdit*>(child) == nullptr) {
      RestoreColours(windowed);
    } else if (toolkit::HasProperty(child, "Color") && colourOf(child->Name(), colour)) {
      child->SetColor(colour);
    }
  }
}
