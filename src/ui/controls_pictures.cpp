// Picture boxes, images, image lists and the picture file format. Nothing here draws.
#include "ui/controls_pictures.h"

#include <fstream>
#include <sstream>
#include <string>

#include "platform/numbered_error.h"
#include "platform/save_file.h"
#include "ui/form.h"
#include "ui/ui_constants.h"

namespace tolvane::ui {

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

}  // namespace tolvane::ui
