// Fuzz target: INI text as read from a terminal's file, then one entry written and read back.
// Fails on a crash, on a rewrite that is not stable, or on a written value that reads otherwise.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/ini_file.h"
#include "platform/numbered_error.h"
#include "platform/text.h"

using namespace tolvane;

namespace {

// The next piece of the input up to a NUL byte.
std::string_view piece(std::string_view& rest) {
    const std::size_t end = rest.find('\0');
    std::string_view out = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return out;
}

bool plainValue(std::string_view v) {
    return !v.empty() && v.front() != ' ' && v.back() != ' ' && v.front() != '\t' &&
           v.back() != '\t' && v.front() != '"';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view text = piece(rest);
    const std::string_view section = piece(rest);
    const std::string_view key = piece(rest);
    const std::string_view value = piece(rest);

    IniFile ini = IniFile::parse(text);
    const std::string once = ini.serialize();
    if (IniFile::parse(once).serialize() != once) std::abort();
    (void)ini.getString(section, key, "");
    (void)ini.getInt(section, key, 0);
    try {
        ini.setString(section, key, value);
    } catch (const NumberedError&) {
        return 0;
    }
    const IniFile back = IniFile::parse(ini.serialize());
    if (plainValue(value) && back.getString(section, key, "\x01") != value) std::abort();
    ini.removeKey(section, key);
    ini.removeSection(section);
    (void)ini.serialize();
    return 0;
}
