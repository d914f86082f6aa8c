#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "util/BitmapCanvas.h"
#include "util/BmpFile.h"
#include "util/ScopedGdi_win.h"

namespace tvk {
namespace {

struct Bgr {
  int blue, green, red;
  bool operator==(const Bgr&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Bgr& c) {
  return out << "(b " << c.blue << ", g " << c.green << ", r " << c.red << ")";
}

Bgr ToBgr(COLORREF colour) { return {GetBValue(colour), GetGValue(colour), GetRValue(colour)}; }

// A screen-compatible bitmap in a memory device context, painted pixel by
// pixel by `colourAt` (x, y from the top left).
class SourcePicture {
 public:
  SourcePicture(int width, int height, const std::function<COLORREF(int, int)>& colourAt) {
    ScopedWindowDc screen(nullptr);
    dc_.reset(CreateCompatibleDC(screen.get()));
    bitmap_.reset(CreateCompatibleBitmap(screen.get(), width, height));
    selection_.select(dc_.get(), bitmap_.get());
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) SetPixelV(dc_.get(), x, y, colourAt(x, y));
  }
  HDC dc() const { return dc_.get(); }

 private:
  ScopedMemoryDc dc_;
  ScopedBitmap bitmap_;
  ScopedSelection selection_;
};

// The colour channels of pixel (x, y) (from the top left) of a 24- or 32-bit
// canvas; rows are stored bottom row first.
Bgr PixelAt(const BitmapCanvas& canvas, int x, int y) {
  const std::uint8_t* p = canvas.PixelAddress() + static_cast<std::size_t>(canvas.Height() - 1 - y) * canvas.RowStride() +
                          static_cast<std::size_t>(x) * (canvas.BitsPerPixel() / 8);
  return {p[0], p[1], p[2]};
}

void ExpectEmpty(const BitmapCanvas& canvas, const char* when) {
  EXPECT_EQ(canvas.Width(), 0) << when;
  EXPECT_EQ(canvas.Height(), 0) << when;
  EXPECT_EQ(canvas.BitsPerPixel(), 0) << when;
  EXPECT_EQ(canvas.ImageAddress(), nullptr) << when;
  EXPECT_EQ(canvas.PixelAddress(), nullptr) << when;
  EXPECT_EQ(canvas.PaletteAddress(), nullptr) << when;
  EXPECT_EQ(canvas.PixelSize(), 0u) << when;
  EXPECT_EQ(canvas.DibSectionHandle(), nullptr) << when;
  EXPECT_EQ(canvas.MemoryDcHandle(), nullptr) << when;
  EXPECT_EQ(canvas.ToBmpFileBytes(), "") << when;
}

std::uint32_t ReadLe32(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes.at(offset + i));
  return value;
}

// A width x width icon: the left half transparent, the right half `colour`.
HICON HalfIcon(int width, COLORREF colour) {
  ScopedWindowDc screen(nullptr);
  ScopedBitmap colourBits(CreateCompatibleBitmap(screen.get(), width, width));
  {
    ScopedMemoryDc dc(CreateCompatibleDC(screen.get()));
    ScopedSelection selection(dc.get(), colourBits.get());
    ScopedBrush black(CreateSolidBrush(RGB(0, 0, 0)));
    ScopedBrush paint(CreateSolidBrush(colour));
    const RECT left = {0, 0, width / 2, width};
    const RECT right = {width / 2, 0, width, width};
    FillRect(dc.get(), &left, black.get());
    FillRect(dc.get(), &right, paint.get());
  }
  // Mask rows (1 = transparent), each a whole number of 16-bit words.
  const int rowBytes = (width + 15) / 16 * 2;
  std::string mask(static_cast<std::size_t>(rowBytes) * width, '\0');
  for (int y = 0; y < width; ++y)
    for (int x = 0; x < width / 2; ++x) mask[y * rowBytes + x / 8] |= static_cast<char>(0x80 >> (x % 8));
  ScopedBitmap maskBits(CreateBitmap(width, width, 1, 1, mask.data()));
  ICONINFO info = {TRUE, 0, 0, maskBits.get(), colourBits.get()};
  return CreateIconIndirect(&info);
}

TEST(BitmapCanvas, StartsEmpty) {
  BitmapCanvas canvas;
  ExpectEmpty(canvas, "new");
  canvas.Reset();
  ExpectEmpty(canvas, "reset while empty");
}

TEST(BitmapCanvas, DrawIconWithoutAnIconGivesAWhite32x32x32Image) {
  BitmapCanvas canvas;
  ASSERT_TRUE(canvas.DrawIcon(nullptr));
  EXPECT_EQ(canvas.Width(), 32);
  EXPECT_EQ(canvas.Height(), 32);
  EXPECT_EQ(canvas.BitsPerPixel(), 32);
  EXPECT_EQ(canvas.RowStride(), 128);
  EXPECT_EQ(canvas.PixelSize(), 4096u);
  EXPECT_EQ(canvas.PaletteSize(), 0u);
  EXPECT_EQ(canvas.PaletteAddress(), nullptr);
  EXPECT_NE(canvas.DibSectionHandle(), nullptr);
  EXPECT_NE(canvas.MemoryDcHandle(), nullptr);
  EXPECT_EQ(canvas.PixelAddress(), canvas.ImageAddress() + 40);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(PixelAt(canvas, x, y), (Bgr{255, 255, 255})) << x << ", " << y;

  const std::string file = canvas.ToBmpFileBytes();
  ASSERT_EQ(file.size(), 4150u);
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(ReadLe32(file, 2), 4150u) << "file size";
  EXPECT_EQ(ReadLe32(file, 10), 54u) << "pixel offset";
  EXPECT_EQ(0, std::memcmp(file.data() + 14, canvas.ImageAddress(), 40 + 4096)) << "the file holds the image";
}

TEST(BitmapCanvas, DrawIconDrawsTheIconOverWhiteAtTheGivenSizeAndDepth) {
  const COLORREF colour = RGB(0x20, 0x40, 0x80);
  ScopedIcon icon(HalfIcon(32, colour));
  ASSERT_NE(icon.get(), nullptr);
  struct Case {
    int size, bits;
  };
  for (const Case& c : {Case{32, 32}, Case{16, 24}, Case{48, 32}}) {
    BitmapCanvas canvas;
    ASSERT_TRUE(canvas.DrawIcon(icon.get(), c.size, c.size, c.bits)) << c.size;
    EXPECT_EQ(canvas.Width(), c.size);
    EXPECT_EQ(canvas.Height(), c.size);
    EXPECT_EQ(canvas.BitsPerPixel(), c.bits);
    // Away from the seam, where stretching may blend.
    for (int y = 0; y < c.size; ++y) {
      EXPECT_EQ(PixelAt(canvas, c.size / 4, y), (Bgr{255, 255, 255})) << c.size << ": row " << y;
      EXPECT_EQ(PixelAt(canvas, c.size * 3 / 4, y), ToBgr(colour)) << c.size << ": row " << y;
    }
  }
}

TEST(BitmapCanvas, DrawIconAtAnUnsupportedDepthLeavesTheCanvasEmpty) {
  BitmapCanvas canvas;
  ASSERT_TRUE(canvas.DrawIcon(nullptr));
  EXPECT_FALSE(canvas.DrawIcon(nullptr, 32, 32, 12));
  ExpectEmpty(canvas, "after 12 bits");
}

COLORREF Distinct(int x, int y) { return RGB(x * 40, y * 60, 0x10 + x + 2 * y); }

TEST(BitmapCanvas, LoadFromDcCopiesTheRectangleBottomRowFirst) {
  SourcePicture source(6, 4, Distinct);
  BitmapCanvas canvas;
  const RECT rect = {1, 1, 6, 4};  // 5 x 3 from (1, 1)
  ASSERT_TRUE(canvas.LoadFromDc(source.dc(), rect, 24));
  EXPECT_EQ(canvas.Width(), 5);
  EXPECT_EQ(canvas.Height(), 3);
  ASSERT_EQ(canvas.RowStride(), 16);  // 15 bytes and one of padding
  ASSERT_EQ(canvas.PixelSize(), 48u);
  for (int y = 0; y < 3; ++y) {
    const std::uint8_t* row = canvas.PixelAddress() + (2 - y) * 16;
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ((Bgr{row[x * 3], row[x * 3 + 1], row[x * 3 + 2]}), ToBgr(Distinct(x + 1, y + 1))) << x << ", " << y;
    }
    EXPECT_EQ(row[15], 0) << "padding of row " << y;
  }
}

TEST(BitmapCanvas, LoadFromDcAtPaletteDepthsUsesThePresetPalettes) {
  // The sixteen colours of the 4-bit palette, in its order, in one row.
  const COLORREF sixteen[] = {
      RGB(0, 0, 0),       RGB(0x80, 0, 0),    RGB(0, 0x80, 0),    RGB(0x80, 0x80, 0),
      RGB(0, 0, 0x80),    RGB(0x80, 0, 0x80), RGB(0, 0x80, 0x80), RGB(0x80, 0x80, 0x80),
      RGB(0xC0, 0xC0, 0xC0), RGB(0xFF, 0, 0), RGB(0, 0xFF, 0),    RGB(0xFF, 0xFF, 0),
      RGB(0, 0, 0xFF),    RGB(0xFF, 0, 0xFF), RGB(0, 0xFF, 0xFF), RGB(0xFF, 0xFF, 0xFF),
  };
  SourcePicture colours(16, 1, [&](int x, int) { return sixteen[x]; });
  const RECT row = {0, 0, 16, 1};

  BitmapCanvas canvas;
  ASSERT_TRUE(canvas.LoadFromDc(colours.dc(), row, 4));
  ASSERT_EQ(canvas.PaletteSize(), 64u);
  ASSERT_NE(canvas.PaletteAddress(), nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(canvas.PaletteAddress()), 64), PresetPalette(4));
  EXPECT_EQ(canvas.PixelAddress(), canvas.PaletteAddress() + 64);
  for (int x = 0; x < 16; ++x) {
    const int nibble = (canvas.PixelAddress()[x / 2] >> (x % 2 ? 0 : 4)) & 0xF;
    EXPECT_EQ(nibble, x) << "colour " << x;
  }

  SourcePicture blackWhite(10, 1, [](int x, int) { return x % 3 ? RGB(255, 255, 255) : RGB(0, 0, 0); });
  ASSERT_TRUE(canvas.LoadFromDc(blackWhite.dc(), {0, 0, 10, 1}, 1));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(canvas.PaletteAddress()), 8), PresetPalette(1));
  EXPECT_EQ(canvas.PixelAddress()[0], 0b01101101);
  EXPECT_EQ(canvas.PixelAddress()[1] & 0xC0, 0b10000000);

  // Dark red is entry 1 of the 8-bit palette; RGB(0x33,0x66,0x99) is in its
  // colour cube only, at 8 + 1 x 36 + 2 x 6 + 3.
  SourcePicture two(2, 1, [](int x, int) { return x ? RGB(0x33, 0x66, 0x99) : RGB(0x80, 0, 0); });
  ASSERT_TRUE(canvas.LoadFromDc(two.dc(), {0, 0, 2, 1}, 8));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(canvas.PaletteAddress()), 1024), PresetPalette(8));
  EXPECT_EQ(canvas.PixelAddress()[0], 1);
  EXPECT_EQ(canvas.PixelAddress()[1], 59);
}

TEST(BitmapCanvas, LoadFromDcAtSixteenBitsStoresFiveBitsPerChannel) {
  SourcePicture source(3, 1, [](int x, int) {
    const COLORREF colours[] = {RGB(255, 255, 255), RGB(255, 0, 0), RGB(0, 0, 255)};
    return colours[x];
  });
  BitmapCanvas canvas;
  ASSERT_TRUE(canvas.LoadFromDc(source.dc(), {0, 0, 3, 1}, 16));
  EXPECT_EQ(canvas.PaletteAddress(), nullptr);
  EXPECT_EQ(canvas.PaletteSize(), 0u);
  ASSERT_EQ(canvas.RowStride(), 8);
  const std::uint8_t* p = canvas.PixelAddress();
  const int expected[] = {0x7FFF, 0x7C00, 0x001F};
  for (int x = 0; x < 3; ++x) EXPECT_EQ(p[x * 2] | p[x * 2 + 1] << 8, expected[x]) << x;
}

TEST(BitmapCanvas, LoadFromDcRefusalsLeaveTheCanvasEmpty) {
  SourcePicture source(4, 4, Distinct);
  struct Case {
    RECT rect;
    int bits;
    const char* what;
  };
  const Case refused[] = {
      {{0, 0, 4, 4}, 12, "12 bits"}, {{0, 0, 4, 4}, 0, "0 bits"},     {{0, 0, 4, 4}, 2, "2 bits"},
      {{0, 0, 4, 4}, 64, "64 bits"}, {{2, 2, 2, 4}, 24, "no width"}, {{0, 3, 4, 1}, 24, "upside down"},
  };
  for (const Case& c : refused) {
    BitmapCanvas canvas;
    ASSERT_TRUE(canvas.LoadFromDc(source.dc(), {0, 0, 4, 4}, 32));
    EXPECT_FALSE(canvas.LoadFromDc(source.dc(), c.rect, c.bits)) << c.what;
    ExpectEmpty(canvas, c.what);
  }
}

TEST(BitmapCanvas, ResetEmptiesAndTheCanvasCanBeUsedAgain) {
  BitmapCanvas canvas;
  ASSERT_TRUE(canvas.DrawIcon(nullptr, 8, 8, 24));
  canvas.Reset();
  ExpectEmpty(canvas, "after reset");
  canvas.Reset();
  ExpectEmpty(canvas, "after a second reset");
  ASSERT_TRUE(canvas.DrawIcon(nullptr));
  EXPECT_EQ(canvas.ToBmpFileBytes().size(), 4150u);
}

TEST(BitmapCanvas, CreateBlankReplacesTheImageOrKeepsItOnRefusal) {
  BitmapCanvas canvas;
  ASSERT_TRUE(canvas.CreateBlank(3, 2, 8));
  EXPECT_EQ(canvas.Width(), 3);
  EXPECT_EQ(canvas.Height(), 2);
  EXPECT_EQ(canvas.PaletteSize(), 1024u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(canvas.PaletteAddress()), 1024), PresetPalette(8));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(canvas.PixelAddress()), canvas.PixelSize()), std::string(8, '\0'));
  EXPECT_EQ(canvas.ToBmpFileBytes().size(), 14u + 40 + 1024 + 8);

  EXPECT_FALSE(canvas.CreateBlank(3, 2, 12));
  EXPECT_FALSE(canvas.CreateBlank(0, 2, 8));
  EXPECT_EQ(canvas.Width(), 3) << "kept";
  EXPECT_EQ(canvas.BitsPerPixel(), 8) << "kept";
}

}  // namespace
}  // namespace tvk
