// Text, caption and choice rules of text boxes, labels, buttons and frames: events are raised
// only when a value really changes.
#include "ui/controls_text.h"

#include <algorithm>
#include <string>

#include "platform/numbered_error.h"
#include "platform/text.h"
#include "ui/form.h"
#include "ui/ui_constants.h"

namespace tolvane::ui {

TextBox::TextBox(Form& form, std::string name, int index)
    : Control(form, ControlKind::TextBox, std::move(name), index) {}

void TextBox::setText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    selStart_ = 0;
    selLength_ = 0;
    changed(Property::Text);
    raise(Event::Change);
}

void TextBox::setLocked(bool locked) {
    locked_ = locked;
    changed(Property::Locked);
}

void TextBox::setMaxLength(int length) {
    if (length < 0) invalidPropertyValue(*this);
    maxLength_ = length;
    changed(Property::MaxLength);
}

void TextBox::setPasswordChar(std::string ch) {
    passwordChar_ = std::move(ch);
    changed(Property::PasswordChar);
}

void TextBox::setMultiLine(bool multiLine) {
    multiLine_ = multiLine;
    changed(Property::Other);
}

void TextBox::setSelStart(int start) {
    if (start < 0) invalidPropertyValue(*this);
    selStart_ = std::min(start, static_cast<int>(Len(text_)));
    selLength_ = 0;
    changed(Property::Selection);
}

void TextBox::setSelLength(int length) {
    if (length < 0) invalidPropertyValue(*this);
    selLength_ = std::min(length, static_cast<int>(Len(text_)) - selStart_);
    changed(Property::Selection);
}

std::string TextBox::selText() const { return Mid(text_, selStart_ + 1, selLength_); }

void TextBox::setSelText(std::string_view text) {
    std::string next =
        Left(text_, selStart_) + std::string(text) + Mid(text_, selStart_ + selLength_ + 1);
    int caret = selStart_ + static_cast<int>(Len(text));
    bool differs = next != text_;
    text_ = std::move(next);
    selStart_ = caret;
    selLength_ = 0;
    changed(Property::Text);
    if (differs) raise(Event::Change);
}

void TextBox::acceptCharacter(int keyAscii) {
    if (locked_) return;
    if (keyAscii == key::Back) {
        if (selLength_ == 0) {
            if (selStart_ == 0) return;
            --selStart_;
            selLength_ = 1;
        }
        setSelText("");
        return;
    }
    if (keyAscii == key::Return && multiLine_) {
        setSelText("\r\n");
        return;
    }
    if (keyAscii < 32 || keyAscii > 255) return;
    long after = static_cast<long>(Len(text_)) - selLength_ + 1;
    if (maxLength_ > 0 && after > maxLength_) return;  // typing past the maximum is refused
    setSelText(Chr(keyAscii));
}

Label::Label(Form& form, std::string name, int index)
    : Control(form, ControlKind::Label, std::move(name), index) {}

void Label::setCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    changed(Property::Caption);
}

CommandButton::CommandButton(Form& form, std::string name, int index)
    : Control(form, ControlKind::CommandButton, std::move(name), index) {}

void CommandButton::setCaption(std::string caption) {
    caption_ = std::move(caption);
    changed(Property::Caption);
}

void CommandButton::setDefault(bool value) {
    default_ = value;
    changed(Property::Other);
}

void CommandButton::setCancel(bool value) {
    cancel_ = value;
    changed(Property::Other);
}

CheckBox::CheckBox(Form& form, std::string name, int index)
    : Control(form, ControlKind::CheckBox, std::move(name), index) {}

void CheckBox::setCaption(std::string caption) {
    caption_ = std::move(caption);
    changed(Property::Caption);
}

void CheckBox::setValue(int value) {
    if (value < 0 || value > 2) invalidPropertyValue(*this);
    if (value == value_) return;
    value_ = value;
    changed(Property::Value);
    raise(Event::Click);
}

bool CheckBox::userClick() {
    // The click event comes from setValue.
    setValue(value_ == check::Checked ? check::Unchecked : check::Checked);
    return false;
}

OptionButton::OptionButton(Form& form, std::string name, int index)
    : Control(form, ControlKind::OptionButton, std::move(name), index) {}

void OptionButton::setCaption(std::string caption) {
    caption_ = std::move(caption);
    changed(Property::Caption);
}

void OptionButton::setValue(bool value) {
    if (value == value_) return;
    if (!value) {
        value_ = false;
        changed(Property::Value);
        return;
    }
    for (Control* c : form().controls()) {
        if (c == this || c->kind() != ControlKind::OptionButton || c->container() != container()) {
            continue;
        }
        auto* other = static_cast<OptionButton*>(c);
        if (other->value_) {
            other->value_ = false;
            other->changed(Property::Value);
        }
    }
    value_ = true;
    changed(Property::Value);
    raise(Event::Click);
}

bool OptionButton::userClick() {
    setValue(true);
    return false;
}

Frame::Frame(Form& form, std::string name, int index)
    : Control(form, ControlKind::Frame, std::move(name), index) {}

void Frame::setCaption(std::string caption) {
    caption_ = std::move(caption);
    changed(Property::Caption);
}

}  // namespace tolvane::ui
