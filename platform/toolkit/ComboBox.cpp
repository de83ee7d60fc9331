#include "toolkit/ComboBox.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <algorithm>
#include <functional>

namespace toolkit {
namespace {

// A Qt combo box that reports its list opening and closing.
class DropDownCombo : public QComboBox {
 public:
  explicit DropDownCombo(QWidget* parent) : QComboBox(parent) {}
  void showPopup() override {
    if (onDropDown) onDropDown();
    QComboBox::showPopup();
  }
  void hidePopup() override {
    QComboBox::hidePopup();
    if (onCloseUp) onCloseUp();
  }
  std::function<void()> onDropDown;
  std::function<void()> onCloseUp;
};

int CompareNoCase(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const int ca = std::tolower(static_cast<unsigned char>(a[i]));
    const int cb = std::tolower(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca - cb;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

}  // namespace

ComboBox::ComboBox(Component* owner) : QWidget(nullptr), WinControl(this, owner) {
  items_ = std::make_unique<Strings>();
  auto* combo = new DropDownCombo(this);
  combo->onDropDown = [this] { Dispatch([this] { DropDown(); }); };
  combo->onCloseUp = [this] { Dispatch([this] { CloseUp(); }); };
  combo_ = combo;
  combo_->setInsertPolicy(QComboBox::NoInsert);
  combo_->setMaxVisibleItems(drop_down_count_);
  edit_ = new QLineEdit(this);
  list_ = new QListWidget(this);
  FeedEventsFrom(combo_);
  FeedEventsFrom(edit_);
  FeedEventsFrom(list_);
  FeedEventsFrom(list_->viewport());
  SetTabStop(true);
  SetBounds(0, 0, 145, 21);
  SetColor(clWindow);
  items_->SetOnChange([this] { ItemsChanged(); });

  QObject::connect(combo_, &QComboBox::activated, this, [this](int index) { UserChose(index); });
  QObject::connect(edit_, &QLineEdit::textEdited, this, [this](const QString& t) { UserTyped(t); });
  QObject::connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!showing_ && row >= 0) UserChose(row);
  });
  Rebuild();
}

ComboBox::~ComboBox() {
  // The inner widgets report their events to this control; they go while it is still whole.
  dying_ = true;
  delete combo_;
  delete edit_;
  delete list_;
}

void ComboBox::SetStyle(TComboBoxStyle style) {
  if (style == style_) return;
  const std::string text = Text();
  style_ = style;
  // A list style keeps the chosen item; an edit style takes the text shown so far.
  if (HasEdit()) edit_text_ = text;
  Rebuild();
}

void ComboBox::Rebuild() {
  showing_ = true;
  const bool simple = style_ == csSimple;
  combo_->setVisible(!simple);
  edit_->setVisible(simple);
  list_->setVisible(simple);
  combo_->setEditable(style_ == csDropDown);
  if (QLineEdit* line = combo_->lineEdit()) {
    combo_->setCompleter(nullptr);
    FeedEventsFrom(line);
    QObject::disconnect(line, &QLineEdit::textEdited, this, nullptr);
    QObject::connect(line, &QLineEdit::textEdited, this,
                     [this](const QString& t) { UserTyped(t); });
  }
  setFocusProxy(simple ? static_cast<QWidget*>(edit_) : combo_);
  showing_ = false;
  SetMaxLength(max_length_);
  ShowItems();
  ShowSelection();
  Layout();
}

void ComboBox::ShowItems() {
  showing_ = true;
  QStringList shown;
  for (const std::string& item : items_->Lines()) shown << ToScreen(item);
  combo_->clear();
  combo_->addItems(shown);
  list_->clear();
  list_->addItems(shown);
  showing_ = false;
}

void ComboBox::ShowSelection() {
  showing_ = true;
  combo_->setCurrentIndex(item_index_);
  if (QLineEdit* line = combo_->lineEdit()) line->setText(ToScreen(edit_text_));
  edit_->setText(ToScreen(edit_text_));
  list_->setCurrentRow(item_index_);
  if (item_index_ < 0) list_->clearSelection();
  showing_ = false;
}

void ComboBox::ItemsChanged() {
  if (sorting_) return;
  if (sorted_) SortItems();
  // The choice stays on its item while that item is still there at its place.
  if (item_index_ >= items_->Count() ||
      (item_index_ >= 0 && items_->At(item_index_) != edit_text_)) {
    item_index_ = -1;
  }
  if (!HasEdit()) edit_text_ = item_index_ >= 0 ? items_->At(item_index_) : std::string();
  ShowItems();
  ShowSelection();
}

void ComboBox::SortItems() {
  std::vector<std::string> lines = items_->Lines();
  std::stable_sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
    return CompareNoCase(a, b) < 0;
  });
  sorting_ = true;
  items_->Assign(lines);
  sorting_ = false;
}

void ComboBox::SetItemIndex(int index) {
  if (index < 0 || index >= items_->Count()) index = -1;
  item_index_ = index;
  // Choosing no item empties the edit too, as the desktop control does.
  edit_text_ = index >= 0 ? items_->At(index) : std::string();
  ShowSelection();
}

std::string ComboBox::Text() const {
  if (HasEdit()) return edit_text_;
  return item_index_ >= 0 && item_index_ < items_->Count() ? items_->At(item_index_)
                                                           : std::string();
}

void ComboBox::SetText(std::string text) {
  const auto& lines = items_->Lines();
  auto exact = std::find(lines.begin(), lines.end(), text);
  int index = exact == lines.end() ? -1 : static_cast<int>(exact - lines.begin());
  if (HasEdit()) {
    edit_text_ = std::move(text);
    item_index_ = index;
    ShowSelection();
    return;
  }
  if (index < 0) index = items_->IndexOf(text);
  SetItemIndex(index);
}

void ComboBox::SetSorted(bool sorted) {
  sorted_ = sorted;
  if (sorted) ItemsChanged();
}

void ComboBox::SetDropDownCount(int count) {
  drop_down_count_ = std::max(1, count);
  combo_->setMaxVisibleItems(drop_down_count_);
}

void ComboBox::SetMaxLength(int length) {
  max_length_ = std::max(0, length);
  const int limit = max_length_ > 0 ? max_length_ : 32767;
  edit_->setMaxLength(limit);
  if (QLineEdit* line = combo_->lineEdit()) line->setMaxLength(limit);
}

void ComboBox::SetPopupMenu(toolkit::PopupMenu* menu) {
  popup_menu_ = menu;
  AttachPopupMenu(this, menu);
}

bool ComboBox::DroppedDown() const {
  return combo_->view() && combo_->view()->isVisible();
}

void ComboBox::SetDroppedDown(bool dropped) {
  if (style_ == csSimple || dropped == DroppedDown()) return;
  if (dropped) {
    combo_->showPopup();
  } else {
    combo_->hidePopup();
  }
}

void ComboBox::SelectAll() {
  if (QLineEdit* line = QtEdit()) line->selectAll();
}

void ComboBox::Clear() {
  items_->Clear();
  SetItemIndex(-1);
}

QLineEdit* ComboBox::QtEdit() const {
  if (style_ == csSimple) return edit_;
  return combo_->lineEdit();
}

void ComboBox::UserChose(int index) {
  if (showing_ || index < 0 || index >= items_->Count()) return;
  item_index_ = index;
  edit_text_ = items_->At(index);
  ShowSelection();
  Dispatch([this] { Click(); });
  Dispatch([this] { Select(); });
}

void ComboBox::UserTyped(const QString& text) {
  if (showing_) return;
  std::string bytes = FromScreen(text);
  if (max_length_ > 0 && static_cast<int>(bytes.size()) > max_length_) {
    // A limit in bytes: what does not fit is taken back.
    ShowSelection();
    return;
  }
  edit_text_ = std::move(bytes);
  const auto& lines = items_->Lines();
  auto exact = std::find(lines.begin(), lines.end(), edit_text_);
  item_index_ = exact == lines.end() ? -1 : static_cast<int>(exact - lines.begin());
  showing_ = true;
  list_->setCurrentRow(item_index_);
  if (item_index_ < 0) list_->clearSelection();
  showing_ = false;
  Dispatch([this] { Change(); });
}

void ComboBox::Change() {
  FOnChange(this);
}

void ComboBox::Select() {
  if (FOnSelect.IsEmpty()) {
    Change();
  } else {
    FOnSelect(this);
  }
}

void ComboBox::DropDown() {
  FOnDropDown(this);
}
void ComboBox::CloseUp() {
  FOnCloseUp(this);
}

void ComboBox::FontChanged() {
  WinControl::FontChanged();
  ShowItems();
  ShowSelection();
  Layout();
}

void ComboBox::ColorChanged() {
  for (QWidget* w : {static_cast<QWidget*>(combo_), static_cast<QWidget*>(edit_),
                     static_cast<QWidget*>(list_)}) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, ToQColor(Color()));
    w->setPalette(p);
  }
}

bool ComboBox::FilterEvent(QObject* watched, QEvent* event) {
  if (dying_) return false;
  // Moving between the inner widgets (the edit and the list of csSimple) stays in the control.
  if (event->type() == QEvent::FocusOut && QApplication::focusWidget() &&
      isAncestorOf(QApplication::focusWidget())) {
    return false;
  }
  return WinControl::FilterEvent(watched, event);
}

void ComboBox::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Layout();
}

void ComboBox::Layout() {
  if (style_ == csSimple) {
    const int editHeight = std::min(height(), std::max(21, edit_->sizeHint().height()));
    edit_->setGeometry(0, 0, width(), editHeight);
    list_->setGeometry(0, editHeight, width(), std::max(0, height() - editHeight));
  } else {
    combo_->setGeometry(rect());
  }
}

TOOLKIT_REGISTER_CLASS(ComboBox, "TComboBox");

}  // namespace toolkit
