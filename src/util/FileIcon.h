// The picture of a product's icon in its row. Windows build only. Paths are
// code page 936 text.
#pragma once

#include <string>
#include <string_view>

namespace tvk {

// The bytes of a BMP file (32 x 32, 32 bits per pixel, 4,150 bytes) showing
// the shell's large icon for the file at `path` over white, in which every
// FF FF FF, scanning from the start without overlap, is then F5 F5 F5: white
// becomes the rows' background RGB(245,245,245). A file the shell gives no
// icon for (a missing one) gives the picture in the background colour alone.
// Empty only when no canvas can be made.
std::string FileIconBmp(std::string_view path);

}  // namespace tvk
