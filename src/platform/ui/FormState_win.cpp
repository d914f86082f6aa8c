#include "platform/ui/FormState.h"

namespace tvk::ui {

std::vector<PersistedControl> PersistedControlsOf(const Form& form) {
  std::vector<PersistedControl> controls;
  for (const auto& control : form.Controls())
    if (control->HasWindow()) controls.push_back({control->Name(), control->Tag(), control->Window()});
  return controls;
}

void TakeBackTags(Form& form, const std::vector<PersistedControl>& controls) {
  for (const PersistedControl& saved : controls)
    if (Control* control = form.ControlOf(saved.window)) control->SetTag(saved.tag);
}

}  // namespace tvk::ui
