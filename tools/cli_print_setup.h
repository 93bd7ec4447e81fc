#pragma once
// What the export and print subcommands share: a Qt application that also runs without a
// display, and the program state of an application folder (resolutions, feed position).

#include <QApplication>
#include <memory>
#include <string>

namespace pb {
struct SavedWorkComposition;
}

namespace pbcli {

// A QApplication on the offscreen platform when there is no display, with Japanese font family
// names as the program uses them.
std::unique_ptr<QApplication> MakeHeadlessApplication();

// Sets App() for `appDir`: the folders, the screen and printer metrics, and the feed position
// "Center" from "PPPOS.txt". Returns whether "Center" is chosen.
bool LoadPrintState(const std::string& appDir);

// Names on stderr what the composition of `work` left out (each object record by its file
// name, a missing object folder). Returns whether anything was left out: the command then
// still writes what it could and exits with 1.
bool ReportLeftOut(const char* command, const std::string& work,
                   const pb::SavedWorkComposition& composition);

}  // namespace pbcli
