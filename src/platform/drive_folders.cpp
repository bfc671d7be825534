// The drive folders from the mount table: only what a person keeps files on (disks and home),
// not the kernel's and the system's own file systems.
#include "platform/drive_folders.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tolvane {

namespace {

// The table writes a blank, a tab, a newline and a backslash in a name as \040 \011 \012 \134.
std::string unescaped(const std::string& field) {
    auto octalDigit = [](char c) { return c >= '0' && c <= '7'; };
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && octalDigit(field[i + 1]) &&
            octalDigit(field[i + 2]) && octalDigit(field[i + 3])) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

bool isBelowOrSame(std::string_view path, std::string_view folder) {
    if (folder == "/") return !path.empty() && path.front() == '/';
    if (path.substr(0, folder.size()) != folder) return false;
    return path.size() == folder.size() || path[folder.size()] == '/';
}

}  // namespace

std::vector<std::string> driveFolders(std::string_view mountTable) {
    std::string table(mountTable);
    if (table.empty()) {
        std::ifstream in("/proc/self/mounts");
        std::ostringstream text;
        text << in.rdbuf();
        table = text.str();
    }
    std::vector<std::string> out{"/"};
    auto addOnce = [&out](const std::string& folder) {
        if (!folder.empty() && std::find(out.begin(), out.end(), folder) == out.end())
            out.push_back(folder);
    };
    if (const char* home = std::getenv("HOME"); home && *home) {
        std::error_code ec;
        if (std::filesystem::is_directory(home, ec))
            addOnce(std::filesystem::path(home).lexically_normal().string());
    }
    std::vector<std::string> mounts;
    std::istringstream lines(table);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string device;
        std::string folder;
        if (!(fields >> device >> folder)) continue;
        if (device.rfind("/dev/", 0) != 0 || device.rfind("/dev/loop", 0) == 0) continue;
        mounts.push_back(unescaped(folder));
    }
    std::sort(mounts.begin(), mounts.end());
    for (const std::string& m : mounts) addOnce(m);
    return out;
}

std::string driveFolderOf(const std::vector<std::string>& drives, std::string_view path) {
    std::string best = "/";
    for (const std::string& d : drives) {
        if (d.size() > best.size() && isBelowOrSame(path, d)) best = d;
    }
    return best;
}

}  // namespace tolvane
