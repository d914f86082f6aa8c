#include "platform/ui/Picture.h"

#include <objidl.h>
#include <gdiplus.h>

namespace tvk::ui {

namespace {

// GDI+ is started once for the process, on first use.
bool StartGdiPlus() {
  static bool started = [] {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  }();
  return started;
}

}  // namespace

bool Picture::Load(std::string_view bytes) {
  Reset();
  if (bytes.empty() || !StartGdiPlus()) return false;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!memory) return false;
  void* data = GlobalLock(memory);
  memcpy(data, bytes.data(), bytes.size());
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (CreateStreamOnHGlobal(memory, TRUE, &stream) != S_OK) {
    GlobalFree(memory);
    return false;
  }
  Gdiplus::GpBitmap* image = nullptr;
  if (Gdiplus::DllExports::GdipCreateBitmapFromStream(stream, &image) == Gdiplus::Ok && image) {
    UINT width = 0, height = 0;
    Gdiplus::DllExports::GdipGetImageWidth(image, &width);
    Gdiplus::DllExports::GdipGetImageHeight(image, &height);
    HBITMAP bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap(image, &bitmap, 0xFFFFFFFF) == Gdiplus::Ok) {
      bitmap_ = bitmap;
      width_ = static_cast<int>(width);
      height_ = static_cast<int>(height);
    }
    Gdiplus::DllExports::GdipDisposeImage(image);
  }
  stream->Release();  // frees the memory too
  return bitmap_ != nullptr;
}

void Picture::Reset() {
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  width_ = height_ = 0;
}

void Picture::Draw(HDC dc, const RECT& into) const {
  if (!bitmap_) return;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, bitmap_);
  SetStretchBltMode(dc, HALFTONE);
  StretchBlt(dc, into.left, into.top, into.right - into.left, into.bottom - into.top, memory, 0, 0, width_, height_,
             SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

}  // namespace tvk::ui
