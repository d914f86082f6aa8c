// Code page 936 text to UTF-16 and back, the way the platform converts the
// automation strings of the scripting objects: lenient, never failing. Both
// builds give the same units for every valid code page 936 character.
//
// Each character gives exactly one UTF-16 unit, so a text never has more
// units than bytes (the regular-expression positions rely on this):
// - a lead byte (0x81..0xFE) and the byte after it form one character; a pair
//   with no character, or a lead byte at the end, gives "?" (U+003F);
// - 0x80 is the euro sign and 0xFF the private-use U+F8F5;
// - the three user-defined areas (AAA1..AFFE, F8A1..FEFE, A140..A7A0) map to
//   U+E000..U+E765, area by area, code by code.
// Back to code page 936, a unit with no code gives "?" (a surrogate pair gives
// two). Known gap: the native build gives "?" for the few scattered codes
// outside those areas that Windows also maps into the private-use range, and
// it does no "best fit" (Windows turns a few letters without a code into
// similar ones, such as U+0100 into 0xA8A1).
#pragma once

#include <string>
#include <string_view>

namespace tvk {

std::u16string GbkToUtf16(std::string_view gbk);
std::string Utf16ToGbk(std::u16string_view utf16);

}  // namespace tvk
