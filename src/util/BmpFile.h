// The byte layout of device-independent bitmaps and BMP files, as
// BitmapCanvas writes them: a packed DIB is the 40-byte bitmap information
// header, the palette (entries x 4 bytes: blue, green, red, 0) and the pixel
// rows, bottom row first; a BMP file is the 14-byte file header and a packed
// DIB. All numbers are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tvk {

inline constexpr std::size_t kBmpFileHeaderSize = 14;
inline constexpr std::size_t kBitmapInfoHeaderSize = 40;

// The bitmap information header as a record (BITMAPINFOHEADER's fields after
// the size field, which is always 40).
struct BitmapInfoHeader {
  std::int32_t width = 0;
  std::int32_t height = 0;  // positive: rows stored bottom-up
  std::uint16_t planes = 1;
  std::uint16_t bitsPerPixel = 0;
  std::uint32_t compression = 0;
  std::uint32_t imageSize = 0;
  std::int32_t horizontalResolution = 0;
  std::int32_t verticalResolution = 0;
  std::uint32_t coloursUsed = 0;
  std::uint32_t coloursImportant = 0;
};

// Depths the canvas makes: 1, 4, 8, 16, 24 and 32 bits per pixel.
bool IsSupportedDepth(int bitsPerPixel);

// Palette entries of a depth: 2 for 1 bit, 16 for 4 bits, 256 for 8 bits;
// 0 for every other depth.
int PaletteCount(int bitsPerPixel);

// Bytes of one pixel row: ((width x bits + 31) div 32) x 4. 0 for a
// non-positive width or depth, or when the row would not fit in an int.
int StrideFor(int width, int bitsPerPixel);

// The 40 header bytes: size 40, then the record's fields in order.
std::string HeaderBytes(const BitmapInfoHeader& header);

// The record in the first 40 bytes of `bytes`; a default record (no width,
// height or depth) when there are fewer.
BitmapInfoHeader HeaderRecord(std::string_view bytes);

// The preset palette of a depth: for 1 bit black and white; for 4 bits black,
// dark red, dark green, dark yellow, dark blue, dark magenta, dark cyan, grey,
// silver, red, green, yellow, blue, magenta, cyan, white (a dark channel is
// 80, a full one FF); for 8 bits the first eight of those, a 6 x 6 x 6 colour
// cube (channel steps of 33), the last eight of those and 24 greys. Empty for
// other depths.
std::string PresetPalette(int bitsPerPixel);

// The largest pixel area BlankPackedDib makes (256 MiB).
inline constexpr std::size_t kMaxPixelBytes = std::size_t{1} << 28;

// A packed DIB of width x height at the depth with all pixels zero. The
// palette area is `palette` cut or zero-filled to the depth's entry count.
// Empty for an unsupported depth, a non-positive size, or pixel rows above
// kMaxPixelBytes.
std::string BlankPackedDib(int width, int height, int bitsPerPixel, std::string_view palette = {});

// The BMP file of a packed DIB: "BM", the file size (14 + the DIB's length),
// 4 zero bytes and the offset of the pixel rows (54 + the palette bytes of
// the depth in the DIB's header), then the DIB itself. Empty when the DIB is
// shorter than its header.
std::string BmpFileBytes(std::string_view packedDib);

}  // namespace tvk
