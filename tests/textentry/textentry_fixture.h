#pragma once
// Dictionaries for the text-entry tests: small DicData written by a test, and the real one the
// build makes (KANJI.txt from the SKK dictionary, KIGO.txt), built once per test run.

#include <string>

#include "support/test_support.h"

namespace pb::test {

// Writes DicData/<name> under `folder` from UTF-8 lines (stored CP932 with CR LF).
void WriteDicData(const std::string& folder, const std::string& name, const std::string& utf8);

// The DicData folder beside the built program, or empty when the build made none.
std::string BuiltDicData();
// Why the build's DicData holds no KANJI.txt ("" when it does).
std::string MissingRealDictionary();
// A folder holding DicDB.mdb built once from the build's DicData (do not write into it).
const std::string& SharedDictionaryFolder();

std::string Cp(std::string_view utf8);    // UTF-8 -> CP932
std::string Utf(std::string_view cp932);  // CP932 -> UTF-8

}  // namespace pb::test
