#include "os/SystemInfo.h"

#include <limits.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace os {

std::string UserName() {
  std::vector<char> buffer(16384);
  passwd entry;
  passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      found->pw_name && *found->pw_name)
    return found->pw_name;
  for (const char* name : {"USER", "LOGNAME"})
    if (const char* value = std::getenv(name); value && *value) return value;
  return {};
}

std::string ComputerName() {
  char buffer[HOST_NAME_MAX + 1] = {};
  if (::gethostname(buffer, sizeof buffer - 1) != 0 || buffer[0] == '\0') return "Unknown";
  std::string name(buffer);
  if (name.size() > 15) name.resize(15);
  return name;
}

std::string TempDirectory() {
  std::string folder = "/tmp";
  if (const char* value = std::getenv("TMPDIR"); value && *value) folder = value;
  if (folder.back() != '/') folder += '/';
  return folder;
}

std::string ProgramFileName() {
  std::vector<char> buffer(PATH_MAX + 1);
  const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return {};
  return std::string(buffer.data(), static_cast<size_t>(length));
}

std::string ProgramFolder() {
  std::string file = ProgramFileName();
  const size_t slash = file.rfind('/');
  if (slash == std::string::npos) return {};
  return file.substr(0, slash + 1);
}

}  // namespace os
