// What a display back end watches: every change of a form or control of the window model.
// Observers only look; they must never change the model from inside a notification.
#pragma once

namespace tolvane::ui {

class Control;
class Form;
enum class Handler;

enum class Property {
    Text,
    Caption,
    Value,
    ListIndex,
    Items,
    Visible,
    Enabled,
    Locked,
    BackColor,
    ForeColor,
    Font,
    Selection,
    Geometry,
    ZOrder,
    TabOrder,
    Tag,
    HelpContext,
    MaxLength,
    PasswordChar,
    Picture,
    Cells,
    Range,
    Interval,
    Tabs,
    Zoom,
    Other,
};

class UiObserver {
  public:
    virtual ~UiObserver() = default;

    virtual void controlChanged(Control&, Property) {}
    // A control joined its form (in its container, if any) after the form was made.
    virtual void controlAdded(Control&) {}
    virtual void formChanged(Form&, Property) {}
    virtual void formLoaded(Form&) {}
    virtual void formShown(Form&, bool /*modal*/) {}
    virtual void formHidden(Form&) {}
    virtual void formUnloaded(Form&) {}
    // The control that holds the focus inside its form (nullptr: none).
    virtual void focusChanged(Form&, Control*) {}
    virtual void activeFormChanged(Form*) {}
    virtual void mousePointerChanged(int) {}
    // The window's handler of an event of the control is about to run (what reached the
    // window's code, for a test that watches a display deliver a person's input).
    virtual void handlerRuns(Control&, Handler) {}
};

}  // namespace tolvane::ui
