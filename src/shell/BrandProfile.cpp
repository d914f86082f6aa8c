#include "shell/BrandProfile.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "config/CatalogueFormat.h"
#include "util/FileIo.h"
#include "util/Text.h"

namespace tvk {

namespace {

// What the box puts in the leading field of the profiles it writes: a marker
// for people looking at a deciphered file. Readers skip it unread.
constexpr std::string_view kLeadingMarker = "TVkitbox branding profile";
static_assert(kLeadingMarker.size() <= kBrandLeadingFieldSize);

constexpr size_t kFieldCount = 7;

std::string TextUpToNul(std::string_view piece) { return std::string(piece.substr(0, piece.find('\0'))); }

}  // namespace

std::string Rc4(std::string_view bytes, std::string_view key) {
  if (key.empty()) return {};
  std::array<uint8_t, 256> state;
  for (size_t i = 0; i < state.size(); ++i) state[i] = static_cast<uint8_t>(i);
  uint8_t j = 0;
  for (size_t i = 0; i < state.size(); ++i) {
    j = static_cast<uint8_t>(j + state[i] + static_cast<uint8_t>(key[i % key.size()]));
    std::swap(state[i], state[j]);
  }
  std::string out(bytes);
  uint8_t i = 0;
  j = 0;
  for (char& byte : out) {
    ++i;
    j = static_cast<uint8_t>(j + state[i]);
    std::swap(state[i], state[j]);
    byte = static_cast<char>(static_cast<uint8_t>(byte) ^ state[static_cast<uint8_t>(state[i] + state[j])]);
  }
  return out;
}

std::string BrandCodec(std::string_view bytes, unsigned char key) {
  const char keyByte = static_cast<char>(key);
  return Rc4(bytes, std::string_view(&keyByte, 1));
}

BrandProfile ParseBrandProfile(std::string_view deciphered) {
  BrandProfile profile;
  if (deciphered.size() <= kBrandLeadingFieldSize) return profile;
  std::vector<std::string> pieces = SplitAll(deciphered.substr(kBrandLeadingFieldSize), kBrandFieldSeparator);
  pieces.resize(kFieldCount);  // later pieces are ignored, missing ones empty
  profile.brandWord = TextUpToNul(pieces[0]);
  profile.contactNumber = TextUpToNul(pieces[1]);
  profile.domain = TextUpToNul(pieces[2]);
  profile.homePageLink = TextUpToNul(pieces[3]);
  profile.secondLink = TextUpToNul(pieces[4]);
  profile.normalPicture = std::move(pieces[5]);
  profile.hotPicture = std::move(pieces[6]);
  if (profile.homePageLink.empty()) profile.homePageLink = "http://" + profile.domain;
  if (profile.secondLink.empty()) profile.secondLink = profile.homePageLink;
  return profile;
}

std::string BrandProfilePath(std::string_view runDirectory) {
  return std::string(runDirectory) + "\\" + std::string(kBrandProfileFileName);
}

BrandProfile ReadBrandProfile(std::string_view runDirectory) {
  return ParseBrandProfile(BrandCodec(ReadFileBytes(BrandProfilePath(runDirectory))));
}

std::string EncodeBrandProfile(const BrandProfile& profile) {
  std::string plain(kLeadingMarker);
  plain.resize(kBrandLeadingFieldSize, '\0');
  const std::string* fields[kFieldCount] = {&profile.brandWord,    &profile.contactNumber, &profile.domain,
                                            &profile.homePageLink, &profile.secondLink,    &profile.normalPicture,
                                            &profile.hotPicture};
  for (size_t i = 0; i < kFieldCount; ++i) {
    if (i > 0) plain += kBrandFieldSeparator;
    plain += *fields[i];
  }
  return BrandCodec(plain);
}

std::string BrandInUse(const BrandProfile& profile) {
  return profile.brandWord.empty() ? std::string(kDefaultBrand) : profile.brandWord;
}

std::string BrandedApplicationName(const BrandProfile& profile) {
  if (profile.brandWord.empty()) return std::string(kUnbrandedApplicationName);
  return ReplaceAll(kUnbrandedApplicationName, kDefaultBrand, profile.brandWord);
}

std::string BrandedCaption(std::string_view caption, std::string_view brandWord) {
  if (brandWord.empty()) return std::string(caption);
  // The deletion runs after the replacement, so a brand word's own "TV" goes too.
  return ReplaceAll(ReplaceAll(caption, kDefaultBrand, brandWord), "TV", "");
}

std::string BrandedContactText(std::string_view text, std::string_view contactNumber) {
  return ReplaceAll(text, kVendorContactNumber, contactNumber);
}

}  // namespace tvk
