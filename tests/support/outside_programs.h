#pragma once
// Programs from outside popboard that tests start as independent readers (zbarimg,
// emf2svg-conv, pdftoppm...). Every one is listed with its Debian package in
// scripts/outside-programs, which scripts/check-outside-programs holds against
// scripts/install-deps; a program that is not listed there is refused here.
//
// A test that needs something from outside begins with REQUIRE_PROGRAMS(...) or
// REQUIRE_OUTSIDE(why). When it is missing, the test is skipped with the reason on a
// developer's machine, and fails under CI (environment CI set, as CI runners do), where a
// missing program means a package list that is not complete.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace pb::test {

// The list of scripts/outside-programs: each line a program (or an outside file, by its
// absolute path) and its package; '#' begins a comment.
struct OutsideEntry {
    std::string name;
    std::string package;
};
std::vector<OutsideEntry> ParseOutsidePrograms(const std::string& text);
// Where the list lies (in the source tree's scripts/).
std::string OutsideProgramsList();

// Whether missing programs fail tests rather than skip them: CI set to anything but "", "0",
// "false" or "no".
bool StrictRun();

// The full path of a listed program on the PATH, "" when it is not installed. Throws
// std::logic_error for a program that scripts/outside-programs does not list.
std::string ProgramPath(const std::string& name);

// Why the programs cannot be used ("" when all are installed): each missing program with its
// package.
std::string MissingPrograms(std::initializer_list<std::string> names);

// The text a test ends with for a reason `why`, under CI or not.
std::string RequirementMessage(const std::string& why, bool strict);

}  // namespace pb::test

// Ends the test (or its SetUp) when `why` is not empty: skipped, or failed under CI.
#define REQUIRE_OUTSIDE(why)                                                   \
    if (const std::string pb_outside_why_ = (why); pb_outside_why_.empty()) {  \
    } else if (::pb::test::StrictRun())                                        \
        GTEST_FAIL() << ::pb::test::RequirementMessage(pb_outside_why_, true); \
    else                                                                       \
        GTEST_SKIP() << ::pb::test::RequirementMessage(pb_outside_why_, false)

#define REQUIRE_PROGRAMS(...) REQUIRE_OUTSIDE(::pb::test::MissingPrograms({__VA_ARGS__}))
