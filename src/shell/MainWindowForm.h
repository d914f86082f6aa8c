// The main window's form "窗口": the header, the row area with its row
// templates and scroll bars, the search popup and the timers.
#pragma once

#include <memory>

#include "platform/ui/Form.h"

namespace tvk {

inline constexpr const char* kMainWindowCaption = "Tavrel·软件盒子(TVkitbox) v1.0.9.1";

// Colours of the rows.
inline constexpr COLORREF kRowBackground = RGB(245, 245, 245);

// Builds the form with every control of the main window (no window yet).
std::unique_ptr<ui::Form> BuildMainWindowForm();

}  // namespace tvk
