// The checks, the copy of the base file and the register row of a new company. Anything that
// fails after the copy removes the copy again before the error goes on.
#include "register/company_creation.h"

#include <cctype>
#include <system_error>

#include "common/db_comune.h"
#include "common/ini_programma.h"
#include "db/base_database.h"
#include "db/gestore_rs.h"
#include "platform/numbered_error.h"
#include "platform/path_map.h"
#include "platform/save_file.h"
#include "platform/scope_guard.h"
#include "platform/text.h"
#include "register/company_register.h"

namespace tolvane {

namespace {

constexpr const char* kSource = "frmCreaAzi";
constexpr std::size_t kCodiceMax = 10;
constexpr std::size_t kDescrizioneMax = 60;

[[noreturn]] void refuse(int number, const std::string& message) {
    throw NumberedError(number, message, kSource);
}

bool threeDigits(const std::string& id) {
    if (id.size() != 3) return false;
    for (char c : id) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

// True when the file lies below the folder once "..", links and the working folder are resolved:
// a typed name never reaches beyond the companies' folder.
bool insideFolder(const std::filesystem::path& file, const std::filesystem::path& folder) {
    std::error_code ec;
    const std::filesystem::path dir = std::filesystem::weakly_canonical(
        folder.empty() ? std::filesystem::current_path(ec) : folder, ec);
    if (ec || dir.empty()) return false;
    const std::filesystem::path full = std::filesystem::weakly_canonical(file, ec);
    if (ec || full.empty()) return false;
    const std::filesystem::path rel = full.lexically_relative(dir);
    return !rel.empty() && *rel.begin() != ".." && rel != ".";
}

void checkNewCompany(const NewCompany& c, const std::vector<CompanyRow>& rows) {
    if (c.Codice.empty()) refuse(errnum::InvalidCall, "Manca il codice dell'azienda");
    if (Len(c.Codice) > kCodiceMax)
        refuse(errnum::InvalidCall, "Il codice dell'azienda non può superare 10 caratteri");
    if (c.Descrizione.empty()) refuse(errnum::InvalidCall, "Manca la descrizione dell'azienda");
    if (Len(c.Descrizione) > kDescrizioneMax)
        refuse(errnum::InvalidCall, "La descrizione dell'azienda non può superare 60 caratteri");
    if (!threeDigits(c.IdAzienda))
        refuse(errnum::InvalidCall,
               "L'identificativo dell'azienda deve essere di tre cifre (es. 002)");
    if (c.NomeDB.empty()) refuse(errnum::InvalidCall, "Manca il nome del file del database");
    for (const CompanyRow& row : rows) {
        if (equalText(Trim(row.Codice), c.Codice))
            refuse(errnum::DuplicateKey, "Esiste già un'azienda con il codice " + row.Codice);
        if (equalText(Trim(row.IdAzienda), c.IdAzienda))
            refuse(errnum::DuplicateKey,
                   "L'identificativo " + c.IdAzienda + " è già usato dall'azienda " + row.Codice);
    }
}

void addRegisterRow(const NewCompany& c, const std::filesystem::path& file,
                    const std::string& idDbComune) {
    GestoreRs rs;
    std::string h = rs.ApriRs(goDbase(), idDbComune, "", "Select * from Aziende Where 1 = 0");
    rs.AddNewRs(h);
    rs.ScriviCampoRs(h, "Codice", Variant(c.Codice));
    rs.ScriviCampoRs(h, "IdAzienda", Variant(c.IdAzienda));
    rs.ScriviCampoRs(h, "Descrizione", Variant(c.Descrizione));
    rs.ScriviCampoRs(h, "NomeDB", Variant(file.string()));
    rs.UpdateRs(h);
    rs.ChiudiRs(h);
}

}  // namespace

CompanyFiles companyFilesFromIni(const std::string& idDbComune) {
    std::string base, folder;
    LeggiIni("Base", "NomeDBBase", "", base);
    LeggiIni("Base", "DirAziende", "", folder);
    CompanyFiles files;
    files.baseFile = mapWindowsPath(Trim(base));
    files.folder = mapWindowsPath(Trim(folder));
    if (files.folder.empty() && !idDbComune.empty() && goDbase().EsisteConnessione(idDbComune))
        files.folder = std::filesystem::path(goDbase().PercorsoDb(idDbComune)).parent_path();
    return files;
}

std::string proposedCompanyFile(const CompanyFiles& files, const std::string& idAzienda) {
    std::string name = "ditta_" + Trim(idAzienda) + ".db";
    return files.folder.empty() ? name : (files.folder / name).string();
}

std::filesystem::path newCompanyFile(const CompanyFiles& files, const std::string& nomeDb) {
    std::filesystem::path file = mapWindowsPath(Trim(nomeDb));
    if (file.empty() || file.is_absolute() || files.folder.empty()) return file;
    return files.folder / file;
}

std::filesystem::path createCompany(const NewCompany& typed, const CompanyFiles& files,
                                    const std::string& idDbComune) {
    NewCompany c{Trim(typed.Codice), Trim(typed.IdAzienda), Trim(typed.Descrizione),
                 Trim(typed.NomeDB)};
    const std::vector<CompanyRow> rows = readCompanies(idDbComune);
    checkNewCompany(c, rows);

    const std::filesystem::path file = newCompanyFile(files, c.NomeDB);
    if (!insideFolder(file, files.folder))
        refuse(errnum::InvalidCall, "Il file " + file.string() +
                                        " non è nella cartella delle aziende " +
                                        files.folder.string() + ": scegliere un altro nome");
    std::error_code ec;
    if (std::filesystem::exists(file, ec))
        refuse(errnum::FileAlreadyExists,
               "Il file " + file.string() + " esiste già: scegliere un altro nome");
    // A row whose file has gone missing still owns its name: two companies never share a file.
    const std::filesystem::path wanted = std::filesystem::absolute(file, ec).lexically_normal();
    for (const CompanyRow& row : rows) {
        std::filesystem::path named = companyDatabasePath(row.NomeDB, idDbComune);
        if (!named.empty() && std::filesystem::absolute(named, ec).lexically_normal() == wanted)
            refuse(errnum::FileAlreadyExists,
                   "Il file " + file.string() + " è già dell'azienda " + row.Codice);
    }
    if (files.baseFile.empty())
        refuse(errnum::FileNotFound,
               "Database base non indicato (file ini, sezione Base, chiave NomeDBBase)");
    const std::filesystem::path base = mapWindowsPath(files.baseFile.string());
    if (!std::filesystem::is_regular_file(base, ec))
        refuse(errnum::FileNotFound, "Database base non trovato: " + base.string());

    // Refuses to overwrite: a file that appeared since the check stays as it is, and a copy
    // that fails half-way never appears under the company's name. The copy has the mode of a
    // new file, so a base file kept read-only still gives a company whose data can be saved.
    try {
        SaveFile::Options options;
        options.neverReplace = true;
        options.source = kSource;
        SaveFile copy(file.string(), options);
        copy.writeFrom(base.string());
        if (!copy.commit())
            refuse(errnum::FileAlreadyExists,
                   "Il file " + file.string() + " esiste già: scegliere un altro nome");
    } catch (const NumberedError& e) {
        if (e.number() == errnum::FileAlreadyExists) throw;
        refuse(errnum::FileAccess,
               "Impossibile copiare il database base in " + file.string() + ": " + e.description());
    }
    ScopeGuard discard([&file] { removeDatabaseFiles(file); });
    addRegisterRow(c, file, idDbComune);
    discard.dismiss();
    return file;
}

}  // namespace tolvane
