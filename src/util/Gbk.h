// Code page 936 (GBK) character structure. A character is one byte below 0x81,
// or a lead byte 0x81..0xFE followed by a trail byte 0x40..0xFE (not 0x7F).
// A trail byte can be 0x5C ("\") or 0x7C ("|"): code that looks for ASCII
// characters in GBK text must step over whole characters.
#pragma once

#include <string>
#include <string_view>

namespace tvk {

bool IsGbkLeadByte(unsigned char byte);

// Length in bytes (1 or 2) of the character that starts at `at`. A lead byte
// at the end of the text, or one not followed by a valid trail byte, counts 1.
size_t GbkCharLength(std::string_view text, size_t at);

// The longest prefix of `text` of at most `maxBytes` bytes that does not cut a
// double-byte character in half.
std::string_view GbkPrefix(std::string_view text, size_t maxBytes);

// True when `ch` occurs in `text` as a character of its own (not as a trail byte).
bool GbkContainsChar(std::string_view text, char ch);

// Position of the last path separator ("\" or "/") that is a character of its
// own, or npos.
size_t FindLastSeparator(std::string_view path);

// The text before the last separator ("" when there is none).
std::string DirectoryOf(std::string_view path);

// The part after the last separator and before the last "." of that part.
std::string FileTitleOf(std::string_view path);

}  // namespace tvk
