#include "shell/TrayIcon_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <utility>

#include "util/UiHooks.h"
#include "util/WideText_win.h"

namespace tvk {

namespace {

constexpr UINT_PTR kTraySubclassId = 0x54524159;  // "TRAY"

struct TrayState {
  HWND window = nullptr;
  bool installed = false;
  NOTIFYICONDATAW record{};  // kept for the life of the icon: re-added from it after "TaskbarCreated"
  TrayMouseCallback mouseCallback;
  TrayNotifyFunction notify;  // empty: Shell_NotifyIconW
};

TrayState gTray;

BOOL Notify(DWORD action) {
  if (gTray.notify) return gTray.notify(action, &gTray.record);
  return Shell_NotifyIconW(action, &gTray.record);
}

// The tip, cut on a character boundary in code page 936 and then widened:
// each byte gives at most one UTF-16 unit, so it fits with its zero (the
// copy is bounded all the same).
void SetRecordTip(std::string_view tip) {
  static_assert(sizeof(gTray.record.szTip) / sizeof(wchar_t) > kTrayTipMaxBytes);
  const std::wstring wide = Widen(CutTrayTip(tip));
  std::wmemset(gTray.record.szTip, L'\0', sizeof(gTray.record.szTip) / sizeof(wchar_t));
  std::wmemcpy(gTray.record.szTip, wide.data(), std::min(wide.size(), kTrayTipMaxBytes));
}

void CallMouseCallback(LPARAM lParam) {
  // A copy: the callback may remove the icon (and with it the stored callback) while it runs.
  const TrayMouseCallback callback = gTray.mouseCallback;
  if (callback) callback(static_cast<UINT>(lParam));
}

LRESULT CALLBACK TrayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  try {
    if (message == kTrayCallbackMessage) {
      CallMouseCallback(lParam);
      return 0;
    }
    const UINT taskbarCreated = TaskbarCreatedMessage();
    if (message == WM_DESTROY)
      RemoveTrayIcon();
    else if (taskbarCreated != 0 && message == taskbarCreated && gTray.installed)
      Notify(NIM_ADD);
  } catch (...) {
    // Nothing may escape into the window procedure; the icon's message still ends here.
    if (message == kTrayCallbackMessage) return 0;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

void CentreOnScreen(HWND window) {
  RECT frame{};
  if (!GetWindowRect(window, &frame)) return;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& screen = monitor.rcMonitor;
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(window, nullptr, screen.left + (screen.right - screen.left - width) / 2,
               screen.top + (screen.bottom - screen.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetTopmost(HWND window, bool topmost) {
  SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

bool AddTrayIcon(HWND window, std::string_view tip, TrayMouseCallback mouseCallback) {
  if (gTray.installed) {
    SetRecordTip(tip);
    return Notify(NIM_MODIFY) != FALSE;
  }
  if (!window || !SetWindowSubclass(window, TrayProc, kTraySubclassId, 0)) return false;
  TaskbarCreatedMessage();
  gTray.window = window;
  gTray.installed = true;
  gTray.mouseCallback = std::move(mouseCallback);
  gTray.record = NOTIFYICONDATAW{};
  gTray.record.cbSize = NOTIFYICONDATAW_V2_SIZE;
  gTray.record.hWnd = window;
  gTray.record.uID = kTrayIconId;
  gTray.record.uFlags = kTrayIconFlags;
  gTray.record.uCallbackMessage = kTrayCallbackMessage;
  gTray.record.hIcon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, 0, 0));
  SetRecordTip(tip);
  return Notify(NIM_ADD) != FALSE;
}

void RemoveTrayIcon() {
  if (!gTray.installed) return;
  RemoveWindowSubclass(gTray.window, TrayProc, kTraySubclassId);
  gTray.installed = false;
  gTray.window = nullptr;
  gTray.mouseCallback = nullptr;
  Notify(NIM_DELETE);
}

bool TrayIconInstalled() { return gTray.installed; }

void SetTrayNotifyFunction(TrayNotifyFunction notify) { gTray.notify = std::move(notify); }

void BringToFront(HWND window) {
  const bool wasTopmost = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  SetTopmost(window, false);
  ProcessPendingMessages();
  if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOW);
  if (IsIconic(window)) {
    ShowWindow(window, SW_RESTORE);
    CentreOnScreen(window);
  }
  SetTopmost(window, true);
  if (!wasTopmost) SetTopmost(window, false);
  SetFocus(window);
}

void OnTrayMouse(UINT mouseMessage, HWND window, std::string_view brandInUse, const std::function<void()>& exitBox) {
  TrayMouseActions actions;
  actions.toggleVisibility = [window] {
    const bool show = !IsWindowVisible(window);
    ShowWindow(window, show ? SW_SHOW : SW_HIDE);
    return show;
  };
  actions.bringToFront = [window] { BringToFront(window); };
  actions.exitBox = exitBox;
  HandleTrayMouse(mouseMessage, brandInUse, actions);
}

}  // namespace tvk
