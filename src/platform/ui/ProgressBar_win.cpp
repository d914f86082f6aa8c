#include "platform/ui/ProgressBar.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/ui/Form.h"

namespace tvk::ui {

ProgressBar::ProgressBar(Form& form, std::string name) : Control(form, ControlKind::ProgressBar, std::move(name)) {}

void ProgressBar::SetPosition(int position) {
  position_ = std::clamp(position, 0, 100);
  ApplyProperties();
}

std::unique_ptr<Control> ProgressBar::CloneRecord(Form& form) const {
  auto clone = std::make_unique<ProgressBar>(form, Name());
  CopyCommonTo(*clone);
  clone->position_ = position_;
  return clone;
}

HWND ProgressBar::CreateWindowIn(HWND parent, const Bounds& real) {
  return CreateChild(PROGRESS_CLASSW, 0, 0, parent, real);
}

void ProgressBar::ApplyProperties() {
  if (!Window()) return;
  SendMessageW(Window(), PBM_SETRANGE32, 0, 100);
  SendMessageW(Window(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

}  // namespace tvk::ui
