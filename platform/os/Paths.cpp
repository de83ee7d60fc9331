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

}  // namespace os
