// Page control and tab sheets: page order, tab visibility, the active page, and which changes
// ask OnChanging and report OnChange.
#include "toolkit/PageControl.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTabBar>
#include <QTest>

#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/Properties.h"

namespace toolkit {
namespace {

class PagesWindow : public Form {
  Q_OBJECT
 public:
  explicit PagesWindow(Component* owner) : Form(owner) {
    SetBounds(0, 0, 400, 300);
    pages = new PageControl(this);
    pages->SetName("pgOption");
    pages->SetParent(this);
    pages->SetBounds(0, 0, 400, 300);
    for (const char* name : {"tsOption1", "tsOption2", "tsOption3"}) {
      auto* sheet = new TabSheet(this);
      sheet->SetName(name);
      sheet->SetCaption(name);
      sheet->SetParent(pages);
      sheets.push_back(sheet);
    }
    edit = new Edit(this);
    edit->SetName("ed2");
    edit->SetParent(sheets[1]);
    SetMethodPropOf(pages, "OnChanging", FindMethod(this, "pgOptionChanging"));
    SetMethodPropOf(pages, "OnChange", FindMethod(this, "pgOptionChange"));
  }
  void pgOptionChanging(Component*, bool& allow) {
    log.push_back("changing from " + pages->ActivePage()->Name());
    allow = allow_change;
  }
  void pgOptionChange(Component*) { log.push_back("change to " + pages->ActivePage()->Name()); }

  // Clicks the tab with the given visible index.
  void ClickTab(int tab) {
    QTabBar* bar = pages->QtTabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
  }

  PageControl* pages;
  std::vector<TabSheet*> sheets;
  Edit* edit;
  std::vector<std::string> log;
  bool allow_change = true;
};

const auto published = Publish<PagesWindow>()
                           .Handler("pgOptionChanging", &PagesWindow::pgOptionChanging)
                           .Handler("pgOptionChange", &PagesWindow::pgOptionChange);

TEST(PageControlTest, PagesInOrderAndTheFirstActive) {
  PagesWindow window(nullptr);
  EXPECT_EQ(window.pages->PageCount(), 3);
  EXPECT_EQ(window.pages->ActivePage(), window.sheets[0]);
  EXPECT_EQ(GetOrdPropOf(window.pages, "ActivePageIndex"), 0);
  EXPECT_TRUE(window.sheets[0]->Visible());
  EXPECT_FALSE(window.sheets[1]->Visible()) << "only the active page is visible";
  EXPECT_FALSE(window.edit->CanFocus()) << "a control on a page out of sight cannot be focused";
  EXPECT_EQ(window.sheets[2]->PageIndex(), 2);
  EXPECT_EQ(window.pages->ControlCount(), 3) << "the pages are the control's children";
  // The page fills the page area whatever bounds it was given.
  window.sheets[0]->SetBounds(50, 50, 10, 10);
  EXPECT_EQ(window.sheets[0]->Left(), window.pages->PageRect().left());
  EXPECT_EQ(window.sheets[0]->Width(), window.pages->PageRect().width());
}

TEST(PageControlTest, SettingThePageInCodeRaisesNothing) {
  PagesWindow window(nullptr);
  SetOrdPropOf(window.pages, "ActivePageIndex", 2);
  EXPECT_EQ(window.pages->ActivePage(), window.sheets[2]);
  SetObjectProperty(window.pages, "ActivePage", window.sheets[1]);
  EXPECT_EQ(window.pages->ActivePage(), window.sheets[1]);
  EXPECT_TRUE(window.edit->CanFocus());
  EXPECT_EQ(window.pages->QtTabBar()->currentIndex(), 1);
  window.pages->SetActivePageIndex(9);
  EXPECT_EQ(window.pages->ActivePage(), nullptr);
  EXPECT_TRUE(window.log.empty());
}

TEST(PageControlTest, AClickOnATabAsksOnChanging) {
  PagesWindow window(nullptr);
  window.Show();
  window.ClickTab(1);
  EXPECT_EQ(window.pages->ActivePage(), window.sheets[1]);
  window.allow_change = false;
  window.ClickTab(2);
  EXPECT_EQ(window.pages->ActivePage(), window.sheets[1]) << "a refused change keeps the page";
  EXPECT_EQ(window.pages->QtTabBar()->currentIndex(), 1);
  EXPECT_EQ(window.log, (std::vector<std::string>{"changing from tsOption1", "change to tsOption2",
                                                  "changing from tsOption2"}));
}

TEST(PageControlTest, HiddenTabsAndPageOrder) {
  PagesWindow window(nullptr);
  SetPropValue(window.sheets[1], "TabVisible", automation::Variant(false));
  EXPECT_EQ(window.pages->QtTabBar()->count(), 2);
  EXPECT_EQ(window.sheets[1]->TabIndex(), -1);
  EXPECT_EQ(window.sheets[2]->TabIndex(), 1);
  EXPECT_EQ(window.pages->PageOfTab(1), window.sheets[2]);
  // SelectNextPage skips the hidden tab, wrapping around, as the user's change it is.
  window.pages->SelectNextPage(true);
  EXPECT_EQ(window.pages->ActivePage(), window.sheets[2]);
  window.pages->SelectNextPage(true);
  EXPECT_EQ(window.pages->ActivePage(), window.sheets[0]);
  EXPECT_EQ(window.log.size(), 4u);
  // Hiding the active page's tab activates the next tab's page, or the previous at the end.
  window.pages->SetActivePage(window.sheets[2]);
  window.sheets[2]->SetTabVisible(false);
  EXPECT_EQ(window.pages->ActivePage(), window.sheets[0]);
  window.sheets[1]->SetTabVisible(true);
  window.sheets[1]->SetPageIndex(0);
  EXPECT_EQ(window.pages->Pages(0), window.sheets[1]);
  EXPECT_EQ(window.pages->QtTabBar()->tabText(0).toStdString(), "tsOption2");
}

TEST(PageControlTest, TheFocusLeavesAPageThatGoesOutOfSight) {
  PagesWindow window(nullptr);
  window.pages->SetActivePage(window.sheets[1]);
  window.Show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.edit->SetFocus();
  window.pages->SetActivePage(window.sheets[0]);
  EXPECT_TRUE(window.pages->Focused());
}

TEST(PageControlTest, RemovingTheActivePage) {
  PagesWindow window(nullptr);
  window.pages->SetActivePage(window.sheets[1]);
  Free(window.sheets[1]);
  window.sheets.erase(window.sheets.begin() + 1);
  EXPECT_EQ(window.pages->PageCount(), 2);
  EXPECT_EQ(window.pages->ActivePage(), window.sheets[1]);
}

}  // namespace
}  // namespace toolkit

#include "PageControl_test.moc"
