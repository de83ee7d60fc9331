#include "controls/Binding.h"

#include "toolkit/Dialogs.h"

namespace detail {

bool BindingAllowed(const toolkit::Control* self,
                    const std::function<bool(toolkit::Component*)>& boundTo,
                    const std::string& text) {
  const toolkit::WinControl* parent = self->Parent();
  if (!parent) return true;
  for (toolkit::Component* component : parent->ComponentList()) {
    if (!boundTo(component)) continue;
    if (component != self) {
      toolkit::MessageDlg(text, toolkit::mtError, toolkit::ButtonSet({toolkit::mbOK}));
    }
    return false;
  }
  return true;
}

}  // namespace detail
