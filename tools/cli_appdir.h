#pragma once
// The program folder the subcommands work in: "--appdir DIR" when given, else the folder of
// popboard-cli itself (where the build puts DicData).

#include <string>
#include <vector>

namespace pbcli {

// Removes "--appdir DIR" from `args` and returns the folder with a trailing "/". Empty when the
// option lacks its value.
std::string TakeAppDir(std::vector<std::string>& args);
// Removes "NAME VALUE" from `args`; `fallback` when absent.
std::string TakeOption(std::vector<std::string>& args, const std::string& name,
                       const std::string& fallback = {});

}  // namespace pbcli
