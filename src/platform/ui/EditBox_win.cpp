#include "platform/ui/EditBox.h"

#include "platform/ui/Form.h"
#include "util/WideText_win.h"

namespace tvk::ui {

EditBox::EditBox(Form& form, std::string name, bool multiLine)
    : Control(form, ControlKind::EditBox, std::move(name)), multiLine_(multiLine) {}

EditBox::~EditBox() { BeforeDestroy(); }

std::string EditBox::Text() const {
  if (!Window()) return text_;
  int length = GetWindowTextLengthW(Window());
  std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
  int got = GetWindowTextW(Window(), wide.data(), length + 1);
  wide.resize(static_cast<size_t>(got));
  return Narrow(wide);
}

void EditBox::SetTextColor(COLORREF color) {
  textColor_ = color;
  if (Window()) InvalidateRect(Window(), nullptr, TRUE);
}

void EditBox::SetItalic(bool italic) {
  italic_ = italic;
  ApplyFont();
}

void EditBox::SetBold(bool bold) {
  bold_ = bold;
  ApplyFont();
}

void EditBox::SetFont(FontSpec font) {
  fontSpec_ = std::move(font);
  ApplyFont();
}

void EditBox::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  if (Window()) SendMessageW(Window(), EM_SETREADONLY, readOnly, 0);
}

void EditBox::SetScrollBars(bool both) {
  scrollBars_ = both;
  if (!Window()) return;
  LONG style = GetWindowLongW(Window(), GWL_STYLE);
  style = both ? (style | WS_HSCROLL | WS_VSCROLL) : (style & ~(WS_HSCROLL | WS_VSCROLL));
  SetWindowLongW(Window(), GWL_STYLE, style);
  SetWindowPos(Window(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void EditBox::Focus() {
  if (Window()) SetFocus(Window());
}

bool EditBox::HasFocus() const { return Window() && GetFocus() == Window(); }

std::unique_ptr<Control> EditBox::CloneRecord(Form& form) const {
  auto clone = std::make_unique<EditBox>(form, Name(), multiLine_);
  CopyCommonTo(*clone);
  clone->text_ = Text();
  clone->readOnly_ = readOnly_;
  clone->scrollBars_ = scrollBars_;
  clone->textColor_ = textColor_;
  clone->italic_ = italic_;
  clone->bold_ = bold_;
  clone->fontSpec_ = fontSpec_;
  return clone;
}

HWND EditBox::CreateWindowIn(HWND parent, const Bounds& real) {
  DWORD style = WS_TABSTOP | ES_AUTOHSCROLL;
  if (multiLine_) style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  if (readOnly_) style |= ES_READONLY;
  if (scrollBars_) style |= WS_HSCROLL | WS_VSCROLL;
  return CreateChild(L"EDIT", style, WS_EX_CLIENTEDGE, parent, real);
}

void EditBox::ApplyProperties() { ApplyFont(); }

void EditBox::ApplyFont() {
  if (!Window()) return;
  HFONT font = CreateFontFrom(OwnerForm().DefaultFont(), fontSpec_, italic_, bold_, false);
  SendMessageW(Window(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (font_) DeleteObject(font_);
  font_ = font;
}

void EditBox::BeforeDestroy() {
  if (Window()) text_ = Text();  // what the user typed outlives the window
  if (Window()) SendMessageW(Window(), WM_SETFONT, reinterpret_cast<WPARAM>(OwnerForm().DefaultFont()), FALSE);
  if (font_) DeleteObject(font_);
  if (background_) DeleteObject(background_);
  font_ = nullptr;
  background_ = nullptr;
}

bool EditBox::OnParentNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
    text_ = Text();
    Raise(Handlers().textChanged);
    result = 0;
    return true;
  }
  if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, textColor_);
    COLORREF back = GetSysColor(readOnly_ || message == WM_CTLCOLORSTATIC ? COLOR_BTNFACE : COLOR_WINDOW);
    SetBkColor(dc, back);
    if (background_) DeleteObject(background_);
    background_ = CreateSolidBrush(back);
    result = reinterpret_cast<LRESULT>(background_);
    (void)lParam;
    return true;
  }
  return false;
}

}  // namespace tvk::ui
