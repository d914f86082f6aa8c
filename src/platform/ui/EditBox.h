// A single-line or multi-line edit box with its own text colour and font style.
#pragma once

#include "platform/ui/Control.h"

namespace tvk::ui {

class EditBox : public Control {
 public:
  EditBox(Form& form, std::string name, bool multiLine = false);
  ~EditBox() override;

  std::string Text() const override;
  COLORREF TextColor() const { return textColor_; }
  void SetTextColor(COLORREF color);
  bool Italic() const { return italic_; }
  bool Bold() const { return bold_; }
  void SetItalic(bool italic);
  void SetBold(bool bold);
  const FontSpec& Font() const { return fontSpec_; }
  void SetFont(FontSpec font);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  void SetScrollBars(bool both);
  void Focus();
  bool HasFocus() const;

 protected:
  std::unique_ptr<Control> CloneRecord(Form& form) const override;
  HWND CreateWindowIn(HWND parent, const Bounds& real) override;
  void ApplyProperties() override;
  void BeforeDestroy() override;
  bool OnParentNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void ApplyFont();
  bool multiLine_;
  bool readOnly_ = false;
  bool scrollBars_ = false;
  COLORREF textColor_ = RGB(0, 0, 0);
  bool italic_ = false, bold_ = false;
  FontSpec fontSpec_;
  HFONT font_ = nullptr;
  HBRUSH background_ = nullptr;
};

}  // namespace tvk::ui
