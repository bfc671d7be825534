// Values that no output of a list may lose, nor let spoil the rest of the print: longer than a
// workbook cell holds, bytes that are not UTF-8, a megabyte, and the edges of a cell's count;
// and how a PDF of a list that holds them must read. Never writes anything.
#pragma once

#include <cstddef>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "support/pdf_check.h"

namespace tolvane::testing {

inline std::string repeated(std::string_view piece, std::size_t times) {
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) out.append(piece);
    return out;
}

struct HostileValue {
    std::string value;          // as the list holds it
    std::string text;           // as every text output shows it
    std::size_t workbookChars;  // the first characters of text that a workbook cell keeps
};

// The values, in a list each on a row of its own ("R1", "R2", ... in the first column).
inline const std::vector<HostileValue>& hostileValues() {
    static const std::vector<HostileValue> values = [] {
        const std::string city = repeated("città ", 6667);     // 40,002 characters
        const std::string mega = repeated("parola ", 149797);  // 1 MB
        const std::string wide = repeated("à", 32767);
        const std::string control("prima\0dopo\x01uno\x1F", 15);
        const std::string strange = "_x0041_ \xEF\xBF\xBE \xEF\xB7\x90 \xF0\x9F\xBF\xBF fine";
        return std::vector<HostileValue>{
            {city, city, 32767},
            {"A\xFF"
             "B",
             "AÿB", 3},
            {mega, mega, 32767},
            // Characters, not bytes, count; a character beyond U+FFFF counts twice.
            {wide, wide, 32767},
            {repeated("a", 32766) + "😀", repeated("a", 32766) + "😀", 32766},
            // What a workbook escapes reads back as it was, and noncharacters (U+FFFE, U+FDD0,
            // U+1FFFF) do not stop a PDF.
            {strange, strange, 18},
            // A zero byte ends no value; control characters stay.
            {control, control, 15},
        };
    }();
    return values;
}

// A word as pdftotext places it, in points from the top left of its page.
struct PdfWord {
    std::string text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

inline std::vector<PdfWord> pdfWords(const PdfFacts& facts) {
    std::vector<PdfWord> words;
    const std::regex word(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
        "yMax=\"([\\d.]+)\">(.*)</word>");
    std::istringstream lines(facts.boxes);
    std::smatch m;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_search(line, m, word)) {
            words.push_back(
                {m[5], std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4])});
        }
    }
    return words;
}

// What a one-page PDF of a list of codes ("R1", ...) and values shows out of place: a word of
// the values left of their column's caption, a code not shown once.
inline std::vector<std::string> outOfPlace(const PdfFacts& pdf, const std::string& caption,
                                           std::size_t codes) {
    const std::vector<PdfWord> words = pdfWords(pdf);
    const PdfWord* head = nullptr;
    for (const PdfWord& w : words) {
        if (w.text == caption && head == nullptr) head = &w;
    }
    if (head == nullptr) return {"no caption " + caption};
    std::vector<std::string> out;
    std::vector<int> seen(codes, 0);
    for (const PdfWord& w : words) {
        if (w.yMin <= head->yMax) continue;
        const std::regex code("R(\\d+)");
        std::smatch m;
        if (std::regex_match(w.text, m, code) && std::stoul(m[1]) - 1 < codes) {
            ++seen[std::stoul(m[1]) - 1];
        } else if (w.xMin < head->xMin - 0.5) {
            out.push_back(w.text.substr(0, 20) + " at " + std::to_string(w.xMin) + "-" +
                          std::to_string(w.xMax));
        }
    }
    for (std::size_t i = 0; i < codes; ++i) {
        if (seen[i] != 1)
            out.push_back("R" + std::to_string(i + 1) + " shown " + std::to_string(seen[i]) +
                          " times");
    }
    return out;
}

}  // namespace tolvane::testing
