// Reading the register and deciding who sees which company. Reads only: no row is changed.
#include "register/company_register.h"

#include <cctype>

#include "common/db_comune.h"
#include "db/gestore_rs.h"
#include "platform/numbered_error.h"
#include "platform/path_map.h"
#include "platform/text.h"

namespace tolvane {

bool accessListNames(std::string_view list, std::string_view name) {
    const std::string wanted = Trim(name);
    if (wanted.empty()) return false;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(';', start);
        if (end == std::string_view::npos) end = list.size();
        if (equalText(Trim(list.substr(start, end - start)), wanted)) return true;
        start = end + 1;
    }
    return false;
}

namespace {

bool blankList(std::string_view list) {
    for (char c : list) {
        if (c != ';' && !std::isspace(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

}  // namespace

bool companyAllowed(const CompanyRow& row, const AccessIdentity& who) {
    bool user = (blankList(row.ListaLogin) && blankList(row.ListaGruppi)) ||
                accessListNames(row.ListaLogin, who.login) ||
                accessListNames(row.ListaGruppi, who.group);
    bool terminal =
        blankList(row.ListaTerminali) || accessListNames(row.ListaTerminali, who.terminal);
    return user && terminal;
}

std::vector<CompanyRow> readCompanies(const std::string& idDb) {
    GestoreRs rs;
    std::string h = rs.ApriRs(goDbase(), idDb, "", "Select * from Aziende Order By Codice", false,
                              rstype::Snapshot);
    std::vector<CompanyRow> rows;
    for (; !rs.EofRs(h); rs.MoveNextRs(h)) {
        auto field = [&](const char* name) { return rs.ValoreCampoRs(h, name).text(); };
        rows.push_back({field("Codice"), field("IdAzienda"), field("Descrizione"), field("NomeDB"),
                        field("Connect"), field("PwdDB"), field("ListaLogin"), field("ListaGruppi"),
                        field("ListaTerminali")});
    }
    rs.ChiudiRs(h);
    return rows;
}

std::string nextCompanyId(const std::vector<CompanyRow>& rows) {
    std::vector<bool> used(1000, false);
    int highest = 0;
    for (const CompanyRow& row : rows) {
        const std::string id = Trim(row.IdAzienda);
        if (id.empty() || id.size() > 3) continue;
        bool digits = true;
        for (char c : id) digits = digits && std::isdigit(static_cast<unsigned char>(c));
        if (!digits) continue;
        used[std::stoi(id)] = true;
        highest = std::max(highest, std::stoi(id));
    }
    // Past 999 a register that has lost companies still has room: the lowest free number.
    int next = highest + 1;
    for (int n = 1; next > 999 && n <= 999; ++n) {
        if (!used[n]) next = n;
    }
    if (next > 999) {
        throw NumberedError(errnum::Overflow,
                            "Tutti gli identificativi azienda da 001 a 999 sono già usati",
                            "nextCompanyId");
    }
    std::string text = std::to_string(next);
    return std::string(3 - text.size(), '0') + text;
}

std::filesystem::path companyDatabasePath(const std::string& nomeDb,
                                          const std::string& idDbComune) {
    std::filesystem::path file = mapWindowsPath(Trim(nomeDb));
    if (file.empty() || file.is_absolute()) return file;
    if (idDbComune.empty() || !goDbase().EsisteConnessione(idDbComune)) return file;
    return std::filesystem::path(goDbase().PercorsoDb(idDbComune)).parent_path() / file;
}

}  // namespace tolvane
