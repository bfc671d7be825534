// Runs each folder of tests/batchload/cases as one load on fresh databases: its layout rows,
// prompted values and input file, then the rows the load must leave (cases/README.md).
// Holds no rule of its own: a rule is a folder.
#include <algorithm>

#include "batch_fixture.h"
#include "support/scratch_folder.h"

namespace tolvane::batchtest {
namespace {

namespace fs = std::filesystem;

const fs::path kCases = fs::path(TOLVANE_SOURCE_DIR) / "tests" / "batchload" / "cases";
const std::string kCode = "CASO";

std::vector<std::string> caseNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kCases))
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The lines of a file without their ends; with `meaningful`, no blank and no # comment lines.
std::vector<std::string> linesOf(const fs::path& file, bool meaningful = true) {
    std::vector<std::string> out;
    std::ifstream in(file, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto first = line.find_first_not_of(" \t");
        if (meaningful && (first == std::string::npos || line[first] == '#')) continue;
        out.push_back(line);
    }
    return out;
}

std::string trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

// Cells split at '|' and trimmed; a cell in double quotes is kept as written, spaces included.
std::vector<std::string> cellsOf(std::string_view line) {
    std::vector<std::string> out;
    for (std::size_t at = 0;;) {
        const std::size_t end = line.find('|', at);
        std::string cell = trim(line.substr(at, end == std::string_view::npos ? end : end - at));
        if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"')
            cell = cell.substr(1, cell.size() - 2);
        out.push_back(std::move(cell));
        if (end == std::string_view::npos) return out;
        at = end + 1;
    }
}

// In a message, \n as written stands for a line break.
std::string lineBreaks(std::string text) {
    for (auto at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at + 1))
        text.replace(at, 2, "\n");
    return text;
}

// What a case expects; a cell ending in '*' expects a text that begins with the rest.
struct Expected {
    long result = 0;
    Rows messages, errorRows;
    long counted = -1;
    std::vector<std::pair<std::string, Rows>> queries;
};

Expected expectedOf(const fs::path& file) {
    Expected e;
    for (const std::string& line : linesOf(file)) {
        auto word = [&](std::string_view w) { return line.rfind(w, 0) == 0; };
        if (word("result ")) e.result = std::stol(line.substr(7));
        else if (word("counted ")) e.counted = std::stol(line.substr(8));
        else if (word("message ")) e.messages.push_back({lineBreaks(line.substr(8))});
        else if (word("!")) e.errorRows.push_back(cellsOf(line.substr(1)));
        else if (word(">")) e.queries.emplace_back(trim(line.substr(1)), Rows{});
        else if (!e.queries.empty()) e.queries.back().second.push_back(cellsOf(line));
        else ADD_FAILURE() << file << ": a row before any query: " << line;
    }
    if (e.counted < 0) e.counted = static_cast<long>(e.errorRows.size());
    return e;
}

// The rows as a table; the cells that match an expected prefix are shown as expected.
std::string shown(Rows rows, const Rows& expected) {
    std::string out;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            if (r < expected.size() && c < expected[r].size()) {
                const std::string& want = expected[r][c];
                if (want.size() > 1 && want.back() == '*' &&
                    rows[r][c].rfind(want.substr(0, want.size() - 1), 0) == 0)
                    rows[r][c] = want;
            }
            out += (c ? " | " : "") + rows[r][c];
        }
        out += "\n";
    }
    return out;
}

class CaseTest : public BatchTest, public ::testing::WithParamInterface<std::string> {
  protected:
    // Rows of a layout table from a file whose first row names the columns; an empty cell
    // leaves its column Null. Codice is the case's own unless given, OrdCampo the row order.
    void store(const std::string& table, const fs::path& file, Columns defaults) {
        const auto lines = linesOf(file);
        if (lines.empty()) return;
        const auto names = cellsOf(lines[0]);
        for (std::size_t r = 1; r < lines.size(); ++r) {
            const auto values = cellsOf(lines[r]);
            Columns row;
            for (std::size_t c = 0; c < names.size(); ++c)
                row.emplace_back(names[c],
                                 c < values.size() && !values[c].empty() ? values[c] : kNull);
            for (const auto& d : defaults)
                if (std::none_of(names.begin(), names.end(),
                                 [&](const auto& n) { return n == d.first; }))
                    row.emplace_back(d.first, d.second == "#" ? std::to_string(r) : d.second);
            insertRow(table, row);
        }
    }

    // Prompted values: Campo | Valore | Rottura | Contatore | ValoreIniziale; a row with a
    // Contatore is a running counter.
    void prompted(const fs::path& file) {
        if (!fs::exists(file)) return;
        const auto lines = linesOf(file);
        for (std::size_t r = 1; r < lines.size(); ++r) {
            auto v = cellsOf(lines[r]);
            v.resize(5);
            const std::string key = kCode + "." + v[0];
            if (v[3].empty()) {
                values.Valore(key, Variant(v[1]));
                continue;
            }
            values.Valore(key, Variant(std::string(ElencoValori::ValoreMancante)));
            values.TipoVoce(key, ElencoValori::TipoVoceContatore);
            values.Rottura(key, v[2]);
            values.Contatore(key, std::stoi(v[3]));
            values.ValoreIniziale(key, Currency::fromDouble(v[4].empty() ? 0 : std::stod(v[4])));
        }
        loader->ogValDefault = &values;
    }

    ElencoValori values;
};

TEST_P(CaseTest, LoadLeavesTheExpectedRows) {
    const fs::path dir = kCases / GetParam();
    ASSERT_TRUE(fs::exists(dir / "expected.txt")) << "a case says what it expects";
    if (fs::exists(dir / "before.sql")) company(testing::ScratchFolder::read(dir / "before.sql"));
    if (fs::exists(dir / "soloasci")) gsSoloAsci = "S";
    if (fs::exists(dir / "commit.txt"))
        loader->setCommitEvery(std::stol(testing::ScratchFolder::read(dir / "commit.txt")));
    store("CaricaFile", dir / "CaricaFile.txt", {{"Codice", kCode}, {"Origine", "input.txt"}});
    store("CaricaDettaglio", dir / "CaricaDettaglio.txt", {{"Codice", kCode}, {"OrdCampo", "#"}});
    store("CaricaDecod", dir / "CaricaDecod.txt", {{"Codice", kCode}});
    prompted(dir / "valori.txt");
    if (fs::exists(dir / "input.txt")) input("input.txt", linesOf(dir / "input.txt", false));
    const Expected e = expectedOf(dir / "expected.txt");

    EXPECT_EQ(load(kCode), e.result);
    Rows shownMessages;
    for (std::string m : messages) {
        if (const auto at = m.find(folder.string()); at != std::string::npos)
            m.replace(at, folder.string().size(), "{folder}");
        shownMessages.push_back({m});
    }
    EXPECT_EQ(shown(shownMessages, e.messages), shown(e.messages, {})) << "messages";
    EXPECT_EQ(shown(rows("SELECT Riga, Errore FROM ErroriCaricamento ORDER BY Id"), e.errorRows),
              shown(e.errorRows, {}))
        << "ErroriCaricamento";
    if (e.result == 0) {
        EXPECT_EQ(errors, e.counted) << "rejected lines counted";
    }
    for (const auto& [sql, want] : e.queries)
        EXPECT_EQ(shown(rows(sql), want), shown(want, {})) << sql;
}

INSTANTIATE_TEST_SUITE_P(Folder, CaseTest, ::testing::ValuesIn(caseNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace tolvane::batchtest
