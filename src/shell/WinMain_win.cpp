// Entry point of the box: start-up, the main window, the message loop. The
// state made here lives until WinMain returns, which releases it once.
#include <windows.h>
#include <objbase.h>

#include "platform/ui/MessageLoop.h"
#include "shell/CommandLine.h"
#include "shell/MainWindow.h"
#include "shell/OfflineShortcut.h"
#include "shell/StartUp.h"
#include "shell/TrayIcon_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Shortcuts and the pattern matcher use COM on this thread.
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  tvk::ui::InstallWindowHooks();
  tvk::TaskbarCreatedMessage();

  {
    tvk::BoxState box;
    tvk::StartUp(box, tvk::RunDirectory(), tvk::ExecutableName(), tvk::CommandLineWords());
    tvk::MainWindow mainWindow(box);
    if (mainWindow.Load()) {
      MSG message;
      while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}
