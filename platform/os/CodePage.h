// Code pages: conversion of 8-bit text between the code pages the module knows and UTF-16.
//
// The module keeps its texts as 8-bit strings in code page 936 (GBK); windows converted for
// Traditional Chinese use 950 (BIG5) and English windows 437. Conversions go through iconv.
// A character that has no equivalent in the target code page becomes "?" and never shortens
// the text; bytes that do not decode become "?" too. A conversion only fails (ok == false)
// when the code page itself is unknown.
#pragma once

#include <string>
#include <string_view>

namespace os {

// Code page numbers used across the system.
inline constexpr int CP_GBK = 936;
inline constexpr int CP_BIG5 = 950;
inline constexpr int CP_US = 437;
inline constexpr int CP_UTF8 = 65001;

// The iconv name of a code page ("CP936", "CP950", "CP437", "UTF-8"), or nullptr when the
// code page is not one this layer converts.
const char* CodePageName(int codePage);

// Whether text in the code page can be converted.
bool IsKnownCodePage(int codePage);

// 8-bit text in `codePage` to UTF-16. On an unknown code page returns "" and sets *ok to false.
std::u16string AnsiToWide(std::string_view text, int codePage, bool* ok = nullptr);

// UTF-16 to 8-bit text in `codePage`; characters the code page lacks become "?".
// On an unknown code page returns "" and sets *ok to false.
std::string WideToAnsi(std::u16string_view text, int codePage, bool* ok = nullptr);

// 8-bit text from one code page to another (through UTF-16).
std::string ConvertAnsi(std::string_view text, int fromCodePage, int toCodePage);

// UTF-8 and UTF-16 (for the platform layers that meet Qt or libxml2).
std::u16string Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::u16string_view text);

// The system's ANSI code page: what "the system's default conversion" means. 936 until set;
// the registry store sets it from its configured value when it is opened.
int SystemCodePage();
void SetSystemCodePage(int codePage);

// Whether `byte` opens a two-byte character in the code page (GBK and BIG5 lead bytes
// 0x81..0xFE; code page 437 and UTF-8 have none).
bool IsLeadByte(unsigned char byte, int codePage);

}  // namespace os
