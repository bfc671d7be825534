// Caseless names and their quoting; the one place where the program folds the case of a name.
// Never depends on the process locale.
#include "platform/names.h"

#include <functional>

namespace tolvane {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = lowerAscii(c);
    return out;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

std::size_t CaselessHash::operator()(std::string_view s) const {
    // FNV-1a over the folded bytes: no lower-case copy per look-up.
    std::size_t h = 1469598103934665603ull;
    for (char c : s) {
        h ^= static_cast<unsigned char>(lowerAscii(c));
        h *= 1099511628211ull;
    }
    return h;
}

std::string quoteName(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string quoteQualifiedName(std::string_view name) {
    std::string out;
    std::size_t start = 0;
    while (true) {
        std::size_t dot = name.find('.', start);
        out += quoteName(name.substr(start, dot == std::string_view::npos ? dot : dot - start));
        if (dot == std::string_view::npos) break;
        out += '.';
        start = dot + 1;
    }
    return out;
}

}  // namespace tolvane
