// The main window's notification-area icon, the tray procedure that serves it,
// and bringing the window to the front. Windows build only.
//
// The tray procedure is a subclass of the main window (SetWindowSubclass): a
// subclass added later (the mouse wheel's) runs before it, the window's own
// procedure after it. It handles:
// - WM_DESTROY: removes the icon and the subclass, then passes the message on;
// - kTrayCallbackMessage: calls the mouse callback with the lParam and answers
//   0 without passing the message on;
// - the "TaskbarCreated" message (Explorer restarted): adds the icon again
//   from the kept record, then passes the message on;
// - everything else: passed on.
// There is one icon per process; everything runs on the window's thread.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string_view>

#include "shell/TrayIcon.h"

namespace tvk {

// Receives the mouse message of the icon (WM_LBUTTONDOWN, WM_RBUTTONUP, ...).
using TrayMouseCallback = std::function<void(UINT mouseMessage)>;

// The number of the registered "TaskbarCreated" message (registered on the
// first call; 0 when registering failed).
UINT TaskbarCreatedMessage();

// Installs the tray procedure on `window` and adds the icon: the window's
// small icon (WM_GETICON with wParam 0), identifier kTrayIconId, flags
// kTrayIconFlags, callback message kTrayCallbackMessage and the tip cut by
// CutTrayTip. While installed, a further call only changes the tip
// (NIM_MODIFY); the window and callback of the first call stay. Call it on
// the window's thread. Returns whether the shell took the icon (false also
// when the procedure cannot be installed); once installed, the procedure stays
// whatever the shell answered, so the icon comes with the next "TaskbarCreated".
bool AddTrayIcon(HWND window, std::string_view tip, TrayMouseCallback mouseCallback);

// Removes the tray procedure and the icon (NIM_DELETE for the kept record).
// Does nothing when they are not installed.
void RemoveTrayIcon();

bool TrayIconInstalled();

// Pulls the window in front of other programs' windows by switching it to
// topmost and back (it stays topmost when it was), after processing pending
// messages; shows it when hidden, restores and centres it on its screen when
// minimised, and gives it the focus.
void BringToFront(HWND window);

// The mouse callback of the box's icon (HandleTrayMouse on `window`): the left
// button hides or shows the window, the right button asks the exit question
// naming brandInUse and calls exitBox on OK.
void OnTrayMouse(UINT mouseMessage, HWND window, std::string_view brandInUse, const std::function<void()>& exitBox);

// Every call to the shell's Shell_NotifyIconW goes through this function.
// Tests set one to watch the calls; an empty function restores the real call.
using TrayNotifyFunction = std::function<BOOL(DWORD action, NOTIFYICONDATAW* record)>;
void SetTrayNotifyFunction(TrayNotifyFunction notify);

}  // namespace tvk
