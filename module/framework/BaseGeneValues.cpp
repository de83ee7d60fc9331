// BaseGene, option values: the members of TfrmBaseGene that capture and restore scheme values.
#include <exception>

#include "controls/SelectPnl.h"
#include "framework/BaseGene.h"
#include "support/LibStrs.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/Properties.h"

using automation::Variant;
using toolkit::Component;

namespace {

bool IsPanel(const Component* c) {
  return c != nullptr && c->InheritsFrom("TSelectPanel");
}

// The value list of a selection panel; null for any other component.
TZelListView* PanelList(Component* panel) {
  auto* p = dynamic_cast<TSelectPanel*>(panel);
  return p == nullptr ? nullptr : p->ListBox();
}

// The rows as the list shows them, with every change still on its way to a long list.
std::vector<TSchemeRow> RowsOf(TZelListView* list) {
  std::vector<TSchemeRow> rows;
  if (list == nullptr) return rows;
  const int count = list->RowCount();
  rows.reserve(count);
  for (int i = 0; i < count; ++i) {
    TSchemeRow row{list->RowCaption(i)};
    for (std::string& sub : list->RowSubItems(i)) row.push_back(std::move(sub));
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace

std::string TfrmBaseGene::PanelListText(Component* Panel) {
  return ListTextOf(RowsOf(PanelList(Panel)));
}

bool TfrmBaseGene::LoadPanelList(const std::string& Text, Component* Panel, int FieldIndex) {
  try {
    TZelListView* list = PanelList(Panel);
    if (list == nullptr) return false;
    list->ClearRows();
    for (const TSchemeRow& row : ListRowsOf(Text, FieldIndex)) {
      if (!list->AddRow(row)) return false;
    }
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

std::string TfrmBaseGene::CaptureValues(const std::string& Paths) {
  std::string values;
  std::string rest = Paths;
  while (!rest.empty()) {
    const std::string entry = detail::TrimText(TakeToken(rest, ";"));
    std::string name, property;
    Component* c = nullptr;
    if (SplitPath(entry, name, property)) c = FindComponent(name);
    if (c == nullptr) {
      values += SchemeLineEnd;  // positions always correspond to the paths
      continue;
    }
    std::string value;
    const toolkit::PropKind kind = toolkit::PropertyKind(c, property);
    if (IsListedName(DateFields, c->Name()) && !IsPanel(c)) {
      auto it = DateEnvironment.find(c->Name());
      value = it == DateEnvironment.end() ? std::string() : it->second;
    } else {
      switch (kind) {
        case toolkit::PropKind::Integer:
        case toolkit::PropKind::Set:
          value = std::to_string(toolkit::GetOrdPropOf(c, property));
          break;
        case toolkit::PropKind::Enumeration:
          value = toolkit::GetEnumPropOf(c, property);
          break;
        case toolkit::PropKind::Float:
          value = automation::VarToStr(Variant(toolkit::GetFloatPropOf(c, property)));
          break;
        case toolkit::PropKind::Text:
          value = toolkit::GetStrPropOf(c, property);
          break;
        case toolkit::PropKind::None:
          if (c->InheritsFrom("TComboBox"))
            value = std::to_string(toolkit::GetOrdPropOf(c, "ItemIndex"));
          break;
        default:
          break;
      }
    }
    if (IsPanel(c)) {
      const std::string begin = toolkit::GetStrPropOf(c->FindComponent("edBegin"), "Text");
      const std::string end = toolkit::GetStrPropOf(c->FindComponent("edFinal"), "Text");
      if (value == "sp_Range") {
        if (IsListedName(DateFields, c->Name())) {
          auto it = DateEnvironment.find(c->Name());
          value = "sp_Range" + std::string(1, SchemeFieldMark) +
                  (it == DateEnvironment.end() ? std::string() : it->second);
        } else {
          value = RangeValueText(begin, end);
        }
      } else if (value == "sp_Discrete") {
        value = DiscreteValueText(RowsOf(PanelList(c)));
      } else if (value == "sp_UserChoice") {
        value = UserChoiceValueText(toolkit::GetEnumPropOf(c, "UserChoice") == "True", begin, end,
                                    RowsOf(PanelList(c)));
      }
    }
    values += value + SchemeLineEnd;
  }
  return values;
}

bool TfrmBaseGene::ApplySchemeValues(const std::string& Paths, const std::string& Values) {
  std::string paths = Paths;
  std::string values = Values;
  const int code = DateFormatCode();
  const std::string separator = DateSeparatorText();
  auto shown = [&](const std::string& ymd) {
    return FormatDateSep(code, separator, DateFromYmdText(ymd));
  };
  try {
    while (!paths.empty()) {
      const std::string entry = detail::TrimText(TakeToken(paths, ";"));
      const std::string value = TakeToken(values, SchemeLineEnd);  // consumed even when skipped
      std::string name, property;
      if (!SplitPath(entry, name, property)) continue;
      Component* c = FindComponent(name);
      if (c == nullptr) continue;
      BeforeApplyValue(c, value);
      const bool dateField = IsListedName(DateFields, c->Name());
      if (IsPanel(c)) {
        const std::string style = SchemeField(value, 1);
        Component* begin = c->FindComponent("edBegin");
        Component* end = c->FindComponent("edFinal");
        if (style == "sp_Range") {
          if (dateField) {
            toolkit::SetStrPropOf(c, "EditMask", DateEditMask());
            toolkit::SetStrPropOf(begin, "Text", shown(SchemeField(value, 2)));
            toolkit::SetStrPropOf(end, "Text", shown(SchemeField(value, 3)));
          } else {
            toolkit::SetStrPropOf(begin, "Text", SchemeField(value, 2));
            toolkit::SetStrPropOf(end, "Text", SchemeField(value, 3));
          }
        } else if (style == "sp_Discrete") {
          if (!LoadPanelList(value, c, 2)) throw automation::Error("parse spSaveValue error");
        } else if (style == "sp_UserChoice") {
          toolkit::SetPropValue(c, "UserChoice", Variant(SchemeField(value, 2)));
          if (SchemeField(value, 2) != "True") {
            LoadPanelList(value, c, 3);
          } else {
            toolkit::SetStrPropOf(begin, "Text", SchemeField(value, 3));
            toolkit::SetStrPropOf(end, "Text", SchemeField(value, 4));
          }
        }
        continue;
      }
      const toolkit::PropKind kind = toolkit::PropertyKind(c, property);
      if (kind != toolkit::PropKind::None) {
        switch (kind) {
          case toolkit::PropKind::Integer:
          case toolkit::PropKind::Set:
          case toolkit::PropKind::Enumeration:
          case toolkit::PropKind::Float:
            toolkit::SetPropValue(c, property, Variant(value));
            break;
          case toolkit::PropKind::Text:
            if (dateField) {
              toolkit::SetStrPropOf(c, "EditMask", DateEditMask());
              toolkit::SetStrPropOf(c, property, shown(value));
            } else {
              toolkit::SetStrPropOf(c, property, value);
            }
            break;
          default:
            // A property of another kind cannot take a text: this entry is skipped and the
            // later values are still restored.
            continue;
        }
      } else if (c->InheritsFrom("TComboBox")) {
        toolkit::SetOrdPropOf(c, "ItemIndex", std::stoi(value));
      }
      AfterApplyValue(c, value);
    }
    return true;
  } catch (const std::exception&) {
    return false;
  }
}
