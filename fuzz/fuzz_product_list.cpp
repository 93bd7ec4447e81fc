// A product list (CSV, UTF-8 or CP932) as the price cards read it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/product_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pb::ProductList list;
    std::string error;
    const auto status = pb::ParseProductList(
        std::string_view(reinterpret_cast<const char*>(data), size), list, error);
    if (status != pb::ProductListStatus::Ok) {
        if (error.empty() || !list.columns.empty() || !list.rows.empty()) __builtin_trap();
        return 0;
    }
    if (list.columns.empty()) __builtin_trap();
    // Every field a card may ask for, past the row's end too.
    for (int row = 0; row < static_cast<int>(list.rows.size()); ++row)
        for (int column = 0; column <= static_cast<int>(list.columns.size()); ++column)
            (void)pb::ProductField(list, row, column);
    return 0;
}
