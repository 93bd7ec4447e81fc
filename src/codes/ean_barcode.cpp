#include "codes/ean_barcode.h"

#include <algorithm>

namespace pb {

const char kEanFallbackPattern[] =
    "101000110100011010001101000110100011010001101010101110010111001011100101110010111001011100"
    "101010";

namespace {

// ISO/IEC 15420 code sets, 7 modules per digit.
constexpr const char* kSetA[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                   "0110001", "0101111", "0111011", "0110111", "0001011"};
constexpr const char* kSetB[10] = {"0100111", "0110011", "0011011", "0100001", "0011101",
                                   "0111001", "0000101", "0010001", "0001001", "0010111"};
constexpr const char* kSetC[10] = {"1110010", "1100110", "1101100", "1000010", "1011100",
                                   "1001110", "1010000", "1000100", "1001000", "1110100"};
// Set of each left digit of EAN-13 by the first digit: '1' set A, '0' set B.
constexpr const char* kParity[10] = {"111111", "110100", "110010", "110001", "101100",
                                     "100110", "100011", "101010", "101001", "100101"};

bool AllDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::string EanCheck13(std::string_view digits) {
    if (digits.size() != 12 || !AllDigits(digits)) return kEanFallbackText;
    int s = 0;
    for (int i = 0; i < 12; ++i) s += (digits[i] - '0') * (i % 2 ? 3 : 1);
    return std::string(digits) + std::to_string(10 - s % 10).back();
}

std::string EanCheck8(std::string_view digits) {
    if (digits.size() != 7 || !AllDigits(digits)) return "00000000";
    int s = 0;
    for (int i = 0; i < 7; ++i) s += (digits[i] - '0') * (i % 2 ? 1 : 3);
    return std::string(digits) + std::to_string(s / 10 * 10 - s + 10).back();
}

std::string EanPattern(std::string_view code) {
    const std::size_t n = code.size();
    if ((n != 8 && n != 13) || !AllDigits(code)) return kEanFallbackPattern;
    auto digit = [&code](std::size_t i) { return code[i] - '0'; };
    std::string p = "101";
    if (n == 13) {
        const char* parity = kParity[digit(0)];
        for (std::size_t k = 0; k < 6; ++k)
            p += parity[k] == '1' ? kSetA[digit(1 + k)] : kSetB[digit(1 + k)];
    } else {
        for (std::size_t k = 0; k < 4; ++k) p += kSetA[digit(k)];
    }
    p += "01010";
    for (std::size_t k = n / 2 + (n == 13 ? 1 : 0); k < n; ++k) p += kSetC[digit(k)];
    p += "1010";
    return p;
}

void DrawEan(Canvas& canvas, std::string_view code, int left, int moduleWidth, int height,
             int availableWidth, int top) {
    const std::string pattern = EanPattern(code);
    const std::string text = pattern == kEanFallbackPattern ? kEanFallbackText : std::string(code);
    canvas.font.sizePoints = 8;
    canvas.font.bold = false;
    canvas.font.italic = false;
    const int barHeight = height * 2 / 3;

    canvas.TextOut(std::max(left, left + (availableWidth - canvas.TextWidth(text)) / 2),
                   top + barHeight, text);

    const int total = static_cast<int>(pattern.size()) * moduleWidth;
    int x = std::max(left, left + (availableWidth - total) / 2);
    for (const char c : pattern) {
        if (c == '1' && barHeight > 0) {
            for (int k = 0; k < moduleWidth; ++k) {
                canvas.MoveTo(x + k, top);
                canvas.LineTo(x + k, top + barHeight);
            }
        }
        x += moduleWidth;
    }
}

}  // namespace pb
