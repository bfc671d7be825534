// Builds the demo installation from the schema and demo scripts and writes its INI files
// and batch inputs as plain text. Never touches a file it did not create.
#include "startup/demo_environment.h"

#include <sqlite3.h>

#include <fstream>
#include <string>
#include <system_error>

#include "db/base_database.h"
#include "platform/numbered_error.h"
#include "platform/save_file.h"
#include "platform/scope_guard.h"

namespace tolvane {

namespace {

constexpr const char* kSource = "DemoEnvironment";
constexpr const char* kDemoCompanyId = "001";

std::string padRight(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

// A line of the fixed-position causal file: code 1-3, description 4-43, type 44-45.
std::string causalLine(const std::string& code, const std::string& description,
                       const std::string& type) {
    return padRight(code, 3) + padRight(description, 40) + padRight(type, 2);
}

void writeTextFile(const std::filesystem::path& path, const std::string& text) {
    SaveFile::Options options;
    options.source = kSource;
    saveFile(path.string(), text, options);
}

std::string mainIniText(const DemoEnvironment& env) {
    // DriveDB ends with the separator so that DriveDB followed by NomeDB is the full path,
    // whether the reader joins them as text or as paths.
    std::string folder = env.folder.string() + "/";
    return "; Demo installation: main INI of the program\n"
           "[Parametri Generali]\n"
           "FormatData=dd/mm/yyyy\n"
           "\n"
           "[Menu]\n"
           "NomeDB=" +
           env.commonDb.filename().string() +
           "\n"
           "DriveDB=" +
           folder +
           "\n"
           "Connect=\n"
           "\n"
           "[Base]\n"
           "NomeDBBase=" +
           env.baseCompanyDb.string() +
           "\n"
           "DirAziende=" +
           folder +
           "\n"
           "\n"
           "[Risoluzione Video]\n"
           "StaVid=0\n";
}

std::string installIniText(const DemoEnvironment& env) {
    return "[Setup]\n"
           "IniPrincipale=" +
           env.mainIni.string() + "\n";
}

// Chart of accounts, ';'-separated with a heading line: two new accounts, one stored account
// updated, one line rejected for its missing group.
std::string chartOfAccountsText() {
    return "Gruppo;Mastro;Conto;Descrizione;Tipo;PartIva;Email\n"
           "3;2;5;Spese telefoniche;G;;\n"
           "4;2;3;Sopravvenienze attive;G;;\n"
           "5;1;1;Edilnova S.p.A. - sede di Castel Mella;C;01234567897;info@edilnova.example\n"
           "5;1;5;Impianti Gobbi S.r.l.;C;02753109848;amministrazione@impiantigobbi.example\n"
           "6;1;3;Ferramenta Zanoletti S.r.l.;F;03419285766;acquisti@zanoletti.example\n"
           ";1;9;Riga senza gruppo;G;;\n";
}

// Causals at fixed positions: one new, one already stored (left alone), one without a code.
std::string causalsText() {
    return causalLine("STO", "Storno fattura di vendita", "NC") + "\n" +
           causalLine("FV", "Fattura di vendita (da file)", "FV") + "\n" +
           causalLine("RIB", "Presentazione ricevute bancarie", "GI") + "\n" +
           causalLine("", "Riga senza codice", "GI") + "\n";
}

void pointCompanyRowAtFile(const DemoEnvironment& env) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(env.commonDb.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* stmt = nullptr;
    if (rc == SQLITE_OK) {
        rc = sqlite3_prepare_v2(db, "UPDATE Aziende SET NomeDB = ?1 WHERE IdAzienda = ?2", -1,
                                &stmt, nullptr);
    }
    if (rc == SQLITE_OK) {
        sqlite3_bind_text(stmt, 1, env.companyDb.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 2, kDemoCompanyId, -1, SQLITE_STATIC);
        rc = sqlite3_step(stmt) == SQLITE_DONE ? SQLITE_OK : SQLITE_ERROR;
    }
    std::string message = db ? sqlite3_errmsg(db) : "";
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    if (rc != SQLITE_OK) {
        throw NumberedError(errnum::DatabaseFailure, "Aziende: " + message, kSource);
    }
}

std::vector<std::filesystem::path> allFiles(const DemoEnvironment& env) {
    std::vector<std::filesystem::path> files = {env.commonDb, env.baseCompanyDb, env.companyDb,
                                                env.mainIni, env.installIni};
    files.insert(files.end(), env.batchFiles.begin(), env.batchFiles.end());
    return files;
}

}  // namespace

DemoEnvironment demoEnvironmentPaths(const std::filesystem::path& folder) {
    DemoEnvironment env;
    env.folder = std::filesystem::absolute(folder).lexically_normal();
    if (!env.folder.has_filename()) env.folder = env.folder.parent_path();
    env.commonDb = env.folder / "common.db";
    env.baseCompanyDb = env.folder / "ditta_base.db";
    env.companyDb = env.folder / ("ditta_" + std::string(kDemoCompanyId) + ".db");
    env.mainIni = env.folder / "pelmor.ini";
    env.installIni = env.folder / "PelmorInst.ini";
    env.batchFiles = {env.folder / "pianoconti.txt", env.folder / "causali.txt"};
    return env;
}

DemoEnvironment buildDemoEnvironment(const std::filesystem::path& folder) {
    DemoEnvironment env = demoEnvironmentPaths(folder);
    for (const auto& path : allFiles(env)) {
        if (std::filesystem::exists(path)) {
            throw NumberedError(errnum::FileAlreadyExists, "Il file esiste già: " + path.string(),
                                kSource);
        }
    }
    std::filesystem::create_directories(env.folder);

    std::vector<std::filesystem::path> created;
    ScopeGuard discard([&created] {
        for (const auto& path : created) removeDatabaseFiles(path);
    });
    try {
        createDatabaseFromSchema(env.commonDb, schemaPath("common.sql"));
        created.push_back(env.commonDb);
        runSqlScript(env.commonDb, schemaPath("demo_common.sql"));
        pointCompanyRowAtFile(env);

        createDatabaseFromSchema(env.baseCompanyDb, schemaPath("company.sql"));
        created.push_back(env.baseCompanyDb);

        {
            SaveFile::Options options;
            options.neverReplace = true;
            options.source = kSource;
            SaveFile copy(env.companyDb.string(), options);
            copy.writeFrom(env.baseCompanyDb.string());
            if (!copy.commit()) {
                throw NumberedError(errnum::FileAlreadyExists,
                                    "File gia' esistente: " + env.companyDb.string(), kSource);
            }
        }
        created.push_back(env.companyDb);
        runSqlScript(env.companyDb, schemaPath("demo_company.sql"));

        created.push_back(env.mainIni);
        writeTextFile(env.mainIni, mainIniText(env));
        created.push_back(env.installIni);
        writeTextFile(env.installIni, installIniText(env));
        created.push_back(env.batchFiles[0]);
        writeTextFile(env.batchFiles[0], chartOfAccountsText());
        created.push_back(env.batchFiles[1]);
        writeTextFile(env.batchFiles[1], causalsText());
    } catch (const std::filesystem::filesystem_error& error) {
        throw NumberedError(errnum::FileAccess, error.what(), kSource);
    }
    discard.dismiss();
    return env;
}

}  // namespace tolvane
