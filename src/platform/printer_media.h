// Numbers of trays and paper sizes that stay the same on every queue: stored option sets name a
// tray or a paper by number, so the number follows what the choice is, not where a driver lists it.
// Never asks a print server: it only maps keywords that a queue's PPD or IPP attributes give.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// The number of a tray named by a PPD "InputSlot" keyword or an IPP "media-source" value
// (case, "-" and "_" ignored): upper 1, lower 2, middle 3, manual feed 4, envelope 5, manual
// envelope 6, automatic 7, tractor 8, small format 9, large format 10, large capacity 11,
// cassette 14, form source 15; 0 for any other.
int trayNumber(std::string_view keyword);
// The number of a paper size named by a PPD "PageSize" keyword or an IPP "media" name (self-
// describing "iso_a4_210x297mm" or the older "iso-a4"): Letter 1, Legal 5, Executive 7, A3 8,
// A4 9, A5 11, B4 12, B5 13, envelope #10 20, DL 27, C5 28; 0 for any other.
int paperNumber(std::string_view keyword);

// The PPD "PageSize" keyword of a numbered paper ("A4" for 9, "Letter" for 1); "" for any other.
std::string_view paperKeyword(int number);

// The numbers of a queue's choices, side by side with its keywords: a keyword's own number, or
// 256 + its position from 1 for one without (and for a second keyword of a number taken).
std::vector<int> trayNumbers(const std::vector<std::string>& keywords);
std::vector<int> paperNumbers(const std::vector<std::string>& keywords);

}  // namespace tolvane
