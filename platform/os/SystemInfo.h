// Names and folders of the running system: the user's login name, the computer name, the
// temporary folder and the folder of the running program.
//
// Folders are answered with a trailing "/", the way the system joins a folder and a file name.
#pragma once

#include <string>

namespace os {

// The login name of the current user (the password database's name for the effective user,
// else $USER, else $LOGNAME); "" when none is known.
std::string UserName();

// The computer's name as the module reads it: the host name cut to at most 15 characters (the
// length the ERP's home platform gives computer names), or "Unknown" when there is none.
std::string ComputerName();

// The temporary folder: $TMPDIR when set and not empty, else "/tmp"; with a trailing "/".
std::string TempDirectory();

// The full file name of the running program (the executable that loaded the module); "" when
// it cannot be found.
std::string ProgramFileName();

// The folder of the running program with a trailing "/"; "" when it cannot be found.
std::string ProgramFolder();

}  // namespace os
