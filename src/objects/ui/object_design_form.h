#pragma once
// ObjectDesignForm: what the two object design screens (TForm8, TForm9) share. Each edits the
// record of the selected object (App().SelectedObject) in a side panel right of the page area,
// with the object on the page as its only preview: every change renders the object image
// again with its selection frame. While a design screen is open every other object image is
// disabled. "確定" writes the record, "Cancel" renders the object again from its unchanged
// file; both go back to the object list, which keeps the selection.
//
// The lower part of the panel is alike on both screens: the palette with "確定" and "Cancel"
// beside it, the component colours and the second palette below.

#include <QListWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/ui/form.h"
#include "common/ui/palette_widgets.h"
#include "objects/strdata.h"
#include "platform/geometry.h"

namespace pb {

// The list of Japanese fonts (ListBox1) of the design and stamp screens at `place` on
// `parent`, with `current` selected when it is there.
QListWidget* AddJapaneseFontList(QWidget* parent, const QRect& place, const std::string& current);
// The name chosen in such a list; empty when none.
std::string ChosenFontName(const QListWidget* list);
// A touch on the font list: the chosen font's index among the installed fonts, or nothing when
// none is chosen or `refused` turns it down (the list's selection is then cleared).
std::optional<int> TouchedFont(QListWidget* list,
                               const std::function<bool(const std::string&)>& refused);

class ObjectDesignForm : public PaletteForm {
    Q_OBJECT
  public:
    // Whether a record was found for the selected slot; a screen without one closes at once.
    bool loaded() const { return loaded_; }
    int slot() const { return slot_; }

    QLineEdit* Edit0 = nullptr;
    QPushButton* BtnDtStClose = nullptr;  // "確定"
    QPushButton* BtnFormClose = nullptr;  // "Cancel"
    QListWidget* ListBox1 = nullptr;      // the Japanese fonts

  protected:
    explicit ObjectDesignForm(QWidget* parent);
    ~ObjectDesignForm() override;

    // Column and rows of the panel (pixels).
    static constexpr int kLeft = 4;
    static constexpr int kColumnWidth = 216;
    static constexpr int kPaletteTop = 304;
    static constexpr int kComponentsTop = 398;
    static constexpr int kSecondPaletteTop = 456;

    // Places the panel right of the page area over the main screen's side panel, reads the
    // selected object's record and disables the other object images. False when there is no
    // record (the screen then closes itself).
    bool OpenDesign(ObjectFamily family);
    const std::string& folder() const;
    // The record as read at open; the screens keep their state in a copy.
    const ObjectRecord& stored() const { return stored_; }

    // The palette with the component colours and the second palette, "確定" and "Cancel".
    void BuildLowerPanel();
    // The font list (ListBox1) with the current font selected.
    void BuildFontList(int x, int y, int w, int h, int fontIndex);
    // The name of the font chosen in ListBox1; empty when none.
    std::string ChosenFont() const;

    // Room to the right of and below the object on the page, in page pixels.
    Size Room() const;
    // The object image's offset from the page image, in page pixels at 100 %.
    Point PagePosition() const;
    // Shows the refusal (caption "NG") when the box does not fit; true when refused.
    bool RefuseUnlessFits(Size box, int reserveBelow = 0) const;

    // Renders `rec` into the object image (by its family) and draws the selection frame, under
    // the hourglass.
    void ShowPreview(const ObjectRecord& rec);
    // "確定": writes `rec` at the object's present place; "Cancel": renders the object again
    // from its file at its stored place. Both return to the object list.
    void ConfirmDesign(ObjectRecord rec);
    void CancelDesign();
    // The second palette shows with the component colours.
    void ShowComponentColours(bool visible, const QString& caption = {});

    // Closed by other means than its two buttons: as "Cancel", so that the object shows what
    // its file holds and the object list comes back.
    void CloseByWindowManager() override;
    void FormClose() override;

  private:
    void SetOtherObjectsEnabled(bool enabled);
    void ReturnToObjectList();

    int slot_ = -1;
    bool loaded_ = false;
    ObjectRecord stored_;
};

}  // namespace pb
