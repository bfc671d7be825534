// State and events of each kind of control: the rules by which code and users change them.
// Events are raised only when a value really changes; nothing here draws or blocks.
#include "ui/controls.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/numbered_error.h"
#include "platform/save_file.h"
#include "platform/text.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/ui_constants.h"

namespace tolvane::ui {

namespace {

[[noreturn]] void invalidValue(const Control& c) {
    throw NumberedError(uierr::InvalidPropertyValue, "Invalid property value", c.displayName());
}

int clampInt(long v, long lo, long hi) { return static_cast<int>(std::clamp(v, lo, hi)); }

void check16(const Control& c, long v) {
    if (v < -32768 || v > 32767) throw NumberedError(errnum::Overflow, "Overflow", c.displayName());
}

}  // namespace

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
    if (length < 0) invalidValue(*this);
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
    if (start < 0) invalidValue(*this);
    selStart_ = std::min(start, static_cast<int>(Len(text_)));
    selLength_ = 0;
    changed(Property::Selection);
}

void TextBox::setSelLength(int length) {
    if (length < 0) invalidValue(*this);
    selLength_ = std::min(length, static_cast<int>(Len(text_)) - selStart_);
    changed(Property::Selection);
}

std::string TextBox::selText() const { return Mid(text_, selStart_ + 1, selLength_); }

void TextBox::setSelText(std::string_view text) {
    std::string next = Left(text_, selStart_) + std::string(text) +
                       Mid(text_, selStart_ + selLength_ + 1);
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
    if (value < 0 || value > 2) invalidValue(*this);
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

void ListControl::checkIndex(int i) const {
    if (i < 0 || i >= listCount()) invalidValue(*this);
}

const std::string& ListControl::list(int i) const {
    checkIndex(i);
    return items_[static_cast<std::size_t>(i)].text;
}

void ListControl::setList(int i, std::string text) {
    checkIndex(i);
    items_[static_cast<std::size_t>(i)].text = std::move(text);
    changed(Property::Items);
    if (i == listIndex_) listIndexChanged();
}

long ListControl::itemData(int i) const {
    checkIndex(i);
    return items_[static_cast<std::size_t>(i)].itemData;
}

void ListControl::setItemData(int i, long data) {
    checkIndex(i);
    items_[static_cast<std::size_t>(i)].itemData = data;
    changed(Property::Items);
}

int ListControl::addItem(std::string text, int index) {
    if (index > listCount()) invalidValue(*this);
    if (index < 0) {
        index = listCount();
        if (sorted_) {
            auto pos = std::find_if(items_.begin(), items_.end(), [&](const ListItem& it) {
                return compareText(it.text, text) > 0;
            });
            index = static_cast<int>(pos - items_.begin());
        }
    }
    items_.insert(items_.begin() + index, ListItem{std::move(text), 0});
    if (listIndex_ >= index) ++listIndex_;
    newIndex_ = index;
    changed(Property::Items);
    return index;
}

void ListControl::removeItem(int i) {
    checkIndex(i);
    items_.erase(items_.begin() + i);
    if (listIndex_ == i) {
        listIndex_ = -1;
        listIndexChanged();
        changed(Property::ListIndex);
    } else if (listIndex_ > i) {
        --listIndex_;
    }
    changed(Property::Items);
}

void ListControl::clear() {
    items_.clear();
    bool had = listIndex_ != -1;
    listIndex_ = -1;
    newIndex_ = -1;
    if (had) {
        listIndexChanged();
        changed(Property::ListIndex);
    }
    changed(Property::Items);
}

void ListControl::setSorted(bool sorted) {
    sorted_ = sorted;
    changed(Property::Other);
}

void ListControl::setListIndex(int index) {
    if (index < -1 || index >= listCount()) invalidValue(*this);
    if (index == listIndex_) return;
    listIndex_ = index;
    listIndexChanged();
    changed(Property::ListIndex);
    raise(Event::Click);
}

ComboBox::ComboBox(Form& form, std::string name, int index)
    : ListControl(form, ControlKind::ComboBox, std::move(name), index) {}

void ComboBox::setStyle(Style style) {
    style_ = style;
    changed(Property::Other);
}

void ComboBox::setLocked(bool locked) {
    locked_ = locked;
    changed(Property::Locked);
}

void ComboBox::listIndexChanged() {
    std::string next = listIndex_ >= 0 ? items_[static_cast<std::size_t>(listIndex_)].text
                       : style_ == Style::DropDownList ? std::string()
                                                        : text_;
    if (next != text_) {
        text_ = std::move(next);
        changed(Property::Text);
    }
}

void ComboBox::setText(std::string text) {
    int found = -1;
    for (int i = 0; i < listCount(); ++i) {
        if (equalText(items_[static_cast<std::size_t>(i)].text, text)) {
            found = i;
            break;
        }
    }
    if (style_ == Style::DropDownList) {
        if (found < 0 && !text.empty()) {
            throw NumberedError(uierr::PropertyReadOnly, "'Text' property is read-only",
                                displayName());
        }
        setListIndex(found);
        return;
    }
    if (found != listIndex_) {
        listIndex_ = found;
        changed(Property::ListIndex);
    }
    if (text == text_) return;
    text_ = std::move(text);
    changed(Property::Text);
    raise(Event::Change);
}

void ComboBox::acceptCharacter(int keyAscii) {
    if (locked_) return;
    if (style_ == Style::DropDownList) {
        // A letter chooses the next item that begins with it.
        if (keyAscii < 32 || keyAscii > 255 || items_.empty()) return;
        std::string letter = Chr(keyAscii);
        int n = listCount();
        for (int step = 1; step <= n; ++step) {
            int i = (listIndex_ + step + n) % n;
            if (equalText(Left(items_[static_cast<std::size_t>(i)].text, 1), letter)) {
                setListIndex(i);
                return;
            }
        }
        return;
    }
    if (keyAscii == key::Back) {
        if (!text_.empty()) setText(Left(text_, static_cast<long>(Len(text_)) - 1));
        return;
    }
    if (keyAscii < 32 || keyAscii > 255) return;
    setText(text_ + Chr(keyAscii));
}

ListBox::ListBox(Form& form, std::string name, int index)
    : ListControl(form, ControlKind::ListBox, std::move(name), index) {}

const std::string& ListBox::text() const {
    static const std::string empty;
    return listIndex_ >= 0 ? items_[static_cast<std::size_t>(listIndex_)].text : empty;
}

Frame::Frame(Form& form, std::string name, int index)
    : Control(form, ControlKind::Frame, std::move(name), index) {}

void Frame::setCaption(std::string caption) {
    caption_ = std::move(caption);
    changed(Property::Caption);
}

PictureBox::PictureBox(Form& form, std::string name, int index)
    : Control(form, ControlKind::PictureBox, std::move(name), index) {}

void PictureBox::setPicture(std::shared_ptr<const Picture> picture) {
    picture_ = std::move(picture);
    changed(Property::Picture);
}

void PictureBox::setAutoRedraw(bool value) {
    autoRedraw_ = value;
    changed(Property::Other);
}

void PictureBox::setAutoSize(bool value) {
    autoSize_ = value;
    changed(Property::Other);
}

void PictureBox::setScaleMode(int mode) {
    scaleMode_ = mode;
    changed(Property::Other);
}

void PictureBox::print(std::string line) {
    printed_.push_back(std::move(line));
    changed(Property::Picture);
}

void PictureBox::cls() {
    printed_.clear();
    changed(Property::Picture);
}

Image::Image(Form& form, std::string name, int index)
    : Control(form, ControlKind::Image, std::move(name), index) {}

void Image::setPicture(std::shared_ptr<const Picture> picture) {
    picture_ = std::move(picture);
    changed(Property::Picture);
}

void Image::setStretch(bool stretch) {
    stretch_ = stretch;
    changed(Property::Other);
}

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

Grid::Grid(Form& form, std::string name, int index)
    : Control(form, ControlKind::Grid, std::move(name), index),
      cells_(2, std::vector<std::string>(2)),
      colWidths_(2, -1) {}

void Grid::checkCell(int row, int col) const {
    if (row < 0 || row >= rows() || col < 0 || col >= cols_) {
        throw NumberedError(381, "Subscript out of range", displayName());
    }
}

void Grid::setRows(int rows) {
    if (rows < 0 || rows < fixedRows_) invalidValue(*this);
    cells_.resize(static_cast<std::size_t>(rows), std::vector<std::string>(static_cast<std::size_t>(cols_)));
    row_ = std::min(row_, std::max(rows - 1, 0));
    changed(Property::Cells);
}

void Grid::setCols(int cols) {
    if (cols < 0 || cols < fixedCols_) invalidValue(*this);
    cols_ = cols;
    for (auto& r : cells_) r.resize(static_cast<std::size_t>(cols));
    colWidths_.resize(static_cast<std::size_t>(cols), -1);
    col_ = std::min(col_, std::max(cols - 1, 0));
    changed(Property::Cells);
}

void Grid::setFixedRows(int n) {
    if (n < 0 || (n > 0 && n >= rows())) invalidValue(*this);
    fixedRows_ = n;
    if (row_ < n) row_ = n;
    changed(Property::Cells);
}

void Grid::setFixedCols(int n) {
    if (n < 0 || (n > 0 && n >= cols_)) invalidValue(*this);
    fixedCols_ = n;
    if (col_ < n) col_ = n;
    changed(Property::Cells);
}

const std::string& Grid::textMatrix(int row, int col) const {
    checkCell(row, col);
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void Grid::setTextMatrix(int row, int col, std::string text) {
    checkCell(row, col);
    cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(text);
    changed(Property::Cells);
}

void Grid::addItem(std::string_view tabbedText, int index) {
    if (index > rows()) invalidValue(*this);
    std::vector<std::string> cells(static_cast<std::size_t>(cols_));
    std::size_t col = 0;
    std::size_t start = 0;
    while (col < cells.size()) {
        std::size_t tab = tabbedText.find('\t', start);
        cells[col++] = std::string(tabbedText.substr(start, tab == std::string_view::npos
                                                                 ? std::string_view::npos
                                                                 : tab - start));
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    if (index < 0) {
        cells_.push_back(std::move(cells));
    } else {
        cells_.insert(cells_.begin() + index, std::move(cells));
    }
    changed(Property::Cells);
}

void Grid::removeItem(int row) {
    checkCell(row, 0);
    if (rows() - fixedRows_ <= 1 && row >= fixedRows_) {
        throw NumberedError(30015, "Cannot remove last non-fixed row", displayName());
    }
    cells_.erase(cells_.begin() + row);
    if (row_ >= rows()) row_ = std::max(rows() - 1, 0);
    changed(Property::Cells);
}

void Grid::clear() {
    for (auto& r : cells_) {
        for (auto& c : r) c.clear();
    }
    changed(Property::Cells);
}

void Grid::setRow(int row) {
    checkCell(row, 0);
    row_ = row;
    changed(Property::Selection);
}

void Grid::setCol(int col) {
    checkCell(0, col);
    col_ = col;
    changed(Property::Selection);
}

double Grid::colWidth(int col) const {
    checkCell(0, col);
    return colWidths_[static_cast<std::size_t>(col)];
}

void Grid::setColWidth(int col, double width) {
    checkCell(0, col);
    colWidths_[static_cast<std::size_t>(col)] = width;
    changed(Property::Geometry);
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

void ScrollBar::setValue(long v) {
    check16(*this, v);
    if (v < std::min(min_, max_) || v > std::max(min_, max_)) invalidValue(*this);
    if (v == value_) return;
    value_ = static_cast<int>(v);
    changed(Property::Value);
    raise(Event::Change);
}

void ScrollBar::setSmallChange(long v) {
    check16(*this, v);
    if (v < 0) invalidValue(*this);
    small_ = static_cast<int>(v);
    changed(Property::Range);
}

void ScrollBar::setLargeChange(long v) {
    check16(*this, v);
    if (v < 0) invalidValue(*this);
    large_ = static_cast<int>(v);
    changed(Property::Range);
}

ProgressBar::ProgressBar(Form& form, std::string name, int index)
    : Control(form, ControlKind::ProgressBar, std::move(name), index) {}

void ProgressBar::setMin(double v) {
    if (v >= max_) invalidValue(*this);
    min_ = v;
    value_ = std::max(value_, min_);
    changed(Property::Range);
}

void ProgressBar::setMax(double v) {
    if (v <= min_) invalidValue(*this);
    max_ = v;
    value_ = std::min(value_, max_);
    changed(Property::Range);
}

void ProgressBar::setValue(double v) {
    if (v < min_ || v > max_) invalidValue(*this);
    value_ = v;
    changed(Property::Value);
}

Timer::Timer(Form& form, std::string name, int index)
    : Control(form, ControlKind::Timer, std::move(name), index) {}

void Timer::setInterval(int ms) {
    if (ms < 0 || ms > 65535) invalidValue(*this);
    interval_ = ms;
    changed(Property::Interval);
}

bool Timer::tick() {
    if (!enabled() || interval_ <= 0 || !form().loaded()) return false;
    raise(Event::Timer);
    return true;
}

DriveListBox::DriveListBox(Form& form, std::string name, int index)
    : Control(form, ControlKind::DriveListBox, std::move(name), index) {}

void DriveListBox::setDrive(std::string drive) {
    if (drive == drive_) return;
    drive_ = std::move(drive);
    changed(Property::Value);
    raise(Event::Change);
}

void DriveListBox::setDrives(std::vector<std::string> drives) {
    drives_ = std::move(drives);
    changed(Property::Items);
}

DirListBox::DirListBox(Form& form, std::string name, int index)
    : Control(form, ControlKind::DirListBox, std::move(name), index) {
    std::error_code ec;
    path_ = std::filesystem::current_path(ec).string();
}

void DirListBox::setPath(std::string path) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_directory(path, ec)) {
        throw NumberedError(uierr::PathNotFound, "Path not found", displayName());
    }
    if (path == path_) return;
    path_ = std::move(path);
    changed(Property::Value);
    raise(Event::Change);
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
    if (onButtonClick) onButtonClick(pressed);
    return true;
}

ImageList::ImageList(Form& form, std::string name, int index)
    : Control(form, ControlKind::ImageList, std::move(name), index) {
    setVisible(false);
}

int ImageList::add(std::shared_ptr<const Picture> picture) {
    pictures_.push_back(std::move(picture));
    changed(Property::Items);
    return count();
}

const std::shared_ptr<const Picture>& ImageList::picture(int i) const {
    if (i < 1 || i > count()) {
        throw NumberedError(uierr::IndexOutOfBounds, "Index out of bounds", displayName());
    }
    return pictures_[static_cast<std::size_t>(i - 1)];
}

namespace {
constexpr const char* kPictureMagic = "TOLVANE-PICTURE";
}  // namespace

void SavePicture(const Picture& picture, const std::string& path) {
    SaveFile::Options options;
    options.source = path;
    SaveFile out(path, options);
    out.write(std::string(kPictureMagic) + ' ' + std::to_string(picture.width) + ' ' +
              std::to_string(picture.height) + ' ' +
              (picture.format.empty() ? "-" : picture.format) + '\n');
    out.write(picture.data);
    out.commit();
}

std::shared_ptr<const Picture> LoadPicture(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw NumberedError(errnum::FileNotFound, "File not found", path);
    std::string header;
    std::getline(in, header);
    std::istringstream fields(header);
    std::string magic;
    auto picture = std::make_shared<Picture>();
    fields >> magic >> picture->width >> picture->height >> picture->format;
    if (magic != kPictureMagic || !fields) {
        throw NumberedError(481, "Invalid picture", path);
    }
    if (picture->format == "-") picture->format.clear();
    std::ostringstream rest;
    rest << in.rdbuf();
    picture->data = rest.str();
    return picture;
}

CommonDialog::CommonDialog(Form& form, std::string name, int index)
    : Control(form, ControlKind::CommonDialog, std::move(name), index) {
    setVisible(false);
}

namespace {

void showFileDialog(CommonDialog& d, FileDialogRequest::Kind kind) {
    FileDialogRequest request;
    request.kind = kind;
    request.title = d.dialogTitle;
    request.fileName = d.fileName;
    request.initDir = d.initDir;
    request.filter = d.filter;
    request.filterIndex = d.filterIndex;
    request.defaultExt = d.defaultExt;
    request.flags = d.flags;
    FileDialogAnswer answer;
    {
        ModalScope modal;
        answer = desktop().driver().fileDialog(request);
    }
    if (answer.cancelled) {
        if (d.cancelError) {
            throw NumberedError(uierr::DialogCancelled, "Cancel was selected.", d.displayName());
        }
        return;
    }
    d.fileName = answer.fileName;
    d.filterIndex = answer.filterIndex;
    std::filesystem::path p(answer.fileName);
    d.fileTitle = kind == FileDialogRequest::Kind::Folder ? std::string() : p.filename().string();
}

}  // namespace

void CommonDialog::showOpen() { showFileDialog(*this, FileDialogRequest::Kind::Open); }
void CommonDialog::showSave() { showFileDialog(*this, FileDialogRequest::Kind::Save); }
void CommonDialog::showFolder() { showFileDialog(*this, FileDialogRequest::Kind::Folder); }

void CommonDialog::showFont() {
    FontDialogRequest request{dialogTitle, dialogFont, flags};
    std::optional<Font> answer;
    {
        ModalScope modal;
        answer = desktop().driver().fontDialog(request);
    }
    if (!answer) {
        if (cancelError) {
            throw NumberedError(uierr::DialogCancelled, "Cancel was selected.", displayName());
        }
        return;
    }
    dialogFont = *answer;
}

}  // namespace tolvane::ui
