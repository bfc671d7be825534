// What a real PDF holds, read back with poppler's tools (pdftotext, pdffonts, pdfinfo) as a
// user would read it. Never changes the file it reads.
#pragma once

#include <algorithm>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "support/scratch_folder.h"

namespace tolvane::testing {

// The standard output of a command line ("" when it did not run).
inline std::string commandOutput(const std::string& command) {
    std::string out;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

inline std::string quotedPath(const std::string& path) { return "'" + path + "'"; }

struct PdfFacts {
    std::string text;   // pdftotext, layout kept
    std::string fonts;  // pdffonts' table
    std::string boxes;  // pdftotext -bbox: every word with its box
    int pages = 0;
    int width = 0;  // first page, points rounded
    int height = 0;
};

inline PdfFacts pdfFacts(const std::string& path) {
    PdfFacts facts;
    facts.text = commandOutput("pdftotext -layout " + quotedPath(path) + " - 2>&1");
    facts.fonts = commandOutput("pdffonts " + quotedPath(path) + " 2>&1");
    facts.boxes = commandOutput("pdftotext -bbox " + quotedPath(path) + " - 2>&1");
    const std::string info = commandOutput("pdfinfo " + quotedPath(path) + " 2>&1");
    std::smatch m;
    if (std::regex_search(info, m, std::regex("Pages:\\s+(\\d+)"))) facts.pages = std::stoi(m[1]);
    if (std::regex_search(info, m, std::regex("Page size:\\s+([\\d.]+) x ([\\d.]+)"))) {
        facts.width = static_cast<int>(std::stod(m[1]) + 0.5);
        facts.height = static_cast<int>(std::stod(m[2]) + 0.5);
    }
    return facts;
}

// The same for a PDF held in memory (as a print queue records it).
inline PdfFacts pdfFactsOf(const std::string& content) {
    ScratchFolder folder;
    return pdfFacts(folder.write("stampa.pdf", content));
}

// The height of the first box pdftotext puts around that word, in points; 0 when there is
// none. A font's size shows in it.
inline double wordHeight(const PdfFacts& facts, const std::string& word) {
    std::smatch m;
    const std::regex box("yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"([\\d.]+)\">" + word + "<");
    return std::regex_search(facts.boxes, m, box) ? std::stod(m[2]) - std::stod(m[1]) : 0;
}

// True when pdffonts lists an embedded font whose name holds family ("LiberationSans-Bold").
inline bool embeddedFont(const PdfFacts& facts, const std::string& family) {
    return std::regex_search(facts.fonts, std::regex("\\+" + family + "\\s[^\\n]*\\syes\\s+yes"));
}

// The embedded fonts pdffonts lists, by name without the subset tag, sorted, each once.
inline std::vector<std::string> embeddedFaces(const PdfFacts& facts) {
    std::vector<std::string> out;
    const std::regex line("(?:^|\\n)[A-Z]{6}\\+(\\S+)[^\\n]*\\syes\\s+yes");
    for (auto it = std::sregex_iterator(facts.fonts.begin(), facts.fonts.end(), line);
         it != std::sregex_iterator(); ++it)
        out.push_back((*it)[1]);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

}  // namespace tolvane::testing
