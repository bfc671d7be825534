// Table Aziende of the common database as the register windows read it: its rows, the access
// lists that decide who sees a company, the next free identifier, where a company's file lies.
// Never writes the register: creating a company is company_creation's business.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

struct CompanyRow {
    std::string Codice;
    std::string IdAzienda;
    std::string Descrizione;
    std::string NomeDB;
    std::string Connect;
    std::string PwdDB;  // enciphered by the menu program
    std::string ListaLogin;
    std::string ListaGruppi;
    std::string ListaTerminali;
};

// Who is asking: the menu's working values "Login" and "Gruppo" and the terminal's name.
struct AccessIdentity {
    std::string login;
    std::string group;
    std::string terminal;
};

// True when the ';'-separated list names the entry (blanks around names and empty names are
// ignored, case is not compared).
bool accessListNames(std::string_view list, std::string_view name);

// A company is open to a user when its login and group lists are both empty, or one of them
// names the user's login or group; and, when its terminal list is not empty, that list names
// the terminal.
bool companyAllowed(const CompanyRow& row, const AccessIdentity& who);

// Every row of Aziende on the database `idDb`, ordered by Codice.
std::vector<CompanyRow> readCompanies(const std::string& idDb);

// The lowest three-digit identifier above every numeric IdAzienda in use ("001" for an empty
// register); once "999" is in use, the lowest one free. Raises 6 when 001 to 999 are all in use.
std::string nextCompanyId(const std::vector<CompanyRow>& rows);

// The file of a company database: a Windows path is mapped; a relative one lies beside the
// common database kept under idDbComune (as written when that is not open).
std::filesystem::path companyDatabasePath(const std::string& nomeDb, const std::string& idDbComune);

}  // namespace tolvane
