#include "app/product_list.h"

#include <csv.h>

#include <algorithm>

#include "platform/file_service.h"
#include "platform/text_codec.h"

namespace pb {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        int trail;
        unsigned char low = 0x80, high = 0xBF;  // the range of the first trail byte
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            trail = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            trail = 2;
            if (b == 0xE0) low = 0xA0;
            if (b == 0xED) high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            trail = 3;
            if (b == 0xF0) low = 0x90;
            if (b == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (bytes.size() - i <= static_cast<std::size_t>(trail)) return false;
        for (int k = 1; k <= trail; ++k) {
            const auto t = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if (t < (k == 1 ? low : 0x80) || t > (k == 1 ? high : 0xBF)) return false;
        }
        i += static_cast<std::size_t>(trail) + 1;
    }
    return true;
}

// The rows libcsv hands over, field by field.
struct Collector {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
};

void OnField(void* field, std::size_t size, void* data) {
    auto* c = static_cast<Collector*>(data);
    c->row.emplace_back(field ? static_cast<const char*>(field) : "", field ? size : 0);
}

void OnRowEnd(int, void* data) {
    auto* c = static_cast<Collector*>(data);
    c->rows.push_back(std::move(c->row));
    c->row.clear();
}

bool AllEmpty(const std::vector<std::string>& fields) {
    for (const std::string& f : fields)
        if (!f.empty()) return false;
    return true;
}

}  // namespace

ProductListStatus ParseProductList(std::string_view bytes, ProductList& out, std::string& error) {
    out = {};
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) bytes.remove_prefix(kUtf8Bom.size());
    // CP932 trail bytes never take the values of a quote, a comma or a line break, so the
    // whole text can be made UTF-8 before it is cut into fields.
    const std::string text = IsValidUtf8(bytes) ? std::string(bytes) : Cp932ToUtf8(bytes);

    csv_parser parser;
    // Strict: a quote inside an unquoted field, or text after a closing quote, is refused
    // rather than guessed at; so is a quoted field still open at the end.
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
        error = "no memory for the product list";
        return ProductListStatus::Unreadable;
    }
    Collector collected;
    const std::size_t parsed =
        csv_parse(&parser, text.data(), text.size(), OnField, OnRowEnd, &collected);
    const bool finished = parsed == text.size() && csv_fini(&parser, OnField, OnRowEnd, &collected) == 0;
    const int csvError = csv_error(&parser);
    csv_free(&parser);
    if (!finished) {
        if (csvError != CSV_EPARSE) {
            error = std::string("the product list cannot be read: ") + csv_strerror(csvError);
            return ProductListStatus::Unreadable;
        }
        const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<long>(parsed), '\n');
        error = parsed == text.size()
                    ? "a quoted field is not closed by the end of the file"
                    : "line " + std::to_string(line) + ": a quote where a spreadsheet writes none";
        return ProductListStatus::BadCsv;
    }

    auto& rows = collected.rows;
    std::size_t first = 0;
    while (first < rows.size() && AllEmpty(rows[first])) ++first;
    if (first == rows.size()) {
        error = "the product list has no header row";
        return ProductListStatus::Empty;
    }
    ProductList list;
    list.columns = std::move(rows[first]);
    for (std::size_t r = first + 1; r < rows.size(); ++r)
        if (!AllEmpty(rows[r])) list.rows.push_back(std::move(rows[r]));
    out = std::move(list);
    return ProductListStatus::Ok;
}

ProductListStatus ReadProductList(const std::string& path, ProductList& out, std::string& error) {
    out = {};
    const auto bytes = Files().ReadBytes(path);
    if (!bytes) {
        error = Files().FileExists(path) ? path + ": cannot be read" : path + ": no such file";
        return ProductListStatus::Unreadable;
    }
    const ProductListStatus status = ParseProductList(*bytes, out, error);
    if (status != ProductListStatus::Ok) error = path + ": " + error;
    return status;
}

int ProductColumn(const ProductList& list, std::string_view name) {
    for (std::size_t i = 0; i < list.columns.size(); ++i)
        if (list.columns[i] == name) return static_cast<int>(i);
    return -1;
}

const std::string& ProductField(const ProductList& list, int row, int column) {
    static const std::string empty;
    if (row < 0 || column < 0 || static_cast<std::size_t>(row) >= list.rows.size()) return empty;
    const auto& fields = list.rows[static_cast<std::size_t>(row)];
    return static_cast<std::size_t>(column) < fields.size() ? fields[static_cast<std::size_t>(column)]
                                                              : empty;
}

}  // namespace pb
