// One device-independent bitmap with the GDI objects that draw into it, and
// its BMP file bytes. Windows build only. The box draws a product's shell
// icon on a white 32 x 32 canvas with it (FileIcon.h); the rest of the class
// is what that path relies on. The byte layout is the one of BmpFile.h.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "util/BmpFile.h"
#include "util/ScopedGdi_win.h"

namespace tvk {

class BitmapCanvas {
 public:
  // An empty canvas with its preset palettes and the screen's device context.
  BitmapCanvas();
  // Undoes the selection of the DIB section, deletes it and the memory device
  // context, and gives back the screen's device context.
  ~BitmapCanvas() = default;
  BitmapCanvas(const BitmapCanvas&) = delete;
  BitmapCanvas& operator=(const BitmapCanvas&) = delete;

  // Empties the canvas: the GDI objects go, the image becomes empty and the
  // screen's device context is taken anew. Nothing happens when the canvas is
  // empty already.
  void Reset();

  // Fills the three preset palettes (PresetPalette of 1, 4 and 8 bits).
  void Initialise();

  // Draws `icon` (DrawIconEx, normal drawing) at (0, 0) in width x height
  // over a white background, and loads that at the depth. Returns whether the
  // canvas holds an image afterwards; a null icon gives a white image.
  bool DrawIcon(HICON icon, int width = 32, int height = 32, int bitsPerPixel = 32);

  // Empties the canvas, then copies `rect` of `source` into a new DIB section
  // of the rectangle's size at the depth, and its pixels into the image.
  // Returns false, leaving the canvas empty, for an unsupported depth, an
  // empty rectangle, or when the DIB section cannot be made.
  bool LoadFromDc(HDC source, const RECT& rect, int bitsPerPixel);

  // Makes the image a blank width x height picture at the depth, with the
  // matching preset palette for 1, 4 and 8 bits. The GDI objects are kept.
  // Returns false, keeping the image, for an unsupported depth or a size
  // that BlankPackedDib refuses.
  bool CreateBlank(int width, int height, int bitsPerPixel);

  // The DIB section and the memory device context it is selected into; null
  // when the canvas is empty.
  HBITMAP DibSectionHandle() const { return dibSection_.get(); }
  HDC MemoryDcHandle() const { return memoryDc_.get(); }

  // Width, height and depth read from the image's header; 0 when empty.
  int Width() const;
  int Height() const;
  int BitsPerPixel() const;

  // The packed DIB (header, palette, pixel rows); null when empty.
  const std::uint8_t* ImageAddress() const;
  // The pixel rows inside the image, bottom row first; null when empty.
  const std::uint8_t* PixelAddress() const;
  // Height x RowStride.
  std::size_t PixelSize() const;
  // The palette inside the image; null when empty or above 15 bits per pixel.
  const std::uint8_t* PaletteAddress() const;
  // Palette entries of the image's depth x 4.
  std::size_t PaletteSize() const;
  // StrideFor the image's width and depth.
  int RowStride() const;

  static int StrideFor(int width, int bitsPerPixel) { return tvk::StrideFor(width, bitsPerPixel); }
  static std::string HeaderBytes(const BitmapInfoHeader& header) { return tvk::HeaderBytes(header); }

  // The bytes of a BMP file holding the image; empty when the canvas is empty.
  std::string ToBmpFileBytes() const;

 private:
  std::string palette2_;
  std::string palette16_;
  std::string palette256_;
  ScopedWindowDc screenDc_;
  ScopedMemoryDc memoryDc_;
  ScopedBitmap dibSection_;
  // The DIB section's selection into memoryDc_: destroyed first, so it is
  // undone before the section and the context are deleted.
  ScopedSelection previousBitmap_;
  std::string image_;
  void* dibBits_ = nullptr;
};

}  // namespace tvk
