#pragma once
// The list of installed screen fonts, in a stable order, as object records index it.

#include <string>
#include <vector>

namespace pb {

// Family names (UTF-8) of the installed fonts, sorted as the font database lists them.
// Read once per run.
const std::vector<std::string>& InstalledFonts();

// The family an object record's font index names: indices past the end give the last font,
// below zero the first; empty without fonts.
std::string FontNameForIndex(const std::vector<std::string>& fonts, int index);

}  // namespace pb
