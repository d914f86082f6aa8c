// Pictures from image file bytes (BMP, PNG, JPEG, GIF), decoded by GDI+.
#pragma once

#include <windows.h>

#include <string_view>

namespace tvk::ui {

// An owned GDI bitmap with its size.
class Picture {
 public:
  Picture() = default;
  ~Picture() { Reset(); }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  // Decodes the bytes; false (and no picture) when they are not an image.
  bool Load(std::string_view bytes);
  void Reset();
  bool Empty() const { return bitmap_ == nullptr; }
  HBITMAP Bitmap() const { return bitmap_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Draws the picture stretched to the rectangle.
  void Draw(HDC dc, const RECT& into) const;

 private:
  HBITMAP bitmap_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace tvk::ui
