// A picture of what a window shows, for tests and tools that look at windows headlessly.
#pragma once

#include <string>

namespace toolkit {

class Control;

// Renders the control (normally a form) offscreen, as it would appear on the screen, and writes
// it as a PNG file at `path` (UTF-8). The window need not be shown; showing it is not changed and
// no show or hide handler runs. False when the file cannot be written.
bool SaveWindowPicture(Control* window, const std::string& path);

}  // namespace toolkit
