// A window's lifecycle, focus rules and key pipeline. Focus events run only between controls of
// this window; a modal show hands the window to the driver and returns when it is closed.
#include "ui/form.h"

#include <algorithm>

#include "platform/scope_guard.h"
#include "platform/text.h"
#include "ui/controls.h"
#include "ui/desktop.h"
#include "ui/ui_constants.h"

namespace tolvane::ui {

namespace {

[[noreturn]] void cannotFocus(const Control& c) {
    throw NumberedError(errnum::InvalidCall, "Invalid procedure call or argument", c.displayName());
}

bool focusable(const Control& c) {
    return c.canTakeFocus() && c.tabStop() && c.visibleInEffect() && c.enabledInEffect();
}

}  // namespace

Form::Form(std::string name) : name_(std::move(name)), caption_(name_) {}

Form::~Form() { desktop().forget(*this); }

void Form::setCaption(std::string caption) {
    caption_ = std::move(caption);
    formChanged(Property::Caption);
}

void Form::setKeyPreview(bool value) { keyPreview_ = value; }

void Form::setHelpContextID(int id) {
    helpContextID_ = id;
    formChanged(Property::HelpContext);
}

void Form::setBackColor(long color) {
    backColor_ = color;
    formChanged(Property::BackColor);
}

void Form::setTag(std::string tag) { tag_ = std::move(tag); }

void Form::setEnabled(bool value) {
    enabled_ = value;
    formChanged(Property::Enabled);
}

void Form::setWindowState(WindowState state) {
    if (state == windowState_) return;
    windowState_ = state;
    formChanged(Property::Geometry);
    if (loaded_) Form_Resize();
}

void Form::move(double left, double top, double width, double height) {
    left_ = left;
    top_ = top;
    width_ = std::max(width, 0.0);
    height_ = std::max(height, 0.0);
    formChanged(Property::Geometry);
    if (loaded_) Form_Resize();
}

void Form::setZoom(double factor, std::vector<ZoomApart> apart) {
    zoom_ = factor > 0 ? factor : 1;
    zoomApart_ = std::move(apart);
    formChanged(Property::Zoom);
}

const ZoomApart* Form::zoomApart(const Control& control) const {
    for (const ZoomApart& entry : zoomApart_)
        if (equalText(entry.control, control.name())) return &entry;
    return nullptr;
}

void Form::addPages(std::string arrayName) { pageArrays_.push_back(std::move(arrayName)); }

bool Form::isPage(const Control& control) const {
    if (!control.isArrayElement()) return false;
    for (const std::string& name : pageArrays_)
        if (equalText(name, control.name())) return true;
    return false;
}

double Form::textWidth(std::string_view text) const {
    constexpr double kTwipsPerCharacter = 105;  // average of the window font at 8 points
    return static_cast<double>(Len(text)) * kTwipsPerCharacter;
}

void Form::load() {
    if (retired_) throw NumberedError(uierr::FormUnloaded, "Object was unloaded", name_);
    if (loaded_) return;
    loaded_ = true;
    desktop().notify([&](UiObserver& o) { o.formLoaded(*this); });
    Form_Load();
}

void Form::show(ShowMode mode) {
    if (retired_) throw NumberedError(uierr::FormUnloaded, "Object was unloaded", name_);
    load();
    if (!loaded_) return;  // Form_Load unloaded it
    Desktop& d = desktop();
    if (mode == ShowMode::Modeless) {
        if (modal_) return;  // already up as a modal window
        visible_ = true;
        d.formShown(*this, false);
        d.activate(this);
        takeInitialFocus();
        return;
    }
    if (visible_ && modal_) {
        throw NumberedError(400, "Form already displayed; can't show modally", name_);
    }
    modal_ = true;
    visible_ = true;
    ModalScope scope;
    d.pushModalForm(*this);
    d.formShown(*this, true);
    d.activate(this);
    bool leftOpen = false;
    {
        ScopeGuard close([this, &d, &leftOpen] {
            modal_ = false;
            d.popModalForm(*this);
            leftOpen = visible_;
            if (visible_) hide();
        });
        takeInitialFocus();
        d.driver().runModal(*this);
    }
    if (leftOpen) throw UnexpectedWindow("The modal window " + name_ + " was left open");
}

void Form::hide() {
    if (!visible_) return;
    visible_ = false;
    desktop().formHidden(*this);
}

bool Form::unload(UnloadMode mode) {
    if (!loaded_) return true;
    bool cancel = false;
    Form_QueryUnload(cancel, mode);
    if (cancel) return false;
    Form_Unload(cancel);
    if (cancel) return false;
    bool wasVisible = visible_;
    visible_ = false;
    loaded_ = false;
    activeControl_ = nullptr;
    focusHolder_ = nullptr;
    if (wasVisible) desktop().formHidden(*this);
    retire();
    return true;
}

void Form::retire() {
    retired_ = true;
    loaded_ = false;
    desktop().formUnloaded(*this);
}

void Form::adopt(std::unique_ptr<Control> control, Control* container) {
    if (container != nullptr && &container->form() != this) {
        throw NumberedError(errnum::InvalidCall, "Container of another window", name_);
    }
    Control& c = *control;
    c.assignTabIndex(static_cast<int>(order_.size()));
    order_.push_back(&c);
    owned_.push_back(std::move(control));
    if (container != nullptr) c.setContainer(container);
    desktop().notify([&](UiObserver& o) { o.controlAdded(c); });
}

void Form::placeInTabOrder(Control& control, int tabIndex) {
    std::vector<Control*> sequence = order_;
    std::stable_sort(sequence.begin(), sequence.end(), [](const Control* a, const Control* b) {
        return a->tabIndex() < b->tabIndex();
    });
    sequence.erase(std::remove(sequence.begin(), sequence.end(), &control), sequence.end());
    std::size_t at = std::min(static_cast<std::size_t>(tabIndex), sequence.size());
    sequence.insert(sequence.begin() + static_cast<long>(at), &control);
    for (std::size_t i = 0; i < sequence.size(); ++i) {
        sequence[i]->assignTabIndex(static_cast<int>(i));
    }
}

Control* Form::findControl(std::string_view name, int index) const {
    for (Control* c : order_) {
        if (c->index() == index && equalText(c->name(), name)) return c;
    }
    return nullptr;
}

Control* Form::nextInTabOrder(const Control* from, bool backward) const {
    std::vector<Control*> ring;
    for (Control* c : order_) {
        if (c == from || focusable(*c)) ring.push_back(c);
    }
    std::stable_sort(ring.begin(), ring.end(), [](const Control* a, const Control* b) {
        return a->tabIndex() < b->tabIndex();
    });
    if (ring.empty()) return nullptr;
    auto it = std::find(ring.begin(), ring.end(), from);
    if (it == ring.end()) return backward ? ring.back() : ring.front();
    std::size_t n = ring.size();
    std::size_t pos = static_cast<std::size_t>(it - ring.begin());
    for (std::size_t step = 1; step < n; ++step) {
        std::size_t i = backward ? (pos + n - step) % n : (pos + step) % n;
        if (focusable(*ring[i])) return ring[i];
    }
    return nullptr;
}

void Form::showHiddenContainers(Control& target) {
    std::vector<Control*> hidden;
    for (Control* c = target.container(); c != nullptr; c = c->container()) {
        if (!c->visible()) hidden.push_back(c);
    }
    for (auto it = hidden.rbegin(); it != hidden.rend(); ++it) {
        if ((*it)->visible()) continue;
        if (showPage) {
            showPage(**it);
        } else {
            (*it)->setVisible(true);
        }
    }
}

void Form::moveFocus(Control& target) {
    if (&target.form() != this) {
        target.form().moveFocus(target);
        return;
    }
    if (retired_) throw NumberedError(uierr::FormUnloaded, "Object was unloaded", name_);
    if (!target.canTakeFocus() || !target.visible() || !target.enabledInEffect()) {
        cannotFocus(target);
    }
    showHiddenContainers(target);
    if (!target.visibleInEffect() || !target.enabledInEffect()) cannotFocus(target);
    if (visible_) desktop().activate(this);
    desktop().focusMovedIn(*this);
    if (activeControl_ == &target) return;
    Control* old = activeControl_;
    activeControl_ = &target;
    unsigned long serial = ++focusSerial_;
    desktop().notify([&](UiObserver& o) { o.focusChanged(*this, &target); });
    if (old != nullptr && old == focusHolder_) {
        focusHolder_ = nullptr;
        old->raise(Event::LostFocus);
    }
    // A leave rule that moved the focus elsewhere means the target never got it.
    if (serial == focusSerial_ && activeControl_ == &target) {
        focusHolder_ = &target;
        target.raise(Event::GotFocus);
    }
}

void Form::controlHidden(Control& control) {
    if (!loaded_ || activeControl_ == nullptr) return;
    if (activeControl_ != &control && !activeControl_->isInside(control)) return;
    Control* next = nextInTabOrder(activeControl_);
    if (next != nullptr && next != activeControl_ && focusable(*next)) {
        moveFocus(*next);
        return;
    }
    Control* old = activeControl_;
    activeControl_ = nullptr;
    ++focusSerial_;
    desktop().notify([&](UiObserver& o) { o.focusChanged(*this, nullptr); });
    if (old == focusHolder_) {
        focusHolder_ = nullptr;
        old->raise(Event::LostFocus);
    }
}

void Form::takeInitialFocus() {
    if (activeControl_ != nullptr) return;
    if (Control* first = nextInTabOrder(nullptr)) moveFocus(*first);
}

void Form::formChanged(Property property) {
    desktop().notify([&](UiObserver& o) { o.formChanged(*this, property); });
}

void Form::raiseActivate() {
    if (loaded_) Form_Activate();
}

void Form::raiseDeactivate() {
    if (loaded_) Form_Deactivate();
}

void Form::deliverKey(int keyCode, int shift, int keyAscii) {
    desktop().keyWentDown(keyCode, shift);
    bool formFirst = keyPreview_ || activeControl_ == nullptr;
    if (keyCode != 0) {
        int code = keyCode;
        if (formFirst) Form_KeyDown(code, shift);
        if (code != 0 && activeControl_ != nullptr) activeControl_->raiseKeyDown(code, shift);
    }
    // A key down swallowed by a handler still produces its character.
    if (keyAscii != 0) {
        int ascii = keyAscii;
        if (keyPreview_ || activeControl_ == nullptr) Form_KeyPress(ascii);
        Control* target = activeControl_;
        if (ascii != 0 && target != nullptr) target->raiseKeyPress(ascii);
        if (ascii != 0 && target != nullptr && activeControl_ == target) {
            target->acceptCharacter(ascii);
        }
    }
    if (keyCode != 0) {
        int code = keyCode;
        if (keyPreview_ || activeControl_ == nullptr) Form_KeyUp(code, shift);
        if (code != 0 && activeControl_ != nullptr) activeControl_->raiseKeyUp(code, shift);
    }
}

void Form::expose(std::string name, Member member) {
    members_.insert_or_assign(std::move(name), std::move(member));
}

bool Form::hasMember(std::string_view name) const { return members_.count(name) != 0; }

Variant Form::callByName(std::string_view name, std::vector<Variant> args) {
    auto it = members_.find(name);
    if (it == members_.end()) {
        throw NumberedError(uierr::MemberMissing, "Object doesn't support this property or method",
                            name_ + "." + std::string(name));
    }
    return it->second(args);
}

}  // namespace tolvane::ui
