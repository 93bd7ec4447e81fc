#pragma once
// The price-card screen of the print panel ("差し込み印刷"): a product list (CSV) picked with the
// folder tree, the first card of the saved work shown as it will print, and all cards printed
// on the default printer, one page (times the copies) per row of the list.

#include <QListWidget>
#include <QProgressBar>
#include <QScrollArea>
#include <memory>
#include <string>

#include "app/price_cards.h"
#include "app/product_list.h"
#include "common/ui/form.h"
#include "common/ui/picture_browser_widgets.h"
#include "platform/ui/recording_view.h"

namespace pb {

// What the print panel hands over: the saved work that is the template, and the panel's
// settings the cards are printed with.
struct CardMergeRequest {
    std::string worksFolder;  // with a trailing "/"
    std::string work;         // the work's name ("X" + 12 digits)
    int copies = 1;
    bool centre = false;
    bool reduceA4ToPostcard = false;
    // Where the folder tree starts; empty for the user's home folder.
    std::string startFolder;
};

class CardMergeScreen : public Form {
    Q_OBJECT
  public:
    explicit CardMergeScreen(CardMergeRequest request, QWidget* parent = nullptr);

    FolderTree* ShellTreeView1 = nullptr;
    QListWidget* CsvList = nullptr;  // the *.csv files of the chosen folder
    QScrollArea* ScrollBox1 = nullptr;
    RecordingView* Image1 = nullptr;  // the first card
    QLabel* LabelList = nullptr;      // the list's file name and number of cards
    QLabel* LabelCard = nullptr;      // what is wrong with the first card
    QPushButton* BtnPrint = nullptr;  // "印刷"
    QPushButton* BtnClose = nullptr;  // "閉じる"
    QProgressBar* ProgressBar1 = nullptr;
    QLineEdit* Edit0 = nullptr;

    const ProductList& list() const { return list_; }

    void ShellTreeView1Change(const QString& path);
    void CsvListClick(QListWidgetItem* item);
    // Reads the list at `path` and shows its first card; false (and told) when it cannot be read.
    bool OpenList(const std::string& path);
    void BtnPrintClick();

  protected:
    void CloseByWindowManager() override;

  private:
    void FormCreate();
    void ShowFirstCard();

    CardMergeRequest request_;
    ProductList list_;
    std::string listName_;
    // The work's page mode and the size its cards are drawn at (screen pixels, reduced).
    int pageMode_ = 0;
    Size drawn_;
    bool printing_ = false;
};

// The text of the message after a run: the cards made and, row by row, the fields that failed
// (a missing column is said as such). At most `maxLines` problems are listed.
std::string CardRunReport(const CardRun& run, const ProductList& list, int maxLines = 12);

}  // namespace pb
