#include "toolkit/Menus.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QFont>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <string>

#include "toolkit/Dialogs.h"

namespace toolkit {
namespace {

// The desktop toolkit's short-cut value: a virtual key with 0x2000 Shift, 0x4000 Ctrl and
// 0x8000 Alt.
QKeySequence ShortCutSequence(int shortCut) {
  if (shortCut == 0) return {};
  const int vk = shortCut & 0xFF;
  int key = 0;
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
    key = vk;
  } else if (vk >= VK_F1 && vk <= VK_F12) {
    key = Qt::Key_F1 + (vk - VK_F1);
  } else {
    switch (vk) {
      case VK_RETURN:
        key = Qt::Key_Return;
        break;
      case VK_ESCAPE:
        key = Qt::Key_Escape;
        break;
      case VK_DELETE:
        key = Qt::Key_Delete;
        break;
      case VK_INSERT:
        key = Qt::Key_Insert;
        break;
      case VK_BACK:
        key = Qt::Key_Backspace;
        break;
      case VK_TAB:
        key = Qt::Key_Tab;
        break;
      case VK_SPACE:
        key = Qt::Key_Space;
        break;
      case VK_HOME:
        key = Qt::Key_Home;
        break;
      case VK_END:
        key = Qt::Key_End;
        break;
      case VK_PRIOR:
        key = Qt::Key_PageUp;
        break;
      case VK_NEXT:
        key = Qt::Key_PageDown;
        break;
      case VK_LEFT:
        key = Qt::Key_Left;
        break;
      case VK_RIGHT:
        key = Qt::Key_Right;
        break;
      case VK_UP:
        key = Qt::Key_Up;
        break;
      case VK_DOWN:
        key = Qt::Key_Down;
        break;
      default:
        return {};
    }
  }
  int modifiers = 0;
  if (shortCut & 0x2000) modifiers |= Qt::ShiftModifier;
  if (shortCut & 0x4000) modifiers |= Qt::ControlModifier;
  if (shortCut & 0x8000) modifiers |= Qt::AltModifier;
  return QKeySequence(key | modifiers);
}

const char kPopupLinkName[] = "qzlb27PopupMenuLink";

// Ties a control's context-menu request to its popup menu.
class PopupMenuLink : public QObject {
 public:
  PopupMenuLink(QWidget* widget, PopupMenu* menu) : QObject(widget), menu_(menu) {
    setObjectName(kPopupLinkName);
  }
  PopupMenu* Menu() const { return static_cast<PopupMenu*>(menu_.data()); }

 private:
  QPointer<QWidget> menu_;
};

// Keeps a main menu's bar across the top of its form.
class MenuBarPlacer : public QObject {
 public:
  MenuBarPlacer(QWidget* form, QMenuBar* bar) : QObject(bar), bar_(bar) {
    form->installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize) {
      auto* form = static_cast<QWidget*>(watched);
      bar_->setGeometry(0, 0, form->width(), bar_->sizeHint().height());
    }
    return false;
  }

 private:
  QMenuBar* bar_;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// MenuItem

MenuItem::MenuItem(Component* owner) : QWidget(nullptr), WinControl(this, owner) {
  setFocusPolicy(Qt::NoFocus);
  SetClickOnMouseUp(false);
  action_ = new QAction(this);
  QObject::connect(action_, &QAction::triggered, this, [this] {
    Dispatch([this] { Click(); });
    // Qt toggles a checkable action itself; Checked is the item's own.
    action_->setChecked(checked_);
  });
}

MenuItem::~MenuItem() {
  if (parent_item_) {
    auto& list = parent_item_->items_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (Menu* menu = parent_item_->GetParentMenu()) menu->ItemsChanged();
  }
  for (MenuItem* item : items_) item->parent_item_ = nullptr;
}

void MenuItem::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  if (checked_ && radio_item_) UncheckGroup();
  Refresh();
}

void MenuItem::UncheckGroup() {
  if (!parent_item_) return;
  for (MenuItem* sibling : parent_item_->items_) {
    if (sibling != this && sibling->radio_item_ && sibling->group_index_ == group_index_ &&
        sibling->checked_) {
      sibling->checked_ = false;
      sibling->Refresh();
    }
  }
}

void MenuItem::SetRadioItem(bool radio) {
  radio_item_ = radio;
  if (checked_ && radio_item_) UncheckGroup();
  if (parent_item_) parent_item_->Rebuild();
  Refresh();
}

void MenuItem::SetGroupIndex(int index) {
  group_index_ = index;
  if (checked_ && radio_item_) UncheckGroup();
  if (parent_item_) parent_item_->Rebuild();
}

void MenuItem::SetDefault(bool isDefault) {
  default_ = isDefault;
  Refresh();
}

void MenuItem::SetImageIndex(int index) {
  image_index_ = index;
  RefreshIcons();
}

void MenuItem::SetShortCut(int shortCut) {
  short_cut_ = shortCut;
  Refresh();
}

MenuItem* MenuItem::Items(int index) const {
  if (index < 0 || index >= Count()) {
    throw Error("Menu index out of range (" + std::to_string(index) + ")");
  }
  return items_[static_cast<size_t>(index)];
}

int MenuItem::IndexOf(const MenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void MenuItem::Add(MenuItem* item) {
  Insert(Count(), item);
}

void MenuItem::Insert(int index, MenuItem* item) {
  if (!item) return;
  for (const MenuItem* p = this; p; p = p->parent_item_) {
    if (p == item) throw Error("A menu item cannot be inserted into itself");
  }
  if (item->parent_item_) item->parent_item_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_item_ = this;
  Rebuild();
}

void MenuItem::Remove(MenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_item_ = nullptr;
  if (submenu_) submenu_->removeAction(item->action_);
  if (item->action_->actionGroup()) item->action_->actionGroup()->removeAction(item->action_);
  Rebuild();
}

void MenuItem::Clear() {
  while (!items_.empty()) Remove(items_.back());
}

Menu* MenuItem::GetParentMenu() const {
  const MenuItem* item = this;
  while (item->parent_item_) item = item->parent_item_;
  return item->root_of_;
}

int MenuItem::MenuIndex() const {
  return parent_item_ ? parent_item_->IndexOf(this) : -1;
}

void MenuItem::SetMenuIndex(int index) {
  if (!parent_item_) return;
  MenuItem* parent = parent_item_;
  parent->Remove(this);
  parent->Insert(index, this);
}

void MenuItem::SetParent(WinControl* parent) {
  if (auto* item = dynamic_cast<MenuItem*>(parent)) {
    item->Add(this);
  } else if (auto* menu = dynamic_cast<Menu*>(parent)) {
    menu->Items()->Add(this);
  } else if (parent) {
    throw Error("A menu item belongs in a menu or another menu item");
  } else if (parent_item_) {
    parent_item_->Remove(this);
  }
}

void MenuItem::SetEnabled(bool enabled) {
  WinControl::SetEnabled(enabled);
  action_->setEnabled(enabled);
}

void MenuItem::SetVisible(bool visible) {
  WinControl::SetVisible(visible);
  action_->setVisible(visible);
}

void MenuItem::Click() {
  if (auto_check_) SetChecked(radio_item_ ? true : !checked_);
  WinControl::Click();
}

QMenu* MenuItem::SubMenu() {
  if (!submenu_) {
    submenu_ = new QMenu(this);
    submenu_->setFont(Font()->ToQFont());
    QObject::connect(submenu_, &QMenu::aboutToShow, this, [this] {
      for (MenuItem* item : items_) item->RefreshIcons();
    });
  }
  return submenu_;
}

QActionGroup* MenuItem::RadioGroup(int groupIndex) {
  QActionGroup*& group = radio_groups_[groupIndex];
  if (!group) {
    group = new QActionGroup(this);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  }
  return group;
}

void MenuItem::Rebuild() {
  QMenu* menu = SubMenu();
  menu->clear();
  for (MenuItem* item : items_) {
    QAction* action = item->action_;
    QActionGroup* wanted = item->radio_item_ ? RadioGroup(item->group_index_) : nullptr;
    if (action->actionGroup() != wanted) {
      if (action->actionGroup()) action->actionGroup()->removeAction(action);
      if (wanted) wanted->addAction(action);
    }
    menu->addAction(action);
    item->Refresh();
  }
  action_->setMenu(items_.empty() ? nullptr : menu);
  if (Menu* owner = GetParentMenu()) owner->ItemsChanged();
}

void MenuItem::Refresh() {
  action_->setSeparator(IsSeparator());
  action_->setText(ToScreen(Caption()));
  action_->setCheckable(checked_ || auto_check_ || radio_item_);
  action_->setChecked(checked_);
  action_->setEnabled(Enabled());
  action_->setVisible(Visible());
  action_->setShortcut(ShortCutSequence(short_cut_));
  QFont font = Font()->ToQFont();
  font.setBold(default_);
  action_->setFont(font);
  if (!Hint().empty()) action_->setStatusTip(ToScreen(Hint()));
  // A short cut works while the form the menu is placed on is active.
  if (short_cut_ != 0) {
    if (Menu* menu = GetParentMenu(); menu && menu->PlacedOn()) {
      menu->PlacedOn()->Widget()->addAction(action_);
    }
  }
  RefreshIcons();
}

void MenuItem::RefreshIcons() {
  Menu* menu = GetParentMenu();
  ImageList* images = menu ? menu->Images() : nullptr;
  action_->setIcon(images && image_index_ >= 0 ? images->Icon(image_index_) : QIcon());
}

void MenuItem::TextChanged() {
  Refresh();
}

void MenuItem::FontChanged() {
  WinControl::FontChanged();
  if (submenu_) submenu_->setFont(Font()->ToQFont());
  Refresh();
}

// ---------------------------------------------------------------------------------------------
// Menu

Menu::Menu(Component* owner) : QWidget(nullptr), WinControl(this, owner) {
  setFocusPolicy(Qt::NoFocus);
  items_.reset(new MenuItem(nullptr));
  items_->root_of_ = this;
}

Menu::~Menu() {
  if (items_) items_->root_of_ = nullptr;
}

void Menu::SetImages(ImageList* images) {
  if (images_) QObject::disconnect(images_, nullptr, this, nullptr);
  images_ = images;
  if (images) {
    QObject::connect(images, &ImageList::Changed, this, [this] {
      for (int i = 0; i < items_->Count(); ++i) items_->Items(i)->RefreshIcons();
    });
  }
  for (int i = 0; i < items_->Count(); ++i) items_->Items(i)->RefreshIcons();
}

void Menu::SetParent(WinControl* parent) {
  placed_on_ = parent;
}

// ---------------------------------------------------------------------------------------------
// PopupMenu

PopupMenu::PopupMenu(Component* owner) : Menu(owner) {}

Control* PopupMenu::PopupComponent() const {
  return ControlOf(popup_component_.data());
}

void PopupMenu::SetPopupComponent(Control* control) {
  popup_component_ = control ? control->Widget() : nullptr;
}

QMenu* PopupMenu::QtMenu() const {
  return Items()->SubMenu();
}

void PopupMenu::Popup(int x, int y) {
  DoPopup();
  QtMenu()->popup(QPoint(x, y));
}

// ---------------------------------------------------------------------------------------------
// MainMenu

MainMenu::MainMenu(Component* owner) : Menu(owner) {}

MainMenu::~MainMenu() {
  delete bar_.data();
}

void MainMenu::SetParent(WinControl* parent) {
  Menu::SetParent(parent);
  delete bar_.data();
  if (!parent) return;
  QWidget* form = parent->Widget();
  bar_ = new QMenuBar(form);
  new MenuBarPlacer(form, bar_);
  ItemsChanged();
  bar_->show();
}

void MainMenu::ItemsChanged() {
  if (!bar_) return;
  bar_->clear();
  for (int i = 0; i < Items()->Count(); ++i) bar_->addAction(Items()->Items(i)->Action());
  QWidget* form = bar_->parentWidget();
  const int height = bar_->sizeHint().height();
  bar_->setGeometry(0, 0, form->width(), height);
  // Aligned controls fill the area below the bar.
  QMargins margins = form->contentsMargins();
  margins.setTop(height);
  form->setContentsMargins(margins);
}

// ---------------------------------------------------------------------------------------------

void AttachPopupMenu(Control* control, PopupMenu* menu) {
  if (!control) return;
  QWidget* widget = control->Widget();
  delete widget->findChild<QObject*>(kPopupLinkName, Qt::FindDirectChildrenOnly);
  if (!menu) {
    widget->setContextMenuPolicy(Qt::DefaultContextMenu);
    return;
  }
  widget->setContextMenuPolicy(Qt::CustomContextMenu);
  auto* link = new PopupMenuLink(widget, menu);
  QObject::connect(widget, &QWidget::customContextMenuRequested, link,
                   [link, widget](const QPoint& pos) {
                     PopupMenu* popup = link->Menu();
                     if (!popup || !popup->AutoPopup()) return;
                     // A scroll area reports positions in its viewport.
                     QWidget* origin = widget;
                     if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
                       origin = area->viewport();
                     }
                     const QPoint global = origin->mapToGlobal(pos);
                     try {
                       popup->SetPopupComponent(ControlOf(widget));
                       popup->Popup(global.x(), global.y());
                     } catch (const std::exception& e) {
                       HandleException(e);
                     }
                   });
}

TOOLKIT_REGISTER_CLASS(MenuItem, "TMenuItem");
TOOLKIT_REGISTER_CLASS(PopupMenu, "TPopupMenu");
TOOLKIT_REGISTER_CLASS(MainMenu, "TMainMenu");

}  // namespace toolkit
