// Memo ("TMemo"): a multi-line text field whose lines are the module's 8-bit texts.
//
// Published: Lines (the lines as a string list; what the user types shows there at once), Text
// (the lines joined by CR LF, no break after the last), WantReturns (True: Enter breaks the line;
// False: Enter goes to the form, Ctrl+Enter still breaks the line), WantTabs (False), WordWrap
// (True), ScrollBars (ssNone), Alignment (taLeftJustify), ReadOnly, MaxLength (bytes of Text;
// 0 = no limit), Color (clWindow), ImeName, PopupMenu, OnChange (after every change of the text,
// typed or set; not while loading), and the common windowed-control properties and events.
// A new memo is 185 × 89.
//
// With WantReturns, Enter is no dialog key: the form's default button does not get it, but the
// form's key preview (OnKeyDown, OnKeyPress with character 13) still runs before the line is
// broken and may consume the key.
#pragma once

#include <QPlainTextEdit>
#include <memory>

#include "toolkit/Classes.h"
#include "toolkit/Control.h"
#include "toolkit/Menus.h"

namespace toolkit {

class Memo : public QPlainTextEdit, public WinControl {
  Q_OBJECT
 public:
  enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
  Q_ENUM(TScrollStyle)

 private:
  Q_PROPERTY(toolkit::Strings* Lines READ Lines)
  Q_PROPERTY(std::string Text READ Text WRITE SetText)
  Q_PROPERTY(bool WantReturns READ WantReturns WRITE SetWantReturns)
  Q_PROPERTY(bool WantTabs READ WantTabs WRITE SetWantTabs)
  Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
  Q_PROPERTY(TScrollStyle ScrollBars READ ScrollBars WRITE SetScrollBars)
  Q_PROPERTY(toolkit::Control::TAlignment Alignment READ Alignment WRITE SetAlignment)
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
  Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(std::string ImeName READ ImeName WRITE SetImeName)
  Q_PROPERTY(toolkit::PopupMenu* PopupMenu READ GetPopupMenu WRITE SetPopupMenu)
  Q_PROPERTY(toolkit::NotifyEvent OnChange MEMBER FOnChange)

 public:
  explicit Memo(Component* owner);
  ~Memo() override;

  Strings* Lines() const { return lines_.get(); }
  std::string Text() const;
  void SetText(std::string_view text) { lines_->SetText(text); }
  bool WantReturns() const { return want_returns_; }
  void SetWantReturns(bool want) { want_returns_ = want; }
  bool WantTabs() const { return want_tabs_; }
  void SetWantTabs(bool want);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool wrap);
  TScrollStyle ScrollBars() const { return scroll_bars_; }
  void SetScrollBars(TScrollStyle style);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  bool ReadOnly() const { return isReadOnly(); }
  void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }
  int MaxLength() const { return max_length_; }
  void SetMaxLength(int length) { max_length_ = std::max(0, length); }
  const std::string& ImeName() const { return ime_name_; }
  void SetImeName(std::string name) { ime_name_ = std::move(name); }
  toolkit::PopupMenu* GetPopupMenu() const { return popup_menu_; }
  void SetPopupMenu(toolkit::PopupMenu* menu);

  // Enter is the memo's while WantReturns is set, Tab while WantTabs is.
  bool WantsKey(Word key, ShiftState shift) const override;

  // The caret: line (Y, from 0) and character in the line (X).
  struct CaretPosition {
    int X = 0;
    int Y = 0;
  };
  CaretPosition CaretPos() const;
  void SetCaretPos(int x, int y);
  void SelectAll() { selectAll(); }
  void Clear() { lines_->Clear(); }

 protected:
  // Fires OnChange.
  virtual void Change();
  void FontChanged() override;
  void ColorChanged() override;
  void keyPressEvent(QKeyEvent* event) override;
  bool FilterEvent(QObject* watched, QEvent* event) override;

  NotifyEvent FOnChange;

 private:
  void ShowLines();
  void UserEdited();
  void ApplyAlignment();

  std::unique_ptr<Strings> lines_;
  bool want_returns_ = true;
  bool want_tabs_ = false;
  bool word_wrap_ = true;
  TScrollStyle scroll_bars_ = ssNone;
  TAlignment alignment_ = taLeftJustify;
  int max_length_ = 0;
  std::string ime_name_;
  QPointer<toolkit::PopupMenu> popup_menu_;
  bool showing_ = false;
  std::string shown_text_;
  // Set while the control is being destroyed: its inner widgets go first and report nothing.
  bool dying_ = false;
};

}  // namespace toolkit
