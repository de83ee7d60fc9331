// Messages: the option window's message codes, their texts from the manager, the message
// dialogs with localised button captions, and the two logs MessageCodes and MessageLog.
//
// A code string is a type letter, ";", a six-digit number and up to ten arguments each
// introduced by ";" ("E;000038", "W;000004;" + text). A number that does not read as a positive
// integer ("I;-000004;J123") records the message without showing it. Type letters pick the
// dialog kind and its default buttons: C, W and Q warning/confirmation with OK and Cancel, D
// warning with Yes, No and Cancel, E error and I information with OK, any other letter a plain
// dialog with OK.
//
// The operations are members of TGeneServices (framework/ServerAccess.h), which the option
// window derives from: `ShowCode`, `RecordError`, `GetMessageText`, `ShowMessageCode`,
// `ShowText`. This header names the codes the framework itself raises.
#pragma once

#include "framework/ServerAccess.h"

namespace MessageCode {
inline constexpr const char* ShortParameters = "E;000038";  // host parameter array too short
inline constexpr const char* WrongProgram = "E;000036";     // component name ≠ program code
inline constexpr const char* NoJobServer = "E;000006";      // no job-server connection
inline constexpr const char* UnusableNames = "W;000014";    // pushed names take no values
inline constexpr const char* BuildFailed = "E;000030";      // building the request failed
inline constexpr const char* InvalidDate = "E;000005";      // a date field is not a date
inline constexpr const char* RequiredEmpty = "E;000037";    // a required field is empty
inline constexpr const char* RawError = "E;-1";             // pseudo-code of a raw error text
}  // namespace MessageCode
