// Maps the Windows paths found in INI files and tables to Linux paths; rules in path_map.h.
// Looks at the disk only to correct the case of names; never creates anything.
#include "platform/path_map.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/text.h"

namespace tolvane {

namespace {

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        return pw->pw_dir;
    }
    return "/tmp";
}

std::string fromEnvironment(const std::string& name, const std::string& fallback) {
    const char* value = std::getenv(name.c_str());
    return value != nullptr && *value != '\0' ? std::string(value) : fallback;
}

std::string withoutTrailingSlash(std::string root) {
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    return root;
}

std::string driveRoot(char letter) {
    const char upper = static_cast<char>(letter >= 'a' ? letter - 'a' + 'A' : letter);
    const char lower = static_cast<char>(upper - 'A' + 'a');
    return withoutTrailingSlash(
        fromEnvironment(std::string("TOLVANE_DRIVE_") + upper,
                        homeFolder() + "/.local/share/tolvane/drive_" + std::string(1, lower)));
}

std::string uncRoot() {
    return withoutTrailingSlash(
        fromEnvironment("TOLVANE_UNC_ROOT", homeFolder() + "/.local/share/tolvane/unc"));
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::vector<std::string> components(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto slash = path.find('/', start);
        const auto end = slash == std::string_view::npos ? path.size() : slash;
        if (end > start) parts.emplace_back(path.substr(start, end - start));
        if (slash == std::string_view::npos) break;
        start = slash + 1;
    }
    return parts;
}

std::optional<std::string> caselessEntry(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return std::nullopt;
    std::optional<std::string> found;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string candidate = entry->d_name;
        if (candidate == "." || candidate == "..") continue;
        if (equalText(candidate, name) && (!found || candidate < *found)) found = candidate;
    }
    ::closedir(dir);
    return found;
}

std::string join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// root is taken as configured; the components below it are matched without regard to case.
// Below a root, "." and ".." are resolved on the text, as Windows does, and never climb above
// the first `kept` components: "C:\..\x" is "C:\x", whatever lies above the drive's folder.
std::string resolve(const std::string& root, std::string_view rest, bool trailingSlash, bool rooted,
                    std::size_t kept = 0) {
    std::vector<std::string> parts;
    for (std::string& part : components(rest)) {
        if (rooted && part == ".") continue;
        if (rooted && part == "..") {
            if (parts.size() > kept) parts.pop_back();
            continue;
        }
        parts.push_back(std::move(part));
    }
    std::string result = root;
    bool searching = true;
    for (const std::string& part : parts) {
        std::string next = join(result, part);
        if (searching && part != "." && part != ".." && !exists(next)) {
            if (const auto entry = caselessEntry(result, part)) {
                next = join(result, *entry);
            } else {
                searching = false;
            }
        }
        result = std::move(next);
    }
    if (trailingSlash && !result.empty() && result.back() != '/') result += '/';
    return result;
}

}  // namespace

std::string mapWindowsPath(std::string_view path) {
    if (path.empty()) return {};
    if (path.front() == '/' && path.find('\\') == std::string_view::npos) return std::string(path);

    std::string p(path);
    for (char& c : p) {
        if (c == '\\') c = '/';
    }
    const bool trailingSlash = p.back() == '/';

    if (p.size() >= 2 && p[0] == '/' && p[1] == '/') {
        // The server and the share are the root of a network name.
        return resolve(uncRoot(), std::string_view(p).substr(2), trailingSlash, true, 2);
    }
    if (p.size() >= 2 && isLetter(p[0]) && p[1] == ':') {
        return resolve(driveRoot(p[0]), std::string_view(p).substr(2), trailingSlash, true);
    }
    if (p[0] == '/') return resolve(driveRoot('C'), p, trailingSlash, true);
    const std::string mapped = resolve("", p, trailingSlash, false);
    return mapped.empty() ? p : mapped;
}

}  // namespace tolvane
