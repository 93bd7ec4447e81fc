#include "objects/strdata.h"

#include <charconv>
#include <climits>

#include "common/app_state.h"
#include "platform/file_service.h"
#include "platform/fonts.h"
#include "platform/text_codec.h"

namespace pb {

namespace {

const char* const kShapeMarker = "vrnSHAPE";

// Splits at LF, dropping a CR before it. A final line end gives no extra empty line.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// String-to-integer as the record readers do it: optional leading blanks and sign, decimal
// digits, 32-bit range. Anything else is malformed.
bool ParseInt(const std::string& s, int* out) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    const char* first = s.data() + i;
    const char* last = s.data() + s.size();
    if (first != last && *first == '+') ++first;
    long long v = 0;
    auto [ptr, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || ptr != last || v < INT_MIN || v > INT_MAX) return false;
    *out = static_cast<int>(v);
    return true;
}

bool ParseColour(const std::string& s, TColor* out) {
    int v = 0;
    if (!ParseInt(s, &v)) return false;
    *out = static_cast<TColor>(v) & 0xFFFFFF;
    return true;
}

std::string Bool(bool b) {
    return b ? "True" : "False";
}
std::string Num(long long v) {
    return std::to_string(v);
}
// One-byte fields wrap as a byte does.
std::string Byte(int v) {
    return std::to_string(v & 0xFF);
}

// Trailing white space and control characters are not part of the text.
void TrimRight(std::string& s) {
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.pop_back();
}

// Lines the readers will see: they split the file at every LF.
int TextLineCount(const std::string& text) {
    int lines = 1;
    for (char c : text)
        if (c == '\n') ++lines;
    return lines;
}

WriteStatus WriteChecked(const std::string& folder, int slot, const ObjectRecord& rec) {
    if (TextLineCount(rec.Text) > MaxTextLines(rec)) return WriteStatus::TextTooLong;
    return WriteWholeFile(ObjectFilePath(folder, slot), FormatObjectRecord(rec))
               ? WriteStatus::Written
               : WriteStatus::NotWritten;
}

}  // namespace

int ShapeKind(const std::string& text) {
    if (text.size() < 9 || text.compare(0, 8, kShapeMarker) != 0) return 0;
    const char d = text[8];
    return (d >= '0' && d <= '9') ? d - '0' : 0;
}

std::string ObjectFilePath(const std::string& folder, int slot) {
    return JoinPath(folder, "StrData" + std::to_string(slot) + ".txt");
}

std::string CompanionBitmapPath(const std::string& folder, int slot) {
    return JoinPath(folder, "tmp" + std::to_string(slot) + ".bmp");
}

ReadResult ParseObjectRecord(const std::string& whole) {
    ReadResult result;
    if (whole.empty()) return result;
    const std::vector<std::string> lines = SplitLines(whole);
    ObjectRecord rec;
    rec.family =
        (!lines.empty() && lines[0] == "1") ? ObjectFamily::Decorated : ObjectFamily::Plain;
    const int fieldLines = rec.decorated() ? kDecoratedFieldLines : kPlainFieldLines;
    result.status = ReadStatus::Malformed;
    if (static_cast<int>(lines.size()) < 1 + fieldLines) return result;

    auto field = [&](int line) -> const std::string& { return lines[line]; };
    bool ok = true;
    auto integer = [&](int line, int* v) { ok = ParseInt(field(line), v) && ok; };
    auto colour = [&](int line, TColor* c) { ok = ParseColour(field(line), c) && ok; };
    auto boolean = [&](int line) { return field(line) == "True"; };

    integer(1, &rec.Left);
    integer(2, &rec.Top);
    integer(3, &rec.FontSize);
    integer(4, &rec.Align);
    integer(5, &rec.FontIndex);
    int firstUse = 0, firstColour = 0;
    if (rec.decorated()) {
        integer(6, &rec.OutlineWidth);
        integer(7, &rec.DeformMode);
        integer(8, &rec.DeformAmount);
        rec.ImageFile = field(9);
        colour(10, &rec.FillColor);
        colour(11, &rec.OutlineColor);
        colour(12, &rec.ShadowColor);
        integer(13, &rec.FillStyle);
        rec.Horizontal = boolean(14);
        rec.Shadow = boolean(15);
        firstUse = 16;
        firstColour = 23;
    } else {
        colour(6, &rec.BackColor);
        colour(7, &rec.FontColor);
        integer(8, &rec.BackStyle);
        rec.Horizontal = boolean(9);
        firstUse = 10;
        firstColour = 17;
    }
    for (int i = 0; i < 7; ++i) {
        rec.UseColor[i] = boolean(firstUse + i);
        colour(firstColour + i, &rec.Color[i]);
    }
    if (!ok) return result;
    for (std::size_t i = 1 + fieldLines; i < lines.size(); ++i) {
        rec.Text += lines[i];
        rec.Text += "\r\n";
    }
    TrimRight(rec.Text);
    // The writers never store more; a longer record was not written by this program and
    // could not be written back.
    if (TextLineCount(rec.Text) > kMaxRecordLines - 1 - fieldLines) return result;
    result.status = ReadStatus::Ok;
    result.record = std::move(rec);
    return result;
}

ReadResult ReadObjectRecord(const std::string& folder, int slot) {
    return ParseObjectRecord(ReadWholeFile(ObjectFilePath(folder, slot)));
}

std::optional<ObjectRecord> ReadObject(const std::string& folder, int slot) {
    return ReadObjectRecord(folder, slot).record;
}

std::string FormatObjectRecord(const ObjectRecord& rec) {
    std::vector<std::string> v;
    v.push_back(rec.decorated() ? "1" : "0");
    v.push_back(Num(rec.Left));
    v.push_back(Num(rec.Top));
    v.push_back(Num(rec.FontSize));
    v.push_back(Num(rec.Align));
    v.push_back(Num(rec.FontIndex));
    if (rec.decorated()) {
        v.push_back(Num(rec.OutlineWidth));
        v.push_back(Byte(rec.DeformMode));
        v.push_back(Num(rec.DeformAmount));
        v.push_back(rec.ImageFile);
        v.push_back(Num(rec.FillColor));
        v.push_back(Num(rec.OutlineColor));
        v.push_back(Num(rec.ShadowColor));
        v.push_back(Byte(rec.FillStyle));
        v.push_back(Bool(rec.Horizontal));
        v.push_back(Bool(rec.Shadow));
    } else {
        v.push_back(Num(rec.BackColor));
        v.push_back(Num(rec.FontColor));
        v.push_back(Byte(rec.BackStyle));
        v.push_back(Bool(rec.Horizontal));
    }
    for (bool use : rec.UseColor) v.push_back(Bool(use));
    for (TColor c : rec.Color) v.push_back(Num(c));
    v.push_back(rec.Text);  // one write-line: the text's own CR LF become the file's lines
    std::string out;
    for (const auto& line : v) {
        out += line;
        out += "\r\n";
    }
    return out;
}

int MaxTextLines(const ObjectRecord& rec) {
    return rec.decorated() ? kMaxDecoratedTextLines : kMaxPlainTextLines;
}

WriteStatus WritePlainObject(const std::string& folder, int slot, const ObjectRecord& rec) {
    ObjectRecord plain = rec;
    plain.family = ObjectFamily::Plain;
    return WriteChecked(folder, slot, plain);
}

WriteStatus WriteDecoratedObject(const std::string& folder, int slot, const ObjectRecord& rec) {
    ObjectRecord decorated = rec;
    decorated.family = ObjectFamily::Decorated;
    return WriteChecked(folder, slot, decorated);
}

WriteStatus WriteObject(const std::string& folder, int slot, const ObjectRecord& rec) {
    return rec.decorated() ? WriteDecoratedObject(folder, slot, rec)
                           : WritePlainObject(folder, slot, rec);
}

std::optional<std::pair<int, int>> ReadObjectPosition(const std::string& folder, int slot) {
    TextReader reader(ObjectFilePath(folder, slot));
    reader.ReadLine();
    int x = 0, y = 0;
    if (!ParseInt(reader.ReadLine(), &x) || !ParseInt(reader.ReadLine(), &y)) return std::nullopt;
    return std::make_pair(x, y);
}

void SaveObjectPosition(const std::string& folder, int slot, Point shown, int zoom) {
    if (zoom <= 0) return;
    auto rec = ReadObject(folder, slot);
    if (!rec) return;
    // A coordinate that still shows where the stored one places it is kept: converting it
    // back and forth at every zoom step would walk the object up and to the left.
    auto pagePixels = [zoom](int stored, int shown) {
        if (static_cast<long long>(stored) * zoom / 100 == shown) return stored;
        return static_cast<int>(static_cast<long long>(shown) * 100 / zoom);
    };
    const int left = pagePixels(rec->Left, shown.x);
    const int top = pagePixels(rec->Top, shown.y);
    if (left == rec->Left && top == rec->Top) return;
    rec->Left = left;
    rec->Top = top;
    WriteObject(folder, slot, *rec);
}

namespace {
ObjectRecord NewRecordBase(int slot, int pageHeight) {
    ObjectRecord rec;
    rec.Left = 0;
    rec.Top = slot * (pageHeight / 199);
    return rec;
}
}  // namespace

ObjectRecord NewPlainObject(int slot, int pageHeight, bool a4) {
    ObjectRecord rec = NewRecordBase(slot, pageHeight);
    rec.family = ObjectFamily::Plain;
    rec.FontIndex = DefaultFontIndex(InstalledFonts());
    rec.FontSize = a4 ? 20 : 10;
    rec.Align = 2;
    rec.Text = "あいうえお\r\n12345";
    return rec;
}

ObjectRecord NewDecoratedText(int slot, int pageHeight, bool a4) {
    ObjectRecord rec = NewRecordBase(slot, pageHeight);
    rec.family = ObjectFamily::Decorated;
    rec.FontIndex = DefaultFontIndex(InstalledFonts());
    rec.FontSize = a4 ? 72 : 36;
    rec.Align = 2;
    rec.OutlineWidth = a4 ? 2 : 1;
    rec.Text = "あいうえお";
    return rec;
}

ObjectRecord NewShapeObject(int slot, int pageHeight, bool a4) {
    ObjectRecord rec = NewRecordBase(slot, pageHeight);
    rec.family = ObjectFamily::Decorated;
    rec.FontSize = a4 ? 200 : 100;
    rec.Align = a4 ? 200 : 100;
    rec.FontIndex = 0;
    rec.OutlineWidth = a4 ? 2 : 1;
    rec.Text = "vrnSHAPE1";
    return rec;
}

int DefaultFontIndex(const std::vector<std::string>& fonts) {
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        const std::string& name = fonts[i];
        if (!name.empty() && name[0] == '@') continue;
        const std::string bytes = Utf8ToCp932(name);
        // Characters in the first 100 bytes, fewer than the bytes of the whole name exactly
        // when the name holds a double-byte character.
        int chars = 0;
        std::size_t pos = 0;
        while (pos < bytes.size() && pos < 100) {
            pos += Cp932CharLength(static_cast<unsigned char>(bytes[pos]));
            ++chars;
        }
        if (chars < static_cast<int>(bytes.size())) return static_cast<int>(i);
    }
    return fonts.empty() ? 0 : static_cast<int>(fonts.size()) - 1;
}

}  // namespace pb
