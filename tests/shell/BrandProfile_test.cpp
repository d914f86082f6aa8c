#include "shell/BrandProfile.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "brand-profile/BrandProfileTool.h"
#include "support/TempDir.h"
#include "util/FileIo.h"
#include "util/Text.h"

namespace tvk {
namespace {

using namespace std::string_literals;

std::string FromHex(std::string_view hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  return bytes;
}

// The deciphered form of a profile: a 40-byte leading field, then `fields`.
std::string Deciphered(std::string_view fields) { return std::string(40, 'L') + std::string(fields); }

BrandProfile Profile(std::string brand, std::string contact, std::string domain, std::string home, std::string second,
                     std::string normal = {}, std::string hot = {}) {
  return BrandProfile{std::move(brand), std::move(contact), std::move(domain), std::move(home),
                      std::move(second), std::move(normal),  std::move(hot)};
}

void ExpectProfile(const BrandProfile& got, const BrandProfile& want, std::string_view label) {
  EXPECT_EQ(got.brandWord, want.brandWord) << label;
  EXPECT_EQ(got.contactNumber, want.contactNumber) << label;
  EXPECT_EQ(got.domain, want.domain) << label;
  EXPECT_EQ(got.homePageLink, want.homePageLink) << label;
  EXPECT_EQ(got.secondLink, want.secondLink) << label;
  EXPECT_EQ(got.normalPicture, want.normalPicture) << label;
  EXPECT_EQ(got.hotPicture, want.hotPicture) << label;
}

//--- The codec -------------------------------------------------------------------

TEST(BrandCodec, Rc4MatchesPublishedVectors) {
  // The usual RC4 examples (key, plaintext, ciphertext in hex).
  struct Case { const char* key; const char* plain; const char* cipherHex; };
  const Case cases[] = {
      {"Key", "Plaintext", "bbf316e8d940af0ad3"},
      {"Wiki", "pedia", "1021bf0420"},
      {"Secret", "Attack at dawn", "45a01f645fc35b383552544b9bf5"},
  };
  for (const Case& c : cases) EXPECT_EQ(Rc4(c.plain, c.key), FromHex(c.cipherHex)) << c.key;
  EXPECT_EQ(Rc4("abc", ""), "");
}

TEST(BrandCodec, OneByteKeyOfTheBoxGivesTheReferenceKeystream) {
  // Computed outside this code base: Python's cryptography package (ARC4) and
  // `openssl enc -rc4-40 -K 6b6b6b6b6b -provider legacy`, both with the key byte
  // 0x6B repeated five times, which schedules exactly like the one-byte key.
  // A different result means a broken cipher or a changed key, and a changed
  // key makes every profile already written unreadable.
  EXPECT_EQ(BrandCodec(std::string(16, '\0')), FromHex("6fe2a051c7cfa68e9b66e4bef6c04143"));
  EXPECT_EQ(BrandCodec("Plaintext"), FromHex("3f8ec138a9bbc3f6ef"));
  EXPECT_EQ(BrandCodec("Plaintext", 0x6B), BrandCodec("Plaintext"));
  EXPECT_NE(BrandCodec("Plaintext", 0x6C), BrandCodec("Plaintext"));
}

TEST(BrandCodec, EmptyInputAndItsOwnInverse) {
  EXPECT_EQ(BrandCodec(""), "");
  std::string allBytes;
  for (int round = 0; round < 3; ++round)  // longer than the 256-byte state
    for (int b = 0; b < 256; ++b) allBytes.push_back(static_cast<char>(b));
  const std::string inputs[] = {"x", "\0\0\0"s, "品牌[#Tavrel#]123", allBytes};
  for (const std::string& input : inputs) {
    std::string enciphered = BrandCodec(input);
    EXPECT_EQ(enciphered.size(), input.size());
    EXPECT_NE(enciphered, input);
    EXPECT_EQ(BrandCodec(enciphered), input);
  }
}

//--- Reading the fields ----------------------------------------------------------

TEST(ParseBrandProfile, FieldsDefaultsAndCuts) {
  struct Case { const char* label; std::string deciphered; BrandProfile want; };
  const Case cases[] = {
      {"empty", "", Profile("", "", "", "", "")},
      {"exactly 40 bytes", std::string(30, 'x') + "[#Tavrel#]", Profile("", "", "", "", "")},
      {"41 bytes", Deciphered("A"), Profile("A", "", "", "http://", "http://")},
      {"only two fields", Deciphered("品牌[#Tavrel#]123"), Profile("品牌", "123", "", "http://", "http://")},
      {"separator in the leading field", std::string(30, 'x') + "[#Tavrel#]" + "品牌[#Tavrel#]9",
       Profile("品牌", "9", "", "http://", "http://")},
      {"home from domain, second from home", Deciphered("A[#Tavrel#]1[#Tavrel#]a.cn"),
       Profile("A", "1", "a.cn", "http://a.cn", "http://a.cn")},
      {"second from a given home", Deciphered("A[#Tavrel#]1[#Tavrel#]a.cn[#Tavrel#]https://h/"),
       Profile("A", "1", "a.cn", "https://h/", "https://h/")},
      {"both links given", Deciphered("A[#Tavrel#]1[#Tavrel#]a.cn[#Tavrel#]https://h/[#Tavrel#]https://s/"),
       Profile("A", "1", "a.cn", "https://h/", "https://s/")},
      {"NUL cuts a text field",
       Deciphered("品\0牌[#Tavrel#]12\0 3[#Tavrel#]a.cn\0x[#Tavrel#]\0http://h[#Tavrel#]s\0"s),
       Profile("品", "12", "a.cn", "http://a.cn", "s")},
      {"pictures raw with NULs, later pieces ignored",
       Deciphered("A[#Tavrel#][#Tavrel#][#Tavrel#][#Tavrel#][#Tavrel#]\x89PNG\0\0\x01[#Tavrel#]\0hot\0[#Tavrel#]more"s),
       Profile("A", "", "", "http://", "http://", "\x89PNG\0\0\x01"s, "\0hot\0"s)},
  };
  for (const Case& c : cases) ExpectProfile(ParseBrandProfile(c.deciphered), c.want, c.label);
}

TEST(BrandProfile, BrandInUseAndApplicationName) {
  struct Case { BrandProfile profile; const char* brandInUse; const char* applicationName; };
  const Case cases[] = {
      {Profile("", "", "", "", ""), "Tavrel", "Tavrel·软件盒子"},
      // A contact number without a brand word brands nothing.
      {Profile("", "123", "a.cn", "http://a.cn", "http://a.cn"), "Tavrel", "Tavrel·软件盒子"},
      {Profile("Acme", "", "", "", ""), "Acme", "Acme·软件盒子"},
      {Profile("品牌TV", "", "", "", ""), "品牌TV", "品牌TV·软件盒子"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BrandInUse(c.profile), c.brandInUse);
    EXPECT_EQ(BrandedApplicationName(c.profile), c.applicationName);
  }
}

//--- Texts of the main window ----------------------------------------------------

TEST(BrandProfile, CaptionLosesEveryTVAfterTheReplacement) {
  const std::string design = "Tavrel·软件盒子(TVkitbox) v1.0.9.1";
  struct Case { const char* brand; const char* want; };
  const Case cases[] = {
      {"", "Tavrel·软件盒子(TVkitbox) v1.0.9.1"},
      {"Acme", "Acme·软件盒子(kitbox) v1.0.9.1"},
      {"品牌", "品牌·软件盒子(kitbox) v1.0.9.1"},
      {"MyTV", "My·软件盒子(kitbox) v1.0.9.1"},
      {"TTVV", "TV·软件盒子(kitbox) v1.0.9.1"},  // one pass, no re-scan of what is left
      {"TavrelTV", "Tavrel·软件盒子(kitbox) v1.0.9.1"},
  };
  for (const Case& c : cases) EXPECT_EQ(BrandedCaption(design, c.brand), c.want) << c.brand;
}

TEST(BrandProfile, ContactNumberReplacesTheVendorsInCaptionAndChatAddress) {
  const std::string address = "http://wpa.qq.com/msgrd?v=3&uin=506112374&site=qq&menu=yes";
  EXPECT_EQ(BrandedContactText(address, "123456"), "http://wpa.qq.com/msgrd?v=3&uin=123456&site=qq&menu=yes");
  EXPECT_EQ(BrandedContactText(address, ""), "http://wpa.qq.com/msgrd?v=3&uin=&site=qq&menu=yes");
  EXPECT_EQ(BrandedContactText("506112374", ""), "");
  EXPECT_EQ(BrandedContactText("QQ 506112374 / 506112374", "9"), "QQ 9 / 9");
}

//--- Writing and reading the file ------------------------------------------------

TEST(BrandProfileFile, EncodedLayoutIsLeadingFieldThenJoinedFields) {
  BrandProfile profile = Profile("品牌", "123", "a.cn", "http://h", "http://s", "N\0"s, "H");
  std::string plain = BrandCodec(EncodeBrandProfile(profile));
  ASSERT_GT(plain.size(), 40u);
  EXPECT_EQ(plain.substr(40),
            "品牌[#Tavrel#]123[#Tavrel#]a.cn[#Tavrel#]http://h[#Tavrel#]http://s[#Tavrel#]N\0[#Tavrel#]H"s);
}

TEST(BrandProfileFile, RoundTripThroughTheRunDirectory) {
  test::TempDir dir;
  // A run directory with a Chinese name: the path is box text.
  const std::string runDirectory = dir.File("盒子");
  ASSERT_TRUE(CreateFolder(runDirectory));
  ExpectProfile(ReadBrandProfile(runDirectory), BrandProfile{}, "no file");

  std::string picture;
  for (int b = 0; b < 256; ++b) picture.push_back(static_cast<char>(b));
  struct Case { const char* label; BrandProfile written; BrandProfile read; };
  const Case cases[] = {
      {"all fields", Profile("品牌", "123", "a.cn", "http://h", "http://s", picture, "\0hot"s),
       Profile("品牌", "123", "a.cn", "http://h", "http://s", picture, "\0hot"s)},
      {"links left to the reader", Profile("品牌", "123", "a.cn", "", ""),
       Profile("品牌", "123", "a.cn", "http://a.cn", "http://a.cn")},
      {"all empty", Profile("", "", "", "", ""), Profile("", "", "", "http://", "http://")},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(WriteFileBytes(BrandProfilePath(runDirectory), EncodeBrandProfile(c.written)));
    ExpectProfile(ReadBrandProfile(runDirectory), c.read, c.label);
  }

  const std::string cut = EncodeBrandProfile(Profile("A", "", "", "", "")).substr(0, 40);
  ASSERT_TRUE(WriteFileBytes(BrandProfilePath(runDirectory), cut));
  ExpectProfile(ReadBrandProfile(runDirectory), BrandProfile{}, "cut to 40 bytes");
}

//--- The reseller tool's core ------------------------------------------------------

class BrandProfileTool : public ::testing::Test {
 protected:
  std::string Picture(const std::string& name, const std::string& bytes) {
    std::string path = dir_.File(name);
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    return path;
  }
  std::string Out() const { return BrandProfilePath(dir_.path()); }

  test::TempDir dir_;
};

TEST_F(BrandProfileTool, WritesWhatTheBoxReads) {
  const std::string normal = Picture("普通.png", "\x89PNG\r\n\x1a\n\0\0normal"s);
  const std::string hot = Picture("hot.png", "\x89PNG\r\n\x1a\n\0\0hot"s);
  tool::ToolResult result = tool::RunBrandProfileTool({"--out", Out(), "--brand", "品牌", "--contact", "123",
                                                       "--domain", "example.com", "--picture", normal,
                                                       "--hot-picture", hot, "--second", "http://s/"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  ExpectProfile(ReadBrandProfile(dir_.path()),
                Profile("品牌", "123", "example.com", "http://example.com", "http://s/",
                        "\x89PNG\r\n\x1a\n\0\0normal"s, "\x89PNG\r\n\x1a\n\0\0hot"s),
                "tool");

  tool::ToolResult decoded = tool::RunBrandProfileTool({"--decode", Out()});
  EXPECT_EQ(decoded.exitCode, 0) << decoded.err;
  for (const char* shown : {"品牌", "123", "example.com", "http://example.com", "http://s/", "16 bytes", "13 bytes"})
    EXPECT_TRUE(Contains(decoded.out, shown)) << shown << "\n" << decoded.out;
}

TEST_F(BrandProfileTool, RefusesWhatTheBoxCouldNotReadBack) {
  const std::string good = Picture("good.png", "png");
  const std::string split = Picture("split.png", "pn[#Tavrel#]g");
  const std::string empty = Picture("empty.png", "");
  const std::string out = Out();
  struct Case { const char* label; std::vector<std::string> args; };
  const std::vector<Case> cases = {
      {"no arguments", {}},
      {"missing --out", {"--brand", "A", "--contact", "1", "--domain", "a.cn"}},
      {"missing --brand", {"--out", out, "--contact", "1", "--domain", "a.cn"}},
      {"empty --brand", {"--out", out, "--brand", "", "--contact", "1", "--domain", "a.cn"}},
      {"missing --contact", {"--out", out, "--brand", "A", "--domain", "a.cn"}},
      {"missing --domain", {"--out", out, "--brand", "A", "--contact", "1"}},
      {"unknown option", {"--out", out, "--brand", "A", "--contact", "1", "--domain", "a.cn", "--colour", "red"}},
      {"option without value", {"--brand", "A", "--contact", "1", "--domain", "a.cn", "--out"}},
      {"option twice", {"--out", out, "--brand", "A", "--brand", "B", "--contact", "1", "--domain", "a.cn"}},
      {"separator in a text", {"--out", out, "--brand", "A[#Tavrel#]B", "--contact", "1", "--domain", "a.cn"}},
      {"NUL in a text", {"--out", out, "--brand", "A", "--contact", "1\0" "2"s, "--domain", "a.cn"}},
      {"missing picture", {"--out", out, "--brand", "A", "--contact", "1", "--domain", "a.cn", "--picture",
                           dir_.File("none.png")}},
      {"empty picture", {"--out", out, "--brand", "A", "--contact", "1", "--domain", "a.cn", "--picture", empty}},
      {"separator in a picture", {"--out", out, "--brand", "A", "--contact", "1", "--domain", "a.cn", "--picture",
                                  good, "--hot-picture", split}},
      {"decode with other options", {"--decode", out, "--brand", "A"}},
      {"decode of a missing file", {"--decode", dir_.File("none.rc")}},
      {"unwritable output", {"--out", dir_.File("no-such-folder") + "\\tavrel.rc", "--brand", "A", "--contact", "1",
                             "--domain", "a.cn"}},
  };
  for (const Case& c : cases) {
    tool::ToolResult result = tool::RunBrandProfileTool(c.args);
    EXPECT_EQ(result.exitCode, 1) << c.label;
    EXPECT_FALSE(result.err.empty()) << c.label;
    EXPECT_FALSE(FileExists(out)) << c.label;
  }

  ASSERT_TRUE(WriteFileBytes(out, std::string(40, 'x')));
  EXPECT_EQ(tool::RunBrandProfileTool({"--decode", out}).exitCode, 1) << "40-byte file";
}

}  // namespace
}  // namespace tvk
