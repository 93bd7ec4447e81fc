#include "objects/decorated_path.h"

#include <gtest/gtest.h>

#include "objects_fixture.h"
#include "platform/bitmap_canvas.h"
#include "platform/fonts.h"
#include "platform/recording.h"

namespace pb {
namespace {

using namespace test;

ObjectRecord Shape(int kind, int w, int h) {
    ObjectRecord r = ShapeRecord(w, h, kind);
    r.OutlineColor = kRed;
    r.FillColor = kBlue;
    return r;
}

const std::string& Family() {
    static const std::string family =
        FontNameForIndex(InstalledFonts(), DefaultFontIndex(InstalledFonts()));
    return family;
}

int FigureCount(const PathData& p) {
    int n = 0;
    for (std::uint8_t t : p.types)
        if ((t & ~PT_CLOSEFIGURE) == PT_MOVETO) ++n;
    return n;
}

TEST(DecoratedPath, DeformationMovesPointsVertically) {
    // Name, mode, amount, shape, shadow, x, and how far the point at (x, 7) moves down.
    const std::tuple<const char*, int, int, bool, bool, int, int> cases[] = {
        // Texts, W = 100, S = 1 (4 for shadows): slant 40 moves the ends by 20 each way.
        {"slant left end", 2, 40, false, false, 0, -20},
        {"slant truncates toward zero", 2, -30, false, false, 1, 14},
        {"any mode but 1 slants", 0, 40, false, false, 0, -20},
        // Arch -30: the middle lifted by 30, the ends stay.
        {"arch middle", 1, -30, false, false, 50, -30},
        {"arch shadow is centred S further", 1, -30, false, true, 54, -30},
        {"half rounds to even (12.5)", 1, 25, false, false, 25, 12},
        // Shapes: slants never move a point up; arches are centred one pixel left and a
        // negative amount is lifted back into the box.
        {"shape slant negative left", 2, -20, true, false, 0, 20},
        {"shape arch middle", 1, 10, true, false, 49, 10},
    };
    for (const auto& [name, mode, amount, shape, shadow, x, shift] : cases) {
        Point p[] = {{x, 7}};
        DeformPoints(p, {mode, amount, 100, 50, shadow ? 4 : 1, 0, shape, shadow});
        EXPECT_EQ(p[0], (Point{x, 7 + shift})) << name;
    }
    Point moved[] = {{200, 7}};  // u counts from the origin
    DeformPoints(moved, {2, 40, 100, 50, 1, 200, false, false});
    EXPECT_EQ(moved[0].y, 7 - 20);
}

TEST(DecoratedPath, OutlinesAreClosedFlatFiguresWithinTheBufferLimit) {
    Bitmap probe(1, 1);
    BitmapCanvas scratch(probe);
    const Font bold{Family(), 36, true, false, clBlack};
    const PathData full = BuildTextLinePath(scratch, bold, "回鬱回鬱", 10, 20);
    ASSERT_GT(full.size(), 100u);
    EXPECT_FALSE(scratch.inPath());
    for (std::size_t i = 0; i < full.size(); ++i) {
        const std::uint8_t kind = full.types[i] & ~PT_CLOSEFIGURE;
        EXPECT_TRUE(kind == PT_MOVETO || kind == PT_LINETO) << i;
        EXPECT_TRUE(full.points[i].x >= 10 && full.points[i].y >= 20) << i;
        // Every figure is closed by its last point.
        if (i + 1 == full.size() || (full.types[i + 1] & ~PT_CLOSEFIGURE) == PT_MOVETO) {
            EXPECT_TRUE(full.types[i] & PT_CLOSEFIGURE) << i;
        }
    }
    // "回" has a hole: two figures at least, which must stay in one path.
    EXPECT_GE(FigureCount(BuildTextLinePath(scratch, bold, "回", 0, 0)), 2);

    // Split between glyphs when every glyph fits (nothing lost), cut when one does not.
    for (std::size_t limit : {kMaxPathPoints, full.size() / 2, std::size_t{20}}) {
        const auto pieces = TextLineOutline(scratch, bold, "回鬱回鬱", 10, 20, limit);
        ASSERT_FALSE(pieces.empty());
        int figures = 0;
        for (const PathData& piece : pieces) {
            EXPECT_LE(piece.size(), limit);
            EXPECT_EQ(piece.types.front(), PT_MOVETO);
            EXPECT_TRUE(piece.types.back() & PT_CLOSEFIGURE);
            figures += FigureCount(piece);
        }
        EXPECT_EQ(pieces.size() == 1, limit == kMaxPathPoints) << limit;
        EXPECT_EQ(figures == FigureCount(full), limit > 20) << limit;
    }
}

TEST(DecoratedPath, BodyBrushesOfTheFillStyles) {
    // A 64 x 48 rectangle: S = 1, body (0, 0, 62, 46); its inside (2..60, 2..44) shows the
    // brush, the hatches in the outline colour over the fill colour, anchored at the bitmap's
    // origin with a period of 8.
    // FillStyle, and whether (x, y) lies on a hatch line.
    const std::pair<int, bool (*)(int x, int y)> cases[] = {
        {11, [](int x, int y) { return (x + y) % 8 == 7; }},
        {13, [](int x, int y) { return x % 8 == 7 || y % 8 == 7; }},
    };
    for (const auto& [fillStyle, onLine] : cases) {
        ObjectRecord r = Shape(1, 64, 48);
        r.FillStyle = fillStyle;
        Bitmap bmp(64, 48, KeyColour);
        BitmapCanvas canvas(bmp);
        DrawDecorated(canvas, {0, 0}, r, nullptr, DrawMode::Screen);
        for (int y = 2; y <= 44; ++y)
            for (int x = 2; x <= 60; ++x)
                ASSERT_EQ(bmp.pixel(x, y), onLine(x, y) ? kRed : kBlue)
                    << "FillStyle " << fillStyle << " at " << x << "," << y;
        // The outline, no shadow, and the canvas's state given back.
        EXPECT_EQ(std::tuple(bmp.pixel(0, 20), bmp.pixel(63, 47), canvas.bkMode),
                  std::tuple(kRed, KeyColour, BkMode::Transparent));
    }
}

TEST(DecoratedPath, VectorModePaintsShadowsFirstThroughTheCanvasOnly) {
    ObjectRecord r = TextRecord("あい\r\n\r\nうえ", 20);
    r.Shadow = true;
    r.ShadowColor = kGreen;
    r.OutlineColor = kRed;
    r.DeformAmount = -12;
    // The painted paths with their pen colour, brush colour and fill flag.
    auto paths = [&](std::shared_ptr<const Bitmap> fill) {
        Recording rec({1000, 1000});
        rec.pen.colour = RGB(1, 1, 1);
        DrawDecorated(rec, {300, 200}, r, fill, DrawMode::Vector);
        EXPECT_EQ(rec.pen.colour, RGB(1, 1, 1)) << "the recording's pen is given back";
        std::vector<std::tuple<TColor, TColor, bool>> out;
        for (const RecordedCall& call : rec.data()->calls) {
            EXPECT_EQ(call.kind, RecordedCall::Kind::Path);
            const CanvasState& s = rec.data()->states[call.state];
            out.emplace_back(s.pen.colour, s.brush.colour,
                             call.fill && s.brush.style != BrushStyle::Clear);
        }
        return out;
    };
    // Three lines (the empty one is a space, which has no outline): the two shadow paths, then
    // the two body paths.
    using P = std::tuple<TColor, TColor, bool>;
    EXPECT_EQ(paths(nullptr), (std::vector<P>{{kGreen, kGreen, true},
                                              {kGreen, kGreen, true},
                                              {kRed, r.FillColor, true},
                                              {kRed, r.FillColor, true}}));
    // With a fill bitmap the print draws only the outlines: no shadow, no fill.
    const auto outlines = paths(std::make_shared<const Bitmap>(5, 5));
    ASSERT_EQ(outlines.size(), 2u);
    for (const auto& [pen, brush, filled] : outlines) EXPECT_TRUE(pen == kRed && !filled);
}

}  // namespace
}  // namespace pb
