// A form: a top-level window built in code, holding named controls. Controls
// are records first (see Control.h); the form gives each a real window while
// it can be seen and takes it away when it cannot.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/ui/Control.h"

namespace tvk::ui {

class Timer;

struct FormHandlers {
  std::function<void()> created;         // before the window is first shown
  std::function<void()> firstActivated;  // once, after the window first became active
  std::function<bool()> canClose;        // false keeps the window open
  std::function<void()> sizeChanged;
  std::function<void()> destroyed;
};

class Form {
 public:
  Form(std::string name, std::string caption, Bounds bounds);
  ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& Name() const { return name_; }

  // Adds a control of kind T under `parent` (nullptr: the form itself).
  template <class T, class... Args>
  T& Add(Control* parent, std::string name, Bounds bounds, Args&&... args) {
    auto control = std::make_unique<T>(*this, std::move(name), std::forward<Args>(args)...);
    T& added = *control;
    Adopt(std::move(control), parent, bounds);
    return added;
  }

  // The first control of that name (a clone shares its template's name).
  Control* Find(std::string_view name) const;
  template <class T>
  T* FindAs(std::string_view name) const { return dynamic_cast<T*>(Find(name)); }

  // A new control in the same parent with the source's properties and its
  // event bindings (shared, not copied).
  Control& Clone(const Control& source);
  // Moves the control (with its children) under another parent, keeping its
  // geometry, which is now relative to the new parent.
  void SetParent(Control& control, Control* parent);

  // Creates the window (owned by `owner` when given), runs the created event,
  // then shows it when `show` is set.
  bool Load(HWND owner = nullptr, bool show = true);
  HWND Window() const { return window_; }
  void Close();  // asks canClose, like the title bar's close button
  void Destroy();

  std::string Caption() const;
  void SetCaption(std::string caption);
  const Bounds& Geometry() const { return bounds_; }
  void Move(int left, int top, int width, int height);
  int ClientWidth() const;
  int ClientHeight() const;

  FormHandlers& BindForm() { return formHandlers_; }

  // The control whose event is being handled (the innermost one when
  // handlers run inside one another), or nullptr.
  Control* EventSource() const { return eventSources_.empty() ? nullptr : eventSources_.back(); }

  // Every control, in the order they were added (clones at the end).
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
  // The control that owns a real window, or nullptr.
  Control* ControlOf(HWND window) const;

  // --- used by the controls
  void Relayout(Control& control);
  void RunHandler(Control& source, const std::function<void()>& call);
  void StartTimer(Timer& timer, int period);
  HFONT DefaultFont() const { return font_; }

 public:
  static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void Adopt(std::unique_ptr<Control> control, Control* parent, Bounds bounds);
  // Gives the control (and its children) a window while it can be seen, or
  // takes it away. `above` is the window of the next sibling that has one
  // (HWND_TOP when none): a new window goes beneath it.
  void Place(Control& control, HWND above);
  void PlaceAll(const std::vector<Control*>& siblings);
  void Unrealize(Control& control);
  void Forget(Control& control);
  HWND ZOrderSuccessor(const Control& control) const;

  std::string name_;
  std::string caption_;
  Bounds bounds_;
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  bool activated_ = false;
  FormHandlers formHandlers_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<Control*> topLevel_;
  std::unordered_map<std::string, Control*> byName_;
  std::unordered_map<HWND, Control*> byWindow_;
  std::vector<Control*> eventSources_;
  std::unordered_map<UINT_PTR, Timer*> timers_;
  UINT_PTR nextTimerId_ = 1;
};

}  // namespace tvk::ui
