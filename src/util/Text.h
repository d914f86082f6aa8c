// Byte-string helpers for the box's code page 936 text. Every comparison here
// is a byte comparison; lengths are byte counts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tvk {

bool Contains(std::string_view text, std::string_view part);

// Replaces every occurrence of `from`, scanning left to right without overlap.
// An empty `from` leaves the text unchanged.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Splits at every occurrence of `separator`; an empty text gives one empty piece.
std::vector<std::string> SplitAll(std::string_view text, std::string_view separator);

// Decimal text of a number: whole numbers without a decimal point, others in
// the shortest form that reads back to the same value.
std::string NumberText(double value);

// The number at the start of `text` (after blanks: sign, digits, an optional
// fraction and exponent). Returns 0 when the text does not start with one.
double ParseNumber(std::string_view text);

// Truncates toward zero into the int range; not-a-number gives 0.
int TruncateToInt(double value);

}  // namespace tvk
