#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/TrayIcon.h"
#include "util/UiHooks.h"

namespace tvk {
namespace {

TEST(TrayTipText, NamesTheApplicationAndTheBrand) {
  EXPECT_EQ(TrayTipText("Tavrel·软件盒子", "Tavrel"),
            "Tavrel·软件盒子\r\n为Tavrel软件旗下数十款软件提供下载、升级服务");
  EXPECT_EQ(TrayTipText("Acme·软件盒子", "Acme"), "Acme·软件盒子\r\n为Acme软件旗下数十款软件提供下载、升级服务");
  EXPECT_EQ(ExitQuestion("Tavrel"), "确实要退出《Tavrel·软件盒子》吗？");
  EXPECT_EQ(ExitQuestion("极速"), "确实要退出《极速·软件盒子》吗？");
}

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

TEST(CutTrayTip, KeepsAtMost127BytesWithoutSplittingACharacter) {
  const std::string a126(126, 'a'), a125(125, 'a');
  struct Case {
    const char* what;
    std::string tip;
    std::string kept;
  };
  const Case cases[] = {
      {"empty", "", ""},
      {"127 bytes", std::string(127, 'a'), std::string(127, 'a')},
      {"128 bytes", std::string(128, 'a'), std::string(127, 'a')},
      {"character ends at 127", a125 + "软件", a125 + "软"},
      {"character would end at 128", a126 + "软件", a126},
      {"trail byte 5C at 128", a126 + "籠", a126},
      {"trail byte 5C at 127", a125 + "籠x", a125 + "籠"},
      {"all double-byte", Repeat("盒", 70), Repeat("盒", 63)},
      {"lone lead byte at 127", a126 + "\x81" "0", a126 + "\x81"},
      {"lead byte at 127 with a trail byte", a126 + "\x81" "a", a126},
  };
  for (const Case& c : cases) EXPECT_EQ(CutTrayTip(c.tip), c.kept) << c.what;

  // A brand word long enough to push the tip past the limit.
  const std::string brand = "Acme" + Repeat("品牌", 15);
  const std::string tip = TrayTipText(brand + "·软件盒子", brand);
  ASSERT_GT(tip.size(), 127u);
  const std::string_view kept = CutTrayTip(tip);
  EXPECT_LE(kept.size(), 127u);
  EXPECT_GE(kept.size(), 126u);
  EXPECT_EQ(tip.compare(0, kept.size(), kept), 0);
}

// Answers every message box with `answer` and records it; uninstalls itself.
class MessageBoxRecorder {
 public:
  struct Box {
    std::string text, title;
    unsigned flags;
  };
  explicit MessageBoxRecorder(int answer) {
    SetMessageBoxHook([this, answer](const std::string& text, const std::string& title, unsigned flags) {
      boxes.push_back({text, title, flags});
      return answer;
    });
  }
  ~MessageBoxRecorder() { SetMessageBoxHook(nullptr); }
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

  std::vector<Box> boxes;
};

struct ActionLog {
  bool visible = true;
  int toggles = 0, fronts = 0, exits = 0;

  TrayMouseActions Actions() {
    TrayMouseActions actions;
    actions.toggleVisibility = [this] {
      ++toggles;
      visible = !visible;
      return visible;
    };
    actions.bringToFront = [this] { ++fronts; };
    actions.exitBox = [this] { ++exits; };
    return actions;
  }
};

TEST(HandleTrayMouse, LeftButtonTogglesAndBringsTheShownWindowToTheFront) {
  MessageBoxRecorder boxes(kExitAnswerOk);
  ActionLog log;
  const TrayMouseActions actions = log.Actions();
  HandleTrayMouse(kTrayLeftButtonDown, "Tavrel", actions);
  EXPECT_FALSE(log.visible);
  EXPECT_EQ(log.fronts, 0);
  HandleTrayMouse(kTrayLeftButtonDown, "Tavrel", actions);
  EXPECT_TRUE(log.visible);
  EXPECT_EQ(log.fronts, 1);
  EXPECT_EQ(log.toggles, 2);
  EXPECT_EQ(log.exits, 0);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST(HandleTrayMouse, RightButtonAsksAndExitsOnlyOnOk) {
  struct Case {
    int answer;
    int exits;
  };
  const Case cases[] = {{kExitAnswerOk, 1}, {2 /* IDCANCEL */, 0}, {0 /* no box shown */, 0}};
  for (const Case& c : cases) {
    MessageBoxRecorder boxes(c.answer);
    ActionLog log;
    HandleTrayMouse(kTrayRightButtonUp, "Acme", log.Actions());
    ASSERT_EQ(boxes.boxes.size(), 1u) << c.answer;
    EXPECT_EQ(boxes.boxes[0].text, "确实要退出《Acme·软件盒子》吗？");
    EXPECT_EQ(boxes.boxes[0].flags, kExitQuestionButtons);
    EXPECT_EQ(log.exits, c.exits) << c.answer;
    EXPECT_EQ(log.toggles, 0);
    EXPECT_TRUE(log.visible);
  }
}

TEST(HandleTrayMouse, OtherMouseMessagesDoNothing) {
  MessageBoxRecorder boxes(kExitAnswerOk);
  ActionLog log;
  const TrayMouseActions actions = log.Actions();
  // Move, left up, double-click, right down, middle down, and a 32-bit value whose low word is 0x201.
  for (unsigned message : {0x200u, 0x202u, 0x203u, 0x204u, 0x207u, 0x10201u})
    HandleTrayMouse(message, "Tavrel", actions);
  EXPECT_EQ(log.toggles + log.fronts + log.exits, 0);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST(HandleTrayMouse, EmptyActionsAreSkipped) {
  MessageBoxRecorder boxes(kExitAnswerOk);
  HandleTrayMouse(kTrayLeftButtonDown, "Tavrel", {});
  HandleTrayMouse(kTrayRightButtonUp, "Tavrel", {});
  EXPECT_EQ(boxes.boxes.size(), 1u);
}

}  // namespace
}  // namespace tvk
