#include "platform/ui/Timer.h"

#include "platform/ui/Form.h"

namespace tvk::ui {

Timer::Timer(Form& form, std::string name, int period) : Control(form, ControlKind::Timer, std::move(name)) {
  SetPeriod(period);
}

void Timer::SetPeriod(int period) {
  period_ = period < 0 ? 0 : period;
  OwnerForm().StartTimer(*this, period_);
}

std::unique_ptr<Control> Timer::CloneRecord(Form& form) const {
  auto clone = std::make_unique<Timer>(form, Name());
  CopyCommonTo(*clone);
  clone->period_ = period_;
  return clone;
}

}  // namespace tvk::ui
