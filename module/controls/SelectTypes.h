// The enumerations of the selection panel (controls/SelectPnl.h), published with their names so
// that schemes, language packs and form descriptions write them as "sp_Range", "vt_Date",
// "dt_YYMMDD" or "cd_CaseInsensitive". They live in the namespace SelectTypes for the meta-object
// system and are brought into the global namespace, where module code uses them.
#pragma once

#include <QObject>

namespace SelectTypes {
Q_NAMESPACE

// Range entry only; list entry only; either, chosen with the panel's choice box.
enum TSelectStyle { sp_Range, sp_Discrete, sp_UserChoice };
Q_ENUM_NS(TSelectStyle)

// How the begin and end values are compared when the focus leaves the panel.
enum TValueType { vt_String, vt_Number, vt_Date, vt_Time, vt_Float, vt_OtherMask };
Q_ENUM_NS(TValueType)

// Order of the date parts; in dt_YYMMDD and dt_YYYMMDD the year counts from the founding of the
// Republic of China (calendar year = year part + 1911).
enum TDateType { dt_NoneCare, dt_YYYYMMDD, dt_MMDDYYYY, dt_DDMMYYYY, dt_YYMMDD, dt_YYYMMDD };
Q_ENUM_NS(TDateType)

// Whether rows with equal first cells are kept: yes; no, compared exactly; no, ignoring case.
enum TCheckDuplicate { cd_None, cd_CheckCase, cd_CaseInsensitive };
Q_ENUM_NS(TCheckDuplicate)

}  // namespace SelectTypes

using SelectTypes::TCheckDuplicate;
using SelectTypes::TDateType;
using SelectTypes::TSelectStyle;
using SelectTypes::TValueType;
using enum SelectTypes::TSelectStyle;
using enum SelectTypes::TValueType;
using enum SelectTypes::TDateType;
using enum SelectTypes::TCheckDuplicate;
