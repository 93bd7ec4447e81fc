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
// The widget set keeps the pending colour and the seven slots. It marks the cell of the colour
// now in use on the palette (the screen tells which colour that is) and the cell of the pending
// colour on the second palette, and moves the mark after each click.
// PaletteForm, below, is the base
// of the screens that use it: it connects the widgets and does the hand-over every such screen
// does alike; the screen only says where a palette colour goes and redraws its preview.

#include <QLabel>
#include <QPoint>
#include <QAbstractButton>
#include <QPushButton>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "common/fill_styles.h"
#include "common/ui/form.h"

namespace pb {

// Marks the cell whose colour is `colour` and unmarks every other; none is marked when
// `colour` is empty (the colour in use came from elsewhere) or is none of the cells'.
void MarkColourCells(std::span<ColourCell* const> cells, std::optional<TColor> colour);

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

    // What the controls do when clicked; each gets the number the control stands for.
    struct Handlers {
        std::function<void(TColor)> paletteCell;        // Edit1..Edit40: its colour
        std::function<void(TColor)> secondPaletteCell;  // Edit48..Edit87: its colour
        std::function<void(int)> componentCell;         // Edit41..Edit47: slot 1..7
        std::function<void(int)> removeButton;          // ColBtn01..ColBtn07: slot 1..7
        std::function<void()> rainbow;                  // ColBtn08
        // The screen's colour now in use; empty when it is none a palette cell gave (a
        // component slot, a picture). The palette marks it at MarkCurrent and after each click.
        std::function<std::optional<TColor>()> current;
    };
    // Connects the controls this screen has; `context` ends the connections when deleted.
    void Connect(QObject* context, const Handlers& handlers);
    // Marks the cell of the screen's colour now in use (see Handlers::current): at open, and
    // when the screen changes what that colour is.
    void MarkCurrent();

    TColor pending() const { return pending_; }
    // The b-handler: the colour a second-palette click sets (and marks); nothing is redrawn.
    void SetPending(TColor colour);
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
    void showSlot(int k);

    std::array<ColourCell*, 88> cells_{};
    std::array<QPushButton*, 9> buttons_{};
    std::function<std::optional<TColor>()> current_;
    QLabel* caption_ = nullptr;
    TColor pending_ = clWhite;
    ComponentColours components_;
    bool componentsVisible_ = true;
};

// PaletteForm: the base of the screens that pick colours with PaletteWidgets (the object
// design screens and the stamp screens). A palette cell's colour goes to the screen's target
// (PaletteColourChosen); a second-palette cell sets the pending colour; a component cell
// takes the pending colour (IroOK), its "取消" frees the slot (IroCancel) and "虹色" loads the
// rainbow (ColBtn08Click), each followed by ComponentsChanged(). Every click gives the focus
// to Edit0 first. The palette marks the screen's CurrentPaletteColour().
class PaletteForm : public Form {
    Q_OBJECT
  public:
    std::unique_ptr<PaletteWidgets> palette;

    void IroOK(int k);
    void IroCancel(int k);
    void ColBtn08Click();

  protected:
    using Form::Form;
    ~PaletteForm() override;

    // Creates the widgets on this screen (or on `parent`, a panel of it) and connects them.
    void BuildPalette(const PaletteLayout& layout, QWidget* parent = nullptr);
    // A palette cell was clicked: the screen's colour target takes `colour`.
    virtual void PaletteColourChosen(TColor colour) = 0;
    // The component colours changed: the screen redraws.
    virtual void ComponentsChanged() = 0;
    // The colour a palette cell would now change (see PaletteWidgets::Handlers::current).
    virtual std::optional<TColor> CurrentPaletteColour() const = 0;
    // Marks that colour on the palette: at open and when the screen's state changes it.
    void MarkCurrentColour();
    // The mark follows these buttons (the choice of the colour's target) as they toggle.
    void MarkFollows(std::initializer_list<QAbstractButton*> targets);
};

}  // namespace pb
