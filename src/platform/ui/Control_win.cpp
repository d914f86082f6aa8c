#include "platform/ui/Control.h"

#include <commctrl.h>
#include <windowsx.h>

#include "platform/ui/Form.h"
#include "util/WideText_win.h"

namespace tvk::ui {

namespace {
constexpr wchar_t kOwnControlClass[] = L"TvkControl";
}

int KeyStateNow() {
  int keys = 0;
  if (GetKeyState(VK_CONTROL) < 0) keys |= kKeyCtrl;
  if (GetKeyState(VK_SHIFT) < 0) keys |= kKeyShift;
  if (GetKeyState(VK_MENU) < 0) keys |= kKeyAlt;
  return keys;
}

HFONT CreateFontFrom(HFONT base, const FontSpec& spec, bool italic, bool bold, bool underline) {
  LOGFONTW log{};
  GetObjectW(base, sizeof log, &log);
  if (!spec.face.empty()) {
    std::wstring face = Widen(spec.face);
    lstrcpynW(log.lfFaceName, face.c_str(), LF_FACESIZE);
  }
  if (spec.height > 0) log.lfHeight = -spec.height;
  if (spec.fixedPitch) log.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  if (spec.charset != DEFAULT_CHARSET) log.lfCharSet = static_cast<BYTE>(spec.charset);
  log.lfItalic = italic;
  if (bold) log.lfWeight = FW_BOLD;
  log.lfUnderline = underline;
  return CreateFontIndirectW(&log);
}

LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ControlSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data);

static void RegisterOwnControlClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = ControlWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.lpszClassName = kOwnControlClass;
  registered = RegisterClassExW(&windowClass) != 0;
}

Control::Control(Form& form, ControlKind kind, std::string name)
    : form_(form), kind_(kind), name_(std::move(name)), handlers_(std::make_shared<ControlHandlers>()) {}

Control::~Control() = default;

void Control::Move(int left, int top, int width, int height) {
  Bounds next{left, top, width, height};
  if (next == bounds_) return;
  bounds_ = next;
  form_.Relayout(*this);
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  form_.Relayout(*this);
}

void Control::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (window_) EnableWindow(window_, enabled);
}

void Control::SetText(std::string text) {
  text_ = std::move(text);
  if (!window_) return;
  SetWindowTextW(window_, WideText().c_str());
  if (OwnClass()) InvalidateRect(window_, nullptr, TRUE);
}

std::wstring Control::WideText() const { return Widen(text_); }

void Control::CopyCommonTo(Control& clone) const {
  clone.bounds_ = bounds_;
  clone.tag_ = tag_;
  clone.visible_ = visible_;
  clone.enabled_ = enabled_;
  clone.text_ = text_;
  clone.handCursor_ = handCursor_;
  clone.handlers_ = handlers_;
}

HWND Control::CreateChild(const wchar_t* windowClass, DWORD style, DWORD exStyle, HWND parent, const Bounds& real) {
  bool own = windowClass == nullptr;
  if (own) RegisterOwnControlClass();
  style |= WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  if (!enabled_) style |= WS_DISABLED;
  HWND window = CreateWindowExW(exStyle, own ? kOwnControlClass : windowClass, WideText().c_str(), style, real.left,
                                real.top, real.width, real.height, parent, nullptr, GetModuleHandleW(nullptr),
                                own ? this : nullptr);
  if (!window) return nullptr;
  if (!own) SetWindowSubclass(window, ControlSubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(form_.DefaultFont()), FALSE);
  return window;
}

void Control::Raise(const std::function<void(Control&)>& handler) {
  if (handler) form_.RunHandler(*this, [&] { handler(*this); });
}

void Control::RaiseMouse(const std::function<void(Control&, const MouseEvent&)>& handler, MouseButton button,
                         LPARAM lParam) {
  if (!handler) return;
  MouseEvent event{button, GET_X_LPARAM(lParam) + clientOffset_.x, GET_Y_LPARAM(lParam) + clientOffset_.y,
                   KeyStateNow()};
  form_.RunHandler(*this, [&] { handler(*this, event); });
}

void Control::Paint(HDC, const RECT&) {}

// Mouse, key and focus events that every kind of control raises.
bool Control::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const ControlHandlers& on = *handlers_;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      leftPressed_ = true;
      if (OwnClass()) SetCapture(window_);
      RaiseMouse(on.mouseDown, MouseButton::Left, lParam);
      return false;
    case WM_LBUTTONUP: {
      bool wasPressed = leftPressed_;
      leftPressed_ = false;
      if (OwnClass() && GetCapture() == window_) ReleaseCapture();
      RaiseMouse(on.mouseUp, MouseButton::Left, lParam);
      // The handler may have taken the window away (a scroll, a hide).
      if (OwnClass() && wasPressed && window_) {
        RECT client;
        GetClientRect(window_, &client);
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (PtInRect(&client, at)) Raise(on.clicked);
      }
      return false;
    }
    case WM_RBUTTONDOWN:
      RaiseMouse(on.mouseDown, MouseButton::Right, lParam);
      return false;
    case WM_RBUTTONUP:
      RaiseMouse(on.mouseUp, MouseButton::Right, lParam);
      return false;
    case WM_MOUSEMOVE:
      RaiseMouse(on.mouseMove, MouseButton::None, lParam);
      return false;
    case WM_MOUSEWHEEL:
      if (on.wheel) {
        int steps = GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? 1 : -1;
        int keys = KeyStateNow();
        form_.RunHandler(*this, [&] { on.wheel(*this, steps, keys); });
        result = 0;
        return true;
      }
      return false;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (on.keyDown) {
        bool consumed = false;
        int key = static_cast<int>(wParam), keys = KeyStateNow();
        form_.RunHandler(*this, [&] { consumed = on.keyDown(*this, key, keys); });
        if (consumed) {
          result = 0;
          return true;
        }
      }
      return false;
    case WM_SETFOCUS:
      Raise(on.gotFocus);
      return false;
    case WM_KILLFOCUS:
      Raise(on.lostFocus);
      return false;
    case WM_SETCURSOR:
      if (handCursor_ && LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
        result = TRUE;
        return true;
      }
      return false;
  }
  return false;
}

bool Control::OnParentNotify(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

// Parent-side notifications (WM_COMMAND, WM_NOTIFY, scroll bars, colours) go
// to the control that sent them.
bool Control::RouteParentNotification(Form& form, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  HWND child = nullptr;
  switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      child = reinterpret_cast<HWND>(lParam);
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
      break;
    default:
      return false;
  }
  Control* control = child ? form.ControlOf(child) : nullptr;
  return control && control->OnParentNotify(message, wParam, lParam, result);
}

LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created->lpCreateParams));
  }
  auto* control = reinterpret_cast<Control*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!control || message == WM_NCDESTROY) {
    if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  LRESULT result = 0;
  if (Control::RouteParentNotification(control->OwnerForm(), message, wParam, lParam, result)) return result;
  if (control->OnMessage(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      control->Paint(dc, client);
      EndPaint(window, &paint);
      return 0;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK ControlSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR data) {
  auto* control = reinterpret_cast<Control*>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, ControlSubclassProc, 1);
    return DefSubclassProc(window, message, wParam, lParam);
  }
  LRESULT result = 0;
  if (Control::RouteParentNotification(control->OwnerForm(), message, wParam, lParam, result)) return result;
  if (control->OnMessage(message, wParam, lParam, result)) return result;
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace tvk::ui
