// Combo box ("TComboBox"): a list of 8-bit texts to choose from, with or without an edit field.
//
// Published: Style (csDropDown: an edit with a drop-down list, the default; csSimple: an edit
// with the list always shown below it; csDropDownList: a drop-down list without an edit;
// csOwnerDrawFixed and csOwnerDrawVariable: drop-down lists without an edit, drawn like
// csDropDownList), Items (the texts), ItemIndex (the chosen item, -1 for none; an index outside
// the items gives -1), Text (the edit's text; for the list styles the chosen item's text, and
// setting it chooses the item of that text), Sorted (False: the items keep their order),
// DropDownCount (8), MaxLength (0), Color (clWindow), ImeName, PopupMenu, ItemHeight (16), and the
// events OnChange (the user typed, or chose an item when OnSelect is not set), OnSelect (the user
// chose an item), OnClick (the user chose an item, before OnSelect), OnDropDown and OnCloseUp, plus
// the common windowed-control properties and events. Setting ItemIndex, Text or Items raises no
// event, as with the desktop toolkit. A new combo box is 145 × 21.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "toolkit/Classes.h"
#include "toolkit/Control.h"
#include "toolkit/Menus.h"

class QComboBox;
class QLineEdit;
class QListWidget;

namespace toolkit {

class ComboBox : public QWidget, public WinControl {
  Q_OBJECT
 public:
  enum TComboBoxStyle {
    csDropDown,
    csSimple,
    csDropDownList,
    csOwnerDrawFixed,
    csOwnerDrawVariable
  };
  Q_ENUM(TComboBoxStyle)

 private:
  Q_PROPERTY(TComboBoxStyle Style READ Style WRITE SetStyle)
  Q_PROPERTY(toolkit::Strings* Items READ Items)
  Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
  Q_PROPERTY(std::string Text READ Text WRITE SetText)
  Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
  Q_PROPERTY(int DropDownCount READ DropDownCount WRITE SetDropDownCount)
  Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
  Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(std::string ImeName READ ImeName WRITE SetImeName)
  Q_PROPERTY(toolkit::PopupMenu* PopupMenu READ GetPopupMenu WRITE SetPopupMenu)
  Q_PROPERTY(toolkit::NotifyEvent OnChange MEMBER FOnChange)
  Q_PROPERTY(toolkit::NotifyEvent OnSelect MEMBER FOnSelect)
  Q_PROPERTY(toolkit::NotifyEvent OnDropDown MEMBER FOnDropDown)
  Q_PROPERTY(toolkit::NotifyEvent OnCloseUp MEMBER FOnCloseUp)

 public:
  explicit ComboBox(Component* owner);
  ~ComboBox() override;

  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle style);
  // Whether the style has an edit field (csDropDown, csSimple).
  bool HasEdit() const { return style_ == csDropDown || style_ == csSimple; }
  Strings* Items() const { return items_.get(); }
  int ItemIndex() const { return item_index_; }
  void SetItemIndex(int index);
  std::string Text() const;
  void SetText(std::string text);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  int DropDownCount() const { return drop_down_count_; }
  void SetDropDownCount(int count);
  int MaxLength() const { return max_length_; }
  void SetMaxLength(int length);
  int ItemHeight() const { return item_height_; }
  void SetItemHeight(int height) { item_height_ = std::max(1, height); }
  const std::string& ImeName() const { return ime_name_; }
  void SetImeName(std::string name) { ime_name_ = std::move(name); }
  toolkit::PopupMenu* GetPopupMenu() const { return popup_menu_; }
  void SetPopupMenu(toolkit::PopupMenu* menu);

  // Opens or closes the drop-down list (no effect for csSimple).
  bool DroppedDown() const;
  void SetDroppedDown(bool dropped);
  void SelectAll();
  void Clear();

  // For this layer and its tests: the Qt widgets showing the control.
  QComboBox* QtComboBox() const { return combo_; }
  QLineEdit* QtEdit() const;
  QListWidget* QtList() const { return list_; }

 protected:
  // Fire OnChange, OnSelect (or OnChange when OnSelect is not set), OnDropDown, OnCloseUp.
  virtual void Change();
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();
  void FontChanged() override;
  void ColorChanged() override;
  bool FilterEvent(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

  NotifyEvent FOnChange;
  NotifyEvent FOnSelect;
  NotifyEvent FOnDropDown;
  NotifyEvent FOnCloseUp;

 private:
  void Rebuild();
  void ShowItems();
  void ShowSelection();
  void ItemsChanged();
  void UserChose(int index);
  void UserTyped(const QString& text);
  void Layout();
  void SortItems();

  TComboBoxStyle style_ = csDropDown;
  std::unique_ptr<Strings> items_;
  int item_index_ = -1;
  std::string edit_text_;
  bool sorted_ = false;
  int drop_down_count_ = 8;
  int max_length_ = 0;
  int item_height_ = 16;
  std::string ime_name_;
  QPointer<toolkit::PopupMenu> popup_menu_;
  QComboBox* combo_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QListWidget* list_ = nullptr;
  bool showing_ = false;
  bool sorting_ = false;
  // Set while the control is being destroyed: its inner widgets go first and report nothing.
  bool dying_ = false;
};

}  // namespace toolkit
