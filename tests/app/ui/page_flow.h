#pragma once
// The end-to-end tests of the app: the region editor and the on-screen keyboard reached from
// the main screen and driven by clicks, and popboard-cli run as a user runs it.

#include <QProcess>
#include <cstdlib>

#include "imaging/ui/region_editor.h"
#include "support/ui/app_fixtures.h"
#include "textentry/ui/keyboard_screen.h"

namespace pb::test {

struct ProgramRun {
    int status = -1;
    std::string out, err;
};

// Runs a program; `cupsServer` replaces CUPS_SERVER (a socket that does not exist: no CUPS).
inline ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                             const char* cupsServer = "/nonexistent.sock") {
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CUPS_SERVER"), QString::fromUtf8(cupsServer));
    p.setProcessEnvironment(environment);
    QStringList list;
    for (const std::string& a : args) list << QString::fromStdString(a);
    p.start(QString::fromStdString(program), list);
    const bool finished = p.waitForFinished(120000);  // else killed as `p` goes
    return {finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}

inline ProgramRun Cli(const std::vector<std::string>& args,
                      const char* cupsServer = "/nonexistent.sock") {
    const char* bin = std::getenv("POPBOARD_BIN_DIR");
    return RunProgram(std::string(bin ? bin : ".") + "/popboard-cli", args, cupsServer);
}

class PageFlow : public MainScreenFixture {
  protected:
    // Marks a rectangle with "□選択範囲編集" (screen points of the page image).
    TForm2* MarkRegion(QPoint from, QPoint to) {
        Click(form->RBtn[7]);
        Stroke(from, to);
        return Window<TForm2>("Form2");
    }
    // Presses the keyboard's key showing each character of `keys`.
    static void Type(TForm6* keyboard, const QString& keys) {
        for (const QChar c : keys) {
            bool found = false;
            for (StringGrid* grid : {keyboard->StringGrid2, keyboard->StringGrid3,
                                     keyboard->StringGrid4, keyboard->StringGrid5})
                for (int r = 0; r < grid->RowCount() && !found; ++r)
                    for (int col = 0; col < grid->ColCount() && !found; ++col)
                        if (grid->Cell(col, r).trimmed() == QString(c)) {
                            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                                              grid->CellRect(col, r).center());
                            found = true;
                        }
            ASSERT_TRUE(found) << "no key " << QString(c).toStdString();
        }
    }
    // `page` with the region `r` drawn at `at`.
    static Bitmap PastedAt(Bitmap page, const Bitmap& r, Point at) {
        for (int y = 0; y < r.height(); ++y)
            for (int x = 0; x < r.width(); ++x) page.setPixel(at.x + x, at.y + y, r.pixel(x, y));
        return page;
    }
};

}  // namespace pb::test
