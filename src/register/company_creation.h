// Creating a company: its database file copied from the base company file and its row added to
// the register, after checks whose refusals carry the message for the user.
// Never leaves half a company behind: a file copied for a row that could not be added is removed.
#pragma once

#include <filesystem>
#include <string>

namespace tolvane {

struct NewCompany {
    std::string Codice;
    std::string IdAzienda;
    std::string Descrizione;
    std::string NomeDB;  // a bare name lies in the companies' folder
};

// Where company files come from and go: main INI section "Base", keys "NomeDBBase" (the base
// company file) and "DirAziende" (their folder; the common database's folder when missing),
// Windows paths mapped.
struct CompanyFiles {
    std::filesystem::path baseFile;
    std::filesystem::path folder;
};
CompanyFiles companyFilesFromIni(const std::string& idDbComune);

// The file proposed for a new company: "ditta_" + identifier + ".db" in the folder.
std::string proposedCompanyFile(const CompanyFiles& files, const std::string& idAzienda);

// The file a typed name stands for (mapped; relative names in the companies' folder).
std::filesystem::path newCompanyFile(const CompanyFiles& files, const std::string& nomeDb);

// Checks the new company against the register of the database idDbComune and the disk, copies
// the base file and adds the register row; returns the new file. A refusal raises a
// NumberedError whose description is the Italian message to show (5 bad value or a file outside
// the companies' folder, 3022 code or identifier in use, 58 file exists or named by a row, 53
// base file missing, 75 copy failed); a row that cannot be stored raises its database error once
// the copied file is gone.
std::filesystem::path createCompany(const NewCompany& company, const CompanyFiles& files,
                                    const std::string& idDbComune);

}  // namespace tolvane
