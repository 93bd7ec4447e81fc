// A DicData source file as the dictionary reads it; every record read is written back and
// must read the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "textentry/dic_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pb::DicTextReader reader(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<std::string> fields;
    std::vector<std::vector<std::string>> records;
    std::size_t last = 0;
    while (reader.Next(fields)) {
        if (reader.position() <= last || reader.position() > size) __builtin_trap();
        last = reader.position();
        // One empty field writes an empty line, which readers skip.
        if (fields.size() == 1 && fields[0].empty()) continue;
        records.push_back(fields);
    }
    if (reader.malformed()) return 0;
    std::string written;
    for (const auto& record : records)
        pb::AppendDicTextRecord(written, std::vector<std::string_view>(record.begin(), record.end()));
    pb::DicTextReader back(written);
    for (const auto& record : records)
        if (!back.Next(fields) || fields != record) __builtin_trap();
    if (back.Next(fields)) __builtin_trap();
    return 0;
}
