// Alert logs and error reports of the support library and the updater.
//
// Three writers append one line each to plain-text files under a "Log" folder; they never raise
// and never show anything, and report success as a yes/no that callers may ignore. Each line
// opens, appends to and closes its file on its own; lines end with CR LF as the system's log
// readers expect.
//
// Where the files go: the alert log below GetPlatformPath (the folder of the running program
// when that is empty), the update alert log always below the folder of the running program,
// the daily error log below GetLogRootPath. The folder "Log" below the root is created with all
// missing parents before each line. Time stamps are local time; the date and time separators
// are "/" and ":".
#pragma once

#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

// Appends "[YYYY/MM/DD hh:nn:ss:zzz] message" to <platform folder>/Log/Alert_<name>_<date>.log,
// the date part chosen by `mode` ("D" day, "M" month, "Y" year, anything else day).
bool WriteAlertLog(const std::string& name, const std::string& message, const std::string& mode);

// As WriteAlertLog, always below the folder of the running program.
bool WriteUpdateLog(const std::string& name, const std::string& message, const std::string& mode);

// Appends "[YYYY/MM/DD hh:nn:ss] text" to the daily error log
// <log root>/Log/Alert_Tormavex_<YYYYMMDD>.log.
bool WriteErrorLog(const std::string& text);

// Writes a small report of a caught error (none for a report without error) through
// WriteErrorLog, naming the place and the programmer's message. Errors are told apart by type:
// EDBEngineError (one line per engine error), std::ios_base::failure (input/output error),
// std::system_error (operating-system error), anything else by its class name and message.
void LogException(const std::exception* error, const std::string& place,
                  const std::string& programmerMessage);

// The platform folder from the registry ("ClientPath", else "ServerPath"); "" when neither.
std::string GetPlatformPath();

// The root of the daily error log: GetPlatformPath, else the temporary folder, else "/tmp";
// never empty.
std::string GetLogRootPath();

// The alert log's file name for a name, a mode and a date value: "Alert_" + name + "_" + date
// part, with ".log" appended only when the name holds no ".". The mode is compared exactly:
// "M" gives "YYYYMM", "Y" "YYYY", anything else "YYYYMMDD".
std::string AlertLogFileName(const std::string& name, const std::string& mode, double date);

// The files the writers append to at this moment (for tools and tests that look at the logs).
std::string AlertLogPath(const std::string& name, const std::string& mode);
std::string UpdateLogPath(const std::string& name, const std::string& mode);
std::string ErrorLogPath();

// One error of a database engine: its code and message.
struct DBEngineErrorEntry {
  int ErrorCode = 0;
  std::string Message;
};

// A database error carrying the engine's list of errors; LogException writes one line for each.
class EDBEngineError : public std::runtime_error {
 public:
  EDBEngineError(const std::string& message, std::vector<DBEngineErrorEntry> errors)
      : std::runtime_error(message), errors_(std::move(errors)) {}
  const std::vector<DBEngineErrorEntry>& Errors() const { return errors_; }

 private:
  std::vector<DBEngineErrorEntry> errors_;
};
