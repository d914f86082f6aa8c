#include "util/PosixPath.h"

#include "util/Gbk.h"

namespace tvk {

std::string PosixPath(std::string_view path) {
  std::string out(path);
  for (size_t at = 0; at < out.size(); at += GbkCharLength(out, at))
    if (out[at] == '\\') out[at] = '/';
  return out;
}

}  // namespace tvk
