#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/TempDir.h"
#include "util/FileIcon.h"
#include "util/FileIo.h"
#include "util/ScopedWin_win.h"
#include "util/WideText_win.h"

namespace tvk {
namespace {

std::string Fixture(const char* name) { return std::string(TVK_FIXTURES_DIR) + "\\" + name; }

struct Bgr {
  int blue, green, red;
  bool operator==(const Bgr&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Bgr& c) {
  return out << "(b " << c.blue << ", g " << c.green << ", r " << c.red << ")";
}

const Bgr kBackground = {0xF5, 0xF5, 0xF5};

// Colour channels of pixel (x, y), from the top left, of a 32 x 32, 32-bit
// BMP file with no palette (rows bottom row first).
Bgr PixelAt(const std::string& bmp, int x, int y) {
  const std::size_t at = 54 + static_cast<std::size_t>(31 - y) * 128 + static_cast<std::size_t>(x) * 4;
  return {static_cast<unsigned char>(bmp.at(at)), static_cast<unsigned char>(bmp.at(at + 1)),
          static_cast<unsigned char>(bmp.at(at + 2))};
}

// The file and picture headers of a 32 x 32, 32-bit picture.
std::string ExpectedHeaders() {
  std::string h = "BM";
  h += std::string("\x36\x10\0\0" "\0\0\0\0" "\x36\0\0\0", 12);        // size 4150, reserved, offset 54
  h += std::string("\x28\0\0\0" "\x20\0\0\0" "\x20\0\0\0" "\x01\0\x20\0", 16);  // 40, 32, 32, 1 plane, 32 bits
  h += std::string(24, '\0');                                          // no compression, sizes, colours
  return h;
}

// The icon of icon_quadrants.exe seen upright: the top half transparent, the
// bottom half opaque, RGB(0x20,0x40,0x80) on the left and white on the right.
void ExpectQuadrantsPicture(const std::string& bmp) {
  ASSERT_EQ(bmp.size(), 4150u);
  EXPECT_EQ(bmp.substr(0, 54), ExpectedHeaders());
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const Bgr want = y < 16 ? kBackground : x < 16 ? Bgr{0x80, 0x40, 0x20} : kBackground;
      ASSERT_EQ(PixelAt(bmp, x, y), want) << x << ", " << y;
    }
  }
}

// Windows maps the extension .exe to the class "exefile", whose default icon
// "%1" is the program's own first icon. A fresh Wine prefix lacks the mapping
// and shows every program with the generic document icon, so the tests that
// look at a program's icon supply it while they run, unless it is there.
class ExeClassMapping {
 public:
  ExeClassMapping() {
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, L".exe", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                        key_.out(), &disposition) != ERROR_SUCCESS)
      return;
    createdKey_ = disposition == REG_CREATED_NEW_KEY;
    if (RegQueryValueExW(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) return;
    const wchar_t kClass[] = L"exefile";
    addedValue_ = RegSetValueExW(key_.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kClass),
                                 sizeof kClass) == ERROR_SUCCESS;
  }
  ~ExeClassMapping() {
    if (createdKey_) {
      RegDeleteKeyW(HKEY_CLASSES_ROOT, L".exe");
    } else if (addedValue_) {
      RegDeleteValueW(key_.get(), nullptr);
    }
  }
  ExeClassMapping(const ExeClassMapping&) = delete;
  ExeClassMapping& operator=(const ExeClassMapping&) = delete;

 private:
  ScopedRegKey key_;
  bool createdKey_ = false;
  bool addedValue_ = false;
};

TEST(FileIconBmp, ShowsTheShellIconWithWhiteTurnedIntoTheRowBackground) {
  ExeClassMapping mapping;
  const std::string exe = Fixture("icon_quadrants.exe");
  ASSERT_TRUE(FileExists(exe)) << exe;
  const std::string bmp = FileIconBmp(exe);
  ExpectQuadrantsPicture(bmp);
  EXPECT_EQ(bmp.find(std::string(3, '\xFF')), std::string::npos) << "no white is left";
}

TEST(FileIconBmp, ReadsAPathWithChineseCharacters) {
  ExeClassMapping mapping;
  test::TempDir dir;
  const std::string exe = dir.File("图标程序.exe");
  ASSERT_TRUE(CopyFileW(Widen(Fixture("icon_quadrants.exe")).c_str(), Widen(exe).c_str(), TRUE));
  ExpectQuadrantsPicture(FileIconBmp(exe));
}

TEST(FileIconBmp, AMissingFileGivesThePictureInTheBackgroundColour) {
  test::TempDir dir;
  const std::string bmp = FileIconBmp(dir.File("软件\\软件.exe"));
  ASSERT_EQ(bmp.size(), 4150u);
  EXPECT_EQ(bmp.substr(0, 54), ExpectedHeaders());
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(PixelAt(bmp, x, y), kBackground) << x << ", " << y;
}

}  // namespace
}  // namespace tvk
