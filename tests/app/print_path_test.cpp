// The whole print path through popboard-cli: a saved work printed on a real CUPS queue
// (cups-pdf), on the built-in PDF printer when there is no CUPS printer at all, and exported.
// The PDFs that arrive are rasterised with pdftoppm and compared with the composed page.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <cstdlib>
#include <cstring>
#include <random>

#include "app/page_export.h"
#include "app/printing.h"
#include "app/works.h"
#include "common/app_state.h"
#include "objects/strdata.h"
#include "platform/bitmap_qt.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"
#include "support/test_support.h"

namespace pb {
namespace {

struct ProgramRun {
    int status = -1;
    std::string out, err;
};

ProgramRun RunProgram(const QString& program, const QStringList& args,
                      const std::vector<std::pair<QString, QString>>& env = {}) {
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : env) environment.insert(name, value);
    p.setProcessEnvironment(environment);
    p.start(program, args);
    ProgramRun run;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        run.err = "timed out";
        return run;
    }
    run.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = p.readAllStandardOutput().toStdString();
    run.err = p.readAllStandardError().toStdString();
    return run;
}

QString Cli() {
    const char* bin = std::getenv("POPBOARD_BIN_DIR");
    return QString::fromUtf8(bin ? bin : ".") + QStringLiteral("/popboard-cli");
}

bool HaveTools() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

// A work name of this run: "X" and twelve digits no real save makes (year 99).
std::string UniqueWorkName() {
    std::random_device rd;
    std::string name = "X99";
    for (int i = 0; i < 10; ++i) name += static_cast<char>('0' + rd() % 10);
    return name;
}

// A postcard page with a few painted areas and three objects over it (a decorated text, a
// shape with a gradation, which printing burns into the page, and a plain text), saved as a
// work in `appDir`.
void SaveTestWork(const std::string& appDir, const std::string& name) {
    EnsureWorkFolders(appDir);
    Bitmap page(378, 559, clWhite);
    for (int y = 40; y < 160; ++y)
        for (int x = 30; x < 200; ++x) page.setPixel(x, y, RGB(220, 30, 30));
    for (int y = 300; y < 520; ++y)
        for (int x = 200; x < 350; ++x) page.setPixel(x, y, RGB(20, 60, 200));
    for (int x = 0; x < 378; ++x) page.setPixel(x, 250, clBlack);

    const std::string objects = JoinPath(appDir, "objects/");
    Files().CreateFolder(objects);
    ObjectRecord text = NewDecoratedText(0, page.height(), false);
    text.Text = "大売出し";
    text.Left = 20;
    text.Top = 180;
    text.FontSize = 40;
    text.Shadow = true;
    text.FillColor = RGB(255, 200, 0);
    ASSERT_TRUE(WriteObject(objects, 0, text));
    ObjectRecord shape = NewShapeObject(1, page.height(), false);
    shape.Text = "vrnSHAPE3";
    shape.Left = 150;
    shape.Top = 330;
    shape.FillStyle = 3;
    shape.UseColor = {true, true, false, false, false, false, false};
    shape.Color[0] = RGB(0, 200, 80);
    shape.Color[1] = RGB(255, 255, 255);
    ASSERT_TRUE(WriteObject(objects, 1, shape));
    ObjectRecord plain = NewPlainObject(2, page.height(), false);
    plain.Text = "税込 298円";
    plain.FontSize = 20;
    plain.Left = 40;
    plain.Top = 60;
    plain.FontColor = clWhite;
    ASSERT_TRUE(WriteObject(objects, 2, plain));

    const std::string works = JoinPath(appDir, "A4HGK");
    ASSERT_TRUE(StoreWork(works, name, page, MakeThumbnail(page, page.size(), {}), objects));
}

// The page as printing composes it, at its full size.
Bitmap ComposedPage(const std::string& appDir, const std::string& name) {
    std::string error;
    const auto work = ComposeSavedWork(JoinPath(appDir, "A4HGK/"), name, error);
    EXPECT_TRUE(work) << error;
    if (!work) return {};
    return RenderDrawing(*work->composed.drawing, work->composed.drawing->size());
}

int PdfPages(const std::string& pdf) {
    const ProgramRun info = RunProgram(QStringLiteral("pdfinfo"), {QString::fromStdString(pdf)});
    const auto at = info.out.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.out.c_str() + at + 6);
}

// Page `n` (from 1) of a PDF rasterised at 96 dpi, where a page pixel is a screen pixel.
Bitmap Rasterise(const std::string& pdf, int n, const test::TempDir& dir) {
    const QString prefix = QString::fromStdString(dir.file("page"));
    const QString number = QString::number(n);
    RunProgram(QStringLiteral("pdftoppm"),
               {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-f"), number,
                QStringLiteral("-l"), number, QStringLiteral("-singlefile"), QStringLiteral("-png"),
                QString::fromStdString(pdf), prefix});
    const QImage image(prefix + QStringLiteral(".png"));
    return image.isNull() ? Bitmap() : BitmapFromImage(image);
}

// The printed page matches the composed page laid at the top-left of the paper: over 16 x 16
// blocks the colours agree within what antialiasing and resampling change.
void ExpectSamePicture(const Bitmap& printed, const Bitmap& composed, const std::string& what) {
    ASSERT_FALSE(printed.isNull()) << what;
    ASSERT_GE(printed.width(), composed.width() - 1) << what;
    ASSERT_GE(printed.height(), composed.height() - 1) << what;
    const int w = std::min(printed.width(), composed.width());
    const int h = std::min(printed.height(), composed.height());
    long total = 0;
    int worst = 0;
    for (int by = 0; by + 16 <= h; by += 16) {
        for (int bx = 0; bx + 16 <= w; bx += 16) {
            long sums[2][3] = {};
            for (int y = by; y < by + 16; ++y)
                for (int x = bx; x < bx + 16; ++x) {
                    const TColor a = printed.pixel(x, y), b = composed.pixel(x, y);
                    sums[0][0] += GetRValue(a), sums[0][1] += GetGValue(a),
                        sums[0][2] += GetBValue(a);
                    sums[1][0] += GetRValue(b), sums[1][1] += GetGValue(b),
                        sums[1][2] += GetBValue(b);
                }
            for (int c = 0; c < 3; ++c) {
                const int d = static_cast<int>(std::labs(sums[0][c] - sums[1][c]) / 256);
                worst = std::max(worst, d);
                total += d;
            }
        }
    }
    EXPECT_LE(worst, 32) << what << ": a 16 x 16 block differs in its mean colour";
    EXPECT_LE(total / std::max(1, (w / 16) * (h / 16) * 3), 2) << what;
    // Beyond the page the paper stays white.
    for (int y = 0; y < printed.height(); y += 7)
        for (int x = composed.width() + 2; x < printed.width(); x += 7)
            ASSERT_EQ(printed.pixel(x, y), clWhite) << what << " at " << x << ", " << y;
}

TEST(PrintPath, ThreeCopiesThroughARealCupsQueue) {
    const char* server = std::getenv("POPBOARD_TEST_CUPS_SERVER");
    if (!server || !*server)
        GTEST_SKIP() << "no CUPS queue for this test: start one with 'scripts/cups-pdf-queue "
                        "start DIR' and export the POPBOARD_TEST_CUPS_SERVER it prints "
                        "(.ci/run does)";
    if (!HaveTools()) GTEST_SKIP() << "pdftoppm and pdfinfo (poppler-utils) are needed";
    const char* outEnv = std::getenv("POPBOARD_TEST_CUPS_PDF_DIR");
    const passwd* user = getpwuid(getuid());
    const std::string outDir =
        outEnv && *outEnv ? outEnv : std::string(user ? user->pw_dir : "") + "/PDF";

    test::TempDir dir;
    const std::string name = UniqueWorkName();
    SaveTestWork(dir.path(), name);
    const ProgramRun run = RunProgram(
        Cli(),
        {QStringLiteral("print"), QString::fromStdString(name), QStringLiteral("--copies"),
         QStringLiteral("3"), QStringLiteral("--appdir"), QString::fromStdString(dir.path())},
        {{QStringLiteral("CUPS_SERVER"), QString::fromUtf8(server)}});
    ASSERT_EQ(run.status, 0) << run.err;

    // cups-pdf names the file after the job's title, which holds the work's name.
    std::string pdf;
    QElapsedTimer waited;
    waited.start();
    while (pdf.empty() && waited.elapsed() < 90000) {
        for (const std::string& file : Files().ListFiles(outDir))
            if (file.find(name) != std::string::npos) pdf = JoinPath(outDir, file);
        if (!pdf.empty() && PdfPages(pdf) < 1) pdf.clear();  // still being written
        if (pdf.empty()) QThread::msleep(250);
    }
    ASSERT_FALSE(pdf.empty()) << "no PDF for " << name << " arrived in " << outDir;
    EXPECT_EQ(PdfPages(pdf), 3);
    const Bitmap composed = ComposedPage(dir.path(), name);
    for (int page = 1; page <= 3; ++page)
        ExpectSamePicture(Rasterise(pdf, page, dir), composed, "page " + std::to_string(page));
    Files().DeleteFile(pdf);
}

TEST(PrintPath, WithoutAnyCupsPrinterTheBuiltInPdfPrinterWritesTheCopies) {
    if (!HaveTools()) GTEST_SKIP() << "pdftoppm and pdfinfo (poppler-utils) are needed";
    test::TempDir dir;
    const std::string name = UniqueWorkName();
    SaveTestWork(dir.path(), name);
    const ProgramRun run = RunProgram(
        Cli(),
        {QStringLiteral("print"), QString::fromStdString(name), QStringLiteral("--copies"),
         QStringLiteral("2"), QStringLiteral("--appdir"), QString::fromStdString(dir.path())},
        {{QStringLiteral("CUPS_SERVER"), QStringLiteral("/nonexistent.sock")}});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto files = Files().ListFiles(dir.file("PDF"));
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].size(), std::string("P000000000000.pdf").size());
    EXPECT_EQ(files[0][0], 'P');
    const std::string pdf = dir.file("PDF/" + files[0]);
    EXPECT_EQ(run.out, pdf + "\n");
    EXPECT_EQ(PdfPages(pdf), 2);
    const Bitmap composed = ComposedPage(dir.path(), name);
    for (int page = 1; page <= 2; ++page)
        ExpectSamePicture(Rasterise(pdf, page, dir), composed, "page " + std::to_string(page));
}

TEST(PrintPath, ExportWritesTheBitmapTheMetafileAndThePdf) {
    test::TempDir dir;
    const std::string name = UniqueWorkName();
    SaveTestWork(dir.path(), name);
    const Bitmap composed = ComposedPage(dir.path(), name);
    struct Case {
        const char* option;
        const char* file;
    };
    for (const Case& c :
         {Case{"--bmp", "page.bmp"}, Case{"--emf", "page.emf"}, Case{"--pdf", "page.pdf"}}) {
        const ProgramRun run =
            RunProgram(Cli(),
                       {QStringLiteral("export"), QString::fromStdString(name),
                        QString::fromUtf8(c.option), QString::fromStdString(dir.file(c.file)),
                        QStringLiteral("--appdir"), QString::fromStdString(dir.path())},
                       {{QStringLiteral("CUPS_SERVER"), QStringLiteral("/nonexistent.sock")}});
        ASSERT_EQ(run.status, 0) << c.option << ": " << run.err;
    }
    const auto bmp = LoadBmp(dir.file("page.bmp"));
    ASSERT_TRUE(bmp);
    EXPECT_EQ(test::CountDifferentPixels(*bmp, composed), 0);
    const std::string emf = test::ReadFileBytes(dir.file("page.emf"));
    ASSERT_GT(emf.size(), 40u);
    std::int32_t bounds[4];
    std::memcpy(bounds, emf.data() + 8, sizeof bounds);
    EXPECT_EQ(bounds[2] + 1, composed.width());
    EXPECT_EQ(bounds[3] + 1, composed.height());
    // An independent reader finds the page bitmap at the page's size and the objects' outlines
    // over it (the text's shadow and body, the shape's outline, the plain text's glyphs).
    const QString reader = QStandardPaths::findExecutable(QStringLiteral("emf2svg-conv"));
    if (!reader.isEmpty()) {
        const ProgramRun svg = RunProgram(
            reader, {QStringLiteral("-i"), QString::fromStdString(dir.file("page.emf")),
                     QStringLiteral("-o"), QString::fromStdString(dir.file("page.svg"))});
        ASSERT_EQ(svg.status, 0) << svg.err;
        const QString text = QString::fromStdString(test::ReadFileBytes(dir.file("page.svg")));
        EXPECT_TRUE(text.contains(QStringLiteral("<image width=\"378.0000\" height=\"559.0000\"")));
        EXPECT_GE(text.count(QStringLiteral("<path")), 4);
    }
    if (HaveTools()) {
        EXPECT_EQ(PdfPages(dir.file("page.pdf")), 1);
        ExpectSamePicture(Rasterise(dir.file("page.pdf"), 1, dir), composed, "exported PDF");
    }
}

TEST(PrintPath, CommandsRefuseBadArgumentsAndMissingWorks) {
    test::TempDir dir;
    struct Case {
        QStringList args;
        int status;
    };
    const QString appDir = QString::fromStdString(dir.path());
    const Case cases[] = {
        {{QStringLiteral("print")}, 2},
        {{QStringLiteral("print"), QStringLiteral("X1"), QStringLiteral("--copies"),
          QStringLiteral("0")},
         2},
        {{QStringLiteral("print"), QStringLiteral("X1"), QStringLiteral("--copies"),
          QStringLiteral("3x")},
         2},
        {{QStringLiteral("export"), QStringLiteral("X1")}, 2},
        {{QStringLiteral("export"), QStringLiteral("X1"), QStringLiteral("--bmp"),
          QStringLiteral("a.bmp"), QStringLiteral("--emf"), QStringLiteral("a.emf")},
         2},
        {{QStringLiteral("export"), QStringLiteral("X1"), QStringLiteral("--bmp"),
          QStringLiteral("a.bmp"), QStringLiteral("--appdir"), appDir},
         1},
        {{QStringLiteral("print"), QStringLiteral("../X1"), QStringLiteral("--appdir"), appDir}, 1},
    };
    for (const Case& c : cases) {
        const ProgramRun run = RunProgram(
            Cli(), c.args, {{QStringLiteral("CUPS_SERVER"), QStringLiteral("/nonexistent.sock")}});
        EXPECT_EQ(run.status, c.status) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_FALSE(Files().FolderExists(dir.file("PDF")));
}

}  // namespace
}  // namespace pb
