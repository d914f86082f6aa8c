#include "platform/ui/Form.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/ui/Timer.h"
#include "util/WideText_win.h"

namespace tvk::ui {

namespace {

constexpr wchar_t kFormClass[] = L"TvkForm";
constexpr UINT kFirstActivatedMessage = WM_APP + 1;
// Real windows stay well inside the coordinates that window messages carry.
constexpr int kWindowCoordinateLimit = 30000;

void RegisterFormClass() {
  static bool registered = false;
  if (registered) return;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS | ICC_TREEVIEW_CLASSES |
                                                     ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &Form::FormProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  // The program's icon resource 1 (when it has one).
  windowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  windowClass.hIconSm = static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  windowClass.lpszClassName = kFormClass;
  registered = RegisterClassExW(&windowClass) != 0;
}

bool Intersect(const Bounds& a, const Bounds& b, Bounds& out) {
  int left = std::max(a.left, b.left), top = std::max(a.top, b.top);
  int right = std::min(a.right(), b.right()), bottom = std::min(a.bottom(), b.bottom());
  if (right <= left || bottom <= top) return false;
  out = {left, top, right - left, bottom - top};
  return true;
}

bool FitsWindowCoordinates(const Bounds& b) {
  return b.left > -kWindowCoordinateLimit && b.top > -kWindowCoordinateLimit && b.right() < kWindowCoordinateLimit &&
         b.bottom() < kWindowCoordinateLimit;
}

}  // namespace

Form::Form(std::string name, std::string caption, Bounds bounds)
    : name_(std::move(name)), caption_(std::move(caption)), bounds_(bounds) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  font_ = CreateFontIndirectW(&metrics.lfMessageFont);
}

Form::~Form() {
  Destroy();
  if (font_) DeleteObject(font_);
}

// --- the control records -------------------------------------------------------

void Form::Adopt(std::unique_ptr<Control> control, Control* parent, Bounds bounds) {
  Control& added = *control;
  added.parent_ = parent;
  added.bounds_ = bounds;
  (parent ? parent->children_ : topLevel_).push_back(&added);
  byName_.emplace(added.Name(), &added);  // the first of a name stays the one found
  controls_.push_back(std::move(control));
  if (window_) Place(added, HWND_TOP);  // the last sibling lies on top
}

Control* Form::Find(std::string_view name) const {
  auto found = byName_.find(std::string(name));
  return found == byName_.end() ? nullptr : found->second;
}

Control& Form::Clone(const Control& source) {
  std::unique_ptr<Control> clone = source.CloneRecord(*this);
  Control& added = *clone;
  Bounds bounds = source.bounds_;
  Adopt(std::move(clone), source.parent_, bounds);
  if (added.Kind() == ControlKind::Timer) static_cast<Timer&>(added).SetPeriod(static_cast<Timer&>(added).Period());
  return added;
}

void Form::SetParent(Control& control, Control* parent) {
  if (control.parent_ == parent) return;
  for (Control* p = parent; p; p = p->parent_)
    if (p == &control) return;  // a control cannot go inside itself
  Unrealize(control);
  auto& from = control.parent_ ? control.parent_->children_ : topLevel_;
  from.erase(std::remove(from.begin(), from.end(), &control), from.end());
  control.parent_ = parent;
  (parent ? parent->children_ : topLevel_).push_back(&control);
  if (window_) Place(control, HWND_TOP);
}

Control* Form::ControlOf(HWND window) const {
  auto found = byWindow_.find(window);
  return found == byWindow_.end() ? nullptr : found->second;
}

// --- real windows ----------------------------------------------------------------

void Form::Relayout(Control& control) {
  if (window_) Place(control, ZOrderSuccessor(control));
}

// Siblings are placed last to first, so each knows the window above it
// without searching the list.
void Form::PlaceAll(const std::vector<Control*>& siblings) {
  HWND above = HWND_TOP;
  for (auto it = siblings.rbegin(); it != siblings.rend(); ++it) {
    Control& control = **it;
    if (control.window_ || control.visible_) Place(control, above);
    if (control.window_) above = control.window_;
  }
}

// The window above this control's in the z-order: the next sibling (in the
// order they were added) that has a window. Later siblings lie on top.
HWND Form::ZOrderSuccessor(const Control& control) const {
  const auto& siblings = control.parent_ ? control.parent_->children_ : topLevel_;
  auto self = std::find(siblings.begin(), siblings.end(), &control);
  for (auto it = self == siblings.end() ? self : self + 1; it != siblings.end(); ++it)
    if ((*it)->window_) return (*it)->window_;
  return HWND_TOP;
}

void Form::Place(Control& control, HWND above) {
  HWND parentWindow;
  POINT offset{0, 0};
  int parentWidth, parentHeight;
  if (!control.parent_) {
    parentWindow = window_;
    parentWidth = ClientWidth();
    parentHeight = ClientHeight();
  } else {
    Control& parent = *control.parent_;
    if (!parent.window_) {
      Unrealize(control);
      return;
    }
    parentWindow = parent.window_;
    offset = parent.clientOffset_;
    parentWidth = parent.realBounds_.width;
    parentHeight = parent.realBounds_.height;
  }

  Bounds shown;
  Bounds area{offset.x, offset.y, parentWidth, parentHeight};
  bool canBeSeen = control.visible_ && control.Kind() != ControlKind::Timer &&
                   Intersect(control.bounds_, area, shown);
  if (!canBeSeen) {
    Unrealize(control);
    return;
  }

  // A control too large for window coordinates gets a window cut to the part
  // of it that is shown, and remembers which logical point that window starts at.
  Bounds logical = control.bounds_;
  Bounds relative{logical.left - offset.x, logical.top - offset.y, logical.width, logical.height};
  Bounds real = relative;
  POINT clientOffset{0, 0};
  if (!FitsWindowCoordinates(relative)) {
    real = {shown.left - offset.x, shown.top - offset.y, shown.width, shown.height};
    clientOffset = {shown.left - logical.left, shown.top - logical.top};
  }

  control.clientOffset_ = clientOffset;
  if (!control.window_) {
    control.realBounds_ = real;
    HWND created = control.CreateWindowIn(parentWindow, real);
    if (!created) return;
    control.window_ = created;
    byWindow_[created] = &control;
    // Beneath the next sibling that has a window (later siblings lie on top).
    SetWindowPos(created, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    control.ApplyProperties();
  } else if (!(real == control.realBounds_)) {
    control.realBounds_ = real;
    SetWindowPos(control.window_, nullptr, real.left, real.top, real.width, real.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  PlaceAll(control.children_);
}

void Form::Forget(Control& control) {
  for (Control* child : control.children_)
    if (child->window_) Forget(*child);
  control.BeforeDestroy();
  byWindow_.erase(control.window_);
  control.window_ = nullptr;
  control.clientOffset_ = {0, 0};
}

void Form::Unrealize(Control& control) {
  if (!control.window_) return;
  HWND window = control.window_;
  Forget(control);
  DestroyWindow(window);  // takes the children's windows with it
}

// --- the form window -----------------------------------------------------------------

bool Form::Load(HWND owner, bool show) {
  if (window_) return true;
  RegisterFormClass();
  HWND window = CreateWindowExW(0, kFormClass, Widen(caption_).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                bounds_.left, bounds_.top, bounds_.width, bounds_.height, owner, nullptr,
                                GetModuleHandleW(nullptr), this);
  if (!window) return false;
  for (auto& [id, timer] : timers_)
    if (timer->period_ > 0) SetTimer(window_, id, static_cast<UINT>(timer->period_), nullptr);
  PlaceAll(topLevel_);
  if (formHandlers_.created) formHandlers_.created();
  if (show && window_) {
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
  }
  return window_ != nullptr;
}

void Form::Close() {
  if (window_) SendMessageW(window_, WM_CLOSE, 0, 0);
}

void Form::Destroy() {
  if (window_) DestroyWindow(window_);
}

std::string Form::Caption() const { return caption_; }

void Form::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  if (window_) SetWindowTextW(window_, Widen(caption_).c_str());
}

void Form::Move(int left, int top, int width, int height) {
  bounds_ = {left, top, width, height};
  if (window_) MoveWindow(window_, left, top, width, height, TRUE);
}

int Form::ClientWidth() const {
  RECT client{};
  if (window_) GetClientRect(window_, &client);
  return client.right;
}

int Form::ClientHeight() const {
  RECT client{};
  if (window_) GetClientRect(window_, &client);
  return client.bottom;
}

void Form::RunHandler(Control& source, const std::function<void()>& call) {
  eventSources_.push_back(&source);
  call();
  eventSources_.pop_back();
}

void Form::StartTimer(Timer& timer, int period) {
  if (!timer.id_) {
    timer.id_ = nextTimerId_++;
    timers_[timer.id_] = &timer;
  }
  if (!window_) return;  // started when the window is created
  if (period > 0)
    SetTimer(window_, timer.id_, static_cast<UINT>(period), nullptr);
  else
    KillTimer(window_, timer.id_);
}

LRESULT CALLBACK Form::FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!form) return DefWindowProcW(window, message, wParam, lParam);
  return form->HandleMessage(message, wParam, lParam);
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = window_;
  LRESULT result = 0;
  if (Control::RouteParentNotification(*this, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_TIMER: {
      auto found = timers_.find(wParam);
      if (found == timers_.end()) break;
      Timer& timer = *found->second;
      if (timer.period_ > 0 && timer.Handlers().timer) RunHandler(timer, [&] { timer.Handlers().timer(timer); });
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !activated_) {
        activated_ = true;
        PostMessageW(window, kFirstActivatedMessage, 0, 0);
      }
      break;
    case kFirstActivatedMessage:
      if (formHandlers_.firstActivated) formHandlers_.firstActivated();
      return 0;
    case WM_SIZE:
      PlaceAll(topLevel_);
      if (formHandlers_.sizeChanged) formHandlers_.sizeChanged();
      break;
    case WM_MOVE: {
      RECT frame;
      GetWindowRect(window, &frame);
      bounds_ = {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top};
      break;
    }
    case WM_CLOSE:
      if (formHandlers_.canClose && !formHandlers_.canClose()) return 0;
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      for (Control* control : topLevel_)
        if (control->window_) Forget(*control);
      for (auto& [id, timer] : timers_) KillTimer(window, id);
      if (formHandlers_.destroyed) formHandlers_.destroyed();
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      window_ = nullptr;
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tvk::ui
