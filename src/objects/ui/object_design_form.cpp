#include "objects/ui/object_design_form.h"

#include <QTimer>

#include "common/app_state.h"
#include "common/ui/object_image.h"
#include "common/ui/screen_hub.h"
#include "objects/design_rules.h"
#include "objects/object_renderer.h"
#include "objects/ui/object_images.h"
#include "platform/fonts.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/image_control.h"

namespace pb {

ObjectDesignForm::ObjectDesignForm(QWidget* parent)
    : PaletteForm(parent, Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_StyledBackground);
    Edit0 = AddFocusSink(kLeft + kColumnWidth - 12, 2, 12, 10);
}

ObjectDesignForm::~ObjectDesignForm() = default;

const std::string& ObjectDesignForm::folder() const {
    return App().ObjectFolder;
}

bool ObjectDesignForm::OpenDesign(ObjectFamily family) {
    const AppState& app = App();
    const int left = Hub().PageAreaWidth();
    const int width = app.WorkAreaWidth > left ? app.WorkAreaWidth - left : 225;
    const int height = app.WorkAreaHeight > 0 ? app.WorkAreaHeight : 553;
    QPoint origin(0, 0);
    if (const QWidget* main = Hub().MainWindow()) origin = main->geometry().topLeft();
    setGeometry(origin.x() + left, origin.y(), width, height);

    slot_ = app.SelectedObject;
    std::optional<ObjectRecord> rec;
    if (ObjectImages().exists(slot_)) rec = ReadObject(folder(), slot_);
    if (!rec || rec->family != family) {
        // Nothing to design: back to the object list at once.
        QTimer::singleShot(0, this, [this] { ReturnToObjectList(); });
        return false;
    }
    stored_ = *rec;
    loaded_ = true;
    SetOtherObjectsEnabled(false);
    return true;
}

void ObjectDesignForm::BuildLowerPanel() {
    PaletteLayout layout;
    layout.palette = QPoint(kLeft, kPaletteTop);
    layout.components = QPoint(kLeft, kComponentsTop);
    layout.secondPalette = QPoint(kLeft, kSecondPaletteTop);
    BuildPalette(layout);
    palette->ComponentCaption()->setObjectName(QStringLiteral("Label3"));
    const int buttonsLeft = kLeft + 8 * PaletteWidgets::kCell + 8;
    const int buttonsWidth = kLeft + kColumnWidth - buttonsLeft;
    BtnDtStClose = AddButton(QStringLiteral("BtnDtStClose"), QStringLiteral("確定"), buttonsLeft,
                             kPaletteTop, buttonsWidth, 44);
    BtnFormClose = AddButton(QStringLiteral("BtnFormClose"), QStringLiteral("Cancel"), buttonsLeft,
                             kPaletteTop + 46, buttonsWidth, 44);
    QFont bold = BtnDtStClose->font();
    bold.setBold(true);
    BtnDtStClose->setFont(bold);
}

QListWidget* AddJapaneseFontList(QWidget* parent, const QRect& place, const std::string& current) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QStringLiteral("ListBox1"));
    list->setGeometry(place);
    list->setFocusPolicy(Qt::NoFocus);
    for (const std::string& name : JapaneseFontNames(InstalledFonts())) {
        auto* item = new QListWidgetItem(QString::fromStdString(name), list);
        if (name == current) list->setCurrentItem(item);
    }
    if (QListWidgetItem* item = list->currentItem()) list->scrollToItem(item);
    return list;
}

std::string ChosenFontName(const QListWidget* list) {
    const QListWidgetItem* item = list ? list->currentItem() : nullptr;
    return item ? item->text().toStdString() : std::string();
}

std::optional<int> TouchedFont(QListWidget* list,
                               const std::function<bool(const std::string&)>& refused) {
    const std::string name = ChosenFontName(list);
    if (name.empty()) return std::nullopt;
    if (refused(name)) {
        list->clearSelection();
        list->setCurrentItem(nullptr);
        return std::nullopt;
    }
    return FontIndexOfName(InstalledFonts(), name);
}

void ObjectDesignForm::BuildFontList(int x, int y, int w, int h, int fontIndex) {
    ListBox1 =
        AddJapaneseFontList(this, QRect(x, y, w, h), FontNameForIndex(InstalledFonts(), fontIndex));
}

std::string ObjectDesignForm::ChosenFont() const {
    return ChosenFontName(ListBox1);
}

Point ObjectDesignForm::PagePosition() const {
    const TCImg* img = ObjectImages()[slot_];
    const ImageControl* page = Hub().PageImage();
    if (!img || !page) return {stored_.Left, stored_.Top};
    const Point offset = img->PositionOn(*page);
    const int zoom = Hub().Zoom() > 0 ? Hub().Zoom() : 100;
    return {offset.x * 100 / zoom, offset.y * 100 / zoom};
}

Size ObjectDesignForm::Room() const {
    const ImageControl* page = Hub().PageImage();
    const TCImg* img = ObjectImages()[slot_];
    if (!page || !img) return {0, 0};
    return RoomOnPage(page->picture().size(), img->PositionOn(*page), Hub().Zoom());
}

bool ObjectDesignForm::RefuseUnlessFits(Size box, int reserveBelow) const {
    const auto problem = FitProblem(box, Room(), reserveBelow);
    if (!problem) return false;
    Dialogs().MessageBox(*problem, "NG");
    return true;
}

void ObjectDesignForm::ShowPreview(const ObjectRecord& rec) {
    BusyCursor busy;
    if (rec.decorated())
        RenderDecorated(folder(), slot_, rec);
    else
        RenderPlainText(folder(), slot_, rec);
    if (TCImg* img = ObjectImages()[slot_]) img->DrawSelectionFrame();
}

void ObjectDesignForm::ConfirmDesign(ObjectRecord rec) {
    const Point at = PagePosition();
    rec.Left = at.x;
    rec.Top = at.y;
    if (!ReportObjectWrite(WriteObject(folder(), slot_, rec), rec)) return;
    ReturnToObjectList();
}

void ObjectDesignForm::CancelDesign() {
    if (RenderObject(folder(), slot_, false, true))
        if (TCImg* img = ObjectImages()[slot_]) img->DrawSelectionFrame();
    ReturnToObjectList();
}

void ObjectDesignForm::ShowComponentColours(bool visible, const QString& caption) {
    if (!palette) return;
    palette->ShowComponents(visible, caption);
    for (int n = 48; n <= 87; ++n)
        if (ColourCell* c = palette->Edit(n)) c->setVisible(visible);
}

void ObjectDesignForm::ReturnToObjectList() {
    Hub().OpenObjectList();
    Release();
}

void ObjectDesignForm::SetOtherObjectsEnabled(bool enabled) {
    for (int n = 0; n < kObjectSlots; ++n)
        if (TCImg* img = ObjectImages()[n]) img->SetEnabled(enabled || n == slot_);
}

void ObjectDesignForm::CloseByWindowManager() {
    if (loaded_)
        CancelDesign();
    else
        ReturnToObjectList();
}

void ObjectDesignForm::FormClose() {
    SetOtherObjectsEnabled(true);
}

}  // namespace pb
