#pragma once
// FileService: every file and folder operation on the program's own folders goes through it.
// Paths are UTF-8 with "/" separators. Text files are CP932 with CR LF line ends on disk and
// UTF-8 in memory.
//
// The service is an object so that tests can put a failing one in its place (a full disk,
// an unwritable folder); Files() returns the one in use.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pb {

class FileService {
public:
    virtual ~FileService() = default;

    virtual bool FileExists(const std::string& path);
    virtual bool FolderExists(const std::string& path);
    // Each returns false when the operation failed; the callers that the design lets rely on
    // success (creating and copying) check it where losing data is at stake.
    virtual bool DeleteFile(const std::string& path);
    virtual bool DeleteFolder(const std::string& path);
    virtual bool CreateFolder(const std::string& path);
    // Copies the whole tree of `source` into `destination`, creating it when missing.
    virtual bool CopyFolder(const std::string& source, const std::string& destination,
                            bool overwrite = true);
    virtual bool CopyFile(const std::string& source, const std::string& destination,
                          bool overwrite = true);
    // Renames a file or a folder (on the same file system).
    virtual bool MoveFile(const std::string& source, const std::string& destination);
    // Names (not paths) of the regular files in `folder`, sorted ascending.
    virtual std::vector<std::string> ListFiles(const std::string& folder);

    // Raw bytes of a whole file; nothing when it is missing or unreadable.
    virtual std::optional<std::string> ReadBytes(const std::string& path);
    // Writes the bytes under a temporary name in the same folder and moves them into place,
    // so that `path` holds either the old or the new contents, never a part.
    virtual bool WriteBytes(const std::string& path, std::string_view bytes);

    // Durability: a written file's data and a folder's entries (names created, renamed or
    // removed in it) reach the disk, so that they survive a power cut. False when the disk
    // reported an error or the path cannot be opened.
    virtual bool SyncFile(const std::string& path);
    virtual bool SyncFolder(const std::string& folder);
};

// The service in use (a plain one unless a test installed another).
FileService& Files();
// Installs `service` for the rest of the run (nullptr restores the plain one). Returns the
// previous one's ownership to the caller when it was installed this way.
std::unique_ptr<FileService> InstallFileService(std::unique_ptr<FileService> service);

// The routines built on the service that the screens share.
void DeleteFileIfExists(const std::string& path);
void ResetFolder(const std::string& path, bool recreate);
// The file that a temporary name of WriteBytes belongs to (target + ".part" + process id + "_"
// + number), or nothing for any other name. A temporary name is left only by a write that was
// cut off (a kill, a crash).
std::optional<std::string> WriteBytesTarget(std::string_view fileName);

// SyncFile of every file under `folder` (sub-folders included), then SyncFolder of each folder
// from the deepest up to `folder` itself. False at the first failure.
bool SyncTree(const std::string& folder);
// The whole text of a CP932 file as UTF-8; empty for a missing or unreadable file.
std::string ReadWholeFile(const std::string& path);
// Writes `text` (UTF-8, line breaks as "\r\n" already) as CP932 without adding a line end.
bool WriteWholeFile(const std::string& path, std::string_view text);

// Reads a CP932 text file line by line (lines end at CR LF or LF; the ends are dropped).
class TextReader {
public:
    // An unreadable or missing file reads as no lines.
    explicit TextReader(const std::string& path);
    bool AtEnd() const { return pos_ >= text_.size(); }
    // The next line, or empty text at the end.
    std::string ReadLine();
    std::string ReadAll();

private:
    std::string text_;  // UTF-8
    std::size_t pos_ = 0;
};

// Collects lines and writes them as one CP932 file on Close (CR LF after each WriteLine).
class TextWriter {
public:
    explicit TextWriter(std::string path) : path_(std::move(path)) {}
    void Write(std::string_view text) { text_ += text; }
    void WriteLine(std::string_view text) {
        text_ += text;
        text_ += "\r\n";
    }
    // Writes the file; false when it could not be written.
    bool Close();

private:
    std::string path_;
    std::string text_;
};

// Joins a folder and a name with one "/".
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace pb
