// Forms: the top-level windows of the module.
//
// A `Form` ("TForm") is a real top-level Qt window and a component that owns the components of
// the window in creation order, independently of their visual parents; destroying the form
// destroys them. Window classes derive from Form, carry Q_OBJECT, publish their handler methods
// (toolkit/Events.h) and are made with `CreateForm<T>(owner)`, which constructs the window, reads
// the descriptions of its class chain (toolkit/FormDescription.h), lets each class bind its
// components in `Loaded` and fires OnCreate.
//
// Closing follows the desktop toolkit: `Close` asks OnCloseQuery, then OnClose decides what
// happens (hide, free, minimise or nothing); a modal form's Close only sets ModalResult to
// mrCancel and the modal run ends. `Release` and a posted WM_CLOSE act after the current handler
// has returned. `ShowModal` runs the form through the current ModalRunner (toolkit/Dialogs.h) and
// answers its ModalResult.
//
// With KeyPreview set the form's OnKeyDown, OnKeyPress and OnKeyUp run before those of the
// focused control (with the form as sender); a handler that sets the key to 0 consumes it.
#pragma once

#include <QWidget>
#include <string>

#include "toolkit/Control.h"

namespace toolkit {

// Modal results.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;
inline constexpr int mrAbort = 3;
inline constexpr int mrRetry = 4;
inline constexpr int mrIgnore = 5;
inline constexpr int mrYes = 6;
inline constexpr int mrNo = 7;
inline constexpr int mrAll = 8;
inline constexpr int mrNoToAll = 9;
inline constexpr int mrYesToAll = 10;

class Form : public QWidget, public WinControl {
  Q_OBJECT
 public:
  enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
  };
  Q_ENUM(TPosition)
  enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
  Q_ENUM(TFormBorderStyle)
  enum TBorderIcon { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
  Q_DECLARE_FLAGS(TBorderIcons, TBorderIcon)
  Q_FLAG(TBorderIcons)
  enum TWindowState { wsNormal, wsMinimized, wsMaximized };
  Q_ENUM(TWindowState)

 private:
  Q_PROPERTY(std::string Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(int ClientWidth READ ClientWidth WRITE SetClientWidth)
  Q_PROPERTY(int ClientHeight READ ClientHeight WRITE SetClientHeight)
  Q_PROPERTY(bool KeyPreview READ KeyPreview WRITE SetKeyPreview)
  Q_PROPERTY(QWidget* ActiveControl READ ActiveControlWidget WRITE SetActiveControlWidget)
  Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
  Q_PROPERTY(TPosition Position READ Position WRITE SetPosition)
  Q_PROPERTY(TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
  Q_PROPERTY(TBorderIcons BorderIcons READ BorderIcons WRITE SetBorderIcons)
  Q_PROPERTY(TWindowState WindowState READ WindowState WRITE SetWindowState)
  Q_PROPERTY(bool Scaled MEMBER scaled_)
  Q_PROPERTY(toolkit::NotifyEvent OnCreate MEMBER FOnCreate)
  Q_PROPERTY(toolkit::NotifyEvent OnDestroy MEMBER FOnDestroy)
  Q_PROPERTY(toolkit::NotifyEvent OnShow MEMBER FOnShow)
  Q_PROPERTY(toolkit::NotifyEvent OnHide MEMBER FOnHide)
  Q_PROPERTY(toolkit::CloseEvent OnClose MEMBER FOnClose)
  Q_PROPERTY(toolkit::CloseQueryEvent OnCloseQuery MEMBER FOnCloseQuery)
  Q_PROPERTY(toolkit::NotifyEvent OnActivate MEMBER FOnActivate)
  Q_PROPERTY(toolkit::NotifyEvent OnDeactivate MEMBER FOnDeactivate)
  Q_PROPERTY(toolkit::NotifyEvent OnResize MEMBER FOnResize)

 public:
  // A new, hidden window 320 × 240 with the caption "" and no components. Use CreateForm<T>
  // for window classes with descriptions.
  explicit Form(Component* owner);
  ~Form() override;
  QObject* Object() override { return this; }

  const std::string& Caption() const { return GetText(); }
  void SetCaption(std::string caption) { SetTextValue(std::move(caption)); }
  void SetClientWidth(int width) { SetWidth(width); }
  void SetClientHeight(int height) { SetHeight(height); }
  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool visible) override;
  void SetParent(WinControl* parent) override;

  bool KeyPreview() const { return key_preview_; }
  void SetKeyPreview(bool preview) { key_preview_ = preview; }
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  TFormBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return border_icons_; }
  void SetBorderIcons(TBorderIcons icons);
  TWindowState WindowState() const;
  void SetWindowState(TWindowState state);

  // The control that has (or gets, when the window becomes active) the focus; null when none.
  WinControl* ActiveControl() const;
  // Makes the control the active one and focuses it when the form is showing.
  void SetActiveControl(WinControl* control);
  // Moves the focus to the next (or previous) control in tab order after `current` (from the
  // start with null), wrapping around; with `checkTabStop` only controls with TabStop count.
  void SelectNext(WinControl* current, bool forward, bool checkTabStop);
  // Offers a dialog key to every control of the window (see Control::DialogKey); true when one
  // used it.
  bool BroadcastDialogKey(Word key, ShiftState shift);

  // Shows the window (centred on the screen for poScreenCenter and the like) and fires OnShow.
  void Show();
  void Hide() { SetVisible(false); }
  // Closes as the header describes.
  void Close();
  // Asks OnCloseQuery; true when the form may close.
  virtual bool CloseQuery();
  // Destroys the form once the current handler has returned.
  void Release();
  // Posts a close request (WM_CLOSE): the form closes once the current handler has returned.
  void PostClose();
  // Runs the form modally through the current ModalRunner and answers its ModalResult.
  int ShowModal();
  bool IsModal() const { return modal_; }
  int ModalResult() const { return modal_result_; }
  // A non-zero result ends a modal run.
  void SetModalResult(int result);

  void WndProc(Message& message) override;
  // Hides a visible window (OnHide), then fires OnDestroy (once) while the window is still whole.
  void BeforeDestruction() override;

  // The classes of the chain call the base first. The base does nothing.
  void Loaded() override;
  // Fires OnCreate (CreateForm calls it after loading).
  virtual void DoCreate();

  // For ModalRunner implementations: called when a non-zero ModalResult ends the run.
  void SetModalEndHandler(std::function<void()> onEnd) { modal_end_ = std::move(onEnd); }

 protected:
  void ColorChanged() override;
  void TextChanged() override;
  bool FilterEvent(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Runs OnClose with the action; the default action is caHide.
  virtual void DoClose(TCloseAction& action);
  virtual void DoShow();
  virtual void DoHide();

  NotifyEvent FOnCreate;
  NotifyEvent FOnDestroy;
  NotifyEvent FOnShow;
  NotifyEvent FOnHide;
  CloseEvent FOnClose;
  CloseQueryEvent FOnCloseQuery;
  NotifyEvent FOnActivate;
  NotifyEvent FOnDeactivate;
  NotifyEvent FOnResize;

 private:
  friend class WinControl;
  // Focus bookkeeping: exits of the entered controls (innermost first) that do not contain the
  // target, then enters from the outermost container down to the control.
  void ExitTowards(WinControl* target);
  void EnterControl(WinControl* control);
  QWidget* ActiveControlWidget() const;
  void SetActiveControlWidget(QWidget* widget);
  void ApplyWindowFlags();
  void PlaceOnScreen();

  bool key_preview_ = false;
  bool scaled_ = false;
  bool modal_ = false;
  bool placed_ = false;
  bool destroy_fired_ = false;
  int modal_result_ = mrNone;
  TPosition position_ = poDesigned;
  TFormBorderStyle border_style_ = bsSizeable;
  TBorderIcons border_icons_ = TBorderIcons(biSystemMenu | biMinimize | biMaximize);
  WinControl* active_control_ = nullptr;
  // The innermost control whose enter has run and whose exit has not (its containers are
  // entered too).
  WinControl* entered_control_ = nullptr;
  std::function<void()> modal_end_;
};

// Reads the form descriptions of the window's class chain into it, lets the classes bind their
// components (Loaded) and fires OnCreate. Errors of the descriptions raise Error.
void InitializeForm(Form* form);

// Makes a window of class T (constructible from its owner), initialised as above. A failure
// destroys the half-made window and passes the error on.
template <class T, class... Args>
T* CreateForm(Component* owner, Args&&... args) {
  std::unique_ptr<T> form(new T(owner, std::forward<Args>(args)...));
  InitializeForm(form.get());
  return form.release();
}

}  // namespace toolkit

Q_DECLARE_OPERATORS_FOR_FLAGS(toolkit::Form::TBorderIcons)
