#include "platform/ui/Form.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/ui/Button.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/Label.h"
#include "platform/ui/MessageLoop.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/Timer.h"
#include "util/UiHooks.h"

namespace tvk::ui {
namespace {

int CountWindows(const Form& form) {
  int count = 0;
  for (const auto& control : form.Controls()) count += control->HasWindow();
  return count;
}

void SetKeysDown(std::initializer_list<int> keys) {
  BYTE state[256] = {};
  for (int key : keys) state[key] = 0x80;
  SetKeyboardState(state);
}

// A form with a frame, a content box inside it and the row templates of a
// catalogue view, built the way the main window builds its rows.
class RowsForm : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = &form_.Add<PictureBox>(nullptr, "图片框边界", {0, 90, 600, 300});
    content_ = &form_.Add<PictureBox>(frame_, "图片框容器", {0, 0, 580, 280});
    name_ = &form_.Add<Label>(content_, "控件名称", {40, 8, 344, 26});
    action_ = &form_.Add<Button>(content_, "控件下载点击", {392, 8, 176, 26});
    progress_ = &form_.Add<ProgressBar>(content_, "控件下载进度", {379, 8, 200, 26});
    hint_ = &form_.Add<Label>(content_, "控件下载提示", {391, 8, 100, 26}, ControlKind::TransparentLabel);
    for (Control* c : {static_cast<Control*>(name_), static_cast<Control*>(action_),
                       static_cast<Control*>(progress_), static_cast<Control*>(hint_)})
      c->SetVisible(false);
    ASSERT_TRUE(form_.Load(nullptr, true));
  }
  void TearDown() override { form_.Destroy(); }

  // Clones the name label and the action button for rows 1..n.
  void BuildRows(int rows) {
    for (int i = 1; i <= rows; ++i) {
      Control& label = form_.Clone(*name_);
      label.SetTop(name_->Top() + (i - 1) * 26);
      label.SetText("Tavrel·软件" + std::to_string(i));
      label.SetTag(std::to_string(i));
      label.SetVisible(true);
      Control& button = form_.Clone(*action_);
      button.SetTop(action_->Top() + (i - 1) * 26);
      button.SetTag(std::to_string(i));
      button.SetVisible(true);
      rows_.push_back({&label, &button});
    }
    content_->SetHeight(8 + rows * 26 + 10);
  }

  Form form_{"窗口", "测试窗口", {50, 50, 700, 500}};
  PictureBox* frame_ = nullptr;
  PictureBox* content_ = nullptr;
  Label* name_ = nullptr;
  Button* action_ = nullptr;
  ProgressBar* progress_ = nullptr;
  Label* hint_ = nullptr;
  struct Row {
    Control* label;
    Control* button;
  };
  std::vector<Row> rows_;
};

TEST_F(RowsForm, TenThousandRowsKeepWindowsOnlyForWhatIsShown) {
  BuildRows(10000);
  ASSERT_EQ(rows_.size(), 10000u);
  // Every row is a full record: tag, geometry, text.
  EXPECT_EQ(rows_[9999].label->Tag(), "10000");
  EXPECT_EQ(rows_[9999].label->Top(), 8 + 9999 * 26);
  EXPECT_EQ(rows_[9999].button->Left(), 392);
  EXPECT_EQ(rows_[9999].label->Text(), "Tavrel·软件10000");
  // Only the rows inside the frame have windows.
  EXPECT_TRUE(rows_[0].label->HasWindow());
  EXPECT_FALSE(rows_[9999].label->HasWindow());
  EXPECT_LT(CountWindows(form_), 60);

  // Scroll far past window coordinates: the content moves up by 200,000 pixels.
  int row = 7700;  // its top is 8 + 7699 * 26 = 200,182
  content_->SetTop(-200000);
  Control& label = *rows_[row - 1].label;
  ASSERT_TRUE(label.HasWindow());
  RECT shown;
  GetWindowRect(label.Window(), &shown);
  RECT frame;
  GetWindowRect(frame_->Window(), &frame);
  EXPECT_EQ(shown.top - frame.top, 8 + (row - 1) * 26 - 200000);
  EXPECT_FALSE(rows_[0].label->HasWindow());
  EXPECT_LT(CountWindows(form_), 60);
}

TEST_F(RowsForm, ClonesShareTheTemplatesHandlersAndReportTheirSource) {
  std::vector<std::string> clickedTags;
  action_->Bind().clicked = [&](Control& source) {
    EXPECT_EQ(form_.EventSource(), &source);
    clickedTags.push_back(source.Tag());
  };
  BuildRows(5);
  // A handler bound after cloning reaches the clones too.
  std::string pressed;
  name_->Bind().mouseDown = [&](Control& source, const MouseEvent& event) {
    pressed = source.Tag() + (event.button == MouseButton::Right ? " right" : " left") + " keys " +
              std::to_string(event.keys);
  };

  SendMessageW(rows_[2].button->Window(), BM_CLICK, 0, 0);
  SendMessageW(rows_[4].button->Window(), BM_CLICK, 0, 0);
  EXPECT_EQ(clickedTags, (std::vector<std::string>{"3", "5"}));

  SetKeysDown({VK_CONTROL, VK_MENU});
  SendMessageW(rows_[1].label->Window(), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(5, 5));
  EXPECT_EQ(pressed, "2 left keys 5");
  SetKeysDown({VK_SHIFT});
  SendMessageW(rows_[3].label->Window(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(pressed, "4 right keys 2");
  SetKeysDown({});
  EXPECT_EQ(form_.EventSource(), nullptr);
}

TEST_F(RowsForm, ReparentingMovesTheWindowUnderTheNewParent) {
  progress_->SetVisible(true);
  hint_->SetVisible(true);
  form_.SetParent(*hint_, progress_);
  hint_->Move(10, 0, 100, 26);
  EXPECT_EQ(hint_->Parent(), progress_);
  ASSERT_TRUE(hint_->HasWindow());
  EXPECT_EQ(GetParent(hint_->Window()), progress_->Window());
  // Hiding the parent takes the child's window away; its record stays.
  progress_->SetVisible(false);
  EXPECT_FALSE(hint_->HasWindow());
  EXPECT_TRUE(hint_->Visible());
  EXPECT_EQ(hint_->Left(), 10);
}

TEST_F(RowsForm, ScrollBarPositionChangesRaiseTheEvent) {
  auto& bar = form_.Add<ScrollBar>(frame_, "纵向滚动条", {580, 0, 20, 300}, true);
  bar.SetMaximum(100);
  std::vector<int> seen;
  bar.Bind().scrolled = [&](Control& source) { seen.push_back(static_cast<ScrollBar&>(source).Position()); };
  ASSERT_TRUE(bar.HasWindow());
  auto scroll = [&](int code, int thumb = 0) {
    SendMessageW(frame_->Window(), WM_VSCROLL, MAKEWPARAM(code, thumb), reinterpret_cast<LPARAM>(bar.Window()));
  };
  scroll(SB_LINEDOWN);
  scroll(SB_PAGEDOWN);
  scroll(SB_THUMBPOSITION, 95);
  scroll(SB_PAGEDOWN);  // held at the maximum
  scroll(SB_PAGEDOWN);  // no change, no event
  scroll(SB_TOP);
  EXPECT_EQ(seen, (std::vector<int>{1, 11, 95, 100, 0}));
  bar.SetPosition(150);
  EXPECT_EQ(bar.Position(), 100);
  EXPECT_EQ(GetScrollPos(bar.Window(), SB_CTL), 100);
}

TEST(FormEvents, EditBoxTextFocusAndConsumedKeys) {
  Form form("窗口", "编辑", {60, 60, 400, 200});
  auto& edit = form.Add<EditBox>(nullptr, "编辑框搜索", {10, 10, 200, 24});
  auto& other = form.Add<Button>(nullptr, "按钮", {10, 50, 80, 24});
  std::vector<std::string> events;
  edit.Bind().textChanged = [&](Control& c) { events.push_back("changed " + c.Text()); };
  edit.Bind().gotFocus = [&](Control&) { events.push_back("got"); };
  edit.Bind().lostFocus = [&](Control&) { events.push_back("lost"); };
  edit.Bind().keyDown = [&](Control&, int key, int) { return key == VK_RETURN; };
  ASSERT_TRUE(form.Load());
  SetForegroundWindow(form.Window());

  edit.SetText("软件");
  edit.Focus();
  SetFocus(other.Window());
  EXPECT_EQ(events, (std::vector<std::string>{"changed 软件", "got", "lost"}));

  // The edit control itself takes WM_CHAR; a consumed WM_KEYDOWN never reaches it.
  edit.Focus();
  LRESULT consumed = SendMessageW(edit.Window(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(consumed, 0);
  SendMessageW(edit.Window(), EM_SETSEL, 2, 2);
  SendMessageW(edit.Window(), WM_CHAR, L'甲', 0);
  EXPECT_EQ(edit.Text(), "软件甲");
  form.Destroy();
  EXPECT_EQ(edit.Text(), "软件甲");  // the record keeps what was typed
}

TEST(FormEvents, TimersTickUntilStopped) {
  Form form("窗口", "定时", {60, 60, 300, 200});
  auto& timer = form.Add<Timer>(nullptr, "时钟官网", {}, 20);
  int ticks = 0;
  timer.Bind().timer = [&](Control& source) {
    EXPECT_EQ(form.EventSource(), &source);
    ++ticks;
  };
  ASSERT_TRUE(form.Load());
  for (int i = 0; i < 500 && ticks < 3; ++i) PumpWait(10);
  EXPECT_GE(ticks, 3);
  timer.SetPeriod(0);
  int stoppedAt = ticks;
  PumpWait(100);
  EXPECT_EQ(ticks, stoppedAt);
  form.Destroy();
}

TEST(FormEvents, CloseAsksTheHandler) {
  Form form("窗口", "关闭", {60, 60, 300, 200});
  bool allow = false;
  int asked = 0;
  form.BindForm().canClose = [&] {
    ++asked;
    return allow;
  };
  ASSERT_TRUE(form.Load());
  form.Close();
  EXPECT_NE(form.Window(), nullptr);
  allow = true;
  form.Close();
  EXPECT_EQ(form.Window(), nullptr);
  EXPECT_EQ(asked, 2);
}

volatile int gStop = 0;
void CALLBACK SetStop(HWND, UINT, UINT_PTR, DWORD) { gStop = 1; }

TEST(PumpWait, EndsEarlyOnTheStopFlag) {
  volatile int& stop = gStop;
  stop = 0;
  HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  // A timer message dispatched during the wait sets the flag.
  SetTimer(window, 1, 10, SetStop);
  PumpWait(60000, &stop);
  EXPECT_EQ(stop, 1);
  KillTimer(window, 1);
  DestroyWindow(window);
}

}  // namespace
}  // namespace tvk::ui
