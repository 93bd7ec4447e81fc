#pragma once
// The subcommands of popboard-cli. A subcommand lives in its own file and adds itself to
// Commands() with a CliCommandRegistration at namespace scope.

#include <string>
#include <vector>

namespace pbcli {

struct Command {
    const char* name;
    const char* summary;
    int (*run)(const std::vector<std::string>& args);  // returns the exit status
};

std::vector<Command>& Commands();

struct CliCommandRegistration {
    explicit CliCommandRegistration(Command c) { Commands().push_back(c); }
};

}  // namespace pbcli
