#include "platform/text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <mutex>

namespace pb {

namespace {

// iconv descriptors are not thread-safe; the program converts on one thread, but tests and
// tools may not, so each conversion holds the lock of its direction.
struct Converter {
    iconv_t cd;
    std::mutex lock;
    Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
};

Converter& ToCp932() {
    static Converter c("CP932", "UTF-8");
    return c;
}
Converter& FromCp932() {
    static Converter c("UTF-8", "CP932");
    return c;
}

// Converts `in`, replacing each sequence iconv refuses by `replacement` and skipping one
// input unit (one byte for CP932, one UTF-8 character for UTF-8 input).
std::string Convert(Converter& conv, std::string_view in, std::string_view replacement,
                    bool utf8Input, bool* lossless) {
    std::lock_guard guard(conv.lock);
    if (lossless) *lossless = true;
    std::string out;
    if (conv.cd == reinterpret_cast<iconv_t>(-1)) {
        if (lossless) *lossless = false;
        return std::string(in);
    }
    iconv(conv.cd, nullptr, nullptr, nullptr, nullptr);
    out.reserve(in.size() * 3 / 2 + 8);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buffer[4096];
    while (srcLeft > 0) {
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        const std::size_t r = iconv(conv.cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        if (r != static_cast<std::size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL (a sequence cut short at the end): replace and skip.
        if (lossless) *lossless = false;
        out += replacement;
        std::size_t skip = 1;
        if (utf8Input) {
            const unsigned char lead = static_cast<unsigned char>(*src);
            skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            // Never skip past the end, nor over bytes that are not continuation bytes.
            std::size_t n = 1;
            while (n < skip && n < srcLeft && (static_cast<unsigned char>(src[n]) & 0xC0) == 0x80)
                ++n;
            skip = n;
        } else if (srcLeft >= 2 && IsCp932LeadByte(static_cast<unsigned char>(*src))) {
            skip = 2;
        }
        if (skip > srcLeft) skip = srcLeft;
        src += skip;
        srcLeft -= skip;
        iconv(conv.cd, nullptr, nullptr, nullptr, nullptr);
    }
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    iconv(conv.cd, nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    return out;
}

}  // namespace

std::string Utf8ToCp932(std::string_view utf8, bool* lossless) {
    return Convert(ToCp932(), utf8, "?", true, lossless);
}

std::string Cp932ToUtf8(std::string_view cp932, bool* lossless) {
    return Convert(FromCp932(), cp932, "\xEF\xBF\xBD", false, lossless);
}

std::size_t Cp932CharLengthAt(std::string_view s, std::size_t pos) {
    return IsCp932LeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size() ? 2 : 1;
}

std::size_t Cp932CharCount(std::string_view s) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); i += Cp932CharLengthAt(s, i)) ++count;
    return count;
}

std::size_t Cp932WithoutLastChar(std::string_view s) {
    std::size_t last = 0;
    for (std::size_t i = 0; i < s.size(); i += Cp932CharLengthAt(s, i)) last = i;
    return last;
}

std::string_view Cp932Left(std::string_view s, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t k = 0; k < count && i < s.size(); ++k) i += Cp932CharLengthAt(s, i);
    return s.substr(0, i);
}

std::size_t Cp932Boundary(std::string_view s, std::size_t pos) {
    if (pos >= s.size()) return s.size();
    std::size_t i = 0;
    while (i < pos) {
        const std::size_t n = Cp932CharLengthAt(s, i);
        if (i + n > pos) break;
        i += n;
    }
    return i;
}

bool IsWellFormedCp932(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80 || (c >= 0xA1 && c <= 0xDF)) continue;
        if (!IsCp932LeadByte(c)) return false;
        if (++i >= s.size() || !IsCp932TrailByte(static_cast<unsigned char>(s[i]))) return false;
    }
    return true;
}

bool EncodableInCp932(std::string_view utf8) {
    bool ok = true;
    Utf8ToCp932(utf8, &ok);
    return ok;
}

}  // namespace pb
