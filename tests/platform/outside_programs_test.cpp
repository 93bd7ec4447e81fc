// The guard over outside programs: the tests find only listed programs, and
// scripts/check-outside-programs finds a program whose package install-deps does not name.
#include "support/outside_programs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "support/platform_fixtures.h"
#include "support/test_support.h"

namespace pb {
namespace {

namespace fs = std::filesystem;

// Sets PATH for the life of the object.
class PathScope {
  public:
    explicit PathScope(const std::string& path) {
        if (const char* old = std::getenv("PATH")) old_ = old;
        setenv("PATH", path.c_str(), 1);
    }
    ~PathScope() { setenv("PATH", old_.c_str(), 1); }

  private:
    std::string old_;
};

TEST(OutsidePrograms, ListedProgramsAreFoundOnThePathAndMissingOnesNamed) {
    test::TempDir empty, found, unusable;
    test::WriteFileBytes(found.file("zbarimg"), "#!/bin/sh\n");
    chmod(found.file("zbarimg").c_str(), 0755);
    test::WriteFileBytes(unusable.file("zbarimg"), "not executable");
    chmod(unusable.file("zbarimg").c_str(), 0644);
    struct Case {
        std::string path;
        std::string expected;
    };
    const Case cases[] = {
        {unusable.path(), ""},
        {found.path(), found.file("zbarimg")},
        {unusable.path() + ":" + empty.path() + ":" + found.path(), found.file("zbarimg")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const PathScope scope(c.path);
        EXPECT_EQ(test::ProgramPath("zbarimg"), c.expected);
        const std::string why = test::MissingPrograms({"zbarimg", "emf2svg-conv"});
        EXPECT_EQ(why.find("zbarimg is not installed (package zbar-tools)") != std::string::npos,
                  c.expected.empty())
            << why;
        EXPECT_NE(why.find("emf2svg-conv is not installed (package emf2svg)"), std::string::npos)
            << why;
    }
}

TEST(OutsidePrograms, ProgramsMissingFromTheListAreRefused) {
    // Files of the list are not programs to start; names must match whole.
    for (const char* name : {"gimp", "zbar", "zbarimg ", "/usr/share/skk/SKK-JISYO.L", ""}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(test::ProgramPath(name), std::logic_error);
        EXPECT_THROW(test::MissingPrograms({"zbarimg", name}), std::logic_error);
    }
}

// scripts/check-outside-programs run on a copy of install-deps (and of the list) changed by
// `edit`, a sed script: its status and what it says.
struct CheckRun {
    int status;
    std::string out;
};
CheckRun RunCheck(const test::TempDir& dir, const std::string& depsEdit,
                  const std::string& listEdit = "") {
    const fs::path scripts = fs::path(test::OutsideProgramsList()).parent_path();
    const std::string deps = dir.file("install-deps"), list = dir.file("outside-programs");
    test::WriteFileBytes(deps, test::ReadFileBytes((scripts / "install-deps").string()));
    test::WriteFileBytes(list, test::ReadFileBytes(test::OutsideProgramsList()));
    chmod(deps.c_str(), 0755);
    if (!depsEdit.empty()) test::RunCommand("sed -i -E '" + depsEdit + "' '" + deps + "'");
    if (!listEdit.empty()) test::RunCommand("sed -i -E '" + listEdit + "' '" + list + "'");
    CheckRun run{-1, ""};
    run.out = test::RunCommand("'" + (scripts / "check-outside-programs").string() + "' '" + deps +
                                   "' '" + list + "' 2>&1",
                               &run.status);
    return run;
}

TEST(OutsidePrograms, TheCheckNamesEachProgramWhosePackageIsNotInstalled) {
    // imagemagick brings two listed programs: both are named, each on a line of its own.
    test::TempDir dir;
    const CheckRun run = RunCheck(dir, "s/([[:space:]])imagemagick([[:space:]]|$)/\\1\\2/");
    EXPECT_EQ(run.status, 1) << run.out;
    for (const char* program : {"import", "convert"})
        EXPECT_NE(run.out.find(std::string(program) + ": its package imagemagick is not in"),
                  std::string::npos)
            << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3) << run.out;
}

TEST(OutsidePrograms, TheCheckRefusesAProgramListedWithAPackageThatDoesNotBringIt) {
    REQUIRE_PROGRAMS("import");
    test::TempDir dir;
    const CheckRun run = RunCheck(dir, "", "s/^import +imagemagick/import sqlite3/");
    EXPECT_EQ(run.status, 1) << run.out;
    // import is a link chosen by update-alternatives to ImageMagick's own program.
    for (const char* part : {"import (/usr/bin/import) comes from package imagemagick-6.",
                             ", which sqlite3 does not bring"})
        EXPECT_NE(run.out.find(part), std::string::npos) << run.out;
}

TEST(OutsidePrograms, TheListAndInstallDepsAgree) {
    test::TempDir dir;
    const CheckRun run = RunCheck(dir, "");
    // What this machine lacks is for install-deps to bring; a package missing from the list or
    // a program with the wrong package is an error anywhere.
    EXPECT_EQ(run.out.find("is not in"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("does not bring"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("no package"), std::string::npos) << run.out;
    REQUIRE_OUTSIDE(run.status == 0 ? "" : run.out);
}

}  // namespace
}  // namespace pb
