#include "platform/ui/FormState.h"

#include <gtest/gtest.h>

#include "catalogue/TextWindowForm.h"
#include "config/IniStore.h"
#include "platform/ui/Button.h"
#include "platform/ui/EditBox.h"
#include "support/TempDir.h"

namespace tvk::ui {
namespace {

TEST(FormState, ToolkitControlsAreSavedAndRestoredByName) {
  test::TempDir dir;
  IniStore store;
  ASSERT_TRUE(store.OpenAs(dir.File("状态.ini"), IniStore::Storage::File));
  Form form("窗口", "状态", {40, 40, 400, 300});
  auto& name = form.Add<EditBox>(nullptr, "编辑框名字", {10, 10, 200, 24});
  auto& kept = form.Add<EditBox>(nullptr, "编辑框不存", {10, 40, 200, 24});
  kept.SetTag("禁止保存");
  auto& button = form.Add<Button>(nullptr, "按钮甲", {10, 70, 80, 24});
  button.SetTag("标记一");
  ASSERT_TRUE(form.Load());
  name.SetText("软件盒子");
  kept.SetText("原样");

  std::vector<PersistedControl> controls = PersistedControlsOf(form);
  PersistControls(store, controls, false, "窗口");
  EXPECT_EQ(store.ReadValue("窗口", "编辑框名字"), "软件盒子");
  EXPECT_EQ(store.ReadValue("窗口", "按钮甲.标记"), "标记一");

  name.SetText("改过");
  kept.SetText("改过");
  button.SetTag("别的");
  controls = PersistedControlsOf(form);
  PersistControls(store, controls, true, "窗口");
  TakeBackTags(form, controls);
  EXPECT_EQ(name.Text(), "软件盒子");
  EXPECT_EQ(kept.Text(), "改过");
  EXPECT_EQ(button.Tag(), "标记一");

  // The window's place and size round-trip through the same store.
  SaveWindowPlacement(store, form.Window(), "窗口");
  form.Move(100, 120, 420, 310);
  RestoreWindowPlacement(store, form.Window(), "窗口");
  RECT frame;
  GetWindowRect(form.Window(), &frame);
  EXPECT_EQ(frame.left, 40);
  EXPECT_EQ(frame.right - frame.left, 400);
  form.Destroy();
}

TEST(TextWindowForm, HasItsControlsWithImportButtonsHidden) {
  std::unique_ptr<Form> form = BuildTextWindowForm();
  ASSERT_TRUE(form->Load(nullptr, false));
  struct Expected {
    const char* name;
    Bounds bounds;
    const char* caption;
    bool visible;
  };
  const Expected expected[] = {
      {"编辑框提示", {13, 8, 395, 33}, "", true},   {"编辑框正文", {5, 56, 411, 168}, "", true},
      {"外形框", {8, 320, 336, 34}, "", true},      {"按钮恢复", {2, 4, 64, 24}, "恢复", true},
      {"按钮清空", {68, 4, 64, 24}, "清空", true},  {"按钮粘贴", {134, 4, 64, 24}, "粘贴", true},
      {"按钮文件", {200, 4, 64, 24}, "内容", false}, {"按钮文件名", {266, 4, 64, 24}, "文件名", false},
      {"按钮确定", {350, 325, 64, 24}, "确定", true}, {"按钮取消", {418, 325, 64, 24}, "取消", true},
  };
  for (const Expected& e : expected) {
    Control* control = form->Find(e.name);
    ASSERT_NE(control, nullptr) << e.name;
    EXPECT_EQ(control->Geometry(), e.bounds) << e.name;
    EXPECT_EQ(control->Text(), e.caption) << e.name;
    EXPECT_EQ(control->Visible(), e.visible) << e.name;
    EXPECT_EQ(control->HasWindow(), e.visible) << e.name;
  }
  EXPECT_EQ(form->Find("按钮恢复")->Parent(), form->Find("外形框"));
  form->Destroy();
}

}  // namespace
}  // namespace tvk::ui
