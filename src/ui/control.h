// The base of every control of the window model: common properties, container, focus, events.
// Keeps state and raises events by the window model's rules; never draws anything.
#pragma once

#include <functional>
#include <string>

#include "ui/observer.h"

namespace tolvane::ui {

class Form;
class ControlArrayBase;

enum class ControlKind {
    TextBox,
    Label,
    CheckBox,
    OptionButton,
    ComboBox,
    ListBox,
    CommandButton,
    Frame,
    PictureBox,
    TabStrip,
    Grid,
    ScrollBar,
    ProgressBar,
    Timer,
    Image,
    DriveListBox,
    DirListBox,
    CommonDialog,
    Toolbar,
    ImageList,
};

struct Font {
    std::string name = "MS Sans Serif";
    double size = 8;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    bool operator==(const Font&) const = default;
};

// Handlers of a single control; an element of a control array uses its array's IndexedEvents.
struct ControlEvents {
    std::function<void()> onClick;
    std::function<void()> onDblClick;
    std::function<void()> onChange;
    std::function<void()> onScroll;
    std::function<void()> onGotFocus;
    std::function<void()> onLostFocus;
    std::function<void()> onTimer;
    std::function<void(int& keyCode, int shift)> onKeyDown;
    std::function<void(int& keyAscii)> onKeyPress;
    std::function<void(int& keyCode, int shift)> onKeyUp;
    std::function<void(bool& cancel)> onBeforeClick;
};

// The same handlers for a control array: each receives the element's index first.
struct IndexedEvents {
    std::function<void(int index)> onClick;
    std::function<void(int index)> onDblClick;
    std::function<void(int index)> onChange;
    std::function<void(int index)> onScroll;
    std::function<void(int index)> onGotFocus;
    std::function<void(int index)> onLostFocus;
    std::function<void(int index)> onTimer;
    std::function<void(int index, int& keyCode, int shift)> onKeyDown;
    std::function<void(int index, int& keyAscii)> onKeyPress;
    std::function<void(int index, int& keyCode, int shift)> onKeyUp;
    std::function<void(int index, bool& cancel)> onBeforeClick;
};

enum class Event { Click, DblClick, Change, Scroll, GotFocus, LostFocus, Timer };

// Every handler a window's code may set on a control, for a display (or a test) that asks which
// events of a control the window's code handles. The events come first, in their own order.
enum class Handler {
    Click,
    DblClick,
    Change,
    Scroll,
    GotFocus,
    LostFocus,
    Timer,
    KeyDown,
    KeyPress,
    KeyUp,
    BeforeClick,
    ButtonClick,
};
constexpr Handler handlerOf(Event event) { return static_cast<Handler>(event); }
static_assert(handlerOf(Event::Click) == Handler::Click &&
              handlerOf(Event::Timer) == Handler::Timer);

class Control {
  public:
    Control(Form& form, ControlKind kind, std::string name, int index);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& form() const { return form_; }
    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    int index() const { return index_; }  // -1 for a control that is not in an array
    bool isArrayElement() const { return array_ != nullptr; }
    std::string displayName() const;  // "txt(8000)" or "comOk"

    // Frame or picture box holding this control; nullptr: the form itself.
    Control* container() const { return container_; }
    void setContainer(Control* container);
    bool isContainer() const;
    bool isInside(const Control& ancestor) const;

    bool visible() const { return visible_; }
    void setVisible(bool visible);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    // A control inside a hidden (disabled) container is hidden (disabled) in effect.
    bool visibleInEffect() const;
    bool enabledInEffect() const;

    long backColor() const { return backColor_; }
    void setBackColor(long color);
    long foreColor() const { return foreColor_; }
    void setForeColor(long color);
    const Font& font() const { return font_; }
    void setFont(const Font& font);

    // Tab indexes number the window's controls 0..n-1: giving one an index moves the others
    // along.
    int tabIndex() const { return tabIndex_; }
    void setTabIndex(int tabIndex);
    void assignTabIndex(int tabIndex);  // used by the form while it renumbers
    bool tabStop() const { return tabStop_; }
    void setTabStop(bool tabStop);
    const std::string& tag() const { return tag_; }
    void setTag(std::string tag);
    int helpContextID() const { return helpContextID_; }
    void setHelpContextID(int id);
    const std::string& toolTipText() const { return toolTip_; }
    void setToolTipText(std::string text);

    double left() const { return left_; }
    double top() const { return top_; }
    double width() const { return width_; }
    double height() const { return height_; }
    void setLeft(double v);
    void setTop(double v);
    void setWidth(double v);
    void setHeight(double v);
    void move(double left, double top, double width, double height);
    // 0 brings the control to the front of its container, 1 sends it to the back.
    void zOrder(int position = 0);
    long zPosition() const { return zPosition_; }

    // Kinds that can hold the focus at all (labels, frames, images, timers cannot).
    virtual bool canTakeFocus() const;
    // Moves the focus here by the form's rules: raises 5 when the control is hidden or disabled;
    // a hidden page (container) is shown first through the form's page hook.
    void setFocus();
    bool hasFocus() const;

    ControlEvents on;

    // Whether the window's code handles that event of this control: its own handler is set, or
    // its array's.
    virtual bool handles(Handler handler) const;

    // Raising an event calls this control's handler, or its array's with the index.
    void raise(Event event);
    void raiseKeyDown(int& keyCode, int shift);
    void raiseKeyPress(int& keyAscii);
    void raiseKeyUp(int& keyCode, int shift);
    void raiseBeforeClick(bool& cancel);

    // A character that got through the key-press events; text kinds insert it.
    virtual void acceptCharacter(int keyAscii);
    // What a user's click does to the control's own state before the click event (a check box
    // toggles, an option button selects); returns false when the click raises no event.
    virtual bool userClick();

  protected:
    void changed(Property property);
    // Observers learn that the window's handler of an event of this control is about to run.
    void handlerRuns(Handler handler);

  private:
    friend class ControlArrayBase;

    Form& form_;
    ControlKind kind_;
    std::string name_;
    int index_;
    ControlArrayBase* array_ = nullptr;
    Control* container_ = nullptr;
    bool visible_ = true;
    bool enabled_ = true;
    long backColor_ = 0xFFFFFF;
    long foreColor_ = 0;
    Font font_;
    int tabIndex_ = 0;
    bool tabStop_ = true;
    std::string tag_;
    int helpContextID_ = 0;
    std::string toolTip_;
    double left_ = 0;
    double top_ = 0;
    double width_ = 0;
    double height_ = 0;
    long zPosition_ = 0;
};

// Raises 380, the error of a property set to a value it refuses.
[[noreturn]] void invalidPropertyValue(const Control& control);

}  // namespace tolvane::ui
