#include "os/Registry.h"

#include <sys/stat.h>

#include <cstdlib>
#include <mutex>

#include "os/CodePage.h"

namespace os {
namespace {

constexpr std::string_view kCodePageKey = "SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage";

bool FileExists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// "Software/QRN\Varnel\" → "Software\QRN\Varnel".
std::string NormalKeyPath(std::string_view path) {
  std::string result(path);
  for (char& c : result)
    if (c == '/') c = '\\';
  const size_t first = result.find_first_not_of('\\');
  if (first == std::string::npos) return {};
  const size_t last = result.find_last_not_of('\\');
  return result.substr(first, last - first + 1);
}

std::optional<RegistryRoot> RootFromName(std::string_view name) {
  struct {
    const char* full;
    const char* shortName;
    RegistryRoot root;
  } roots[] = {
      {"HKEY_CLASSES_ROOT", "HKCR", RegistryRoot::ClassesRoot},
      {"HKEY_CURRENT_USER", "HKCU", RegistryRoot::CurrentUser},
      {"HKEY_LOCAL_MACHINE", "HKLM", RegistryRoot::LocalMachine},
      {"HKEY_USERS", "HKU", RegistryRoot::Users},
  };
  for (const auto& r : roots)
    if (SameText(name, r.full) || SameText(name, r.shortName)) return r.root;
  return std::nullopt;
}

// The key's values, without applying the code page (the code page itself is read this way).
std::optional<std::vector<IniEntry>> ReadKey(RegistryRoot root, std::string_view path) {
  IniFile store(RegistryStorePath());
  if (!store.Exists()) return std::nullopt;
  const std::string wanted = NormalKeyPath(path);
  for (const std::string& section : store.ReadSections()) {
    std::string normal = NormalKeyPath(section);
    const size_t cut = normal.find('\\');
    std::optional<RegistryRoot> sectionRoot = RootFromName(std::string_view(normal).substr(0, cut));
    if (!sectionRoot || *sectionRoot != root) continue;
    std::string_view keyPath =
        cut == std::string::npos ? std::string_view() : std::string_view(normal).substr(cut + 1);
    if (SameText(keyPath, wanted)) return store.ReadSectionValues(section);
  }
  return std::nullopt;
}

std::optional<std::string> FindValue(const std::vector<IniEntry>& values, std::string_view name) {
  if (name.empty()) name = "@";
  for (const IniEntry& entry : values)
    if (SameText(entry.name, name)) return entry.value;
  return std::nullopt;
}

int ReadACP() {
  std::optional<std::vector<IniEntry>> key = ReadKey(RegistryRoot::LocalMachine, kCodePageKey);
  if (!key) return CP_GBK;
  std::optional<std::string> text = FindValue(*key, "ACP");
  if (!text || text->empty()) return CP_GBK;
  int value = 0;
  for (char c : *text) {
    if (c < '0' || c > '9' || value > 1000000) return CP_GBK;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::once_flag g_codePageApplied;

}  // namespace

const char* RegistryRootName(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::ClassesRoot:
      return "HKEY_CLASSES_ROOT";
    case RegistryRoot::CurrentUser:
      return "HKEY_CURRENT_USER";
    case RegistryRoot::LocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case RegistryRoot::Users:
      return "HKEY_USERS";
  }
  return "";
}

std::string RegistryStorePath() {
  if (const char* named = std::getenv("QRN_REGISTRY"); named && *named) return named;
  if (const char* home = std::getenv("HOME"); home && *home) {
    std::string personal = std::string(home) + "/.config/qrn/registry.ini";
    if (FileExists(personal)) return personal;
  }
  return "/etc/qrn/registry.ini";
}

std::optional<RegistryKey> RegistryKey::OpenReadOnly(RegistryRoot root, std::string_view path) {
  std::call_once(g_codePageApplied, ApplyStoreCodePage);
  std::optional<std::vector<IniEntry>> values = ReadKey(root, path);
  if (!values) return std::nullopt;
  return RegistryKey(std::move(*values));
}

bool RegistryKey::ValueExists(std::string_view name) const {
  return FindValue(values_, name).has_value();
}

std::optional<std::string> RegistryKey::ReadString(std::string_view name) const {
  return FindValue(values_, name);
}

std::string RegistryReadString(RegistryRoot root, std::string_view path, std::string_view name) {
  std::optional<RegistryKey> key = RegistryKey::OpenReadOnly(root, path);
  if (!key) return {};
  return key->ReadString(name).value_or(std::string());
}

int GetACP() {
  return ReadACP();
}

void ApplyStoreCodePage() {
  const int codePage = ReadACP();
  SetSystemCodePage(IsKnownCodePage(codePage) ? codePage : CP_US);
}

std::optional<RegisteredClass> FindRegisteredClass(std::string_view className) {
  if (className.empty()) return std::nullopt;
  std::optional<RegistryKey> key = RegistryKey::OpenReadOnly(RegistryRoot::ClassesRoot, className);
  if (!key) return std::nullopt;
  RegisteredClass found{key->ReadString("Library").value_or(""),
                        key->ReadString("Factory").value_or("")};
  if (found.library.empty() || found.factory.empty()) return std::nullopt;
  return found;
}

}  // namespace os
