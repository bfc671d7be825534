// What the form view's building and layout share: the scale of designed sizes, which kinds are
// fields and which have no widget, and a container's children. Reads the model only.
#pragma once

#include <cmath>
#include <vector>

#include "ui/control.h"
#include "ui/form.h"

class QLabel;
class QWidget;

namespace tolvane::ui {
class Label;
}

namespace tolvane::qt {

// Designed sizes are in twips; the screen has 15 of them to a pixel, times the window's zoom.
constexpr double kTwipsPerPixel = 15;

inline int pixels(double twips, double zoom = 1) {
    return static_cast<int>(std::lround(twips * zoom / kTwipsPerPixel));
}

inline bool isField(ui::ControlKind kind) {
    switch (kind) {
        case ui::ControlKind::TextBox:
        case ui::ControlKind::ComboBox:
        case ui::ControlKind::ListBox:
        case ui::ControlKind::DriveListBox:
        case ui::ControlKind::DirListBox:
        case ui::ControlKind::ScrollBar:
        case ui::ControlKind::ProgressBar:
        case ui::ControlKind::Grid:
            return true;
        default:
            return false;
    }
}

inline bool hasNoWidget(ui::ControlKind kind) {
    return kind == ui::ControlKind::Timer || kind == ui::ControlKind::CommonDialog ||
           kind == ui::ControlKind::ImageList;
}

inline std::vector<ui::Control*> childrenOf(const ui::Form& form, const ui::Control* container) {
    std::vector<ui::Control*> out;
    for (ui::Control* c : form.controls())
        if (c->container() == container) out.push_back(c);
    return out;
}

// A picture box that holds a drawing surface (a picture box with no controls of its own) is a
// viewport: its children stand where their left and top put them, clipped by it (a page
// scrolled inside a frame). A picture box holding pages of controls lays them out as usual.
inline bool isViewport(const ui::Form& form, const ui::Control* control) {
    if (!control || control->kind() != ui::ControlKind::PictureBox) return false;
    std::vector<ui::Control*> children = childrenOf(form, control);
    for (ui::Control* c : children) {
        if (c->kind() == ui::ControlKind::PictureBox && childrenOf(form, c).empty()) return true;
    }
    return false;
}

// A frame, or a picture box that holds controls: a group of rows rather than a drawing surface.
inline bool holdsControls(const ui::Form& form, const ui::Control& c) {
    return c.kind() == ui::ControlKind::Frame ||
           (c.kind() == ui::ControlKind::PictureBox && !childrenOf(form, &c).empty());
}

// Where the window's code itself sets its controls' places (the page inside a viewport, the
// controls of a window that lays itself out on Resize) the view puts each exactly there.
inline bool placesChildren(const ui::Form& form, const ui::Control* container) {
    return container ? isViewport(form, container) : form.handlesResize();
}
inline bool placedByModel(const ui::Form& form, const ui::Control& control) {
    // The window's own toolbars stand above its controls, out of their places.
    if (!control.container() && control.kind() == ui::ControlKind::Toolbar) return false;
    return placesChildren(form, control.container());
}

// A field or button keeps about the width it was designed with (at the zoom given), so that
// what stands beside it stays near; lists, text areas and grids keep their designed height.
void keepDesignedSize(const ui::Control& control, QWidget* widget, double zoom);

// A label's caption wraps when it is long, its lines then fitting the designed width, or where
// it is wider than designed and its window has no room for its one line.
void wrapCaption(const ui::Label& label, QLabel* view, double zoom);

// The zoom a control is drawn at: its window's, or 1 for a control that keeps its size.
inline double zoomOf(const ui::Control& control) {
    const ui::ZoomApart* apart = control.form().zoomApart(control);
    return apart && apart->keepsSize ? 1 : control.form().zoom();
}

}  // namespace tolvane::qt
