#include "shell/MainWindow.h"

#include <gtest/gtest.h>

#include "platform/ui/EditBox.h"
#include "platform/ui/Label.h"
#include "platform/ui/MessageLoop.h"
#include "platform/ui/PictureButton.h"
#include "platform/ui/ScrollBar.h"
#include "shell/HeaderPictures.h"
#include "shell/StartUp.h"
#include "shell/TrayIcon.h"
#include "shell/TrayIcon_win.h"
#include "support/TempDir.h"
#include "util/BitmapCanvas.h"
#include "util/FileIo.h"
#include "util/Shortcut.h"
#include "util/UiHooks.h"
#include "util/WideText_win.h"

namespace tvk {
namespace {

std::string WindowCaption(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return Narrow(text);
}

// Writes what the window shows into a BMP file (for people to look at).
void SaveWindowPicture(HWND window, const std::string& path) {
  RECT frame;
  GetWindowRect(window, &frame);
  RECT all{0, 0, frame.right - frame.left, frame.bottom - frame.top};
  HDC source = GetWindowDC(window);
  BitmapCanvas canvas;
  if (canvas.LoadFromDc(source, all, 24)) WriteFileBytes(path, canvas.ToBmpFileBytes());
  ReleaseDC(window, source);
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    box_.runDirectory = dir_.path();
    box_.exeName = "tvkitbox.exe";
    SetMessageBoxHook([this](const std::string& text, const std::string&, unsigned) {
      boxes_.push_back(text);
      return answer_;
    });
  }
  void TearDown() override {
    window_.reset();
    SetMessageBoxHook(nullptr);
    MSG message;  // the window's end posts a quit message
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
  MainWindow& Open() {
    window_ = std::make_unique<MainWindow>(box_);
    EXPECT_TRUE(window_->Load());
    return *window_;
  }
  template <class Condition>
  bool PollFor(Condition done) {
    for (int i = 0; i < 300 && !done(); ++i) ui::PumpWait(10);
    return done();
  }

  test::TempDir dir_;
  BoxState box_;
  std::unique_ptr<MainWindow> window_;
  std::vector<std::string> boxes_;
  int answer_ = IDCANCEL;
};

TEST_F(MainWindowTest, UnbrandedWindowShowsTheVendorsHeader) {
  MainWindow& window = Open();
  ui::Form& form = window.Form();
  EXPECT_EQ(WindowCaption(form.Window()), "Tavrel·软件盒子(TVkitbox) v1.0.9.1");
  EXPECT_TRUE(form.Find("图片加入VIP")->HasWindow());
  EXPECT_EQ(form.Find("链接506112374")->Text(), "506112374");
  auto& search = *form.FindAs<ui::EditBox>("编辑框搜索");
  EXPECT_EQ(search.Text(), kSearchPlaceholder);
  EXPECT_TRUE(search.Italic());
  EXPECT_EQ(search.TextColor(), RGB(128, 128, 128));
  EXPECT_TRUE(TrayIconInstalled());
  EXPECT_EQ(window.BrandInUse(), "Tavrel");

  // Focus clears the placeholder; leaving it empty brings it back.
  search.Focus();
  EXPECT_EQ(search.Text(), "");
  EXPECT_EQ(search.TextColor(), RGB(144, 0, 255));
  SetFocus(form.Window());
  EXPECT_EQ(search.Text(), kSearchPlaceholder);

  RedrawWindow(form.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  SaveWindowPicture(form.Window(), "main-window.bmp");
}

TEST_F(MainWindowTest, BrandingProfileRebrandsTheWindow) {
  box_.brand.brandWord = "AcTVme";
  box_.brand.contactNumber = "123456";
  box_.brand.homePageLink = "http://acme.example";
  MainWindow& window = Open();
  ui::Form& form = window.Form();
  // "Tavrel" replaced first, then every "TV" deleted (the brand word's too).
  EXPECT_EQ(WindowCaption(form.Window()), "Acme·软件盒子(kitbox) v1.0.9.1");
  auto& contact = *form.FindAs<ui::Hyperlink>("链接506112374");
  EXPECT_EQ(contact.Text(), "123456");
  EXPECT_NE(contact.Target().find("uin=123456&"), std::string::npos);
  EXPECT_EQ(form.FindAs<ui::Hyperlink>("链接软件主页")->Target(), "http://acme.example");
  EXPECT_FALSE(form.Find("图片加入VIP")->Visible());
  EXPECT_FALSE(form.Find("链接加入VIP")->Visible());
  // Without a header picture in the profile the brand picture is hidden.
  EXPECT_FALSE(form.Find("图片Tavrel软件")->Visible());
  EXPECT_EQ(window.BrandInUse(), "AcTVme");
}

TEST_F(MainWindowTest, BrandPicturesReplaceTheHeaderPicture) {
  box_.brand.brandWord = "Acme";
  box_.brand.normalPicture = HeaderPicture("Acme", false);
  box_.brand.hotPicture = HeaderPicture("Acme", true);
  MainWindow& window = Open();
  auto& picture = *window.Form().FindAs<ui::PictureButton>("图片Tavrel软件");
  EXPECT_TRUE(picture.Visible());
  EXPECT_EQ(picture.NormalPicture(), box_.brand.normalPicture);
  EXPECT_EQ(picture.HotPicture(), box_.brand.hotPicture);
}

TEST_F(MainWindowTest, BrandPictureSwingsOnItsTimer) {
  MainWindow& window = Open();
  ui::Control& picture = *window.Form().Find("图片Tavrel软件");
  int start = picture.Left();
  EXPECT_TRUE(PollFor([&] { return picture.Left() > start + 3; }));
}

TEST_F(MainWindowTest, TrayIconTogglesAndQuits) {
  MainWindow& window = Open();
  HWND main = window.Form().Window();
  SendMessageW(main, kTrayCallbackMessage, 0, WM_LBUTTONDOWN);
  EXPECT_FALSE(IsWindowVisible(main));
  SendMessageW(main, kTrayCallbackMessage, 0, WM_LBUTTONDOWN);
  EXPECT_TRUE(IsWindowVisible(main));

  answer_ = IDCANCEL;
  SendMessageW(main, kTrayCallbackMessage, 0, WM_RBUTTONUP);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0], "确实要退出《Tavrel·软件盒子》吗？");
  EXPECT_TRUE(TrayIconInstalled());

  answer_ = IDOK;
  SendMessageW(main, kTrayCallbackMessage, 0, WM_RBUTTONUP);
  EXPECT_FALSE(TrayIconInstalled());
  MSG quit;
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(MainWindowTest, ClosingDeletesTheUnrarLibraryWithoutAsking) {
  std::string library = dir_.File("unrar.dll");
  MainWindow& window = Open();
  ASSERT_TRUE(WriteFileBytes(library, "library"));
  window.Form().Close();
  EXPECT_FALSE(FileExists(library));
  EXPECT_EQ(window.Form().Window(), nullptr);
  EXPECT_FALSE(TrayIconInstalled());
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(MainWindowTest, RowAreaFollowsTheWindowAndTheWheel) {
  MainWindow& window = Open();
  ui::Form& form = window.Form();
  ui::Control& frame = *form.Find("图片框边界");
  // Before the rows exist the content fits: no bars, the frame fills the window.
  EXPECT_EQ(frame.Width(), form.ClientWidth());
  EXPECT_EQ(frame.Top() + frame.Height(), form.ClientHeight());
  EXPECT_FALSE(form.Find("纵向滚动条")->Visible());
  EXPECT_EQ(form.Find("图片框底座")->Width(), form.ClientWidth());

  window.SetRows(300, 8 + 300 * 26);
  window.LayoutRowArea();
  auto& bar = *form.FindAs<ui::ScrollBar>("纵向滚动条");
  EXPECT_TRUE(bar.Visible());
  // A notch toward the user moves the rows up by 100 / (300 / 3) = 1 position.
  SendMessageW(form.Find("图片框容器")->Window(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(bar.Position(), 1);
  EXPECT_LT(form.Find("图片框容器")->Top(), 0);
  for (int i = 0; i < 150; ++i) window.ScrollByWheel(-1);
  EXPECT_EQ(bar.Position(), 100);
  window.ScrollByWheel(+1);
  EXPECT_EQ(bar.Position(), 99);
}

TEST_F(MainWindowTest, LaunchArgumentFileIsDeletedByTheTimer) {
  box_.launchArgument = dir_.File("old-box.exe");
  ASSERT_TRUE(WriteFileBytes(box_.launchArgument, "old"));
  std::string file = box_.launchArgument;
  Open();
  EXPECT_TRUE(PollFor([&] { return !FileExists(file) && box_.launchArgument.empty(); }));
}

TEST(StartUp, CommandLineShortcutBrandAndSettingsFile) {
  test::TempDir dir;
  BoxState box;
  StartUp(box, dir.path(), "tvkitbox.exe", {"lxms"});
  EXPECT_TRUE(box.offlineMode);
  EXPECT_FALSE(FileExists(dir.File("离线模式启动盒子.lnk")));  // offline: the shortcut is left alone
  EXPECT_TRUE(FileExists(dir.File("Tavrel·软件盒子.ini")));

  BoxState moved;
  StartUp(moved, dir.path(), "tvkitbox.exe", {"C:\\old\\box.exe", "lxms"});
  EXPECT_FALSE(moved.offlineMode);
  EXPECT_EQ(moved.launchArgument, "C:\\old\\box.exe");
  EXPECT_EQ(ReadShortcutTarget(dir.File("离线模式启动盒子.lnk")), dir.File("tvkitbox.exe"));

  test::TempDir branded;
  BrandProfile profile;
  profile.brandWord = "Acme";
  ASSERT_TRUE(WriteFileBytes(branded.File("tavrel.rc"), EncodeBrandProfile(profile)));
  BoxState reseller;
  StartUp(reseller, branded.path(), "tvkitbox.exe", {});
  EXPECT_EQ(reseller.applicationName, "Acme·软件盒子");
  EXPECT_TRUE(FileExists(branded.File("Acme·软件盒子.ini")));
  reseller.settings.SelectSection("基本配置");
  reseller.settings.SetBool("非首次使用", true);
  EXPECT_EQ(ReadFileBytes(branded.File("Acme·软件盒子.ini")), "[基本配置]\r\n非首次使用=真");
}

}  // namespace
}  // namespace tvk
