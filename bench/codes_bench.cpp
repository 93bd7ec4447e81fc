// QR symbols per second for the two reference cases: version 40-L full of bytes and a
// version 4-M URL, both with the automatic mask choice.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "codes/qr_code.h"
#include "codes/qr_encoder.h"

namespace {

void EncodeRepeatedly(benchmark::State& state, const std::string& text, int version, int level) {
    pb::qr::Encoder encoder;
    pb::qr::Symbol symbol;
    pb::qr::EncodeOptions options;
    options.version = version;
    options.level = level;
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(text.data()),
                                             text.size());
    for (auto _ : state) {
        if (encoder.Encode(data, options, symbol) != pb::qr::EncodeStatus::Ok) {
            state.SkipWithError("the data did not fit");
            break;
        }
        benchmark::DoNotOptimize(symbol);
    }
    state.counters["symbols/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_QrVersion40L(benchmark::State& state) {
    std::mt19937 rng(40);
    std::string text;
    for (int i = 0; i < 2953; ++i) text += static_cast<char>('a' + rng() % 26);
    EncodeRepeatedly(state, text, 40, pb::qr::kLevelL);
}
BENCHMARK(BM_QrVersion40L);

void BM_QrVersion4M(benchmark::State& state) {
    const std::string url = "https://www.example.com/shop/items/view?id=ab12cd34&lang=jp1";
    EncodeRepeatedly(state, url, 4, pb::qr::kLevelM);
}
BENCHMARK(BM_QrVersion4M);

// The component as the region editor uses it: version 4-H at module size 2, painted into
// its bitmap (encoding, the eight masks and the drawing).
void BM_QrCodePaint(benchmark::State& state) {
    pb::TQRCode qr;
    qr.SetMatch(true);
    qr.SetPxmag(2);
    qr.SetVersion(4);
    qr.SetEclevel(3);
    const std::string text = "https://example.com/shop?id=42";  // 30 of 34 bytes
    for (auto _ : state) {
        qr.SetCode(text);
        if (!qr.SymbolDisped()) {
            state.SkipWithError("the data did not fit");
            break;
        }
        benchmark::DoNotOptimize(qr.Picture());
    }
    state.counters["symbols/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_QrCodePaint);

}  // namespace
