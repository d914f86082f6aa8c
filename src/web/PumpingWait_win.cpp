#include "web/PumpingWait_win.h"

#include <algorithm>

#include "util/UiHooks.h"

namespace tvk {

namespace {
constexpr DWORD kStepMilliseconds = 20;
}  // namespace

bool WaitPumpingMessages(HANDLE event, int milliseconds) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    DWORD step = kStepMilliseconds;
    if (milliseconds >= 0) {
      const ULONGLONG elapsed = GetTickCount64() - start;
      if (elapsed >= static_cast<ULONGLONG>(milliseconds)) return WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
      step = static_cast<DWORD>(std::min<ULONGLONG>(step, static_cast<ULONGLONG>(milliseconds) - elapsed));
    }
    // Wakes for new input too, so a click is handled at once; messages that
    // were already queued do not wake it again, so an idle hook cannot spin it.
    const DWORD result = MsgWaitForMultipleObjects(1, &event, FALSE, step, QS_ALLINPUT);
    if (result == WAIT_OBJECT_0) return true;
    if (result == WAIT_FAILED) Sleep(step);
    ProcessPendingMessages();
  }
}

}  // namespace tvk
