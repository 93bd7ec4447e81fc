#pragma once
// Price cards: a saved work as the template, one card per row of a product list. In the
// work's text objects (plain and decorated) "{name}" or the full-width "｛name｝" stands for the
// field of column `name`; a text object whose whole text is "{JAN:name}" becomes that
// column's EAN-13 or EAN-8 drawn into the object's box, "{QR:name}" a QR code (level M, the
// smallest version that holds it) fitted into the box. Text that no longer fits its box is
// shrunk as the keyboard shrinks an object's text. The template work is never changed: each
// card is composed from its own scratch copy of the objects.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/printing.h"
#include "app/product_list.h"

namespace pb {

struct CardError {
    int row;             // 1-based data row of the list
    std::string column;  // the column the field names
    std::string message;
};

struct CardRun {
    std::vector<CardError> errors;
    int cardsMade = 0;
};

// Composes card `row` (0-based) of the list from the work: the same ComposedPage printing
// uses. A field naming a missing column, or a JAN of a wrong length or check digit, is added
// to `errors` and that field is left empty on the card. Nothing, with `error` set, when the
// work cannot be composed at all (missing, unreadable page) or `row` is out of range.
std::optional<SavedWorkComposition> ComposeCard(const std::string& worksFolder,
                                                const std::string& work, const ProductList& list,
                                                int row, std::vector<CardError>& errors,
                                                std::string& error);

// Prints every card, one page each (`copies` pages of each), with the request's copies,
// centring and reduction (base.drawnSize is taken as the reduced size of the work's page;
// base.pageMode as the work's). progress(done, total) is called after each card and may
// return false to stop. A card that cannot be composed is reported in the errors with an empty
// column; a print that fails is reported with row 0.
CardRun PrintCards(PrintDevice& device, const std::string& worksFolder, const std::string& work,
                   const ProductList& list, const PrintRequest& base,
                   const std::function<bool(int, int)>& progress);

}  // namespace pb
