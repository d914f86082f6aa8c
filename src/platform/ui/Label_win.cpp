#include "platform/ui/Label.h"

#include <shellapi.h>

#include "platform/ui/Form.h"
#include "util/WideText_win.h"

namespace tvk::ui {

Label::Label(Form& form, std::string name, ControlKind kind) : Control(form, kind, std::move(name)) {}

Label::~Label() {
  if (hfont_) DeleteObject(hfont_);
}

void Label::Redraw() {
  if (Window()) InvalidateRect(Window(), nullptr, TRUE);
}

void Label::SetTextColor(COLORREF color) {
  textColor_ = color;
  Redraw();
}

void Label::SetUnderline(bool underline) {
  if (underline_ == underline) return;
  underline_ = underline;
  if (Window()) ApplyProperties();
  Redraw();
}

void Label::SetBackColor(COLORREF color) {
  backColor_ = color;
  Redraw();
}

void Label::SetFont(FontSpec font) {
  font_ = std::move(font);
  if (Window()) ApplyProperties();
  Redraw();
}

void Label::CopyLabelTo(Label& clone) const {
  CopyCommonTo(clone);
  clone.textColor_ = textColor_;
  clone.backColor_ = backColor_;
  clone.underline_ = underline_;
  clone.font_ = font_;
}

std::unique_ptr<Control> Label::CloneRecord(Form& form) const {
  auto clone = std::make_unique<Label>(form, Name(), Kind());
  CopyLabelTo(*clone);
  return clone;
}

HWND Label::CreateWindowIn(HWND parent, const Bounds& real) { return CreateChild(nullptr, 0, 0, parent, real); }

void Label::ApplyProperties() {
  if (hfont_) DeleteObject(hfont_);
  hfont_ = CreateFontFrom(OwnerForm().DefaultFont(), font_, false, false, underline_);
}

void Label::BeforeDestroy() {
  if (hfont_) DeleteObject(hfont_);
  hfont_ = nullptr;
}

bool Label::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // A transparent label lets what lies beneath show through.
  if (message == WM_ERASEBKGND && Kind() == ControlKind::TransparentLabel) {
    result = 1;
    return true;
  }
  return Control::OnMessage(message, wParam, lParam, result);
}

void Label::Paint(HDC dc, const RECT& client) {
  if (Kind() != ControlKind::TransparentLabel) {
    HBRUSH brush = CreateSolidBrush(backColor_);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
  }
  HGDIOBJ old = SelectObject(dc, hfont_ ? hfont_ : OwnerForm().DefaultFont());
  SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, Enabled() ? textColor_ : GetSysColor(COLOR_GRAYTEXT));
  RECT area = client;
  OffsetRect(&area, -ClientOffset().x, -ClientOffset().y);
  std::wstring text = WideText();
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
  SelectObject(dc, old);
}

Hyperlink::Hyperlink(Form& form, std::string name) : Label(form, std::move(name), ControlKind::Hyperlink) {
  SetTextColor(RGB(0, 0, 255));
  SetUnderline(true);
  SetHandCursor(true);
}

std::unique_ptr<Control> Hyperlink::CloneRecord(Form& form) const {
  auto clone = std::make_unique<Hyperlink>(form, Name());
  CopyLabelTo(*clone);
  clone->target_ = target_;
  return clone;
}

bool Hyperlink::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  bool handled = Label::OnMessage(message, wParam, lParam, result);
  // Without a clicked handler the link opens its target.
  if (message == WM_LBUTTONUP && !Handlers().clicked && !target_.empty())
    ShellExecuteW(nullptr, L"open", Widen(target_).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return handled;
}

}  // namespace tvk::ui
