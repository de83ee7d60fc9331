// Paths and names: how the Windows-style names the system uses map onto this platform.
//
// Folders are joined with "/" (a "\" in a stored path is read as "/"); a shared library keeps
// its stem and takes the ".so" suffix, whatever suffix the system wrote ("QZLB27S.DLL" →
// "QZLB27S.so", "Varirodizu.dll" → "Varirodizu.so", "OsResD5" → "OsResD5.so").
#pragma once

#include <string>
#include <string_view>

namespace os {

// The path with every "\" turned into "/".
std::string NativePath(std::string_view path);

// The file name of a shared library named the system's way; a folder part is kept.
std::string LibraryFileName(std::string_view name);

}  // namespace os
