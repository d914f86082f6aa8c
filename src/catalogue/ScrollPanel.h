// A window onto the row area: the frame clips the content, two scroll bars
// inside the frame choose the part shown, and the content is moved by the
// scroll offset. The bars run from 0 to a fixed range; a per-axis scale turns
// a position into pixels.
#pragma once

#include "platform/ui/Control.h"
#include "platform/ui/ScrollBar.h"

namespace tvk {

class ScrollPanel {
 public:
  enum Axis { kHorizontal = 1, kVertical = 2 };

  // Remembers the four controls; an unneeded bar is hidden (hideUnneeded) or
  // only disabled. Puts the horizontal bar at left 0 and the vertical at top 0.
  int Bind(ui::Control& frame, ui::Control& content, ui::ScrollBar& horizontal, ui::ScrollBar& vertical,
           bool hideUnneeded = false);
  // The whole content's size in pixels and the bars' range (their maximum).
  void SetContentSize(int width, int height, int range = 10);
  // Moves the frame and lays out the content and the bars inside it.
  int SetFrame(int left, int top, int width, int height);
  // Moves the content to the position of one bar.
  int Scroll(int axis);

  bool IsBound() const { return frame_ != nullptr; }
  double ScaleX() const { return scale_[0]; }
  double ScaleY() const { return scale_[1]; }
  int Range() const { return range_; }

 private:
  bool InUse(const ui::ScrollBar& bar) const { return bar.Visible() && bar.Enabled(); }
  void ApplyVertical();
  // Position × scale in whole pixels, truncated toward zero. Computed from the
  // overflow in integers: the floating-point scale would lose a pixel at the end.
  int Offset(int axis, int position) const;

  ui::Control* frame_ = nullptr;
  ui::Control* content_ = nullptr;
  ui::ScrollBar* horizontal_ = nullptr;
  ui::ScrollBar* vertical_ = nullptr;
  bool hideUnneeded_ = false;
  int contentSize_[2] = {0, 0};
  double scale_[2] = {0, 0};
  int overflow_[2] = {0, 0};  // content size minus viewport, per axis (scale = overflow / range)
  int range_ = 10;
};

}  // namespace tvk
