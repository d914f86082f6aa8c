// A push button with a settable caption.
#pragma once

#include "platform/ui/Control.h"

namespace tvk::ui {

class Button : public Control {
 public:
  Button(Form& form, std::string name);
  // Makes it the default button of its window (drawn as such, Enter presses it).
  void SetDefault(bool isDefault);

 protected:
  std::unique_ptr<Control> CloneRecord(Form& form) const override;
  HWND CreateWindowIn(HWND parent, const Bounds& real) override;
  bool OnParentNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool default_ = false;
};

}  // namespace tvk::ui
