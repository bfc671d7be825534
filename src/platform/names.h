// Names of tables, columns, sections and keys: compared without regard to case and quoted
// for SQLite. Folds only A-Z, whatever the process locale: accented letters stay as they are.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tolvane {

constexpr char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

std::string lower(std::string_view s);
bool sameName(std::string_view a, std::string_view b);

struct CaselessHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const;
};

struct CaselessEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return sameName(a, b); }
};

// A map by name, found without regard to case; the first spelling stored is kept.
template <class Value>
using CaselessMap = std::unordered_map<std::string, Value, CaselessHash, CaselessEqual>;

// A name as SQLite quotes it: in double quotes, inner double quotes doubled.
std::string quoteName(std::string_view name);
// "schema.table" quoted part by part.
std::string quoteQualifiedName(std::string_view name);

}  // namespace tolvane
