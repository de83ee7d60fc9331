// The module's own pictures, looked up by resource name the way a window looks up a bitmap
// resource of its library: "CHECKED", "UNCHECKED" and "GRAYED", the default pictures of the
// bitmap check box (controls/BtChkBox.h). Each is 19 × 14 pixels: a 13 × 13 box one pixel below
// the top and three pixels from the left, on a magenta background that is also the picture's
// transparent colour.
#pragma once

#include <string_view>

#include "toolkit/Picture.h"

// The picture of that resource name (compared without regard to case); an empty picture for a
// name the module does not hold.
toolkit::Picture ModulePicture(std::string_view name);
