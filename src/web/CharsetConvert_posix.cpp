#include "web/CharsetConvert.h"

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <vector>

namespace tvk {

namespace {

constexpr const char* kUtf16Native = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// One iconv conversion, strict: no transliteration, nothing skipped.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (valid()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // All of `in` converted; false on any invalid or incomplete sequence.
  bool Convert(const void* in, size_t size, std::string& out) {
    out.clear();
    if (!valid()) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(static_cast<const char*>(in));
    size_t inLeft = size;
    out.resize(size * 2 + 16);
    size_t used = 0;
    bool flushing = false;  // after the input: write out what the shift state holds
    for (;;) {
      char* outPtr = out.data() + used;
      size_t outLeft = out.size() - used;
      size_t result = flushing ? iconv(cd_, nullptr, nullptr, &outPtr, &outLeft)
                               : iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
      int error = errno;
      used = out.size() - outLeft;
      if (result == static_cast<size_t>(-1)) {
        if (error != E2BIG) return false;
        out.resize(out.size() * 2);
        continue;
      }
      if (result != 0) return false;  // an irreversible substitute was written
      if (flushing) break;
      flushing = true;
    }
    out.resize(used);
    return true;
  }

 private:
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t cd_;
};

bool ToUtf16(Iconv& decoder, std::string_view bytes, std::u16string& out) {
  std::string wide;
  if (!decoder.Convert(bytes.data(), bytes.size(), wide) || wide.size() % 2 != 0) return false;
  out.assign(wide.size() / 2, u'\0');
  std::copy(wide.begin(), wide.end(), reinterpret_cast<char*>(out.data()));
  return true;
}

//--- Code pages 936 and 950 ----------------------------------------------------
// glibc's GBK and BIG5 are Windows' 936 and 950 without the private-use
// characters that Windows gives, from U+E000 on, to the codes that have no
// standard character: area by area (the order below), code by code within an
// area. The tables add them, so both builds read and write the same bytes.

constexpr char16_t kNoChar = 0xFFFF;
constexpr uint16_t kNoCode = 0xFFFF;
constexpr unsigned kTrailsPerLead = 0xFF - 0x40;  // trail bytes 0x40..0xFE
constexpr char16_t kFirstPrivateUse = 0xE000;

struct CodePageRules {
  const char* iconvName;
  bool (*isTrail)(unsigned byte);
  int (*privateArea)(unsigned lead, unsigned trail);  // -1: stays without character
  std::vector<std::pair<char16_t, uint16_t>> preferredCodes;
};

bool IsGbkTrail(unsigned byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }
bool IsBig5Trail(unsigned byte) { return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0xA1 && byte <= 0xFE); }

int GbkPrivateArea(unsigned lead, unsigned trail) {
  if (lead >= 0xAA && lead <= 0xAF && trail >= 0xA1) return 0;  // user-defined area 1
  if (lead >= 0xF8 && trail >= 0xA1) return 1;                   // user-defined area 2
  if (lead >= 0xA1 && lead <= 0xA7 && trail <= 0xA0) return 2;  // user-defined area 3
  return 3;                                                      // unassigned codes elsewhere
}

int Big5PrivateArea(unsigned lead, unsigned) {
  if (lead >= 0xFA) return 0;
  if (lead >= 0x8E && lead <= 0xA0) return 1;
  if (lead <= 0x8D) return 2;
  return -1;
}

const CodePageRules& GbkRules() {
  static const CodePageRules rules{"GBK", IsGbkTrail, GbkPrivateArea, {}};
  return rules;
}

const CodePageRules& Big5Rules() {
  // Characters with two codes in 950: Windows writes these codes for them.
  static const CodePageRules rules{"BIG5",
                                   IsBig5Trail,
                                   Big5PrivateArea,
                                   {{u'\u2550', 0xF9F9},
                                    {u'\u255E', 0xF9E9},
                                    {u'\u2561', 0xF9EB},
                                    {u'\u256A', 0xF9EA},
                                    {u'\u5341', 0xA451},
                                    {u'\u5345', 0xA4CA}}};
  return rules;
}

struct CodePageTable {
  const CodePageRules* rules = nullptr;
  char16_t single[0x100];
  char16_t pair[(0xFF - 0x81) * kTrailsPerLead];
  uint16_t code[0x10000];
};

size_t PairIndex(unsigned lead, unsigned trail) { return (lead - 0x81) * kTrailsPerLead + (trail - 0x40); }

bool IsLead(unsigned byte) { return byte >= 0x81 && byte <= 0xFE; }

std::unique_ptr<CodePageTable> BuildTable(const CodePageRules& rules) {
  auto table = std::make_unique<CodePageTable>();
  table->rules = &rules;
  std::fill(std::begin(table->single), std::end(table->single), kNoChar);
  std::fill(std::begin(table->pair), std::end(table->pair), kNoChar);
  std::fill(std::begin(table->code), std::end(table->code), kNoCode);

  Iconv decoder(kUtf16Native, rules.iconvName);
  std::u16string unit;
  for (unsigned byte = 0; byte <= 0xFF; ++byte) {
    const char one = static_cast<char>(byte);
    if (ToUtf16(decoder, std::string_view(&one, 1), unit) && unit.size() == 1) table->single[byte] = unit[0];
  }
  struct Unassigned {
    int area;
    unsigned lead, trail;
  };
  std::vector<Unassigned> unassigned;
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      if (!rules.isTrail(trail)) continue;
      const char two[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      if (ToUtf16(decoder, std::string_view(two, 2), unit) && unit.size() == 1)
        table->pair[PairIndex(lead, trail)] = unit[0];
      else if (int area = rules.privateArea(lead, trail); area >= 0)
        unassigned.push_back({area, lead, trail});
    }
  }
  std::stable_sort(unassigned.begin(), unassigned.end(),
                   [](const Unassigned& a, const Unassigned& b) { return a.area < b.area; });
  char16_t next = kFirstPrivateUse;
  for (const Unassigned& u : unassigned) table->pair[PairIndex(u.lead, u.trail)] = next++;

  for (unsigned byte = 0; byte <= 0xFF; ++byte)
    if (table->single[byte] != kNoChar && table->code[table->single[byte]] == kNoCode)
      table->code[table->single[byte]] = static_cast<uint16_t>(byte);
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      char16_t ch = rules.isTrail(trail) ? table->pair[PairIndex(lead, trail)] : kNoChar;
      if (ch != kNoChar && table->code[ch] == kNoCode) table->code[ch] = static_cast<uint16_t>(lead << 8 | trail);
    }
  for (const auto& [ch, code] : rules.preferredCodes) table->code[ch] = code;
  return table;
}

const CodePageTable& TableFor(EastAsianCharset charset) {
  static const std::unique_ptr<CodePageTable> gbk = BuildTable(GbkRules());
  static const std::unique_ptr<CodePageTable> big5 = BuildTable(Big5Rules());
  return charset == EastAsianCharset::kBig5 ? *big5 : *gbk;
}

bool DecodeCodePage(const CodePageTable& table, std::string_view bytes, std::u16string& out) {
  out.clear();
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    unsigned byte = static_cast<unsigned char>(bytes[i]);
    char16_t ch = table.single[byte];
    if (IsLead(byte)) {
      if (i + 1 >= bytes.size()) return false;
      unsigned trail = static_cast<unsigned char>(bytes[i + 1]);
      ch = table.rules->isTrail(trail) ? table.pair[PairIndex(byte, trail)] : kNoChar;
      ++i;
    }
    if (ch == kNoChar) return false;
    out.push_back(ch);
    ++i;
  }
  return true;
}

bool EncodeCodePage(const CodePageTable& table, std::u16string_view text, std::string& out) {
  out.clear();
  out.reserve(text.size() * 2);
  for (char16_t ch : text) {
    uint16_t code = table.code[ch];
    if (code == kNoCode) return false;  // also every surrogate: both code pages stay in the BMP
    if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
  }
  return true;
}

//--- GB18030 -------------------------------------------------------------------

bool DecodeGb18030(std::string_view bytes, std::u16string& out) {
  thread_local Iconv decoder(kUtf16Native, "GB18030");
  if (bytes.empty()) {
    out.clear();
    return true;
  }
  return ToUtf16(decoder, bytes, out);
}

bool EncodeGb18030(std::u16string_view text, std::string& out) {
  thread_local Iconv encoder("GB18030", kUtf16Native);
  out.clear();
  return text.empty() || encoder.Convert(text.data(), text.size() * sizeof(char16_t), out);
}

}  // namespace

bool DecodeEastAsian(EastAsianCharset charset, std::string_view bytes, std::u16string& out) {
  if (charset == EastAsianCharset::kGb18030) return DecodeGb18030(bytes, out);
  return DecodeCodePage(TableFor(charset), bytes, out);
}

bool EncodeEastAsian(EastAsianCharset charset, std::u16string_view text, std::string& out) {
  if (charset == EastAsianCharset::kGb18030) return EncodeGb18030(text, out);
  return EncodeCodePage(TableFor(charset), text, out);
}

}  // namespace tvk
