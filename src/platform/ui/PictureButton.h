// A picture button: a normal picture, and a hot one while the mouse is over it.
#pragma once

#include <memory>
#include <string>

#include "platform/ui/Control.h"
#include "platform/ui/Picture.h"

namespace tvk::ui {

class PictureButton : public Control {
 public:
  PictureButton(Form& form, std::string name);
  const std::string& NormalPicture() const { return normalBytes_; }
  const std::string& HotPicture() const { return hotBytes_; }
  void SetNormalPicture(std::string bytes);
  void SetHotPicture(std::string bytes);
  bool IsHot() const { return hot_; }

 protected:
  std::unique_ptr<Control> CloneRecord(Form& form) const override;
  HWND CreateWindowIn(HWND parent, const Bounds& real) override;
  void ApplyProperties() override;
  void BeforeDestroy() override;
  bool OwnClass() const override { return true; }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(HDC dc, const RECT& client) override;

 private:
  std::string normalBytes_, hotBytes_;
  Picture normal_, hotPicture_;
  bool hot_ = false;
};

}  // namespace tvk::ui
