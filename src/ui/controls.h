// The kinds of control the windows are made of, with the state each keeps and the events each
// raises when code or a user changes it. No drawing and no toolkit: a back end observes them.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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

struct ListItem {
    std::string text;
    long itemData = 0;
};

// Items with item data and a list index (-1: none); shared by combo and list boxes.
class ListControl : public Control {
public:
    using Control::Control;

    int listCount() const { return static_cast<int>(items_.size()); }
    const std::string& list(int i) const;  // 381-style: raises 380 out of range
    void setList(int i, std::string text);
    long itemData(int i) const;
    void setItemData(int i, long data);
    const std::vector<ListItem>& items() const { return items_; }
    // Inserts at index (-1: at the end, or in order when sorted); returns the new index.
    int addItem(std::string text, int index = -1);
    void removeItem(int i);
    void clear();
    int newIndex() const { return newIndex_; }
    bool sorted() const { return sorted_; }
    void setSorted(bool sorted);

    int listIndex() const { return listIndex_; }
    // Raises Click when the index changes; -1 clears the choice; beyond the items raises 380.
    void setListIndex(int index);

protected:
    virtual void listIndexChanged() {}
    void checkIndex(int i) const;
    std::vector<ListItem> items_;
    int listIndex_ = -1;
    int newIndex_ = -1;
    bool sorted_ = false;
};

class ComboBox : public ListControl {
public:
    enum class Style { DropDownCombo = 0, SimpleCombo = 1, DropDownList = 2 };
    ComboBox(Form& form, std::string name, int index);

    Style style() const { return style_; }
    void setStyle(Style style);
    bool locked() const { return locked_; }
    void setLocked(bool locked);
    // The text shown: the chosen item's, or what was typed in an editable combo.
    const std::string& text() const { return text_; }
    // Editable combo: raises Change and points the list index at an item of that text (no
    // Click). List-only combo: selects the item of that text, raises 383 when there is none.
    void setText(std::string text);
    // Typing edits an editable combo; in a list-only combo a letter chooses the next item
    // that begins with it (Click).
    void acceptCharacter(int keyAscii) override;

protected:
    void listIndexChanged() override;

private:
    Style style_ = Style::DropDownCombo;
    bool locked_ = false;
    std::string text_;
};

class ListBox : public ListControl {
public:
    ListBox(Form& form, std::string name, int index);
    const std::string& text() const;  // the chosen item's text, "" when none

protected:
    void listIndexChanged() override {}
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

// The pixels of a picture are the back end's business; the model carries them as bytes.
struct Picture {
    std::string format;  // "bmp", "png" ...
    std::string data;
    int width = 0;
    int height = 0;
};

class PictureBox : public Control {
public:
    PictureBox(Form& form, std::string name, int index);

    const std::shared_ptr<const Picture>& picture() const { return picture_; }
    void setPicture(std::shared_ptr<const Picture> picture);
    bool autoRedraw() const { return autoRedraw_; }
    void setAutoRedraw(bool value);
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool value);
    int scaleMode() const { return scaleMode_; }  // 1 twips
    void setScaleMode(int mode);
    double scaleWidth() const { return width(); }
    double scaleHeight() const { return height(); }
    // Text printed into the box since the last Cls, one entry per line.
    const std::vector<std::string>& printedLines() const { return printed_; }
    void print(std::string line);
    void cls();

private:
    std::shared_ptr<const Picture> picture_;
    bool autoRedraw_ = false;
    bool autoSize_ = false;
    int scaleMode_ = 1;
    std::vector<std::string> printed_;
};

class Image : public Control {
public:
    Image(Form& form, std::string name, int index);
    const std::shared_ptr<const Picture>& picture() const { return picture_; }
    void setPicture(std::shared_ptr<const Picture> picture);
    bool stretch() const { return stretch_; }
    void setStretch(bool stretch);
    bool canTakeFocus() const override { return false; }

private:
    std::shared_ptr<const Picture> picture_;
    bool stretch_ = false;
};

struct Tab {
    std::string caption;
    std::string key;
    std::string tag;
    std::string toolTipText;
};

// Tabs are numbered from 1. Choosing a tab, by code or by the user, raises BeforeClick (which
// may cancel) and then Click, only when the choice changes.
class TabStrip : public Control {
public:
    TabStrip(Form& form, std::string name, int index);

    int tabCount() const { return static_cast<int>(tabs_.size()); }
    const Tab& tab(int i) const;  // raises 35600 out of range
    int addTab(std::string caption, std::string key = {}, std::string toolTipText = {});
    void setTabToolTipText(int i, std::string text);  // raises 35600 out of range
    void clearTabs();
    int selectedIndex() const { return selected_; }  // 0 only when there is no tab
    void setSelectedIndex(int i);
    // Inner area where the pages lie.
    double clientLeft() const { return left(); }
    double clientTop() const { return top() + kTabHeight; }
    double clientWidth() const { return width(); }
    double clientHeight() const { return height() > kTabHeight ? height() - kTabHeight : 0; }

    static constexpr double kTabHeight = 360;

private:
    std::vector<Tab> tabs_;
    int selected_ = 0;
};

// A flexible grid of text cells; fixed rows and columns are headings.
class Grid : public Control {
public:
    Grid(Form& form, std::string name, int index);

    int rows() const { return static_cast<int>(cells_.size()); }
    int cols() const { return cols_; }
    void setRows(int rows);
    void setCols(int cols);
    int fixedRows() const { return fixedRows_; }
    int fixedCols() const { return fixedCols_; }
    void setFixedRows(int n);  // must stay below rows, else 380
    void setFixedCols(int n);
    const std::string& textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, std::string text);
    // Adds a row from Tab-separated texts, at the end or before row index.
    void addItem(std::string_view tabbedText, int index = -1);
    // Raises 30015 when it would remove the last row that is not fixed.
    void removeItem(int row);
    void clear();  // empties every cell, keeps the shape
    int row() const { return row_; }
    int col() const { return col_; }
    void setRow(int row);
    void setCol(int col);
    const std::string& text() const { return textMatrix(row_, col_); }
    void setText(std::string text) { setTextMatrix(row_, col_, std::move(text)); }
    double colWidth(int col) const;
    void setColWidth(int col, double width);

private:
    void checkCell(int row, int col) const;
    std::vector<std::vector<std::string>> cells_;
    std::vector<double> colWidths_;
    int cols_ = 2;
    int fixedRows_ = 1;
    int fixedCols_ = 1;
    int row_ = 1;
    int col_ = 1;
};

// Ranges are 16-bit (6 outside); a value outside min..max raises
// 380. Setting the value raises Change when it differs.
class ScrollBar : public Control {
public:
    enum class Orientation { Horizontal, Vertical };
    ScrollBar(Form& form, std::string name, int index, Orientation orientation);
    ScrollBar(Form& form, std::string name, int index);

    Orientation orientation() const { return orientation_; }
    int min() const { return min_; }
    int max() const { return max_; }
    int value() const { return value_; }
    int smallChange() const { return small_; }
    int largeChange() const { return large_; }
    void setMin(long v);
    void setMax(long v);
    void setValue(long v);
    void setSmallChange(long v);
    void setLargeChange(long v);

private:
    void fitValue();
    Orientation orientation_;
    int min_ = 0;
    int max_ = 32767;
    int value_ = 0;
    int small_ = 1;
    int large_ = 1;
};

class ProgressBar : public Control {
public:
    ProgressBar(Form& form, std::string name, int index);
    double min() const { return min_; }
    double max() const { return max_; }
    double value() const { return value_; }
    void setMin(double v);
    void setMax(double v);
    void setValue(double v);  // outside min..max raises 380
    bool canTakeFocus() const override { return false; }

private:
    double min_ = 0;
    double max_ = 100;
    double value_ = 0;
};

// Never runs on wall time: the back end (or a test) calls tick() when the interval has passed.
class Timer : public Control {
public:
    Timer(Form& form, std::string name, int index);
    int interval() const { return interval_; }  // milliseconds, 0: stopped
    void setInterval(int ms);
    // Raises Timer when enabled with an interval above 0; returns whether it did.
    bool tick();
    bool canTakeFocus() const override { return false; }

private:
    int interval_ = 0;
};

class DriveListBox : public Control {
public:
    DriveListBox(Form& form, std::string name, int index);
    const std::string& drive() const { return drive_; }
    // Raises Change when the drive differs.
    void setDrive(std::string drive);
    const std::vector<std::string>& drives() const { return drives_; }
    void setDrives(std::vector<std::string> drives);

private:
    std::string drive_;
    std::vector<std::string> drives_;
};

class DirListBox : public Control {
public:
    DirListBox(Form& form, std::string name, int index);  // starts at the current folder
    const std::string& path() const { return path_; }
    // Raises 76 when the folder does not exist; raises Change when the path differs.
    void setPath(std::string path);

private:
    std::string path_;
};

// A row of command buttons known by key ("Nuovo", "Salva" ...). Pressing one does not move
// the focus, so the field being edited runs no leave rule.
struct ToolbarButton {
    std::string key;
    std::string caption;
    std::string toolTipText;
    bool enabled = true;
    bool visible = true;
};

class Toolbar : public Control {
public:
    Toolbar(Form& form, std::string name, int index);

    int buttonCount() const { return static_cast<int>(buttons_.size()); }
    // 1-based, raises 35600 out of range.
    const ToolbarButton& button(int i) const;
    // nullptr when no button has that key (compared without regard to case).
    const ToolbarButton* findButton(std::string_view key) const;
    int addButton(std::string key, std::string caption = {}, std::string toolTipText = {});
    void setButtonEnabled(std::string_view key, bool enabled);
    void setButtonVisible(std::string_view key, bool visible);
    // Raises ButtonClick with the button's key when the button is there, enabled and visible;
    // returns whether it did.
    bool pressButton(std::string_view key);
    bool canTakeFocus() const override { return false; }

    std::function<void(const std::string& key)> onButtonClick;

private:
    ToolbarButton& find(std::string_view key);
    std::vector<ToolbarButton> buttons_;
};

// Pictures numbered from 1, for the images and toolbars that take them by number.
class ImageList : public Control {
public:
    ImageList(Form& form, std::string name, int index);
    int count() const { return static_cast<int>(pictures_.size()); }
    int add(std::shared_ptr<const Picture> picture);
    // Raises 35600 out of range.
    const std::shared_ptr<const Picture>& picture(int i) const;
    bool canTakeFocus() const override { return false; }

private:
    std::vector<std::shared_ptr<const Picture>> pictures_;
};

// A picture to and from a file: any lossless form will do, the bytes are kept as they are.
// Saving raises 75 when the file cannot be written; loading raises 53 when it is missing.
void SavePicture(const Picture& picture, const std::string& path);
std::shared_ptr<const Picture> LoadPicture(const std::string& path);

// File, folder and font dialogs; they open through the driver and keep the answer in their
// properties. With cancelError set, a cancel raises 32755.
class CommonDialog : public Control {
public:
    CommonDialog(Form& form, std::string name, int index);

    std::string dialogTitle;
    std::string fileName;
    std::string fileTitle;
    std::string filter;  // "Testo|*.txt|Tutti|*.*"
    int filterIndex = 1;
    long flags = 0;
    bool cancelError = false;
    std::string initDir;
    std::string defaultExt;
    Font dialogFont;  // the font proposed to, then chosen in, the font dialog

    void showOpen();
    void showSave();
    void showFolder();
    void showFont();
    bool canTakeFocus() const override { return false; }
};

}  // namespace tolvane::ui
