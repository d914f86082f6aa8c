#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "shell/TrayIcon_win.h"
#include "util/UiHooks.h"
#include "util/WideText_win.h"

namespace tvk {
namespace {

constexpr wchar_t kWindowClass[] = L"TvkTrayIconTestWindow";
// What the window's own procedure answers to the icon's callback message.
constexpr LRESULT kOwnAnswer = 77;

// A top-level window whose own procedure records every message it sees.
class TestWindow {
 public:
  explicit TestWindow(DWORD exStyle = 0) {
    static const bool registered = [] {
      WNDCLASSW wc = {};
      wc.lpfnWndProc = OwnProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = kWindowClass;
      return RegisterClassW(&wc) != 0;
    }();
    if (!registered) return;
    window_ = CreateWindowExW(exStyle, kWindowClass, L"托盘测试", WS_OVERLAPPEDWINDOW, 40, 40, 320, 200, nullptr,
                              nullptr, GetModuleHandleW(nullptr), this);
  }
  ~TestWindow() {
    if (window_) DestroyWindow(window_);
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND get() const { return window_; }
  // DestroyWindow now; the messages seen stay readable.
  void Destroy() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
  }
  int Seen(UINT message) const {
    int count = 0;
    for (UINT seen : seen_) count += seen == message;
    return count;
  }

 private:
  static LRESULT CALLBACK OwnProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self) self->seen_.push_back(message);
    if (message == kTrayCallbackMessage) return kOwnAnswer;
    return DefWindowProcW(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
  std::vector<UINT> seen_;
};

// Dispatches this thread's messages until `done` holds; false when it did not
// within five seconds.
bool PumpUntil(const std::function<bool()>& done) {
  const ULONGLONG deadline = GetTickCount64() + 5000;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// Stands in for the shell while it lives: records every Shell_NotifyIconW call
// and answers `answer`. Removes a left-over icon before the real call returns.
class NotifyRecorder {
 public:
  struct Call {
    DWORD action;
    NOTIFYICONDATAW record;
  };
  explicit NotifyRecorder(BOOL answer = TRUE) {
    SetTrayNotifyFunction([this, answer](DWORD action, NOTIFYICONDATAW* record) {
      calls.push_back({action, *record});
      return answer;
    });
  }
  ~NotifyRecorder() {
    RemoveTrayIcon();
    SetTrayNotifyFunction(nullptr);
  }
  NotifyRecorder(const NotifyRecorder&) = delete;
  NotifyRecorder& operator=(const NotifyRecorder&) = delete;

  int Count(DWORD action) const {
    int count = 0;
    for (const Call& call : calls) count += call.action == action;
    return count;
  }

  std::vector<Call> calls;
};

// Answers every message box with `answer` and counts the boxes.
class MessageBoxAnswer {
 public:
  explicit MessageBoxAnswer(int answer) {
    SetMessageBoxHook([this, answer](const std::string& text, const std::string&, unsigned) {
      texts.push_back(text);
      return answer;
    });
  }
  ~MessageBoxAnswer() { SetMessageBoxHook(nullptr); }
  MessageBoxAnswer(const MessageBoxAnswer&) = delete;
  MessageBoxAnswer& operator=(const MessageBoxAnswer&) = delete;

  std::vector<std::string> texts;
};

std::wstring TipOf(const NOTIFYICONDATAW& record) { return record.szTip; }

TEST(AddTrayIcon, AddsTheIconFromTheWindowAndItsSmallIcon) {
  NotifyRecorder shell;
  TestWindow window;
  ASSERT_TRUE(window.get());
  const HICON small = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  const HICON big = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_WARNING));
  SendMessageW(window.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  SendMessageW(window.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));

  const std::string tip = TrayTipText("Tavrel·软件盒子", "Tavrel");
  EXPECT_TRUE(AddTrayIcon(window.get(), tip, nullptr));
  EXPECT_TRUE(TrayIconInstalled());
  ASSERT_EQ(shell.calls.size(), 1u);
  const NOTIFYICONDATAW& record = shell.calls[0].record;
  EXPECT_EQ(shell.calls[0].action, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(record.cbSize, NOTIFYICONDATAW_V2_SIZE);
  EXPECT_EQ(record.hWnd, window.get());
  EXPECT_EQ(record.uID, 1u);
  EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(record.uCallbackMessage, 123456u);
  EXPECT_EQ(record.hIcon, small);
  EXPECT_EQ(TipOf(record), Widen(tip));
  EXPECT_EQ(record.dwState, 0u);
  EXPECT_EQ(record.szInfo[0], L'\0');
}

TEST(AddTrayIcon, ReportsWhatTheShellAnswersAndKeepsTheProcedureEitherWay) {
  NotifyRecorder shell(FALSE);
  TestWindow window;
  EXPECT_FALSE(AddTrayIcon(window.get(), "提示", nullptr));
  EXPECT_TRUE(TrayIconInstalled());
  SendMessageW(window.get(), TaskbarCreatedMessage(), 0, 0);
  EXPECT_EQ(shell.Count(NIM_ADD), 2);
}

TEST(AddTrayIcon, CutsTheTipAt127BytesOnACharacterBoundary) {
  struct Case {
    const char* what;
    std::string tip;
    std::wstring stored;
  };
  const std::string a126(126, 'a');
  std::string chinese;
  std::wstring chineseKept;
  for (int i = 0; i < 70; ++i) {
    chinese += "盒";
    if (i < 63) chineseKept += L'\u76D2';
  }
  const Case cases[] = {
      {"ASCII", std::string(200, 'x'), std::wstring(127, L'x')},
      {"double-byte", chinese, chineseKept},
      {"character across the limit", a126 + "籠", std::wstring(126, L'a')},
      {"character up to the limit", std::string(125, 'a') + "籠", std::wstring(125, L'a') + L"\u7C60"},
  };
  for (const Case& c : cases) {
    NotifyRecorder shell;
    TestWindow window;
    AddTrayIcon(window.get(), c.tip, nullptr);
    ASSERT_EQ(shell.calls.size(), 1u) << c.what;
    EXPECT_EQ(TipOf(shell.calls[0].record), c.stored) << c.what;
    // A second call while installed only changes the tip.
    AddTrayIcon(window.get(), "短", nullptr);
    ASSERT_EQ(shell.calls.size(), 2u) << c.what;
    EXPECT_EQ(shell.calls[1].action, static_cast<DWORD>(NIM_MODIFY)) << c.what;
    EXPECT_EQ(TipOf(shell.calls[1].record), L"\u77ED") << c.what;
    const wchar_t* tail = shell.calls[1].record.szTip + 1;
    EXPECT_TRUE(std::all_of(tail, tail + 127, [](wchar_t ch) { return ch == L'\0'; })) << c.what;
  }
}

TEST(TrayProcedure, TheCallbackMessageGoesToTheCallbackOnly) {
  NotifyRecorder shell;
  TestWindow window;
  std::vector<UINT> first, second;
  ASSERT_TRUE(AddTrayIcon(window.get(), "提示", [&](UINT message) { first.push_back(message); }));
  AddTrayIcon(window.get(), "新提示", [&](UINT message) { second.push_back(message); });

  ASSERT_TRUE(PostMessageW(window.get(), kTrayCallbackMessage, 1, WM_LBUTTONDOWN));
  ASSERT_TRUE(PumpUntil([&] { return !first.empty(); }));
  EXPECT_EQ(SendMessageW(window.get(), kTrayCallbackMessage, 1, WM_RBUTTONUP), 0);
  EXPECT_EQ(first, (std::vector<UINT>{WM_LBUTTONDOWN, WM_RBUTTONUP}));
  EXPECT_TRUE(second.empty());  // the callback of the first call stays
  EXPECT_EQ(window.Seen(kTrayCallbackMessage), 0);
}

// A subclass that counts the icon's callback messages into the int at `counter`.
LRESULT CALLBACK CountCallbackMessages(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR counter) {
  if (message == kTrayCallbackMessage) ++*reinterpret_cast<int*>(counter);
  return DefSubclassProc(window, message, wParam, lParam);
}

TEST(TrayProcedure, ASubclassAddedLaterRunsFirst) {
  NotifyRecorder shell;
  TestWindow window;
  int calls = 0;
  ASSERT_TRUE(AddTrayIcon(window.get(), "提示", [&](UINT) { ++calls; }));
  int seenByLater = 0;
  const SUBCLASSPROC later = CountCallbackMessages;
  ASSERT_TRUE(SetWindowSubclass(window.get(), later, 7, reinterpret_cast<DWORD_PTR>(&seenByLater)));
  EXPECT_EQ(SendMessageW(window.get(), kTrayCallbackMessage, 1, WM_LBUTTONDOWN), 0);
  EXPECT_EQ(seenByLater, 1);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(window.Seen(kTrayCallbackMessage), 0);

  // Removing the tray layer from under the later one keeps the later one working.
  RemoveTrayIcon();
  EXPECT_EQ(SendMessageW(window.get(), kTrayCallbackMessage, 1, WM_LBUTTONDOWN), kOwnAnswer);
  EXPECT_EQ(seenByLater, 2);
  EXPECT_EQ(calls, 1);
  RemoveWindowSubclass(window.get(), later, 7);
}

TEST(TrayProcedure, NothingEscapesFromTheCallback) {
  NotifyRecorder shell;
  TestWindow window;
  ASSERT_TRUE(AddTrayIcon(window.get(), "提示", [](UINT) { throw std::runtime_error("callback failed"); }));
  EXPECT_EQ(SendMessageW(window.get(), kTrayCallbackMessage, 1, WM_LBUTTONDOWN), 0);
  EXPECT_EQ(window.Seen(kTrayCallbackMessage), 0);
  EXPECT_TRUE(TrayIconInstalled());
}

TEST(TrayProcedure, TheCallbackMayRemoveTheIcon) {
  NotifyRecorder shell;
  TestWindow window;
  int calls = 0;
  ASSERT_TRUE(AddTrayIcon(window.get(), "提示", [&](UINT) {
    ++calls;
    RemoveTrayIcon();
  }));
  EXPECT_EQ(SendMessageW(window.get(), kTrayCallbackMessage, 1, WM_RBUTTONUP), 0);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(TrayIconInstalled());
  EXPECT_EQ(shell.Count(NIM_DELETE), 1);
  EXPECT_EQ(SendMessageW(window.get(), kTrayCallbackMessage, 1, WM_RBUTTONUP), kOwnAnswer);
  EXPECT_EQ(calls, 1);
}

TEST(TrayProcedure, TaskbarCreatedAddsTheKeptRecordAgainAndPassesOn) {
  NotifyRecorder shell;
  TestWindow window;
  ASSERT_NE(TaskbarCreatedMessage(), 0u);
  EXPECT_EQ(TaskbarCreatedMessage(), RegisterWindowMessageW(L"TaskbarCreated"));
  ASSERT_TRUE(AddTrayIcon(window.get(), "Tavrel·软件盒子", nullptr));
  AddTrayIcon(window.get(), "新提示", nullptr);

  ASSERT_TRUE(PostMessageW(window.get(), TaskbarCreatedMessage(), 0, 0));
  ASSERT_TRUE(PumpUntil([&] { return window.Seen(TaskbarCreatedMessage()) == 1; }));
  ASSERT_EQ(shell.calls.size(), 3u);
  const NOTIFYICONDATAW& again = shell.calls[2].record;
  EXPECT_EQ(shell.calls[2].action, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(again.hWnd, window.get());
  EXPECT_EQ(again.uID, 1u);
  EXPECT_EQ(again.uFlags, 7u);
  EXPECT_EQ(again.uCallbackMessage, 123456u);
  EXPECT_EQ(TipOf(again), Widen("新提示"));
}

TEST(TrayProcedure, DestroyingTheWindowRemovesTheIconThenPassesOn) {
  NotifyRecorder shell;
  TestWindow window;
  int calls = 0;
  ASSERT_TRUE(AddTrayIcon(window.get(), "提示", [&](UINT) { ++calls; }));
  const HWND handle = window.get();
  window.Destroy();
  EXPECT_EQ(window.Seen(WM_DESTROY), 1);
  EXPECT_FALSE(TrayIconInstalled());
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[1].action, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(shell.calls[1].record.hWnd, handle);
  EXPECT_EQ(shell.calls[1].record.uID, 1u);
  EXPECT_EQ(calls, 0);

  // A new window gets a new icon.
  TestWindow next;
  EXPECT_TRUE(AddTrayIcon(next.get(), "提示", nullptr));
  ASSERT_EQ(shell.calls.size(), 3u);
  EXPECT_EQ(shell.calls[2].action, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(shell.calls[2].record.hWnd, next.get());
}

TEST(RemoveTrayIcon, DeletesTheIconAndHandsMessagesBackToTheWindow) {
  NotifyRecorder shell;
  TestWindow window;
  int calls = 0;
  ASSERT_TRUE(AddTrayIcon(window.get(), "提示", [&](UINT) { ++calls; }));
  RemoveTrayIcon();
  RemoveTrayIcon();  // nothing left to remove
  EXPECT_FALSE(TrayIconInstalled());
  EXPECT_EQ(shell.Count(NIM_DELETE), 1);
  ASSERT_TRUE(PostMessageW(window.get(), kTrayCallbackMessage, 1, WM_LBUTTONDOWN));
  ASSERT_TRUE(PumpUntil([&] { return window.Seen(kTrayCallbackMessage) == 1; }));
  SendMessageW(window.get(), TaskbarCreatedMessage(), 0, 0);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(shell.Count(NIM_ADD), 1);
}

bool IsTopmost(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

TEST(BringToFront, RestoresCentresAndFocusesKeepingTheTopmostState) {
  for (bool topmost : {false, true}) {
    TestWindow window(topmost ? WS_EX_TOPMOST : 0);
    ASSERT_EQ(IsTopmost(window.get()), topmost);
    ShowWindow(window.get(), SW_SHOW);
    ShowWindow(window.get(), SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(window.get()) != FALSE; })) << topmost;

    BringToFront(window.get());
    EXPECT_TRUE(PumpUntil([&] { return !IsIconic(window.get()) && IsWindowVisible(window.get()); })) << topmost;
    EXPECT_EQ(IsTopmost(window.get()), topmost);
    EXPECT_EQ(GetFocus(), window.get()) << topmost;
    RECT frame{};
    GetWindowRect(window.get(), &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window.get(), MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_EQ(frame.right - frame.left, 320) << topmost;
    EXPECT_LE(std::abs((frame.left + frame.right) - (monitor.rcMonitor.left + monitor.rcMonitor.right)), 1);
    EXPECT_LE(std::abs((frame.top + frame.bottom) - (monitor.rcMonitor.top + monitor.rcMonitor.bottom)), 1);
  }
}

TEST(BringToFront, ShowsAHiddenWindowWhereItWas) {
  TestWindow window;
  ASSERT_FALSE(IsWindowVisible(window.get()));
  BringToFront(window.get());
  EXPECT_TRUE(IsWindowVisible(window.get()));
  EXPECT_FALSE(IsTopmost(window.get()));
  EXPECT_EQ(GetFocus(), window.get());
  RECT frame{};
  GetWindowRect(window.get(), &frame);
  EXPECT_EQ(frame.left, 40);
  EXPECT_EQ(frame.top, 40);
}

TEST(OnTrayMouse, LeftButtonHidesAndShowsTheWindow) {
  MessageBoxAnswer boxes(IDOK);
  TestWindow window;
  ShowWindow(window.get(), SW_SHOW);
  int exits = 0;
  const auto exitBox = [&] { ++exits; };
  OnTrayMouse(WM_LBUTTONDOWN, window.get(), "Tavrel", exitBox);
  EXPECT_FALSE(IsWindowVisible(window.get()));
  OnTrayMouse(WM_LBUTTONDOWN, window.get(), "Tavrel", exitBox);
  EXPECT_TRUE(IsWindowVisible(window.get()));
  EXPECT_EQ(GetFocus(), window.get());
  OnTrayMouse(WM_MOUSEMOVE, window.get(), "Tavrel", exitBox);
  EXPECT_TRUE(IsWindowVisible(window.get()));
  EXPECT_EQ(exits, 0);
  EXPECT_TRUE(boxes.texts.empty());
}

TEST(OnTrayMouse, RightButtonExitsOnlyWhenTheAnswerIsOk) {
  for (int answer : {IDCANCEL, IDOK}) {
    MessageBoxAnswer boxes(answer);
    TestWindow window;
    ShowWindow(window.get(), SW_SHOW);
    int exits = 0;
    OnTrayMouse(WM_RBUTTONUP, window.get(), "Acme", [&] { ++exits; });
    ASSERT_EQ(boxes.texts.size(), 1u) << answer;
    EXPECT_EQ(boxes.texts[0], "确实要退出《Acme·软件盒子》吗？");
    EXPECT_EQ(exits, answer == IDOK ? 1 : 0);
    EXPECT_TRUE(IsWindowVisible(window.get())) << answer;
  }
}

}  // namespace
}  // namespace tvk
