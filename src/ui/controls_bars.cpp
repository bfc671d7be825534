// Ranges of scroll and progress bars, tabs, timer ticks and toolbar buttons: events are raised
// only when a value really changes.
#include "ui/controls_bars.h"

#include <algorithm>
#include <string>

#include "platform/numbered_error.h"
#include "platform/text.h"
#include "ui/form.h"
#include "ui/ui_constants.h"

namespace tolvane::ui {

namespace {

int clampInt(long v, long lo, long hi) { return static_cast<int>(std::clamp(v, lo, hi)); }

void check16(const Control& c, long v) {
    if (v < -32768 || v > 32767) throw NumberedError(errnum::Overflow, "Overflow", c.displayName());
}

}  // namespace

TabStrip::TabStrip(Form& form, std::string name, int index)
    : Control(form, ControlKind::TabStrip, std::move(name), index) {}

const Tab& TabStrip::tab(int i) const {
    if (i < 1 || i > tabCount()) {
        throw NumberedError(uierr::IndexOutOfBounds, "Index out of bounds", displayName());
    }
    return tabs_[static_cast<std::size_t>(i - 1)];
}

int TabStrip::addTab(std::string caption, std::string key, std::string toolTipText) {
    tabs_.push_back(Tab{std::move(caption), std::move(key), {}, std::move(toolTipText)});
    if (selected_ == 0) selected_ = 1;  // a tab strip always shows one tab chosen
    changed(Property::Tabs);
    return tabCount();
}

void TabStrip::setTabToolTipText(int i, std::string text) {
    tab(i);
    tabs_[static_cast<std::size_t>(i - 1)].toolTipText = std::move(text);
    changed(Property::Tabs);
}

void TabStrip::clearTabs() {
    tabs_.clear();
    selected_ = 0;
    changed(Property::Tabs);
}

void TabStrip::setSelectedIndex(int i) {
    tab(i);
    if (i == selected_) return;
    bool cancel = false;
    raiseBeforeClick(cancel);
    if (cancel) return;
    selected_ = i;
    changed(Property::Value);
    raise(Event::Click);
}

ScrollBar::ScrollBar(Form& form, std::string name, int index, Orientation orientation)
    : Control(form, ControlKind::ScrollBar, std::move(name), index), orientation_(orientation) {}

ScrollBar::ScrollBar(Form& form, std::string name, int index)
    : ScrollBar(form, std::move(name), index, Orientation::Vertical) {}

void ScrollBar::fitValue() {
    int lo = std::min(min_, max_);
    int hi = std::max(min_, max_);
    int fitted = clampInt(value_, lo, hi);
    if (fitted != value_) {
        value_ = fitted;
        changed(Property::Value);
        raise(Event::Change);
    }
}

void ScrollBar::setMin(long v) {
    check16(*this, v);
    min_ = static_cast<int>(v);
    changed(Property::Range);
    fitValue();
}

void ScrollBar::setMax(long v) {
    check16(*this, v);
    max_ = static_cast<int>(v);
    changed(Property::Range);
    fitValue();
}

void ScrollBar::checkValue(long v) const {
    check16(*this, v);
    if (v < std::min(min_, max_) || v > std::max(min_, max_)) invalidPropertyValue(*this);
}

void ScrollBar::setValue(long v) {
    checkValue(v);
    if (v == value_) return;
    value_ = static_cast<int>(v);
    changed(Property::Value);
    raise(Event::Change);
}

void ScrollBar::dragTo(long v) {
    checkValue(v);
    if (!dragging_) {
        dragging_ = true;
        dragStart_ = value_;
    }
    if (v != value_) {
        value_ = static_cast<int>(v);
        changed(Property::Value);
    }
    raise(Event::Scroll);
}

void ScrollBar::endDrag() {
    if (!dragging_) return;
    dragging_ = false;
    if (value_ != dragStart_) raise(Event::Change);
}

void ScrollBar::setSmallChange(long v) {
    check16(*this, v);
    if (v < 0) invalidPropertyValue(*this);
    small_ = static_cast<int>(v);
    changed(Property::Range);
}

void ScrollBar::setLargeChange(long v) {
    check16(*this, v);
    if (v < 0) invalidPropertyValue(*this);
    large_ = static_cast<int>(v);
    changed(Property::Range);
}

ProgressBar::ProgressBar(Form& form, std::string name, int index)
    : Control(form, ControlKind::ProgressBar, std::move(name), index) {}

void ProgressBar::setMin(double v) {
    if (v >= max_) invalidPropertyValue(*this);
    if (v == min_) return;
    min_ = v;
    value_ = std::max(value_, min_);
    changed(Property::Range);
}

void ProgressBar::setMax(double v) {
    if (v <= min_) invalidPropertyValue(*this);
    if (v == max_) return;
    max_ = v;
    value_ = std::min(value_, max_);
    changed(Property::Range);
}

void ProgressBar::setValue(double v) {
    if (v < min_ || v > max_) invalidPropertyValue(*this);
    if (v == value_) return;
    value_ = v;
    changed(Property::Value);
}

Timer::Timer(Form& form, std::string name, int index)
    : Control(form, ControlKind::Timer, std::move(name), index) {}

void Timer::setInterval(int ms) {
    if (ms < 0 || ms > 65535) invalidPropertyValue(*this);
    interval_ = ms;
    changed(Property::Interval);
}

bool Timer::tick() {
    if (!enabled() || interval_ <= 0 || !form().loaded()) return false;
    raise(Event::Timer);
    return true;
}

Toolbar::Toolbar(Form& form, std::string name, int index)
    : Control(form, ControlKind::Toolbar, std::move(name), index) {}

const ToolbarButton& Toolbar::button(int i) const {
    if (i < 1 || i > buttonCount()) {
        throw NumberedError(uierr::IndexOutOfBounds, "Index out of bounds", displayName());
    }
    return buttons_[static_cast<std::size_t>(i - 1)];
}

const ToolbarButton* Toolbar::findButton(std::string_view key) const {
    for (const auto& b : buttons_) {
        if (equalText(b.key, key)) return &b;
    }
    return nullptr;
}

ToolbarButton& Toolbar::find(std::string_view key) {
    for (auto& b : buttons_) {
        if (equalText(b.key, key)) return b;
    }
    throw NumberedError(uierr::IndexOutOfBounds, "Element not found: " + std::string(key),
                        displayName());
}

int Toolbar::addButton(std::string key, std::string caption, std::string toolTipText) {
    buttons_.push_back(ToolbarButton{std::move(key), std::move(caption), std::move(toolTipText)});
    changed(Property::Items);
    return buttonCount();
}

void Toolbar::setButtonEnabled(std::string_view key, bool enabled) {
    find(key).enabled = enabled;
    changed(Property::Items);
}

void Toolbar::setButtonVisible(std::string_view key, bool visible) {
    find(key).visible = visible;
    changed(Property::Items);
}

bool Toolbar::pressButton(std::string_view key) {
    const ToolbarButton* b = findButton(key);
    if (b == nullptr || !b->enabled || !b->visible || !visibleInEffect() || !enabledInEffect()) {
        return false;
    }
    std::string pressed = b->key;
    if (onButtonClick) {
        handlerRuns(Handler::ButtonClick);
        onButtonClick(pressed);
    }
    return true;
}

bool Toolbar::handles(Handler handler) const {
    if (handler == Handler::ButtonClick) return static_cast<bool>(onButtonClick);
    return Control::handles(handler);
}

}  // namespace tolvane::ui
