#include "platform/file_service.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#include "platform/text_codec.h"

namespace pb {

namespace fs = std::filesystem;

namespace {

fs::path P(const std::string& path) { return fs::path(path); }

std::unique_ptr<FileService>& CurrentService() {
    static std::unique_ptr<FileService> service = std::make_unique<FileService>();
    return service;
}

// fsync of what `path` names, opened read-only (a folder's entries or a file's data).
bool SyncPath(const std::string& path, bool folder) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (folder ? O_DIRECTORY : 0));
    if (fd < 0) return false;
    int rc;
    do {
        rc = ::fsync(fd);
    } while (rc != 0 && errno == EINTR);
    const bool ok = rc == 0;
    return (::close(fd) == 0) && ok;
}

std::string TemporaryNameBeside(const std::string& path) {
    static std::mt19937 rng{std::random_device{}()};
    return path + ".part" + std::to_string(::getpid()) + "_" + std::to_string(rng() % 1000000);
}

}  // namespace

FileService& Files() { return *CurrentService(); }

std::unique_ptr<FileService> InstallFileService(std::unique_ptr<FileService> service) {
    auto previous = std::move(CurrentService());
    CurrentService() = service ? std::move(service) : std::make_unique<FileService>();
    return previous;
}

bool FileService::FileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(P(path), ec);
}

bool FileService::FolderExists(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(P(path), ec);
}

bool FileService::DeleteFile(const std::string& path) {
    std::error_code ec;
    return fs::remove(P(path), ec) && !ec;
}

bool FileService::DeleteFolder(const std::string& path) {
    std::error_code ec;
    fs::remove_all(P(path), ec);
    return !ec;
}

bool FileService::CreateFolder(const std::string& path) {
    std::error_code ec;
    fs::create_directory(P(path), ec);
    return !ec && fs::is_directory(P(path), ec);
}

bool FileService::CopyFolder(const std::string& source, const std::string& destination,
                             bool overwrite) {
    std::error_code ec;
    if (!fs::is_directory(P(source), ec)) return false;
    fs::create_directories(P(destination), ec);
    if (ec) return false;
    auto options = fs::copy_options::recursive;
    options |= overwrite ? fs::copy_options::overwrite_existing : fs::copy_options::skip_existing;
    fs::copy(P(source), P(destination), options, ec);
    return !ec;
}

bool FileService::CopyFile(const std::string& source, const std::string& destination,
                           bool overwrite) {
    std::error_code ec;
    const auto options =
        overwrite ? fs::copy_options::overwrite_existing : fs::copy_options::skip_existing;
    fs::copy_file(P(source), P(destination), options, ec);
    return !ec;
}

bool FileService::MoveFile(const std::string& source, const std::string& destination) {
    std::error_code ec;
    fs::rename(P(source), P(destination), ec);
    return !ec;
}

std::vector<std::string> FileService::ListFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(P(folder), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError)) names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> FileService::ReadBytes(const std::string& path) {
    std::ifstream in(P(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool FileService::WriteBytes(const std::string& path, std::string_view bytes) {
    const std::string temporary = TemporaryNameBeside(path);
    std::FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    std::error_code ec;
    if (ok) {
        fs::rename(temporary, P(path), ec);
        ok = !ec;
    }
    if (!ok) fs::remove(temporary, ec);
    return ok;
}

bool FileService::SyncFile(const std::string& path) {
    return SyncPath(path, false);
}

bool FileService::SyncFolder(const std::string& folder) {
    return SyncPath(folder, true);
}

std::optional<std::string> WriteBytesTarget(std::string_view fileName) {
    const std::size_t at = fileName.rfind(".part");
    if (at == std::string_view::npos || at == 0) return std::nullopt;
    const std::string_view tail = fileName.substr(at + 5);
    const std::size_t underscore = tail.find('_');
    if (underscore == std::string_view::npos) return std::nullopt;
    auto digits = [](std::string_view s) {
        return !s.empty() &&
               std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digits(tail.substr(0, underscore)) || !digits(tail.substr(underscore + 1)))
        return std::nullopt;
    return std::string(fileName.substr(0, at));
}

bool SyncTree(const std::string& folder) {
    std::vector<std::string> folders{folder};
    std::error_code ec;
    for (fs::recursive_directory_iterator it(P(folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError))
            folders.push_back(it->path().string());
        else if (!Files().SyncFile(it->path().string()))
            return false;
    }
    if (ec) return false;
    // Deepest first, so that a folder is synced after the entries of the folders inside it.
    for (auto it = folders.rbegin(); it != folders.rend(); ++it)
        if (!Files().SyncFolder(*it)) return false;
    return true;
}

void DeleteFileIfExists(const std::string& path) {
    if (Files().FileExists(path)) Files().DeleteFile(path);
}

void ResetFolder(const std::string& path, bool recreate) {
    if (Files().FolderExists(path)) Files().DeleteFolder(path);
    if (recreate) Files().CreateFolder(path);
}

std::string ReadWholeFile(const std::string& path) {
    if (!Files().FileExists(path)) return {};
    auto bytes = Files().ReadBytes(path);
    if (!bytes) return {};
    return Cp932ToUtf8(*bytes);
}

bool WriteWholeFile(const std::string& path, std::string_view text) {
    return Files().WriteBytes(path, Utf8ToCp932(text));
}

TextReader::TextReader(const std::string& path) : text_(ReadWholeFile(path)) {}

std::string TextReader::ReadLine() {
    if (AtEnd()) return {};
    std::size_t end = text_.find('\n', pos_);
    std::string line;
    if (end == std::string::npos) {
        line = text_.substr(pos_);
        pos_ = text_.size();
    } else {
        line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::string TextReader::ReadAll() {
    std::string rest = AtEnd() ? std::string() : text_.substr(pos_);
    pos_ = text_.size();
    return rest;
}

bool TextWriter::Close() { return WriteWholeFile(path_, text_); }

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (!joined.empty() && joined.back() != '/') joined += '/';
    joined += name;
    return joined;
}

}  // namespace pb
