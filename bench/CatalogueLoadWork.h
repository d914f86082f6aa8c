// The store work of a catalogue load, shared by the benchmark and the timing
// harness: a generated catalogue of n products, then the same calls the box
// makes when it loads one.
#pragma once

#include <string>

#include "config/IniText.h"

namespace tvk::bench {

// A catalogue text with the box section and `products` product sections of
// seven keys each, as the vendor's server sends it.
std::string MakeCatalogue(int products);

// Open in memory, set the text, list the product sections and read each
// product's record (a section selection and six reads). Returns the number of
// products read (and a checksum so the work cannot be optimised away).
int LoadCatalogue(const std::string& text, IniText::SearchMode mode, long long* checksum);

// A branded load's edits: every product section renamed, its kind read and,
// for paid products, two values written; the others deleted.
int BrandCatalogue(const std::string& text, IniText::SearchMode mode);

// The settings file's official order: one number per product written to a
// real file, as a bulk update (one file write at the end).
int WriteOfficialOrder(const std::string& path, int products);

}  // namespace tvk::bench
