// Menus: popup menus ("TPopupMenu"), main menus ("TMainMenu") and their items ("TMenuItem").
//
// A menu holds a tree of items: `Items()` is its root item, whose sub-items are the entries of
// the menu. In a form description, items are written inside their menu or their parent item, as
// controls are written inside their parent:
//
//   object muOperation: TPopupMenu
//     Images = ImageList1
//     object N2: TMenuItem
//       Caption = "开启(&O)"
//       ImageIndex = 2
//       OnClick = btnOpenClick
//     end
//   end
//
// TMenuItem publishes Caption ("-" makes a separator, "&" marks the accelerator letter), Checked,
// RadioItem (checking it unchecks the other radio items of its parent with the same GroupIndex),
// GroupIndex (0), AutoCheck (a click toggles Checked first), Default (shown in bold), ImageIndex
// (-1; an image of the menu's Images), ShortCut (0), Enabled, Visible, Hint, Tag, Count and
// MenuIndex (its position among its siblings), and OnClick. TPopupMenu publishes Images,
// AutoPopup (True) and OnPopup (before it shows); a control whose PopupMenu property names it
// shows it on a right click. TMainMenu publishes Images and shows its items as the menu bar at the
// top of the form it is placed on.
//
// Menus and items are components without a place on the screen of their own: they are held as
// hidden widgets so that form descriptions can nest them, and they show through Qt menus.
#pragma once

#include <QMenuBar>
#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>
#include <vector>

#include "toolkit/Control.h"
#include "toolkit/ImageList.h"

class QAction;
class QActionGroup;
class QMenu;

namespace toolkit {

class Menu;

class MenuItem : public QWidget, public WinControl {
  Q_OBJECT
  Q_PROPERTY(std::string Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
  Q_PROPERTY(bool RadioItem READ RadioItem WRITE SetRadioItem)
  Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
  Q_PROPERTY(bool AutoCheck READ AutoCheck WRITE SetAutoCheck)
  Q_PROPERTY(bool Default READ Default WRITE SetDefault)
  Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
  Q_PROPERTY(int ShortCut READ ShortCut WRITE SetShortCut)
  Q_PROPERTY(int Count READ Count)
  Q_PROPERTY(int MenuIndex READ MenuIndex WRITE SetMenuIndex)

 public:
  explicit MenuItem(Component* owner);
  ~MenuItem() override;

  const std::string& Caption() const { return GetText(); }
  void SetCaption(std::string caption) { SetTextValue(std::move(caption)); }
  bool IsSeparator() const { return Caption() == "-"; }
  bool Checked() const { return checked_; }
  // Checking a radio item unchecks its group; no click event.
  void SetChecked(bool checked);
  bool RadioItem() const { return radio_item_; }
  void SetRadioItem(bool radio);
  int GroupIndex() const { return group_index_; }
  void SetGroupIndex(int index);
  bool AutoCheck() const { return auto_check_; }
  void SetAutoCheck(bool autoCheck) { auto_check_ = autoCheck; }
  bool Default() const { return default_; }
  void SetDefault(bool isDefault);
  int ImageIndex() const { return image_index_; }
  void SetImageIndex(int index);
  int ShortCut() const { return short_cut_; }
  void SetShortCut(int shortCut);

  // Sub-items.
  int Count() const { return static_cast<int>(items_.size()); }
  // Sub-item `index`; Error outside 0..Count-1.
  MenuItem* Items(int index) const;
  int IndexOf(const MenuItem* item) const;
  // Puts `item` last (or at `index`) among the sub-items, taking it from its former parent.
  void Add(MenuItem* item);
  void Insert(int index, MenuItem* item);
  // Takes the item out of the sub-items (it is not destroyed).
  void Remove(MenuItem* item);
  // Takes every sub-item out.
  void Clear();
  MenuItem* ParentItem() const { return parent_item_; }
  // The menu the item belongs to (through its parents), or null.
  Menu* GetParentMenu() const;
  int MenuIndex() const;
  void SetMenuIndex(int index);

  // A menu item nested in a menu or in another item of a form description joins it.
  void SetParent(WinControl* parent) override;
  void SetEnabled(bool enabled) override;
  void SetVisible(bool visible) override;
  // AutoCheck toggles Checked, then OnClick runs.
  void Click() override;

  // For this layer: the Qt action of the item, and the Qt menu of its sub-items.
  QAction* Action() const { return action_; }
  QMenu* SubMenu();

 protected:
  void TextChanged() override;
  void FontChanged() override;

 private:
  friend class Menu;
  void UncheckGroup();
  void Refresh();
  void RefreshIcons();
  void Rebuild();
  QActionGroup* RadioGroup(int groupIndex);

  QAction* action_ = nullptr;
  QMenu* submenu_ = nullptr;
  std::vector<MenuItem*> items_;
  MenuItem* parent_item_ = nullptr;
  Menu* root_of_ = nullptr;  // set on a menu's root item
  std::map<int, QActionGroup*> radio_groups_;
  bool checked_ = false;
  bool radio_item_ = false;
  int group_index_ = 0;
  bool auto_check_ = false;
  bool default_ = false;
  int image_index_ = -1;
  int short_cut_ = 0;
};

class Menu : public QWidget, public WinControl {
  Q_OBJECT
  Q_PROPERTY(toolkit::ImageList* Images READ Images WRITE SetImages)

 public:
  explicit Menu(Component* owner);
  ~Menu() override;

  // The root item; its sub-items are the menu's entries.
  MenuItem* Items() const { return items_.get(); }
  toolkit::ImageList* Images() const { return images_; }
  void SetImages(toolkit::ImageList* images);

  // Menus are placed on a form without a place on the screen.
  void SetParent(WinControl* parent) override;
  WinControl* PlacedOn() const { return placed_on_; }

 protected:
  // The entries changed (a main menu rebuilds its bar).
  virtual void ItemsChanged() {}

 private:
  friend class MenuItem;
  std::unique_ptr<MenuItem, FreeDeleter> items_;
  QPointer<toolkit::ImageList> images_;
  WinControl* placed_on_ = nullptr;
};

class PopupMenu : public Menu {
  Q_OBJECT
  Q_PROPERTY(bool AutoPopup READ AutoPopup WRITE SetAutoPopup)
  Q_PROPERTY(toolkit::NotifyEvent OnPopup MEMBER FOnPopup)

 public:
  explicit PopupMenu(Component* owner);

  bool AutoPopup() const { return auto_popup_; }
  void SetAutoPopup(bool autoPopup) { auto_popup_ = autoPopup; }
  // The control whose right click showed the menu last (null before, or when it is gone).
  Control* PopupComponent() const;
  void SetPopupComponent(Control* control);

  // Fires OnPopup, then shows the menu with its top-left corner at (x, y) on the screen; returns
  // at once (a chosen item's click runs from the event loop).
  void Popup(int x, int y);
  // For this layer: the Qt menu shown.
  QMenu* QtMenu() const;

 protected:
  virtual void DoPopup() { FOnPopup(this); }
  NotifyEvent FOnPopup;

 private:
  bool auto_popup_ = true;
  QPointer<QWidget> popup_component_;
};

class MainMenu : public Menu {
  Q_OBJECT
 public:
  explicit MainMenu(Component* owner);
  ~MainMenu() override;

  void SetParent(WinControl* parent) override;
  // For this layer: the Qt menu bar on the form (null until placed).
  QMenuBar* MenuBar() const { return bar_; }

 protected:
  void ItemsChanged() override;

 private:
  QPointer<QMenuBar> bar_;
};

// Shows `menu` when the user asks for the context menu of `control` (right click, menu key); a
// null menu gives the control back its own behaviour. Controls with a PopupMenu property call it.
void AttachPopupMenu(Control* control, PopupMenu* menu);

}  // namespace toolkit
