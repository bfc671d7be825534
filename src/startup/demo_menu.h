// The menu's side of the demo environment: the file menu.ini beside pelmor.ini with the working
// values that the menu would hand to this program. Never overwrites an existing file.
#pragma once

#include <filesystem>

namespace tolvane {

// Writes menu.ini (section "Parametri") into the folder of the main INI; returns its path.
// Raises 58 when it exists already.
std::filesystem::path writeDemoMenuIni(const std::filesystem::path& mainIni);

}  // namespace tolvane
