#include "objects/decorated_path.h"

#include <gtest/gtest.h>

#include <climits>

#include "common/app_state.h"
#include "platform/bitmap_canvas.h"
#include "platform/fonts.h"
#include "support/test_support.h"

namespace pb {
namespace {

constexpr TColor kRed = RGB(255, 0, 0);
constexpr TColor kBlue = RGB(0, 0, 255);
constexpr TColor kGreen = RGB(0, 160, 0);

ObjectRecord Shape(int kind, int w, int h) {
    ObjectRecord r = NewShapeObject(0, 559, false);
    r.Text = "vrnSHAPE" + std::to_string(kind);
    r.FontSize = w;
    r.Align = h;
    r.OutlineColor = kRed;
    r.FillColor = kBlue;
    return r;
}

ObjectRecord Text(const std::string& text, int size = 36) {
    ObjectRecord r = NewDecoratedText(0, 559, false);
    r.Text = text;
    r.FontSize = size;
    return r;
}

int FigureCount(const PathData& p) {
    int n = 0;
    for (std::uint8_t t : p.types)
        if ((t & ~PT_CLOSEFIGURE) == PT_MOVETO) ++n;
    return n;
}

// A canvas that draws nothing and records the pen and brush of every path it is asked to
// paint, as the print recording would receive them.
class RecordingCanvas : public Canvas {
  public:
    struct Painted {
        std::size_t points;
        TColor pen;
        PenStyle penStyle;
        BrushStyle brush;
        TColor brushColour;
    };
    std::vector<Painted> painted;
    Size size() const override { return {1000, 1000}; }
    void StretchBlt(const Rect&, const Bitmap&, const Rect&, StretchMode) override {}

  protected:
    void drawLine(Point, Point) override {}
    void drawPolyline(std::span<const Point>) override {}
    void drawRectangle(const Rect&) override {}
    void drawRoundRect(const Rect&, int, int) override {}
    void drawEllipse(const Rect&) override {}
    void fillRect(const Rect&) override {}
    void drawText(Point, std::string_view) override {}
    void paintPath(const PathData& path, bool fill, bool stroke) override {
        painted.push_back({path.size(), pen.colour, pen.style,
                           fill ? brush.style : BrushStyle::Clear, brush.colour});
    }
};

TEST(DecoratedPath, DeformationMovesPointsVertically) {
    struct Case {
        const char* name;
        Deformation d;
        int x;
        int shift;
    };
    auto text = [](int mode, int amount, int W, bool shadow = false, int S = 1, int originX = 0) {
        return Deformation{mode, amount, W, W / 2, S, originX, false, shadow};
    };
    auto shape = [](int mode, int amount, int W, bool shadow = false, int S = 1) {
        return Deformation{mode, amount, W, W / 2, S, 0, true, shadow};
    };
    const Case cases[] = {
        // Slant 40 over a 100-pixel box: the ends move by 20 each way.
        {"slant left end", text(2, 40, 100), 0, -20},
        {"slant right end", text(2, 40, 100), 100, 20},
        {"slant middle", text(2, 40, 100), 50, 0},
        {"slant quarter", text(2, 40, 100), 25, -10},
        {"slant truncates toward zero", text(2, -30, 100), 1, 14},
        {"slant truncates toward zero, other side", text(2, -30, 100), 99, -14},
        {"any mode but 1 slants", text(0, 40, 100), 0, -20},
        {"u counts from the origin", text(2, 40, 100, false, 1, 200), 200, -20},
        // Arch -30: the middle lifted by 30, the ends stay.
        {"arch middle", text(1, -30, 100), 50, -30},
        {"arch ends", text(1, -30, 100), 0, 0},
        {"arch other end", text(1, -30, 100), 100, 0},
        {"arch quarter", text(1, -30, 100), 25, -15},
        {"arch shadow is centred S further", text(1, -30, 100, true, 4), 54, -30},
        {"arch shadow", text(1, -30, 100, true, 4), 50, -28},
        {"half rounds to even (2.5)", text(1, 5, 8), 2, 2},
        {"half rounds to even (1.5)", text(1, 3, 8), 6, 2},
        {"no amount", text(1, 0, 100), 50, 0},
        // Shapes: slants never move a point up; arches are centred one pixel left and a
        // negative amount is lifted back into the box.
        {"shape slant left", shape(2, 20, 100), 0, 0},
        {"shape slant right", shape(2, 20, 100), 100, 20},
        {"shape slant negative left", shape(2, -20, 100), 0, 20},
        {"shape slant negative right", shape(2, -20, 100), 100, 0},
        {"shape arch middle", shape(1, 10, 100), 49, 10},
        {"shape arch end", shape(1, 10, 100), -1, 0},
        {"shape arch negative middle", shape(1, -10, 100), 49, 0},
        {"shape arch negative end", shape(1, -10, 100), -1, 10},
        {"shape arch shadow", shape(1, 10, 100, true, 2), 51, 10},
    };
    for (const Case& c : cases) {
        Point p[] = {{c.x, 7}};
        DeformPoints(p, c.d);
        EXPECT_EQ(p[0].y - 7, c.shift) << c.name;
        EXPECT_EQ(p[0].x, c.x) << c.name;
    }
}

TEST(DecoratedPath, LayoutOfTextsAndShapes) {
    Bitmap probe(1, 1);
    BitmapCanvas canvas(probe);
    const std::string family =
        FontNameForIndex(InstalledFonts(), DefaultFontIndex(InstalledFonts()));
    const Size plainBox = MeasureText(canvas, family, 36, true, "あいう");
    ASSERT_GT(plainBox.width, 100);
    struct Case {
        const char* name;
        int mode, amount;
        int Y0;
        int extraHeight;
    };
    const Case cases[] = {
        {"flat", 1, 0, 0, 0},         {"slant 40", 2, 40, 20, 40}, {"slant -41", 2, -41, 20, 41},
        {"arch -30", 1, -30, 30, 30}, {"arch 30", 1, 30, 0, 30},
    };
    for (const Case& c : cases) {
        ObjectRecord r = Text("あいう");
        r.FontIndex = DefaultFontIndex(InstalledFonts());
        r.DeformMode = c.mode;
        r.DeformAmount = c.amount;
        const DecoratedLayout L = LayoutDecorated(canvas, r, family);
        EXPECT_TRUE(L.drawable) << c.name;
        EXPECT_EQ(L.Y0, c.Y0) << c.name;
        EXPECT_EQ(L.W, plainBox.width) << c.name;
        EXPECT_EQ(L.H, plainBox.height + c.extraHeight) << c.name;
        EXPECT_EQ(L.M, L.W / 2) << c.name;
        EXPECT_EQ(L.S, 3) << c.name;
    }
    // An empty middle line keeps its height.
    EXPECT_EQ(MeasureText(canvas, family, 20, true, "あ\r\n\r\nい").height,
              MeasureText(canvas, family, 20, true, "あ\r\nう\r\nい").height);
    EXPECT_GT(MeasureText(canvas, family, 20, true, "あ\r\n\r\nい").height,
              MeasureText(canvas, family, 20, true, "あ\r\nい").height);

    // Shapes: 100 x 60 has S = 2 and a corner of 15.
    const DecoratedLayout s = LayoutDecorated(canvas, Shape(2, 100, 60), family);
    EXPECT_EQ(s.shape, 2);
    EXPECT_EQ(s.S, 2);
    EXPECT_EQ(ShapeCorner(100, 60), 15);
    EXPECT_EQ(ShapeCorner(60, 100), 15);
    EXPECT_EQ(s.W, 100);
    EXPECT_EQ(s.H, 60);
    EXPECT_EQ(LayoutDecorated(canvas, Text("x", 5), family).S, 1);
    // The marker with a letter is a text of those nine characters; with a digit a shape.
    const DecoratedLayout markerText = LayoutDecorated(canvas, Text("vrnSHAPEx"), family);
    EXPECT_EQ(markerText.shape, 0);
    EXPECT_EQ(markerText.W, MeasureText(canvas, family, 36, true, "vrnSHAPEx").width);
    EXPECT_EQ(LayoutDecorated(canvas, Text("vrnSHAPE3"), family).shape, 3);

    // Boxes no bitmap can hold are not drawn, whatever the numbers.
    ObjectRecord huge = Shape(1, 100, 60);
    huge.DeformAmount = INT_MIN;
    EXPECT_FALSE(LayoutDecorated(canvas, huge, family).drawable);
    EXPECT_FALSE(LayoutDecorated(canvas, Shape(1, 40000, 10), family).drawable);
    EXPECT_FALSE(LayoutDecorated(canvas, Shape(1, 20000, 20000), family).drawable);
    EXPECT_FALSE(LayoutDecorated(canvas, Shape(1, 0, 10), family).drawable);
    EXPECT_FALSE(LayoutDecorated(canvas, Shape(1, 10, -5), family).drawable);
}

TEST(DecoratedPath, OutlinesAreClosedFlatFiguresWithinTheBufferLimit) {
    Bitmap probe(1, 1);
    BitmapCanvas scratch(probe);
    const Font bold{FontNameForIndex(InstalledFonts(), DefaultFontIndex(InstalledFonts())), 36,
                    true, false, clBlack};
    const PathData full = BuildTextLinePath(scratch, bold, "回鬱回鬱", 10, 20);
    ASSERT_GT(full.size(), 100u);
    EXPECT_FALSE(scratch.inPath());
    for (std::size_t i = 0; i < full.size(); ++i) {
        const std::uint8_t kind = full.types[i] & ~PT_CLOSEFIGURE;
        EXPECT_TRUE(kind == PT_MOVETO || kind == PT_LINETO) << i;
        EXPECT_GE(full.points[i].x, 10);
        EXPECT_GE(full.points[i].y, 20);
        // Every figure is closed by its last point.
        if (i + 1 == full.size() || (full.types[i + 1] & ~PT_CLOSEFIGURE) == PT_MOVETO) {
            EXPECT_TRUE(full.types[i] & PT_CLOSEFIGURE) << i;
        }
    }
    // "回" has a hole: two figures at least, which must stay in one path.
    EXPECT_GE(FigureCount(BuildTextLinePath(scratch, bold, "回", 0, 0)), 2);

    struct Case {
        std::size_t limit;
        bool whole;  // every glyph fits: nothing is lost
    };
    const Case cases[] = {{kMaxPathPoints, true}, {full.size() / 2, true}, {20, false}};
    for (const Case& c : cases) {
        const std::vector<PathData> pieces =
            TextLineOutline(scratch, bold, "回鬱回鬱", 10, 20, c.limit);
        ASSERT_FALSE(pieces.empty());
        int figures = 0;
        for (const PathData& piece : pieces) {
            EXPECT_LE(piece.size(), c.limit);
            EXPECT_EQ(piece.types.front(), PT_MOVETO);
            EXPECT_TRUE(piece.types.back() & PT_CLOSEFIGURE);
            figures += FigureCount(piece);
        }
        if (c.whole) {
            EXPECT_EQ(figures, FigureCount(full)) << c.limit;
        } else {
            EXPECT_LT(figures, FigureCount(full)) << c.limit;
        }
    }
    EXPECT_EQ(TextLineOutline(scratch, bold, "回鬱回鬱", 10, 20).size(), 1u);

    const PathData rect = BuildShapePath(scratch, 1, {5, 6, 50, 40}, 0);
    ASSERT_EQ(rect.size(), 4u);
    EXPECT_EQ(rect.points[1], (Point{5, 6}));
    const PathData ellipse = BuildShapePath(scratch, 3, {5, 6, 50, 40}, 0);
    EXPECT_GT(ellipse.size(), 20u);
    for (const Point& p : ellipse.points) {
        EXPECT_TRUE(p.x >= 5 && p.x <= 49 && p.y >= 6 && p.y <= 39) << p.x << "," << p.y;
    }
    EXPECT_EQ(FigureCount(BuildShapePath(scratch, 2, {0, 0, 100, 60}, 15)), 1);
}

TEST(DecoratedPath, BodyBrushesOfTheFillStyles) {
    // A 64 x 48 rectangle: S = 1, body (0, 0, 62, 46); its inside (2..60, 2..44) shows the
    // brush, the hatches anchored at the bitmap's origin with a period of 8.
    struct Case {
        int fillStyle;
        bool (*onLine)(int x, int y);
    };
    const Case cases[] = {
        {10, [](int, int) { return false; }},
        {11, [](int x, int y) { return (x + y) % 8 == 7; }},
        {12, [](int x, int y) { return x % 8 == y % 8; }},
        {13, [](int x, int y) { return x % 8 == 7 || y % 8 == 7; }},
        {14, [](int x, int y) { return x % 8 == y % 8 || (x + y) % 8 == 7; }},
        {15, [](int, int y) { return y % 8 == 7; }},
        {16, [](int x, int) { return x % 8 == 7; }},
    };
    for (const Case& c : cases) {
        ObjectRecord r = Shape(1, 64, 48);
        r.FillStyle = c.fillStyle;
        Bitmap bmp(64, 48, KeyColour);
        BitmapCanvas canvas(bmp);
        DrawDecorated(canvas, {0, 0}, r, nullptr, DrawMode::Screen);
        for (int y = 2; y <= 44; ++y)
            for (int x = 2; x <= 60; ++x)
                ASSERT_EQ(bmp.pixel(x, y), c.onLine(x, y) ? kRed : kBlue)
                    << "FillStyle " << c.fillStyle << " at " << x << "," << y;
        EXPECT_EQ(bmp.pixel(0, 20), kRed) << "outline";
        EXPECT_EQ(bmp.pixel(63, 47), KeyColour) << "no shadow";
        // The canvas's own state is given back.
        EXPECT_EQ(canvas.bkMode, BkMode::Transparent);
        EXPECT_EQ(canvas.brush.style, BrushStyle::Solid);
    }
}

TEST(DecoratedPath, LayersByMode) {
    // A 40 x 40 rectangle with a green shadow; its fill bitmap is a gradient of distinct
    // pixels, so that the pattern's alignment with the box shows.
    ObjectRecord r = Shape(1, 40, 40);
    r.Shadow = true;
    r.ShadowColor = kGreen;
    r.FillStyle = 2;
    auto fill = std::make_shared<Bitmap>(40, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) fill->setPixel(x, y, RGB(x * 5, y * 5, 77));
    const std::shared_ptr<const Bitmap> fillBitmap = fill;
    struct Case {
        DrawMode mode;
        bool withFill;
        TColor inside;  // pixel (20, 20)
        bool shadow;    // pixel (38, 38), in the shadow only
        bool outline;   // pixel (0, 20)
    };
    const Case cases[] = {
        {DrawMode::Screen, true, RGB(100, 100, 77), true, true},
        {DrawMode::Screen, false, kBlue, true, true},
        {DrawMode::Vector, true, clWhite, false, true},
        {DrawMode::Vector, false, kBlue, true, true},
        {DrawMode::Raster, true, RGB(100, 100, 77), true, false},
        {DrawMode::Raster, false, clWhite, false, false},
    };
    for (const Case& c : cases) {
        Bitmap bmp(40, 40, clWhite);
        BitmapCanvas canvas(bmp);
        DrawDecorated(canvas, {0, 0}, r, c.withFill ? fillBitmap : nullptr, c.mode);
        const int id = static_cast<int>(c.mode) * 2 + c.withFill;
        EXPECT_EQ(bmp.pixel(20, 20), c.inside) << id;
        EXPECT_EQ(bmp.pixel(38, 38) == kGreen, c.shadow) << id;
        EXPECT_EQ(bmp.pixel(0, 20) == kRed, c.outline) << id;
    }
    // At an origin the pattern moves with the box.
    Bitmap page(100, 100, clWhite);
    BitmapCanvas canvas(page);
    DrawDecorated(canvas, {30, 20}, r, fillBitmap, DrawMode::Screen);
    EXPECT_EQ(page.pixel(30 + 20, 20 + 10), RGB(100, 50, 77));
}

TEST(DecoratedPath, VectorModePaintsShadowsFirstThroughTheCanvasOnly) {
    ObjectRecord r = Text("あい\r\n\r\nうえ", 20);
    r.FontIndex = DefaultFontIndex(InstalledFonts());
    r.Shadow = true;
    r.ShadowColor = kGreen;
    r.OutlineColor = kRed;
    r.OutlineWidth = 2;
    r.DeformAmount = -12;
    RecordingCanvas rec;
    rec.pen.colour = RGB(1, 1, 1);
    DrawDecorated(rec, {300, 200}, r, nullptr, DrawMode::Vector);
    // Three lines (the empty one is a space, which has no outline): two shadow paths, then
    // two body paths.
    ASSERT_EQ(rec.painted.size(), 4u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(rec.painted[i].brushColour, kGreen);
        EXPECT_EQ(rec.painted[i].pen, kGreen);
    }
    for (int i = 2; i < 4; ++i) {
        EXPECT_EQ(rec.painted[i].brush, BrushStyle::Solid);
        EXPECT_EQ(rec.painted[i].pen, kRed);
    }
    EXPECT_EQ(rec.pen.colour, RGB(1, 1, 1)) << "the recording's pen is given back";

    // With a fill bitmap the print draws only the outlines: no shadow, a hollow brush.
    RecordingCanvas outlines;
    DrawDecorated(outlines, {300, 200}, r, std::make_shared<const Bitmap>(5, 5), DrawMode::Vector);
    ASSERT_EQ(outlines.painted.size(), 2u);
    for (const auto& p : outlines.painted) {
        EXPECT_EQ(p.brush, BrushStyle::Clear);
        EXPECT_EQ(p.pen, kRed);
    }
}

TEST(DecoratedPath, ArchLiftsTheMiddleOfAHorizontalBar) {
    // "ー" drawn five times is a long flat bar; arched by -30 its middle rises 30 pixels
    // while its ends stay.
    ObjectRecord r = Text("ーーーーー", 24);
    r.FontIndex = DefaultFontIndex(InstalledFonts());
    r.OutlineColor = kRed;
    r.FillColor = kRed;
    auto topInk = [](const Bitmap& b, int x) {
        for (int y = 0; y < b.height(); ++y)
            if (b.pixel(x, y) == kRed) return y;
        return -1;
    };
    Bitmap probe(1, 1);
    BitmapCanvas measure(probe);
    const std::string family = FontNameForIndex(InstalledFonts(), r.FontIndex);
    r.DeformAmount = 0;
    const DecoratedLayout flatL = LayoutDecorated(measure, r, family);
    Bitmap flat(flatL.W, flatL.H, KeyColour);
    BitmapCanvas flatCanvas(flat);
    DrawDecorated(flatCanvas, {0, 0}, r, nullptr, DrawMode::Screen);
    r.DeformAmount = -30;
    const DecoratedLayout archL = LayoutDecorated(measure, r, family);
    Bitmap arch(archL.W, archL.H, KeyColour);
    BitmapCanvas archCanvas(arch);
    DrawDecorated(archCanvas, {0, 0}, r, nullptr, DrawMode::Screen);
    const int middle = archL.M;
    const int nearEnd = middle / 4;
    ASSERT_GE(topInk(flat, middle), 0);
    ASSERT_GE(topInk(flat, nearEnd), 0);
    // Y0 = 30 moves the whole line down and the arch lifts it back, fully in the middle. Only
    // the path's points move: a straight edge between two corners stays straight, so the
    // middle of a glyph lies on a chord a few pixels below the curve.
    const int middleDrop = topInk(arch, middle) - topInk(flat, middle);
    const int endDrop = topInk(arch, nearEnd) - topInk(flat, nearEnd);
    EXPECT_GE(middleDrop, 0);
    EXPECT_LE(middleDrop, 8);
    EXPECT_NEAR(endDrop, 30 - 30 * nearEnd / middle, 4);
    EXPECT_EQ(arch.height(), flat.height() + 30);
}

}  // namespace
}  // namespace pb
