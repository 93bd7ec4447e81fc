// The whole print path through popboard-cli: a saved work printed on a real CUPS queue
// (cups-pdf), on the built-in PDF printer when there is no CUPS printer at all, and exported.
// The files that arrive are read by independent programs (pdftoppm, pdfinfo, emf2svg-conv)
// and compared with the composed page.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <QImage>
#include <cstdlib>
#include <random>

#include "app/page_export.h"
#include "app/printing.h"
#include "common/app_state.h"
#include "objects/strdata.h"
#include "platform/bitmap_qt.h"
#include "platform/picture_io.h"
#include "support/outside_programs.h"
#include "page_flow.h"

namespace pb {
namespace {

using test::Cli;
using test::ProgramRun;
using test::RunProgram;

// A postcard page with a painted area and two objects over it (a decorated text and a shape
// with a gradation, which printing burns into the page), saved as a work named "X" and twelve
// digits no real save makes (year 99). Returns the name.
std::string SaveTestWork(const std::string& appDir) {
    std::random_device rd;
    std::string name = "X99";
    for (int i = 0; i < 10; ++i) name += static_cast<char>('0' + rd() % 10);
    Bitmap page(378, 559, clWhite);
    for (int y = 300; y < 520; ++y) page.fillSpan(y, 200, 350, RGB(20, 60, 200));
    auto at = [](ObjectRecord r, const char* text, int left, int top) {
        r.Text = text;
        r.Left = left;
        r.Top = top;
        return r;
    };
    ObjectRecord text = at(NewDecoratedText(0, 559, false), "大売出し", 20, 180);
    text.FontSize = 40;
    text.Shadow = true;
    text.FillColor = RGB(255, 200, 0);
    ObjectRecord shape = at(NewShapeObject(1, 559, false), "vrnSHAPE3", 150, 330);
    shape.FillStyle = 3;
    shape.UseColor = {true, true, false, false, false, false, false};
    shape.Color[0] = RGB(0, 200, 80);
    shape.Color[1] = clWhite;
    test::SaveWorkWithObjects(appDir, name, page, {text, shape});
    return name;
}

// The page as printing composes it, at its full size.
Bitmap ComposedPage(const std::string& appDir, const std::string& name) {
    std::string error;
    const auto work = ComposeSavedWork(JoinPath(appDir, "A4HGK/"), name, error);
    EXPECT_TRUE(work) << error;
    return work ? RenderDrawing(*work->composed.drawing, work->composed.drawing->size()) : Bitmap();
}

int PdfPages(const std::string& pdf) {
    const std::string info = RunProgram(test::ProgramPath("pdfinfo"), {pdf}).out;
    const auto at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

// Each page of the PDF, rasterised at 96 dpi (a page pixel is a screen pixel), matches the
// composed page laid at the top-left of the paper: over 16 x 16 blocks the colours agree
// within what antialiasing and resampling change, and beyond the page the paper stays white.
void ExpectPagesShowTheWork(const std::string& pdf, int pages, const Bitmap& composed,
                            const test::TempDir& dir) {
    ASSERT_EQ(PdfPages(pdf), pages);
    for (int n = 1; n <= pages; ++n) {
        SCOPED_TRACE("page " + std::to_string(n));
        const std::string at = std::to_string(n), prefix = dir.file("page");
        RunProgram(test::ProgramPath("pdftoppm"),
                   {"-r", "96", "-f", at, "-l", at, "-singlefile", "-png", pdf, prefix});
        const QImage image(QString::fromStdString(prefix + ".png"));
        const Bitmap printed = BitmapFromImage(image);
        ASSERT_GE(printed.width(), composed.width() - 1);
        ASSERT_GE(printed.height(), composed.height() - 1);
        const int w = std::min(printed.width(), composed.width());
        const int h = std::min(printed.height(), composed.height());
        long total = 0, worst = 0;
        for (int by = 0; by + 16 <= h; by += 16)
            for (int bx = 0; bx + 16 <= w; bx += 16)
                for (int shift : {0, 8, 16}) {  // red, green, blue of 0x00BBGGRR
                    long sum = 0;
                    for (int y = by; y < by + 16; ++y)
                        for (int x = bx; x < bx + 16; ++x)
                            sum += long((printed.pixel(x, y) >> shift) & 255) -
                                   long((composed.pixel(x, y) >> shift) & 255);
                    worst = std::max(worst, std::labs(sum) / 256);
                    total += std::labs(sum) / 256;
                }
        EXPECT_LE(worst, 32) << "a 16 x 16 block differs in its mean colour";
        EXPECT_LE(total / std::max(1, (w / 16) * (h / 16) * 3), 2);
        for (int y = 0; y < printed.height(); y += 7)
            for (int x = composed.width() + 2; x < printed.width(); x += 7)
                ASSERT_EQ(printed.pixel(x, y), clWhite) << x << ", " << y;
    }
}

TEST(PrintPath, ThreeCopiesThroughARealCupsQueue) {
    const char* server = std::getenv("POPBOARD_TEST_CUPS_SERVER");
    REQUIRE_OUTSIDE(server && *server ? ""
                                      : "no CUPS queue for this test: start one with "
                                        "'scripts/cups-pdf-queue start DIR' and export the "
                                        "POPBOARD_TEST_CUPS_SERVER it prints (.ci/run does)");
    REQUIRE_PROGRAMS("pdftoppm", "pdfinfo");
    const char* outEnv = std::getenv("POPBOARD_TEST_CUPS_PDF_DIR");
    const passwd* user = getpwuid(getuid());
    const std::string outDir =
        outEnv && *outEnv ? outEnv : std::string(user ? user->pw_dir : "") + "/PDF";
    test::TempDir dir;
    const std::string name = SaveTestWork(dir.path());
    const ProgramRun run = Cli({"print", name, "--copies", "3", "--appdir", dir.path()}, server);
    ASSERT_EQ(run.status, 0) << run.err;
    // cups-pdf names the file after the job's title, which holds the work's name.
    std::string pdf;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        for (const std::string& file : Files().ListFiles(outDir))
            if (file.find(name) != std::string::npos && PdfPages(JoinPath(outDir, file)) >= 1)
                pdf = JoinPath(outDir, file);  // not while it is still being written
        return !pdf.empty();
    }, 90000)) << "no PDF for " << name << " arrived in " << outDir;
    ExpectPagesShowTheWork(pdf, 3, ComposedPage(dir.path(), name), dir);
    Files().DeleteFile(pdf);
}

TEST(PrintPath, WithoutAnyCupsPrinterTheBuiltInPdfPrinterWritesTheCopies) {
    REQUIRE_PROGRAMS("pdftoppm", "pdfinfo");
    test::TempDir dir;
    const std::string name = SaveTestWork(dir.path());
    const ProgramRun run = Cli({"print", name, "--copies", "2", "--appdir", dir.path()});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto files = Files().ListFiles(dir.file("PDF"));
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(test::IsStampedName(files[0], 'P', ".pdf")) << files[0];
    EXPECT_EQ(run.out, dir.file("PDF/" + files[0]) + "\n");
    ExpectPagesShowTheWork(dir.file("PDF/" + files[0]), 2, ComposedPage(dir.path(), name), dir);
}

TEST(PrintPath, ExportWritesTheBitmapTheMetafileAndThePdf) {
    test::TempDir dir;
    const std::string name = SaveTestWork(dir.path());
    for (std::string kind : {"bmp", "emf", "pdf"}) {
        const ProgramRun run =
            Cli({"export", name, "--" + kind, dir.file("page." + kind), "--appdir", dir.path()});
        ASSERT_EQ(run.status, 0) << kind << ": " << run.err;
    }
    const Bitmap composed = ComposedPage(dir.path(), name);
    const auto bmp = LoadBmp(dir.file("page.bmp"));
    ASSERT_TRUE(bmp);
    EXPECT_EQ(test::CountDifferentPixels(*bmp, composed), 0);
    // An independent reader finds the page bitmap at the page's size and the objects' outlines
    // over it (the text's shadow and body, the shape's outline).
    REQUIRE_PROGRAMS("emf2svg-conv");
    const ProgramRun svg = RunProgram(test::ProgramPath("emf2svg-conv"),
                                      {"-i", dir.file("page.emf"), "-o", dir.file("page.svg")});
    ASSERT_EQ(svg.status, 0) << svg.err;
    const QString text = QString::fromStdString(test::ReadFileBytes(dir.file("page.svg")));
    EXPECT_TRUE(text.contains("<image width=\"378.0000\" height=\"559.0000\""));
    EXPECT_GE(text.count("<path"), 3);
}

TEST(PrintPath, ExportNamesEachObjectItLeavesOutAndFails) {
    // A record beyond any page, then no object folder at all: the export names on stderr
    // what it leaves out.
    for (const std::string named : {"StrData0.txt", "SData/"}) {
        SCOPED_TRACE(named);
        test::TempDir dir;
        const std::string name = SaveTestWork(dir.path());
        const std::string objects = dir.file("A4HGK/SData/" + name + "/");
        if (named == "SData/") {
            ResetFolder(objects, false);
        } else {
            ObjectRecord r = *ReadObject(objects, 0);
            r.Left = 2147483647;
            WriteObject(objects, 0, r);
        }
        const ProgramRun run =
            Cli({"export", name, "--bmp", dir.file("page.bmp"), "--appdir", dir.path()});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
        // The rest of the work is written all the same.
        const auto bmp = LoadBmp(dir.file("page.bmp"));
        ASSERT_TRUE(bmp);
        EXPECT_EQ(test::CountDifferentPixels(*bmp, ComposedPage(dir.path(), name)), 0);
    }
}

TEST(PrintPath, CommandsRefuseBadArgumentsMissingWorksAndPathsOutOfTheWorks) {
    test::TempDir dir;
    const std::pair<std::vector<std::string>, int> cases[] = {
        {{"export", "X1", "--bmp", "a.bmp", "--emf", "a.emf"}, 2},
        {{"export", "X1", "--bmp", "a.bmp", "--appdir", dir.path()}, 1},
        {{"print", "../X1", "--appdir", dir.path()}, 1},
    };
    for (const auto& [args, status] : cases) {
        const ProgramRun run = Cli(args);
        EXPECT_EQ(run.status, status) << args[0] << " " << (args.size() > 1 ? args[1] : "");
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_FALSE(Files().FolderExists(dir.file("PDF")));
}

}  // namespace
}  // namespace pb
