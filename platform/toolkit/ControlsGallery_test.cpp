// A window holding one of each control of this layer beyond the exemplar ones, built from its
// description (testdata/forms/TControlsGallery.form); its picture is saved under the build folder
// to be looked at.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTest>
#include <filesystem>

#include "os/CodePage.h"
#include "toolkit/BitBtn.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Form.h"
#include "toolkit/GroupBox.h"
#include "toolkit/ImageList.h"
#include "toolkit/ListView.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/Memo.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"
#include "toolkit/Properties.h"
#include "toolkit/RadioButton.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/SpinEdit.h"
#include "toolkit/Splitter.h"
#include "toolkit/StringGrid.h"
#include "toolkit/ToolBar.h"
#include "toolkit/WindowPicture.h"

namespace toolkit {
namespace {

class TControlsGallery : public Form {
  Q_OBJECT
 public:
  explicit TControlsGallery(Component* owner) : Form(owner) {}
};

std::string Gbk(const char* utf8) {
  return os::WideToAnsi(os::Utf8ToWide(utf8), os::CP_GBK);
}

constexpr int kMagenta = 0xFF00FF;

// A small picture on a magenta ground (the transparent colour, lower left): a filled square or
// disc in `color`, with a darker outline.
Picture Sample(int size, int color, bool disc) {
  Picture p(size, size, kMagenta);
  const double c = (size - 1) / 2.0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double dx = x - c, dy = y - c;
      const bool inside =
          disc ? dx * dx + dy * dy <= c * c - 1 : x > 1 && y > 1 && x < size - 2 && y < size - 2;
      const bool edge = disc ? inside && dx * dx + dy * dy > (c - 1.5) * (c - 1.5)
                             : inside && (x == 2 || y == 2 || x == size - 3 || y == size - 3);
      if (inside) p.SetPixel(x, y, edge ? 0x404040 : color);
    }
  }
  return p;
}

TEST(ControlsGalleryTest, OneOfEachControlFromADescription) {
  std::unique_ptr<TControlsGallery, FreeDeleter> form(CreateForm<TControlsGallery>(nullptr));
  ASSERT_TRUE(form);

  struct {
    const char* name;
    const char* className;
  } expected[] = {
      {"mnMain", "TMainMenu"},         {"mnuOpen", "TMenuItem"},
      {"ImageList1", "TImageList"},    {"muOperation", "TPopupMenu"},
      {"ToolBar1", "TToolBar"},        {"ToolButton1", "TToolButton"},
      {"lstCondition", "TListView"},   {"Splitter1", "TSplitter"},
      {"btnLookup", "TSpeedButton"},   {"btnOk", "TBitBtn"},
      {"pgOption", "TPageControl"},    {"tsOption1", "TTabSheet"},
      {"me01", "TMaskEdit"},           {"seDays", "TSpinEdit"},
      {"cboDayofWeek", "TComboBox"},   {"grpGenTime", "TGroupBox"},
      {"rdoRealTime", "TRadioButton"}, {"mmNote", "TMemo"},
      {"grReceive", "TStringGrid"},
  };
  for (const auto& e : expected) {
    Component* c = form->FindComponent(e.name);
    ASSERT_NE(c, nullptr) << e.name;
    EXPECT_EQ(c->ClassName(), e.className) << e.name;
  }

  // Pictures: the image list and the buttons' glyphs (normal and disabled side by side).
  auto* images = form->FindComponent<ImageList>("ImageList1");
  images->Add(Sample(18, 0x00A000, false));
  images->Add(Sample(18, 0x00C0E0, false));
  images->Add(Sample(18, 0x0000D0, true));
  images->Add(Sample(18, 0xD08000, true));
  EXPECT_EQ(images->Count(), 4);
  auto glyph = [](int color) {
    Picture p = Sample(16, color, true);
    p.AppendImage(Sample(16, 0x808080, true));
    Bitmap bitmap;
    bitmap.Assign(p);
    return bitmap.Data();
  };
  SetPropertyPath(form->FindComponent("btnOk"), "Glyph.Data", automation::Variant(glyph(0x00A000)));
  SetPropertyPath(form->FindComponent("btnCancel"), "Glyph.Data",
                  automation::Variant(glyph(0x0000D0)));
  SetPropertyPath(form->FindComponent("btnLookup"), "Glyph.Data",
                  automation::Variant(glyph(0xD08000)));
  EXPECT_EQ(GetOrdPropOf(form->FindComponent("btnOk"), "NumGlyphs"), 2);
  EXPECT_EQ(GetOrdPropOf(form->FindComponent("btnOk"), "ModalResult"), mrOk);

  // The grid of recipients with its editors.
  auto* grid = form->FindComponent<StringGrid>("grReceive");
  const char* headers[] = {"收件人", "姓名", "手机号码", "邮箱地址",
                           "类型",   "消息", "短信",     "邮件"};
  const int widths[] = {47, 50, 80, 133, 68, 33, 32, 32};
  for (int c = 0; c < 8; ++c) {
    grid->SetCells(c, 0, Gbk(headers[c]));
    grid->SetColWidths(c, widths[c]);
  }
  grid->SetColumnEditor(0, {StringGrid::esEllipsis, {}, "Y", "N"});
  grid->SetColumnEditor(4, {StringGrid::esPickList, {Gbk("1.系统用户")}, "Y", "N"});
  for (int c = 5; c < 8; ++c) grid->SetColumnEditor(c, {StringGrid::esCheckBox, {}, "Y", "N"});
  grid->SetCells(0, 1, "DS");
  grid->SetCells(1, 1, Gbk("王小明"));
  grid->SetCells(4, 1, Gbk("1.系统用户"));
  grid->SetCells(5, 1, "Y");
  grid->SetCells(7, 1, "Y");

  // What the description nested: menu items under their menus, pages in order, tool buttons.
  auto* menu = form->FindComponent<MainMenu>("mnMain");
  ASSERT_EQ(menu->Items()->Count(), 2);
  EXPECT_EQ(menu->Items()->Items(0)->Count(), 3);
  EXPECT_TRUE(form->FindComponent<MenuItem>("mnuLarge")->Checked());
  ASSERT_NE(menu->MenuBar(), nullptr);
  EXPECT_EQ(menu->MenuBar()->actions().size(), 2);
  auto* pages = form->FindComponent<PageControl>("pgOption");
  EXPECT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(pages->QtTabBar()->count(), 2);  // the hidden page has no tab
  EXPECT_EQ(pages->ActivePage(), form->FindComponent("tsOption1"));
  auto* bar = form->FindComponent<ToolBar>("ToolBar1");
  ASSERT_EQ(bar->ButtonCount(), 5);
  EXPECT_EQ(bar->Buttons(1)->Left(), 25);
  EXPECT_EQ(bar->Buttons(4)->Left(), 25 * 3 + 8);
  auto* list = form->FindComponent<ListView>("lstCondition");
  ASSERT_EQ(list->Items()->Count(), 3);
  EXPECT_EQ(list->Items()->Items(1)->SubItems()->At(0), "2009/06/15");
  EXPECT_EQ(GetStrPropOf(form->FindComponent("me01"), "EditText"), "PR01-20090101001");
  EXPECT_EQ(GetOrdPropOf(form->FindComponent("seDays"), "Value"), 7);
  EXPECT_EQ(GetStrPropOf(form->FindComponent("cboDayofWeek"), "Text"), Gbk("星期二"));
  EXPECT_TRUE(form->FindComponent<SpeedButton>("btnPeriod")->Down());
  EXPECT_EQ(form->FindComponent<Splitter>("Splitter1")->ResizeControl(),
            form->FindComponent("pnlCondition"));

  list->Items()->Items(0)->SetSelected(true);
  const std::string path = std::string(QZLB27_BUILD_DIR) + "/toolkit-controls-gallery.png";
  ASSERT_TRUE(SaveWindowPicture(form.get(), path));
  EXPECT_GT(std::filesystem::file_size(path), 1000u);

  pages->SetActivePageIndex(1);
  const std::string second = std::string(QZLB27_BUILD_DIR) + "/toolkit-controls-gallery-2.png";
  ASSERT_TRUE(SaveWindowPicture(form.get(), second));
}

// Composite controls report the events of their inner widgets; a window destroyed while an
// in-place editor is open and an inner widget has the focus must go quietly.
TEST(ControlsGalleryTest, DestroyingAWindowWithOpenEditors) {
  std::unique_ptr<TControlsGallery, FreeDeleter> form(CreateForm<TControlsGallery>(nullptr));
  form->Show();
  QApplication::setActiveWindow(form.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  auto* list = form->FindComponent<ListView>("lstCondition");
  ASSERT_TRUE(list->Items()->Items(0)->EditCaption());
  auto* pages = form->FindComponent<PageControl>("pgOption");
  pages->SetActivePageIndex(1);
  auto* grid = form->FindComponent<StringGrid>("grReceive");
  grid->SetFocus();
  grid->SetEditorMode(true);
  EXPECT_TRUE(grid->EditorMode());
  form.reset();
  QCoreApplication::processEvents();
}

}  // namespace
}  // namespace toolkit

#include "ControlsGallery_test.moc"
