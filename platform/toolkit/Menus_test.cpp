// Menus and tool bars: items and their checks, clicks through Qt's actions, popup menus on a right
// click, and the buttons of a tool bar with their drop-down menu.
#include "toolkit/Menus.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QStyleOptionToolButton>
#include <QTest>

#include "toolkit/Form.h"
#include "toolkit/Memo.h"
#include "toolkit/Properties.h"
#include "toolkit/ToolBar.h"

namespace toolkit {
namespace {

class MenuWindow : public Form {
  Q_OBJECT
 public:
  explicit MenuWindow(Component* owner) : Form(owner) {
    SetBounds(0, 0, 400, 300);
    popup = new PopupMenu(this);
    popup->SetName("mnList");
    popup->SetParent(this);
    for (const char* name : {"N7", "N8", "N9", "N10"}) {
      auto* item = new MenuItem(this);
      item->SetName(name);
      item->SetCaption(name);
      item->SetRadioItem(true);
      item->SetParent(popup);
      SetMethodPropOf(item, "OnClick", FindMethod(this, "Clicked"));
      items.push_back(item);
    }
    SetMethodPropOf(popup, "OnPopup", FindMethod(this, "Popped"));
  }
  void Clicked(Component* sender) { log.push_back("click " + sender->Name()); }
  void Popped(Component* sender) { log.push_back("popup " + sender->Name()); }

  PopupMenu* popup;
  std::vector<MenuItem*> items;
  std::vector<std::string> log;
};

const auto published = Publish<MenuWindow>()
                           .Handler("Clicked", &MenuWindow::Clicked)
                           .Handler("Popped", &MenuWindow::Popped);

TEST(MenuTest, ItemsNestUnderTheirMenu) {
  MenuWindow window(nullptr);
  ASSERT_EQ(window.popup->Items()->Count(), 4);
  EXPECT_EQ(window.popup->Items()->Items(2), window.items[2]);
  EXPECT_EQ(window.items[2]->MenuIndex(), 2);
  EXPECT_EQ(window.items[2]->GetParentMenu(), window.popup);
  EXPECT_EQ(window.popup->QtMenu()->actions().size(), 4);
  // A sub-menu.
  auto* sub = new MenuItem(&window);
  sub->SetParent(window.items[3]);
  EXPECT_EQ(window.items[3]->Count(), 1);
  EXPECT_EQ(window.items[3]->Action()->menu(), window.items[3]->SubMenu());
  SetOrdPropOf(window.items[0], "MenuIndex", 3);
  EXPECT_EQ(window.popup->Items()->Items(3), window.items[0]);
  EXPECT_EQ(window.popup->QtMenu()->actions().at(3), window.items[0]->Action());
  Free(sub);
  EXPECT_EQ(window.items[3]->Count(), 0);
  EXPECT_THROW(window.items[1]->Add(window.items[1]), Error);
}

TEST(MenuTest, RadioItemsOfAGroupCheckOneAnother) {
  MenuWindow window(nullptr);
  window.items[3]->SetGroupIndex(2);
  SetPropValue(window.items[0], "Checked", automation::Variant(true));
  window.items[1]->SetChecked(true);
  window.items[3]->SetChecked(true);
  EXPECT_FALSE(window.items[0]->Checked());
  EXPECT_TRUE(window.items[1]->Checked());
  EXPECT_TRUE(window.items[3]->Checked()) << "another group index is another group";
  EXPECT_TRUE(window.items[1]->Action()->isChecked());
  EXPECT_FALSE(window.items[0]->Action()->isChecked());
  EXPECT_TRUE(window.log.empty()) << "checking in code clicks nothing";
}

TEST(MenuTest, ChoosingAnItemClicksIt) {
  MenuWindow window(nullptr);
  window.items[0]->SetAutoCheck(true);
  window.items[1]->SetChecked(true);
  window.items[0]->Action()->trigger();
  EXPECT_EQ(window.log, (std::vector<std::string>{"click N7"}));
  EXPECT_TRUE(window.items[0]->Checked()) << "AutoCheck checks a radio item when it is chosen";
  EXPECT_FALSE(window.items[1]->Checked());
  window.items[2]->Action()->trigger();  // no AutoCheck: Checked stays as the program set it
  EXPECT_FALSE(window.items[2]->Checked());
  EXPECT_FALSE(window.items[2]->Action()->isChecked());
  window.items[2]->SetEnabled(false);
  EXPECT_FALSE(window.items[2]->Action()->isEnabled());
  window.items[2]->SetVisible(false);
  EXPECT_FALSE(window.items[2]->Action()->isVisible());
}

TEST(MenuTest, CaptionsSeparatorsAndShortCuts) {
  MenuWindow window(nullptr);
  window.items[1]->SetCaption("-");
  EXPECT_TRUE(window.items[1]->Action()->isSeparator());
  window.items[0]->SetShortCut(0x4000 | 'O');
  EXPECT_EQ(window.items[0]->Action()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
  window.items[0]->SetCaption("\xBF\xAA\xC6\xF4(&O)");  // "开启(&O)" in the module's code page
  EXPECT_EQ(window.items[0]->Action()->text().toStdU16String(), u"\u5F00\u542F(&O)");
}

TEST(MenuTest, APopupMenuShowsOnTheRightClickOfItsControl) {
  MenuWindow window(nullptr);
  auto* memo = new Memo(&window);
  memo->SetName("mmNote");
  memo->SetParent(&window);
  SetObjectProperty(memo, "PopupMenu", window.popup);
  EXPECT_EQ(memo->GetPopupMenu(), window.popup);
  window.Show();
  QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(10, 10),
                            memo->viewport()->mapToGlobal(QPoint(10, 10)));
  QApplication::sendEvent(memo->viewport(), &request);
  EXPECT_EQ(window.log, (std::vector<std::string>{"popup mnList"}));
  EXPECT_TRUE(window.popup->QtMenu()->isVisible());
  EXPECT_EQ(window.popup->PopupComponent(), memo);
  window.popup->QtMenu()->hide();
  // Without AutoPopup the right click shows nothing.
  window.popup->SetAutoPopup(false);
  QApplication::sendEvent(memo->viewport(), &request);
  EXPECT_EQ(window.log.size(), 1u);
}

TEST(MainMenuTest, ItsItemsAreTheBarOfTheForm) {
  Form form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* menu = new MainMenu(&form);
  menu->SetParent(&form);
  auto* file = new MenuItem(&form);
  file->SetCaption("File");
  file->SetParent(menu);
  auto* open = new MenuItem(&form);
  open->SetCaption("Open");
  open->SetParent(file);
  ASSERT_NE(menu->MenuBar(), nullptr);
  EXPECT_EQ(menu->MenuBar()->actions().size(), 1);
  EXPECT_EQ(menu->MenuBar()->actions().at(0)->menu()->actions().at(0), open->Action());
  EXPECT_EQ(menu->MenuBar()->width(), 300);
  EXPECT_GT(form.contentsMargins().top(), 0) << "aligned controls keep below the bar";
}

class ToolWindow : public Form {
  Q_OBJECT
 public:
  explicit ToolWindow(Component* owner) : Form(owner) {
    SetBounds(0, 0, 400, 300);
    bar = new ToolBar(this);
    bar->SetParent(this);
    bar->SetButtonWidth(25);
    bar->SetButtonHeight(24);
    menu = new PopupMenu(this);
    menu->SetName("mnList");
    SetMethodPropOf(menu, "OnPopup", FindMethod(this, "Log"));
    auto* item = new MenuItem(this);
    item->SetParent(menu);
  }
  ToolButton* Add(const char* name, ToolButton::TToolButtonStyle style) {
    auto* button = new ToolButton(this);
    button->SetName(name);
    button->SetStyle(style);
    button->SetParent(bar);
    SetMethodPropOf(button, "OnClick", FindMethod(this, "Log"));
    return button;
  }
  void Log(Component* sender) { log.push_back(sender->Name()); }

  ToolBar* bar;
  PopupMenu* menu;
  std::vector<std::string> log;
};

const auto tool_handlers = Publish<ToolWindow>().Handler("Log", &ToolWindow::Log);

TEST(ToolBarTest, ButtonsStandInARow) {
  ToolWindow window(nullptr);
  EXPECT_EQ(window.bar->Align(), Control::alTop);
  EXPECT_EQ(window.bar->Width(), 400);
  EXPECT_EQ(window.bar->Height(), 29);
  window.Add("btnInsert", ToolButton::tbsButton);
  window.Add("btnOpen", ToolButton::tbsButton);
  ToolButton* gap = window.Add("ToolButton2", ToolButton::tbsSeparator);
  gap->SetWidth(8);
  ToolButton* view = window.Add("ToolButton1", ToolButton::tbsDropDown);
  ASSERT_EQ(window.bar->ButtonCount(), 4);
  const int lefts[] = {0, 25, 50, 58};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(window.bar->Buttons(i)->Left(), lefts[i]) << i;
  EXPECT_EQ(view->Width(), 25);
  EXPECT_EQ(view->Height(), 24);
  Free(gap);
  EXPECT_EQ(view->Left(), 50);
}

TEST(ToolBarTest, DropDownButtonShowsItsMenuFromTheArrow) {
  ToolWindow window(nullptr);
  ToolButton* view = window.Add("ToolButton1", ToolButton::tbsDropDown);
  view->SetWidth(40);
  SetObjectProperty(view, "DropdownMenu", window.menu);
  window.bar->ArrangeButtons();
  window.Show();
  QStyleOptionToolButton option;
  option.initFrom(view);
  option.features = QStyleOptionToolButton::MenuButtonPopup;
  option.subControls = QStyle::SC_ToolButton | QStyle::SC_ToolButtonMenu;
  const QRect arrow = view->style()->subControlRect(QStyle::CC_ToolButton, &option,
                                                    QStyle::SC_ToolButtonMenu, view);
  ASSERT_FALSE(arrow.isEmpty());
  QTest::mouseClick(view, Qt::LeftButton, {}, arrow.center());
  EXPECT_TRUE(window.menu->QtMenu()->isVisible());
  EXPECT_EQ(window.log, (std::vector<std::string>{"mnList"})) << "the arrow pops up, no click";
  window.menu->QtMenu()->hide();
  QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(5, view->height() / 2));
  EXPECT_EQ(window.log, (std::vector<std::string>{"mnList", "ToolButton1"}));
}

TEST(ToolBarTest, GroupedCheckButtons) {
  ToolWindow window(nullptr);
  ToolButton* a = window.Add("a", ToolButton::tbsCheck);
  ToolButton* b = window.Add("b", ToolButton::tbsCheck);
  a->SetGrouped(true);
  b->SetGrouped(true);
  window.Show();
  QTest::mouseClick(a, Qt::LeftButton);
  EXPECT_TRUE(a->Down());
  QTest::mouseClick(b, Qt::LeftButton);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  QTest::mouseClick(b, Qt::LeftButton);
  EXPECT_TRUE(b->Down()) << "a grouped button without AllowAllUp stays down";
  EXPECT_TRUE(b->isChecked());
  EXPECT_EQ(window.log, (std::vector<std::string>{"a", "b", "b"}));
}

}  // namespace
}  // namespace toolkit

#include "Menus_test.moc"
