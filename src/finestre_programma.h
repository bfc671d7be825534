// The windows that the menu may open by name, registered by every subsystem that owns one.
// Used by the program and by the screenshot tool; never opens a window itself.
#pragma once

namespace tolvane {

void registraFinestreProgramma();

}  // namespace tolvane
