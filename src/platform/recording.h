#pragma once
// Recording: a Canvas that keeps every drawing call instead of painting it, the way an
// enhanced metafile records GDI calls. It has a size in logical pixels (the page at 100 %)
// and can be played back stretched into any rectangle of any canvas: a bitmap, a printer page
// or another recording. Written to disk it becomes an .emf file (emf_writer.h).
//
// What is kept is what reaches the canvas: lines, polylines, rectangles, rounded rectangles,
// ellipses, rectangle fills, text, painted paths (with their fill and stroke flags) and bitmap
// stretches, each with the pen, brush, font and background in force when it was drawn.
// Calls made inside an open path build the path as on any canvas; only painting the path
// (StrokeAndFillPath, FillPath, StrokePath) is recorded.
//
// Playback maps the recording's (0, 0, width, height) onto the destination rectangle. Pen
// widths scale with it (at least one pixel), hatch brushes keep their period of 8 device
// pixels, pattern brushes and fonts scale with the drawing. On a canvas that cannot scale
// text itself the text is played back as its glyph outlines. Playing into another recording
// keeps the drawing whole, without rounding, as a nested drawing.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace pb {

// The drawing state a call was made with.
struct CanvasState {
    Pen pen;
    Brush brush;
    Font font;
    BkMode bkMode = BkMode::Transparent;
    TColor bkColour = clWhite;
};

struct RecordingData;

// One recorded call. Coordinates are logical pixels of the recording it belongs to.
struct RecordedCall {
    enum class Kind : std::uint8_t {
        Line,       // points[0] -> points[1], the end pixel left out
        Polyline,   // points
        Rectangle,  // rect
        RoundRect,  // rect, corner
        Ellipse,    // rect
        FillRect,   // rect, brush only
        Text,       // points[0] = top-left of the text cell, text
        Path,       // points, types, fill, stroke
        Stretch,    // bitmap's srcRect stretched into rect with mode
        Nested,     // nested drawn stretched into rect
    };
    Kind kind = Kind::Line;
    std::uint32_t state = 0;  // index into RecordingData::states
    std::vector<Point> points;
    std::vector<std::uint8_t> types;
    Rect rect;
    Size corner;
    bool fill = false;
    bool stroke = false;
    std::string text;
    std::shared_ptr<const Bitmap> bitmap;
    Rect srcRect;
    StretchMode mode = StretchMode::Halftone;
    std::shared_ptr<const RecordingData> nested;
};

struct RecordingData {
    Size size;
    int dpi = 96;
    std::vector<CanvasState> states;
    std::vector<RecordedCall> calls;
};

// An axis-aligned mapping x' = ox + x * sx, y' = oy + y * sy.
struct Mapping {
    double sx = 1, sy = 1, ox = 0, oy = 0;
    double x(double v) const { return ox + v * sx; }
    double y(double v) const { return oy + v * sy; }
    // `inner` applied first, then this one.
    Mapping then(const Mapping& inner) const {
        return {sx * inner.sx, sy * inner.sy, ox + inner.ox * sx, oy + inner.oy * sy};
    }
    bool isIdentity() const { return sx == 1 && sy == 1 && ox == 0 && oy == 0; }
    // The mapping that takes (0, 0, from.width, from.height) onto `to`.
    static Mapping Stretch(Size from, const Rect& to);
};

class Recording : public Canvas {
  public:
    // An empty drawing of `size` logical pixels; `dpi` sizes its fonts.
    explicit Recording(Size size, int dpi = 96);

    Size size() const override;
    int logicalDpi() const override;

    bool isEmpty() const { return data_->calls.empty(); }
    std::size_t callCount() const { return data_->calls.size(); }
    // The recorded drawing (shared: later drawing on this recording does not change it).
    std::shared_ptr<const RecordingData> data() const { return data_; }

    // Plays the drawing back onto `target`, its (0, 0, width, height) stretched into `dest`.
    // The target's pen, brush, font and background are as before afterwards.
    void PlayInto(Canvas& target, const Rect& dest) const;

    // The source bitmap is copied (only the part used when that lies inside it).
    void StretchBlt(const Rect& dest, const Bitmap& src, const Rect& srcRect,
                    StretchMode mode) override;
    // Like StretchDraw, sharing `src` instead of copying it.
    void StretchDrawShared(const Rect& dest, std::shared_ptr<const Bitmap> src,
                           StretchMode mode = StretchMode::Halftone);

    // Calls `visit` for every call of `data` in order, nested drawings resolved: with the
    // drawing the call belongs to (its states and dpi) and the mapping from the call's
    // coordinates to those that `outer` maps `data` to.
    using Visitor = std::function<void(const RecordedCall&, const RecordingData&, const Mapping&)>;
    static void Visit(const RecordingData& data, const Mapping& outer, const Visitor& visit);

  protected:
    void drawLine(Point from, Point to) override;
    void drawPolyline(std::span<const Point> points) override;
    void drawRectangle(const Rect& r) override;
    void drawRoundRect(const Rect& r, int cornerWidth, int cornerHeight) override;
    void drawEllipse(const Rect& r) override;
    void fillRect(const Rect& r) override;
    void drawText(Point at, std::string_view text) override;
    void paintPath(const PathData& path, bool fill, bool stroke) override;

  private:
    RecordedCall& add(RecordedCall::Kind kind);
    void addNested(std::shared_ptr<const RecordingData> drawing, const Rect& dest);
    RecordingData& mutableData();
    std::shared_ptr<RecordingData> data_;
};

// The glyph outlines of `text` in `font` with the top-left of its text cell at `at`, as a
// path would take them (closed figures, curves kept), on a device of `dpi`.
PathData TextOutline(const Font& font, int dpi, Point at, std::string_view text);

}  // namespace pb
