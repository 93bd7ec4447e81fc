#pragma once
// The product list behind a price-card run: a CSV file with a header row, as spreadsheets
// write it (comma separated, fields quoted where they hold commas, quotes or line breaks,
// quotes doubled inside). Its bytes are UTF-8 when they are valid UTF-8 (a byte-order mark is
// dropped), CP932 otherwise. Inside, every name and field is UTF-8.

#include <string>
#include <string_view>
#include <vector>

namespace pb {

struct ProductList {
    std::vector<std::string> columns;            // the header row
    std::vector<std::vector<std::string>> rows;  // the data rows, each as the file has it
};

enum class ProductListStatus {
    Ok,
    Unreadable,  // the file cannot be read
    Empty,       // no header row (nothing but blank lines)
    BadCsv,      // quotes as no spreadsheet writes them, or a quoted field open at the end
};

// Reads the file at `path`. On anything but Ok, `error` says why (in the program's words) and
// `out` is left empty. Blank lines (and rows of empty fields only) are skipped; a row may have fewer or more fields than the
// header (a missing field reads as empty, see ProductField).
ProductListStatus ReadProductList(const std::string& path, ProductList& out, std::string& error);
// The same over the file's bytes.
ProductListStatus ParseProductList(std::string_view bytes, ProductList& out, std::string& error);

// The index of the column named `name` (the first of equal names), or -1.
int ProductColumn(const ProductList& list, std::string_view name);
// The field of data row `row` (0-based) in column `column`; empty past the row's end.
const std::string& ProductField(const ProductList& list, int row, int column);

}  // namespace pb
