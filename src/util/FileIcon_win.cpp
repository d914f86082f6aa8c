#include "util/FileIcon.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include "util/BitmapCanvas.h"
#include "util/ScopedGdi_win.h"
#include "util/Text.h"
#include "util/ScopedCom_win.h"
#include "util/WideText_win.h"

namespace tvk {

namespace {

// The shell's large icon for the file; null when it gives none.
HICON ShellLargeIcon(std::string_view path) {
  ScopedComApartment apartment;
  SHFILEINFOW info = {};
  const std::wstring widePath = Widen(path);
  // NB: no SHGFI_USEFILEATTRIBUTES: with it the shell would invent an icon
  // for a missing file from its extension, and a missing product exe must
  // stay a blank picture.
  if (!SHGetFileInfoW(widePath.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info, SHGFI_ICON)) return nullptr;
  return info.hIcon;
}

}  // namespace

std::string FileIconBmp(std::string_view path) {
  ScopedIcon icon(ShellLargeIcon(path));
  BitmapCanvas canvas;
  canvas.DrawIcon(icon.get());
  return ReplaceAll(canvas.ToBmpFileBytes(), std::string(3, '\xFF'), std::string(3, '\xF5'));
}

}  // namespace tvk
