#include "cli_commands.h"

namespace pbcli {

std::vector<Command>& Commands() {
    static std::vector<Command> commands;
    return commands;
}

}  // namespace pbcli
