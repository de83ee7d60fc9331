// Group box, splitter, image list and bitmap: what they add to the controls they hold or show.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>

#include "toolkit/Bitmap.h"
#include "toolkit/Form.h"
#include "toolkit/GroupBox.h"
#include "toolkit/ImageList.h"
#include "toolkit/Panel.h"
#include "toolkit/Properties.h"
#include "toolkit/RadioButton.h"
#include "toolkit/Splitter.h"

namespace toolkit {
namespace {

class SplitWindow : public Form {
  Q_OBJECT
 public:
  explicit SplitWindow(Component* owner) : Form(owner) {
    SetBounds(0, 0, 400, 300);
    left = new Panel(this);
    left->SetParent(this);
    left->SetBounds(0, 0, 150, 10);
    left->SetAlign(alLeft);
    splitter = new Splitter(this);
    splitter->SetParent(this);
    splitter->SetLeft(150);
    rest = new Panel(this);
    rest->SetParent(this);
    rest->SetAlign(alClient);
    SetMethodPropOf(splitter, "OnMoved", FindMethod(this, "Moved"));
  }
  void Moved(Component*) { log.push_back("moved to " + std::to_string(left->Width())); }
  void LimitTo200(Component*, int& size, bool& accept) {
    if (size > 200) size = 200;
    accept = size != 100;
  }
  Panel* left;
  Splitter* splitter;
  Panel* rest;
  std::vector<std::string> log;
};

const auto published = Publish<SplitWindow>()
                           .Handler("Moved", &SplitWindow::Moved)
                           .Handler("LimitTo200", &SplitWindow::LimitTo200);

TEST(SplitterTest, ResizesTheControlBeforeIt) {
  SplitWindow window(nullptr);
  EXPECT_EQ(window.splitter->Width(), 3);
  EXPECT_EQ(window.splitter->Cursor(), crHSplit);
  EXPECT_EQ(window.splitter->ResizeControl(), window.left);
  EXPECT_TRUE(window.splitter->MoveBy(30));
  EXPECT_EQ(window.left->Width(), 180);
  EXPECT_EQ(window.splitter->Left(), 180);
  EXPECT_EQ(window.rest->Left(), 183);
  // MinSize for the control and for what is left beside it.
  window.splitter->MoveBy(-500);
  EXPECT_EQ(window.left->Width(), 30);
  window.splitter->MoveBy(1000);
  EXPECT_EQ(window.left->Width(), 400 - 3 - 30);
  // OnCanResize may change the size or refuse it.
  SetMethodPropOf(window.splitter, "OnCanResize", FindMethod(&window, "LimitTo200"));
  window.splitter->MoveBy(-100);
  EXPECT_EQ(window.left->Width(), 200);
  EXPECT_FALSE(window.splitter->MoveBy(-100));
  EXPECT_EQ(window.left->Width(), 200);
}

TEST(SplitterTest, DraggingMovesAndReportsOnRelease) {
  SplitWindow window(nullptr);
  window.Show();
  QTest::mousePress(window.splitter, Qt::LeftButton, {}, QPoint(1, 50));
  QMouseEvent move(QEvent::MouseMove, QPointF(21, 50),
                   window.splitter->mapToGlobal(QPointF(21, 50)), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(window.splitter, &move);
  EXPECT_EQ(window.left->Width(), 170);
  EXPECT_TRUE(window.log.empty());
  QTest::mouseRelease(window.splitter, Qt::LeftButton, {}, QPoint(1, 50));
  EXPECT_EQ(window.log, (std::vector<std::string>{"moved to 170"}));
}

TEST(SplitterTest, TopSplittersResizeHeights) {
  Form form(nullptr);
  form.SetBounds(0, 0, 300, 300);
  auto* top = new Panel(&form);
  top->SetParent(&form);
  top->SetBounds(0, 0, 10, 100);
  top->SetAlign(Control::alTop);
  auto* splitter = new Splitter(&form);
  splitter->SetParent(&form);
  splitter->SetAlign(Control::alTop);
  splitter->SetBounds(0, 100, 300, 3);
  EXPECT_EQ(splitter->Cursor(), crVSplit);
  EXPECT_EQ(splitter->ResizeControl(), top);
  splitter->MoveBy(20);
  EXPECT_EQ(top->Height(), 120);
}

TEST(GroupBoxTest, CaptionAndChildren) {
  Form form(nullptr);
  form.SetBounds(0, 0, 300, 300);
  auto* group = new GroupBox(&form);
  group->SetParent(&form);
  SetStrPropOf(group, "Caption", "Run mode");
  EXPECT_EQ(group->title().toStdString(), "Run mode");
  EXPECT_EQ(group->Width(), 185);
  auto* radio = new RadioButton(&form);
  radio->SetParent(group);
  radio->SetBounds(12, 20, 100, 17);
  EXPECT_EQ(radio->Parent(), group);
  EXPECT_EQ(radio->Widget()->parentWidget(), group);
  auto* filler = new Panel(&form);
  filler->SetParent(group);
  filler->SetAlign(Control::alClient);
  EXPECT_GT(filler->Top(), 0) << "aligned children keep below the caption";
  EXPECT_FALSE(group->TabStop());
}

TEST(ImageListTest, PicturesBecomeImagesOfOneSize) {
  Form form(nullptr);
  auto* images = new ImageList(&form);
  SetOrdPropOf(images, "Width", 18);
  SetOrdPropOf(images, "Height", 18);
  Picture strip(54, 18, 0xFF00FF);  // three images side by side
  strip.FillRect(18, 0, 18, 18, 0x00FF00);
  EXPECT_EQ(images->Add(strip), 0);
  EXPECT_EQ(GetOrdPropOf(images, "Count"), 3);
  EXPECT_EQ(images->GetPicture(1).Pixel(5, 5), 0x00FF00);
  EXPECT_EQ(images->GetPicture(1).Width(), 18);
  // Another size is scaled; a mask colour given is the image's transparent colour.
  EXPECT_EQ(images->AddMasked(Picture(9, 9, 0x0000FF), TColor(0x0000FF)), 3);
  EXPECT_EQ(images->GetPicture(3).Width(), 18);
  EXPECT_EQ(images->GetPicture(3).TransparentColor(), 0x0000FF);
  EXPECT_EQ(qAlpha(images->Pixmap(3).toImage().pixel(4, 4)), 0);
  EXPECT_TRUE(images->GetPicture(9).IsEmpty());
  images->Delete(0);
  EXPECT_EQ(images->GetPicture(0).Pixel(5, 5), 0x00FF00);
  EXPECT_THROW(images->Delete(7), Error);
  images->SetWidth(16);  // a new size empties the list
  EXPECT_EQ(images->Count(), 0);
}

TEST(BitmapTest, DataAndProperties) {
  Bitmap bitmap;
  EXPECT_TRUE(GetOrdPropOf(&bitmap, "Empty"));
  EXPECT_EQ(bitmap.Data(), "");
  Picture picture(3, 2, 0x123456);
  bitmap.Assign(picture);
  EXPECT_EQ(GetOrdPropOf(&bitmap, "Width"), 3);
  EXPECT_EQ(GetOrdPropOf(&bitmap, "TransparentColor"), 0x123456);
  const std::string hex = GetStrPropOf(&bitmap, "Data");
  EXPECT_EQ(hex.substr(0, 4), "424D");
  Bitmap copy;
  SetStrPropOf(&copy, "Data", hex);
  EXPECT_TRUE(copy.GetPicture() == picture);
  EXPECT_FALSE(TrySetPropertyPath(&copy, "Data", automation::Variant("42 4D 00")));
  EXPECT_TRUE(copy.GetPicture() == picture) << "unreadable data leaves the picture as it was";
  SetStrPropOf(&copy, "Data", "");
  EXPECT_TRUE(copy.Empty());
}

}  // namespace
}  // namespace toolkit

#include "Containers_test.moc"
