// DLLBTCtrller: the batch-job controller that the plug-in hands to the host. It owns at most one
// option window, created from `frmBaseBatchClass` on the first InitModule, forwards the host's
// requests to it, chains the window's show, hide and destroy events to the host's handler (the
// window's own handler first), and keeps the window's job status and reply text in ResultCode
// and ResultText when the window is destroyed.
//
// No operation lets an error through to the host: PushValues and PushCommand answer -1 for an
// error of the window, the other operations show it in the toolkit's error dialog and answer as
// without a window. The one error that does reach the host is InitModule's when no window class
// is registered (automation::Error naming "frmBaseBatchClass").
#pragma once

#include <memory>

#include "host/DLLBaseCtrller.h"
#include "toolkit/Component.h"
#include "toolkit/Events.h"

class TfrmBaseGene;
class TDLLBTCtrllerEvents;

// The window class InitModule instantiates: a factory making a window of the module's class
// with no owner. The module window's unit sets it when the plug-in is loaded.
using TfrmBaseBatchClass = TfrmBaseGene* (*)(toolkit::Component* Owner);
extern TfrmBaseBatchClass frmBaseBatchClass;

// The factory of a window class T, as frmBaseBatchClass holds it.
template <class T>
TfrmBaseGene* MakeBatchWindow(toolkit::Component* Owner);

class TDLLBTCtrller : public TDLLBaseController {
 public:
  TDLLBTCtrller();
  ~TDLLBTCtrller() override;

  // The window this controller owns; null until InitModule creates it and after it is gone.
  TfrmBaseGene* Window = nullptr;
  // The window's own handlers, saved when the controller took its events over.
  toolkit::Method SavedOnShow;
  toolkit::Method SavedOnHide;
  toolkit::Method SavedOnDestroy;

  void GetWindowVersion(std::u16string& Text) override;
  std::int32_t IsWindowVisible() override;
  void SetWindowVisible(std::int16_t Visible) override;
  THandle GetWindowHandle() override;
  std::int32_t InitModule(const automation::Variant& Params) override;
  std::int32_t PushValues(const automation::Variant& Values) override;
  std::int32_t PushCommand(std::int32_t Code, const automation::Variant& Reserved,
                           const automation::Variant& Values) override;
  void ShowModalWindow(automation::Variant& Result) override;
  void FreeWindow() override;
  std::int32_t GetLoginInfo(automation::Variant& Info) override;
  bool CanUnload() override;
  void NotifyShown(void* Sender) override;
  void NotifyHidden(void* Sender) override;
  void NotifyDestroyed(void* Sender) override;

 private:
  // The component whose published handlers stand in the window's event properties.
  std::unique_ptr<TDLLBTCtrllerEvents, toolkit::FreeDeleter> events_;
};

// The full file name of the plug-in (the library this code was loaded from).
std::string ModuleFileName();

#include "framework/BaseGene.h"
#include "toolkit/Form.h"

template <class T>
TfrmBaseGene* MakeBatchWindow(toolkit::Component* Owner) {
  return toolkit::CreateForm<T>(Owner);
}
