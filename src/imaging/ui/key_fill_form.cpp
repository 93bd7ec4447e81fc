#include "imaging/ui/key_fill_form.h"

#include <algorithm>

#include "common/app_state.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "platform/work_indicator.h"

namespace pb {

void KeyFillForm::BuildFillControls(const ControlNames& names, const Placement& at) {
    Edit0 = AddFocusSink(at.palette.x() + 8 * PaletteWidgets::kCell + 4, at.palette.y());
    PaletteLayout layout;
    layout.palette = at.palette;
    layout.components = at.components;
    BuildPalette(layout);
    palette->ComponentCaption()->setObjectName(QStringLiteral("Label3"));

    const char* captions[] = {"SOLID", "STRIPE", "GRADATION", "画像"};
    auto* styles = AddGroup(QStringLiteral("GroupBoxStyle"), QString(), at.styles.x(),
                            at.styles.y(), at.styles.width(), at.styles.height());
    const int row = (at.styles.height() - 4) / 4;
    for (int i = 0; i < 4; ++i) {
        styleButtons_[static_cast<std::size_t>(i)] = AddRadio(
            QString::fromLatin1(names.styles[static_cast<std::size_t>(i)]),
            QString::fromUtf8(captions[i]), 6, 2 + i * row, at.styles.width() - 10, row, styles);
        connect(styleButtons_[static_cast<std::size_t>(i)], &QRadioButton::clicked, this,
                [this, i] { StyleChosen(i); });
    }
    styleButtons_[0]->setChecked(true);

    directionGroup_ = AddGroup(QStringLiteral("GroupBoxDirection"), QString(), at.direction.x(),
                               at.direction.y(), at.direction.width(), at.direction.height());
    const int half = (at.direction.width() - 8) / 2;
    across_ = AddRadio(QString::fromLatin1(names.across), QStringLiteral("横"), 6, 4, half, 22,
                       directionGroup_);
    down_ = AddRadio(QString::fromLatin1(names.down), QStringLiteral("縦"), 6 + half, 4, half, 22,
                     directionGroup_);
    across_->setChecked(true);
    for (QRadioButton* r : {across_, down_})
        connect(r, &QRadioButton::clicked, this, &KeyFillForm::DirectionChosen);

    const QPoint w = at.width;
    widthTitle_ = AddLabel(QString::fromLatin1(names.widthTitle), QStringLiteral("STRIPEの太さ"),
                           w.x(), w.y(), 130, 18);
    widthValue_ = AddLabel(QString::fromLatin1(names.widthValue), QStringLiteral("5"), w.x(),
                           w.y() + 20, 36, 28);
    widthValue_->setAlignment(Qt::AlignCenter);
    thinner_ = AddButton(QString::fromLatin1(names.thinner), QStringLiteral("↓"), w.x() + 40,
                         w.y() + 20, 42, 28);
    thicker_ = AddButton(QString::fromLatin1(names.thicker), QStringLiteral("↑"), w.x() + 86,
                         w.y() + 20, 42, 28);
    connect(thinner_, &QPushButton::clicked, this, [this] { StripeWidthStep(-1); });
    connect(thicker_, &QPushButton::clicked, this, [this] { StripeWidthStep(1); });

    ShellTreeView1 = new FolderTree(this);
    ShellTreeView1->setGeometry(at.tree);
    ListView1 = new ThumbnailListView(this);
    ListView1->setGeometry(at.list);
    connect(ListView1, &QListWidget::itemClicked, this, &KeyFillForm::ListView1Click);
    connect(ShellTreeView1, &FolderTree::folderChanged, this, &KeyFillForm::ShellTreeView1Change);
    SetCurrentColour(current_);
}

KeyFill KeyFillForm::CurrentFill() const {
    KeyFill fill;
    fill.style = style_;
    fill.colour = current_;
    fill.components = palette->components();
    fill.stripeWidth = stripeWidth_;
    fill.horizontal = across_->isChecked();
    fill.picture = picture_.isNull() ? nullptr : &picture_;
    return fill;
}

void KeyFillForm::ApplyFill(const KeyMatch& match) {
    // A picture fill waits for its picture.
    if (style_ == KeyFillStyle::Picture && picture_.isNull()) return;
    BusyCursor busy;
    if (!Snapshot()) return;
    Target() = ApplyKeyFill(opened_, match, CurrentFill());
    filled_ = true;
    TargetChanged();
}

void KeyFillForm::ShowOpened() {
    Target() = opened_;
    TargetChanged();
}

void KeyFillForm::StyleChosen(int style) {
    FocusSink();
    if (style < 0 || style > 3) return;
    style_ = static_cast<KeyFillStyle>(style);
    palette->ResetComponents();
    ShowStyleControls();
    if (style_ == KeyFillStyle::Picture) {
        AppState& app = App();
        ShellTreeView1->setEnabled(true);
        ShellTreeView1->SetPath(app.CurrentPictureFolder);
        app.CurrentPictureFolder =
            ListView1->ChangeFolder(app.CurrentPictureFolder, app.CurrentPictureFolder);
    }
    ShowOpened();
}

void KeyFillForm::ShowStyleControls() {
    const bool bands = style_ == KeyFillStyle::Stripe || style_ == KeyFillStyle::Gradation;
    const bool picture = style_ == KeyFillStyle::Picture;
    palette->ShowComponents(bands, style_ == KeyFillStyle::Stripe
                                       ? QStringLiteral("STRIPE構成色選択")
                                   : bands ? QStringLiteral("GRADATION構成色選択")
                                           : QString());
    directionGroup_->setVisible(bands);
    for (QWidget* w : {static_cast<QWidget*>(widthTitle_), static_cast<QWidget*>(widthValue_),
                       static_cast<QWidget*>(thinner_), static_cast<QWidget*>(thicker_)})
        w->setVisible(style_ == KeyFillStyle::Stripe);
    for (int n = 1; n <= 40; ++n) palette->Edit(n)->setVisible(!picture);
    ShellTreeView1->setVisible(picture);
    ListView1->setVisible(picture);
}

void KeyFillForm::StripeWidthStep(int step) {
    FocusSink();
    stripeWidth_ = std::clamp(stripeWidth_ + step, kMinStripeWidth, kMaxStripeWidth);
    widthValue_->setText(QString::number(stripeWidth_));
    Refill();
}

void KeyFillForm::DirectionChosen() {
    FocusSink();
    Refill();
}

void KeyFillForm::SetCurrentColour(TColor colour) {
    current_ = colour & 0xFFFFFF;
    // A component cell takes the current colour.
    palette->SetPending(current_);
    MarkCurrentColour();
}

void KeyFillForm::ListView1Click(QListWidgetItem* item) {
    FocusSink();
    const std::optional<std::string> touched = TouchedPicture(*ListView1, item);
    if (!touched) return;
    const std::string& path = *touched;
    BusyCursor busy;
    std::optional<Bitmap> picture = LoadPicture(path);
    if (!picture || picture->isNull()) return;
    picture_ = std::move(*picture);
    Refill();
}

void KeyFillForm::ShellTreeView1Change(const QString& path) {
    AppState& app = App();
    app.CurrentPictureFolder =
        ListView1->ChangeFolder(app.CurrentPictureFolder, path.toStdString());
}

}  // namespace pb
