#include "automation/DynamicLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

#include "automation/Variant.h"
#include "os/Paths.h"

namespace automation {
namespace {

// The folder this library was loaded from: partner libraries are installed beside it.
std::string OwnFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&OwnFolder), &info) && info.dli_fname)
    return std::filesystem::path(info.dli_fname).parent_path().string();
  return {};
}

std::vector<std::string> Candidates(const std::string& file) {
  if (file.find('/') != std::string::npos) return {file};
  std::vector<std::string> result;
  if (const char* env = std::getenv("QZLB27_LIBRARY_PATH")) {
    std::string list(env);
    size_t start = 0;
    while (start <= list.size()) {
      size_t end = list.find(':', start);
      if (end == std::string::npos) end = list.size();
      if (end > start) result.push_back(list.substr(start, end - start) + "/" + file);
      start = end + 1;
    }
  }
  const std::string own = OwnFolder();
  if (!own.empty()) result.push_back(own + "/" + file);
  result.push_back(file);  // the dynamic loader's own search
  return result;
}

}  // namespace

std::unique_ptr<DynamicLibrary> DynamicLibrary::TryLoad(std::string_view name, std::string* error) {
  static std::mutex mutex;  // dlerror() is per thread, but keep load and message together
  std::lock_guard<std::mutex> lock(mutex);
  const std::string file = os::LibraryFileName(name);
  std::string firstError;
  for (const std::string& candidate : Candidates(file)) {
    const bool searched = candidate == file && file.find('/') == std::string::npos;
    if (!searched && access(candidate.c_str(), F_OK) != 0) continue;
    if (void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle, candidate));
    }
    if (firstError.empty()) {
      const char* message = dlerror();
      firstError = message ? message : "cannot load " + candidate;
    }
  }
  if (error) *error = firstError.empty() ? file + ": cannot open shared object file" : firstError;
  return nullptr;
}

std::unique_ptr<DynamicLibrary> DynamicLibrary::Load(std::string_view name) {
  std::string error;
  auto library = TryLoad(name, &error);
  if (!library) throw Error(error);
  return library;
}

DynamicLibrary::~DynamicLibrary() {
  if (handle_ && !pinned_) dlclose(handle_);
}

void* DynamicLibrary::Entry(std::string_view name) const {
  return dlsym(handle_, std::string(name).c_str());
}

}  // namespace automation
