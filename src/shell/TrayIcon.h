// The box's icon in the notification area: its tip text and what its mouse
// buttons do. The window side (installing the icon, the tray procedure,
// bringing the window to the front) is in TrayIcon_win.h; what is here is
// plain text and decisions, the same in both builds.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tvk {

// The message the icon sends to the main window; its lParam is the mouse message.
inline constexpr unsigned kTrayCallbackMessage = 123456;
inline constexpr unsigned kTrayIconId = 1;
// NIF_MESSAGE | NIF_ICON | NIF_TIP.
inline constexpr unsigned kTrayIconFlags = 7;
// The record's tip holds at most this many bytes of text and a terminating zero.
inline constexpr size_t kTrayTipMaxBytes = 127;

// Mouse messages the icon reacts to (the Windows WM_ values).
inline constexpr unsigned kTrayLeftButtonDown = 0x201;
inline constexpr unsigned kTrayRightButtonUp = 0x205;

// Buttons of the exit question and the answer that quits (MB_OKCANCEL, IDOK).
inline constexpr unsigned kExitQuestionButtons = 1;
inline constexpr int kExitAnswerOk = 1;

// applicationName + "\r\n为" + brandInUse + "软件旗下数十款软件提供下载、升级服务".
std::string TrayTipText(std::string_view applicationName, std::string_view brandInUse);

// The tip as the record keeps it: at most kTrayTipMaxBytes bytes, cut before a
// double-byte character that would not fit whole.
std::string_view CutTrayTip(std::string_view tip);

// "确实要退出《" + brandInUse + "·软件盒子》吗？".
std::string ExitQuestion(std::string_view brandInUse);

// What the tray icon's buttons act on.
struct TrayMouseActions {
  std::function<bool()> toggleVisibility;  // hides a shown window, shows a hidden one; true when now shown
  std::function<void()> bringToFront;
  std::function<void()> exitBox;
};

// Left button pressed: toggles the window and brings it to the front when it
// became visible. Right button released: asks the exit question with OK and
// Cancel (ShowMessageBox, no title) and exits on OK. Other messages: nothing.
// Empty actions are skipped.
void HandleTrayMouse(unsigned mouseMessage, std::string_view brandInUse, const TrayMouseActions& actions);

}  // namespace tvk
