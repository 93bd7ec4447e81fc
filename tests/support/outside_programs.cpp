#include "support/outside_programs.h"

#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "support/test_support.h"

namespace pb::test {

std::vector<OutsideEntry> ParseOutsidePrograms(const std::string& text) {
    std::vector<OutsideEntry> entries;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line.substr(0, line.find('#')));
        OutsideEntry entry;
        if (words >> entry.name) {
            words >> entry.package;
            entries.push_back(entry);
        }
    }
    return entries;
}

std::string OutsideProgramsList() {
    return POPBOARD_OUTSIDE_PROGRAMS;
}

namespace {

const OutsideEntry& Entry(const std::string& name) {
    static const std::vector<OutsideEntry> listed =
        ParseOutsidePrograms(ReadFileBytes(POPBOARD_OUTSIDE_PROGRAMS));
    if (listed.empty()) throw std::runtime_error("cannot read " POPBOARD_OUTSIDE_PROGRAMS);
    for (const OutsideEntry& entry : listed)
        if (entry.name == name && entry.name[0] != '/') return entry;
    throw std::logic_error(name +
                           " is not in scripts/outside-programs: list it there with its "
                           "package, and the package in scripts/install-deps");
}

}  // namespace

bool StrictRun() {
    const std::string ci = std::getenv("CI") ? std::getenv("CI") : "";
    return !ci.empty() && ci != "0" && ci != "false" && ci != "no";
}

std::string ProgramPath(const std::string& name) {
    Entry(name);
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

std::string MissingPrograms(std::initializer_list<std::string> names) {
    std::string why;
    int missing = 0;
    for (const std::string& name : names) {
        if (!ProgramPath(name).empty()) continue;
        if (missing++ > 0) why += ", ";
        why += name + " is not installed (package " + Entry(name).package + ")";
    }
    if (missing == 0) return why;
    return why + "; scripts/install-deps --test installs " + (missing == 1 ? "it" : "them");
}

std::string RequirementMessage(const std::string& why, bool strict) {
    return why + (strict ? ". Under CI a test does not skip what it needs: it fails."
                         : " (under CI this test would fail)");
}

}  // namespace pb::test
