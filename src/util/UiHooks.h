// Hooks through which portable code reaches the window layer. Until the window
// layer installs them (and always in the native build) they do nothing.
#pragma once

#include <functional>
#include <string>

namespace tvk {

// Lets pending window messages run. Long loops call it so the window keeps
// responding; handlers may therefore run inside the caller. Called often: an
// installed hook should be cheap when there is nothing to do.
void ProcessPendingMessages();
void SetMessagePumpHook(std::function<void()> hook);

// Message box flags (the Windows MB_ values).
inline constexpr unsigned kBoxIconWarning = 0x30;
inline constexpr unsigned kBoxSystemModal = 0x1000;

// Shows a message box and returns the button pressed (0 when none was shown).
int ShowMessageBox(const std::string& text, const std::string& title, unsigned flags);
void SetMessageBoxHook(std::function<int(const std::string& text, const std::string& title, unsigned flags)> hook);

}  // namespace tvk
