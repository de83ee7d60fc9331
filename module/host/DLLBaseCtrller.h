// DLLBaseCtrller: the generic controller of the host contract (qzlb27/Controller.h) — the
// fields the host reads and writes and the event dispatch of operations 12 to 18 — and the
// exported entry GetController with the controller class it instantiates. The window-holding
// operations 1 to 11 belong to the batch controller (host/DLLBTCtrller.h).
#pragma once

#include "qzlb27/Controller.h"

// The controller class GetController instantiates (a factory of a new controller). The batch
// controller's unit sets it when the plug-in is loaded.
using TDLLControllerClass = TDLLBaseController* (*)();
extern TDLLControllerClass DLLControllerClass;
