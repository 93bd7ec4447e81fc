// The road of a typical work: the real program, from a copy of its folder, on an X server of its
// own (1280 x 800, no window manager: windows lie where it puts them), driven by clicks, drags and
// keys (xdotool) at its controls' geometry; then its saved work, gallery and print are read back.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

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
#include "support/outside_programs.h"

namespace pb {
namespace {

// Colours on screen and paper, smoothed: one channel (0 red, 1 green, 2 blue) on top; magenta.
using PixelTest = std::function<bool(QRgb)>;
PixelTest Tint(int channel) {
    return [channel](QRgb p) {
        const int c[3] = {qRed(p), qGreen(p), qBlue(p)};
        return c[channel] > c[(channel + 1) % 3] + 80 && c[channel] > c[(channel + 2) % 3] + 80;
    };
}
const PixelTest Reddish = Tint(0), Lime = Tint(1), Bluish = Tint(2);
const PixelTest Magenta = [](QRgb p) { return qRed(p) > 180 && qBlue(p) > 180 && qGreen(p) < 80; };

// The pixels of `area` that pass `is`; `box` takes their bounding box.
long CountPixels(const QImage& image, QRect area, const PixelTest& is, QRect* box = nullptr) {
    long n = 0;
    QRect found;
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (is(image.pixel(x, y))) found |= QRect(x, y, 1, 1), ++n;
    if (box) *box = found;
    return n;
}

// The windows by their titles. The main screen's page area is 567 wide; the object list, the
// design screen and the gallery stand right of it.
constexpr char kMain[] = "popboard", kRegion[] = "選択範囲編集中", kKeys[] = "文字入力",
               kList[] = "WordArt風MetaFile", kDesign[] = "デザイン変更",
               kAsk[] = "どうでもいいけど";
const auto Centre = [](int x, int y, int w, int h) { return QPoint(x + w / 2, y + h / 2); };
// A radio button takes clicks on its circle and caption only.
const auto Radio = [](int x, int y, int h) { return QPoint(x + 8, y + h / 2); };
// The main screen's colours Edit1..40, 19 x 16 from 636, 234, and its tools RBtn0..7.
const auto Swatch = [](int n) { return QPoint(645 + (n - 1) / 5 * 19, 242 + (n - 1) % 5 * 16); };
const auto MainTool = [](int i) { return Radio(572 + (i < 4 ? 4 : 96), 356 + (i % 4) * 22, 22); };
// The keyboard's keys: cells of 35 x 24 with lines of 1, the kana (StringGrid2) at 348, 88
// (the first ten columns) and the digits (StringGrid4, 29 wide) at 268, 265.
const auto Kana = [](int col, int row) { return Centre(348 + col * 36, 88 + row * 25, 35, 24); };
const auto Digit = [](char d) { return Centre(268 + (d == '0' ? 9 : d - '1') * 30, 265, 29, 24); };

class Road : public ::testing::Test {
  protected:
    void SetUp() override {
        REQUIRE_PROGRAMS("Xvfb", "xdotool", "import", "zbarimg", "pdftoppm", "pdfinfo");
        // The server takes a free display and writes its number when it is ready.
        xvfb.start(QString::fromStdString(test::ProgramPath("Xvfb")),
                   {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
        ASSERT_TRUE(xvfb.waitForReadyRead(30000)) << "Xvfb did not start";
        environment.insert("DISPLAY", ":" + QString::fromUtf8(xvfb.readLine()).trimmed());
        environment.insert("QT_QPA_PLATFORM", "xcb");
        // The clicks are the screens' own coordinates: no scaling to the display.
        environment.insert("QT_SCALE_FACTOR", "1");
        // The program keeps its working files and works in its own folder: a copy of it.
        const char* bin = std::getenv("POPBOARD_BIN_DIR");
        const std::filesystem::path from(bin ? bin : "."), to(appDir());
        std::filesystem::create_directories(to);
        std::filesystem::copy(from / "popboard", to / "popboard");
        std::filesystem::copy(from / "DicData", to / "DicData",
                              std::filesystem::copy_options::recursive);
        // The picture folder the import screen opens, with a magenta JPEG.
        QImage photo(160, 100, QImage::Format_RGB32);
        photo.fill(qRgb(255, 0, 255));
        std::filesystem::create_directories(dir.filePath("pictures").toStdString());
        ASSERT_TRUE(photo.save(dir.filePath("pictures/photo.jpg"), "JPG", 95));
        Files().WriteBytes(appDir() + "PixDir.txt", dir.filePath("pictures").toStdString());
    }
    void TearDown() override {
        if (HasFailure() && xvfb.state() == QProcess::Running) {
            const QString shot = dir.filePath("failure.png");
            dir.setAutoRemove(!Screen().save(shot));
            std::cout << "The road stopped at " << step << "; see " << shot.toStdString() << "\n";
        }
        for (QProcess* p : {&app, &xvfb}) p->kill(), p->waitForFinished(10000);
    }

    std::string appDir() const { return dir.filePath("app/").toStdString(); }
    QByteArray Run(const std::string& program, const QStringList& args) {
        QProcess p;
        p.setProcessEnvironment(environment);
        p.start(QString::fromStdString(test::ProgramPath(program)), args);
        p.waitForFinished(60000);
        return p.readAllStandardOutput();
    }
    long OnScreen(QRect area, const PixelTest& is) { return CountPixels(Screen(), area, is); }
    QImage Screen() { return QImage::fromData(Run("import", {"-window", "root", "png:-"}), "PNG"); }
    static bool Poll(const std::function<bool()>& done, int ms = 60000) {
        QElapsedTimer t;
        for (t.start(); !done(); QThread::msleep(150))
            if (t.elapsed() > ms) return false;
        return true;
    }
    // Waits for `title` to show (its id) or to go, else throws: gtest reports it, the road ends.
    QString Await(const char* title, bool shown = true) {
        const QStringList search{"search", "--onlyvisible", "--name",
                                 "^" + QString::fromUtf8(title) + "$"};
        QString id;
        if (!Poll([&] {
                id = QString::fromUtf8(Run("xdotool", search)).section('\n', 0, 0);
                return id.isEmpty() != shown;
            }))
            throw std::runtime_error(std::string(shown ? "no window " : "still open: ") + title);
        return id;
    }
    // A window newly come is taken once its picture is still (earlier clicks may be lost).
    QString Target(const char* title) {
        const QString id = Await(title);
        if (std::exchange(lastWindow, id) == id) return id;
        // A window mapped but not yet painted looks still too; its screen may also finish
        // setting up just after it shows. A hand would not be quicker than this.
        QThread::msleep(1000);
        QImage before = Screen();
        Poll([&] { return std::exchange(before, Screen()) == before; });
        return id;
    }
    // A press at `from`, `moves` steps to `to` and a release there.
    void Drag(const char* title, QPoint from, QPoint to, int moves = 8) {
        const QString id = Target(title);
        QStringList a;
        for (int i = 0; i <= moves; ++i) {
            const QPoint p = from + (to - from) * i / std::max(moves, 1);
            a += {"mousemove", "--window", id, QString::number(p.x()), QString::number(p.y())};
            if (i == 0) a += {"mousedown", "1"};
        }
        Run("xdotool", a + QStringList{"mouseup", "1"});
    }
    void Key(const char* title, const char* key) {
        Run("xdotool", {"windowfocus", "--sync", Await(title), "key", key});
    }
    void Click(const char* title, std::initializer_list<QPoint> points) {
        for (const QPoint& p : points) Drag(title, p, p, 0);
    }
    // The page's own pixels (page pixels): the shapes, the JPEG and the QR code.
    void ExpectThePainting(const QImage& page, const QString& file) {
        EXPECT_GT(CountPixels(page, {76, 76, 250, 170}, Reddish), 300);
        EXPECT_GT(CountPixels(page, {396, 76, 270, 190}, Bluish), 300);
        EXPECT_GT(CountPixels(page, {40, 400, 160, 100}, Magenta), 15000);
        EXPECT_EQ(Run("zbarimg", {"-q", file}).trimmed(), "QR-Code:2026");
    }

    QTemporaryDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QProcess xvfb, app;
    QString lastWindow;
    std::string step;
};

TEST_F(Road, FromANewPageToTwoPrintedCopies) {
    const char* server = std::getenv("POPBOARD_TEST_CUPS_SERVER");
    const bool cups = server && *server;
    if (!cups && test::StrictRun()) FAIL() << "no CUPS queue (.ci/run starts one)";
    environment.insert("CUPS_SERVER", cups ? server : "/nonexistent.sock");
    app.setProcessEnvironment(environment);
    app.start(QString::fromStdString(appDir() + "popboard"), {});

    step = "a new A4 page, after the save question";
    Drag(kMain, {50, 50}, {200, 100});         // FreeDraw on the postcard page
    Click(kMain, {Centre(574, 42, 107, 24)});  // Btn21 "A4縦"
    Key(kAsk, "n");                            // "編集中のデータは保存する?"
    Await(kAsk, false);
    ASSERT_TRUE(Poll([&] { return qGray(Screen().pixel(390, 555)) > 240; })) << "no A4 page";

    step = "painting with two tools, undo and redo";
    auto blue = [&] { return OnScreen({195, 35, 140, 100}, Bluish); };  // the ellipse's place
    Click(kMain, {Swatch(3), MainTool(2)});                             // red, Rectangle
    Drag(kMain, {40, 40}, {160, 120});
    Click(kMain, {Swatch(27), MainTool(4)});  // blue, Ellipse
    Drag(kMain, {200, 40}, {330, 130});
    ASSERT_TRUE(Poll([&] { return blue() > 100; }));
    Click(kMain, {Centre(574, 136, 107, 26)});  // Btn8 "戻す"
    ASSERT_TRUE(Poll([&] { return blue() == 0; }));
    Click(kMain, {Centre(683, 136, 107, 26)});  // Btn9 "進む"
    ASSERT_TRUE(Poll([&] { return blue() > 100; }));

    step = "a QR code drawn in a region lifted into the region editor";
    Click(kMain, {MainTool(7)});                 // "□選択範囲編集"
    Drag(kMain, {20, 200}, {320, 420});          // page pixels 40, 400 to 640, 840
    Click(kRegion, {Centre(106, 22, 100, 32)});  // Btn16 "QRcode描画"
    // RadioButton3 (modules three times as large), Button4 "OK"
    Click("QRcode", {Radio(8 + 12, 4 + 132, 44), Centre(600, 24, 150, 60)});
    for (const char d : std::string("2026")) Click(kKeys, {Digit(d)});
    Click(kKeys, {Centre(684, 376, 102, 84)});    // BtnDtStClose "確定"
    Click("QRcode", {Centre(656, 24, 128, 60)});  // TForm13's Button2 "確定"
    Await("QRcode", false);

    step = "a JPEG imported into the region, the region pasted back";
    Click(kRegion, {Centre(106, 58, 100, 32)});                  // Btn5 "画像"
    Click("画像", {Radio(588 + 4, 4, 24), {208 + 40, 4 + 24}});  // "原寸", the one picture
    ASSERT_TRUE(Poll([&] { return OnScreen({0, 200, 160, 100}, Magenta) > 15000; }));
    Click("画像", {Centre(588, 156, 90, 40)});  // BtnDtStClose "OK"
    Await("画像", false);
    Click(kRegion, {Centre(684, 156, 46, 40)});  // Btn8 "確定"
    Await(kRegion, false);

    step = "a decorated text typed with a kanji conversion";
    const std::string objects = appDir() + "TmpWorkC/";  // the objects of the work in progress
    Click(kMain, {Centre(574, 484, 216, 28)});           // Btn16 "WordArt風MetaFile使用"
    Click(kList, {Centre(4, 56, 200, 44), Centre(4, 328, 200, 44)});  // Btn06, Btn03 (text)
    // Button130 "Clear", ﾊ, ﾅ, Button117 "漢字変換"
    Click(kKeys, {Centre(4, 168, 64, 40), Kana(5, 0), Kana(4, 0), Centre(649, 14, 41, 44)});
    // The candidates show in StringGrid1 (4, 240; rows of 24), navy on the black screen.
    ASSERT_TRUE(Poll([&] { return qBlue(Screen().pixel(54, 252)) > 100; })) << "no candidates";
    Click(kKeys, {{54, 252}, Centre(684, 376, 102, 84)});  // the first candidate, 花; "確定"
    ASSERT_TRUE(Poll([&] { return ReadObject(objects, 0).value_or(ObjectRecord{}).Text == "花"; }));

    step = "the object's design changed";
    Click(kList, {Centre(4, 376, 200, 44)});  // Btn04 "デザイン変更"
    // RBtn1 "中身", palette cell 19 (lime), BtnK1 "影付", BtnDtStClose "確定"
    Click(kDesign, {Radio(2 + 70, 2, 22), Centre(4 + 3 * 18, 304 + 3 * 18, 18, 18),
                    Centre(4 + 54, 2 + 28, 52, 26), Centre(156, 304, 64, 44)});
    ASSERT_TRUE(Poll([&] {
        const auto r = ReadObject(objects, 0);
        return r && r->FillColor == PaletteColour(19) && r->Shadow;
    }));

    step = "the object dragged";
    Await(kList);
    const QPoint dropped(250, 420);
    Drag(kMain, {20, 20}, dropped);  // from the page's corner, where a new object lies
    QRect onScreen;
    ASSERT_TRUE(Poll([&] {
        CountPixels(Screen(), {0, 0, 397, 561}, Lime, &onScreen);
        return (onScreen.center() - dropped).manhattanLength() < 16;
    })) << "the object stays at "
        << onScreen.x() << ", " << onScreen.y();
    Click(kList, {Centre(4, 470, 200, 56)});  // Btn08 "元の画面に戻る"
    Await(kList, false);

    step = "保存";
    Click(kMain, {Centre(574, 70, 70, 28)});  // Btn13
    const std::string works = appDir() + "A4HGK/";
    std::string name;
    ASSERT_TRUE(Poll([&] {
        const auto thumbnails = Files().ListFiles(works + "SImg");
        name = thumbnails.empty() ? "" : thumbnails[0].substr(0, thumbnails[0].size() - 4);
        return !name.empty() && ReadObject(works + "SData/" + name + "/", 0) &&
               !QImage(QString::fromStdString(works + "SImg/" + name + ".bmp")).isNull();
    }));
    const QString page = QString::fromStdString(works + "MImg/" + name + ".bmp");
    const QImage saved(page), thumbnail(QString::fromStdString(works + "SImg/" + name + ".bmp"));
    ASSERT_EQ(saved.size(), QSize(794, 1123));
    ExpectThePainting(saved, page);
    EXPECT_EQ(CountPixels(saved, saved.rect(), Lime), 0) << "the object burnt into the page";
    EXPECT_TRUE(thumbnail.size() == QSize(140, 140) &&
                CountPixels(thumbnail, {0, 0, 140, 140}, Lime))
        << "no object on the thumbnail";
    EXPECT_EQ(ReadObject(works + "SData/" + name + "/", 0)->Text, "花");  // there, as the wait saw

    step = "the gallery";
    Click(kMain, {Centre(720, 70, 70, 28)});  // Btn15 "履歴"
    EXPECT_TRUE(Poll([&] { return OnScreen({569, 2, 200, 160}, Lime) > 0; })) << "no work listed";
    Click("履歴", {Centre(103, 640 + 36, 97, 48)});  // BtnFormClose "キャンセル"
    Await("履歴", false);

    step = "印刷設定, two copies, 印刷";
    const char* cupsOut = std::getenv("POPBOARD_TEST_CUPS_PDF_DIR");  // else cups-pdf's ~/PDF
    const std::string out = !cups     ? appDir() + "PDF"
                            : cupsOut ? cupsOut
                                      : std::string(getpwuid(getuid())->pw_dir) + "/PDF";
    const auto sent = std::filesystem::file_time_type::clock::now();  // PDFs newer than this
    // Btn23 "印刷設定", Btn7 "↑", Btn17 "印刷"
    Click(kMain, {Centre(683, 452, 107, 28), Centre(746, 14, 44, 34), Centre(574, 56, 216, 44)});
    if (!cups) std::cout << "No CUPS queue here: printed on the built-in PDF printer instead\n";
    if (!cups) Key(kAsk, "Return");  // "プリンタがないのでPDFにした"
    std::string pdf;
    const auto arrived = [&] {
        std::error_code gone;  // another test's PDF, taken away meanwhile
        for (const std::string& f : Files().ListFiles(out))
            if (std::filesystem::last_write_time(out + "/" + f, gone) >= sent &&
                Run("pdfinfo", {QString::fromStdString(out + "/" + f)}).contains("Pages:"))
                pdf = out + "/" + f;
        return !pdf.empty();
    };
    ASSERT_TRUE(Poll(arrived, 90000)) << "no PDF arrived in " << out;
    EXPECT_TRUE(Run("pdfinfo", {QString::fromStdString(pdf)}).simplified().contains("Pages: 2"));
    for (const QString n : {"1", "2"}) {
        SCOPED_TRACE("page " + n.toStdString());
        const QString png = dir.filePath("printed-" + n);
        Run("pdftoppm", {"-r", "96", "-f", n, "-l", n, "-singlefile", "-png",
                         QString::fromStdString(pdf), png});
        const QImage printed(png + ".png");
        ExpectThePainting(printed, png + ".png");
        // The object where it was dropped: under its place on the screen, in page pixels.
        QRect at;
        CountPixels(printed, printed.rect(), Lime, &at);
        EXPECT_LE((at.topLeft() - onScreen.topLeft() * 2).manhattanLength(), 8);
        EXPECT_LE((at.bottomRight() - onScreen.bottomRight() * 2).manhattanLength(), 8);
    }
    if (cups) Files().DeleteFile(pdf);

    step = "終了";
    // Btn24 "元の画面に戻る", Btn1 "終了"
    Click(kMain, {Centre(574, 292, 216, 34), Centre(683, 516, 107, 32)});
    ASSERT_TRUE(app.waitForFinished(60000)) << "the program did not end";
    EXPECT_EQ(app.exitCode(), 0) << app.readAllStandardError().toStdString();
}

}  // namespace
}  // namespace pb
