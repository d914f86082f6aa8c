// The form of the text window: a prompt, a large text field, a row of small
// buttons in a frame, and OK/Cancel. (Its behaviour lives with the notes.)
#pragma once

#include <memory>

#include "platform/ui/Form.h"

namespace tvk {

std::unique_ptr<ui::Form> BuildTextWindowForm();

}  // namespace tvk
