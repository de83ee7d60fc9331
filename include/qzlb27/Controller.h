// The host contract of QZLB27C: what a host ERP client compiles against to load the plug-in and
// drive its option window.
//
// The plug-in (QZLB27C.so) exports one entry, `GetController`, which hands out a new controller.
// The host talks to the controller through its fields and its eighteen virtual operations; both
// are declared below in the fixed order the host relies on, so that a host built against this
// header calls the operations by position (the virtual destructor is declared after them and
// takes the slots behind the eighteenth).
//
// Calling order a host follows:
//
//   1. Load QZLB27C.so and look up the entry "GetController" (type PGetController).
//   2. controller = GetController();                     a new controller, owned by the host
//   3. controller->Manager = <work-center manager>;        an automation object (Variant)
//      controller->OnHostEvent = {proc, data};             optional; may stay empty
//   4. controller->InitModule(Params);                     0 success, -1 failure
//        Params = [0 user code, 1 company code, 2 system database name,
//                  3 host window handle (optional), 4 reserved (must be present)]
//        The window is created (event 0x100) and initialised; it starts hidden.
//   5. Any of SetWindowVisible, ShowModalWindow, PushValues / PushCommand, GetLoginInfo,
//      GetWindowHandle, GetWindowVersion, IsWindowVisible, in any order and as often as needed.
//      Showing the window fires 0x110, hiding it 0x120.
//   6. When the window is gone (the user closed it, FreeWindow, or step 8) the host hears 0x130;
//      ResultCode and ResultText then hold the job's status and reply text.
//   7. CanUnload() is true once no window is held.
//   8. delete controller;   a window still open is destroyed first (0x130 during destruction).
//
// Every operation runs on the host's user-interface thread and returns its result as documented;
// no operation lets an error through, with two exceptions, both automation::Error raised for an
// incomplete plug-in: GetController when no controller class is registered, and InitModule when
// no window class is registered.
//
// Variants are automation::Variant of the shared library qzlb27::automation, which the host
// links too, so that the plug-in and the host share one copy of the type.
#pragma once

#include <cstdint>
#include <string>

#include "automation/Variant.h"

namespace qzlb27 {

// Event codes handed to OnHostEvent.
inline constexpr std::int32_t EventCreated = 0x100;    // window created, before its initialisation
inline constexpr std::int32_t EventShown = 0x110;      // window shown (its own handler ran first)
inline constexpr std::int32_t EventHidden = 0x120;     // window hidden (its own handler ran first)
inline constexpr std::int32_t EventDestroyed = 0x130;  // window destroyed, result captured
inline constexpr std::int32_t EventCustom = 0x140;     // never fired by the module itself

// The version stamp a window reports through GetWindowVersion.
inline constexpr const char* WindowVersionStamp = "870401-0.00.00";

// The name of the exported entry.
inline constexpr const char* GetControllerEntry = "GetController";

// ResultCode values.
inline constexpr std::int32_t JobNothingSubmitted = 0;
inline constexpr std::int32_t JobSubmitted = 1;
inline constexpr std::int32_t JobCancelled = 2;

}  // namespace qzlb27

class TDLLBaseController;

// A native window handle as the host and the module exchange it; 0 means none.
using THandle = std::intptr_t;

// The host's event handler: a procedure and the object it belongs to. Empty while Code is null;
// the controller then skips every notification.
using THostEventProc = void (*)(void* Data, std::int32_t Code, TDLLBaseController* Sender);
struct THostEvent {
  THostEventProc Code = nullptr;
  void* Data = nullptr;

  bool IsEmpty() const { return Code == nullptr; }
};

// The controller. Fields and operations in contract order; see the header comment for the
// calling order. `Sender` arguments of the notifications are the option window, opaque to the
// host; the host's handler always receives the controller itself as its Sender.
class TDLLBaseController {
 public:
  // ---- Fields (read and written by the host) ----
  // The host's work-center manager; stored before InitModule, copied into the window.
  automation::Variant Manager;
  // Job status of the last destroyed window: 0 nothing submitted, 1 submitted, 2 cancelled.
  std::int32_t ResultCode = 0;
  // The job server's reply text for the submitted job (the job number); empty until a window
  // was destroyed.
  automation::Variant ResultText;
  // The host's event handler (may stay empty).
  THostEvent OnHostEvent;

  TDLLBaseController() = default;
  TDLLBaseController(const TDLLBaseController&) = delete;
  TDLLBaseController& operator=(const TDLLBaseController&) = delete;

  // ---- The eighteen operations, in contract order ----
  // 1. Text := the window's version stamp as wide text; unchanged without a window.
  virtual void GetWindowVersion(std::u16string& Text) = 0;
  // 2. -1 when a window exists and is visible, else 0.
  virtual std::int32_t IsWindowVisible() = 0;
  // 3. Shows (Visible ≠ 0: a minimised window is restored first and brought to the front) or
  //    hides the window; nothing without a window.
  virtual void SetWindowVisible(std::int16_t Visible) = 0;
  // 4. The window's handle, 0 without a window.
  virtual THandle GetWindowHandle() = 0;
  // 5. Creates the window on the first call (event 0x100) and initialises it with Params;
  //    0 on success, -1 on failure (also for a second call on the same window).
  virtual std::int32_t InitModule(const automation::Variant& Params) = 0;
  // 6. Hands Values (an array) to the window's host value push; 0, or -1 without a window, for
  //    a null or non-array value, or when the push raised an error.
  virtual std::int32_t PushValues(const automation::Variant& Values) = 0;
  // 7. Code 5 hands [false, Values] to the window's host value push; 0, or -1 for any other
  //    code, without a window or when the push raised an error. `Reserved` is ignored.
  virtual std::int32_t PushCommand(std::int32_t Code, const automation::Variant& Reserved,
                                   const automation::Variant& Values) = 0;
  // 8. Runs the window modally; Result := its modal result (integer), 2 without a window.
  virtual void ShowModalWindow(automation::Variant& Result) = 0;
  // 9. Destroys the window (nothing without one or while it is being destroyed).
  virtual void FreeWindow() = 0;
  // 10. Info := [user code, company code, program code, program name] (texts, indices 0..3);
  //     0, or -1 and Info unchanged without a window.
  virtual std::int32_t GetLoginInfo(automation::Variant& Info) = 0;
  // 11. True exactly when the controller holds no window.
  virtual bool CanUnload() = 0;
  // 12. Fires 0x100.
  virtual void NotifyCreated();
  // 13. Fires 0x110 (the batch controller runs the window's own show handler first).
  virtual void NotifyShown(void* Sender);
  // 14. Fires 0x120 (the batch controller runs the window's own hide handler first).
  virtual void NotifyHidden(void* Sender);
  // 15. Fires 0x130 (the batch controller captures ResultCode and ResultText and runs the
  //     window's own destroy handler first, then forgets the window).
  virtual void NotifyDestroyed(void* Sender);
  // 16. Fires 0x140.
  virtual void NotifyCustom();
  // 17. Calls OnHostEvent with (Code, this controller) when it is set.
  virtual void DoHostEvent(std::int32_t Code);
  // 18. Does nothing.
  virtual void Reserved();

  // Destroys the window first when one is still held (the batch controller does this).
  virtual ~TDLLBaseController();
};

// The exported entry: a new controller of the registered controller class, owned by the caller.
// Raises automation::Error "QRN DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible"
// when no controller class is registered.
extern "C" __attribute__((visibility("default"))) TDLLBaseController* GetController();
using PGetController = TDLLBaseController* (*)();
