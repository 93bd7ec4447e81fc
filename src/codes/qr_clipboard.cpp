// The clipboard side of TQRCode: copy, paste and the clipboard watch, through QClipboard.

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QObject>

#include <memory>

#include "codes/qr_code.h"
#include "platform/bitmap_qt.h"
#include "platform/emf_writer.h"
#include "platform/text_codec.h"

namespace pb {

namespace {

// The system clipboard, or nothing when the program runs without a GUI application.
QClipboard* SystemClipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance())
               ? QGuiApplication::clipboard()
               : nullptr;
}

}  // namespace

// Follows QClipboard::dataChanged while it lives. Unlike a viewer chain there is no
// notification on joining, so every change that arrives is a real one.
class TQRCode::ClipboardWatch {
  public:
    explicit ClipboardWatch(TQRCode& owner) {
        QClipboard* clipboard = SystemClipboard();
        if (!clipboard) return;
        QObject::connect(clipboard, &QClipboard::dataChanged, &context_, [&owner, clipboard] {
            const QMimeData* mime = clipboard->mimeData();
            if (!mime || !mime->hasText()) return;
            try {
                owner.SetCodeFromClipboard(mime->text().toStdString());
            } catch (const std::exception&) {
                // A split error has nowhere to go from a clipboard notification; the picture
                // keeps its last state and SymbolDisped tells the caller.
            }
        });
    }

  private:
    QObject context_;  // the connection ends with it
};

// Here, where ClipboardWatch is complete.
TQRCode::TQRCode() = default;
TQRCode::~TQRCode() = default;

void TQRCode::SetClipWatch(bool on) {
    if (on == clipWatch_) return;
    clipWatch_ = on;
    if (on)
        watch_ = std::make_unique<ClipboardWatch>(*this);
    else
        watch_.reset();
}

void TQRCode::CopyToClipboard() {
    QClipboard* clipboard = SystemClipboard();
    if (!clipboard || picture_.isNull()) return;
    auto mime = std::make_unique<QMimeData>();
    mime->setImageData(ImageFromBitmap(picture_));
    if (metafile_) {
        const std::string emf = EncodeEmf(*metafile_);
        mime->setData(QStringLiteral("image/emf"), QByteArray(emf.data(), qsizetype(emf.size())));
    }
    clipboard->setMimeData(mime.release());  // the clipboard owns it
}

void TQRCode::PasteFromClipboard() {
    QClipboard* clipboard = SystemClipboard();
    if (!clipboard) return;
    const QMimeData* mime = clipboard->mimeData();
    if (mime && mime->hasText()) SetCode(Utf8ToCp932(mime->text().toStdString()));
}

}  // namespace pb
