// The road of a typical work on the real program: popboard started from a copy of its folder
// on an X server of its own (1280 x 800, no window manager, so that every window lies where
// the program puts it) and driven only by clicks, drags and keys on its windows (xdotool).
// The places clicked are the controls' geometry in the screens' code, relative to their
// windows. At the end the saved work's files, the gallery and the printed pages are read back.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <utility>

#include "common/palette.h"
#include "objects/strdata.h"
#include "platform/file_service.h"
#include "platform/text_codec.h"
#include "support/outside_programs.h"
#include "textentry/keyboard_logic.h"

namespace pb {
namespace {

// Colours as they show on the screen and the printed page, after smoothing and resampling.
using PixelTest = bool (*)(QRgb);
bool Reddish(QRgb p) { return qRed(p) > qGreen(p) + 80 && qRed(p) > qBlue(p) + 80; }
bool Bluish(QRgb p) { return qBlue(p) > qRed(p) + 80 && qBlue(p) > qGreen(p) + 80; }
bool Lime(QRgb p) { return qGreen(p) > qRed(p) + 80 && qGreen(p) > qBlue(p) + 80; }
bool Magenta(QRgb p) { return qRed(p) > 180 && qBlue(p) > 180 && qGreen(p) < 80; }
bool Dark(QRgb p) { return qGray(p) < 100; }
bool White(QRgb p) { return qRed(p) > 240 && qGreen(p) > 240 && qBlue(p) > 240; }

// The pixels of `area` that pass `is`, and their bounding box.
struct Found {
    long count = 0;
    QRect box;
};
Found FindPixels(const QImage& image, QRect area, PixelTest is) {
    Found f;
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (is(image.pixel(x, y))) {
                ++f.count;
                f.box |= QRect(x, y, 1, 1);
            }
    return f;
}

// Where popboard's windows are: the page area of the main screen is 567 wide, the side
// screens (object list, design, gallery) stand right of it.
constexpr char kMain[] = "popboard", kRegion[] = "選択範囲編集中", kKeys[] = "文字入力",
               kList[] = "WordArt風MetaFile", kAsk[] = "どうでもいいけど";
const QRect kPageOnScreen(0, 0, 397, 561);  // an A4 page at zoom 50
QPoint Centre(int x, int y, int w, int h) { return {x + w / 2, y + h / 2}; }
// A radio button takes clicks on its circle and caption only.
QPoint Radio(int groupX, int groupY, int x, int y, int h) { return {groupX + x + 8, groupY + y + h / 2}; }
QPoint MainPaletteCell(int n) { return Centre(636 + (n - 1) / 5 * 19, 234 + (n - 1) % 5 * 16, 19, 16); }
QPoint MainTool(int i) {
    return Radio(572, 348, i < 4 ? 4 : 96, 8 + (i % 4) * 22, 22);
}

class Road : public ::testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_PROGRAMS("Xvfb", "xdotool", "import", "zbarimg", "pdftoppm", "pdfinfo");
        ASSERT_TRUE(dir.isValid());
        // The server takes a free display and writes its number when it is ready.
        xvfb.start(QString::fromStdString(test::ProgramPath("Xvfb")),
                   {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
        ASSERT_TRUE(xvfb.waitForReadyRead(30000)) << "Xvfb did not start";
        display = ":" + QString::fromUtf8(xvfb.readLine()).trimmed();
        // The program keeps its working files and works in its own folder: a copy of it.
        const char* bin = std::getenv("POPBOARD_BIN_DIR");
        const std::filesystem::path from(bin ? bin : "."), to(appDir());
        std::filesystem::create_directories(to);
        std::filesystem::copy(from / "popboard", to / "popboard");
        std::filesystem::copy(from / "DicData", to / "DicData",
                              std::filesystem::copy_options::recursive);
        QDir().mkpath(dir.filePath("pictures"));
        QImage photo(160, 100, QImage::Format_RGB32);
        photo.fill(qRgb(255, 0, 255));
        ASSERT_TRUE(photo.save(dir.filePath("pictures/photo.jpg"), "JPG", 95));
        ASSERT_TRUE(Files().WriteBytes(appDir() + "PixDir.txt",
                                       dir.filePath("pictures").toStdString()));
    }
    void TearDown() override {
        if (HasFailure() && xvfb.state() == QProcess::Running) {
            const QString shot = dir.filePath("failure.png");
            Screen().save(shot);
            dir.setAutoRemove(false);
            std::cout << "The road stopped at: " << step << "\nThe screen then: "
                      << shot.toStdString() << std::endl;
        }
        for (QProcess* p : {&app, &xvfb}) {
            p->kill();
            p->waitForFinished(10000);
        }
    }

    std::string appDir() const { return dir.filePath("app/").toStdString(); }
    QProcessEnvironment Environment() const {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("DISPLAY", display);
        e.insert("QT_QPA_PLATFORM", "xcb");
        return e;
    }
    QByteArray Run(const std::string& program, const QStringList& args) {
        QProcess p;
        p.setProcessEnvironment(Environment());
        p.start(QString::fromStdString(test::ProgramPath(program)), args);
        p.waitForFinished(60000);
        return p.readAllStandardOutput();
    }
    QImage Screen() { return QImage::fromData(Run("import", {"-window", "root", "png:-"}), "PNG"); }
    static bool Poll(const std::function<bool()>& done, int ms = 60000) {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > ms) return false;
            QThread::msleep(150);
        }
        return true;
    }
    QString Window(const char* title) {
        return QString::fromUtf8(Run("xdotool", {"search", "--onlyvisible", "--name",
                                                 QStringLiteral("^%1$").arg(QString::fromUtf8(title))}))
            .section('\n', 0, 0);
    }
    // A window that does not come or go ends the road (gtest reports the exception).
    QString WaitWindow(const char* title) {
        QString id;
        if (!Poll([&] { return !(id = Window(title)).isEmpty(); }))
            throw std::runtime_error(std::string("no window ") + title);
        return id;
    }
    void WaitGone(const char* title) {
        if (!Poll([&] { return Window(title).isEmpty(); }))
            throw std::runtime_error(std::string("still open: ") + title);
    }
    // The window `title`; a window newly come is taken once its picture is still (clicks
    // that come before its first paint may be lost).
    QString Target(const char* title) {
        const QString id = WaitWindow(title);
        if (id != lastWindow) {
            QImage before = Screen();
            Poll([&] { return std::exchange(before, Screen()) == before; });
            lastWindow = id;
        }
        return id;
    }
    void Click(const char* title, QPoint at) {
        const QString id = Target(title);
        Run("xdotool", {"mousemove", "--window", id, QString::number(at.x()),
                        QString::number(at.y()), "click", "1"});
    }
    // A press, eight moves on the way and a release.
    void Drag(const char* title, QPoint from, QPoint to) {
        const QString id = Target(title);
        QStringList a{"mousemove", "--window", id, QString::number(from.x()),
                      QString::number(from.y()), "mousedown", "1"};
        for (int i = 1; i <= 8; ++i) {
            const QPoint p = from + (to - from) * i / 8;
            a << "mousemove" << "--window" << id << QString::number(p.x()) << QString::number(p.y());
        }
        Run("xdotool", a << "mouseup" << "1");
    }
    void Answer(const char* key) {
        Run("xdotool", {"windowfocus", "--sync", WaitWindow(kAsk), "key", key});
        WaitGone(kAsk);
    }
    // Presses the on-screen keyboard's keys showing the characters of `text`: the kana keys
    // (StringGrid2 at 348, 88; cells 35 x 24 and lines of 1, the separator column 10 is 3
    // wide), the letters (StringGrid3 at 268, 292) and the digits (StringGrid4 at 268, 265).
    void Type(const QString& text) {
        struct Grid {
            CellTable cells;
            int x, y, w;
        };
        const Grid grids[] = {{KanaKeyCells(true), 348, 88, 35},
                              {LetterKeyCells(), 268, 292, 35},
                              {DigitKeyCells(), 268, 265, 29}};
        for (const QChar c : text) {
            std::optional<QPoint> at;
            for (const Grid& g : grids)
                for (int col = 0, left = g.x; col < g.cells.ColumnCount(); ++col) {
                    for (int row = 0; row < g.cells.RowCount(); ++row)
                        if (QString::fromStdString(Cp932ToUtf8(g.cells.Cell(col, row))).trimmed() == c)
                            at = QPoint(left + g.w / 2, g.y + row * 25 + 12);
                    left += (&g == grids && col == 10) ? 4 : g.w + 1;
                }
            ASSERT_TRUE(at) << "no key " << QString(c).toStdString();
            Click(kKeys, *at);
        }
    }
    std::optional<ObjectRecord> Object(const std::string& folder) { return ReadObject(folder, 0); }

    QTemporaryDir dir;
    QProcess xvfb, app;
    QString display, lastWindow;
    std::string step;
};

TEST_F(Road, FromANewPageToTwoPrintedCopies) {
    const char* server = std::getenv("POPBOARD_TEST_CUPS_SERVER");
    const bool cups = server && *server;
    if (!cups && test::StrictRun()) FAIL() << "no CUPS queue: .ci/run exports POPBOARD_TEST_CUPS_SERVER";
    QElapsedTimer clock;
    clock.start();
    QProcessEnvironment environment = Environment();
    environment.insert("CUPS_SERVER", cups ? server : "/nonexistent.sock");
    app.setProcessEnvironment(environment);
    app.start(QString::fromStdString(appDir() + "popboard"), {});
    WaitWindow(kMain);
    ASSERT_TRUE(Poll([&] { return White(Screen().pixel(100, 100)); })) << "no page shown";

    step = "a new A4 page, after the save question";
    Drag(kMain, {50, 50}, {200, 100});  // FreeDraw on the postcard page
    ASSERT_TRUE(Poll([&] { return FindPixels(Screen(), {45, 45, 160, 60}, Dark).count > 50; }));
    Click(kMain, Centre(574, 42, 107, 24));  // Btn21 "A4縦"
    Answer("n");
    ASSERT_TRUE(Poll([&] { return White(Screen().pixel(390, 555)); })) << "no A4 page";

    step = "painting with two tools, undo and redo";
    const QRect ellipse(195, 35, 140, 100);
    Click(kMain, MainPaletteCell(3));  // red
    Click(kMain, MainTool(2));          // Rectangle
    Drag(kMain, {40, 40}, {160, 120});
    Click(kMain, MainPaletteCell(27));  // blue
    Click(kMain, MainTool(4));           // Ellipse
    Drag(kMain, {200, 40}, {330, 130});
    ASSERT_TRUE(Poll([&] { return FindPixels(Screen(), ellipse, Bluish).count > 100; }));
    Click(kMain, Centre(574, 136, 107, 26));  // Btn8 "戻す"
    ASSERT_TRUE(Poll([&] { return FindPixels(Screen(), ellipse, Bluish).count == 0; }));
    Click(kMain, Centre(683, 136, 107, 26));  // Btn9 "進む"
    ASSERT_TRUE(Poll([&] { return FindPixels(Screen(), ellipse, Bluish).count > 100; }));

    step = "a QR code drawn in a region lifted into the region editor";
    Click(kMain, MainTool(7));  // "□選択範囲編集"
    Drag(kMain, {20, 200}, {320, 420});  // page pixels 40, 400 to 640, 840
    Click(kRegion, Centre(106, 22, 100, 32));  // Btn16 "QRcode描画"
    Click("QRcode", Radio(8, 4, 12, 28 + 52 * 2, 44));  // RadioButton3, three times the module
    Click("QRcode", Centre(600, 24, 150, 60));           // Button4 "OK"
    Type("ROAD19");
    Click(kKeys, Centre(684, 376, 102, 84));  // BtnDtStClose "確定"
    WaitGone(kKeys);
    Click("QRcode", Centre(656, 24, 128, 60));  // TForm13's Button2 "確定"
    WaitGone("QRcode");

    step = "a JPEG imported into the region, the region pasted back";
    Click(kRegion, Centre(106, 58, 100, 32));     // Btn5 "画像"
    Click("画像", Radio(588, 0, 4, 4, 24));        // RadioButton0 "原寸"
    Click("画像", {208 + 40, 4 + 24});             // the one picture of ListView1
    ASSERT_TRUE(Poll([&] { return FindPixels(Screen(), {0, 200, 160, 100}, Magenta).count > 15000; }));
    Click("画像", Centre(588, 156, 90, 40));  // BtnDtStClose "OK"
    WaitGone("画像");
    Click(kRegion, Centre(684, 156, 46, 40));  // Btn8 "確定"
    WaitGone(kRegion);

    step = "a decorated text typed with a kanji conversion";
    const std::string objects = appDir() + "TmpWorkC/";
    Click(kMain, Centre(574, 484, 216, 28));  // Btn16 "WordArt風MetaFile使用"
    Click(kList, Centre(4, 56, 200, 44));     // Btn06 "追加(装飾文字)"
    ASSERT_TRUE(Poll([&] { return Object(objects).has_value(); }));
    Click(kList, Centre(4, 328, 200, 44));  // Btn03 "文字列変更"
    Click(kKeys, Centre(4, 168, 64, 40));   // Button130 "Clear"
    Type("ﾊﾅ");  // the kana keys show half-width katakana
    Click(kKeys, Centre(649, 14, 41, 44));  // Button117 "漢字変換"
    // The candidates show in StringGrid1 (4, 240; rows of 24), navy on the black screen.
    ASSERT_TRUE(Poll([&] { return qBlue(Screen().pixel(54, 252)) > 100; })) << "no candidates";
    Click(kKeys, {54, 252});  // the first candidate, 花
    Click(kKeys, Centre(684, 376, 102, 84));
    ASSERT_TRUE(Poll([&] { return Object(objects) && Object(objects)->Text == "花"; }));

    step = "the object's design changed";
    Click(kList, Centre(4, 376, 200, 44));  // Btn04 "デザイン変更"
    Click("デザイン変更", Radio(2, 0, 70, 2, 22));  // RBtn1 "中身"
    Click("デザイン変更", Centre(4 + 3 * 18, 304 + 3 * 18, 18, 18));  // palette cell 19, lime
    Click("デザイン変更", Centre(4 + 54, 2 + 28, 52, 26));  // BtnK1 "影付"
    Click("デザイン変更", Centre(156, 304, 64, 44));  // BtnDtStClose "確定"
    ASSERT_TRUE(Poll([&] {
        const auto r = Object(objects);
        return r && r->FillColor == PaletteColour(19) && r->Shadow;
    }));

    step = "the object dragged";
    WaitWindow(kList);
    const QPoint dropped(250, 420);
    Drag(kMain, {20, 20}, dropped);  // the object lies at the page's corner
    QRect onScreen;
    ASSERT_TRUE(Poll([&] {
        onScreen = FindPixels(Screen(), kPageOnScreen, Lime).box;
        return (onScreen.center() - dropped).manhattanLength() < 16;
    })) << "the object stays at " << onScreen.x() << ", " << onScreen.y();
    Click(kList, Centre(4, 470, 200, 56));  // Btn08 "元の画面に戻る"
    WaitGone(kList);

    step = "保存";
    Click(kMain, Centre(574, 70, 70, 28));  // Btn13
    const std::string works = appDir() + "A4HGK/";
    std::string name;
    ASSERT_TRUE(Poll([&] {
        const auto pages = Files().ListFiles(works + "SImg");
        name = pages.empty() ? "" : pages[0].substr(0, pages[0].size() - 4);
        return !name.empty() && Object(works + "SData/" + name + "/") &&
               !QImage(QString::fromStdString(works + "SImg/" + name + ".bmp")).isNull();
    }));
    const QString page = QString::fromStdString(works + "MImg/" + name + ".bmp");
    const QImage saved(page);
    ASSERT_EQ(saved.size(), QSize(794, 1123));
    EXPECT_GT(FindPixels(saved, {76, 76, 250, 170}, Reddish).count, 300);
    EXPECT_GT(FindPixels(saved, {396, 76, 270, 190}, Bluish).count, 300);
    EXPECT_GT(FindPixels(saved, {40, 400, 160, 100}, Magenta).count, 15000);
    EXPECT_EQ(FindPixels(saved, saved.rect(), Lime).count, 0) << "the object burnt into the page";
    EXPECT_EQ(Run("zbarimg", {"-q", page}).trimmed(), "QR-Code:ROAD19");
    const QImage thumbnail(QString::fromStdString(works + "SImg/" + name + ".bmp"));
    EXPECT_EQ(thumbnail.size(), QSize(140, 140));
    EXPECT_GT(FindPixels(thumbnail, thumbnail.rect(), Lime).count, 0) << "no object on the thumbnail";
    const auto record = Object(works + "SData/" + name + "/");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->Text, "花");
    EXPECT_EQ(record->FillColor, PaletteColour(19));

    step = "the gallery";
    Click(kMain, Centre(720, 70, 70, 28));  // Btn15 "履歴"
    WaitWindow("履歴");
    EXPECT_TRUE(Poll([&] { return FindPixels(Screen(), {569, 2, 200, 160}, Lime).count > 0; }))
        << "the gallery does not show the work";
    Click("履歴", Centre(103, 640 + 36, 97, 48));  // BtnFormClose "キャンセル"
    WaitGone("履歴");

    step = "印刷設定, two copies, 印刷";
    const passwd* user = getpwuid(getuid());
    const char* cupsOut = std::getenv("POPBOARD_TEST_CUPS_PDF_DIR");
    const std::string out = !cups                ? appDir() + "PDF"
                            : cupsOut && *cupsOut ? cupsOut
                                                  : std::string(user ? user->pw_dir : "") + "/PDF";
    const auto before = Files().ListFiles(out);
    Click(kMain, Centre(683, 452, 107, 28));  // Btn23 "印刷設定"
    Click(kMain, Centre(746, 14, 44, 34));    // Btn7 "↑"
    Click(kMain, Centre(574, 56, 216, 44));   // Btn17 "印刷"
    if (!cups) {
        std::cout << "No CUPS queue here: printed on the built-in PDF printer instead" << std::endl;
        Answer("Return");  // "プリンタがないのでPDFにした"
    }
    std::string pdf;
    ASSERT_TRUE(Poll([&] {
        for (const std::string& f : Files().ListFiles(out))
            if (std::find(before.begin(), before.end(), f) == before.end() &&
                Run("pdfinfo", {QString::fromStdString(out + "/" + f)}).contains("Pages:"))
                pdf = out + "/" + f;
        return !pdf.empty();
    }, 90000)) << "no PDF arrived in " << out;
    EXPECT_TRUE(Run("pdfinfo", {QString::fromStdString(pdf)}).simplified().contains("Pages: 2"));
    for (const QString n : {"1", "2"}) {
        SCOPED_TRACE("page " + n.toStdString());
        const QString png = dir.filePath("printed-" + n);
        Run("pdftoppm", {"-r", "96", "-f", n, "-l", n, "-singlefile", "-png",
                         QString::fromStdString(pdf), png});
        const QImage printed(png + ".png");
        EXPECT_EQ(Run("zbarimg", {"-q", png + ".png"}).trimmed(), "QR-Code:ROAD19");
        EXPECT_GT(FindPixels(printed, {40, 400, 160, 100}, Magenta).count, 14000);
        // The object where it was dropped: the page pixels under its place on the screen.
        const QRect at = FindPixels(printed, printed.rect(), Lime).box;
        const QRect expected(onScreen.topLeft() * 2, onScreen.size() * 2);
        EXPECT_LE((at.topLeft() - expected.topLeft()).manhattanLength(), 8);
        EXPECT_LE((at.bottomRight() - expected.bottomRight()).manhattanLength(), 8);
    }
    if (cups) Files().DeleteFile(pdf);

    step = "終了";
    Click(kMain, Centre(574, 292, 216, 34));  // Btn24 "元の画面に戻る"
    Click(kMain, Centre(683, 516, 107, 32));  // Btn1 "終了"
    ASSERT_TRUE(app.waitForFinished(60000)) << "the program did not end";
    EXPECT_EQ(app.exitCode(), 0) << app.readAllStandardError().toStdString();
    std::cout << "The road took " << clock.elapsed() / 1000.0 << " s" << std::endl;
}

}  // namespace
}  // namespace pb
