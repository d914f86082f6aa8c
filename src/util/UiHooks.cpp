#include "util/UiHooks.h"

#include <utility>

namespace tvk {

namespace {
std::function<void()> gPumpHook;
std::function<int(const std::string&, const std::string&, unsigned)> gMessageBoxHook;
}  // namespace

void ProcessPendingMessages() {
  if (gPumpHook) gPumpHook();
}

void SetMessagePumpHook(std::function<void()> hook) { gPumpHook = std::move(hook); }

int ShowMessageBox(const std::string& text, const std::string& title, unsigned flags) {
  return gMessageBoxHook ? gMessageBoxHook(text, title, flags) : 0;
}

void SetMessageBoxHook(std::function<int(const std::string&, const std::string&, unsigned)> hook) {
  gMessageBoxHook = std::move(hook);
}

}  // namespace tvk
