// A complete demo installation in one folder: common database, base company file, one demo
// company, the main and installation INI files and sample batch input files.
// Never overwrites anything: a folder that already holds one of its files is refused.
#pragma once

#include <filesystem>
#include <vector>

namespace tolvane {

struct DemoEnvironment {
    std::filesystem::path folder;         // absolute
    std::filesystem::path commonDb;       // common.db
    std::filesystem::path baseCompanyDb;  // ditta_base.db, the file that creating a company copies
    std::filesystem::path companyDb;      // ditta_001.db, the demo company of Aziende "ROSSI"
    std::filesystem::path mainIni;        // pelmor.ini
    std::filesystem::path installIni;     // PelmorInst.ini, section "Setup", key "IniPrincipale"
    std::vector<std::filesystem::path> batchFiles;  // inputs of the demo batch layouts
};

// The files the demo environment is made of, inside `folder` (nothing is created).
DemoEnvironment demoEnvironmentPaths(const std::filesystem::path& folder);

// Builds the demo environment in `folder` (created when missing) from the shipped schema and
// demo scripts (schemaPath). Raises 58 when one of its files exists already; on any failure
// the files it made are removed again.
DemoEnvironment buildDemoEnvironment(const std::filesystem::path& folder);

}  // namespace tolvane
