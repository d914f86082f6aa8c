#include "catalogue/ScrollPanel.h"

namespace tvk {

int ScrollPanel::Bind(ui::Control& frame, ui::Control& content, ui::ScrollBar& horizontal, ui::ScrollBar& vertical,
                      bool hideUnneeded) {
  frame_ = &frame;
  content_ = &content;
  horizontal_ = &horizontal;
  vertical_ = &vertical;
  hideUnneeded_ = hideUnneeded;
  horizontal.SetLeft(0);
  vertical.SetTop(0);
  return 1;
}

void ScrollPanel::SetContentSize(int width, int height, int range) {
  range_ = range;
  contentSize_[0] = width;
  contentSize_[1] = height;
  horizontal_->SetMaximum(range_);
  vertical_->SetMaximum(range_);
}

int ScrollPanel::SetFrame(int left, int top, int width, int height) {
  ui::Control& content = *content_;
  ui::ScrollBar& h = *horizontal_;
  ui::ScrollBar& v = *vertical_;
  frame_->Move(left, top, width, height);
  const int W = width, H = height;
  content.Move(content.Left(), content.Top(), W - v.Width(), H - h.Height());
  h.Move(h.Left(), H - h.Height(), W - v.Width(), h.Height());
  v.Move(W - v.Width(), v.Top(), v.Width(), H - h.Height());

  // A bar is not needed when the content fits across (or down) the frame.
  if (contentSize_[0] < (hideUnneeded_ ? W : content.Width())) {
    if (hideUnneeded_) {
      h.SetVisible(false);
      content.SetHeight(H);
      v.SetHeight(H);
    } else {
      h.SetEnabled(false);
    }
  } else {
    h.SetVisible(true);
    h.SetEnabled(true);
  }
  if (contentSize_[1] < (hideUnneeded_ ? H : content.Height())) {
    if (hideUnneeded_) {
      v.SetVisible(false);
      content.SetWidth(W);
      h.SetWidth(W);
    } else {
      v.SetEnabled(false);
    }
  } else {
    v.SetVisible(true);
    v.SetEnabled(true);
  }

  overflow_[0] = contentSize_[0] - content.Width();
  overflow_[1] = contentSize_[1] - content.Height();
  if (range_ != 0) {
    scale_[0] = static_cast<double>(overflow_[0]) / range_;
    scale_[1] = static_cast<double>(overflow_[1]) / range_;
  } else {
    h.SetMaximum(overflow_[0]);
    v.SetMaximum(overflow_[1]);
    scale_[0] = scale_[1] = 1;
  }

  if (InUse(h))
    Scroll(kHorizontal);
  else
    content.SetLeft(0);
  if (InUse(v))
    Scroll(kVertical);
  else
    content.SetTop(0);
  return 1;
}

int ScrollPanel::Offset(int axis, int position) const {
  long long pixels = range_ != 0 ? static_cast<long long>(position) * overflow_[axis] / range_ : position;
  return static_cast<int>(pixels);
}

void ScrollPanel::ApplyVertical() {
  ui::Control& content = *content_;
  const int H = frame_->Height();
  int offset = Offset(1, vertical_->Position());
  int viewport = horizontal_->Visible() ? H - horizontal_->Height() : H;
  content.Move(content.Left(), -offset, content.Width(), offset + viewport);
}

int ScrollPanel::Scroll(int axis) {
  if (!frame_) return 0;
  ui::Control& content = *content_;
  if (axis == kHorizontal) {
    const int W = frame_->Width();
    int offset = Offset(0, horizontal_->Position());
    int viewport = vertical_->Visible() ? W - vertical_->Width() : W;
    content.Move(-offset, content.Top(), offset + viewport, content.Height());
    ApplyVertical();
  } else {
    ApplyVertical();
  }
  return 1;
}

}  // namespace tvk
