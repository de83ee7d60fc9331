#include "toolkit/ToolBar.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <algorithm>
#include <string>

namespace toolkit {

// ---------------------------------------------------------------------------------------------
// ToolButton

ToolButton::ToolButton(Component* owner) : QToolButton(nullptr), Control(this, owner) {
  setFocusPolicy(Qt::NoFocus);
  SetClickOnMouseUp(false);
  Control::SetBounds(0, 0, 23, 22);
  QObject::connect(this, &QToolButton::clicked, this,
                   [this] { Dispatch([this] { UserClicked(); }); });
  Refresh();
}

ToolButton::~ToolButton() {
  if (ToolBar* bar = GetToolBar()) bar->RemoveButton(this);
}

ToolBar* ToolButton::GetToolBar() const {
  return dynamic_cast<ToolBar*>(Parent());
}

void ToolButton::SetParent(WinControl* parent) {
  if (ToolBar* old = GetToolBar(); old && old != parent) old->RemoveButton(this);
  Control::SetParent(parent);
  if (auto* bar = dynamic_cast<ToolBar*>(parent)) bar->AddButton(this);
  Refresh();
}

void ToolButton::SetBounds(int left, int top, int width, int height) {
  if (IsGap()) gap_width_ = std::max(0, width);
  if (ToolBar* bar = GetToolBar()) {
    bar->ArrangeButtons();
  } else {
    Control::SetBounds(left, top, width, height);
  }
}

void ToolButton::SetImageIndex(int index) {
  image_index_ = index;
  Refresh();
}

void ToolButton::SetStyle(TToolButtonStyle style) {
  style_ = style;
  if (style == tbsCheck) {
    setCheckable(true);
  } else {
    setCheckable(false);
  }
  Refresh();
  if (ToolBar* bar = GetToolBar()) bar->ArrangeButtons();
}

void ToolButton::SetDropdownMenu(toolkit::PopupMenu* menu) {
  dropdown_menu_ = menu;
  Refresh();
}

void ToolButton::SetDown(bool down) {
  if (down == down_) return;
  down_ = down;
  if (down_ && grouped_ && style_ == tbsCheck) {
    if (ToolBar* bar = GetToolBar()) {
      for (ToolButton* b : bar->buttons_) {
        if (b != this && b->grouped_ && b->style_ == tbsCheck && b->down_) {
          b->down_ = false;
          b->Refresh();
        }
      }
    }
  }
  Refresh();
}

void ToolButton::UserClicked() {
  if (style_ == tbsCheck) {
    if (!down_) {
      SetDown(true);
    } else if (!grouped_ || allow_all_up_) {
      SetDown(false);
    } else {
      Refresh();  // Qt toggled the button; it stays down.
    }
  }
  Click();
}

bool ToolButton::CheckMenuDropdown() {
  if (!dropdown_menu_) return false;
  const QPoint below = mapToGlobal(QPoint(0, height()));
  dropdown_menu_->SetPopupComponent(this);
  dropdown_menu_->Popup(below.x(), below.y());
  return true;
}

void ToolButton::mousePressEvent(QMouseEvent* event) {
  if (style_ == tbsDropDown && event->button() == Qt::LeftButton && dropdown_menu_) {
    QStyleOptionToolButton option;
    initStyleOption(&option);
    const QRect arrow =
        style()->subControlRect(QStyle::CC_ToolButton, &option, QStyle::SC_ToolButtonMenu, this);
    if (arrow.contains(event->position().toPoint())) {
      Dispatch([this] { CheckMenuDropdown(); });
      return;
    }
  }
  QToolButton::mousePressEvent(event);
}

void ToolButton::TextChanged() {
  Refresh();
}

void ToolButton::Refresh() {
  ToolBar* bar = GetToolBar();
  setText(ToScreen(Caption()));
  ImageList* images = bar ? bar->Images() : nullptr;
  setIcon(images && image_index_ >= 0 ? images->Icon(image_index_) : QIcon());
  if (images) setIconSize(QSize(images->Width(), images->Height()));
  const bool captions = bar && bar->ShowCaptions();
  const bool hasIcon = !icon().isNull();
  setToolButtonStyle(!captions     ? (hasIcon ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextOnly)
                     : bar->List() ? Qt::ToolButtonTextBesideIcon
                                   : Qt::ToolButtonTextUnderIcon);
  setAutoRaise(bar && bar->Flat());
  if (style_ == tbsDropDown && dropdown_menu_) {
    setPopupMode(QToolButton::MenuButtonPopup);
    setMenu(dropdown_menu_->QtMenu());
  } else {
    setPopupMode(QToolButton::DelayedPopup);
    setMenu(nullptr);
  }
  setCheckable(style_ == tbsCheck);
  setChecked(down_);
  setDown(down_ && style_ != tbsCheck);
  update();
}

void ToolButton::paintEvent(QPaintEvent* event) {
  if (!IsGap()) {
    QToolButton::paintEvent(event);
    return;
  }
  if (style_ == tbsDivider) {
    QPainter painter(this);
    const int x = width() / 2 - 1;
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(x, 2, x, height() - 3);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(x + 1, 2, x + 1, height() - 3);
  }
}

// ---------------------------------------------------------------------------------------------
// ToolBar

ToolBar::ToolBar(Component* owner) : QWidget(nullptr), WinControl(this, owner) {
  setFocusPolicy(Qt::NoFocus);
  SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
  ColorChanged();
}

ToolButton* ToolBar::Buttons(int index) const {
  if (index < 0 || index >= ButtonCount()) {
    throw Error("List index out of bounds (" + std::to_string(index) + ")");
  }
  return buttons_[static_cast<size_t>(index)];
}

void ToolBar::AddButton(ToolButton* button) {
  if (std::find(buttons_.begin(), buttons_.end(), button) == buttons_.end()) {
    buttons_.push_back(button);
  }
  ArrangeButtons();
}

void ToolBar::RemoveButton(ToolButton* button) {
  buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), button), buttons_.end());
  ArrangeButtons();
}

void ToolBar::SetButtonWidth(int width) {
  button_width_ = std::max(1, width);
  ArrangeButtons();
}

void ToolBar::SetButtonHeight(int height) {
  button_height_ = std::max(1, height);
  ArrangeButtons();
}

void ToolBar::SetImages(ImageList* images) {
  if (images_) QObject::disconnect(images_, nullptr, this, nullptr);
  images_ = images;
  if (images) QObject::connect(images, &ImageList::Changed, this, [this] { RefreshButtons(); });
  RefreshButtons();
}

void ToolBar::SetFlat(bool flat) {
  flat_ = flat;
  RefreshButtons();
}

void ToolBar::SetShowCaptions(bool show) {
  show_captions_ = show;
  RefreshButtons();
}

void ToolBar::SetList(bool list) {
  list_ = list;
  RefreshButtons();
}

void ToolBar::SetIndent(int indent) {
  indent_ = std::max(0, indent);
  ArrangeButtons();
}

void ToolBar::SetPopupMenu(toolkit::PopupMenu* menu) {
  popup_menu_ = menu;
  AttachPopupMenu(this, menu);
}

void ToolBar::RefreshButtons() {
  for (ToolButton* button : buttons_) button->Refresh();
  ArrangeButtons();
}

void ToolBar::ArrangeButtons() {
  // Every button has the same size: ButtonWidth × ButtonHeight, or what the widest shown caption
  // needs.
  int w = button_width_, h = button_height_;
  if (show_captions_) {
    for (ToolButton* b : buttons_) {
      if (b->IsGap()) continue;
      w = std::max(w, b->sizeHint().width());
      h = std::max(h, b->sizeHint().height());
    }
  }
  int x = indent_;
  const int y = 2;
  for (ToolButton* b : buttons_) {
    const int bw = b->IsGap() ? b->gap_width_ : w;
    b->Control::SetBounds(x, y, bw, h);
    x += bw;
  }
}

TOOLKIT_REGISTER_CLASS(ToolButton, "TToolButton");
TOOLKIT_REGISTER_CLASS(ToolBar, "TToolBar");

}  // namespace toolkit
