// Owners of GDI and user-interface handles: device contexts, GDI objects,
// selections into a device context and icons. Each gives back what it holds
// exactly once; none can be copied.
#pragma once

#include <windows.h>

namespace tvk {

// A window's device context from GetDC (the screen's when the window is null),
// given back with ReleaseDC.
class ScopedWindowDc {
 public:
  ScopedWindowDc() = default;
  explicit ScopedWindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ScopedWindowDc() { reset(); }
  ScopedWindowDc(const ScopedWindowDc&) = delete;
  ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;

  HDC get() const { return dc_; }
  // Gives back the context held and takes `window`'s.
  void acquire(HWND window) {
    reset();
    window_ = window;
    dc_ = GetDC(window);
  }
  void reset() {
    if (dc_) ReleaseDC(window_, dc_);
    window_ = nullptr;
    dc_ = nullptr;
  }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

// A memory device context (CreateCompatibleDC), deleted with DeleteDC.
class ScopedMemoryDc {
 public:
  explicit ScopedMemoryDc(HDC dc = nullptr) : dc_(dc) {}
  ~ScopedMemoryDc() { reset(); }
  ScopedMemoryDc(const ScopedMemoryDc&) = delete;
  ScopedMemoryDc& operator=(const ScopedMemoryDc&) = delete;

  HDC get() const { return dc_; }
  void reset(HDC dc = nullptr) {
    if (dc_) DeleteDC(dc_);
    dc_ = dc;
  }

 private:
  HDC dc_;
};

// A GDI object (bitmap, brush, pen, font), deleted with DeleteObject. Undo any
// selection of it first (ScopedSelection): a selected object is not deleted.
template <typename T>
class ScopedGdiObject {
 public:
  explicit ScopedGdiObject(T object = nullptr) : object_(object) {}
  ~ScopedGdiObject() { reset(); }
  ScopedGdiObject(const ScopedGdiObject&) = delete;
  ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;

  T get() const { return object_; }
  void reset(T object = nullptr) {
    if (object_) DeleteObject(object_);
    object_ = object;
  }

 private:
  T object_;
};

using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;

// One SelectObject into a device context, undone by selecting back what the
// context held before. Declare it after the owners of the context and of the
// object, so that it is undone before either is deleted.
class ScopedSelection {
 public:
  ScopedSelection() = default;
  ScopedSelection(HDC dc, HGDIOBJ object) { select(dc, object); }
  ~ScopedSelection() { reset(); }
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;

  // Undoes the selection held, then selects `object`. Returns false when
  // SelectObject fails (nothing is held then).
  bool select(HDC dc, HGDIOBJ object) {
    reset();
    HGDIOBJ previous = dc && object ? SelectObject(dc, object) : nullptr;
    if (!previous || previous == HGDI_ERROR) return false;
    dc_ = dc;
    previous_ = previous;
    return true;
  }
  // What the context held before the selection; null when nothing is held.
  HGDIOBJ previous() const { return previous_; }
  void reset() {
    if (dc_ && previous_) SelectObject(dc_, previous_);
    dc_ = nullptr;
    previous_ = nullptr;
  }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// An icon made for us (SHGetFileInfo, CreateIconIndirect, LoadImage without
// LR_SHARED), destroyed with DestroyIcon.
class ScopedIcon {
 public:
  explicit ScopedIcon(HICON icon = nullptr) : icon_(icon) {}
  ~ScopedIcon() { reset(); }
  ScopedIcon(const ScopedIcon&) = delete;
  ScopedIcon& operator=(const ScopedIcon&) = delete;

  HICON get() const { return icon_; }
  void reset(HICON icon = nullptr) {
    if (icon_) DestroyIcon(icon_);
    icon_ = icon;
  }

 private:
  HICON icon_;
};

}  // namespace tvk
