#include "os/Paths.h"

#include <algorithm>

namespace os {

std::string NativePath(std::string_view path) {
  std::string result(path);
  std::replace(result.begin(), result.end(), '\\', '/');
  return result;
}

std::string LibraryFileName(std::string_view name) {
  std::string path = NativePath(name);
  const size_t slash = path.rfind('/');
  const size_t stemStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = path.rfind('.');
  if (dot != std::string::npos && dot > stemStart) {
    std::string suffix = path.substr(dot);
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (suffix == ".dll" || suffix == ".so") path.erase(dot);
  }
  return path + ".so";
}

bool IsAbsolutePath(std::string_view path) {
  if (path.starts_with("/") || path.starts_with("\\\\")) return true;
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

std::string IncludeTrailingSlash(std::string_view folder) {
  std::string result = NativePath(folder);
  if (!result.empty() && result.back() != '/') result += '/';
  return result;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string result = NativePath(folder);
  std::string tail = NativePath(name);
  if (result.empty()) return tail;
  while (result.size() > 1 && result.back() == '/') result.pop_back();
  const size_t first = tail.find_first_not_of('/');
  tail.erase(0, first == std::string::npos ? tail.size() : first);
  if (result.back() != '/') result += '/';
  return result + tail;
}

}  // namespace os
