#include "controls/QrRadioGroup.h"

#include <QFontMetrics>
#include <algorithm>

// ---- TQrGroupButton ----

TQrGroupButton::TQrGroupButton(toolkit::Component* owner)
    : TQrRadioButton(owner), group_(dynamic_cast<TQrRadioGroup*>(owner)) {}

void TQrGroupButton::Changed() {
  if (group_) group_->ButtonClick(this);
}

void TQrGroupButton::KeyDown(toolkit::Word& key, toolkit::ShiftState shift) {
  TQrRadioButton::KeyDown(key, shift);
  if (group_ && key != 0) group_->ButtonKeyDown(key, shift);
}

void TQrGroupButton::KeyPress(char& key) {
  TQrRadioButton::KeyPress(key);
  if (group_ && key != 0) group_->ButtonKeyPress(key);
}

void TQrGroupButton::KeyUp(toolkit::Word& key, toolkit::ShiftState shift) {
  TQrRadioButton::KeyUp(key, shift);
  if (group_ && key != 0) group_->ButtonKeyUp(key, shift);
}

// ---- TQrRadioGroup ----

TQrRadioGroup::TQrRadioGroup(toolkit::Component* owner)
    : toolkit::GroupBox(owner), items_(std::make_unique<toolkit::Strings>()) {
  items_->SetOnChange([this] { ItemsChanged(); });
}

TQrRadioGroup::~TQrRadioGroup() {
  items_->SetOnChange(nullptr);
  buttons_.clear();
}

void TQrRadioGroup::SetItems(toolkit::Strings* items) {
  if (items && items != items_.get()) items_->Assign(*items);
}

TQrGroupButton* TQrRadioGroup::Buttons(int index) const {
  return index >= 0 && index < ButtonCount() ? buttons_[static_cast<size_t>(index)] : nullptr;
}

void TQrRadioGroup::SetItemIndex(int index) {
  if (IsLoading()) {
    item_index_ = index;
    return;
  }
  index = std::clamp(index, -1, ButtonCount() - 1);
  item_index_ = index;
  updating_ = true;
  for (int i = 0; i < ButtonCount(); ++i) {
    TQrGroupButton* button = buttons_[static_cast<size_t>(i)];
    button->SetClicksDisabled(true);
    button->SetChecked(i == index);
    button->SetClicksDisabled(false);
  }
  updating_ = false;
}

void TQrRadioGroup::SetColumns(int columns) {
  columns = std::clamp(columns, 1, 16);
  if (columns == columns_) return;
  columns_ = columns;
  ArrangeButtons();
}

void TQrRadioGroup::SetBounds(int left, int top, int width, int height) {
  toolkit::GroupBox::SetBounds(left, top, width, height);
  ArrangeButtons();
}

void TQrRadioGroup::Loaded() {
  toolkit::GroupBox::Loaded();
  UpdateButtons();
  SetItemIndex(item_index_);
}

void TQrRadioGroup::FontChanged() {
  toolkit::GroupBox::FontChanged();
  ArrangeButtons();
}

void TQrRadioGroup::ButtonClick(TQrGroupButton* button) {
  if (updating_) return;
  const auto it = std::find(buttons_.begin(), buttons_.end(), button);
  if (it == buttons_.end()) return;
  item_index_ = static_cast<int>(it - buttons_.begin());
  Changed();
  Click();
}

void TQrRadioGroup::ItemsChanged() {
  if (IsLoading()) return;
  if (item_index_ >= items_->Count()) item_index_ = items_->Count() - 1;
  UpdateButtons();
  SetItemIndex(item_index_);
}

void TQrRadioGroup::UpdateButtons() {
  const int wanted = items_->Count();
  while (ButtonCount() < wanted) {
    auto* button = new TQrGroupButton(this);
    button->SetParent(this);
    buttons_.push_back(button);
  }
  while (ButtonCount() > wanted) {
    TQrGroupButton* button = buttons_.back();
    buttons_.pop_back();
    toolkit::Free(button);
  }
  for (int i = 0; i < wanted; ++i) buttons_[static_cast<size_t>(i)]->SetCaption(items_->At(i));
  ArrangeButtons();
}

void TQrRadioGroup::ArrangeButtons() {
  const int n = ButtonCount();
  if (n == 0 || IsLoading()) return;
  const int fontHeight = QFontMetrics(font()).height();
  const int c = columns_;
  const int r = (n + c - 1) / c;
  const int columnWidth = (Width() - 10) / c;
  const int free = Height() - fontHeight - 5;
  const int rowHeight = free / r;
  const int topMargin = (free % r) / 2 + fontHeight + 1;
  const bool mirrored = layoutDirection() == Qt::RightToLeft;
  for (int i = 0; i < n; ++i) {
    int left = (i / r) * columnWidth + 8;
    if (mirrored) left = Width() - left - columnWidth;
    buttons_[static_cast<size_t>(i)]->SetBounds(left, (i % r) * rowHeight + topMargin, columnWidth,
                                                rowHeight);
  }
}

TOOLKIT_REGISTER_CLASS(TQrGroupButton, "TQrGroupButton");
TOOLKIT_REGISTER_CLASS(TQrRadioGroup, "TQrRadioGroup");
