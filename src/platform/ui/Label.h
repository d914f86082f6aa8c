// Labels (opaque or transparent) and hyperlink boxes: text drawn by the
// toolkit with a colour, an optional underline and a font of their own.
#pragma once

#include <string>

#include "platform/ui/Control.h"

namespace tvk::ui {

class Label : public Control {
 public:
  Label(Form& form, std::string name, ControlKind kind = ControlKind::Label);
  ~Label() override;

  COLORREF TextColor() const { return textColor_; }
  void SetTextColor(COLORREF color);
  bool Underline() const { return underline_; }
  void SetUnderline(bool underline);
  COLORREF BackColor() const { return backColor_; }
  void SetBackColor(COLORREF color);
  const FontSpec& Font() const { return font_; }
  void SetFont(FontSpec font);

 protected:
  std::unique_ptr<Control> CloneRecord(Form& form) const override;
  void CopyLabelTo(Label& clone) const;
  HWND CreateWindowIn(HWND parent, const Bounds& real) override;
  void ApplyProperties() override;
  void BeforeDestroy() override;
  bool OwnClass() const override { return true; }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(HDC dc, const RECT& client) override;

 private:
  void Redraw();
  COLORREF textColor_ = RGB(0, 0, 0);
  COLORREF backColor_ = GetSysColor(COLOR_BTNFACE);
  bool underline_ = false;
  FontSpec font_;
  HFONT hfont_ = nullptr;
};

// A hyperlink box: a label with a target. A click runs the clicked handler
// when one is bound, otherwise opens the target.
class Hyperlink : public Label {
 public:
  Hyperlink(Form& form, std::string name);
  const std::string& Target() const { return target_; }
  void SetTarget(std::string target) { target_ = std::move(target); }

 protected:
  std::unique_ptr<Control> CloneRecord(Form& form) const override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  std::string target_;
};

}  // namespace tvk::ui
