#include "shell/MainWindow.h"

#include <commctrl.h>

#include "platform/ui/EditBox.h"
#include "platform/ui/Label.h"
#include "platform/ui/PictureButton.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/Timer.h"
#include "platform/ui/TreeView.h"
#include "shell/CarriedFiles.h"
#include "shell/MainWindowForm.h"
#include "shell/TrayIcon_win.h"
#include "util/FileIo.h"

namespace tvk {

namespace {
constexpr COLORREF kPlaceholderColor = RGB(128, 128, 128);
constexpr COLORREF kQueryColor = RGB(144, 0, 255);
constexpr DWORD kTrackSelectStyle = 0x200;  // TVS_TRACKSELECT
}  // namespace

MainWindow::MainWindow(BoxState& box) : box_(box), form_(BuildMainWindowForm()) {
  ui::FormHandlers& on = form_->BindForm();
  on.created = [this] { OnCreated(); };
  on.canClose = [this] { return OnClosing(); };
  on.destroyed = [] { PostQuitMessage(0); };
  on.sizeChanged = [this] { LayoutRowArea(); };
  form_->Find("横向滚动条")->Bind().scrolled = [this](ui::Control&) { panel_.Scroll(ScrollPanel::kHorizontal); };
  form_->Find("纵向滚动条")->Bind().scrolled = [this](ui::Control&) { panel_.Scroll(ScrollPanel::kVertical); };
  form_->Find("图片框容器")->Bind().wheel = [this](ui::Control&, int steps, int) { ScrollByWheel(steps); };
  form_->Find("时钟官网")->Bind().timer = [this](ui::Control&) { SwingBrandPicture(); };
  form_->Find("时钟2")->Bind().timer = [this](ui::Control&) { DeleteLaunchArgument(); };
  auto& search = *form_->Find("编辑框搜索");
  search.Bind().gotFocus = [this](ui::Control&) { SearchBoxGotFocus(); };
  search.Bind().lostFocus = [this](ui::Control&) { SearchBoxLostFocus(); };
  swing_.left = form_->Find("图片Tavrel软件")->Left();
}

MainWindow::~MainWindow() { RemoveTrayIcon(); }

bool MainWindow::Load() { return form_->Load(); }

std::string MainWindow::BrandInUse() const { return tvk::BrandInUse(box_.brand); }

std::string MainWindow::UnrarLibraryPath() const { return box_.runDirectory + "\\unrar.dll"; }

void MainWindow::OnCreated() {
  ApplyBrandProfile();
  auto& search = *form_->FindAs<ui::EditBox>("编辑框搜索");
  search.SetFont({"宋体", 24, false, GB2312_CHARSET});
  search.SetBold(true);
  // The UnRAR library goes next to the box for the archive extraction.
  WriteCarriedFile(kCarriedUnrarLibrary, UnrarLibraryPath());
  AddTrayIcon(form_->Window(), TrayTipText(box_.applicationName, BrandInUse()),
              [this](UINT message) { OnTrayMouse(message); });
  panel_.Bind(*form_->Find("图片框边界"), *form_->Find("图片框容器"), *form_->FindAs<ui::ScrollBar>("横向滚动条"),
              *form_->FindAs<ui::ScrollBar>("纵向滚动条"), true);
  LayoutRowArea();
  SearchBoxLostFocus();
  // The result list highlights the item under the mouse.
  if (HWND tree = form_->Find("树型框")->Window()) {
    LONG style = GetWindowLongW(tree, GWL_STYLE);
    if (!(style & kTrackSelectStyle)) SetWindowLongW(tree, GWL_STYLE, style | kTrackSelectStyle);
  }
}

bool MainWindow::OnClosing() {
  DeleteFileAt(UnrarLibraryPath());
  return true;
}

void MainWindow::ApplyBrandProfile() {
  const BrandProfile& brand = box_.brand;
  if (brand.brandWord.empty()) return;
  form_->SetCaption(BrandedCaption(form_->Caption(), brand.brandWord));
  auto& contact = *form_->FindAs<ui::Hyperlink>("链接506112374");
  contact.SetText(BrandedContactText(contact.Text(), brand.contactNumber));
  contact.SetTarget(BrandedContactText(contact.Target(), brand.contactNumber));
  form_->FindAs<ui::Hyperlink>("链接软件主页")->SetTarget(brand.homePageLink);
  auto& picture = *form_->FindAs<ui::PictureButton>("图片Tavrel软件");
  picture.SetNormalPicture(brand.normalPicture);
  picture.SetHotPicture(brand.hotPicture);
  if (picture.NormalPicture().empty()) picture.SetVisible(false);
  form_->Find("图片加入VIP")->SetVisible(false);
  form_->Find("链接加入VIP")->SetVisible(false);
}

void MainWindow::SetRows(int count, int rowsBottom) {
  rowCount_ = count;
  rowsBottom_ = rowsBottom;
}

void MainWindow::LayoutRowArea() {
  if (!panel_.IsBound() || !form_->Window()) return;
  ui::Control& tutorial = *form_->Find("控件教程");
  ui::Control& frame = *form_->Find("图片框边界");
  panel_.SetContentSize(tutorial.Left() + tutorial.Width() + 10, rowsBottom_ + 10, 100);
  int width = form_->ClientWidth(), height = form_->ClientHeight();
  panel_.SetFrame(0, frame.Top(), width, height - frame.Top());
  form_->Find("图片框加载中")->Move(0, 0, frame.Width(), frame.Height() + 2);
  ui::Control& header = *form_->Find("图片框底座");
  header.Move(0, 0, width, header.Height());
  ui::Control& separator = *form_->Find("标签分隔条");
  separator.Move(0, header.Height(), width, separator.Height());
}

void MainWindow::ScrollByWheel(int direction) {
  form_->Find("树型框")->SetVisible(false);
  if (rowCount_ <= 0) return;  // no rows yet: nothing to scroll (and no division by zero)
  auto& bar = *form_->FindAs<ui::ScrollBar>("纵向滚动条");
  double step = 100.0 / (rowCount_ / 3.0) * direction;
  int position = static_cast<int>(bar.Position() - step);
  bar.SetPosition(position > 100 ? 100 : position);
  panel_.Scroll(ScrollPanel::kVertical);
}

void MainWindow::OnTrayMouse(unsigned mouseMessage) {
  tvk::OnTrayMouse(mouseMessage, form_->Window(), BrandInUse(), [this] { ExitBox(); });
}

void MainWindow::ExitBox() {
  RemoveTrayIcon();
  PostQuitMessage(0);
}

void MainWindow::SwingBrandPicture() {
  ui::Control& picture = *form_->Find("图片Tavrel软件");
  ui::Control& vip = *form_->Find("图片加入VIP");
  ui::Control& home = *form_->Find("图片软件主页");
  BrandSwingLimits limits{picture.Width(), form_->Find("按钮一键下载")->Left(), vip.Visible(), vip.Left() + vip.Width(),
                          home.Left() + home.Width()};
  swing_.left = picture.Left();
  swing_ = StepBrandSwing(swing_, limits);
  picture.SetLeft(swing_.left);
}

void MainWindow::DeleteLaunchArgument() {
  if (!DeleteLaunchArgumentTick(box_.launchArgument)) form_->FindAs<ui::Timer>("时钟2")->SetPeriod(0);
}

void MainWindow::SearchBoxGotFocus() {
  auto& search = *form_->FindAs<ui::EditBox>("编辑框搜索");
  if (search.Text() == kSearchPlaceholder) search.SetText("");
  search.SetItalic(false);
  search.SetTextColor(kQueryColor);
}

void MainWindow::SearchBoxLostFocus() {
  auto& search = *form_->FindAs<ui::EditBox>("编辑框搜索");
  std::string text = search.Text();
  if (text.empty() || text == kSearchPlaceholder) {
    search.SetItalic(true);
    search.SetTextColor(kPlaceholderColor);
    search.SetText(kSearchPlaceholder);
  }
  form_->Find("树型框")->SetVisible(false);
}

}  // namespace tvk
