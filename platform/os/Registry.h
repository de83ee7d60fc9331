// The registry store: the values the ERP's client platform keeps in the system registry, read
// from one text file.
//
// The file has INI syntax (read with the rules of IniFile: names without regard to case, the
// first occurrence wins), one section per key, named by its root and path:
//
//   [HKEY_LOCAL_MACHINE\Software\QRN\Varnel]
//   ClientPath=/opt/qrn/client/
//   ServerPath=/opt/qrn/server/
//   ProfileType=0
//
//   [HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Nls\CodePage]
//   ACP=936
//
//   [HKEY_CLASSES_ROOT\ReportCounterS.dmReportCounter]
//   Library=ReportCounterS.so
//   Factory=CreateReportCounter
//
// Roots are written out in full (HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE,
// HKEY_USERS); HKCR, HKCU, HKLM and HKU are read as the same roots. A key path is compared
// without regard to case, "/" reads as "\" and leading or trailing "\" do not count. A key's
// unnamed (default) value is written "@=...". Values are bytes: GBK texts pass through. A key
// holds only its own values; a section for "A\B" does not make "A" exist.
//
// Where the file is: the file named by the environment variable QRN_REGISTRY when it is set and
// not empty; otherwise $HOME/.config/qrn/registry.ini when that file exists; otherwise
// /etc/qrn/registry.ini. The store is only ever read: a missing file or a missing section means
// the key cannot be opened, a missing name means the value is absent. The file is read again at
// every opening of a key, so a change is seen by the next reader; nothing is cached.
//
// The system's ANSI code page is the value "ACP" of the key
// HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Nls\CodePage (936 when absent or not a
// number). The first opening of any key in the process applies it with SetSystemCodePage (a
// code page the conversions do not know is applied as 437, the English code page).
//
// Classes created by name (automation::CreateObject) are found under
// HKEY_CLASSES_ROOT\<class name>, values "Library" (a library name as the system writes it)
// and "Factory" (the factory entry in it).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "os/IniFile.h"

namespace os {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users };

// The root's name as the store file writes it ("HKEY_LOCAL_MACHINE").
const char* RegistryRootName(RegistryRoot root);

// The store file in use now (see above); the file need not exist.
std::string RegistryStorePath();

// One key of the store, opened read-only: a copy of its values taken when it was opened.
class RegistryKey {
 public:
  // Opens root\path; nullopt when the store file or the key does not exist.
  static std::optional<RegistryKey> OpenReadOnly(RegistryRoot root, std::string_view path);

  // Whether the key has a value of that name ("" names the default value).
  bool ValueExists(std::string_view name) const;

  // The value's bytes; nullopt when the key has no such value.
  std::optional<std::string> ReadString(std::string_view name) const;

  // The key's values in file order.
  const std::vector<IniEntry>& Values() const { return values_; }

 private:
  explicit RegistryKey(std::vector<IniEntry> values) : values_(std::move(values)) {}
  std::vector<IniEntry> values_;
};

// The value's bytes, "" when the key cannot be opened or has no such value.
std::string RegistryReadString(RegistryRoot root, std::string_view path, std::string_view name);

// The system's ANSI code page as the store records it (936 when the value is absent or not a
// number); the number as written, also for code pages the conversions do not know (1252).
int GetACP();

// Reads the ANSI code page from the store and applies it with SetSystemCodePage now (the first
// opening of a key does this once by itself; a host that changes the store may call it again).
void ApplyStoreCodePage();

// Where a class created by name lives.
struct RegisteredClass {
  std::string library;
  std::string factory;
};

// The class key HKEY_CLASSES_ROOT\<className>; nullopt when the key, its "Library" or its
// "Factory" value is missing or empty.
std::optional<RegisteredClass> FindRegisteredClass(std::string_view className);

}  // namespace os
