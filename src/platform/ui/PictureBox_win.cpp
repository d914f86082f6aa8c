#include "platform/ui/PictureBox.h"

#include "platform/ui/Form.h"

namespace tvk::ui {

PictureBox::PictureBox(Form& form, std::string name, ControlKind kind) : Control(form, kind, std::move(name)) {}

void PictureBox::SetBackColor(COLORREF color) {
  backColor_ = color;
  if (Window()) InvalidateRect(Window(), nullptr, TRUE);
}

const std::string& PictureBox::PictureBytes() const {
  static const std::string kNone;
  return pictureBytes_ ? *pictureBytes_ : kNone;
}

void PictureBox::SetPicture(std::string bytes) {
  pictureBytes_ = bytes.empty() ? nullptr : std::make_shared<const std::string>(std::move(bytes));
  if (Window()) {
    ApplyProperties();
    InvalidateRect(Window(), nullptr, TRUE);
  }
}

std::unique_ptr<Control> PictureBox::CloneRecord(Form& form) const {
  auto clone = std::make_unique<PictureBox>(form, Name(), Kind());
  CopyCommonTo(*clone);
  clone->backColor_ = backColor_;
  clone->pictureBytes_ = pictureBytes_;
  return clone;
}

HWND PictureBox::CreateWindowIn(HWND parent, const Bounds& real) {
  DWORD style = WS_CLIPCHILDREN | (Kind() == ControlKind::Frame ? WS_BORDER : 0);
  return CreateChild(nullptr, style, 0, parent, real);
}

void PictureBox::ApplyProperties() {
  picture_.Reset();
  if (pictureBytes_) picture_.Load(*pictureBytes_);
}

void PictureBox::Paint(HDC dc, const RECT& client) {
  HBRUSH brush = CreateSolidBrush(backColor_);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  if (!picture_.Empty()) {
    RECT into{0, 0, Width(), Height()};
    OffsetRect(&into, -ClientOffset().x, -ClientOffset().y);
    picture_.Draw(dc, into);
  }
}

}  // namespace tvk::ui
