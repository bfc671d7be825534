// A common and a company database built from the shipped schema files in a temporary folder,
// with helpers to store layouts, write Windows-1252 input files and read what a load stored.
// Never leaves a program-wide value changed after a test.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "batchload/batch_messages.h"
#include "batchload/progresso_elab.h"
#include "batchload/sc_carica.h"
#include "common/db_comune.h"
#include "common/globali.h"
#include "db/base_database.h"
#include "db/db_connection.h"
#include "db/db_test_folder.h"
#include "platform/text.h"
#include "suite/elencovalori/elenco_valori.h"

namespace tolvane::batchtest {

using Columns = std::vector<std::pair<std::string, std::string>>;
using Rows = std::vector<std::vector<std::string>>;

// A column value stored as Null.
inline const std::string kNull = "<null>";

class BatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string commonFile = scratch.file("comune.db");
        const std::string companyFile = scratch.file("ditta.db");
        createDatabaseFromSchema(commonFile, schemaPath("common.sql"));
        createDatabaseFromSchema(companyFile, schemaPath("company.sql"));
        savedId = gsIdDbase;
        savedMenu = gsConnDbMenu;
        commonId = goDbase().ApriConnessione(commonFile);
        companyId = goDbase().ApriConnessione(companyFile, "", "", {.wal = true});
        ASSERT_EQ(commonId.rfind("Err:", 0), std::string::npos) << commonId;
        ASSERT_EQ(companyId.rfind("Err:", 0), std::string::npos) << companyId;
        gsConnDbMenu = commonId;
        gsIdDbase = companyId;
        gsDirCarica = folder.string();
        gsDriveCarica = "/";
        gsSoloAsci.clear();
        giStatoCarica = 1;
        gsMonetaAzie = "Euro";
        gsCodLira = "L.";
        gsCodEuro = "Euro";
        gsCambioEuro = "1936,27";
        gsOperEuro = "/";
        giNumDecLire = 0;
        giNumDecLireGest = 0;
        giNumDecEuro = 2;
        giNumDecEuroGest = 2;
        giNumDecAzie = 2;
        giNumDecAzieGest = 2;
        batchMessageHook() = [this](const BatchMessage& m) {
            messages.push_back(m.text);
            return 1;
        };
        loader = std::make_unique<ScCarica>();
        loader->ogInElab = &progress;
        company(kTestTables);
    }

    void TearDown() override {
        batchMessageHook() = nullptr;
        loader.reset();
        goDbase().ChiudiConnessione(companyId);
        goDbase().ChiudiConnessione(commonId);
        gsIdDbase = savedId;
        gsConnDbMenu = savedMenu;
        giStatoCarica = 0;
        gsSoloAsci.clear();
    }

    static void exec(const std::string& id, const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(goDbase().connection(id).db, sql.c_str(), nullptr, nullptr, &error) !=
            SQLITE_OK) {
            const std::string text = error ? error : "?";
            sqlite3_free(error);
            throw std::runtime_error(text + " in: " + sql);
        }
    }
    void company(const std::string& sql) const { exec(companyId, sql); }

    Rows rows(const std::string& sql) const {
        return dbtest::rowsOf(goDbase().connection(companyId).db, sql);
    }
    std::string one(const std::string& sql) const {
        const Rows r = rows(sql);
        return r.empty() || r[0].empty() ? std::string("<none>") : r[0][0];
    }

    void insertRow(const std::string& table, const Columns& columns) const {
        std::string names, values;
        for (const auto& [name, value] : columns) {
            std::string quoted = "'";
            for (const char c : value) quoted += c == '\'' ? "''" : std::string(1, c);
            names += (names.empty() ? "\"" : ", \"") + name + "\"";
            values += (values.empty() ? "" : ", ") + (value == kNull ? "NULL" : quoted + "'");
        }
        exec(commonId, "INSERT INTO " + table + " (" + names + ") VALUES (" + values + ")");
    }

    // A layout header; Origine defaults to "<code>.txt".
    void layout(const std::string& codice, Columns columns) {
        columns.insert(columns.begin(), {"Codice", codice});
        bool origin = false;
        for (const auto& c : columns) origin = origin || c.first == "Origine";
        if (!origin) columns.emplace_back("Origine", codice + ".txt");
        insertRow("CaricaFile", columns);
        order = 0;
    }
    // A layout field; OrdCampo follows the order of the calls unless given.
    void field(const std::string& codice, const std::string& nomeCampo, Columns columns) {
        columns.insert(columns.begin(), {"NomeCampo", nomeCampo});
        columns.insert(columns.begin(), {"Codice", codice});
        bool ordered = false;
        for (const auto& c : columns) ordered = ordered || c.first == "OrdCampo";
        if (!ordered) columns.emplace_back("OrdCampo", std::to_string(++order));
        insertRow("CaricaDettaglio", columns);
    }

    // The lines in Windows-1252 with CRLF line ends.
    void input(const std::string& name, const std::vector<std::string>& lines) const {
        std::ofstream out(folder / name, std::ios::binary);
        for (const auto& line : lines) out << toWindows1252(line) << "\r\n";
    }

    // Reads the layout and loads its file; the result of the load, or of a refused layout.
    long load(const std::string& codice) {
        const long read = loader->LeggiTracciato(codice);
        if (read != 0) return read;
        errors = 0;
        return loader->CaricaDati(errors);
    }

    dbtest::TempFolder scratch;
    const std::filesystem::path folder = scratch.path();
    std::string commonId, companyId, savedId, savedMenu;
    std::vector<std::string> messages;
    int order = 0;
    long errors = 0;
    ProgressoElab progress;
    std::unique_ptr<ScCarica> loader;

    static constexpr const char* kTestTables =
        "CREATE TABLE Prova (Codice VARCHAR(10) COLLATE NOCASE NOT NULL PRIMARY KEY, Descr"
        " VARCHAR(40) COLLATE NOCASE, Num INTEGER, Piccolo SMALLINT, Qta DOUBLE, Importo CURRENCY,"
        " Data DATETIME, Listino VARCHAR(3) COLLATE NOCASE, Note TEXT COLLATE NOCASE);"
        "CREATE TABLE Righe (Codice VARCHAR(10) COLLATE NOCASE NOT NULL, Riga INTEGER NOT NULL,"
        " Testo VARCHAR(20) COLLATE NOCASE, PRIMARY KEY (Codice, Riga));"
        "CREATE TABLE Libera (Testo VARCHAR(20) COLLATE NOCASE, Valore INTEGER);"
        "CREATE TABLE Conti (Gruppo VARCHAR(2) COLLATE NOCASE NOT NULL, Mastro VARCHAR(2) COLLATE"
        " NOCASE NOT NULL, Conto VARCHAR(6) COLLATE NOCASE NOT NULL, Descr VARCHAR(40) COLLATE"
        " NOCASE, PRIMARY KEY (Gruppo, Mastro, Conto));"
        "CREATE TABLE Numeri (Numero INTEGER NOT NULL PRIMARY KEY, Gruppo VARCHAR(2) COLLATE"
        " NOCASE, Descr VARCHAR(40) COLLATE NOCASE);";
};

}  // namespace tolvane::batchtest
