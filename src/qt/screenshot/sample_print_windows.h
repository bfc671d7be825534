// The print windows, which no menu opens, on a sample list and sample options with two printers
// held in memory: what the screenshot tool draws and the front end's tests open. Never reaches a
// real printer or the user's saved options.
#pragma once

#include <string>

namespace tolvane::ui {
class Form;
}

namespace tolvane::qt {

// "FrmSceltaStam", "FrmVedrixStampa" or "FrmVStampa" (case ignored).
bool isSamplePrintWindow(const std::string& name);

// Opens the print window of that name over the active window, as a user reaches it from a list:
// the list's print dialog; the preview of the sample list from it; the options dialog on sample
// options, with choice 1 to 4 pressing that destination, 5 "Par ini Pdf/Email" and 6 the button
// that saves the options. Returns the window opened, nullptr when it did not open.
ui::Form* openSamplePrintWindow(const std::string& name, int choice);

}  // namespace tolvane::qt
