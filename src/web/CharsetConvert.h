// The platform's tables for the East Asian multi-byte charsets that web pages
// and the box's own text use, as strict conversions to and from UTF-16.
//
// Both builds agree byte for byte: the Windows build uses code pages 936 and
// 950 and builds GB18030 on top of 936 (Wine has no code page 54936); the
// native build uses glibc iconv, completed with the private-use mappings that
// Windows gives to the user-defined areas of 936 and 950, and glibc's GB18030.
#pragma once

#include <string>
#include <string_view>

namespace tvk {

enum class EastAsianCharset {
  kGbk,      // code page 936, the box's own text
  kBig5,     // code page 950 (also used for Big5-HKSCS: see TextCodec.cpp)
  kGb18030,  // GB18030 as glibc maps it (four-byte codes for all of Unicode)
};

// Decodes all of `bytes` into `out`. Returns false when any byte sequence is
// malformed or stands for no character; `out` then holds nothing useful.
bool DecodeEastAsian(EastAsianCharset charset, std::string_view bytes, std::u16string& out);

// Encodes all of `text` (well-formed UTF-16) into `out`, with no best-fit
// substitutes. Returns false when any character has no code in the charset;
// `out` then holds nothing useful.
bool EncodeEastAsian(EastAsianCharset charset, std::u16string_view text, std::string& out);

}  // namespace tvk
