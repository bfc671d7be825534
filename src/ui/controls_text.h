// Text boxes, labels, command, check and option buttons, and frames: the controls that show
// a text or take one choice. Never draws: a back end observes them.
#pragma once

#include <string>
#include <string_view>

#include "ui/control.h"

namespace tolvane::ui {

class TextBox : public Control {
  public:
    TextBox(Form& form, std::string name, int index);

    const std::string& text() const { return text_; }
    // Raises Change when the text differs; the caret goes to the start. Code is not held to
    // the maximum length: only typing is.
    void setText(std::string text);
    bool locked() const { return locked_; }
    void setLocked(bool locked);
    int maxLength() const { return maxLength_; }  // 0: no limit
    void setMaxLength(int length);
    const std::string& passwordChar() const { return passwordChar_; }
    void setPasswordChar(std::string ch);
    bool multiLine() const { return multiLine_; }
    void setMultiLine(bool multiLine);
    // Selection in characters; out-of-range values are clipped to the text.
    int selStart() const { return selStart_; }
    int selLength() const { return selLength_; }
    void setSelStart(int start);
    void setSelLength(int length);
    std::string selText() const;
    // Replaces the selection, as typing or pasting does; raises Change.
    void setSelText(std::string_view text);

    void acceptCharacter(int keyAscii) override;

  private:
    std::string text_;
    bool locked_ = false;
    int maxLength_ = 0;
    std::string passwordChar_;
    bool multiLine_ = false;
    int selStart_ = 0;
    int selLength_ = 0;
};

class Label : public Control {
  public:
    Label(Form& form, std::string name, int index);
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    bool canTakeFocus() const override { return false; }

  private:
    std::string caption_;
};

class CommandButton : public Control {
  public:
    CommandButton(Form& form, std::string name, int index);
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    // Enter presses the default button and Esc the cancel button of the window.
    bool isDefault() const { return default_; }
    void setDefault(bool value);
    bool isCancel() const { return cancel_; }
    void setCancel(bool value);

  private:
    std::string caption_;
    bool default_ = false;
    bool cancel_ = false;
};

class CheckBox : public Control {
  public:
    CheckBox(Form& form, std::string name, int index);
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    int value() const { return value_; }  // 0 clear, 1 ticked, 2 greyed
    // Raises Click when the value changes, as a user's click does; other values raise 380.
    void setValue(int value);
    bool userClick() override;  // 0 -> 1, 1 -> 0, 2 -> 1

  private:
    std::string caption_;
    int value_ = 0;
};

// Buttons of one container (frame, picture box or the form itself) form one group: selecting
// one clears the others. A group may have none selected.
class OptionButton : public Control {
  public:
    OptionButton(Form& form, std::string name, int index);
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    bool value() const { return value_; }
    // True clears the rest of the group and raises Click when this one was not selected;
    // False only clears it, with no event.
    void setValue(bool value);
    bool userClick() override;

  private:
    std::string caption_;
    bool value_ = false;
};

class Frame : public Control {
  public:
    Frame(Form& form, std::string name, int index);
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    bool canTakeFocus() const override { return false; }

  private:
    std::string caption_;
};

}  // namespace tolvane::ui
