#include "Console.h"

#include <iconv.h>

#include <cerrno>

namespace tvk::tool {

namespace {

// A strict iconv conversion of all of `in`: false on any byte sequence that
// the source charset does not hold or the target charset cannot write.
bool Convert(const char* to, const char* from, std::string_view in, std::string& out) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  out.assign(in.size() * 2 + 16, '\0');
  char* inPtr = const_cast<char*>(in.data());
  size_t inLeft = in.size();
  size_t used = 0;
  bool ok = true;
  for (bool flushing = false;;) {
    char* outPtr = out.data() + used;
    size_t outLeft = out.size() - used;
    size_t result = flushing ? iconv(cd, nullptr, nullptr, &outPtr, &outLeft)
                             : iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    int error = errno;
    used = out.size() - outLeft;
    if (result == static_cast<size_t>(-1)) {
      if (error == E2BIG) {
        out.resize(out.size() * 2);
        continue;
      }
      ok = false;
      break;
    }
    if (result != 0) {  // an irreversible substitute was written
      ok = false;
      break;
    }
    if (flushing) break;
    flushing = true;
  }
  iconv_close(cd);
  out.resize(ok ? used : 0);
  return ok;
}

}  // namespace

bool BoxTextArguments(int argc, char** argv, std::vector<std::string>& args) {
  args.clear();
  for (int i = 1; i < argc; ++i) {
    std::string text;
    if (!Convert("GBK", "UTF-8", argv[i], text)) return false;
    args.push_back(std::move(text));
  }
  return true;
}

void WriteBoxText(std::FILE* stream, std::string_view text) {
  std::string utf8;
  // Text that is not GBK (it can quote a file name's raw bytes) goes out as it is.
  std::string_view shown = Convert("UTF-8", "GBK", text, utf8) ? std::string_view(utf8) : text;
  std::fwrite(shown.data(), 1, shown.size(), stream);
  std::fflush(stream);
}

}  // namespace tvk::tool
