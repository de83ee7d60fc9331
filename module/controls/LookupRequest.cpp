#include "controls/LookupRequest.h"

#include "toolkit/Form.h"

toolkit::Form* OwnerWindow(const toolkit::Component* component) {
  for (toolkit::Component* owner = component ? component->Owner() : nullptr; owner;
       owner = owner->Owner()) {
    if (auto* form = dynamic_cast<toolkit::Form*>(owner)) return form;
  }
  return nullptr;
}

void SendLookupRequest(const toolkit::Component* owned, toolkit::Control* control) {
  if (toolkit::Form* form = OwnerWindow(owned)) {
    form->Perform(LookupRequest, 0, toolkit::ControlParam(control));
  }
}
