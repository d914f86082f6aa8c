#include "platform/ui/Button.h"

#include "platform/ui/Form.h"

namespace tvk::ui {

Button::Button(Form& form, std::string name) : Control(form, ControlKind::Button, std::move(name)) {}

void Button::SetDefault(bool isDefault) {
  default_ = isDefault;
  if (Window()) SendMessageW(Window(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

std::unique_ptr<Control> Button::CloneRecord(Form& form) const {
  auto clone = std::make_unique<Button>(form, Name());
  CopyCommonTo(*clone);
  clone->default_ = default_;
  return clone;
}

HWND Button::CreateWindowIn(HWND parent, const Bounds& real) {
  return CreateChild(L"BUTTON", WS_TABSTOP | (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, parent, real);
}

bool Button::OnParentNotify(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    Raise(Handlers().clicked);
    result = 0;
    return true;
  }
  return false;
}

}  // namespace tvk::ui
