// The window toolkit's controls. A control is first of all a record of its
// properties and event bindings; it has a real window only while it can be
// seen (its parent has one and it lies in the part of the parent shown).
// So a form can hold tens of thousands of rows of controls, at logical
// positions far beyond what window coordinates allow, while handlers and tests
// see every control with its tag and geometry.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tvk::ui {

class Form;

enum class ControlKind {
  PictureBox,
  Label,
  TransparentLabel,
  Button,
  PictureButton,
  Hyperlink,
  EditBox,
  TreeView,
  HorizontalScrollBar,
  VerticalScrollBar,
  ProgressBar,
  Timer,
  Frame,
};

// Key state of the moment, summed: Ctrl 1, Shift 2, Alt 4.
inline constexpr int kKeyCtrl = 1;
inline constexpr int kKeyShift = 2;
inline constexpr int kKeyAlt = 4;
int KeyStateNow();

enum class MouseButton { Left, Right, None };

struct MouseEvent {
  MouseButton button = MouseButton::None;
  int x = 0, y = 0;  // in the control's logical client coordinates
  int keys = 0;
};

class Control;

// Event bindings. Clones share their template's bindings.
struct ControlHandlers {
  std::function<void(Control&)> clicked;
  std::function<void(Control&, const MouseEvent&)> mouseDown;
  std::function<void(Control&, const MouseEvent&)> mouseUp;
  std::function<void(Control&, const MouseEvent&)> mouseMove;
  std::function<void(Control&, int steps, int keys)> wheel;  // steps: +1 per notch away from the user
  std::function<bool(Control&, int keyCode, int keys)> keyDown;  // true consumes the key
  std::function<void(Control&)> gotFocus;
  std::function<void(Control&)> lostFocus;
  std::function<void(Control&)> textChanged;
  std::function<void(Control&)> scrolled;
  std::function<void(Control&)> timer;
};

// A font of a control: empty face or zero height keep the form's default.
struct FontSpec {
  std::string face;
  int height = 0;  // pixels
  bool fixedPitch = false;
  int charset = DEFAULT_CHARSET;
  bool operator==(const FontSpec&) const = default;
};

// Creates a font: the form's default font with the given face, height, pitch
// and character set, and the given styles.
HFONT CreateFontFrom(HFONT base, const FontSpec& spec, bool italic, bool bold, bool underline);

struct Bounds {
  int left = 0, top = 0, width = 0, height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool operator==(const Bounds&) const = default;
};

class Control {
 public:
  Control(Form& form, ControlKind kind, std::string name);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Form& OwnerForm() const { return form_; }
  ControlKind Kind() const { return kind_; }
  const std::string& Name() const { return name_; }
  Control* Parent() const { return parent_; }
  const std::vector<Control*>& Children() const { return children_; }

  // --- geometry, pixels in the parent's client area
  const Bounds& Geometry() const { return bounds_; }
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.width; }
  int Height() const { return bounds_.height; }
  void Move(int left, int top, int width, int height);
  void SetLeft(int left) { Move(left, bounds_.top, bounds_.width, bounds_.height); }
  void SetTop(int top) { Move(bounds_.left, top, bounds_.width, bounds_.height); }
  void SetWidth(int width) { Move(bounds_.left, bounds_.top, width, bounds_.height); }
  void SetHeight(int height) { Move(bounds_.left, bounds_.top, bounds_.width, height); }

  // --- common properties
  const std::string& Tag() const { return tag_; }
  void SetTag(std::string tag) { tag_ = std::move(tag); }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Caption or text (code page 936). An edit box reports what the user typed.
  virtual std::string Text() const { return text_; }
  void SetText(std::string text);

  // --- events
  const ControlHandlers& Handlers() const { return *handlers_; }
  // Bindings are shared with clones made afterwards (and before).
  ControlHandlers& Bind() { return *handlers_; }

  // Picture boxes, labels and hyperlinks can show a hand cursor.
  void SetHandCursor(bool hand) { handCursor_ = hand; }
  bool HandCursor() const { return handCursor_; }

  // The real window, or nullptr while the control has none.
  HWND Window() const { return window_; }
  bool HasWindow() const { return window_ != nullptr; }
  // Logical client point shown at the real client's top-left corner (non-zero
  // only for controls larger than window coordinates allow, which get a
  // window cut to the part shown).
  POINT ClientOffset() const { return clientOffset_; }

  // Hands a notification that a window received for one of its child windows
  // (WM_COMMAND, WM_NOTIFY, scroll bars, colours) to that child's control.
  static bool RouteParentNotification(Form& form, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 protected:
  friend class Form;

  // A new record with this control's properties (the form adds it).
  virtual std::unique_ptr<Control> CloneRecord(Form& form) const = 0;
  void CopyCommonTo(Control& clone) const;

  // Creates the real window with the control's properties.
  virtual HWND CreateWindowIn(HWND parent, const Bounds& real) = 0;
  // Pushes kind-specific properties to the real window.
  virtual void ApplyProperties() {}
  // Kind-specific messages of a real window; return true when handled.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // A notification that the parent received for this control (WM_COMMAND, WM_NOTIFY, scroll).
  virtual bool OnParentNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Called just before the real window goes away (save what the user changed).
  virtual void BeforeDestroy() {}
  // Whether the toolkit draws this control in a window class of its own
  // (then Paint draws it; otherwise a system control is subclassed).
  virtual bool OwnClass() const { return false; }
  virtual void Paint(HDC dc, const RECT& client);

  HWND CreateChild(const wchar_t* windowClass, DWORD style, DWORD exStyle, HWND parent, const Bounds& real);
  void Raise(const std::function<void(Control&)>& handler);
  void RaiseMouse(const std::function<void(Control&, const MouseEvent&)>& handler, MouseButton button, LPARAM lParam);
  std::wstring WideText() const;

  std::string text_;
  bool handCursor_ = false;

 private:
  friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK ControlSubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  bool leftPressed_ = false;

  Form& form_;
  ControlKind kind_;
  std::string name_;
  Control* parent_ = nullptr;
  std::vector<Control*> children_;
  Bounds bounds_;
  std::string tag_;
  bool visible_ = true;
  bool enabled_ = true;
  std::shared_ptr<ControlHandlers> handlers_;
  HWND window_ = nullptr;
  POINT clientOffset_{0, 0};
  Bounds realBounds_;
  bool hoverTracked_ = false;
};

}  // namespace tvk::ui
