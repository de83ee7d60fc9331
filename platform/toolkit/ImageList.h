// Image list ("TImageList"): a numbered set of pictures of one size, shared by list views, tool
// bars and menus, which show image n by its ImageIndex.
//
// Published: Width and Height of an image (16 × 16; changing either empties the list, as the
// desktop toolkit does), Count (read only), Masked (True: each image's transparent colour shows
// what lies beneath). Pictures come from toolkit::Picture: `Add` takes a picture as many images
// wide as it holds (a 36 × 18 picture adds two 18 × 18 images); its transparent colour, or the
// colour given to `AddMasked`, is the image's transparent colour. A non-visual component, owned
// like the others by its form.
//
// Bitmap (published text) names a picture strip among the program's Qt resources, for example
// ":/forms/images/TfrmBaseGene.ImageList1.xpm": setting it replaces the images by those of the
// strip (as `Add` cuts it: its width divided by Width), so a form description gives an image list
// its pictures by one line after Width and Height. Any picture format Qt reads will do; the
// windows keep theirs as text XPM files. A strip without an alpha channel takes its lower-left
// pixel as the transparent colour, as a desktop image list does; a strip with one (XPM colour
// "None") says itself what is transparent: its pixels of less than half opacity become a colour
// that no other pixel of the strip has, which is then the transparent colour of every image
// (partial opacity is not kept; an image has one transparent colour and no more). A name that is
// not a resource (not beginning with ":/") or that does not load raises Error naming it, and the
// images stay as they were; "" empties the list. Reading gives the name last set; emptying the
// list (Clear, a new Width or Height) forgets it, so in a description Width and Height come
// first.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <string>
#include <vector>

#include "toolkit/Component.h"
#include "toolkit/Graphics.h"
#include "toolkit/Picture.h"

class QPainter;

namespace toolkit {

class ImageList : public NonVisualComponent {
  Q_OBJECT
  Q_PROPERTY(int Width READ Width WRITE SetWidth)
  Q_PROPERTY(int Height READ Height WRITE SetHeight)
  Q_PROPERTY(int Count READ Count)
  Q_PROPERTY(bool Masked READ Masked WRITE SetMasked)
  Q_PROPERTY(std::string Bitmap READ Bitmap WRITE SetBitmap)

 public:
  explicit ImageList(Component* owner);

  int Width() const { return width_; }
  void SetWidth(int width);
  int Height() const { return height_; }
  void SetHeight(int height);
  int Count() const { return static_cast<int>(images_.size()); }
  bool Masked() const { return masked_; }
  void SetMasked(bool masked);
  const std::string& Bitmap() const { return bitmap_; }
  void SetBitmap(const std::string& resource);

  // Adds the images of `picture`: its width divided by Width (at least one image; a picture of
  // another height is scaled to Height). Returns the index of the first image added, or -1 for an
  // empty picture.
  int Add(const Picture& picture);
  // The same with `maskColor` as the transparent colour of the images.
  int AddMasked(const Picture& picture, TColor maskColor);
  // Replaces image `index` by the first image of `picture`; Error outside 0..Count-1.
  void Replace(int index, const Picture& picture);
  // Removes image `index` (the following ones move down); Error outside 0..Count-1.
  void Delete(int index);
  void Clear();

  // Image `index` as a picture of Width × Height with its transparent colour; an empty picture
  // outside 0..Count-1.
  Picture GetPicture(int index) const;
  // For the controls of this layer: the image drawn through Qt (transparent colour masked out
  // when Masked), a null pixmap outside the list, and the same as an icon (with a greyed form for
  // disabled controls).
  QPixmap Pixmap(int index) const;
  QIcon Icon(int index) const;
  void Draw(QPainter& painter, int x, int y, int index, bool enabled = true) const;

 signals:
  // After every change of the images (the controls that show them repaint).
  void Changed();

 private:
  Picture Fit(const Picture& picture, int left, int width) const;
  int width_ = 16;
  int height_ = 16;
  bool masked_ = true;
  std::string bitmap_;
  std::vector<Picture> images_;
};

}  // namespace toolkit
