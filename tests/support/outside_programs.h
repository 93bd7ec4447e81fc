#pragma once
// Programs from outside popboard that tests start as independent readers (zbarimg,
// emf2svg-conv, pdftoppm...), each listed with its Debian package in scripts/outside-programs
// (held against scripts/install-deps by scripts/check-outside-programs). A test that needs one
// begins with REQUIRE_PROGRAMS(...) or REQUIRE_OUTSIDE(why): skipped with the reason on a
// developer's machine, failed under CI, where a missing program means an incomplete list.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace pb::test {

// A line of the list: a program (or an outside file, by its absolute path) and its package.
struct OutsideEntry {
    std::string name;
    std::string package;
};
// The entries of the list's text ('#' begins a comment), and where the list lies.
std::vector<OutsideEntry> ParseOutsidePrograms(const std::string& text);
std::string OutsideProgramsList();

// Whether missing programs fail tests rather than skip them: CI set to anything but "", "0",
// "false" or "no".
bool StrictRun();

// The full path of a listed program on the PATH, "" when it is not installed. Throws
// std::logic_error for a program that scripts/outside-programs does not list.
std::string ProgramPath(const std::string& name);

// Each missing program with its package ("" when all are installed).
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
