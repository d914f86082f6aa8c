#include "platform/ui/Picture.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ui/Form.h"
#include "platform/ui/PictureBox.h"
#include "util/FileIo.h"

namespace tvk::ui {
namespace {

COLORREF PixelOf(const Picture& picture, int x, int y) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, picture.Bitmap());
  COLORREF color = GetPixel(memory, x, y);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return color;
}

bool Near(int a, int b) { return std::abs(a - b) <= 6; }  // JPEG is lossy

TEST(Picture, DecodesEveryFormatAResellerMayUse) {
  for (const char* format : {"png", "gif", "jpg", "bmp"}) {
    std::string bytes = ReadFileBytes(std::string("fixtures\\picture.") + format);
    ASSERT_FALSE(bytes.empty()) << format;
    Picture picture;
    ASSERT_TRUE(picture.Load(bytes)) << format;
    EXPECT_EQ(picture.Width(), 3) << format;
    EXPECT_EQ(picture.Height(), 2) << format;
    COLORREF color = PixelOf(picture, 2, 1);
    EXPECT_TRUE(Near(GetRValue(color), 0x1E) && Near(GetGValue(color), 0x88) && Near(GetBValue(color), 0xE5))
        << format << " " << std::hex << color;
  }
  Picture broken;
  EXPECT_FALSE(broken.Load("not a picture at all"));
  EXPECT_TRUE(broken.Empty());
  EXPECT_FALSE(broken.Load(""));
}

TEST(Picture, PictureBoxShowsItsBytesOnlyWhileItHasAWindow) {
  Form form("窗口", "图片", {30, 30, 200, 150});
  auto& box = form.Add<PictureBox>(nullptr, "图片框", {10, 10, 64, 64});
  box.SetPicture(ReadFileBytes("fixtures\\picture.png"));
  EXPECT_FALSE(box.PictureShown());
  ASSERT_TRUE(form.Load());
  EXPECT_TRUE(box.PictureShown());
  Control& clone = form.Clone(box);
  EXPECT_EQ(static_cast<PictureBox&>(clone).PictureBytes(), box.PictureBytes());
  box.SetVisible(false);
  EXPECT_FALSE(box.PictureShown());
  EXPECT_FALSE(box.PictureBytes().empty());
  form.Destroy();
}

TEST(FormEvents, WheelReportsNotchesWithTheirDirection) {
  Form form("窗口", "滚轮", {30, 30, 300, 200});
  auto& box = form.Add<PictureBox>(nullptr, "图片框容器", {0, 0, 200, 150});
  std::vector<int> steps;
  box.Bind().wheel = [&](Control&, int step, int) { steps.push_back(step); };
  ASSERT_TRUE(form.Load());
  SendMessageW(box.Window(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  SendMessageW(box.Window(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(steps, (std::vector<int>{1, -1}));
  form.Destroy();
}

}  // namespace
}  // namespace tvk::ui
