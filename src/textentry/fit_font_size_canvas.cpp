// Kept apart from fit_font_size.cpp so that only callers measuring on a canvas link the
// canvas.
#include "textentry/fit_font_size.h"

namespace pb {

int FitFontSize(const FitFontRequest& request, Canvas& canvas) {
    return FitFontSize(request, [&canvas](std::string_view line, const Font& font) {
        canvas.font = font;
        return Size{canvas.TextWidth(line), canvas.TextHeight(line)};
    });
}

}  // namespace pb
