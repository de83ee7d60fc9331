// The application and the screen: process-wide settings the module changes.
//
// `Application::Instance()` ("TApplication") holds the title used by error dialogs, the hint
// (tool tip) settings — ShowHint, HintPause, HintHidePause in milliseconds —, the screen's
// Cursor (crHourGlass over every window while a long call runs; crDefault gives each control its
// own again) and the screen fonts
// (HintFont, IconFont, MenuFont) that the code-page conversion of a window switches to another
// character set. The hint settings act on every tool tip of the process.
#pragma once

#include <QObject>
#include <memory>
#include <string>

#include "toolkit/Graphics.h"

namespace toolkit {

class Application : public QObject, public Persistent {
  Q_OBJECT
  Q_PROPERTY(std::string Title READ Title WRITE SetTitle)
  Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
  Q_PROPERTY(int HintPause READ HintPause WRITE SetHintPause)
  Q_PROPERTY(int HintHidePause READ HintHidePause WRITE SetHintHidePause)
  Q_PROPERTY(toolkit::TCursor Cursor READ Cursor WRITE SetCursor)
  Q_PROPERTY(toolkit::Font* HintFont READ HintFont)
  Q_PROPERTY(toolkit::Font* IconFont READ IconFont)
  Q_PROPERTY(toolkit::Font* MenuFont READ MenuFont)

 public:
  // The one application object (created on first use; a QApplication must exist for the hint
  // settings to act).
  static Application& Instance();
  QObject* Object() override { return this; }

  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }
  bool ShowHint() const { return show_hint_; }
  void SetShowHint(bool show) { show_hint_ = show; }
  int HintPause() const { return hint_pause_; }
  void SetHintPause(int milliseconds) { hint_pause_ = milliseconds; }
  // How long a hint stays; 2500 at first.
  int HintHidePause() const { return hint_hide_pause_; }
  void SetHintHidePause(int milliseconds) { hint_hide_pause_ = milliseconds; }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);
  toolkit::Font* HintFont() const { return hint_font_.get(); }
  toolkit::Font* IconFont() const { return icon_font_.get(); }
  toolkit::Font* MenuFont() const { return menu_font_.get(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Application();
  std::string title_;
  bool show_hint_ = true;
  int hint_pause_ = 500;
  int hint_hide_pause_ = 2500;
  TCursor cursor_ = crDefault;
  std::unique_ptr<toolkit::Font> hint_font_;
  std::unique_ptr<toolkit::Font> icon_font_;
  std::unique_ptr<toolkit::Font> menu_font_;
};

}  // namespace toolkit
