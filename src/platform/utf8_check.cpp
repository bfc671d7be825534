// Checks and repairs of UTF-8 byte strings, for text that arrives from files.
// Follows the well-formed byte table of Unicode: no overlongs, no surrogates, nothing above
// U+10FFFF.
#include "platform/utf8_check.h"

#include <cstddef>

namespace tolvane {

namespace {

// Length of the well-formed sequence that starts at i, 0 when it is ill-formed.
std::size_t sequenceLength(std::string_view s, std::size_t i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    const std::size_t left = s.size() - i;
    const auto cont = [&](std::size_t k) { return (b(k) & 0xC0) == 0x80; };
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) return left >= 2 && cont(i + 1) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (left < 3 || !cont(i + 1) || !cont(i + 2)) return 0;
        if (c == 0xE0 && b(i + 1) < 0xA0) return 0;  // overlong
        if (c == 0xED && b(i + 1) > 0x9F) return 0;  // surrogate
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (left < 4 || !cont(i + 1) || !cont(i + 2) || !cont(i + 3)) return 0;
        if (c == 0xF0 && b(i + 1) < 0x90) return 0;  // overlong
        if (c == 0xF4 && b(i + 1) > 0x8F) return 0;  // above U+10FFFF
        return 4;
    }
    return 0;
}

}  // namespace

std::size_t noncharacterAt(std::string_view bytes, std::size_t i) {
    const auto b = [&](std::size_t k) {
        return k < bytes.size() ? static_cast<unsigned char>(bytes[k]) : 0;
    };
    if (b(i) == 0xEF && b(i + 1) == 0xB7 && b(i + 2) >= 0x90 && b(i + 2) <= 0xAF) return 3;
    if (b(i) == 0xEF && b(i + 1) == 0xBF && b(i + 2) >= 0xBE) return 3;
    // U+1FFFE, U+1FFFF, ... U+10FFFF
    if (b(i) >= 0xF0 && b(i) <= 0xF4 && (b(i + 1) & 0xCF) == 0x8F && b(i + 2) == 0xBF &&
        (b(i + 3) & 0xFE) == 0xBE)
        return 4;
    return 0;
}

bool isAscii(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = sequenceLength(bytes, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string repairUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + 8);
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = sequenceLength(bytes, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(bytes.substr(i, n));
            i += n;
        }
    }
    return out;
}

}  // namespace tolvane
