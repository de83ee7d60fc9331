// Shared by the bound controls of controls/F2Button.h and controls/DBLabel.h: the uniqueness
// check of a binding among the components owned by the control's parent.
#pragma once

#include <functional>
#include <string>

#include "toolkit/Control.h"

namespace detail {

// Visits the components owned by `self`'s parent control; the first for which `boundTo` answers
// true refuses the binding. When that one is not `self`, the error message `text` (OK button) is
// shown first. True when no component refused. A control without a parent is never refused.
bool BindingAllowed(const toolkit::Control* self,
                    const std::function<bool(toolkit::Component*)>& boundTo,
                    const std::string& text);

}  // namespace detail
