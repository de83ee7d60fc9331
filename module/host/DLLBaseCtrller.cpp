#include "host/DLLBaseCtrller.h"

void TDLLBaseController::NotifyCreated() { DoHostEvent(qzlb27::EventCreated); }

void TDLLBaseController::NotifyShown(void* /*Sender*/) { DoHostEvent(qzlb27::EventShown); }

void TDLLBaseController::NotifyHidden(void* /*Sender*/) { DoHostEvent(qzlb27::EventHidden); }

void TDLLBaseController::NotifyDestroyed(void* /*Sender*/) {
  DoHostEvent(qzlb27::EventDestroyed);
}

void TDLLBaseController::NotifyCustom() { DoHostEvent(qzlb27::EventCustom); }

void TDLLBaseController::DoHostEvent(std::int32_t Code) {
  // The host hears the controller, never the window: it knows nothing of the window's type.
  if (!OnHostEvent.IsEmpty()) OnHostEvent.Code(OnHostEvent.Data, Code, this);
}

void TDLLBaseController::Reserved() {}

TDLLBaseController::~TDLLBaseController() = default;

#include "automation/Variant.h"

// Constant-initialised, so the batch controller's unit may set it during the plug-in's start-up
// whatever the order of the units' initialisation.
TDLLControllerClass DLLControllerClass = nullptr;

extern "C" TDLLBaseController* GetController() {
  if (DLLControllerClass == nullptr) {
    throw automation::Error(
        "QRN DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible");
  }
  return DLLControllerClass();
}
