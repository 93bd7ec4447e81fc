#pragma once
// Helpers shared by the tests.

#include <filesystem>
#include <string>

#include "platform/bitmap.h"
#include "platform/dialogs.h"

namespace pb::test {

// A fresh temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    // path + "/" + name
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

// Installs a ScriptedDialogs for the life of the object and gives access to it.
class ScriptedDialogScope {
public:
    ScriptedDialogScope();
    ~ScriptedDialogScope();
    ScriptedDialogs& dialogs() { return *dialogs_; }
    ScriptedDialogs* operator->() { return dialogs_; }

private:
    ScriptedDialogs* dialogs_;
    std::unique_ptr<DialogService> previous_;
};

// Number of pixels that differ between two bitmaps of the same size (-1 for other sizes).
long CountDifferentPixels(const Bitmap& a, const Bitmap& b);
// Number of pixels of colour c.
long CountPixels(const Bitmap& bmp, TColor c);

// Writes bytes to a file (for malformed-input tests).
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);

// Sets the double-click interval (milliseconds) for the life of the object. The tests run
// without one (test_main.cpp); the tests of the screens' tap guard need it back.
class DoubleClickInterval {
public:
    explicit DoubleClickInterval(int ms);
    ~DoubleClickInterval();
    DoubleClickInterval(const DoubleClickInterval&) = delete;
    DoubleClickInterval& operator=(const DoubleClickInterval&) = delete;

private:
    int before_;
};

}  // namespace pb::test
