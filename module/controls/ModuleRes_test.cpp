#include "controls/ModuleRes.h"

#include <gtest/gtest.h>

namespace {

using toolkit::Picture;

TEST(ModuleRes, CheckBoxPicturesAreNineteenByFourteenOnMagenta) {
  for (const char* name : {"CHECKED", "UNCHECKED", "GRAYED", "checked"}) {
    const Picture p = ModulePicture(name);
    EXPECT_EQ(p.Width(), 19) << name;
    EXPECT_EQ(p.Height(), 14) << name;
    EXPECT_EQ(p.TransparentColor(), Picture::Rgb(255, 0, 255)) << name;
    EXPECT_EQ(p.Pixel(0, 13), p.TransparentColor()) << name;
    EXPECT_NE(p.Pixel(3, 1), p.TransparentColor()) << name;  // the box's frame
  }
}

TEST(ModuleRes, TheThreeStatesLookDifferent) {
  const Picture checked = ModulePicture("CHECKED");
  const Picture unchecked = ModulePicture("UNCHECKED");
  const Picture grayed = ModulePicture("GRAYED");
  EXPECT_FALSE(checked == unchecked);
  EXPECT_FALSE(checked == grayed);
  EXPECT_FALSE(unchecked == grayed);
}

TEST(ModuleRes, UnknownNameGivesAnEmptyPicture) {
  EXPECT_TRUE(ModulePicture("CHECK").IsEmpty());
  EXPECT_TRUE(ModulePicture("").IsEmpty());
}

}  // namespace
