// The branding profile: a reseller's small enciphered file next to the box
// ("tavrel.rc") that replaces the brand word, the contact number, the domain,
// the home-page links and the header pictures. The box reads it once at
// start-up; the same format, under the same key, is what the box writes into
// the folders of the products it installs for a branded box, and what the
// reseller tool (tools/brand-profile) writes.
//
// File layout: the whole file is RC4-enciphered under the one-byte key
// kBrandKey. Deciphered, it is a 40-byte leading field that the reader skips,
// then the seven fields of BrandProfile in their order, joined by
// "[#Tavrel#]". Text fields are code page 936 bytes without terminators.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tvk {

// The key of every branding profile, read or written. NB: products read the
// profiles the box writes for them with this same key; changing it orphans
// every profile already in the field.
inline constexpr unsigned char kBrandKey = 0x6B;

inline constexpr std::string_view kBrandProfileFileName = "tavrel.rc";
inline constexpr std::string_view kBrandFieldSeparator = "[#Tavrel#]";
inline constexpr size_t kBrandLeadingFieldSize = 40;

// The application name before branding; it names the settings file.
inline constexpr std::string_view kUnbrandedApplicationName = "Tavrel·软件盒子";
// The vendor's instant-messaging number that a profile's contact number replaces.
inline constexpr std::string_view kVendorContactNumber = "506112374";

struct BrandProfile {
  std::string brandWord;      // empty: the box is not branded
  std::string contactNumber;  // replaces kVendorContactNumber
  std::string domain;         // the reseller's web domain
  std::string homePageLink;   // read as "http://" + domain when the file leaves it empty
  std::string secondLink;     // read as homePageLink when the file leaves it empty
  std::string normalPicture;  // image bytes of the header picture button
  std::string hotPicture;     // image bytes of the same button under the mouse

  bool operator==(const BrandProfile&) const = default;
};

// RC4 over the whole buffer (enciphering and deciphering are the same
// operation). An empty key gives an empty result.
std::string Rc4(std::string_view bytes, std::string_view key);

// RC4 under a one-byte key. An empty input gives an empty output.
std::string BrandCodec(std::string_view bytes, unsigned char key = kBrandKey);

// The profile held by deciphered file bytes, with the two link defaults
// applied. With 40 bytes or fewer no field is set (the result is all empty).
BrandProfile ParseBrandProfile(std::string_view deciphered);

// "<runDirectory>\tavrel.rc".
std::string BrandProfilePath(std::string_view runDirectory);

// The profile of the box in runDirectory; all empty when the file is missing,
// short or unreadable.
BrandProfile ReadBrandProfile(std::string_view runDirectory);

// The enciphered file bytes of `profile` (the leading field is the box's own
// marker). Text fields are written whole: a NUL or "[#Tavrel#]" inside a field
// does not read back as written, nor do picture bytes holding "[#Tavrel#]".
std::string EncodeBrandProfile(const BrandProfile& profile);

// The brand word, or "Tavrel" when the profile has none.
std::string BrandInUse(const BrandProfile& profile);

// "Tavrel·软件盒子" with every "Tavrel" replaced by the brand word when there is one.
std::string BrandedApplicationName(const BrandProfile& profile);

// The main window's caption under a brand word: every "Tavrel" replaced by
// it, then every "TV" deleted. Unchanged when brandWord is empty.
std::string BrandedCaption(std::string_view caption, std::string_view brandWord);

// A text naming the vendor's contact number (a caption, a chat-request
// address) with every "506112374" replaced by contactNumber.
std::string BrandedContactText(std::string_view text, std::string_view contactNumber);

}  // namespace tvk
