#pragma once
// The main screen on a 1280 x 800 work area at 96 ppi with the built-in PDF printer, driven by
// clicks; shared by the widget tests of the app.

#include <gtest/gtest.h>

#include <QApplication>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <memory>
#include <string>

#include "app/ui/main_screen.h"
#include "app/works.h"
#include "objects/strdata.h"
#include "platform/file_service.h"
#include "platform/ui/metrics.h"
#include "support/ui/dialog_scope.h"

namespace pb::test {

// True for `letter` + the twelve digits of yymmddhhnnss + `suffix`, the program's stamped names.
inline bool IsStampedName(const std::string& name, char letter, const std::string& suffix = "") {
    if (name.size() != 13 + suffix.size() || name[0] != letter) return false;
    if (name.compare(13, std::string::npos, suffix) != 0) return false;
    return std::all_of(name.begin() + 1, name.begin() + 13,
                       [](char c) { return c >= '0' && c <= '9'; });
}

// Work `name` in the works folder of `appDir`: `page`, and `objects` as StrData0, 1, ...
inline void SaveWorkWithObjects(const std::string& appDir, const std::string& name,
                                const Bitmap& page, const std::vector<ObjectRecord>& objects) {
    EnsureWorkFolders(appDir);
    const std::string folder = JoinPath(appDir, "objects of " + name);
    ResetFolder(folder, true);
    for (std::size_t n = 0; n < objects.size(); ++n)
        ASSERT_EQ(WriteObject(folder, static_cast<int>(n), objects[n]), WriteStatus::Written);
    ASSERT_TRUE(StoreWork(JoinPath(appDir, "A4HGK"), name, page,
                          MakeThumbnail(page, page.size(), {}), folder));
}

class MainScreenFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        OverrideScreenMetrics(ScreenMetrics{96, 96, {0, 0, 1280, 800}});
        OverridePrinterMetrics(PrinterMetrics{PrinterKind::BuiltInPdf, "", 600, 600, 0, 0});
    }
    void TearDown() override {
        form.reset();
        Settle();
        OverrideScreenMetrics(std::nullopt);
        OverridePrinterMetrics(std::nullopt);
    }
    void Start() {
        form = std::make_unique<TForm1>(dir.path());
        form->show();
    }
    // A click on the control; a radio button takes clicks on its circle and caption only.
    static void Click(QWidget* w) {
        ASSERT_NE(w, nullptr);
        const bool radio = qobject_cast<QRadioButton*>(w);
        QTest::mouseClick(w, Qt::LeftButton, {}, radio ? QPoint(8, 12) : w->rect().center());
        QCoreApplication::processEvents();
    }
    // Screens closed by a click are deleted later; this lets them go.
    static void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    // The main screen's child screen of that class, if any.
    template <typename T>
    T* Child() {
        Settle();
        return form->findChild<T*>();
    }
    // The visible window of that objectName, if any.
    template <typename T>
    static T* Window(const char* name) {
        Settle();
        for (QWidget* w : QApplication::allWidgets())
            if (w->objectName() == QLatin1String(name) && w->isWindow() && w->isVisible())
                return qobject_cast<T*>(w);
        return nullptr;
    }
    const Bitmap& Page() const { return form->Image1->picture(); }
    // A free-hand stroke across the page image (coordinates of the image on screen).
    void Stroke(QPoint from, QPoint to) {
        QTest::mousePress(form->Image1, Qt::LeftButton, {}, from);
        QTest::mouseMove(form->Image1, (from + to) / 2);
        QTest::mouseMove(form->Image1, to);
        QTest::mouseRelease(form->Image1, Qt::LeftButton, {}, to);
    }
    // A red stroke (palette colour Edit3), with its history snapshot.
    void PaintRed() {
        Click(form->Edit[3]);
        Stroke({10, 10}, {100, 100});
    }

    TempDir dir;
    ScriptedDialogScope dialogs;
    std::unique_ptr<TForm1> form;
};

}  // namespace pb::test
