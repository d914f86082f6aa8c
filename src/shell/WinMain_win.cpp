// Entry point of the box.
#include <windows.h>

#include "platform/ui/MessageLoop.h"
#include "shell/MainWindowForm.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  tvk::ui::InstallWindowHooks();
  std::unique_ptr<tvk::ui::Form> mainWindow = tvk::BuildMainWindowForm();
  mainWindow->BindForm().destroyed = [] { PostQuitMessage(0); };
  if (!mainWindow->Load()) return 0;

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
