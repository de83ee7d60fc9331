// DLLBaseCtrller: the generic controller of the host contract (qzlb27/Controller.h) — the
// fields the host reads and writes and the event dispatch of operations 12 to 18. The
// window-holding operations 1 to 11 belong to the batch controller (host/DLLBTCtrller.h).
#pragma once

#include "qzlb27/Controller.h"
