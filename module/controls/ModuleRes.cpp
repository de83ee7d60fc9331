#include "controls/ModuleRes.h"

#include <cctype>
#include <string>

namespace {

using toolkit::Picture;

const int kKey = Picture::Rgb(255, 0, 255);

// The check mark, 7 × 7, drawn inside the box's white (or grey) field.
constexpr const char* kCheckMark[7] = {
    "......X",  //
    ".....XX",  //
    "X...XXX",  //
    "XX.XXX.",  //
    "XXXXX..",  //
    ".XXX...",  //
    "..X....",  //
};

enum class Kind { Unchecked, Checked, Grayed };

Picture DrawBox(Kind kind) {
  Picture p(19, 14, kKey);
  constexpr int left = 3, top = 1, side = 13;
  const int frame = Picture::Rgb(0x70, 0x70, 0x70);
  const int field =
      kind == Kind::Grayed ? Picture::Rgb(0xD8, 0xD8, 0xD8) : Picture::Rgb(255, 255, 255);
  const int mark =
      kind == Kind::Grayed ? Picture::Rgb(0x80, 0x80, 0x80) : Picture::Rgb(0x20, 0x20, 0x20);
  p.FillRect(left, top, side, side, frame);
  p.FillRect(left + 1, top + 1, side - 2, side - 2, field);
  if (kind != Kind::Unchecked) {
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 7; ++x)
        if (kCheckMark[y][x] == 'X') p.SetPixel(left + 3 + x, top + 3 + y, mark);
  }
  p.SetTransparentColor(kKey);
  return p;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

toolkit::Picture ModulePicture(std::string_view name) {
  if (SameName(name, "CHECKED")) return DrawBox(Kind::Checked);
  if (SameName(name, "UNCHECKED")) return DrawBox(Kind::Unchecked);
  if (SameName(name, "GRAYED")) return DrawBox(Kind::Grayed);
  return {};
}
