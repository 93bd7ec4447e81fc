#include "codes/qr_code.h"

#include <cmath>
#include <utility>

#include "platform/bitmap_canvas.h"
#include "platform/bitmap_ops.h"
#include "platform/picture_io.h"
#include "platform/text_codec.h"

namespace pb {

namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
int HexValue(char c) {
    if (c <= '9') return c - '0';
    return (c | 0x20) - 'a' + 10;
}

// Length of the character starting at i (2 for a lead byte followed by a second byte).
int CharLengthAt(std::span<const std::uint8_t> data, std::size_t i) {
    return IsCp932LeadByte(data[i]) && i + 1 < data.size() && IsCp932TrailByte(data[i + 1]) ? 2 : 1;
}

[[noreturn]] void Illegal(const std::string& name, long value) {
    throw QRCodeError("Illegal " + name + " : " + std::to_string(value));
}

}  // namespace

TildeHexResult DecodeTildeHex(std::string_view code) {
    TildeHexResult result;
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(code.data()),
                                              code.size());
    // The next tilde at or after i that is a character of its own.
    auto nextTilde = [&](std::size_t i) {
        while (i < bytes.size() && bytes[i] != '~') i += CharLengthAt(bytes, i);
        return i;
    };
    std::size_t pos = 0;
    for (;;) {
        const std::size_t open = nextTilde(pos);
        result.bytes.append(code.substr(pos, open - pos));
        if (open >= code.size()) break;
        const std::size_t close = code.find('~', open + 1);
        if (close == std::string_view::npos) return {};
        const std::string_view hex = code.substr(open + 1, close - open - 1);
        if (hex.size() % 2) return {};
        if (hex.empty()) result.bytes += '~';
        for (std::size_t k = 0; k < hex.size(); k += 2) {
            if (!IsHexDigit(hex[k]) || !IsHexDigit(hex[k + 1])) return {};
            const int b = HexValue(hex[k]) * 16 + HexValue(hex[k + 1]);
            if (b < 0x20 && b != 0x09 && b != 0x0A && b != 0x0D) result.binary = true;
            result.bytes += static_cast<char>(b);
        }
        pos = close + 1;
    }
    result.ok = true;
    return result;
}

QrSplit SplitQrData(std::span<const std::uint8_t> data, int count, TQRMode mode) {
    const int len = static_cast<int>(data.size());
    count = std::clamp(std::min(count, len), 1, kQrMaxCount);
    int q = len / count;
    if (q * count < len && len > (q + 1) * (count - 1)) ++q;

    QrSplit s;
    s.offsets.assign(1, 0);
    int boundary = 0;  // a character boundary at or before every later cut
    int p = q;
    while (static_cast<int>(s.offsets.size()) < count && p < len) {
        while (boundary < p) boundary += CharLengthAt(data, boundary);
        if (boundary > p) {  // p is the second byte of a double-byte character
            if (p - 1 > s.offsets.back()) {
                --p;
            } else if (++p >= len) {
                break;
            }
        }
        s.offsets.push_back(p);
        p += q;
    }
    s.offsets.push_back(len);
    s.count = static_cast<int>(s.offsets.size()) - 1;
    if (s.count == 1)
        s.mode = qrSingle;
    else if (s.count > 16)
        s.mode = qrPlus;
    else
        s.mode = mode == qrSingle ? qrConnect : mode;
    return s;
}

void CheckQrSplit(int len, int count, int mode, int column, std::span<const int> offsets) {
    if (len < 0) Illegal("Len", len);
    if (count < 1 || count > kQrMaxCount || (len > 0 && len < count) ||
        (mode == qrSingle && count != 1) || (mode == qrConnect && (count < 2 || count > 16)) ||
        (mode == qrPlus && count < 2) || (len == 0 && count != 1))
        Illegal("Count", count);
    if (mode < qrSingle || mode > qrPlus || (len == 0 && mode != qrSingle)) Illegal("Mode", mode);
    if (column < 1 || column > kQrMaxCount) Illegal("Column", column);
    if (static_cast<int>(offsets.size()) < count + 1)
        throw std::invalid_argument("split table shorter than Count + 1");
    if (offsets[0] != 0) Illegal("Offset[0]", offsets[0]);
    if (len == 0 && offsets[1] != 0) Illegal("Offset[1]", offsets[1]);
    if (offsets[count] != len) Illegal("Offset[" + std::to_string(count) + "]", offsets[count]);
    for (int i = 1; len > 0 && i <= count; ++i)
        if (offsets[i] <= offsets[i - 1]) Illegal("Offset[" + std::to_string(i) + "]", offsets[i]);
}

std::string NumberedComment(const std::string& comment, TNumbering numbering, int n) {
    if (numbering == nbrNone) return comment;
    const std::string number = std::to_string(n);
    if (comment.empty()) return number;
    switch (numbering) {
        case nbrHead:
            return number + " " + comment;
        case nbrTail:
            return comment + " " + number;
        default:
            return comment;
    }
}

std::unique_ptr<Recording> TurnRecording(const Recording& src, int angle, bool mirror) {
    angle = ((angle % 360) + 360) % 360;
    const Size from = src.size();
    const Size to = angle % 180 ? Size{from.height, from.width} : from;
    auto out = std::make_unique<Recording>(to, src.logicalDpi());

    // Coordinates are pixel edges, so a turn by 90 takes x = 0 to x = height, not height - 1.
    auto turn = [&](double x, double y) {
        double tx = x, ty = y;
        if (angle == 90) {
            tx = from.height - y, ty = x;
        } else if (angle == 180) {
            tx = from.width - x, ty = from.height - y;
        } else if (angle == 270) {
            tx = y, ty = from.width - x;
        }
        if (mirror) tx = to.width - tx;
        return Point{static_cast<int>(std::lround(tx)), static_cast<int>(std::lround(ty))};
    };
    auto turnPoints = [&](const std::vector<Point>& points, const Mapping& m) {
        std::vector<Point> result;
        result.reserve(points.size());
        for (const Point& p : points) result.push_back(turn(m.x(p.x), m.y(p.y)));
        return result;
    };
    auto turnRect = [&](const Rect& r, const Mapping& m) {
        const Point a = turn(m.x(r.left), m.y(r.top)), b = turn(m.x(r.right), m.y(r.bottom));
        return Rect{a.x, a.y, b.x, b.y}.normalized();
    };
    auto paint = [&](const std::vector<Point>& points, const std::vector<std::uint8_t>& types,
                     bool fill, bool stroke) {
        out->BeginPath();
        out->PolyDraw(points, types);
        out->EndPath();
        if (fill && stroke)
            out->StrokeAndFillPath();
        else if (fill)
            out->FillPath();
        else
            out->StrokePath();
    };

    Recording::Visit(
        *src.data(), Mapping{},
        [&](const RecordedCall& call, const RecordingData& data, const Mapping& m) {
            const CanvasState& state = data.states[call.state];
            out->pen = state.pen;
            out->brush = state.brush;
            out->font = state.font;
            out->bkMode = state.bkMode;
            out->bkColour = state.bkColour;
            switch (call.kind) {
                case RecordedCall::Kind::Line: {
                    const auto p = turnPoints(call.points, m);
                    out->MoveTo(p[0].x, p[0].y);
                    out->LineTo(p[1].x, p[1].y);
                    break;
                }
                case RecordedCall::Kind::Polyline:
                    out->Polyline(turnPoints(call.points, m));
                    break;
                case RecordedCall::Kind::Rectangle: {
                    const Rect r = turnRect(call.rect, m);
                    out->Rectangle(r.left, r.top, r.right, r.bottom);
                    break;
                }
                case RecordedCall::Kind::Ellipse: {
                    const Rect r = turnRect(call.rect, m);
                    out->Ellipse(r.left, r.top, r.right, r.bottom);
                    break;
                }
                case RecordedCall::Kind::FillRect:
                    out->FillRect(turnRect(call.rect, m));
                    break;
                case RecordedCall::Kind::Text: {
                    const Point at{static_cast<int>(std::lround(m.x(call.points[0].x))),
                                   static_cast<int>(std::lround(m.y(call.points[0].y)))};
                    if (state.bkMode == BkMode::Opaque) {
                        out->brush = SolidBrush(state.bkColour);
                        const Rect cell{at.x, at.y, at.x + out->TextWidth(call.text),
                                        at.y + out->TextHeight(call.text)};
                        out->FillRect(turnRect(cell, Mapping{}));
                    }
                    const PathData glyphs = TextOutline(state.font, data.dpi, at, call.text);
                    out->pen = Pen{};
                    out->brush = SolidBrush(state.font.colour);
                    paint(turnPoints(glyphs.points, Mapping{}), glyphs.types, true, false);
                    break;
                }
                case RecordedCall::Kind::Path:
                    paint(turnPoints(call.points, m), call.types, call.fill, call.stroke);
                    break;
                case RecordedCall::Kind::RoundRect:
                case RecordedCall::Kind::Stretch:
                case RecordedCall::Kind::Nested:
                    throw std::logic_error("TurnRecording: unsupported recorded call");
            }
        });
    return out;
}

// ---------------------------------------------------------------------------------------

void TQRCode::SetSize(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
}

void TQRCode::EndLoading() {
    loading_ = false;
    RebuildData();
    Repaint();
}

void TQRCode::Fire(const Event& event) {
    if (event) event(*this, watching_);
}

void TQRCode::SetCode(const std::string& cp932) {
    if (loading_) {
        code_ = cp932;
        Repaint();
        return;
    }
    if (symbolEnabled_) Fire(OnChangeCode);
    code_ = cp932;
    RebuildData();
    Repaint();
    if (symbolEnabled_) Fire(OnChangedCode);
}

void TQRCode::SetCodeFromClipboard(const std::string& utf8) {
    struct WatchFlag {
        bool& flag;
        explicit WatchFlag(bool& f) : flag(f) { flag = true; }
        ~WatchFlag() { flag = false; }
    } watching(watching_);
    SetCode(Utf8ToCp932(utf8));
}

void TQRCode::RebuildData() {
    binary_ = false;
    if (binaryOperation_) {
        const TildeHexResult decoded = DecodeTildeHex(code_);
        if (decoded.ok) {
            data_.assign(decoded.bytes.begin(), decoded.bytes.end());
            binary_ = decoded.binary;
            return;
        }
        binaryOperation_ = false;
    }
    data_.assign(code_.begin(), code_.end());
}

void TQRCode::SetBinaryOperation(bool on) {
    binaryOperation_ = on;
    if (loading_) return;
    RebuildData();
    Repaint();
}

void TQRCode::SetMode(TQRMode mode) {
    if (mode < qrSingle || mode > qrPlus) return;
    mode_ = mode;
    if (mode == qrSingle)
        count_ = 1;
    else
        count_ = std::clamp(count_, 2, mode == qrConnect ? 16 : kQrMaxCount);
    Repaint();
}

void TQRCode::SetCount(int count) {
    if (count < 1 || count > kQrMaxCount) return;
    count_ = count;
    Repaint();
}

void TQRCode::SetColumn(int column) {
    if (column < 1 || column > kQrMaxCount) return;
    column_ = column;
    Repaint();
}

void TQRCode::SetNumbering(TNumbering numbering) {
    if (numbering < nbrNone || numbering > nbrIfVoid) return;
    numbering_ = numbering;
    if (count_ >= 2) Repaint();
}

void TQRCode::SetCommentUp(const std::string& text) {
    commentUp_ = text;
    Repaint();
}

void TQRCode::SetCommentUpLoc(TLocation loc) {
    if (loc < locLeft || loc > locRight) return;
    commentUpLoc_ = loc;
    if (!commentUp_.empty()) Repaint();
}

void TQRCode::SetCommentDown(const std::string& text) {
    commentDown_ = text;
    Repaint();
}

void TQRCode::SetCommentDownLoc(TLocation loc) {
    if (loc < locLeft || loc > locRight) return;
    commentDownLoc_ = loc;
    if (!commentDown_.empty()) Repaint();
}

void TQRCode::SetSymbolLeft(int left) {
    if (left < -kQrMaxSpace || left > kQrMaxSpace) return;
    symbolLeft_ = left;
    Repaint();
}
void TQRCode::SetSymbolTop(int top) {
    if (top < -kQrMaxSpace || top > kQrMaxSpace) return;
    symbolTop_ = top;
    Repaint();
}
void TQRCode::SetSymbolSpaceUp(int pixels) {
    if (pixels < 0 || pixels > kQrMaxSpace) return;
    symbolSpaceUp_ = pixels;
    Repaint();
}
void TQRCode::SetSymbolSpaceDown(int pixels) {
    if (pixels < 0 || pixels > kQrMaxSpace) return;
    symbolSpaceDown_ = pixels;
    Repaint();
}
void TQRCode::SetSymbolSpaceLeft(int pixels) {
    if (pixels < 0 || pixels > kQrMaxSpace) return;
    symbolSpaceLeft_ = pixels;
    Repaint();
}
void TQRCode::SetSymbolSpaceRight(int pixels) {
    if (pixels < 0 || pixels > kQrMaxSpace) return;
    symbolSpaceRight_ = pixels;
    Repaint();
}

void TQRCode::SetVersion(int version) {
    if (!qr::ValidVersion(version)) return;
    version_ = version;
    Repaint();
}

void TQRCode::SetEmode(int mode) {
    if (mode < -1 || mode > 3) return;
    emode_ = emodeR_ = mode;
    Repaint();
}

void TQRCode::SetEclevel(int level) {
    if (!qr::ValidLevel(level)) return;
    eclevel_ = level;
    Repaint();
}

void TQRCode::SetMasktype(int mask) {
    if (mask < -1 || mask > 7) return;
    masktype_ = masktypeR_ = mask;
    Repaint();
}

int TQRCode::Capacity() const {
    const int mode = emodeR_ < 0 ? qr::kAlphanumeric : emodeR_;
    const qr::LevelInfo& level = qr::Version(version_).levels[eclevel_];
    int perSymbol = level.capacity[mode];
    if (mode_ == qrConnect) {
        // The structured append header takes 20 of the data bits.
        constexpr int kHeaderBits = 20;
        while (perSymbol > 0 &&
               kHeaderBits + qr::SegmentCost(mode, perSymbol, version_) > 8 * level.dataCodewords)
            --perSymbol;
    }
    return perSymbol * count_;
}

void TQRCode::SetPxmag(int pixels) {
    if (pixels < 1 || pixels > 10) return;
    pxmag_ = pixels;
    Repaint();
}

void TQRCode::SetAngle(int degrees) {
    if (degrees != 0 && degrees != 90 && degrees != 180 && degrees != 270) return;
    angle_ = degrees;
    Repaint();
}

void TQRCode::SetReverse(bool on) {
    reverse_ = on;
    Repaint();
}

void TQRCode::SetMatch(bool on) {
    match_ = on;
    if (on)
        transparent_ = false;
    else
        symbolPicture_ = picBMP;
    Repaint();
}

void TQRCode::SetComFont(const Font& font) {
    comFont_ = font;
    Repaint();
}

void TQRCode::SetTransparent(bool on) {
    transparent_ = on;
    if (on) {
        match_ = false;
        symbolPicture_ = picBMP;
    }
    Repaint();
}

void TQRCode::SetSymbolColor(TColor colour) {
    symbolColor_ = colour;
    Repaint();
}

void TQRCode::SetBackColor(TColor colour) {
    backColor_ = colour;
    Repaint();
}

void TQRCode::SetSymbolPicture(TPictures kind) {
    if (kind < picBMP || kind > picWMF) return;
    symbolPicture_ = kind;
    Repaint();
}

void TQRCode::SetSymbolEnabled(bool on) {
    symbolEnabled_ = on;
    if (on) Repaint();
}

void TQRCode::SetSymbolDebug(bool on) {
    symbolDebug_ = on;
}

void TQRCode::SetClearOption(bool on) {
    clearOption_ = on;
    Repaint();
    if (on && !symbolDisped_ && !symbolDebug_) Clear();
}

void TQRCode::Clear() {
    picture_ = Bitmap();
    metafile_.reset();
}

// ---------------------------------------------------------------------------------------
// Painting

void TQRCode::SplitAndCheck() {
    QrSplit split = SplitQrData(data_, count_, mode_);
    count_ = split.count;
    mode_ = split.mode;
    offsets_ = std::move(split.offsets);
    CheckQrSplit(Len(), count_, mode_, column_, offsets_);
    if (mode_ == qrConnect && Len() / count_ < 7090) {
        std::uint8_t parity = 0;
        for (const std::uint8_t b : data_) parity ^= b;
        parity_ = parity;
    }
}

bool TQRCode::EncodePiece(int index) {
    const int begin = offsets_[index - 1], end = offsets_[index];
    if (end - begin > kQrMaxPieceBytes) return false;
    qr::EncodeOptions options;
    options.version = version_;
    options.level = eclevel_;
    options.mode = emode_;
    options.mask = masktype_;
    if (mode_ == qrConnect) options.append = qr::StructuredAppend{index - 1, count_, parity_};
    const std::span<const std::uint8_t> piece(data_.data() + begin,
                                              static_cast<std::size_t>(end - begin));
    if (encoder_.Encode(piece, options, symbol_) != qr::EncodeStatus::Ok) return false;
    masktypeR_ = symbol_.mask();
    if (emode_ >= 0)
        emodeR_ = emode_;
    else if (symbol_.lastMode() >= 0)
        emodeR_ = symbol_.lastMode();
    return true;
}

// The picture this painting would make, checked before anything is allocated.
QrPaintFailure TQRCode::CheckPictureSize() const {
    auto fits = [](long long w, long long h) {
        return (w == 0 || h == 0) || PictureSizeWithinLimits(w, h);
    };
    if (picture_.isNull() && !fits(width_, height_)) return QrPaintFailure::PictureTooLarge;
    if (match_ && !symbolDebug_) {
        if (symbolLeft_ < 0 || symbolTop_ < 0) return QrPaintFailure::NoRoom;
        // The margins' and the corner's ranges keep these sums below 2^28.
        if (!PictureSizeWithinLimits(SymbolWidthA() + symbolLeft_, SymbolHeightA() + symbolTop_))
            return QrPaintFailure::PictureTooLarge;
    }
    return QrPaintFailure::None;
}

void TQRCode::Repaint() {
    if (!symbolEnabled_) return;
    symbolDisped_ = false;
    paintFailure_ = QrPaintFailure::None;
    SplitAndCheck();
    Fire(OnPaintSymbol);

    paintFailure_ = CheckPictureSize();
    if (paintFailure_ != QrPaintFailure::None) {
        // Nothing is drawn or turned: the picture stays as it was (or is cleared).
        Fire(OnPaintedSymbol);
        if (clearOption_ && !symbolDebug_) Clear();
        return;
    }
    if (picture_.isNull()) picture_ = Bitmap(width_, height_);
    int left = symbolLeft_, top = symbolTop_;
    if (!match_ && !symbolDebug_) {
        // Draw upright: undo the mirror and the turn that the finished picture gets, and
        // carry the corner (given in the finished picture) along.
        const int w = picture_.width(), h = picture_.height();
        if (reverse_) {
            const int shownWidth = angle_ % 180 ? SymbolHeightA() : SymbolWidthA();
            left = w - left - shownWidth;
            MirrorBitmap(picture_, false);
        }
        const int l = left, t = top;
        switch (angle_) {
            case 90:
                left = t, top = w - l - SymbolHeightA();
                break;
            case 180:
                left = w - l - SymbolWidthA(), top = h - t - SymbolHeightA();
                break;
            case 270:
                left = h - t - SymbolWidthA(), top = l;
                break;
            default:
                break;
        }
        if (angle_) picture_ = TurnBitmap(picture_, -angle_);
    }

    // SymbolPicture counts only with Match; the debug mode paints nothing at all.
    const bool toMetafile = match_ && symbolPicture_ != picBMP && !symbolDebug_;
    bool failed = false;
    bool recorded = false;
    {
        std::unique_ptr<Canvas> canvas;
        for (int i = 1; i <= count_; ++i) {
            if (!EncodePiece(i)) {
                failed = true;
                break;
            }
            if (!symbolDebug_) {
                if (i == 1 && match_) {
                    width_ = SymbolWidthA() + left;
                    height_ = SymbolHeightA() + top;
                    picture_.resize(width_, height_);
                }
                if (!canvas) {
                    canvas = OpenPictureCanvas(toMetafile);
                    canvas->font = comFont_;
                }
                if (i == 1 && !transparent_) {
                    canvas->brush = SolidBrush(backColor_);
                    const int x0 = match_ ? 0 : left, y0 = match_ ? 0 : top;
                    canvas->FillRect({x0, y0, left + SymbolWidthA(), top + SymbolHeightA()});
                }
                DrawSymbol(*canvas, left + SymbolWidthS() * ((i - 1) % column_),
                           top + SymbolHeightS() * ((i - 1) / column_), i);
            }
            symbolDisped_ = true;
        }
        if (canvas && toMetafile) {
            metafile_.reset(static_cast<Recording*>(canvas.release()));
            recorded = true;
        }
    }
    // Symbols painted before a failing one do not make the painting a success.
    if (failed) {
        symbolDisped_ = false;
        paintFailure_ = QrPaintFailure::DataDoNotFit;
    }
    if (recorded) {
        // The bitmap shows what the metafile holds.
        BitmapCanvas shown(picture_);
        metafile_->PlayInto(shown, {0, 0, picture_.width(), picture_.height()});
    }

    if (!symbolDebug_ && !(match_ && failed)) {
        if (angle_) picture_ = TurnBitmap(picture_, angle_);
        if (reverse_) MirrorBitmap(picture_, false);
        if (recorded && (angle_ || reverse_))
            metafile_ = TurnRecording(*metafile_, angle_, reverse_);
        if (match_) {
            width_ = picture_.width();
            height_ = picture_.height();
        }
    }
    Fire(OnPaintedSymbol);
    if (failed && clearOption_ && !symbolDebug_) Clear();
}

// The symbols go to the bitmap, or to a new metafile of the bitmap's size (which Repaint
// keeps as metafile_ and shows in the bitmap).
std::unique_ptr<Canvas> TQRCode::OpenPictureCanvas(bool toMetafile) {
    metafile_.reset();
    if (toMetafile) return std::make_unique<Recording>(Size{picture_.width(), picture_.height()});
    return std::make_unique<BitmapCanvas>(picture_);
}

void TQRCode::DrawSymbol(Canvas& canvas, int cornerX, int cornerY, int index) {
    const int px = pxmag_;
    const int ox = cornerX + symbolSpaceLeft_ + 4 * px;
    const int oy = cornerY + symbolSpaceUp_ + 4 * px;
    const int n = symbol_.size();
    canvas.brush = SolidBrush(symbolColor_);
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n;) {
            if (!symbol_.dark(r, c)) {
                ++c;
                continue;
            }
            const int a = c;
            while (c < n && symbol_.dark(r, c)) ++c;
            canvas.FillRect({ox + a * px, oy + r * px, ox + c * px, oy + (r + 1) * px});
        }
    }

    const std::string up =
        count_ >= 2 ? NumberedComment(commentUp_, numbering_, index) : commentUp_;
    const std::string down =
        count_ >= 2 ? NumberedComment(commentDown_, numbering_, index) : commentDown_;
    if (up.empty() && down.empty()) return;
    canvas.brush = SolidBrush(backColor_);
    canvas.bkMode = BkMode::Opaque;
    canvas.bkColour = backColor_;
    const int room = SymbolWidth() + symbolSpaceLeft_ + symbolSpaceRight_;
    auto offset = [room](TLocation loc, int textWidth) {
        if (loc == locCenter) return std::max(0, (room - textWidth) / 2);
        if (loc == locRight) return std::max(0, room - textWidth);
        return 0;
    };
    if (!up.empty()) {
        const int y = std::min(cornerY, cornerY + symbolSpaceUp_ - canvas.TextHeight(up));
        canvas.TextOut(cornerX + offset(commentUpLoc_, canvas.TextWidth(up)), y, up);
    }
    if (!down.empty()) {
        const int y0 = cornerY + symbolSpaceUp_ + SymbolHeight();
        const int y = std::max(y0, y0 + symbolSpaceDown_ - canvas.TextHeight(down));
        canvas.TextOut(cornerX + offset(commentDownLoc_, canvas.TextWidth(down)), y, down);
    }
}

std::vector<std::string> TQRCode::PBM() {
    SplitAndCheck();
    std::vector<std::string> lines;
    lines.emplace_back("P1");
    static const char* const kModeName[] = {"Single Mode", "Connect Mode", "Plus Mode"};
    // A comment line, so that the text stays a PBM file that readers accept.
    lines.push_back(std::string("# ") + kModeName[mode_] + " (Count = " + std::to_string(count_) +
                    ")");
    const int w = SymbolWidth();
    lines.push_back(std::to_string(w) + " " + std::to_string(w));
    for (int i = 1; i <= count_; ++i) {
        if (!EncodePiece(i)) break;
        lines.emplace_back();
        lines.emplace_back();
        const int n = symbol_.size();
        for (int y = 0; y < w; ++y) {
            std::string row;
            row.reserve(2 * w);
            const int r = y / pxmag_ - 4;
            for (int x = 0; x < w; ++x) {
                const int c = x / pxmag_ - 4;
                row += (r >= 0 && c >= 0 && r < n && c < n && symbol_.dark(r, c)) ? " 1" : " 0";
            }
            lines.push_back(std::move(row));
        }
    }
    return lines;
}

}  // namespace pb
