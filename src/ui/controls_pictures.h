// Picture boxes, images and image lists, and pictures to and from files. The pixels are the
// back end's business: nothing here decodes or draws them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"

namespace tolvane::ui {

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

}  // namespace tolvane::ui
