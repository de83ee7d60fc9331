// Alert logs and error reports of the support library and the updater.
//
// Three writers append one line each to plain-text files under a "Log" folder; they never raise
// and never show anything, and report success as a yes/no that callers may ignore.
#pragma once

#include <exception>
#include <string>

// Appends "[YYYY/MM/DD hh:nn:ss:zzz] message" to <platform folder>/Log/Alert_<name>_<date>.log,
// the date part chosen by `mode` ("D" day, "M" month, "Y" year, anything else day).
bool WriteAlertLog(const std::string& name, const std::string& message, const std::string& mode);

// As WriteAlertLog, always below the folder of the running program.
bool WriteUpdateLog(const std::string& name, const std::string& message, const std::string& mode);

// Appends one line to the daily error log <log root>/Log/Alert_Tormavex_<YYYYMMDD>.log.
bool WriteErrorLog(const std::string& text);

// Writes a small report of a caught error (none for a report without error) through
// WriteErrorLog, naming the place and the programmer's message.
void LogException(const std::exception* error, const std::string& place,
                  const std::string& programmerMessage);

// The platform folder from the registry ("ClientPath", else "ServerPath"); "" when neither.
std::string GetPlatformPath();

// The root of the daily error log: GetPlatformPath, else the temporary folder; never empty.
std::string GetLogRootPath();
