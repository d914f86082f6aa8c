#include "shell/MainWindowForm.h"

#include "platform/ui/Button.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/Label.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/PictureButton.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/Timer.h"
#include "platform/ui/TreeView.h"
#include "shell/HeaderPictures.h"
#include "VendorEndpoints.h"

namespace tvk {

namespace {

using ui::Bounds;
using ui::ControlKind;

constexpr int kScrollBarThickness = 17;

// A header picture button with its link underneath.
void AddHeaderLink(ui::Form& form, ui::Control* header, const char* picture, const char* link, const char* caption,
                   int left, std::string target) {
  auto& button = form.Add<ui::PictureButton>(header, picture, Bounds{left, 0, 64, 64});
  button.SetNormalPicture(HeaderPicture(caption, false));
  button.SetHotPicture(HeaderPicture(caption, true));
  auto& hyperlink = form.Add<ui::Hyperlink>(header, link, Bounds{left, 64, 64, 24});
  hyperlink.SetText(caption);
  hyperlink.SetBackColor(RGB(255, 255, 255));
  hyperlink.SetTarget(std::move(target));
}

void AddRowTemplates(ui::Form& form, ui::Control* content) {
  auto& icon = form.Add<ui::PictureBox>(content, "控件图标", Bounds{8, 8, 26, 26});
  icon.SetBackColor(kRowBackground);
  icon.SetHandCursor(true);
  icon.SetPicture(DefaultIconPicture());
  auto& name = form.Add<ui::Label>(content, "控件名称", Bounds{40, 8, 344, 26});
  name.SetHandCursor(true);
  name.SetText("软件名称");
  name.SetBackColor(kRowBackground);
  name.SetTextColor(RGB(0, 0, 255));
  name.SetFont({"新宋体", 15, true, GB2312_CHARSET});
  form.Add<ui::Button>(content, "控件下载点击", Bounds{392, 8, 176, 26}).SetText("下载软件");
  form.Add<ui::Button>(content, "控件删除", Bounds{584, 8, 104, 26}).SetText("删除软件");
  form.Add<ui::Button>(content, "控件教程", Bounds{712, 8, 104, 26}).SetText("观看教程");
  form.Add<ui::ProgressBar>(content, "控件下载进度", Bounds{579, 8, 357, 26});
  form.Add<ui::Label>(content, "控件下载提示", Bounds{591, 8, 329, 26}, ControlKind::TransparentLabel)
      .SetText("正在下载中..");
  // Templates are patterns for the rows and are never shown themselves.
  for (const char* pattern : {"控件图标", "控件名称", "控件下载点击", "控件删除", "控件教程", "控件下载进度", "控件下载提示"})
    form.Find(pattern)->SetVisible(false);
}

}  // namespace

std::unique_ptr<ui::Form> BuildMainWindowForm() {
  auto form = std::make_unique<ui::Form>("窗口", kMainWindowCaption, Bounds{50, 50, 964, 700});
  ui::Form& f = *form;
  std::string site = kVendorSite;

  // Header strip.
  auto& header = f.Add<ui::PictureBox>(nullptr, "图片框底座", Bounds{0, 0, 1088, 88});
  header.SetBackColor(RGB(255, 255, 255));
  AddHeaderLink(f, &header, "图片疑点说明", "链接疑点说明", "疑点说明", 16, "");
  AddHeaderLink(f, &header, "图片506112374", "链接506112374", "506112374", 104,
                "http://wpa.qq.com/msgrd?v=3&uin=506112374&site=qq&menu=yes");
  AddHeaderLink(f, &header, "图片软件主页", "链接软件主页", "软件主页", 192, site + "info.asp?id=155");
  AddHeaderLink(f, &header, "图片加入VIP", "链接加入VIP", "加入VIP", 280, site + "info.asp?id=84");
  auto& brand = f.Add<ui::PictureButton>(&header, "图片Tavrel软件", Bounds{384, 12, 195, 64});
  brand.SetNormalPicture(BrandPicture(false));
  brand.SetHotPicture(BrandPicture(true));
  f.Add<ui::Button>(&header, "按钮一键下载", Bounds{616, 8, 320, 36}).SetText("一键下载全部软件");
  f.Add<ui::EditBox>(&header, "编辑框搜索", Bounds{616, 46, 320, 36});

  auto& separator = f.Add<ui::Label>(nullptr, "标签分隔条", Bounds{0, 88, 2000, 2});
  separator.SetBackColor(RGB(200, 200, 200));

  // Row area: the frame clips the content, which holds the rows.
  auto& frame = f.Add<ui::PictureBox>(nullptr, "图片框边界", Bounds{0, 90, 952, 390});
  frame.SetBackColor(kRowBackground);
  auto& content = f.Add<ui::PictureBox>(&frame, "图片框容器", Bounds{0, 0, 935, 373});
  content.SetBackColor(kRowBackground);
  AddRowTemplates(f, &content);
  auto& loading = f.Add<ui::PictureBox>(&content, "图片框加载中", Bounds{16, 54, 664, 200});
  loading.SetBackColor(kRowBackground);
  f.Add<ui::Label>(&loading, "标签1", Bounds{200, 90, 300, 24}).SetText("正在加载远程配置文件...");
  f.Find("标签1")->SetVisible(true);
  static_cast<ui::Label*>(f.Find("标签1"))->SetBackColor(kRowBackground);
  f.Add<ui::ScrollBar>(&frame, "横向滚动条", Bounds{0, 390 - kScrollBarThickness, 935, kScrollBarThickness}, false);
  f.Add<ui::ScrollBar>(&frame, "纵向滚动条", Bounds{952 - kScrollBarThickness, 0, kScrollBarThickness, 373}, true);
  f.Add<ui::Timer>(&frame, "时钟3", Bounds{}, 0);

  // Search result popup, above the rows.
  auto& popup = f.Add<ui::TreeView>(nullptr, "树型框", Bounds{616, 88, 320, 576});
  popup.SetVisible(false);

  f.Add<ui::Timer>(nullptr, "时钟官网", Bounds{}, 20);
  f.Add<ui::Timer>(nullptr, "时钟2", Bounds{}, 1000);
  f.Add<ui::Timer>(nullptr, "时钟下载", Bounds{}, 0);
  return form;
}

}  // namespace tvk
