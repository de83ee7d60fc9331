// Image lists filled from a picture strip among the Qt resources (the Bitmap property), directly
// and from a form description.
#include "toolkit/ImageList.h"

#include <gtest/gtest.h>

#include <QImage>
#include <memory>
#include <string>

#include "toolkit/Form.h"
#include "toolkit/FormDescription.h"
#include "toolkit/Properties.h"

namespace toolkit {
namespace {

constexpr char kStrip[] = ":/testdata/images/ImageStrip.xpm";
constexpr char kAlphaStrip[] = ":/testdata/images/ImageStripAlpha.xpm";

int Alpha(const ImageList& images, int index, int x, int y) {
  return qAlpha(images.Pixmap(index).toImage().pixel(x, y));
}

TEST(ImageListBitmapTest, StripFromResourceBecomesImagesWithTheirTransparentColour) {
  const int grey = Picture::Rgb(192, 192, 192);
  const int fuchsia = Picture::Rgb(255, 0, 255);
  const int black = 0;
  // An opaque strip: its lower-left pixel (grey) is transparent. A strip with an alpha channel:
  // its "None" pixels are, while its lower-left pixel (black) and its fuchsia pixels, the usual
  // key colour, stay opaque.
  struct {
    const char* resource;
    int count;
    int index, x, y, color;  // one opaque pixel of one image
    int clearX, clearY;      // and one transparent pixel of it
    int lowerLeftAlpha;
  } cases[] = {
      {kStrip, 3, 1, 0, 0, Picture::Rgb(0, 255, 0), 3, 3, 0},
      {kStrip, 3, 2, 1, 1, Picture::Rgb(0, 0, 255), 2, 0, 0},
      {kAlphaStrip, 2, 0, 0, 0, fuchsia, 1, 0, 255},
      {kAlphaStrip, 2, 1, 3, 3, fuchsia, 0, 1, 255},
      {kAlphaStrip, 2, 0, 0, 3, black, 3, 3, 255},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.resource) + " image " + std::to_string(c.index));
    Form form(nullptr);
    auto* images = new ImageList(&form);
    images->Add(Picture(4, 4, 0x123456));  // replaced by the strip
    SetOrdPropOf(images, "Width", 4);
    SetOrdPropOf(images, "Height", 4);
    SetStrPropOf(images, "Bitmap", c.resource);
    EXPECT_EQ(GetStrPropOf(images, "Bitmap"), c.resource);
    ASSERT_EQ(images->Count(), c.count);
    const Picture image = images->GetPicture(c.index);
    EXPECT_EQ(image.Width(), 4);
    EXPECT_EQ(image.Pixel(c.x, c.y), c.color);
    EXPECT_NE(image.TransparentColor(), c.color);
    EXPECT_EQ(image.Pixel(c.clearX, c.clearY), image.TransparentColor());
    if (c.resource == std::string(kStrip)) {
      EXPECT_EQ(image.TransparentColor(), grey);
    }
    for (int i = 0; i < c.count; ++i) {
      EXPECT_EQ(images->GetPicture(i).TransparentColor(), image.TransparentColor()) << i;
    }
    EXPECT_EQ(Alpha(*images, c.index, c.x, c.y), 255);
    EXPECT_EQ(Alpha(*images, c.index, c.clearX, c.clearY), 0);
    EXPECT_EQ(Alpha(*images, 0, 0, 3), c.lowerLeftAlpha);
  }
}

TEST(ImageListBitmapTest, NamesThatDoNotLoadRaiseAnErrorNamingThemAndChangeNothing) {
  Form form(nullptr);
  auto* images = new ImageList(&form);
  images->SetWidth(4);
  images->SetHeight(4);
  images->SetBitmap(kStrip);
  for (const std::string name : {":/testdata/images/NoSuchStrip.xpm",
                                 ":/forms/TSampleBase.form",  // a resource, but no picture
                                 QZLB27_TESTDATA "/images/ImageStrip.xpm"}) {
    try {
      images->SetBitmap(name);
      ADD_FAILURE() << "loaded " << name;
    } catch (const Error& e) {
      EXPECT_NE(std::string(e.what()).find("\"" + name + "\""), std::string::npos) << e.what();
    }
    EXPECT_EQ(images->Count(), 3) << name;
    EXPECT_EQ(images->Bitmap(), kStrip) << name;
  }
  // A new size empties the list, which no longer holds the strip; "" empties it as well.
  images->SetWidth(2);
  EXPECT_EQ(images->Count(), 0);
  EXPECT_EQ(images->Bitmap(), "");
  images->SetBitmap(kAlphaStrip);
  EXPECT_EQ(images->Count(), 4);
  images->SetBitmap("");
  EXPECT_EQ(images->Count(), 0);
}

TEST(ImageListBitmapTest, FormDescriptionGivesTheListItsPicturesOrFailsAtTheLine) {
  const auto description = [](const std::string& resource) {
    return "object frmImages: TForm\n"
           "  object ImageList1: TImageList\n"
           "    Width = 4\n"
           "    Height = 4\n"
           "    Bitmap = \"" +
           resource +
           "\"\n"
           "  end\n"
           "end\n";
  };
  {
    std::unique_ptr<Form, FreeDeleter> form(new Form(nullptr));
    LoadFormDescription(form.get(), description(kStrip), "TImages.form", true);
    EndFormLoading(form.get());
    auto* images = form->FindComponent<ImageList>("ImageList1");
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(images->Count(), 3);
    EXPECT_EQ(images->GetPicture(0).Pixel(0, 0), Picture::Rgb(255, 0, 0));
  }
  std::unique_ptr<Form, FreeDeleter> form(new Form(nullptr));
  try {
    LoadFormDescription(form.get(), description(":/forms/images/Missing.xpm"), "TImages.form",
                        true);
    FAIL() << "loaded";
  } catch (const FormDescriptionError& e) {
    EXPECT_EQ(e.File(), "TImages.form");
    EXPECT_EQ(e.Line(), 5);
    EXPECT_EQ(e.Name(), "Bitmap");
    EXPECT_NE(std::string(e.what()).find("\":/forms/images/Missing.xpm\""), std::string::npos)
        << e.what();
  }
}

}  // namespace
}  // namespace toolkit
