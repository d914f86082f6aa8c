#include "util/BmpFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace tvk {
namespace {

std::uint32_t ReadLe(const std::string& bytes, std::size_t offset, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes.at(offset + i));
  return value;
}

// One little-endian number of a byte layout.
struct Field {
  const char* name;
  std::size_t offset;
  int size;
  std::uint32_t value;
};

TEST(BmpLayout, RowStrideRoundsUpToWholeFourByteWords) {
  struct Case {
    int width, bits, stride;
  };
  const Case cases[] = {
      {1, 1, 4},  {32, 1, 4},  {33, 1, 8},  {1, 4, 4},   {8, 4, 4},   {9, 4, 8},   {3, 8, 4},
      {5, 8, 8},  {1, 16, 4},  {3, 16, 8},  {1, 24, 4},  {5, 24, 16}, {32, 24, 96}, {1, 32, 4},
      {32, 32, 128}, {0, 32, 0}, {-4, 32, 0}, {4, 0, 0}, {0x7FFFFFFF, 32, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(StrideFor(c.width, c.bits), c.stride) << c.width << " x " << c.bits;
}

TEST(BmpLayout, PaletteEntriesExistUpToEightBitsPerPixel) {
  struct Case {
    int bits, entries;
    bool supported;
  };
  const Case cases[] = {
      {1, 2, true},   {4, 16, true},  {8, 256, true},  {16, 0, true}, {24, 0, true},
      {32, 0, true},  {0, 0, false},  {2, 0, false},   {12, 0, false}, {15, 0, false},
      {48, 0, false}, {-8, 0, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PaletteCount(c.bits), c.entries) << c.bits;
    EXPECT_EQ(IsSupportedDepth(c.bits), c.supported) << c.bits;
  }
}

TEST(BmpLayout, HeaderBytesPutEachFieldLittleEndianAtItsOffset) {
  BitmapInfoHeader header;
  header.width = 0x01020304;
  header.height = -2;  // a top-down height goes out as its two's complement
  header.planes = 0x0506;
  header.bitsPerPixel = 0x0708;
  header.compression = 0x090A0B0C;
  header.imageSize = 0x0D0E0F10;
  header.horizontalResolution = 0x11121314;
  header.verticalResolution = 0x15161718;
  header.coloursUsed = 0x191A1B1C;
  header.coloursImportant = 0x1D1E1F20;
  const std::string bytes = HeaderBytes(header);
  ASSERT_EQ(bytes.size(), kBitmapInfoHeaderSize);

  const Field fields[] = {
      {"size", 0, 4, 40},
      {"width", 4, 4, 0x01020304},
      {"height", 8, 4, 0xFFFFFFFE},
      {"planes", 12, 2, 0x0506},
      {"bits per pixel", 14, 2, 0x0708},
      {"compression", 16, 4, 0x090A0B0C},
      {"image size", 20, 4, 0x0D0E0F10},
      {"horizontal resolution", 24, 4, 0x11121314},
      {"vertical resolution", 28, 4, 0x15161718},
      {"colours used", 32, 4, 0x191A1B1C},
      {"colours important", 36, 4, 0x1D1E1F20},
  };
  for (const Field& f : fields) EXPECT_EQ(ReadLe(bytes, f.offset, f.size), f.value) << f.name;
  EXPECT_EQ(static_cast<unsigned char>(bytes[4]), 0x04) << "lowest byte first";

  const BitmapInfoHeader back = HeaderRecord(bytes + "trailing bytes are ignored");
  EXPECT_EQ(back.width, header.width);
  EXPECT_EQ(back.height, header.height);
  EXPECT_EQ(back.planes, header.planes);
  EXPECT_EQ(back.bitsPerPixel, header.bitsPerPixel);
  EXPECT_EQ(back.compression, header.compression);
  EXPECT_EQ(back.imageSize, header.imageSize);
  EXPECT_EQ(back.horizontalResolution, header.horizontalResolution);
  EXPECT_EQ(back.verticalResolution, header.verticalResolution);
  EXPECT_EQ(back.coloursUsed, header.coloursUsed);
  EXPECT_EQ(back.coloursImportant, header.coloursImportant);

  const BitmapInfoHeader shortRecord = HeaderRecord(bytes.substr(0, 39));
  EXPECT_EQ(shortRecord.width, 0);
  EXPECT_EQ(shortRecord.height, 0);
  EXPECT_EQ(shortRecord.bitsPerPixel, 0);
}

// Palette entries are blue, green, red, 0.
std::string Entry(unsigned char red, unsigned char green, unsigned char blue) {
  return {static_cast<char>(blue), static_cast<char>(green), static_cast<char>(red), '\0'};
}

TEST(BmpLayout, PresetPalettes) {
  EXPECT_EQ(PresetPalette(1), Entry(0, 0, 0) + Entry(0xFF, 0xFF, 0xFF));

  const std::string sixteen[] = {
      Entry(0x00, 0x00, 0x00),  // black
      Entry(0x80, 0x00, 0x00),  // dark red
      Entry(0x00, 0x80, 0x00),  // dark green
      Entry(0x80, 0x80, 0x00),  // dark yellow
      Entry(0x00, 0x00, 0x80),  // dark blue
      Entry(0x80, 0x00, 0x80),  // dark magenta
      Entry(0x00, 0x80, 0x80),  // dark cyan
      Entry(0x80, 0x80, 0x80),  // grey
      Entry(0xC0, 0xC0, 0xC0),  // silver
      Entry(0xFF, 0x00, 0x00),  // red
      Entry(0x00, 0xFF, 0x00),  // green
      Entry(0xFF, 0xFF, 0x00),  // yellow
      Entry(0x00, 0x00, 0xFF),  // blue
      Entry(0xFF, 0x00, 0xFF),  // magenta
      Entry(0x00, 0xFF, 0xFF),  // cyan
      Entry(0xFF, 0xFF, 0xFF),  // white
  };
  const std::string palette16 = PresetPalette(4);
  ASSERT_EQ(palette16.size(), 64u);
  for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(palette16.substr(i * 4, 4), sixteen[i]) << "entry " << i;

  const std::string palette256 = PresetPalette(8);
  ASSERT_EQ(palette256.size(), 1024u);
  EXPECT_EQ(palette256.substr(0, 32), palette16.substr(0, 32)) << "black and the dark colours first";
  for (std::size_t i = 0; i < 256; ++i) EXPECT_EQ(palette256[i * 4 + 3], '\0') << "entry " << i;

  for (int bits : {0, 16, 24, 32}) EXPECT_EQ(PresetPalette(bits), "") << bits;
}

TEST(BmpFile, ThirtyTwoByThirtyTwoAtThirtyTwoBitsIs4150Bytes) {
  const std::string file = BmpFileBytes(BlankPackedDib(32, 32, 32));
  ASSERT_EQ(file.size(), 4150u);
  const Field fields[] = {
      {"signature", 0, 2, 0x4D42},  // "BM"
      {"file size", 2, 4, 4150},
      {"reserved", 6, 4, 0},
      {"pixel offset", 10, 4, 54},
      {"header size", 14, 4, 40},
      {"width", 18, 4, 32},
      {"height", 22, 4, 32},
      {"planes", 26, 2, 1},
      {"bits per pixel", 28, 2, 32},
      {"compression", 30, 4, 0},
      {"image size", 34, 4, 0},
      {"horizontal resolution", 38, 4, 0},
      {"vertical resolution", 42, 4, 0},
      {"colours used", 46, 4, 0},
      {"colours important", 50, 4, 0},
  };
  for (const Field& f : fields) EXPECT_EQ(ReadLe(file, f.offset, f.size), f.value) << f.name;
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(file.substr(54), std::string(4096, '\0'));
}

TEST(BmpFile, PixelOffsetAndSizeCountThePalette) {
  struct Case {
    int width, height, bits;
    std::uint32_t fileSize, pixelOffset;
  };
  const Case cases[] = {
      {9, 2, 1, 14 + 40 + 8 + 2 * 4, 62},          // rows of 9 bits take 4 bytes
      {3, 3, 4, 14 + 40 + 64 + 3 * 4, 118},        // 12 bits: 4 bytes
      {5, 2, 8, 14 + 40 + 1024 + 2 * 8, 1078},     // 5 bytes: 8
      {3, 1, 16, 14 + 40 + 8, 54},                 // 6 bytes: 8
      {5, 3, 24, 14 + 40 + 3 * 16, 54},            // 15 bytes: 16
      {2, 2, 32, 14 + 40 + 2 * 8, 54},
  };
  for (const Case& c : cases) {
    const std::string palette = PresetPalette(c.bits);
    const std::string dib = BlankPackedDib(c.width, c.height, c.bits, palette);
    const std::string file = BmpFileBytes(dib);
    ASSERT_EQ(file.size(), c.fileSize) << c.bits;
    EXPECT_EQ(ReadLe(file, 2, 4), c.fileSize) << c.bits;
    EXPECT_EQ(ReadLe(file, 10, 4), c.pixelOffset) << c.bits;
    EXPECT_EQ(file.substr(14), dib) << c.bits;
    EXPECT_EQ(dib.substr(40, palette.size()), palette) << c.bits;
    EXPECT_EQ(dib.substr(c.pixelOffset - 14), std::string(c.fileSize - c.pixelOffset, '\0')) << c.bits;
  }
}

TEST(BmpFile, PaletteAreaIsCutOrZeroFilledToTheDepth) {
  const std::string longPalette = PresetPalette(8);
  EXPECT_EQ(BlankPackedDib(1, 1, 1, longPalette).substr(40, 8), longPalette.substr(0, 8));
  EXPECT_EQ(BlankPackedDib(1, 1, 1, longPalette).size(), 40u + 8 + 4);

  const std::string shortPalette = Entry(1, 2, 3);
  EXPECT_EQ(BlankPackedDib(1, 1, 4, shortPalette).substr(40, 64), shortPalette + std::string(60, '\0'));
  EXPECT_EQ(BlankPackedDib(1, 1, 24, longPalette).size(), 40u + 4) << "no palette above 8 bits";
}

TEST(BmpFile, RefusalsAreEmpty) {
  struct Case {
    int width, height, bits;
  };
  const Case refused[] = {
      {32, 32, 12}, {32, 32, 0}, {0, 32, 32}, {32, 0, 32}, {-1, 32, 32}, {32, -1, 32}, {1 << 15, 1 << 15, 32},
  };
  for (const Case& c : refused)
    EXPECT_EQ(BlankPackedDib(c.width, c.height, c.bits), "") << c.width << " x " << c.height << " x " << c.bits;
  EXPECT_EQ(BmpFileBytes(""), "");
  EXPECT_EQ(BmpFileBytes(std::string(39, '\0')), "");
}

}  // namespace
}  // namespace tvk
