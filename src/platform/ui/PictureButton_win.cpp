#include "platform/ui/PictureButton.h"

#include "platform/ui/Form.h"

namespace tvk::ui {

PictureButton::PictureButton(Form& form, std::string name)
    : Control(form, ControlKind::PictureButton, std::move(name)) {
  SetHandCursor(true);
}

void PictureButton::SetNormalPicture(std::string bytes) {
  normalBytes_ = std::move(bytes);
  if (Window()) {
    ApplyProperties();
    InvalidateRect(Window(), nullptr, TRUE);
  }
}

void PictureButton::SetHotPicture(std::string bytes) {
  hotBytes_ = std::move(bytes);
  if (Window()) {
    ApplyProperties();
    InvalidateRect(Window(), nullptr, TRUE);
  }
}

std::unique_ptr<Control> PictureButton::CloneRecord(Form& form) const {
  auto clone = std::make_unique<PictureButton>(form, Name());
  CopyCommonTo(*clone);
  clone->normalBytes_ = normalBytes_;
  clone->hotBytes_ = hotBytes_;
  return clone;
}

HWND PictureButton::CreateWindowIn(HWND parent, const Bounds& real) {
  return CreateChild(nullptr, 0, 0, parent, real);
}

void PictureButton::ApplyProperties() {
  normal_.Load(normalBytes_);
  hotPicture_.Load(hotBytes_);
}

void PictureButton::BeforeDestroy() {
  normal_.Reset();
  hotPicture_.Reset();
  hot_ = false;
}

bool PictureButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_MOUSEMOVE && !hot_) {
    hot_ = true;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Window(), 0};
    TrackMouseEvent(&track);
    InvalidateRect(Window(), nullptr, FALSE);
  } else if (message == WM_MOUSELEAVE) {
    hot_ = false;
    InvalidateRect(Window(), nullptr, FALSE);
  }
  return Control::OnMessage(message, wParam, lParam, result);
}

void PictureButton::Paint(HDC dc, const RECT& client) {
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  const Picture& shown = hot_ && !hotPicture_.Empty() ? hotPicture_ : normal_;
  shown.Draw(dc, client);
}

}  // namespace tvk::ui
