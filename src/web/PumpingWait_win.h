// Waiting on the window thread without blocking the window: the wait wakes at
// least every few milliseconds and whenever input arrives, and lets pending
// window messages run (ProcessPendingMessages) each time.
#pragma once

#include <windows.h>

namespace tvk {

// Waits until `event` is signalled or `milliseconds` have passed (below 0: no
// limit). True when the event is signalled.
bool WaitPumpingMessages(HANDLE event, int milliseconds);

}  // namespace tvk
