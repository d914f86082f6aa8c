#include "platform/ui/ScrollBar.h"

#include <algorithm>

#include "platform/ui/Form.h"

namespace tvk::ui {

ScrollBar::ScrollBar(Form& form, std::string name, bool vertical)
    : Control(form, vertical ? ControlKind::VerticalScrollBar : ControlKind::HorizontalScrollBar, std::move(name)),
      vertical_(vertical) {}

void ScrollBar::SetMaximum(int maximum) {
  maximum_ = std::max(0, maximum);
  position_ = std::clamp(position_, 0, maximum_);
  ApplyProperties();
}

void ScrollBar::SetPosition(int position) {
  position_ = std::clamp(position, 0, maximum_);
  if (Window()) SetScrollPos(Window(), SB_CTL, position_, TRUE);
}

std::unique_ptr<Control> ScrollBar::CloneRecord(Form& form) const {
  auto clone = std::make_unique<ScrollBar>(form, Name(), vertical_);
  CopyCommonTo(*clone);
  clone->maximum_ = maximum_;
  clone->position_ = position_;
  return clone;
}

HWND ScrollBar::CreateWindowIn(HWND parent, const Bounds& real) {
  return CreateChild(L"SCROLLBAR", vertical_ ? SBS_VERT : SBS_HORZ, 0, parent, real);
}

void ScrollBar::ApplyProperties() {
  if (!Window()) return;
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_POS | SIF_PAGE, 0, maximum_, 0, position_, 0};
  SetScrollInfo(Window(), SB_CTL, &info, TRUE);
}

bool ScrollBar::OnParentNotify(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_HSCROLL && message != WM_VSCROLL) return false;
  int page = std::max(1, maximum_ / 10);
  int next = position_;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: next -= 1; break;
    case SB_LINEDOWN: next += 1; break;
    case SB_PAGEUP: next -= page; break;
    case SB_PAGEDOWN: next += page; break;
    case SB_TOP: next = 0; break;
    case SB_BOTTOM: next = maximum_; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: next = static_cast<short>(HIWORD(wParam)); break;
    default: result = 0; return true;
  }
  next = std::clamp(next, 0, maximum_);
  result = 0;
  if (next == position_) return true;
  SetPosition(next);
  Raise(Handlers().scrolled);
  return true;
}

}  // namespace tvk::ui
