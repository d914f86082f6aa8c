#include "catalogue/TextWindowForm.h"

#include "platform/ui/Button.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/PictureBox.h"

namespace tvk {

std::unique_ptr<ui::Form> BuildTextWindowForm() {
  auto form = std::make_unique<ui::Form>("文本窗口", "", ui::Bounds{0, 0, 495, 393});
  ui::Form& f = *form;
  auto& prompt = f.Add<ui::EditBox>(nullptr, "编辑框提示", ui::Bounds{13, 8, 395, 33}, true);
  prompt.SetReadOnly(true);
  f.Add<ui::EditBox>(nullptr, "编辑框正文", ui::Bounds{5, 56, 411, 168}, true);
  auto& frame = f.Add<ui::PictureBox>(nullptr, "外形框", ui::Bounds{8, 320, 336, 34}, ui::ControlKind::Frame);
  struct SmallButton {
    const char* name;
    const char* caption;
  };
  const SmallButton buttons[] = {
      {"按钮恢复", "恢复"}, {"按钮清空", "清空"}, {"按钮粘贴", "粘贴"}, {"按钮文件", "内容"}, {"按钮文件名", "文件名"}};
  int left = 2;
  for (const SmallButton& b : buttons) {
    f.Add<ui::Button>(&frame, b.name, ui::Bounds{left, 4, 64, 24}).SetText(b.caption);
    left += 66;
  }
  // The two import buttons show only when asked for.
  f.Find("按钮文件")->SetVisible(false);
  f.Find("按钮文件名")->SetVisible(false);
  f.Add<ui::Button>(nullptr, "按钮确定", ui::Bounds{350, 325, 64, 24}).SetText("确定");
  f.Add<ui::Button>(nullptr, "按钮取消", ui::Bounds{418, 325, 64, 24}).SetText("取消");
  return form;
}

}  // namespace tvk
