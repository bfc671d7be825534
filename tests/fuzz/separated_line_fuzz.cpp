// Fuzz target: separated lines split by a layout's separator and read through the value
// language of NumCampo ("§n" references, "{...}" and "[...]" groups, operators, decimals).
// Fails on a crash or undefined behaviour, on an error other than the numbered ones, and on
// fields that do not add up to their line.
#include <sqlite3.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "batchload/batch_messages.h"
#include "batchload/sc_carica.h"
#include "batchload/separated_line.h"
#include "common/db_comune.h"
#include "common/globali.h"
#include "db/base_database.h"
#include "db/db_connection.h"
#include "platform/numbered_error.h"
#include "platform/utf8_check.h"

using namespace tolvane;

namespace {

// Stored separators (with their escapes) and what they decode to.
const struct {
    const char* stored;
    const char* separator;
} kSeparators[] = {{"\\059", ";"}, {"", "\t"}, {"x", "x"}, {"ab", "ab"}, {"\xC2\xA7", "\xC2\xA7"}};
constexpr std::size_t kLayouts = sizeof kSeparators / sizeof kSeparators[0];

std::vector<std::unique_ptr<ScCarica>> gLoaders;

void exec(const std::string& id, const std::string& sql) {
    if (sqlite3_exec(goDbase().connection(id).db, sql.c_str(), nullptr, nullptr, nullptr) !=
        SQLITE_OK)
        std::abort();
}

template <typename F>
void tolerant(F&& f) {
    try {
        f();
    } catch (const NumberedError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tolvane-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    const std::filesystem::path folder = pattern;
    createDatabaseFromSchema(folder / "comune.db", schemaPath("common.sql"));
    createDatabaseFromSchema(folder / "ditta.db", schemaPath("company.sql"));
    gsConnDbMenu = goDbase().ApriConnessione((folder / "comune.db").string());
    gsIdDbase = goDbase().ApriConnessione((folder / "ditta.db").string());
    batchMessageHook() = [](const BatchMessage&) { return 1; };
    exec(gsIdDbase, "CREATE TABLE Prova (Codice VARCHAR(10), Descr VARCHAR(40), Qta DOUBLE)");
    for (std::size_t i = 0; i < kLayouts; ++i) {
        const std::string code = "'F" + std::to_string(i) + "'";
        exec(gsConnDbMenu,
             "INSERT INTO CaricaFile (Codice, Tabella, Modalita, InsVaria, Separatore) VALUES (" +
                 code + ", 'Prova', '1', 'I', '" + kSeparators[i].stored + "')");
        exec(gsConnDbMenu,
             "INSERT INTO CaricaDettaglio (Codice, NomeCampo, NumCampo, OrdCampo) VALUES (" + code +
                 ", 'Descr', '1', '1')");
        exec(gsConnDbMenu,
             "INSERT INTO CaricaDettaglio (Codice, NomeCampo, NumCampo, OrdCampo, TipoDest, "
             "Quanto, TipoOper,"
             " ValoreOper) VALUES (" +
                 code +
                 ", 'Qta', '2', '2', 'Double', 2, '/', '\xC2\xA7"
                 "3')");
        auto loader = std::make_unique<ScCarica>();
        if (loader->LeggiTracciato("F" + std::to_string(i)) != 0) std::abort();
        gLoaders.push_back(std::move(loader));
    }
    std::filesystem::remove_all(folder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t which = data[0] % kLayouts;
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t cut = rest.find('\n');
    const std::string expression = repairUtf8(rest.substr(0, cut));
    const std::string line =
        repairUtf8(cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1));

    const std::string separator = kSeparators[which].separator;
    SeparatedLine split;
    split.setSeparator(separator);
    split.split(line);
    if (split.count() < 1 || !split.field(0).empty() || !split.field(split.count() + 1).empty())
        std::abort();
    if (isAscii(separator)) {
        std::size_t total = separator.size() * static_cast<std::size_t>(split.count() - 1);
        for (long n = 1; n <= split.count(); ++n) total += split.field(n).size();
        if (total != line.size()) std::abort();
    }

    ScCarica& loader = *gLoaders[which];
    for (const char* key : {"Prova.Descr", "Prova.Qta"}) {
        ScCaricaCampi& field = *loader.campo(key);
        field.osNumCampo = expression;
        tolerant([&] { (void)loader.CercaPosCampo(line, field, true); });
        for (const char* group : {"", "{", "["})
            tolerant([&] { (void)loader.LeggiValCampoStr(line, expression, field, group); });
        tolerant([&] { (void)loader.LeggiCampoNum(line, static_cast<long>(data[0]) - 8, field); });
    }
    return 0;
}
