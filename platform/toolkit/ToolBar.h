// Tool bar ("TToolBar") and its buttons ("TToolButton").
//
// TToolBar publishes ButtonWidth (23) and ButtonHeight (22), Images (the image list the buttons
// take their pictures from), Flat (False: True shows a button's frame only under the mouse),
// ShowCaptions (False), List (False: captions below the pictures; True: beside them), Indent (0),
// Color, PopupMenu, and the common windowed-control properties and events. A new tool bar is
// aligned alTop, 29 high. The buttons placed on it are laid out in a row from the left, in the
// order they were placed, each ButtonWidth × ButtonHeight (larger when shown captions need it);
// separators and dividers keep their own width (8).
//
// TToolButton publishes Caption, ImageIndex (-1), Style (tbsButton; tbsCheck: a click toggles
// Down, Grouped check buttons release each other; tbsDropDown: a drop-down arrow beside the button
// shows DropdownMenu; tbsSeparator, tbsDivider: gaps), DropdownMenu, Down, Grouped, AllowAllUp,
// and the common control properties and events. A tool button never takes the focus.
#pragma once

#include <QPointer>
#include <QToolButton>
#include <QWidget>

#include "toolkit/Control.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menus.h"

namespace toolkit {

class ToolBar;

class ToolButton : public QToolButton, public Control {
  Q_OBJECT
 public:
  enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
  Q_ENUM(TToolButtonStyle)

 private:
  Q_PROPERTY(std::string Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
  Q_PROPERTY(TToolButtonStyle Style READ Style WRITE SetStyle)
  Q_PROPERTY(toolkit::PopupMenu* DropdownMenu READ DropdownMenu WRITE SetDropdownMenu)
  Q_PROPERTY(bool Down READ Down WRITE SetDown)
  Q_PROPERTY(bool Grouped READ Grouped WRITE SetGrouped)
  Q_PROPERTY(bool AllowAllUp READ AllowAllUp WRITE SetAllowAllUp)

 public:
  explicit ToolButton(Component* owner);
  ~ToolButton() override;

  const std::string& Caption() const { return GetText(); }
  void SetCaption(std::string caption) { SetTextValue(std::move(caption)); }
  int ImageIndex() const { return image_index_; }
  void SetImageIndex(int index);
  TToolButtonStyle Style() const { return style_; }
  void SetStyle(TToolButtonStyle style);
  bool IsGap() const { return style_ == tbsSeparator || style_ == tbsDivider; }
  toolkit::PopupMenu* DropdownMenu() const { return dropdown_menu_; }
  void SetDropdownMenu(toolkit::PopupMenu* menu);
  bool Down() const { return down_; }
  void SetDown(bool down);
  bool Grouped() const { return grouped_; }
  void SetGrouped(bool grouped) { grouped_ = grouped; }
  bool AllowAllUp() const { return allow_all_up_; }
  void SetAllowAllUp(bool allow) { allow_all_up_ = allow; }
  // The tool bar the button is on, or null.
  ToolBar* GetToolBar() const;

  void SetParent(WinControl* parent) override;
  // On a tool bar the bar places the button; only a separator's width is kept.
  void SetBounds(int left, int top, int width, int height) override;
  // Shows the drop-down menu below the button (tbsDropDown with a menu); false without one.
  bool CheckMenuDropdown();

 protected:
  void TextChanged() override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  friend class ToolBar;
  void Refresh();
  void UserClicked();

  int image_index_ = -1;
  TToolButtonStyle style_ = tbsButton;
  QPointer<toolkit::PopupMenu> dropdown_menu_;
  bool down_ = false;
  bool grouped_ = false;
  bool allow_all_up_ = false;
  int gap_width_ = 8;
};

class ToolBar : public QWidget, public WinControl {
  Q_OBJECT
  Q_PROPERTY(int ButtonWidth READ ButtonWidth WRITE SetButtonWidth)
  Q_PROPERTY(int ButtonHeight READ ButtonHeight WRITE SetButtonHeight)
  Q_PROPERTY(toolkit::ImageList* Images READ Images WRITE SetImages)
  Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
  Q_PROPERTY(bool ShowCaptions READ ShowCaptions WRITE SetShowCaptions)
  Q_PROPERTY(bool List READ List WRITE SetList)
  Q_PROPERTY(int Indent READ Indent WRITE SetIndent)
  Q_PROPERTY(int ButtonCount READ ButtonCount)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(toolkit::PopupMenu* PopupMenu READ GetPopupMenu WRITE SetPopupMenu)

 public:
  explicit ToolBar(Component* owner);

  int ButtonWidth() const { return button_width_; }
  void SetButtonWidth(int width);
  int ButtonHeight() const { return button_height_; }
  void SetButtonHeight(int height);
  toolkit::ImageList* Images() const { return images_; }
  void SetImages(toolkit::ImageList* images);
  bool Flat() const { return flat_; }
  void SetFlat(bool flat);
  bool ShowCaptions() const { return show_captions_; }
  void SetShowCaptions(bool show);
  bool List() const { return list_; }
  void SetList(bool list);
  int Indent() const { return indent_; }
  void SetIndent(int indent);
  toolkit::PopupMenu* GetPopupMenu() const { return popup_menu_; }
  void SetPopupMenu(toolkit::PopupMenu* menu);

  // The buttons in the order they stand on the bar.
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  ToolButton* Buttons(int index) const;

  // Lays the buttons out again.
  void ArrangeButtons();

 private:
  friend class ToolButton;
  void AddButton(ToolButton* button);
  void RemoveButton(ToolButton* button);
  void RefreshButtons();

  std::vector<ToolButton*> buttons_;
  int button_width_ = 23;
  int button_height_ = 22;
  QPointer<toolkit::ImageList> images_;
  bool flat_ = false;
  bool show_captions_ = false;
  bool list_ = false;
  int indent_ = 0;
  QPointer<toolkit::PopupMenu> popup_menu_;
};

}  // namespace toolkit
