// Tray and paper numbers from the keywords a queue names its choices with.
// Never gives two choices of one queue the same number.
#include "platform/printer_media.h"

#include <algorithm>
#include <set>

#include "platform/text.h"

namespace tolvane {

namespace {

struct Numbered {
    const char* keyword;
    int number;
};

// Keywords as compared: lower case, without "-" and "_".
const Numbered kTrays[] = {
    {"upper", 1},          {"top", 1},          {"main", 1},           {"lower", 2},
    {"bottom", 2},         {"middle", 3},       {"manual", 4},         {"manualfeed", 4},
    {"bypasstray", 4},     {"envelope", 5},     {"envmanual", 6},      {"envelopemanual", 6},
    {"manualenvelope", 6}, {"auto", 7},         {"autoselect", 7},     {"tractor", 8},
    {"smallformat", 9},    {"largeformat", 10}, {"largecapacity", 11}, {"cassette", 14},
    {"formsource", 15},
};

// Paper names as compared: lower case; a self-describing IPP name without its size part.
const Numbered kPapers[] = {
    {"letter", 1},
    {"na_letter", 1},
    {"na-letter", 1},
    {"legal", 5},
    {"na_legal", 5},
    {"na-legal", 5},
    {"executive", 7},
    {"na_executive", 7},
    {"a3", 8},
    {"iso_a3", 8},
    {"iso-a3", 8},
    {"a4", 9},
    {"iso_a4", 9},
    {"iso-a4", 9},
    {"a5", 11},
    {"iso_a5", 11},
    {"iso-a5", 11},
    {"b4", 12},
    {"jis_b4", 12},
    {"jis-b4", 12},
    {"b5", 13},
    {"jis_b5", 13},
    {"jis-b5", 13},
    {"env10", 20},
    {"na_number-10", 20},
    {"na-number-10-envelope", 20},
    {"envdl", 27},
    {"iso_dl", 27},
    {"iso-designated-long", 27},
    {"envc5", 28},
    {"iso_c5", 28},
    {"iso-c5", 28},
};

const Numbered kPaperKeywords[] = {
    {"Letter", 1}, {"Legal", 5}, {"Executive", 7}, {"A3", 8},     {"A4", 9},     {"A5", 11},
    {"B4", 12},    {"B5", 13},   {"Env10", 20},    {"EnvDL", 27}, {"EnvC5", 28},
};

template <std::size_t N>
int lookUp(const Numbered (&table)[N], const std::string& key) {
    for (const Numbered& entry : table)
        if (key == entry.keyword) return entry.number;
    return 0;
}

std::vector<int> numbers(const std::vector<std::string>& keywords, int (*own)(std::string_view)) {
    std::vector<int> out;
    std::set<int> taken;
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        int number = own(keywords[i]);
        if (number == 0 || !taken.insert(number).second) number = 256 + static_cast<int>(i) + 1;
        out.push_back(number);
    }
    return out;
}

}  // namespace

int trayNumber(std::string_view keyword) {
    std::string key = LCase(keyword);
    std::erase_if(key, [](char c) { return c == '-' || c == '_'; });
    return lookUp(kTrays, key);
}

int paperNumber(std::string_view keyword) {
    std::string key = LCase(keyword);
    // "class_name_size": the size part says nothing the name does not.
    if (std::count(key.begin(), key.end(), '_') >= 2) key.erase(key.rfind('_'));
    return lookUp(kPapers, key);
}

std::string_view paperKeyword(int number) {
    for (const Numbered& entry : kPaperKeywords)
        if (entry.number == number) return entry.keyword;
    return {};
}

std::vector<int> trayNumbers(const std::vector<std::string>& keywords) {
    return numbers(keywords, trayNumber);
}

std::vector<int> paperNumbers(const std::vector<std::string>& keywords) {
    return numbers(keywords, paperNumber);
}

}  // namespace tolvane
