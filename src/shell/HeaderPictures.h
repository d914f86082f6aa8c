// The pictures the box draws for itself: header buttons, the brand picture and
// the default product icon, as BMP file bytes (what picture controls take).
#pragma once

#include <string>

namespace tvk {

// A 64 × 64 header button with the caption's first characters; `hot` is the
// mouse-over look.
std::string HeaderPicture(const std::string& caption, bool hot);
// The 195 × 64 brand picture of the header.
std::string BrandPicture(bool hot);
// The 26 × 26 picture of a product that is not installed.
std::string DefaultIconPicture();

}  // namespace tvk
