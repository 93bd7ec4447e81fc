// Price cards through popboard-cli: one PDF page a row, each read back (pdftotext for its name
// and price, zbarimg for its own codes); and a run with a bad row, to bitmaps.

#include "../../codes/zbar_reader.h"
#include "page_flow.h"
#include "platform/picture_io.h"
#include "platform/text_codec.h"

namespace pb {
namespace {

using test::Cli;
using test::RunProgram;

class CardsCli : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto object = [](const char* text, int top, int size) {
            ObjectRecord r = NewPlainObject(0, 559, false);
            r.Text = text;
            r.Left = 20;
            r.Top = top;
            r.FontSize = size;
            return r;
        };
        test::SaveWorkWithObjects(dir.path(), work, Bitmap(378, 559, clWhite),
                                  {object("{名前}", 20, 28), object("｛価格｝円", 90, 28),
                                   object("{JAN:JAN}", 170, 40), object("{QR:URL}", 300, 48)});
    }
    std::string Csv(const std::string& name, const std::string& text) {
        EXPECT_TRUE(Files().WriteBytes(dir.file(name), text));
        return dir.file(name);
    }
    const std::string work = "X990101000000";
    test::TempDir dir;
};

TEST_F(CardsCli, EachPageOfThePdfShowsItsOwnRow) {
    REQUIRE_PROGRAMS("pdftoppm", "pdfinfo", "pdftotext", "zbarimg");
    const std::string names[] = {"りんご", "みかん", "ぶどう"},
                      prices[] = {"198円", "1,280円", "98円"};
    const std::string jans[] = {"4901234567894", "4569951116179", "49012347"};
    const std::string csv =
        Csv("p.csv", Utf8ToCp932("名前,価格,JAN,URL\r\n"
                                 "りんご,198,4901234567894,https://a.jp/1\r\n"
                                 "みかん,\"1,280\",4569951116179,https://a.jp/2\r\n"
                                 "ぶどう,98,49012347,https://a.jp/3\r\n"));
    const std::string pdf = dir.file("cards.pdf");
    const test::ProgramRun run = Cli({"cards", work, csv, "--pdf", pdf, "--appdir", dir.path()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string info = RunProgram(test::ProgramPath("pdfinfo"), {pdf}).out;
    const auto pages = info.find("Pages:");
    ASSERT_NE(pages, std::string::npos) << info;
    EXPECT_EQ(std::atoi(info.c_str() + pages + 6), 3) << info;
    for (int n = 0; n < 3; ++n) {
        SCOPED_TRACE("page " + std::to_string(n + 1));
        const std::string page = std::to_string(n + 1), png = dir.file("page" + page);
        const std::string text =
            RunProgram(test::ProgramPath("pdftotext"), {"-f", page, "-l", page, pdf, "-"}).out;
        for (int other = 0; other < 3; ++other)
            EXPECT_EQ(text.find(names[other]) != std::string::npos, other == n) << text;
        EXPECT_NE(text.find(prices[n]), std::string::npos) << text;
        RunProgram(test::ProgramPath("pdftoppm"),
                   {"-r", "150", "-f", page, "-l", page, "-singlefile", "-gray", pdf, png});
        const std::string read = test::ZbarRead({png + ".pgm"});
        EXPECT_NE(read.find(jans[n]), std::string::npos) << read;
        EXPECT_NE(read.find("https://a.jp/" + page), std::string::npos) << read;
    }
}

TEST_F(CardsCli, BadRowsAreNamedAndTheOtherCardsStillComeOut) {
    const std::string csv = Csv("p.csv",
                                "\xEF\xBB\xBF名前,価格,JAN,URL\n"
                                "a,1,4901234567894,https://a.jp/1\n"
                                "b,2,4901234567895,\n"
                                "c,3,49012347,\"https://a.jp/?q=1,2\"\n");
    const std::string out = dir.file("cards");
    const test::ProgramRun run = Cli({"cards", work, csv, "--bmp", out, "--appdir", dir.path()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "popboard-cli cards: row 2, column JAN: the check digit of the JAN "
              "\"4901234567895\" is wrong\n"
              "popboard-cli cards: row 2, column URL: the QR text is empty\n");
    for (const char* card : {"1.bmp", "2.bmp", "3.bmp"})
        EXPECT_TRUE(LoadBmp(JoinPath(out, card))) << card;
}

}  // namespace
}  // namespace pb
