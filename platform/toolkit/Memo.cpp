#include "toolkit/Memo.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextOption>

namespace toolkit {

Memo::Memo(Component* owner) : QPlainTextEdit(nullptr), WinControl(this, owner) {
  lines_ = std::make_unique<Strings>();
  SetTabStop(true);
  SetBounds(0, 0, 185, 89);
  SetColor(clWindow);
  setTabChangesFocus(true);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  SetScrollBars(ssNone);
  FeedEventsFrom(viewport());
  lines_->SetOnChange([this] { ShowLines(); });
  QObject::connect(this, &QPlainTextEdit::textChanged, this, [this] {
    if (!showing_) UserEdited();
  });
}

Memo::~Memo() {
  // The viewport reports its events to this control; it goes while the control is still whole.
  dying_ = true;
  setViewport(new QWidget);
}

bool Memo::FilterEvent(QObject* watched, QEvent* event) {
  if (dying_) return false;
  return WinControl::FilterEvent(watched, event);
}

std::string Memo::Text() const {
  std::string text;
  const auto& lines = lines_->Lines();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) text += "\r\n";
    text += lines[i];
  }
  return text;
}

void Memo::ShowLines() {
  if (showing_) return;
  showing_ = true;
  QStringList shown;
  for (const std::string& line : lines_->Lines()) shown << ToScreen(line);
  setPlainText(shown.join(u'\n'));
  ApplyAlignment();
  showing_ = false;
  shown_text_ = Text();
  if (!IsLoading()) Change();
}

void Memo::UserEdited() {
  // The widget's lines become the list's; a last empty line (the caret after a final break)
  // is no line of its own.
  QStringList shown = toPlainText().split(u'\n');
  if (shown.size() > 1 && shown.back().isEmpty()) shown.removeLast();
  if (shown.size() == 1 && shown.front().isEmpty()) shown.clear();
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(shown.size()));
  size_t bytes = 0;
  for (const QString& line : shown) {
    lines.push_back(FromScreen(line));
    bytes += lines.back().size() + (lines.size() > 1 ? 2 : 0);
  }
  if (max_length_ > 0 && bytes > static_cast<size_t>(max_length_)) {
    // Over the limit (in bytes, a two-byte character counting two): the edit is taken back.
    const int position = std::max(0, textCursor().position() - 1);
    showing_ = true;
    QStringList before;
    for (const std::string& line : lines_->Lines()) before << ToScreen(line);
    setPlainText(before.join(u'\n'));
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::min(position, static_cast<int>(toPlainText().size())));
    setTextCursor(cursor);
    showing_ = false;
    return;
  }
  showing_ = true;
  lines_->Assign(lines);
  showing_ = false;
  const std::string text = Text();
  if (text == shown_text_) return;
  shown_text_ = text;
  if (!IsLoading()) Dispatch([this] { Change(); });
}

void Memo::Change() {
  FOnChange(this);
}

bool Memo::WantsKey(Word key, ShiftState shift) const {
  if (key == VK_RETURN) return want_returns_;
  if (key == VK_TAB) return want_tabs_;
  return WinControl::WantsKey(key, shift);
}

void Memo::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & Qt::ControlModifier)) {
    // Ctrl+Enter breaks the line whatever WantReturns says.
    if (!isReadOnly()) textCursor().insertText(QString(u'\n'));
    event->accept();
    return;
  }
  if (enter && !want_returns_) {
    event->ignore();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void Memo::SetWantTabs(bool want) {
  want_tabs_ = want;
  setTabChangesFocus(!want);
}

void Memo::SetWordWrap(bool wrap) {
  word_wrap_ = wrap;
  setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void Memo::SetScrollBars(TScrollStyle style) {
  scroll_bars_ = style;
  const bool horizontal = style == ssHorizontal || style == ssBoth;
  const bool vertical = style == ssVertical || style == ssBoth;
  setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void Memo::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  ApplyAlignment();
}

void Memo::ApplyAlignment() {
  QTextOption option = document()->defaultTextOption();
  option.setAlignment(alignment_ == taRightJustify ? Qt::AlignRight
                      : alignment_ == taCenter     ? Qt::AlignHCenter
                                                   : Qt::AlignLeft);
  document()->setDefaultTextOption(option);
}

void Memo::SetPopupMenu(toolkit::PopupMenu* menu) {
  popup_menu_ = menu;
  AttachPopupMenu(this, menu);
}

Memo::CaretPosition Memo::CaretPos() const {
  const QTextCursor cursor = textCursor();
  return {cursor.positionInBlock(), cursor.blockNumber()};
}

void Memo::SetCaretPos(int x, int y) {
  QTextBlock block = document()->findBlockByNumber(std::max(0, y));
  if (!block.isValid()) block = document()->lastBlock();
  QTextCursor cursor(block);
  cursor.setPosition(block.position() + std::clamp(x, 0, block.length() - 1));
  setTextCursor(cursor);
}

void Memo::FontChanged() {
  WinControl::FontChanged();
  // Show the lines again through the font's code page, without a change of the text.
  showing_ = true;
  QStringList shown;
  for (const std::string& line : lines_->Lines()) shown << ToScreen(line);
  setPlainText(shown.join(u'\n'));
  ApplyAlignment();
  showing_ = false;
}

void Memo::ColorChanged() {
  QPalette p = palette();
  p.setColor(QPalette::Base, ToQColor(Color()));
  setPalette(p);
}

TOOLKIT_REGISTER_CLASS(Memo, "TMemo");

}  // namespace toolkit
