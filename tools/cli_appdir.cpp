#include "cli_appdir.h"

#include <filesystem>

namespace pbcli {

std::string TakeOption(std::vector<std::string>& args, const std::string& name,
                       const std::string& fallback) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != name) continue;
        if (i + 1 >= args.size()) {
            args.erase(args.begin() + static_cast<long>(i));
            return {};
        }
        std::string value = args[i + 1];
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
        return value;
    }
    return fallback;
}

std::string TakeAppDir(std::vector<std::string>& args) {
    std::error_code ec;
    std::string dir = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path().string();
    dir = TakeOption(args, "--appdir", dir);
    if (dir.empty()) return {};
    if (dir.back() != '/') dir += '/';
    return dir;
}

}  // namespace pbcli
