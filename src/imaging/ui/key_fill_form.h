#pragma once
// KeyFillForm: what the background fill of the region (TForm7) and the margin fill of the
// page (TForm10) share. Both keep the picture as the screen opened it and paint every fill
// afresh from it into the bitmap they work on, after one snapshot of that bitmap's history;
// both offer SOLID, STRIPE (width 1..100, "横"/"縦"), GRADATION and 画像 (a picture from the
// folder tree and thumbnail list, cropped or tiled to the size), with the palette, the seven
// component colours and "虹色". The screens name their controls differently and differ in
// what the key is and where the result goes; those are the hooks below.

#include <QListWidgetItem>
#include <array>
#include <string>

#include "common/fill_styles.h"
#include "common/ui/palette_widgets.h"
#include "common/ui/picture_browser_widgets.h"
#include "imaging/colour_key_fill.h"
#include "platform/bitmap.h"

namespace pb {

class KeyFillForm : public PaletteForm {
    Q_OBJECT
  public:
    QLineEdit* Edit0 = nullptr;
    FolderTree* ShellTreeView1 = nullptr;
    ThumbnailListView* ListView1 = nullptr;

    // The picture as the screen opened it; every fill starts from it.
    const Bitmap& opened() const { return opened_; }
    KeyFillStyle style() const { return style_; }
    TColor currentColour() const { return current_; }
    int stripeWidth() const { return stripeWidth_; }
    // Whether a fill has been applied since the screen opened.
    bool filled() const { return filled_; }

    void ListView1Click(QListWidgetItem* item);
    void ShellTreeView1Change(const QString& path);

  protected:
    using PaletteForm::PaletteForm;

    // The controls that differ by name between the screens.
    struct ControlNames {
        std::array<const char*, 4> styles;  // SOLID, STRIPE, GRADATION, 画像
        const char* across;                 // "横"
        const char* down;                   // "縦"
        const char* widthValue;             // the stripe width
        const char* widthTitle;             // "STRIPEの太さ"
        const char* thinner;                // "↓"
        const char* thicker;                // "↑"
    };
    struct Placement {
        QPoint palette;     // Edit1
        QPoint components;  // the caption over Edit41..Edit47
        QRect styles;       // the style group
        QRect direction;    // the direction group
        QPoint width;       // the width title, the value and its buttons below it
        QRect tree;         // ShellTreeView1
        QRect list;         // ListView1
    };
    // Creates the shared controls and connects them.
    void BuildFillControls(const ControlNames& names, const Placement& at);
    // The picture every fill starts from.
    void SetOpened(Bitmap picture) { opened_ = std::move(picture); }

    // What is painted: the fill of the chosen style with the screen's colours.
    KeyFill CurrentFill() const;
    // Snapshot (stop when it fails), the target := the opened picture with `match` painted,
    // shown again.
    void ApplyFill(const KeyMatch& match);
    // The target back to the opened picture, without a snapshot.
    void ShowOpened();

    // Style 0..3 (SOLID, STRIPE, GRADATION, 画像): the slots cleared, the controls of the
    // style shown, the target reset to the opened picture.
    void StyleChosen(int style);
    void StripeWidthStep(int step);
    void DirectionChosen();
    void SetCurrentColour(TColor colour);
    // Shows the controls of the chosen style; the screens extend it.
    virtual void ShowStyleControls();

    // The screen's fill of its key (ApplyFill with its match).
    virtual void Refill() = 0;
    // Saves the target as the next snapshot of its history; false when that failed.
    virtual bool Snapshot() = 0;
    // The bitmap the fills paint and its showing after a change.
    virtual Bitmap& Target() = 0;
    virtual void TargetChanged() = 0;

    // PaletteForm: a component cell takes the current colour; a change of the components
    // refills.
    void ComponentsChanged() override { Refill(); }
    std::optional<TColor> CurrentPaletteColour() const override { return current_; }

    std::array<QRadioButton*, 4> styleButtons_{};
    QRadioButton* across_ = nullptr;
    QRadioButton* down_ = nullptr;
    QGroupBox* directionGroup_ = nullptr;
    QLabel* widthValue_ = nullptr;
    QLabel* widthTitle_ = nullptr;
    QPushButton* thinner_ = nullptr;
    QPushButton* thicker_ = nullptr;

  private:
    Bitmap opened_;
    KeyFillStyle style_ = KeyFillStyle::Solid;
    TColor current_ = clBlack;
    int stripeWidth_ = 5;
    Bitmap picture_;  // 画像: the chosen picture as loaded
    bool filled_ = false;
};

}  // namespace pb
