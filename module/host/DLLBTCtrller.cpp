#include "host/DLLBTCtrller.h"

#include <dlfcn.h>

#include <exception>

#include "os/CodePage.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Properties.h"

using automation::Variant;

TfrmBaseBatchClass frmBaseBatchClass = nullptr;

// The window's show, hide and destroy events are handler properties holding published methods
// of a component; this one publishes the controller's three notifications under their names.
class TDLLBTCtrllerEvents : public toolkit::NonVisualComponent {
  Q_OBJECT
 public:
  explicit TDLLBTCtrllerEvents(TDLLBTCtrller* controller)
      : toolkit::NonVisualComponent(nullptr), controller_(controller) {}

  void NotifyShown(toolkit::Component* Sender) { controller_->NotifyShown(Sender); }
  void NotifyHidden(toolkit::Component* Sender) { controller_->NotifyHidden(Sender); }
  void NotifyDestroyed(toolkit::Component* Sender) { controller_->NotifyDestroyed(Sender); }

 private:
  TDLLBTCtrller* controller_;
};

namespace {

const auto published = toolkit::Publish<TDLLBTCtrllerEvents>()
                           .Handler("NotifyShown", &TDLLBTCtrllerEvents::NotifyShown)
                           .Handler("NotifyHidden", &TDLLBTCtrllerEvents::NotifyHidden)
                           .Handler("NotifyDestroyed", &TDLLBTCtrllerEvents::NotifyDestroyed);

// The plug-in registers its controller class while it is being loaded.
const bool registered = [] {
  DLLControllerClass = [] { return static_cast<TDLLBaseController*>(new TDLLBTCtrller); };
  return true;
}();

// Errors of the window never reach the host: they are shown the way an event handler's error
// is, and the operation answers as without a window.
template <class F>
void Guarded(F&& operation) {
  try {
    operation();
  } catch (const std::exception& e) {
    toolkit::HandleException(e);
  } catch (...) {
    toolkit::HandleException(automation::Error("Unknown error"));
  }
}

// The sender of a window event as the window's component.
toolkit::Component* SenderOf(void* Sender) { return static_cast<toolkit::Component*>(Sender); }

}  // namespace

std::string ModuleFileName() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&ModuleFileName), &info) == 0 || info.dli_fname == nullptr) {
    return std::string();
  }
  return info.dli_fname;
}

TDLLBTCtrller::TDLLBTCtrller() : events_(new TDLLBTCtrllerEvents(this)) { (void)registered; }

TDLLBTCtrller::~TDLLBTCtrller() {
  // The host hears 0x130 while its controller is going away.
  if (Window != nullptr) FreeWindow();
}

void TDLLBTCtrller::GetWindowVersion(std::u16string& Text) {
  if (Window == nullptr) return;
  Text = os::AnsiToWide(Window->VersionStamp, os::SystemCodePage());
}

std::int32_t TDLLBTCtrller::IsWindowVisible() {
  return Window != nullptr && Window->Visible() ? -1 : 0;
}

void TDLLBTCtrller::SetWindowVisible(std::int16_t Visible) {
  if (Window == nullptr) return;
  Guarded([&] {
    if (Visible != 0) {
      if (Window->WindowState() == toolkit::Form::wsMinimized) {
        Window->SetWindowState(toolkit::Form::wsNormal);
      }
      Window->Show();
      Window->BringToFront();
    } else {
      Window->Hide();
    }
  });
}

THandle TDLLBTCtrller::GetWindowHandle() {
  return Window == nullptr ? 0 : static_cast<THandle>(Window->Handle());
}

std::int32_t TDLLBTCtrller::InitModule(const Variant& Params) {
  bool created = false;
  if (Window == nullptr) {
    if (frmBaseBatchClass == nullptr) {
      throw automation::Error(
          "QRN DLL Internal Error :\rNot Assign \"frmBaseBatchClass\" varible");
    }
    Guarded([&] {
      Window = frmBaseBatchClass(nullptr);
      Window->SetModulePath(ModuleFileName());
      Window->Manager = Manager;
      created = true;
    });
    if (Window == nullptr) return -1;
    NotifyCreated();
  }
  if (created) {
    // Chained once per window, so that no handler becomes its own saved predecessor.
    SavedOnShow = toolkit::GetMethodPropOf(Window, "OnShow");
    SavedOnHide = toolkit::GetMethodPropOf(Window, "OnHide");
    SavedOnDestroy = toolkit::GetMethodPropOf(Window, "OnDestroy");
    toolkit::SetMethodPropOf(Window, "OnShow", toolkit::FindMethod(events_.get(), "NotifyShown"));
    toolkit::SetMethodPropOf(Window, "OnHide", toolkit::FindMethod(events_.get(), "NotifyHidden"));
    toolkit::SetMethodPropOf(Window, "OnDestroy",
                             toolkit::FindMethod(events_.get(), "NotifyDestroyed"));
  }
  bool ok = false;
  Guarded([&] { ok = Window != nullptr && Window->InitWindow(Params); });
  return ok ? 0 : -1;
}

std::int32_t TDLLBTCtrller::PushValues(const Variant& Values) {
  if (Window == nullptr || Values.IsNull() || !Values.IsArray()) return -1;
  try {
    Window->HostPush(Values);
    return 0;
  } catch (...) {
    return -1;
  }
}

std::int32_t TDLLBTCtrller::PushCommand(std::int32_t Code, const Variant& /*Reserved*/,
                                        const Variant& Values) {
  if (Window == nullptr || Code != 5) return -1;
  try {
    // The window reads element 1 of what it is handed: here the host's values themselves.
    Window->HostPush(automation::VarArrayOf({Variant(false), Values}));
    return 0;
  } catch (...) {
    return -1;
  }
}

void TDLLBTCtrller::ShowModalWindow(Variant& Result) {
  if (Window == nullptr) {
    Result = toolkit::mrCancel;
    return;
  }
  int result = toolkit::mrCancel;
  Guarded([&] { result = Window->ShowModal(); });
  Result = result;
}

void TDLLBTCtrller::FreeWindow() {
  if (Window == nullptr || Window->IsDestroying()) return;
  Guarded([&] { toolkit::Free(Window); });
  Window = nullptr;
}

std::int32_t TDLLBTCtrller::GetLoginInfo(Variant& Info) {
  if (Window == nullptr) return -1;
  Info = automation::VarArrayOf({Variant(Window->UserCode), Variant(Window->CompanyCode),
                                 Variant(Window->ProgramCode), Variant(Window->ProgramName)});
  return 0;
}

bool TDLLBTCtrller::CanUnload() { return Window == nullptr; }

void TDLLBTCtrller::NotifyShown(void* Sender) {
  if (!SavedOnShow.IsEmpty()) toolkit::CallHandler(SavedOnShow, SenderOf(Sender));
  TDLLBaseController::NotifyShown(Sender);
}

void TDLLBTCtrller::NotifyHidden(void* Sender) {
  if (!SavedOnHide.IsEmpty()) toolkit::CallHandler(SavedOnHide, SenderOf(Sender));
  TDLLBaseController::NotifyHidden(Sender);
}

void TDLLBTCtrller::NotifyDestroyed(void* Sender) {
  if (Window != nullptr) {
    ResultCode = Window->JobStatus;
    ResultText = Window->JobResult;
    if (!SavedOnDestroy.IsEmpty()) {
      // The window's own destroy handler may fail; the host still hears of the destruction.
      Guarded([&] { toolkit::CallHandler(SavedOnDestroy, SenderOf(Sender)); });
    }
  }
  TDLLBaseController::NotifyDestroyed(Sender);
  Window = nullptr;
}

#include "DLLBTCtrller.moc"
