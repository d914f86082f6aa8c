// A picture box: background colour, a picture from image file bytes, and the
// other controls it holds. A frame is a picture box with a border.
#pragma once

#include <memory>
#include <string>

#include "platform/ui/Control.h"
#include "platform/ui/Picture.h"

namespace tvk::ui {

class PictureBox : public Control {
 public:
  PictureBox(Form& form, std::string name, ControlKind kind = ControlKind::PictureBox);

  COLORREF BackColor() const { return backColor_; }
  void SetBackColor(COLORREF color);
  // The picture's file bytes (empty: none). Clones share the bytes.
  const std::string& PictureBytes() const;
  void SetPicture(std::string bytes);
  // Whether the bytes were decoded into a picture (only while the box has a window).
  bool PictureShown() const { return !picture_.Empty(); }

 protected:
  std::unique_ptr<Control> CloneRecord(Form& form) const override;
  HWND CreateWindowIn(HWND parent, const Bounds& real) override;
  void ApplyProperties() override;
  void BeforeDestroy() override { picture_.Reset(); }
  bool OwnClass() const override { return true; }
  void Paint(HDC dc, const RECT& client) override;

 private:
  COLORREF backColor_ = GetSysColor(COLOR_BTNFACE);
  std::shared_ptr<const std::string> pictureBytes_;
  Picture picture_;
};

}  // namespace tvk::ui
