// Combo and list boxes over one list of items, and the drive and folder lists. Never draws
// and never reads a folder beyond checking that it exists (the drives come from the mount table).
#pragma once

#include <string>
#include <vector>

#include "ui/control.h"

namespace tolvane::ui {

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

// The machine's drive folders (platform/drive_folders.h), starting at the one that holds the
// current folder.
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

}  // namespace tolvane::ui
