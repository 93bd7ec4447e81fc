#pragma once
// Dictionaries for the text-entry tests: small DicData written by a test.

#include <string>

#include "support/test_support.h"

namespace pb::test {

// Writes DicData/<name> under `folder` from UTF-8 lines (stored CP932 with CR LF).
void WriteDicData(const std::string& folder, const std::string& name, const std::string& utf8);

std::string Cp(std::string_view utf8);    // UTF-8 -> CP932
std::string Utf(std::string_view cp932);  // CP932 -> UTF-8

}  // namespace pb::test
