// Paths and names: how the Windows-style names the system uses map onto this platform.
//
// Folders are joined with "/" (a "\" in a stored path is read as "/"); a shared library keeps
// its stem and takes the ".so" suffix, whatever suffix the system wrote ("QZLB27S.DLL" →
// "QZLB27S.so", "Varirodizu.dll" → "Varirodizu.so", "OsResD5" → "OsResD5.so").
//
// An absolute path starts with "/"; a drive letter ("D:\Lib") or a network share
// ("\\server\share") written the system's way counts as absolute too. A path with one leading
// "\" is not absolute: the system's files use it for a folder below their installation root.
#pragma once

#include <string>
#include <string_view>

namespace os {

// The path with every "\" turned into "/".
std::string NativePath(std::string_view path);

// The file name of a shared library named the system's way; a folder part is kept.
std::string LibraryFileName(std::string_view name);

// Whether the path is absolute: "/...", a drive letter and ":" ("D:", "d:\x"), or two leading
// backslashes ("\\server\share").
bool IsAbsolutePath(std::string_view path);

// The folder with a trailing "/" (a trailing "\" is read as one); "" stays "".
std::string IncludeTrailingSlash(std::string_view folder);

// The folder and the name joined with exactly one "/" between them ("\" read as "/"); an empty
// folder gives the name alone.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace os
