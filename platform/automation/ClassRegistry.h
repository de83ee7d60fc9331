// Creating objects by class name, the way an in-process automation server is found by its
// class name ("ReportCounterS.dmReportCounter").
//
// Classes are found first among the factories registered in this process, then through the
// class locator, which names a shared library and a factory entry in it. While no locator is
// installed the registry store's class keys serve as the locator ("Library" and "Factory" of
// HKEY_CLASSES_ROOT\<class name>, see os/Registry.h); tests may install their own. A factory
// entry has the C signature
//   extern "C" automation::DispatchObject* Factory(const char* className);
// and returns a new object that the caller owns. Libraries loaded for classes stay loaded.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "automation/Dispatch.h"

namespace automation {

using ClassFactory = std::function<DispatchPtr()>;
using FactoryEntry = DispatchObject* (*)(const char* className);

struct ClassLocation {
  std::string library;  // a library name as the system writes it; see DynamicLibrary
  std::string factory;  // the factory entry's name
};
using ClassLocator = std::function<std::optional<ClassLocation>(std::string_view className)>;

// Registers a factory under a class name (compared without regard to case); replaces an earlier
// one of the same name.
void RegisterClass(std::string className, ClassFactory factory);
void UnregisterClass(std::string_view className);

// Installs the locator used for classes without a registered factory; an empty function
// removes it, and the registry store's class keys serve again.
void SetClassLocator(ClassLocator locator);

// Creates an object of the class. Throws automation::Error "Invalid class string" (with the
// name) when no factory and no location is known, or the library's error when it cannot load.
DispatchPtr CreateObject(std::string_view className);

// CreateObject wrapped in a Variant.
Variant CreateOleObject(std::string_view className);

}  // namespace automation
