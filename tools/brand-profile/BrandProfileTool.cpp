#include "BrandProfileTool.h"

#include <string_view>
#include <utility>

#include "shell/BrandProfile.h"
#include "util/FileIo.h"
#include "util/Text.h"

namespace tvk::tool {

namespace {

constexpr std::string_view kProgram = "tvk-brand-profile";

// Every option takes a value.
struct Options {
  std::string out, brand, contact, domain, home, second, picture, hotPicture, decode;
  bool hasOut = false, hasBrand = false, hasContact = false, hasDomain = false, hasHome = false,
       hasSecond = false, hasPicture = false, hasHotPicture = false, hasDecode = false;
};

struct OptionSlot {
  std::string_view name;
  std::string Options::*value;
  bool Options::*given;
};

constexpr OptionSlot kSlots[] = {
    {"--out", &Options::out, &Options::hasOut},
    {"--brand", &Options::brand, &Options::hasBrand},
    {"--contact", &Options::contact, &Options::hasContact},
    {"--domain", &Options::domain, &Options::hasDomain},
    {"--home", &Options::home, &Options::hasHome},
    {"--second", &Options::second, &Options::hasSecond},
    {"--picture", &Options::picture, &Options::hasPicture},
    {"--hot-picture", &Options::hotPicture, &Options::hasHotPicture},
    {"--decode", &Options::decode, &Options::hasDecode},
};

ToolResult Refuse(std::string_view why) {
  ToolResult result;
  result.exitCode = 1;
  result.err = std::string(kProgram) + ": " + std::string(why) + "\n";
  return result;
}

ToolResult RefuseWithUsage(std::string_view why) {
  ToolResult result = Refuse(why);
  result.err += BrandProfileToolUsage();
  return result;
}

// Empty when the arguments parse; otherwise why they do not.
std::string ParseOptions(const std::vector<std::string>& args, Options& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    const OptionSlot* slot = nullptr;
    for (const OptionSlot& candidate : kSlots)
      if (args[i] == candidate.name) slot = &candidate;
    if (!slot) return "unknown argument \"" + args[i] + "\"";
    if (options.*slot->given) return std::string(slot->name) + " is given twice";
    if (i + 1 >= args.size()) return std::string(slot->name) + " needs a value";
    options.*slot->value = args[++i];
    options.*slot->given = true;
  }
  return {};
}

// Empty when the text field can be carried by a profile; otherwise why not.
std::string CheckTextField(std::string_view option, std::string_view text) {
  if (Contains(text, kBrandFieldSeparator))
    return std::string(option) + " must not contain " + std::string(kBrandFieldSeparator);
  if (Contains(text, std::string_view("\0", 1))) return std::string(option) + " must not contain a NUL character";
  return {};
}

// Reads a picture file into `bytes`. Empty when it can be used; otherwise why not.
std::string LoadPicture(std::string_view option, std::string_view path, std::string& bytes) {
  if (!FileExists(path)) return std::string(option) + ": cannot read \"" + std::string(path) + "\"";
  bytes = ReadFileBytes(path);
  if (bytes.empty()) return std::string(option) + ": \"" + std::string(path) + "\" is empty or unreadable";
  // The box splits the file at every separator, pictures included.
  if (Contains(bytes, kBrandFieldSeparator))
    return std::string(option) + ": \"" + std::string(path) + "\" contains the bytes " +
           std::string(kBrandFieldSeparator) + ", which a profile cannot carry";
  return {};
}

ToolResult Decode(std::string_view path) {
  std::string bytes = ReadFileBytes(path);
  if (bytes.empty()) return Refuse("cannot read \"" + std::string(path) + "\" (missing, empty or unreadable)");
  if (bytes.size() <= kBrandLeadingFieldSize)
    return Refuse("\"" + std::string(path) + "\" is too short: the box reads no field from it");
  BrandProfile profile = ParseBrandProfile(BrandCodec(bytes));
  ToolResult result;
  result.out = "brand word:     " + profile.brandWord + "\n" +
               "contact number: " + profile.contactNumber + "\n" +
               "domain:         " + profile.domain + "\n" +
               "home page link: " + profile.homePageLink + "\n" +
               "second link:    " + profile.secondLink + "\n" +
               "normal picture: " + std::to_string(profile.normalPicture.size()) + " bytes\n" +
               "hot picture:    " + std::to_string(profile.hotPicture.size()) + " bytes\n";
  if (profile.brandWord.empty()) result.out += "(no brand word: the box runs unbranded with this profile)\n";
  return result;
}

ToolResult Write(const Options& options) {
  if (!options.hasOut) return RefuseWithUsage("--out is missing");
  if (!options.hasBrand || options.brand.empty())
    return RefuseWithUsage("--brand is missing (without a brand word the box ignores the profile)");
  if (!options.hasContact) return RefuseWithUsage("--contact is missing");
  if (!options.hasDomain) return RefuseWithUsage("--domain is missing");

  BrandProfile profile;
  profile.brandWord = options.brand;
  profile.contactNumber = options.contact;
  profile.domain = options.domain;
  // Links left out stay empty in the file: the box then takes "http://" + domain.
  profile.homePageLink = options.home;
  profile.secondLink = options.second;
  const std::pair<std::string_view, const std::string*> texts[] = {
      {"--brand", &profile.brandWord},   {"--contact", &profile.contactNumber}, {"--domain", &profile.domain},
      {"--home", &profile.homePageLink}, {"--second", &profile.secondLink},
  };
  for (const auto& [option, text] : texts)
    if (std::string why = CheckTextField(option, *text); !why.empty()) return Refuse(why);
  if (options.hasPicture)
    if (std::string why = LoadPicture("--picture", options.picture, profile.normalPicture); !why.empty())
      return Refuse(why);
  if (options.hasHotPicture)
    if (std::string why = LoadPicture("--hot-picture", options.hotPicture, profile.hotPicture); !why.empty())
      return Refuse(why);

  if (!WriteFileBytes(options.out, EncodeBrandProfile(profile)))
    return Refuse("cannot write \"" + options.out + "\"");
  ToolResult result;
  result.out = "wrote " + options.out + "\n";
  if (!options.hasPicture)
    result.out += "note: no --picture: a box with this profile hides its header picture button\n";
  return result;
}

}  // namespace

std::string BrandProfileToolUsage() {
  return "usage:\n"
         "  tvk-brand-profile --out tavrel.rc --brand WORD --contact NUMBER --domain DOMAIN\n"
         "                    [--home URL] [--second URL] [--picture FILE] [--hot-picture FILE]\n"
         "  tvk-brand-profile --decode tavrel.rc\n"
         "Put the written file next to the box as tavrel.rc. Without --home the box uses\n"
         "\"http://\" + DOMAIN; without --second it uses the home-page link.\n";
}

ToolResult RunBrandProfileTool(const std::vector<std::string>& args) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) return {0, BrandProfileToolUsage(), {}};
  if (args.empty()) return RefuseWithUsage("no arguments");
  Options options;
  if (std::string why = ParseOptions(args, options); !why.empty()) return RefuseWithUsage(why);
  if (options.hasDecode) {
    if (args.size() != 2) return RefuseWithUsage("--decode takes no other option");
    return Decode(options.decode);
  }
  return Write(options);
}

}  // namespace tvk::tool
