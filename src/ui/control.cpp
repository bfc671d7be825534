// Common properties, containment, focus and event raising of every control.
// Raises events only through the handlers set by the window; never draws.
#include "ui/control.h"

#include "platform/numbered_error.h"
#include "ui/control_array.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/ui_constants.h"

namespace tolvane::ui {

Control::Control(Form& form, ControlKind kind, std::string name, int index)
    : form_(form), kind_(kind), name_(std::move(name)), index_(index) {}

Control::~Control() = default;

std::string Control::displayName() const {
    if (index_ < 0) return name_;
    return name_ + "(" + std::to_string(index_) + ")";
}

void Control::setContainer(Control* container) {
    if (container == this || (container != nullptr && container->isInside(*this))) {
        throw NumberedError(errnum::InvalidCall, "A control cannot contain itself", displayName());
    }
    container_ = container;
    changed(Property::Geometry);
}

bool Control::isContainer() const {
    return kind_ == ControlKind::Frame || kind_ == ControlKind::PictureBox;
}

bool Control::isInside(const Control& ancestor) const {
    for (const Control* c = container_; c != nullptr; c = c->container_) {
        if (c == &ancestor) return true;
    }
    return false;
}

void Control::setVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    changed(Property::Visible);
    if (!visible) form_.controlHidden(*this);
}

void Control::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    changed(Property::Enabled);
    if (!enabled) form_.controlHidden(*this);
}

bool Control::visibleInEffect() const {
    for (const Control* c = this; c != nullptr; c = c->container_) {
        if (!c->visible_) return false;
    }
    return true;
}

bool Control::enabledInEffect() const {
    if (!form_.enabled()) return false;
    for (const Control* c = this; c != nullptr; c = c->container_) {
        if (!c->enabled_) return false;
    }
    return true;
}

void Control::setBackColor(long color) {
    if (backColor_ == color) return;
    backColor_ = color;
    changed(Property::BackColor);
}

void Control::setForeColor(long color) {
    if (foreColor_ == color) return;
    foreColor_ = color;
    changed(Property::ForeColor);
}

void Control::setFont(const Font& font) {
    if (font_ == font) return;
    font_ = font;
    changed(Property::Font);
}

void Control::setTabIndex(int tabIndex) {
    if (tabIndex < 0 || tabIndex > 32767) {
        throw NumberedError(errnum::InvalidPropertyValue, "Invalid property value", displayName());
    }
    form_.placeInTabOrder(*this, tabIndex);
}

void Control::assignTabIndex(int tabIndex) {
    if (tabIndex_ == tabIndex) return;
    tabIndex_ = tabIndex;
    changed(Property::TabOrder);
}

void Control::setTabStop(bool tabStop) {
    tabStop_ = tabStop;
    changed(Property::TabOrder);
}

void Control::setTag(std::string tag) {
    tag_ = std::move(tag);
    changed(Property::Tag);
}

void Control::setHelpContextID(int id) {
    helpContextID_ = id;
    changed(Property::HelpContext);
}

void Control::setToolTipText(std::string text) {
    toolTip_ = std::move(text);
    changed(Property::Other);
}

void Control::setLeft(double v) { move(v, top_, width_, height_); }
void Control::setTop(double v) { move(left_, v, width_, height_); }
void Control::setWidth(double v) { move(left_, top_, v, height_); }
void Control::setHeight(double v) { move(left_, top_, width_, v); }

void Control::move(double left, double top, double width, double height) {
    if (width < 0 || height < 0) {
        throw NumberedError(errnum::InvalidPropertyValue, "Invalid property value", displayName());
    }
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    changed(Property::Geometry);
}

void Control::zOrder(int position) {
    zPosition_ = position == 0 ? form_.nextZPosition() : -form_.nextZPosition();
    changed(Property::ZOrder);
}

bool Control::canTakeFocus() const { return true; }

void Control::setFocus() { form_.moveFocus(*this); }

bool Control::hasFocus() const { return form_.activeControl() == this; }

namespace {

// The slot of an event in a set of handlers: the same member in ControlEvents and IndexedEvents.
template <class Events>
auto slotOf(Events& h, Event event) -> decltype(&h.onClick) {
    switch (event) {
        case Event::Click:
            return &h.onClick;
        case Event::DblClick:
            return &h.onDblClick;
        case Event::Change:
            return &h.onChange;
        case Event::Scroll:
            return &h.onScroll;
        case Event::GotFocus:
            return &h.onGotFocus;
        case Event::LostFocus:
            return &h.onLostFocus;
        case Event::Timer:
            return &h.onTimer;
    }
    return nullptr;
}

template <class Events>
bool isSet(const Events& h, Handler handler) {
    switch (handler) {
        case Handler::KeyDown:
            return static_cast<bool>(h.onKeyDown);
        case Handler::KeyPress:
            return static_cast<bool>(h.onKeyPress);
        case Handler::KeyUp:
            return static_cast<bool>(h.onKeyUp);
        case Handler::BeforeClick:
            return static_cast<bool>(h.onBeforeClick);
        case Handler::ButtonClick:
            return false;
        default:
            return static_cast<bool>(*slotOf(h, static_cast<Event>(handler)));
    }
}

}  // namespace

bool Control::handles(Handler handler) const {
    return array_ != nullptr ? isSet(array_->on, handler) : isSet(on, handler);
}

void Control::handlerRuns(Handler handler) {
    desktop().notify([&](UiObserver& o) { o.handlerRuns(*this, handler); });
}

void Control::raise(Event event) {
    if (!handles(handlerOf(event))) return;
    handlerRuns(handlerOf(event));
    if (array_ != nullptr) (*slotOf(array_->on, event))(index_);
    else (*slotOf(on, event))();
}

void Control::raiseKeyDown(int& keyCode, int shift) {
    if (!handles(Handler::KeyDown)) return;
    handlerRuns(Handler::KeyDown);
    if (array_ != nullptr) array_->on.onKeyDown(index_, keyCode, shift);
    else on.onKeyDown(keyCode, shift);
}

void Control::raiseKeyPress(int& keyAscii) {
    if (!handles(Handler::KeyPress)) return;
    handlerRuns(Handler::KeyPress);
    if (array_ != nullptr) array_->on.onKeyPress(index_, keyAscii);
    else on.onKeyPress(keyAscii);
}

void Control::raiseKeyUp(int& keyCode, int shift) {
    if (!handles(Handler::KeyUp)) return;
    handlerRuns(Handler::KeyUp);
    if (array_ != nullptr) array_->on.onKeyUp(index_, keyCode, shift);
    else on.onKeyUp(keyCode, shift);
}

void Control::raiseBeforeClick(bool& cancel) {
    if (!handles(Handler::BeforeClick)) return;
    handlerRuns(Handler::BeforeClick);
    if (array_ != nullptr) array_->on.onBeforeClick(index_, cancel);
    else on.onBeforeClick(cancel);
}

void Control::acceptCharacter(int) {}

bool Control::userClick() { return true; }

void Control::changed(Property property) {
    desktop().notify([&](UiObserver& o) { o.controlChanged(*this, property); });
}

ControlArrayBase::ControlArrayBase(Form& form, std::string name)
    : form_(form), name_(std::move(name)) {}

void ControlArrayBase::attach(Control& element) { element.array_ = this; }

void ControlArrayBase::missing(int index) const {
    throw NumberedError(errnum::NoSuchArrayElement,
                        "Control array element '" + std::to_string(index) + "' doesn't exist",
                        name_);
}

void invalidPropertyValue(const Control& control) {
    throw NumberedError(uierr::InvalidPropertyValue, "Invalid property value",
                        control.displayName());
}

}  // namespace tolvane::ui
