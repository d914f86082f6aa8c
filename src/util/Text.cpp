#include "util/Text.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>

namespace tvk {

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  size_t at = 0;
  for (size_t hit; (hit = text.find(from, at)) != std::string_view::npos; at = hit + from.size()) {
    out.append(text.substr(at, hit - at));
    out.append(to);
  }
  out.append(text.substr(at));
  return out;
}

std::vector<std::string> SplitAll(std::string_view text, std::string_view separator) {
  std::vector<std::string> pieces;
  if (separator.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  size_t at = 0;
  for (size_t hit; (hit = text.find(separator, at)) != std::string_view::npos; at = hit + separator.size())
    pieces.emplace_back(text.substr(at, hit - at));
  pieces.emplace_back(text.substr(at));
  return pieces;
}

std::string NumberText(double value) {
  if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 9e15)
    return std::to_string(static_cast<long long>(value));
  char buf[64];
  auto result = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, result.ptr);
}

double ParseNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return 0;
  // An exponent counts only when digits follow it ("1e" is the number 1).
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    size_t expStart = j;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
    if (j > expStart) i = j;
  }
  std::string_view number = text.substr(start, i - start);
  if (!number.empty() && number[0] == '+') number.remove_prefix(1);
  double value = 0;
  auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range)
    return number[0] == '-' ? -HUGE_VAL : HUGE_VAL;
  return result.ec == std::errc() ? value : 0;
}

int TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace tvk
