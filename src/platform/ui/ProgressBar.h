// A progress bar showing a position from 0 to 100.
#pragma once

#include "platform/ui/Control.h"

namespace tvk::ui {

class ProgressBar : public Control {
 public:
  ProgressBar(Form& form, std::string name);
  int Position() const { return position_; }
  void SetPosition(int position);

 protected:
  std::unique_ptr<Control> CloneRecord(Form& form) const override;
  HWND CreateWindowIn(HWND parent, const Bounds& real) override;
  void ApplyProperties() override;

 private:
  int position_ = 0;
};

}  // namespace tvk::ui
