// popboard-cli: the program's libraries from the command line, for scripts and tests.
// Each subcommand registers itself in the table below.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli_commands.h"

namespace {

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage: popboard-cli <command> [arguments]\n\ncommands:\n");
    for (const auto& c : pbcli::Commands()) std::fprintf(out, "  %-8s %s\n", c.name, c.summary);
    std::fprintf(out, "  %-8s %s\n", "version", "print the version");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "help")) {
        PrintUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    if (!std::strcmp(argv[1], "version") || !std::strcmp(argv[1], "--version")) {
        std::printf("popboard-cli %s\n", POPBOARD_VERSION);
        return 0;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const auto& c : pbcli::Commands())
        if (!std::strcmp(argv[1], c.name)) return c.run(args);
    std::fprintf(stderr, "popboard-cli: unknown command '%s'\n", argv[1]);
    PrintUsage(stderr);
    return 2;
}
