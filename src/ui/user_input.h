// What a user does to the window model: clicks, typing, keys, choices, closing a window.
// The scripted driver and a display back end both act through these, so a user's action
// always raises the same events in the same order (focus first, then the action). An action in
// a shown window that is not the active one makes it active first (Deactivate, Activate).
#pragma once

#include <string>
#include <string_view>

#include "ui/controls.h"
#include "ui/form.h"

namespace tolvane::ui::user {

// Whether a person can reach the control: shown and enabled, with its container and window, and
// not on a window behind a modal one. Every action below raises 5 on one that is not.
bool reachable(const Control& control);

// Gives the focus to the control (the field being left runs its leave rule). Raises 5 when
// the control cannot take it.
void focus(Control& control);

// A click: the control takes the focus first when it can; the click happens only when the
// focus is still on it after the leave rule of the field that was left (a leave rule that
// sends the focus elsewhere swallows the click). Check boxes
// toggle and option buttons select before their click event. Returns whether it clicked.
// Raises 5 for a hidden or disabled control.
bool click(Control& control);
void dblClick(Control& control);
// The second press of a double click, whose first press clicked already: DblClick, when the
// first click left the focus where it could.
void secondClick(Control& control);

// Focus, then each character through the key pipeline (key down, key press, key up).
void type(Control& control, std::string_view text);
// Focus, select the whole text, then type: what a user does to fill a field.
void fill(TextBox& box, std::string_view text);
// A key on the form's active control (the form itself when none): key down, key press when the
// key has a character (Enter, Esc, Backspace), key up. Tab moves the focus; Enter and Esc
// press the default and cancel buttons.
void key(Form& form, int keyCode, int shift = 0);
// One key with an explicit character, for keys whose character depends on the keyboard.
void keyWithChar(Form& form, int keyCode, int shift, int keyAscii);

void choose(ListControl& list, int index);  // focus, then the list index (Click)
void chooseTab(TabStrip& tabs, int index);  // BeforeClick may refuse
void scroll(ScrollBar& bar, int value);     // focus, then the value (Change)
// The thumb dragged to a value (Scroll), then let go (Change when the value moved).
void dragScroll(ScrollBar& bar, int value);
void releaseScroll(ScrollBar& bar);
// Focus, then the folder or the drive of a folder or drive list (Change when it differs).
void chooseFolder(DirListBox& list, const std::string& path);
void chooseDrive(DriveListBox& list, const std::string& drive);
// Focus, then the cell and Click; a heading cell (fixed row or column) is not chosen.
void chooseCell(Grid& grid, int row, int col);
// A toolbar button: no focus moves, the button's key goes to ButtonClick.
bool pressToolbarButton(Toolbar& toolbar, std::string_view key);
// The close box of the window: query-unload with ControlMenu, then unload.
bool close(Form& form);
// The window's border dragged to a new size, in twips (Resize).
void resize(Form& form, double width, double height);

}  // namespace tolvane::ui::user
