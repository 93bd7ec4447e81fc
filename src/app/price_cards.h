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

// Composes every card in turn (the work read once): card(row, composition) for each card
// that could be composed, row 0-based; it may return false to stop. When the work cannot be
// composed at all, no card comes and the run's one error (row 0) says why; objects of the work
// that cannot be drawn are left out of every card and named once, with row 0.
CardRun ComposeCards(const std::string& worksFolder, const std::string& work,
                     const ProductList& list,
                     const std::function<bool(int row, const SavedWorkComposition&)>& card);

// Prints every card, one page each (`copies` pages of each), with the request's copies,
// centring and title, in one document. The orientation follows the work's own page mode
// (base.pageMode is not used); base.drawnSize, when not empty, is the size drawn (the
// reduction: see ReducedSize), else the whole page. progress(done, total) is called after each
// card and may return false to stop. A print that fails is reported with row 0, and so are
// the objects left out, as ComposeCards reports them.
CardRun PrintCards(PrintDevice& device, const std::string& worksFolder, const std::string& work,
                   const ProductList& list, const PrintRequest& base,
                   const std::function<bool(int, int)>& progress);

}  // namespace pb
