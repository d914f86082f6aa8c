#include "util/BitmapCanvas.h"

#include <cstring>
#include <utility>

namespace tvk {

BitmapCanvas::BitmapCanvas() {
  Initialise();
  screenDc_.acquire(nullptr);
}

void BitmapCanvas::Reset() {
  if (image_.empty() && !dibSection_.get()) return;
  previousBitmap_.reset();
  dibSection_.reset();
  memoryDc_.reset();
  screenDc_.reset();
  dibBits_ = nullptr;
  image_.clear();
  screenDc_.acquire(nullptr);
}

void BitmapCanvas::Initialise() {
  palette2_ = PresetPalette(1);
  palette16_ = PresetPalette(4);
  palette256_ = PresetPalette(8);
}

bool BitmapCanvas::DrawIcon(HICON icon, int width, int height, int bitsPerPixel) {
  {
    ScopedMemoryDc dc(CreateCompatibleDC(screenDc_.get()));
    ScopedBitmap bitmap(CreateCompatibleBitmap(screenDc_.get(), width, height));
    ScopedBrush white(CreateSolidBrush(RGB(255, 255, 255)));
    ScopedSelection selection;
    if (!dc.get() || !bitmap.get() || !white.get() || !selection.select(dc.get(), bitmap.get())) {
      Reset();
      return false;
    }
    const RECT rect = {0, 0, width, height};
    FillRect(dc.get(), &rect, white.get());
    if (icon) DrawIconEx(dc.get(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    LoadFromDc(dc.get(), rect, bitsPerPixel);
  }
  return dibSection_.get() != nullptr;
}

bool BitmapCanvas::LoadFromDc(HDC source, const RECT& rect, int bitsPerPixel) {
  Reset();
  if (!IsSupportedDepth(bitsPerPixel)) return false;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (!CreateBlank(width, height, bitsPerPixel)) return false;

  memoryDc_.reset(CreateCompatibleDC(source));
  void* bits = nullptr;
  dibSection_.reset(CreateDIBSection(memoryDc_.get(), reinterpret_cast<const BITMAPINFO*>(image_.data()),
                                     DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memoryDc_.get() || !dibSection_.get() || !bits || !previousBitmap_.select(memoryDc_.get(), dibSection_.get())) {
    Reset();
    return false;
  }
  dibBits_ = bits;

  BitBlt(memoryDc_.get(), 0, 0, width, height, source, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  std::memcpy(image_.data() + kBitmapInfoHeaderSize + PaletteSize(), dibBits_, PixelSize());
  return true;
}

bool BitmapCanvas::CreateBlank(int width, int height, int bitsPerPixel) {
  const std::string* palette = nullptr;
  switch (bitsPerPixel) {
    case 1:
      palette = &palette2_;
      break;
    case 4:
      palette = &palette16_;
      break;
    case 8:
      palette = &palette256_;
      break;
    default:
      break;
  }
  std::string dib = BlankPackedDib(width, height, bitsPerPixel, palette ? *palette : std::string());
  if (dib.empty()) return false;
  image_ = std::move(dib);
  return true;
}

int BitmapCanvas::Width() const { return HeaderRecord(image_).width; }

int BitmapCanvas::Height() const { return HeaderRecord(image_).height; }

int BitmapCanvas::BitsPerPixel() const { return HeaderRecord(image_).bitsPerPixel; }

const std::uint8_t* BitmapCanvas::ImageAddress() const {
  return image_.empty() ? nullptr : reinterpret_cast<const std::uint8_t*>(image_.data());
}

const std::uint8_t* BitmapCanvas::PixelAddress() const {
  return image_.empty() ? nullptr : ImageAddress() + kBitmapInfoHeaderSize + PaletteSize();
}

std::size_t BitmapCanvas::PixelSize() const {
  const int height = Height();
  return height <= 0 ? 0 : static_cast<std::size_t>(height) * static_cast<std::size_t>(RowStride());
}

const std::uint8_t* BitmapCanvas::PaletteAddress() const {
  return image_.empty() || BitsPerPixel() > 15 ? nullptr : ImageAddress() + kBitmapInfoHeaderSize;
}

std::size_t BitmapCanvas::PaletteSize() const { return static_cast<std::size_t>(PaletteCount(BitsPerPixel())) * 4; }

int BitmapCanvas::RowStride() const { return StrideFor(Width(), BitsPerPixel()); }

std::string BitmapCanvas::ToBmpFileBytes() const { return BmpFileBytes(image_); }

}  // namespace tvk
