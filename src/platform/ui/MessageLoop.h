// Waiting without blocking the window, and message boxes.
#pragma once

#include <windows.h>

#include <string>

namespace tvk::ui {

// Dispatches the thread's pending window messages once.
void ProcessMessages();

// Waits in 10 ms steps, processing pending messages after each step; ends
// early when *stop becomes non-zero.
void PumpWait(int milliseconds, const volatile int* stop = nullptr);

// Message box icons and buttons (the Windows MB_ values, so they combine).
inline constexpr unsigned kBoxOk = MB_OK;
inline constexpr unsigned kBoxOkCancel = MB_OKCANCEL;
inline constexpr unsigned kBoxYesNo = MB_YESNO;
inline constexpr unsigned kBoxInformation = MB_ICONINFORMATION;
inline constexpr unsigned kBoxExclamation = MB_ICONEXCLAMATION;
inline constexpr unsigned kBoxWarning = MB_ICONWARNING;
inline constexpr unsigned kBoxSystemModal = MB_SYSTEMMODAL;

// Installs the window layer's hooks for portable code: the message pump
// (cheap when called often: it dispatches at most every 10 ms) and real
// message boxes, owned by the active window.
void InstallWindowHooks();

}  // namespace tvk::ui
