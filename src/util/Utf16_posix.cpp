#include "util/Utf16.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace tvk {

namespace {

constexpr char16_t kUnknownUnit = u'?';
constexpr char kUnknownByte = '?';
constexpr unsigned char kLastByte = 0xFF;
constexpr char16_t kLastByteUnit = 0xF8F5;

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

//--- User-defined areas --------------------------------------------------------
// Windows gives the codes of the three user-defined areas of code page 936 the
// private-use characters from U+E000 on; glibc has no character for them.

struct UserArea {
  unsigned char firstLead, lastLead, firstTrail, lastTrail;
  char16_t firstUnit;
};
constexpr UserArea kUserAreas[] = {
    {0xAA, 0xAF, 0xA1, 0xFE, 0xE000},  // 6 x 94 codes
    {0xF8, 0xFE, 0xA1, 0xFE, 0xE234},  // 7 x 94 codes
    {0xA1, 0xA7, 0x40, 0xA0, 0xE4C6},  // 7 x 96 codes (no trail byte 0x7F)
};
constexpr char16_t kLastUserUnit = 0xE765;

// Index of a trail byte within its area's row, skipping 0x7F.
unsigned TrailIndex(const UserArea& area, unsigned char trail) {
  unsigned index = trail - area.firstTrail;
  return trail > 0x7F && area.firstTrail < 0x7F ? index - 1 : index;
}

unsigned RowLength(const UserArea& area) {
  return TrailIndex(area, area.lastTrail) + 1;
}

// The private-use unit of a user-defined code, or 0 when it is none.
char16_t UserAreaUnit(unsigned char lead, unsigned char trail) {
  for (const UserArea& area : kUserAreas) {
    if (lead < area.firstLead || lead > area.lastLead || trail < area.firstTrail || trail > area.lastTrail ||
        trail == 0x7F)
      continue;
    return static_cast<char16_t>(area.firstUnit + (lead - area.firstLead) * RowLength(area) + TrailIndex(area, trail));
  }
  return 0;
}

// The user-defined code of a private-use unit into `out`; false when it is none.
bool AppendUserAreaCode(char16_t unit, std::string& out) {
  if (unit < kUserAreas[0].firstUnit || unit > kLastUserUnit) return false;
  for (const UserArea& area : kUserAreas) {
    const unsigned row = RowLength(area);
    const unsigned count = (area.lastLead - area.firstLead + 1u) * row;
    if (unit < area.firstUnit || unit >= area.firstUnit + count) continue;
    const unsigned index = unit - area.firstUnit;
    unsigned trail = area.firstTrail + index % row;
    if (area.firstTrail < 0x7F && trail >= 0x7F) ++trail;
    out += static_cast<char>(area.firstLead + index / row);
    out += static_cast<char>(trail);
    return true;
  }
  return false;
}

//--- iconv -----------------------------------------------------------------------

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (Valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts from *in as far as it can into `out` (appending). Returns 0 when all
  // input is used, else the errno that stopped it (EILSEQ or EINVAL) with *in at
  // the offending sequence.
  int Run(const char*& in, size_t& inLeft, std::string& out) {
    char buffer[1024];
    for (;;) {
      char* inPtr = const_cast<char*>(in);
      char* outPtr = buffer;
      size_t outLeft = sizeof buffer;
      const size_t result = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
      const int error = errno;
      in = inPtr;
      out.append(buffer, sizeof buffer - outLeft);
      if (result != static_cast<size_t>(-1)) return 0;
      if (error != E2BIG) return error;
    }
  }

 private:
  iconv_t cd_;
};

void AppendLittleEndianUnits(std::string_view bytes, std::u16string& out) {
  for (size_t at = 0; at + 1 < bytes.size(); at += 2)
    out += static_cast<char16_t>(static_cast<unsigned char>(bytes[at]) |
                                 static_cast<unsigned char>(bytes[at + 1]) << 8);
}

}  // namespace

std::u16string GbkToUtf16(std::string_view gbk) {
  std::u16string out;
  if (gbk.empty()) return out;
  Converter converter("UTF-16LE", "CP936");
  if (!converter.Valid()) return out;
  out.reserve(gbk.size());
  const char* in = gbk.data();
  size_t left = gbk.size();
  std::string units;
  while (left > 0) {
    units.clear();
    const int stop = converter.Run(in, left, units);
    AppendLittleEndianUnits(units, out);
    if (stop == 0) break;
    // A sequence glibc has no character for: decide it the way Windows does.
    const auto lead = static_cast<unsigned char>(in[0]);
    if (IsLeadByte(lead) && left > 1 && in[1] != '\0') {
      const char16_t user = UserAreaUnit(lead, static_cast<unsigned char>(in[1]));
      out += user != 0 ? user : kUnknownUnit;
      in += 2;
      left -= 2;
    } else {
      out += lead == kLastByte ? kLastByteUnit : kUnknownUnit;
      in += 1;
      left -= 1;
    }
  }
  return out;
}

std::string Utf16ToGbk(std::u16string_view utf16) {
  std::string out;
  if (utf16.empty()) return out;
  Converter converter("CP936", "UTF-16LE");
  if (!converter.Valid()) return out;
  std::string bytes;
  bytes.reserve(utf16.size() * 2);
  for (char16_t unit : utf16) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  out.reserve(utf16.size() * 2);
  const char* in = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const int stop = converter.Run(in, left, out);
    if (stop == 0) break;
    // One unit with no code (or a surrogate): take it alone.
    const size_t taken = static_cast<size_t>(in - bytes.data());
    const char16_t unit = utf16[taken / 2];
    if (unit == kLastByteUnit)
      out += static_cast<char>(kLastByte);
    else if (!AppendUserAreaCode(unit, out))
      out += kUnknownByte;
    in += 2;
    left -= 2;
  }
  return out;
}

}  // namespace tvk
