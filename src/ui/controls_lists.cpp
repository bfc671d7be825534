// Item rules of combo and list boxes, and the drive and folder lists: events are raised only
// when a value really changes.
#include "ui/controls_lists.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/drive_folders.h"
#include "platform/numbered_error.h"
#include "platform/text.h"
#include "ui/form.h"
#include "ui/ui_constants.h"

namespace tolvane::ui {

void ListControl::checkIndex(int i) const {
    if (i < 0 || i >= listCount()) invalidPropertyValue(*this);
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
    if (index > listCount()) invalidPropertyValue(*this);
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
    if (index < -1 || index >= listCount()) invalidPropertyValue(*this);
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

DriveListBox::DriveListBox(Form& form, std::string name, int index)
    : Control(form, ControlKind::DriveListBox, std::move(name), index), drives_(driveFolders()) {
    std::error_code ec;
    drive_ = driveFolderOf(drives_, std::filesystem::current_path(ec).string());
}

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

}  // namespace tolvane::ui
