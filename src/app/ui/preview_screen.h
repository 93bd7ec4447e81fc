#pragma once
// TForm18, the preview screen: the composed page at an adjustable zoom, saved as one large
// bitmap (for the picture browser and other programs) or as enhanced metafiles.

#include <QScrollArea>
#include <memory>

#include "common/ui/form.h"
#include "platform/recording.h"
#include "platform/ui/recording_view.h"

namespace pb {

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
    QLabel* Label0 = nullptr;  // shows the zoom percentage
    QLabel* Label1 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    RecordingView* Image1 = nullptr;

    int zoom() const { return zoom_; }

    // up: "↑" (BtnUpDn1), else "↓" (BtnUpDn0).
    void BtnUpDnClick(bool up);
    void BtnSaveAsBMPClick();
    void BtnSaveAsEMFClick();
    void Button0Click();

  private:
    void FormCreate();
    void ShowAtZoom(int zoom);
    std::shared_ptr<const Recording> drawing_;
    Size shown_;
    int zoom_ = 100;
};

}  // namespace pb
