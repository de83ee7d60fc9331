#include "support/Logs.h"

#include <cxxabi.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ios>
#include <memory>
#include <system_error>
#include <typeinfo>

#include "automation/DateTime.h"
#include "os/Paths.h"
#include "os/Registry.h"
#include "os/SystemInfo.h"
#include "support/GbkText.h"

namespace {

constexpr const char* kVarnelKey = "Software\\QRN\\Varnel";
constexpr const char* kErrorLogName = "Tormavex";
constexpr const char* kFallbackLogRoot = "/tmp";

// The local time now, with milliseconds.
struct Stamp {
  int year, month, day, hour, minute, second, millisecond;
};

Stamp Now() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  ::localtime_r(&now.tv_sec, &local);
  return Stamp{local.tm_year + 1900,
               local.tm_mon + 1,
               local.tm_mday,
               local.tm_hour,
               local.tm_min,
               local.tm_sec,
               static_cast<int>(now.tv_nsec / 1000000)};
}

std::string Printf(const char* format, auto... args) {
  char buffer[64];
  const int length = std::snprintf(buffer, sizeof buffer, format, args...);
  return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

std::string DatePart(const std::string& mode, int year, int month, int day) {
  if (mode == "M") return Printf("%.4d%.2d", year, month);
  if (mode == "Y") return Printf("%.4d", year);
  return Printf("%.4d%.2d%.2d", year, month, day);
}

std::string LogFolder(const std::string& root) {
  return os::JoinPath(root, "Log");
}

std::string AlertRoot() {
  std::string root = GetPlatformPath();
  return root.empty() ? os::ProgramFolder() : root;
}

std::string AlertFile(const std::string& root, const std::string& name, const std::string& mode) {
  const Stamp now = Now();
  const double today = automation::EncodeDate(now.year, now.month, now.day);
  return os::JoinPath(LogFolder(root), AlertLogFileName(name, mode, today));
}

std::string ErrorFile() {
  const Stamp now = Now();
  return os::JoinPath(LogFolder(GetLogRootPath()), std::string("Alert_") + kErrorLogName + "_" +
                                                       DatePart("D", now.year, now.month, now.day) +
                                                       ".log");
}

// Appends the line and CR LF to the file, creating its folder first. Never throws.
bool AppendLine(const std::string& file, const std::string& line) {
  try {
    std::error_code error;
    const std::filesystem::path path(file);
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) return false;
    std::FILE* out = std::fopen(file.c_str(), "ab");
    if (!out) return false;
    const std::string text = line + "\r\n";
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    const bool closed = std::fclose(out) == 0;
    return written && closed;
  } catch (...) {
    return false;
  }
}

std::string AlertLine(const std::string& message) {
  const Stamp n = Now();
  return Printf("[%.4d/%.2d/%.2d %.2d:%.2d:%.2d:%.3d] ", n.year, n.month, n.day, n.hour, n.minute,
                n.second, n.millisecond) +
         message;
}

bool WriteAlert(const std::string& root, const std::string& name, const std::string& message,
                const std::string& mode) {
  try {
    return AppendLine(AlertFile(root, name, mode), AlertLine(message));
  } catch (...) {
    return false;
  }
}

bool IsBlank(const std::string& text) {
  return text.find_first_not_of(" \t\r\n\f\v") == std::string::npos;
}

// The class name of an error as C++ spells it ("std::runtime_error", "automation::Error").
std::string ClassName(const std::exception& error) {
  const char* mangled = typeid(error).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> readable(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
  return status == 0 && readable ? std::string(readable.get()) : std::string(mangled);
}

}  // namespace

std::string AlertLogFileName(const std::string& name, const std::string& mode, double date) {
  int year = 0, month = 0, day = 0;
  automation::DecodeDate(date, year, month, day);
  std::string file = "Alert_" + name + "_" + DatePart(mode, year, month, day);
  if (name.find('.') == std::string::npos) file += ".log";
  return file;
}

std::string GetPlatformPath() {
  try {
    std::optional<os::RegistryKey> key =
        os::RegistryKey::OpenReadOnly(os::RegistryRoot::LocalMachine, kVarnelKey);
    if (!key) return {};
    std::string path = key->ReadString("ClientPath").value_or("");
    if (path.empty()) path = key->ReadString("ServerPath").value_or("");
    return os::NativePath(path);
  } catch (...) {
    return {};
  }
}

std::string GetLogRootPath() {
  try {
    std::string root = GetPlatformPath();
    if (root.empty()) root = os::TempDirectory();
    return root.empty() ? kFallbackLogRoot : root;
  } catch (...) {
    return kFallbackLogRoot;
  }
}

std::string AlertLogPath(const std::string& name, const std::string& mode) {
  return AlertFile(AlertRoot(), name, mode);
}

std::string UpdateLogPath(const std::string& name, const std::string& mode) {
  return AlertFile(os::ProgramFolder(), name, mode);
}

std::string ErrorLogPath() {
  return ErrorFile();
}

bool WriteAlertLog(const std::string& name, const std::string& message, const std::string& mode) {
  try {
    return WriteAlert(AlertRoot(), name, message, mode);
  } catch (...) {
    return false;
  }
}

bool WriteUpdateLog(const std::string& name, const std::string& message, const std::string& mode) {
  try {
    return WriteAlert(os::ProgramFolder(), name, message, mode);
  } catch (...) {
    return false;
  }
}

bool WriteErrorLog(const std::string& text) {
  try {
    const Stamp n = Now();
    return AppendLine(ErrorFile(), Printf("[%.4d/%.2d/%.2d %.2d:%.2d:%.2d] ", n.year, n.month,
                                          n.day, n.hour, n.minute, n.second) +
                                       text);
  } catch (...) {
    return false;
  }
}

void LogException(const std::exception* error, const std::string& place,
                  const std::string& programmerMessage) {
  try {
    const std::string dashes = "----------------------------------";
    const std::string part = IsBlank(place) ? std::string() : " on " + place + " ";
    WriteErrorLog(dashes + part + dashes);
    if (error) {
      WriteErrorLog(Gbk("讯息信息:"));
      int count = 0;
      if (const auto* engine = dynamic_cast<const EDBEngineError*>(error)) {
        for (const DBEngineErrorEntry& entry : engine->Errors()) {
          ++count;
          WriteErrorLog(
              Printf("EDBEngineError Error %.2d: Code: %d, Message: ", count, entry.ErrorCode) +
              entry.Message);
        }
      } else if (const auto* io = dynamic_cast<const std::ios_base::failure*>(error)) {
        count = 1;
        WriteErrorLog(
            Printf("EInOutError Error %.2d: Code: %d, Message: ", count, io->code().value()) +
            io->what());
      } else if (const auto* system = dynamic_cast<const std::system_error*>(error)) {
        count = 1;
        WriteErrorLog(
            Printf("EWin32Error Error %.2d: Code: %d, Message: ", count, system->code().value()) +
            system->what());
      } else {
        count = 1;
        WriteErrorLog("Exception is " + ClassName(*error) + "\r\n" +
                      Printf("Message %.2d: ", count) + error->what());
      }
      WriteErrorLog(Printf("ErrorMessage Count: %d", count));
    }
    if (!IsBlank(programmerMessage)) WriteErrorLog("Programer Message: " + programmerMessage);
  } catch (...) {
  }
}
