// The controls of a form as the settings store saves and restores them.
#pragma once

#include <vector>

#include "config/ControlState_win.h"
#include "platform/ui/Form.h"

namespace tvk::ui {

// Every control of the form that has a real window, with its name and tag.
std::vector<PersistedControl> PersistedControlsOf(const Form& form);

// Puts tags changed by a restore (button tags) back into the controls.
void TakeBackTags(Form& form, const std::vector<PersistedControl>& controls);

}  // namespace tvk::ui
