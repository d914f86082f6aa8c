#include "util/BmpFile.h"

#include <cstdint>

namespace tvk {

namespace {

void PutLe16(std::string& out, std::uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void PutLe32(std::string& out, std::uint32_t value) {
  PutLe16(out, value & 0xFFFF);
  PutLe16(out, value >> 16);
}

std::uint32_t GetLe(std::string_view bytes, std::size_t offset, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
  return value;
}

struct Rgb {
  unsigned char red, green, blue;
};

// The 4-bit preset, in palette order.
constexpr Rgb kSixteenColours[16] = {
    {0x00, 0x00, 0x00}, {0x80, 0x00, 0x00}, {0x00, 0x80, 0x00}, {0x80, 0x80, 0x00},
    {0x00, 0x00, 0x80}, {0x80, 0x00, 0x80}, {0x00, 0x80, 0x80}, {0x80, 0x80, 0x80},
    {0xC0, 0xC0, 0xC0}, {0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0xFF, 0xFF, 0x00},
    {0x00, 0x00, 0xFF}, {0xFF, 0x00, 0xFF}, {0x00, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF},
};

void PutEntry(std::string& out, Rgb colour) {
  out.push_back(static_cast<char>(colour.blue));
  out.push_back(static_cast<char>(colour.green));
  out.push_back(static_cast<char>(colour.red));
  out.push_back('\0');
}

}  // namespace

bool IsSupportedDepth(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      return true;
    default:
      return false;
  }
}

int PaletteCount(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

int StrideFor(int width, int bitsPerPixel) {
  if (width <= 0 || bitsPerPixel <= 0) return 0;
  const std::int64_t stride = (static_cast<std::int64_t>(width) * bitsPerPixel + 31) / 32 * 4;
  return stride > INT32_MAX ? 0 : static_cast<int>(stride);
}

std::string HeaderBytes(const BitmapInfoHeader& header) {
  std::string out;
  out.reserve(kBitmapInfoHeaderSize);
  PutLe32(out, kBitmapInfoHeaderSize);
  PutLe32(out, static_cast<std::uint32_t>(header.width));
  PutLe32(out, static_cast<std::uint32_t>(header.height));
  PutLe16(out, header.planes);
  PutLe16(out, header.bitsPerPixel);
  PutLe32(out, header.compression);
  PutLe32(out, header.imageSize);
  PutLe32(out, static_cast<std::uint32_t>(header.horizontalResolution));
  PutLe32(out, static_cast<std::uint32_t>(header.verticalResolution));
  PutLe32(out, header.coloursUsed);
  PutLe32(out, header.coloursImportant);
  return out;
}

BitmapInfoHeader HeaderRecord(std::string_view bytes) {
  BitmapInfoHeader header;
  if (bytes.size() < kBitmapInfoHeaderSize) return header;
  header.width = static_cast<std::int32_t>(GetLe(bytes, 4, 4));
  header.height = static_cast<std::int32_t>(GetLe(bytes, 8, 4));
  header.planes = static_cast<std::uint16_t>(GetLe(bytes, 12, 2));
  header.bitsPerPixel = static_cast<std::uint16_t>(GetLe(bytes, 14, 2));
  header.compression = GetLe(bytes, 16, 4);
  header.imageSize = GetLe(bytes, 20, 4);
  header.horizontalResolution = static_cast<std::int32_t>(GetLe(bytes, 24, 4));
  header.verticalResolution = static_cast<std::int32_t>(GetLe(bytes, 28, 4));
  header.coloursUsed = GetLe(bytes, 32, 4);
  header.coloursImportant = GetLe(bytes, 36, 4);
  return header;
}

std::string PresetPalette(int bitsPerPixel) {
  std::string out;
  switch (bitsPerPixel) {
    case 1:
      PutEntry(out, kSixteenColours[0]);
      PutEntry(out, kSixteenColours[15]);
      break;
    case 4:
      for (Rgb colour : kSixteenColours) PutEntry(out, colour);
      break;
    case 8: {
      for (int i = 0; i < 8; ++i) PutEntry(out, kSixteenColours[i]);
      for (int red = 0; red < 6; ++red)
        for (int green = 0; green < 6; ++green)
          for (int blue = 0; blue < 6; ++blue)
            PutEntry(out, {static_cast<unsigned char>(red * 0x33), static_cast<unsigned char>(green * 0x33),
                           static_cast<unsigned char>(blue * 0x33)});
      for (int i = 8; i < 16; ++i) PutEntry(out, kSixteenColours[i]);
      // 24 greys between black and white, neither included.
      for (int i = 1; i <= 24; ++i) {
        const auto level = static_cast<unsigned char>(i * 255 / 25);
        PutEntry(out, {level, level, level});
      }
      break;
    }
    default:
      break;
  }
  return out;
}

std::string BlankPackedDib(int width, int height, int bitsPerPixel, std::string_view palette) {
  if (!IsSupportedDepth(bitsPerPixel) || width <= 0 || height <= 0) return {};
  const int stride = StrideFor(width, bitsPerPixel);
  if (stride == 0 || static_cast<std::size_t>(stride) > kMaxPixelBytes / static_cast<std::size_t>(height)) return {};
  const std::size_t paletteBytes = static_cast<std::size_t>(PaletteCount(bitsPerPixel)) * 4;

  BitmapInfoHeader header;
  header.width = width;
  header.height = height;
  header.bitsPerPixel = static_cast<std::uint16_t>(bitsPerPixel);
  std::string dib = HeaderBytes(header);
  dib.append(palette.substr(0, paletteBytes));
  dib.resize(kBitmapInfoHeaderSize + paletteBytes + static_cast<std::size_t>(stride) * height, '\0');
  return dib;
}

std::string BmpFileBytes(std::string_view packedDib) {
  if (packedDib.size() < kBitmapInfoHeaderSize) return {};
  const BitmapInfoHeader header = HeaderRecord(packedDib);
  const std::size_t paletteBytes = static_cast<std::size_t>(PaletteCount(header.bitsPerPixel)) * 4;
  std::string file = "BM";
  file.reserve(kBmpFileHeaderSize + packedDib.size());
  PutLe32(file, static_cast<std::uint32_t>(kBmpFileHeaderSize + packedDib.size()));
  PutLe32(file, 0);
  PutLe32(file, static_cast<std::uint32_t>(kBmpFileHeaderSize + kBitmapInfoHeaderSize + paletteBytes));
  file.append(packedDib);
  return file;
}

}  // namespace tvk
