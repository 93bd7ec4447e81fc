#pragma once
// TForm18, the preview screen: the composed page at an adjustable zoom, saved as one large
// bitmap (for the picture browser and other programs) or as enhanced metafiles.

#include <QScrollArea>
#include <memory>

#include "common/ui/form.h"
#include "platform/recording.h"
#include "platform/ui/recording_view.h"

namespace pb {

// Zoom steps of the preview: up by 10 to 800 at most, down by 10 to 10 at least.
int PreviewZoomStep(int zoom, bool up);

class TForm18 : public Form {
    Q_OBJECT
  public:
    // `drawing` is the composed page (page size); `shown` the size it is shown at 100 %
    // (smaller when the A4 page is reduced to a postcard).
    TForm18(std::shared_ptr<const Recording> drawing, Size shown, QWidget* parent = nullptr);

    QPushButton* BtnSaveAsBMP = nullptr;
    QPushButton* BtnSaveAsEMF = nullptr;
    QPushButton* BtnUpDn0 = nullptr;  // "↓"
    QPushButton* BtnUpDn1 = nullptr;  // "↑"
    QPushButton* Button0 = nullptr;   // "閉じる"
    QLineEdit* Edit0 = nullptr;
    QLabel* Label0 = nullptr;  // the zoom percentage
    QLabel* Label1 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    RecordingView* Image1 = nullptr;

    void BtnUpDnClick();
    void BtnSaveAsBMPClick();
    void BtnSaveAsEMFClick();
    void Button0Click();

  private:
    void FormCreate();
    void ShowAtZoom(int zoom);
    std::shared_ptr<const Recording> drawing_;
    Size shown_;
};

}  // namespace pb
