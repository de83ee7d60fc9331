// Varirodizu: the code-conversion library the module loads by name ("Varirodizu.dll") to show
// its Simplified Chinese window texts on a Traditional Chinese installation and back.
//
// "GBtoBIG5" takes a text in code page 936 (GBK) written with Simplified characters and gives
// the same text in code page 950 (BIG5) with Traditional characters; "BIG5toGB" goes the other
// way. Characters are mapped by OpenCC's "s2t" and "t2s" conversions and re-encoded with iconv.
// A character without an equivalent in the target code page becomes "?", bytes that are no
// character of the source code page become "?" too; the rest of the text is always kept.
//
// Each entry takes a zero-terminated text (a null pointer reads as "") and answers a
// zero-terminated text owned by the library, valid until the next call of any entry on the same
// thread. Entries may be called from several threads.
//
// The OpenCC conversions are loaded once per process, at the first conversion. Their
// configuration files are looked up by name in OpenCC's own data folder, or only in the folder
// named by the environment variable QZLB27_OPENCC_DIR when it is set. When they cannot be
// loaded the library still works: texts are then converted by code page only, without changing
// Simplified characters into Traditional ones or back.
//
// "GetBIG5Data", "GetGBData" and "SaveOrder" exist because the module looks them up; nothing
// calls them, and they do nothing (they answer "").
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

#define VARIRODIZU_EXPORT __attribute__((visibility("default")))

// The type of every entry.
typedef const char* (*VarirodizuEntry)(const char* text);

VARIRODIZU_EXPORT const char* GBtoBIG5(const char* text);
VARIRODIZU_EXPORT const char* BIG5toGB(const char* text);

VARIRODIZU_EXPORT const char* GetBIG5Data(const char* text);
VARIRODIZU_EXPORT const char* GetGBData(const char* text);
VARIRODIZU_EXPORT const char* SaveOrder(const char* text);

#ifdef __cplusplus
}
#endif
