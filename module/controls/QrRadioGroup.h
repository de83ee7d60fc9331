// QrRadioGroup: `TQrRadioGroup`, a framed group of radio buttons made from a list of captions,
// and `TQrGroupButton`, its buttons.
//
// Published (initial values in brackets): Items (none; one button per line, captioned by it),
// ItemIndex (-1; the checked button, -1 for none; held to -1..Items count - 1), Columns (1; held
// to 1..16), and everything of the toolkit's group box. The buttons are not stored with a window;
// they are made from Items. The option framework reads and restores ItemIndex.
//
// Setting ItemIndex checks its button without raising anything; a click on a button sets
// ItemIndex, then the group's change notification and OnClick follow. Keys pressed in a button
// are the group's keys (its OnKeyDown, OnKeyPress, OnKeyUp).
//
// Layout, with n buttons in c columns and the group's width W and height H, F the height of the
// font (integer division truncates): r = (n + c - 1) div c buttons per column; column width
// (W - 10) div c; row height h = (H - F - 5) div r; top margin ((H - F - 5) mod r) div 2 + F + 1;
// button i at left (i div r) × column width + 8 (mirrored right to left for a right-to-left
// layout), top (i mod r) × h + top margin, column width × h in size. The layout is redone when the
// group is resized, its font, items or columns change, and after loading.
#pragma once

#include <memory>
#include <vector>

#include "controls/QrRadioButton.h"
#include "toolkit/Classes.h"
#include "toolkit/GroupBox.h"

class TQrRadioGroup;

class TQrGroupButton : public TQrRadioButton {
  Q_OBJECT
 public:
  // A button of `owner` when that is a radio group.
  explicit TQrGroupButton(toolkit::Component* owner);

 protected:
  void Changed() override;
  void KeyDown(toolkit::Word& key, toolkit::ShiftState shift) override;
  void KeyPress(char& key) override;
  void KeyUp(toolkit::Word& key, toolkit::ShiftState shift) override;

 private:
  TQrRadioGroup* group_;
};

class TQrRadioGroup : public toolkit::GroupBox {
  Q_OBJECT
  Q_PROPERTY(toolkit::Strings* Items READ Items WRITE SetItems)
  Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
  Q_PROPERTY(int Columns READ Columns WRITE SetColumns)

 public:
  explicit TQrRadioGroup(toolkit::Component* owner);
  ~TQrRadioGroup() override;

  toolkit::Strings* Items() const { return items_.get(); }
  // Copies the lines.
  void SetItems(toolkit::Strings* items);
  int ItemIndex() const { return item_index_; }
  void SetItemIndex(int index);
  int Columns() const { return columns_; }
  void SetColumns(int columns);

  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TQrGroupButton* Buttons(int index) const;

  void SetBounds(int left, int top, int width, int height) override;
  void Loaded() override;

  // Places the buttons (see the header comment).
  void ArrangeButtons();

 protected:
  // The change notification after a click changed ItemIndex.
  virtual void Changed() {}
  void FontChanged() override;

 private:
  friend class TQrGroupButton;
  void ButtonClick(TQrGroupButton* button);
  void ButtonKeyDown(toolkit::Word& key, toolkit::ShiftState shift) { KeyDown(key, shift); }
  void ButtonKeyPress(char& key) { KeyPress(key); }
  void ButtonKeyUp(toolkit::Word& key, toolkit::ShiftState shift) { KeyUp(key, shift); }
  void ItemsChanged();
  void UpdateButtons();

  std::unique_ptr<toolkit::Strings> items_;
  std::vector<TQrGroupButton*> buttons_;
  int item_index_ = -1;
  int columns_ = 1;
  bool updating_ = false;
};
