#pragma once
// Turns an SKK dictionary (SKK-JISYO.L and its kind: EUC-JP, one reading per line followed by
// "/candidate/candidate/") into the rows of KANJI.txt. Only okuri-nasi entries are taken, and
// of them only readings made of hiragana (ぁ-ん) and ー. Candidate annotations (";...") are
// dropped, (concat "...") of plain strings is decoded, any other Lisp is skipped, as are
// duplicates and candidates that CP932 cannot hold. Rows keep the dictionary's order.

#include <cstddef>
#include <string>
#include <string_view>

namespace pb {

struct SkkImportStats {
    std::size_t readings = 0;           // readings with at least one row
    std::size_t rows = 0;               // (reading, candidate) rows written
    std::size_t skippedCandidates = 0;  // Lisp, not in CP932, or empty
    std::size_t duplicates = 0;
};

// The whole KANJI.txt (header line included) in CP932 with CR LF line ends.
std::string KanjiTextFromSkk(std::string_view eucJp, SkkImportStats* stats = nullptr);

}  // namespace pb
