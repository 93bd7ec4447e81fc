#include "app/session_recovery.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "common/history.h"
#include "objects/strdata.h"
#include "platform/file_service.h"
#include "platform/picture_io.h"

namespace pb {

namespace {

// More snapshots than any run writes: a larger number is a damaged file, not a history.
constexpr int kMostSnapshots = 1000000;

std::optional<int> ParseCount(const std::string& text, int lowest) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc{} || ptr != end || value < lowest || value > kMostSnapshots)
        return std::nullopt;
    return value;
}

std::optional<WorkInProgress> ParseWorkInProgress(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) return std::nullopt;  // every line ends in CR LF
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    if (lines.size() != 4) return std::nullopt;
    const auto mode = ParseCount(lines[0], 0);
    const auto counter = ParseCount(lines[1], 1);
    const auto last = ParseCount(lines[2], 0);
    if (!mode || *mode > kA4Landscape || !counter || !last) return std::nullopt;
    return WorkInProgress{static_cast<std::uint8_t>(*mode), *counter, *last, lines[3]};
}

bool AnyObjectFile(const std::string& objectFolder) {
    for (int n = 0; n < kObjectSlots; ++n)
        if (Files().FileExists(ObjectFilePath(objectFolder, n))) return true;
    return false;
}

}  // namespace

std::string WorkInProgressPath(const std::string& appDir) {
    return JoinPath(appDir, "TmpWork.txt");
}

bool WriteWorkInProgress(const std::string& appDir, const WorkInProgress& work) {
    return WriteWholeFile(WorkInProgressPath(appDir),
                          std::to_string(work.PageMode) + "\r\n" +
                              std::to_string(work.HistoryCounter) + "\r\n" +
                              std::to_string(work.HistoryLast) + "\r\n" + work.WorkName + "\r\n");
}

void ForgetWorkInProgress(const std::string& appDir) {
    DeleteFileIfExists(WorkInProgressPath(appDir));
}

LeftWorkCheck FindLeftWork(const AppState& app) {
    const std::string path = WorkInProgressPath(app.AppDir);
    if (!Files().FileExists(path)) return {};
    const auto work = ParseWorkInProgress(ReadWholeFile(path));
    if (!work) return {LeftWork::Damaged, {}};
    const bool untouched = work->HistoryCounter == 1 && work->HistoryLast <= 1 &&
                           work->PageMode == kPostcardPortrait && work->WorkName.empty() &&
                           !AnyObjectFile(app.ObjectFolder);
    return {untouched ? LeftWork::Untouched : LeftWork::Found, *work};
}

std::optional<LeftPage> NewestSoundPage(const std::string& historyFolder,
                                        const WorkInProgress& work) {
    for (int n = work.HistoryCounter; n >= 1; --n) {
        const std::string path = SnapshotPath(historyFolder, n);
        if (!Files().FileExists(path)) continue;
        auto page = LoadBmp(path);
        if (!page || page->isNull()) continue;
        if (n == work.HistoryCounter)
            return LeftPage{std::move(*page), n, std::max(work.HistoryLast, n)};
        return LeftPage{std::move(*page), n, n};
    }
    return std::nullopt;
}

}  // namespace pb
