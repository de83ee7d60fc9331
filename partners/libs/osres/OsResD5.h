// OsResD5: the maker's picture library ("OsResD5.dll", here OsResD5.so). Windows store a picture
// number for their tool buttons instead of a picture; the buttons fetch the picture from here by
// that number. The module links the library at load time.
//
// The entries are C++ functions with default visibility and C++ linkage, taking the toolkit's
// picture type (toolkit/Picture.h) by reference; library and module share the one toolkit
// library of the process, so the picture crosses the boundary as the same type.
//
// The pictures are drawn by the library itself when asked for, 23 × 23 pixels unless said
// otherwise, on a magenta background (red 255, green 0, blue 255) that is also set as their
// transparent colour (it is the colour of the lower-left pixel too). Numbers held:
//
//   1  save (a diskette)            8  lookup (a magnifier)
//   2  open (an opened folder)      9  date picker (a calendar sheet)
//   3  delete (a waste bin)        39  notification users (two persons)
//   4  list / clear list, 46 × 23: two images side by side, normal and disabled
//  47  delete a row (a red cross)
//
// A number between 1 and GetMaxBmpID() that names none of these holds no picture.
#pragma once

#define OSRESD5_EXPORT __attribute__((visibility("default")))

namespace toolkit {
class Picture;
}

// The highest picture number the library holds.
OSRESD5_EXPORT int GetMaxBmpID();

// Loads picture number `index` into `bitmap` (size, pixels, transparent colour and number of
// images side by side are replaced) and answers true. A number the library holds no picture for
// answers false and leaves `bitmap` as it was. Never throws.
OSRESD5_EXPORT bool LoadBmp(toolkit::Picture& bitmap, int index);
