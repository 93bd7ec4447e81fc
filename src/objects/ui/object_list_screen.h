#pragma once
// TForm16, the object list: the object mode of the editor. A narrow side panel over the main
// screen's tools, beside the page with its object images, from which the user adds plain
// texts, decorated texts and shapes, copies, deletes and brings objects to the front, and
// edits the selected object's text. Objects are selected by touching their images on the page
// (the main screen's CImgClick, active while this screen is open) and dragged there.
//
// While it is open the page image and the floating selection are disabled; "元の画面に戻る"
// saves every object's position and enables them again, and so does closing the screen by the
// window manager.

#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <string>

#include "common/ui/form.h"

namespace pb {

class TForm16 : public Form {
    Q_OBJECT
  public:
    // FormCreate: placed right of the page area over the side panel.
    explicit TForm16(QWidget* parent = nullptr);

    std::array<QPushButton*, 9> Btn{};  // Btn00..Btn08
    QLineEdit* Edit0 = nullptr;

    void Btn05Or06Or07Click(int kind);  // 追加: 5 plain text, 6 decorated text, 7 shape
    void Btn00Click();          // Copy(ｸﾛｰﾝ作成)
    void Btn01Click();          // 削除
    void Btn02Click();          // 最前面
    void Btn03Click();          // 文字列変更
    void Btn04Click();          // デザイン変更
    void Btn08Click();          // 元の画面に戻る

  protected:
    void CloseByWindowManager() override { Btn08Click(); }
    void FormClose() override;

  private:
    void FormCreate();
    // Btn00..Btn04 are shown exactly while an object exists.
    void ShowObjectButtons();
    // Renders the selected object again, which removes its selection frame.
    void RemoveFrame();
    // The selected slot when it holds an object; otherwise -1 (after "何か選択しろ" when
    // nothing is selected at all).
    int SelectedSlot();
    const std::string& folder() const;
};

}  // namespace pb
