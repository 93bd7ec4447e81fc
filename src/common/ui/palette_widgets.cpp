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

}  // namespace

void MarkColourCells(std::span<ColourCell* const> cells, std::optional<TColor> colour) {
    for (ColourCell* cell : cells)
        if (cell) cell->setMarked(colour && cell->colour() == (*colour & 0xFFFFFF));
}

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
        SetPending(pending_);
    }
}

ColourCell* PaletteWidgets::Edit(int n) const {
    return n >= 1 && n <= 87 ? cells_[static_cast<std::size_t>(n)] : nullptr;
}

QPushButton* PaletteWidgets::ColBtn(int k) const {
    return k >= 1 && k <= 8 ? buttons_[static_cast<std::size_t>(k)] : nullptr;
}

void PaletteWidgets::Connect(QObject* context, const Handlers& handlers) {
    auto onClick = [context](ColourCell* cell, std::function<void()> f) {
        if (cell && f) QObject::connect(cell, &ColourCell::clicked, context, std::move(f));
    };
    current_ = handlers.current;
    for (int n = 1; n <= 40; ++n) {
        const TColor colour = PaletteColour(n);
        if (handlers.paletteCell)
            onClick(Edit(n), [this, f = handlers.paletteCell, colour] {
                f(colour);
                MarkCurrent();
            });
        if (handlers.secondPaletteCell)
            onClick(Edit(47 + n), [f = handlers.secondPaletteCell, colour] { f(colour); });
    }
    for (int k = 1; k <= 7; ++k) {
        if (handlers.componentCell)
            onClick(Edit(40 + k), [f = handlers.componentCell, k] { f(k); });
        if (QPushButton* b = ColBtn(k); b && handlers.removeButton)
            QObject::connect(b, &QPushButton::clicked, context,
                             [f = handlers.removeButton, k] { f(k); });
    }
    if (QPushButton* b = ColBtn(8); b && handlers.rainbow)
        QObject::connect(b, &QPushButton::clicked, context, handlers.rainbow);
}

void PaletteWidgets::MarkCurrent() {
    MarkColourCells(std::span(cells_).subspan(1, 40),
                    current_ ? current_() : std::optional<TColor>());
}

void PaletteWidgets::SetPending(TColor colour) {
    pending_ = colour & 0xFFFFFF;
    MarkColourCells(std::span(cells_).subspan(48, 40), pending_);
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

PaletteForm::~PaletteForm() = default;

void PaletteForm::BuildPalette(const PaletteLayout& layout, QWidget* parent) {
    palette = std::make_unique<PaletteWidgets>(*this, layout, parent);
    PaletteWidgets::Handlers h;
    h.paletteCell = [this](TColor colour) {
        FocusSink();
        PaletteColourChosen(colour);
    };
    // The pending colour only: nothing changes on screen until a component cell takes it.
    h.secondPaletteCell = [this](TColor colour) {
        palette->SetPending(colour);
        FocusSink();
    };
    h.componentCell = [this](int k) { IroOK(k); };
    h.removeButton = [this](int k) { IroCancel(k); };
    h.rainbow = [this] { ColBtn08Click(); };
    h.current = [this] { return CurrentPaletteColour(); };
    palette->Connect(this, h);
}

void PaletteForm::MarkCurrentColour() {
    if (palette) palette->MarkCurrent();
}

void PaletteForm::MarkFollows(std::initializer_list<QAbstractButton*> targets) {
    for (QAbstractButton* b : targets)
        if (b) connect(b, &QAbstractButton::toggled, this, &PaletteForm::MarkCurrentColour);
}

void PaletteForm::IroOK(int k) {
    palette->TakePending(k);
    FocusSink();
    ComponentsChanged();
}

void PaletteForm::IroCancel(int k) {
    palette->Remove(k);
    FocusSink();
    ComponentsChanged();
}

void PaletteForm::ColBtn08Click() {
    palette->LoadRainbow();
    FocusSink();
    ComponentsChanged();
}

}  // namespace pb
