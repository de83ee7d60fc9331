// OptionValues: the text formats in which condition schemes capture option values, and their
// reading back.
//
// Scheme paths are entries "component.property;" ("me01.text;cbo1.itemindex;sp1.style;");
// captured values are one line per entry, each ended by CR LF, an empty line where a path
// could not be read. A selection panel's value is its style name and its texts separated by
// character 3: "sp_Range" #3 begin #3 end, "sp_Discrete" #3 list, "sp_UserChoice" #3 "True" #3
// begin #3 end or "sp_UserChoice" #3 "False" #3 list. A list holds its rows, each row's columns
// joined by character 1 and every row ended by character 4. The window's members that read and
// write the controls (SaveScheme, ApplySchemeValues) live in framework/BaseGene.h; this header
// holds the formats, free of any window.
#pragma once

#include <string>
#include <string_view>
#include <vector>

inline constexpr char SchemeFieldMark = '\x03';
inline constexpr char SchemeRowMark = '\x04';
inline constexpr char SchemeColumnMark = '\x01';
inline constexpr const char* SchemeLineEnd = "\r\n";

using TSchemeRow = std::vector<std::string>;

// Splits a path entry at its first "." into component and property, both trimmed; false for an
// entry without "." or with an empty side.
bool SplitPath(std::string_view Entry, std::string& Component, std::string& Property);

// The list text of the rows: first column, then "#1" and the further columns joined by "#1",
// then "#4", for every row in order.
std::string ListTextOf(const std::vector<TSchemeRow>& Rows);

// The rows of field `FieldIndex` (from 1, "#3"-separated) of a captured panel value; empty
// parts are skipped, each part split at "#1" into its columns.
std::vector<TSchemeRow> ListRowsOf(std::string_view Value, int FieldIndex);

// The captured value of a panel from its style name and texts.
std::string RangeValueText(std::string_view Begin, std::string_view End);
std::string DiscreteValueText(const std::vector<TSchemeRow>& Rows);
std::string UserChoiceValueText(bool RangeChosen, std::string_view Begin, std::string_view End,
                                const std::vector<TSchemeRow>& Rows);

// Field `Index` (from 1) of a captured panel value.
std::string SchemeField(std::string_view Value, int Index);
