// Horizontal and vertical scroll bars from 0 to a maximum position.
#pragma once

#include "platform/ui/Control.h"

namespace tvk::ui {

class ScrollBar : public Control {
 public:
  ScrollBar(Form& form, std::string name, bool vertical);
  int Maximum() const { return maximum_; }
  void SetMaximum(int maximum);
  int Position() const { return position_; }
  // Clamped to 0..maximum. Setting it from code raises no event.
  void SetPosition(int position);

 protected:
  std::unique_ptr<Control> CloneRecord(Form& form) const override;
  HWND CreateWindowIn(HWND parent, const Bounds& real) override;
  void ApplyProperties() override;
  bool OnParentNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool vertical_;
  int maximum_ = 100;
  int position_ = 0;
};

}  // namespace tvk::ui
