// The list engine's text work: cutting a list into pages of fixed-pitch lines for fixed-format
// prints, and writing rows as separated text. No file, no window.
#include <algorithm>
#include <cstdio>

#include "platform/text.h"
#include "suite/opzioni/opz_stampa.h"
#include "suite/stampa/motore_stampa_lista.h"

namespace tolvane {

namespace {

constexpr int kHeadingLines = 4;  // title, blank, captions, rule
constexpr long kNarrowest = 3;

std::string oneLine(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    }
    return out;
}

std::string fit(const std::string& text, long width) {
    long length = static_cast<long>(Len(text));
    if (length >= width) return Left(text, width);
    return text + Space(width - length);
}

std::string cell(const std::vector<std::string>& row, std::size_t i) {
    return i < row.size() ? oneLine(row[i]) : std::string();
}

}  // namespace

std::vector<PrintPage> layOutList(const PrintList& list, int columns, int lines) {
    const std::size_t n = list.captions.size();
    std::vector<long> widths(n, 1);
    for (std::size_t i = 0; i < n; ++i) {
        widths[i] = std::max<long>(1, static_cast<long>(Len(oneLine(list.captions[i]))));
        for (const auto& row : list.rows) {
            widths[i] = std::max<long>(widths[i], static_cast<long>(Len(cell(row, i))));
        }
    }
    long total = n == 0 ? 0 : static_cast<long>(n) - 1;
    for (long w : widths) total += w;
    while (total > columns && n > 0) {
        auto widest = std::max_element(widths.begin(), widths.end());
        if (*widest <= kNarrowest) break;
        --*widest;
        --total;
    }
    auto lineOf = [&](const std::vector<std::string>& texts) {
        std::string line;
        for (std::size_t i = 0; i < n; ++i) {
            if (i > 0) line += ' ';
            line += fit(cell(texts, i), widths[i]);
        }
        line = RTrim(line);
        return static_cast<long>(Len(line)) > columns ? Left(line, columns) : line;
    };
    const std::string captions = lineOf(list.captions);
    const std::string rule(static_cast<std::size_t>(std::min<long>(total, columns)), '-');
    const int perPage = std::max(1, lines - kHeadingLines);

    std::vector<PrintPage> pages;
    std::size_t next = 0;
    do {
        PrintPage page;
        std::string number = "Pag. " + std::to_string(pages.size() + 1);
        long room = columns - static_cast<long>(number.size()) - 1;
        std::string title = room > 0 ? RTrim(fit(oneLine(list.title), room)) : std::string();
        long gap = columns - static_cast<long>(Len(title)) - static_cast<long>(number.size());
        page.push_back(title + Space(std::max<long>(1, gap)) + number);
        page.emplace_back();
        page.push_back(captions);
        page.push_back(rule);
        for (int k = 0; k < perPage && next < list.rows.size(); ++k) {
            page.push_back(lineOf(list.rows[next++]));
        }
        pages.push_back(std::move(page));
    } while (next < list.rows.size());
    return pages;
}

std::string separatedText(const PrintList& list, const std::string& separator,
                          const std::string& qualifier) {
    auto enclosed = [](const std::string& value, const std::string& mark) {
        return mark + Replace(value, mark, mark + mark, false) + mark;
    };
    auto field = [&](const std::string& value) {
        if (!qualifier.empty()) return enclosed(value, qualifier);
        const bool plain = (separator.empty() || value.find(separator) == std::string::npos) &&
                           value.find_first_of("\"\r\n") == std::string::npos;
        return plain ? value : enclosed(value, "\"");
    };
    auto lineOf = [&](const std::vector<std::string>& texts) {
        std::string line;
        for (std::size_t i = 0; i < list.captions.size(); ++i) {
            if (i > 0) line += separator;
            line += field(i < texts.size() ? texts[i] : std::string());
        }
        return line + "\r\n";
    };
    std::string out = lineOf(list.captions);
    for (const auto& row : list.rows) out += lineOf(row);
    return out;
}

std::string fixedFormatText(const std::vector<PrintPage>& pages, const OpzStampa& options) {
    const long columns = options.FisColonne > 0 ? options.FisColonne : 80;
    const int length = options.FisRighe > 0 ? options.FisRighe : 66;
    const int top = std::max(0, options.FisMrAlt);
    const int bottom = std::max(0, options.FisMrBas);
    std::string out;
    if (options.FisUtilComp) out += options.FisCodIniComp;
    for (const PrintPage& page : pages) {
        int written = 0;
        auto put = [&](const std::string& line) {
            out += RTrim(Left(line, columns)) + "\r\n";
            ++written;
        };
        for (int i = 0; i < top && written < length; ++i) put({});
        for (const std::string& line : page) {
            if (written >= length - bottom) break;
            put(line);
        }
        while (written < length) put({});
    }
    if (options.FisUtilComp) out += options.FisCodFinComp;
    return out;
}

}  // namespace tolvane
