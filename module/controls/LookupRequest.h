// The lookup request: the window message (user message 10, WM_USER + 10 = 1034) by which a
// lookup button, a labelled edit's button or a selection panel asks its window to open the lookup
// window for a control, as an F2 key press in that control does. It is sent, so the window has
// handled it before the sender continues; the control travels in the second parameter
// (toolkit::ControlParam / toolkit::ParamControl).
#pragma once

#include "toolkit/Control.h"

inline constexpr unsigned LookupRequest = toolkit::WM_USER + 10;

// The window (form) that owns `component`, walking its owners; null when there is none.
toolkit::Form* OwnerWindow(const toolkit::Component* component);

// Sends the lookup request for `control` to the window that owns `owned` (the control itself, or
// the panel it belongs to). Nothing when no window owns it.
void SendLookupRequest(const toolkit::Component* owned, toolkit::Control* control);
