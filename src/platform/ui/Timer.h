// A timer: no window of its own; its period elapses on the form's window.
#pragma once

#include "platform/ui/Control.h"

namespace tvk::ui {

class Timer : public Control {
 public:
  Timer(Form& form, std::string name, int period = 0);
  int Period() const { return period_; }
  // Starts the timer with a period in milliseconds; 0 stops it.
  void SetPeriod(int period);

 protected:
  std::unique_ptr<Control> CloneRecord(Form& form) const override;
  HWND CreateWindowIn(HWND, const Bounds&) override { return nullptr; }

 private:
  friend class Form;
  int period_ = 0;
  UINT_PTR id_ = 0;
};

}  // namespace tvk::ui
