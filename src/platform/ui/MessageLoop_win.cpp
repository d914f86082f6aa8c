#include "platform/ui/MessageLoop.h"

#include "util/UiHooks.h"
#include "util/WideText_win.h"

namespace tvk::ui {

void ProcessMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Leave the quit for the message loop that owns the thread.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void PumpWait(int milliseconds, const volatile int* stop) {
  DWORD start = GetTickCount();
  while (static_cast<int>(GetTickCount() - start) < milliseconds) {
    if (stop && *stop) return;
    Sleep(10);
    ProcessMessages();
  }
}

void InstallWindowHooks() {
  SetMessagePumpHook([] {
    static DWORD last = 0;
    DWORD now = GetTickCount();
    if (now - last < 10) return;
    last = now;
    ProcessMessages();
  });
  SetMessageBoxHook([](const std::string& text, const std::string& title, unsigned flags) {
    return MessageBoxW(GetActiveWindow(), Widen(text).c_str(), Widen(title).c_str(), flags);
  });
}

}  // namespace tvk::ui
