// A user's actions on the window model, in the order the window model raises their events:
// focus first (the field left runs its leave rule), then the action itself.
#include "ui/user_input.h"

#include <cctype>
#include <string>

#include "platform/numbered_error.h"
#include "platform/text.h"
#include "ui/desktop.h"
#include "ui/ui_constants.h"

namespace tolvane::ui::user {

namespace {

// A person acts only in the window the window system holds active, and a press in another one
// makes it active first: the model follows, so that what the action then brings forward (a
// window already open among them) is really told to come forward.
void bringForward(Form& form) {
    const Form* modal = desktop().topModalForm();
    if (!form.visible() || (modal != nullptr && modal != &form)) return;
    desktop().activate(&form);
}

void requireReachable(Control& c) {
    if (reachable(c)) {
        bringForward(c.form());
        return;
    }
    const std::string why = c.visibleInEffect() && c.enabledInEffect()
                                ? "a window behind the modal " + desktop().topModalForm()->name()
                                : std::string("a hidden or disabled control");
    throw NumberedError(errnum::InvalidCall, "The user cannot reach " + why, c.displayName());
}

// Gives the focus as a click would; false when a leave rule sent it elsewhere.
bool focusForAction(Control& c) {
    if (!c.canTakeFocus()) return true;
    c.form().moveFocus(c);
    return c.form().activeControl() == &c;
}

int keyCodeOf(int ascii, int& shiftState) {
    shiftState = 0;
    if (ascii >= 'a' && ascii <= 'z') return ascii - 32;
    if (ascii >= 'A' && ascii <= 'Z') {
        shiftState = shift::Shift;
        return ascii;
    }
    if (ascii >= '0' && ascii <= '9') return ascii;
    switch (ascii) {
        case ' ':
            return key::Space;
        case '.':
            return key::Period;
        case ',':
            return key::Comma;
        case '-':
            return 189;
        case '/':
            return 191;
        default:
            return 0;
    }
}

CommandButton* buttonFlagged(Form& form, bool wantDefault) {
    for (Control* c : form.controls()) {
        if (c->kind() != ControlKind::CommandButton) continue;
        auto* b = static_cast<CommandButton*>(c);
        if ((wantDefault ? b->isDefault() : b->isCancel()) && b->visibleInEffect() &&
            b->enabledInEffect()) {
            return b;
        }
    }
    return nullptr;
}

void typeCharacters(Form& form, std::string_view text) {
    std::size_t n = Len(text);
    for (std::size_t i = 1; i <= n; ++i) {
        std::string ch = Mid(text, static_cast<long>(i), 1);
        int ascii = Asc(ch);
        int shiftState = 0;
        int code = keyCodeOf(ascii, shiftState);
        form.deliverKey(code, shiftState, ascii);
    }
}

}  // namespace

bool reachable(const Control& control) {
    if (!control.visibleInEffect() || !control.enabledInEffect()) return false;
    const Form* modal = desktop().topModalForm();
    return modal == nullptr || modal == &control.form();
}

void focus(Control& control) {
    requireReachable(control);
    control.form().moveFocus(control);
}

bool click(Control& control) {
    requireReachable(control);
    if (!focusForAction(control)) return false;
    if (control.userClick()) control.raise(Event::Click);
    return true;
}

void dblClick(Control& control) {
    if (click(control)) control.raise(Event::DblClick);
}

void secondClick(Control& control) {
    requireReachable(control);
    if (control.canTakeFocus() && control.form().activeControl() != &control) return;
    control.raise(Event::DblClick);
}

void type(Control& control, std::string_view text) {
    focus(control);
    typeCharacters(control.form(), text);
}

void fill(TextBox& box, std::string_view text) {
    focus(box);
    if (box.form().activeControl() != &box) return;
    box.setSelStart(0);
    box.setSelLength(static_cast<int>(Len(box.text())));
    typeCharacters(box.form(), text);
}

void key(Form& form, int keyCode, int shiftState) {
    bringForward(form);
    Control* active = form.activeControl();
    if (keyCode == key::Tab) {
        if (Control* next = form.nextInTabOrder(active, (shiftState & shift::Shift) != 0)) {
            form.moveFocus(*next);
        }
        return;
    }
    if (active != nullptr && (keyCode == key::Return || keyCode == key::Space) &&
        active->kind() == ControlKind::CommandButton) {
        click(*active);
        return;
    }
    if (active != nullptr && keyCode == key::Space &&
        (active->kind() == ControlKind::CheckBox || active->kind() == ControlKind::OptionButton)) {
        click(*active);
        return;
    }
    if (keyCode == key::Return || keyCode == key::Escape) {
        if (CommandButton* b = buttonFlagged(form, keyCode == key::Return)) {
            b->raise(Event::Click);
            return;
        }
    }
    int ascii = 0;
    if (keyCode == key::Return) ascii = 13;
    if (keyCode == key::Escape) ascii = 27;
    if (keyCode == key::Back) ascii = 8;
    if (keyCode == key::Space) ascii = 32;
    form.deliverKey(keyCode, shiftState, ascii);
}

void keyWithChar(Form& form, int keyCode, int shiftState, int keyAscii) {
    bringForward(form);
    form.deliverKey(keyCode, shiftState, keyAscii);
}

void choose(ListControl& list, int index) {
    requireReachable(list);
    if (!focusForAction(list)) return;
    list.setListIndex(index);
}

void chooseTab(TabStrip& tabs, int index) {
    requireReachable(tabs);
    if (!focusForAction(tabs)) return;
    tabs.setSelectedIndex(index);
}

void scroll(ScrollBar& bar, int value) {
    requireReachable(bar);
    if (!focusForAction(bar)) return;
    bar.setValue(value);
}

void dragScroll(ScrollBar& bar, int value) {
    requireReachable(bar);
    if (!focusForAction(bar)) return;
    bar.dragTo(value);
}

void releaseScroll(ScrollBar& bar) {
    if (!bar.dragging()) return;
    requireReachable(bar);
    bar.endDrag();
}

void chooseFolder(DirListBox& list, const std::string& path) {
    requireReachable(list);
    if (!focusForAction(list)) return;
    list.setPath(path);
}

void chooseDrive(DriveListBox& list, const std::string& drive) {
    requireReachable(list);
    if (!focusForAction(list)) return;
    list.setDrive(drive);
}

void chooseCell(Grid& grid, int row, int col) {
    requireReachable(grid);
    if (!focusForAction(grid)) return;
    if (row < grid.fixedRows() || col < grid.fixedCols()) return;
    grid.setRow(row);
    grid.setCol(col);
    grid.raise(Event::Click);
}

bool pressToolbarButton(Toolbar& toolbar, std::string_view key) {
    requireReachable(toolbar);
    return toolbar.pressButton(key);
}

bool close(Form& form) { return form.unload(UnloadMode::ControlMenu); }

void resize(Form& form, double width, double height) {
    form.move(form.left(), form.top(), width, height);
}

}  // namespace tolvane::ui::user
