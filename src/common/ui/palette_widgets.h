#pragma once
// PaletteWidgets: the colour widgets that the design, stamp and fill screens share, created on
// a screen with the names the screens know them by:
//  - the palette, Edit1..Edit40 (8 columns of 5 cells of 18 x 18, numbered down each column);
//  - on screens with component colours: the seven component cells Edit41..Edit47 with their
//    remove buttons ColBtn01..ColBtn07 ("取消", shown while the slot is in use), the rainbow
//    button ColBtn08 ("虹色") and the caption above them ("STRIPE構成色選択", ...);
//  - on some of those a second palette, Edit48..Edit87, with the same 40 colours, from which
//    the pending component colour is taken.
//
// The widget set keeps the pending colour and the seven slots; each screen connects its own
// handlers (IroSentaku9a, IroSentaku9b, IroOK, IroCancel, ColBtn08Click) and calls the
// operations below from them, then redraws its preview.

#include <QLabel>
#include <QPoint>
#include <QPushButton>
#include <array>
#include <optional>

#include "common/fill_styles.h"
#include "common/ui/form.h"

namespace pb {

struct PaletteLayout {
    QPoint palette{0, 0};                 // top-left of Edit1
    std::optional<QPoint> components;     // top-left of the caption over Edit41..Edit47
    std::optional<QPoint> secondPalette;  // top-left of Edit48
};

class PaletteWidgets {
  public:
    static constexpr int kCell = 18;

    // Creates the widgets on `form` (or on `parent`, a panel of it).
    PaletteWidgets(Form& form, const PaletteLayout& layout, QWidget* parent = nullptr);

    // Edit1..Edit87 (nullptr for the ones this screen does not have).
    ColourCell* Edit(int n) const;
    // ColBtn01..ColBtn08 (nullptr without component colours).
    QPushButton* ColBtn(int k) const;
    QLabel* ComponentCaption() const { return caption_; }
    bool hasComponents() const { return caption_ != nullptr; }

    // Connects a screen's handlers: palette cells, second palette cells, component cells,
    // remove buttons, the rainbow button. The handlers tell the controls apart by sender().
    template <typename T>
    void ConnectPalette(T* screen, void (T::*handler)()) const {
        for (int n = 1; n <= 40; ++n) connectCell(n, screen, handler);
    }
    template <typename T>
    void ConnectSecondPalette(T* screen, void (T::*handler)()) const {
        for (int n = 48; n <= 87; ++n) connectCell(n, screen, handler);
    }
    template <typename T>
    void ConnectComponentCells(T* screen, void (T::*handler)()) const {
        for (int n = 41; n <= 47; ++n) connectCell(n, screen, handler);
    }
    template <typename T>
    void ConnectRemoveButtons(T* screen, void (T::*handler)()) const {
        for (int k = 1; k <= 7; ++k)
            if (QPushButton* b = ColBtn(k))
                QObject::connect(b, &QPushButton::clicked, screen, handler);
    }
    template <typename T>
    void ConnectRainbow(T* screen, void (T::*handler)()) const {
        if (QPushButton* b = ColBtn(8)) QObject::connect(b, &QPushButton::clicked, screen, handler);
    }

    // The palette colour of a clicked cell (Edit1..Edit40 or Edit48..Edit87).
    static std::optional<TColor> CellColour(const QObject* sender);
    // The component slot 1..7 of a clicked component cell (Edit41..Edit47) or remove button
    // (ColBtn01..ColBtn07); 0 for anything else.
    static int ComponentSlot(const QObject* sender);

    TColor pending() const { return pending_; }
    // The b-handler: the colour a second-palette click sets; nothing is redrawn.
    void SetPending(TColor colour) { pending_ = colour & 0xFFFFFF; }
    const ComponentColours& components() const { return components_; }

    // IroOK: slot k (1..7) takes the pending colour and is in use; its remove button shows.
    void TakePending(int k);
    // IroCancel: slot k becomes white and not in use; its remove button hides.
    void Remove(int k);
    // "虹色": the seven slots take the rainbow and are all in use.
    void LoadRainbow();
    // A new fill style: all seven slots white and not in use.
    void ResetComponents();
    // Shows the slots of a stored object.
    void SetComponents(const ComponentColours& components);
    // Shows or hides the component cells, their buttons and the caption.
    void ShowComponents(bool visible, const QString& caption = {});

  private:
    template <typename T>
    void connectCell(int n, T* screen, void (T::*handler)()) const {
        if (ColourCell* c = Edit(n)) QObject::connect(c, &ColourCell::clicked, screen, handler);
    }
    void showSlot(int k);

    std::array<ColourCell*, 88> cells_{};
    std::array<QPushButton*, 9> buttons_{};
    QLabel* caption_ = nullptr;
    TColor pending_ = clWhite;
    ComponentColours components_;
    bool componentsVisible_ = true;
};

}  // namespace pb
