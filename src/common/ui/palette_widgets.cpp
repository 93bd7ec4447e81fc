#include "common/ui/palette_widgets.h"

#include "common/palette.h"

namespace pb {

namespace {

constexpr int kComponentWidth = 24;
constexpr int kComponentStep = 26;
constexpr int kCaptionHeight = 16;

// Cell n (1..40) of a palette whose Edit1 lies at `origin`.
QPoint PaletteCellPosition(QPoint origin, int n) {
    const int column = (n - 1) / 5, row = (n - 1) % 5;
    return origin + QPoint(column * PaletteWidgets::kCell, row * PaletteWidgets::kCell);
}

int NameNumber(const QObject* sender, const QString& prefix) {
    if (!sender) return 0;
    const QString name = sender->objectName();
    if (!name.startsWith(prefix)) return 0;
    bool ok = false;
    const int n = name.mid(prefix.size()).toInt(&ok);
    return ok ? n : 0;
}

}  // namespace

PaletteWidgets::PaletteWidgets(Form& form, const PaletteLayout& layout, QWidget* parent) {
    auto cell = [&](int n, TColor colour, QPoint at, int w) {
        cells_[static_cast<std::size_t>(n)] = form.AddColourCell(
            QStringLiteral("Edit%1").arg(n), colour, at.x(), at.y(), w, kCell, parent);
    };
    for (int n = 1; n <= 40; ++n)
        cell(n, PaletteColour(n), PaletteCellPosition(layout.palette, n), kCell);

    if (layout.components) {
        const QPoint o = *layout.components;
        caption_ = form.AddLabel(QStringLiteral("LabelIro"), QString(), o.x(), o.y(),
                                 7 * kComponentStep + 44, kCaptionHeight, parent);
        const int cellsTop = o.y() + kCaptionHeight;
        for (int k = 1; k <= 7; ++k) {
            const int x = o.x() + (k - 1) * kComponentStep;
            cell(40 + k, clWhite, QPoint(x, cellsTop), kComponentWidth);
            buttons_[static_cast<std::size_t>(k)] = form.AddButton(
                QStringLiteral("ColBtn%1").arg(k, 2, 10, QLatin1Char('0')), QStringLiteral("取消"),
                x - 1, cellsTop + kCell + 2, kComponentStep, 20, parent);
            buttons_[static_cast<std::size_t>(k)]->setStyleSheet(
                QStringLiteral("font-size: 9px; padding: 0;"));
            buttons_[static_cast<std::size_t>(k)]->hide();
        }
        buttons_[8] =
            form.AddButton(QStringLiteral("ColBtn08"), QStringLiteral("虹色"),
                           o.x() + 7 * kComponentStep + 2, cellsTop, 42, kCell + 22, parent);
    }
    if (layout.secondPalette) {
        for (int n = 1; n <= 40; ++n)
            cell(47 + n, PaletteColour(n), PaletteCellPosition(*layout.secondPalette, n), kCell);
    }
}

ColourCell* PaletteWidgets::Edit(int n) const {
    return n >= 1 && n <= 87 ? cells_[static_cast<std::size_t>(n)] : nullptr;
}

QPushButton* PaletteWidgets::ColBtn(int k) const {
    return k >= 1 && k <= 8 ? buttons_[static_cast<std::size_t>(k)] : nullptr;
}

std::optional<TColor> PaletteWidgets::CellColour(const QObject* sender) {
    const int n = NameNumber(sender, QStringLiteral("Edit"));
    if ((n >= 1 && n <= 40) || (n >= 48 && n <= 87)) return PaletteColour(n <= 40 ? n : n - 47);
    return std::nullopt;
}

int PaletteWidgets::ComponentSlot(const QObject* sender) {
    const int e = NameNumber(sender, QStringLiteral("Edit"));
    if (e >= 41 && e <= 47) return e - 40;
    const int b = NameNumber(sender, QStringLiteral("ColBtn"));
    return b >= 1 && b <= 7 ? b : 0;
}

void PaletteWidgets::showSlot(int k) {
    const auto i = static_cast<std::size_t>(k - 1);
    if (ColourCell* c = Edit(40 + k)) c->setColour(components_.colour[i]);
    if (QPushButton* b = ColBtn(k)) b->setVisible(componentsVisible_ && components_.use[i]);
}

void PaletteWidgets::TakePending(int k) {
    if (k < 1 || k > 7) return;
    components_.colour[static_cast<std::size_t>(k - 1)] = pending_;
    components_.use[static_cast<std::size_t>(k - 1)] = true;
    showSlot(k);
}

void PaletteWidgets::Remove(int k) {
    if (k < 1 || k > 7) return;
    components_.colour[static_cast<std::size_t>(k - 1)] = clWhite;
    components_.use[static_cast<std::size_t>(k - 1)] = false;
    showSlot(k);
}

void PaletteWidgets::LoadRainbow() {
    for (int k = 1; k <= 7; ++k) {
        components_.colour[static_cast<std::size_t>(k - 1)] =
            kRainbow[static_cast<std::size_t>(k - 1)];
        components_.use[static_cast<std::size_t>(k - 1)] = true;
        showSlot(k);
    }
}

void PaletteWidgets::ResetComponents() {
    for (int k = 1; k <= 7; ++k) Remove(k);
}

void PaletteWidgets::SetComponents(const ComponentColours& components) {
    components_ = components;
    for (int k = 1; k <= 7; ++k) showSlot(k);
}

void PaletteWidgets::ShowComponents(bool visible, const QString& caption) {
    componentsVisible_ = visible;
    if (!caption_) return;
    caption_->setText(caption);
    caption_->setVisible(visible);
    for (int k = 1; k <= 7; ++k) {
        Edit(40 + k)->setVisible(visible);
        showSlot(k);
    }
    ColBtn(8)->setVisible(visible);
}

}  // namespace pb
