// Speed of a price-card run: a postcard template (name, price, catch line on a gradation,
// JAN barcode, QR code) filled from a 500-row product list and printed to one PDF of 500
// pages, as popboard-cli cards --pdf does it. The target is under 10 seconds.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "app/price_cards.h"
#include "app/works.h"
#include "objects/strdata.h"
#include "platform/ui/printer.h"

namespace {

constexpr int kRows = 500;

std::string BenchFolder() {
    const auto dir = std::filesystem::temp_directory_path() / "popboard-bench-cards";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "objects");
    return dir.string() + "/";
}

std::string SaveTemplate(const std::string& appDir) {
    const auto at = [](pb::ObjectRecord r, const char* text, int top, int size) {
        r.Text = text;
        r.Left = 20;
        r.Top = top;
        r.FontSize = size;
        return r;
    };
    pb::ObjectRecord catchLine = at(pb::NewDecoratedText(2, 559, false), "{売り文句}", 150, 30);
    catchLine.FillStyle = 3;
    catchLine.Shadow = true;
    const pb::ObjectRecord objects[] = {
        at(pb::NewPlainObject(0, 559, false), "{商品名}", 20, 28),
        at(pb::NewPlainObject(1, 559, false), "税込 {価格}円", 80, 36),
        catchLine,
        at(pb::NewPlainObject(3, 559, false), "{JAN:JAN}", 260, 40),
        at(pb::NewPlainObject(4, 559, false), "{QR:URL}", 360, 48),
    };
    const std::string folder = appDir + "objects/";
    for (int n = 0; n < 5; ++n) pb::WriteObject(folder, n, objects[n]);
    pb::EnsureWorkFolders(appDir);
    const pb::Bitmap page(378, 559, pb::clWhite);
    pb::StoreWork(appDir + "A4HGK", "X990101000000", page, pb::MakeThumbnail(page, page.size(), {}),
                  folder);
    return "X990101000000";
}

pb::ProductList List() {
    pb::ProductList list{{"商品名", "価格", "売り文句", "JAN", "URL"}, {}};
    for (int i = 0; i < kRows; ++i) {
        std::string jan = "4901234" + std::to_string(100000 + i).substr(1);
        int sum = 0;
        for (int k = 0; k < 12; ++k) sum += (jan[k] - '0') * (k % 2 ? 3 : 1);
        jan += static_cast<char>('0' + (10 - sum % 10) % 10);
        list.rows.push_back({"特選りんご 第" + std::to_string(i) + "号", std::to_string(98 + i),
                             "本日限りの大特価", jan, "https://example.jp/p/" + std::to_string(i)});
    }
    return list;
}

void PrintFiveHundredCardsToPdf(benchmark::State& state) {
    const std::string folder = BenchFolder();
    const std::string work = SaveTemplate(folder);
    const pb::ProductList list = List();
    int made = 0;
    std::size_t errors = 0;
    for (auto _ : state) {
        const auto writer = pb::OpenPdfWriter(folder + "cards.pdf");
        const pb::CardRun run =
            pb::PrintCards(*writer, folder + "A4HGK", work, list, pb::PrintRequest{}, {});
        made = run.cardsMade;
        errors = run.errors.size();
    }
    state.counters["cards"] = made;
    state.counters["errors"] = static_cast<double>(errors);
    state.counters["pdf_MB"] =
        static_cast<double>(std::filesystem::file_size(folder + "cards.pdf")) / 1e6;
    std::filesystem::remove_all(folder);
}
BENCHMARK(PrintFiveHundredCardsToPdf)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
