// The commands of qzlb27-tool, one call per command line.
//
//   config client | config server
//   schedule next START PERIOD | schedule preview START PERIOD N
//   date add DATE UNIT COUNT | date shift BASE COUNT UNIT ADJUSTMENT DAYS
//   date parse TEXT CODE SEP | date format CODE SEP YYYYMMDD
//   password encode TEXT | password decode TEXT
//   format FORMAT ARG...      (ARG: i:42, f:1.5 or s:text)
//
// PERIOD: day:N, week:N:WEEKDAY, month:N:DAY, monthday:N:POSITION:WEEKDAY or hour:H, with
// WEEKDAY 0 = Sunday ... 6 = Saturday and POSITION 0..3 first..fourth, 4 last.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

// A command line that cannot be run as written; the message names the argument.
class BadArgument : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The answer of one command: its lines, and whether the command failed (a format that does
// not fit its arguments answers "ERROR: <reason>" and fails).
struct CommandAnswer {
  std::vector<std::string> lines;
  bool failed = false;
};

// Runs one command (its words without the program name). Throws BadArgument.
CommandAnswer RunCommand(const std::vector<std::string>& words);

// The usage text, several lines.
std::string UsageText();
