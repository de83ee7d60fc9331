// Shared libraries loaded by name at run time, with their entries looked up by name.
//
// Names are the system's ("Varirodizu.dll", "QZLB27S.DLL"): the stem is kept and ".so" is
// taken. A name with a folder is loaded from there; a bare name is searched in the folders of
// QZLB27_LIBRARY_PATH (separated by ":"), then beside this library, then by the dynamic loader.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace automation {

class DynamicLibrary {
 public:
  // Loads the library; throws automation::Error with the loader's message on failure.
  static std::unique_ptr<DynamicLibrary> Load(std::string_view name);
  // Loads the library, or answers nullptr and the loader's message.
  static std::unique_ptr<DynamicLibrary> TryLoad(std::string_view name, std::string* error = nullptr);

  ~DynamicLibrary();
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // The address of an entry, or nullptr when the library has none of that name.
  void* Entry(std::string_view name) const;
  template <typename F>
  F* EntryAs(std::string_view name) const {
    return reinterpret_cast<F*>(Entry(name));
  }

  // The file the library was loaded from.
  const std::string& FileName() const { return fileName_; }

  // Keeps the library loaded for the life of the process.
  void Pin() { pinned_ = true; }

 private:
  DynamicLibrary(void* handle, std::string fileName) : handle_(handle), fileName_(std::move(fileName)) {}
  void* handle_;
  std::string fileName_;
  bool pinned_ = false;
};

}  // namespace automation
