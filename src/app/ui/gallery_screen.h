#pragma once
// TForm11, the gallery of saved works: a narrow screen in place of the side panel, one
// thumbnail per work. Touching a thumbnail shows the work on the main screen's page area;
// "OK" opens it for editing, "キャンセル" brings back the page and objects of before. In
// delete mode touching a thumbnail deletes that work.

#include <QCheckBox>
#include <QListWidget>
#include <cstdint>
#include <string>

#include "common/ui/form.h"
#include "platform/bitmap.h"

namespace pb {

class TForm1;
struct AppState;

// Shows a work on the main screen: its page, the page mode and zoom that go with it, and its
// objects rendered from `folder` (a saved work's object folder or the working one).
void PreviewWork(TForm1& form, const Bitmap& page, const std::string& folder);

class TForm11 : public Form {
    Q_OBJECT
  public:
    explicit TForm11(TForm1& main);

    QPushButton* BtnFormClose = nullptr;  // "キャンセル" / "閉じる"
    QPushButton* BtnDtStClose = nullptr;  // "OK"
    QCheckBox* CheckBox1 = nullptr;       // "削除Mode On/Off"
    QLineEdit* Edit0 = nullptr;
    QListWidget* FileListBox1 = nullptr;  // hidden: the thumbnail files
    QListWidget* ListView1 = nullptr;     // one item per work, the thumbnails as icons

    // The work shown on the page area (its name, without ".bmp"), empty when none.
    const std::string& selectedName() const { return selected_; }

    void FillGallery();
    void ListView1Click(int index);
    void BtnDtStCloseClick();
    void BtnFormCloseClick();
    void CheckBox1Click();

  protected:
    void CloseByWindowManager() override { BtnFormCloseClick(); }
    void FormClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    // Brings back the page, page mode and objects of the moment the gallery opened.
    void RestoreCurrentWork();
    // Opens the shown work for editing; false when it could not be opened.
    bool OpenSelectedWork();

    TForm1& main_;
    std::string selected_;
    std::uint8_t pageModeBefore_ = 0;
    bool unsavedBefore_ = false;  // the work of before had changes not saved
};

}  // namespace pb
