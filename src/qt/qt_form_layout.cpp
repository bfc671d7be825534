// Where the widgets of a form stand. A container whose controls carry designed places is a grid:
// controls whose tops are (about) equal form one row, in left order, and controls that start at
// the same left share a column, so that fields line up from row to row. A container with no
// designed places flows: captions beside their fields, a row of command buttons at the end.
// A picture box holding a picture box places its children where the model puts them, clipped.
// Never raises a model event: the model is only read here.
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpacerItem>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <set>

#include "qt/qt_form_rules.h"
#include "qt/qt_form_view.h"
#include "ui/controls.h"

namespace tolvane::qt {

namespace {

constexpr std::size_t kCaptionLength = 40;
// Captions of so few characters ("a:", "2:") continue the line of the field before them.
constexpr std::size_t kContinuationLength = 3;
constexpr double kRowTolerance = 60;
constexpr double kColumnTolerance = 30;
constexpr double kCornerMargin = 240;

const std::string& captionOf(const ui::Control& c) {
    static const std::string none;
    return c.kind() == ui::ControlKind::Label ? static_cast<const ui::Label&>(c).caption() : none;
}

// Designed places count when most shown controls have a place of their own; controls all
// left at the top left corner (or stacked on one place) have none worth keeping.
bool laidOutByPosition(const std::vector<ui::Control*>& children) {
    std::size_t shown = 0;
    bool anyPlaced = false;
    std::set<std::pair<long, long>> cells;
    for (ui::Control* c : children) {
        if (hasNoWidget(c->kind()) || !c->visible()) continue;
        ++shown;
        if (c->left() != 0 || c->top() != 0) anyPlaced = true;
        cells.insert(
            {std::lround(c->top() / kRowTolerance), std::lround(c->left() / kColumnTolerance)});
    }
    return anyPlaced && cells.size() * 5 >= shown * 4;
}

// Starts of the clusters of values no further than tolerance from the first of each.
std::vector<double> clusters(std::vector<double> values, double tolerance) {
    std::sort(values.begin(), values.end());
    std::vector<double> starts;
    for (double v : values)
        if (starts.empty() || v > starts.back() + tolerance) starts.push_back(v);
    return starts;
}

int clusterOf(const std::vector<double>& starts, double value) {
    auto it = std::upper_bound(starts.begin(), starts.end(), value);
    return std::max(0, static_cast<int>(it - starts.begin()) - 1);
}

// How many clusters start inside [from, to): at least the one it starts in.
int spanOf(const std::vector<double>& starts, int first, double to) {
    int span = 1;
    while (first + span < static_cast<int>(starts.size()) && starts[first + span] < to) ++span;
    return span;
}

bool fillsItsCell(const ui::Form& form, const ui::Control& c) {
    switch (c.kind()) {
        case ui::ControlKind::Frame:
        case ui::ControlKind::TabStrip:
        case ui::ControlKind::Grid:
        case ui::ControlKind::ListBox:
        case ui::ControlKind::ProgressBar:
        case ui::ControlKind::ScrollBar:
            return true;
        case ui::ControlKind::PictureBox:
            return holdsControls(form, c) || isViewport(form, &c);
        default:
            return false;
    }
}

QHBoxLayout* newLine() {
    auto* line = new QHBoxLayout;
    line->setContentsMargins(0, 0, 0, 0);
    return line;
}

}  // namespace

QWidget* FormView::place(ui::Control& c, QWidget* host) {
    QWidget* w = widgetFor(c);
    if (!w) {
        w = makeWidget(c, host);
        if (!w) return nullptr;
        refreshControl(c);
    } else if (w->parentWidget() != host) {
        w->setParent(host);
    }
    if (holdsControls(*form_, c)) {
        layoutChildren(&c, w);
        refreshControl(c);  // a box that got controls no longer paints as a drawing surface
    }
    if (c.kind() == ui::ControlKind::PictureBox && w->layout())
        w->layout()->setContentsMargins(2, 2, 2, 2);
    w->setVisible(c.visible() && !coveredByPanel(c));
    return w;
}

void FormView::layoutChildren(ui::Control* container, QWidget* host) {
    delete host->layout();
    std::vector<ui::Control*> children;
    for (ui::Control* c : childrenOf(*form_, container)) {
        if (hasNoWidget(c->kind())) {
            makeWidget(*c, host);
            continue;
        }
        if (c->kind() == ui::ControlKind::Toolbar && container == nullptr) continue;  // on top
        children.push_back(c);
    }
    if (placesChildren(*form_, container)) {
        for (ui::Control* c : children) {
            if (QWidget* w = place(*c, host)) placeAt(*c, w);
        }
        return;
    }
    if (laidOutByPosition(children)) {
        layoutGrid(children, host);
        return;
    }
    layoutFlow(children, host);
    // A page holds the room of the largest of its set: its rows keep together at its top.
    if (container && form_->isPage(*container))
        host->layout()->addItem(
            new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding));
}

void FormView::placeAt(const ui::Control& c, QWidget* w) {
    const ui::ZoomApart* apart = form_->zoomApart(c);
    double at = apart && apart->place == 1 ? 1 : form_->zoom();
    double size = zoomOf(c);
    w->setGeometry(pixels(c.left(), at), pixels(c.top(), at), std::max(pixels(c.width(), size), 1),
                   std::max(pixels(c.height(), size), 1));
}

void FormView::layoutGrid(const std::vector<ui::Control*>& children, QWidget* host) {
    auto* grid = new QGridLayout(host);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    std::vector<double> tops;
    std::vector<double> lefts;
    for (ui::Control* c : children) {
        tops.push_back(c->top());
        lefts.push_back(c->left());
    }
    double zoom = form_->zoom();
    std::vector<double> rows = clusters(tops, kRowTolerance);
    std::vector<double> columns = clusters(lefts, kColumnTolerance);
    // Columns and rows keep at least their designed distance, so that what the design set
    // apart stays apart; a wider widget pushes the rest along.
    std::vector<int> columnWidths(columns.size(), 0);
    std::vector<int> reach(columns.size(), 0);
    for (std::size_t i = 0; i + 1 < columns.size(); ++i) {
        int distance = pixels(columns[i + 1] - columns[i], zoom);
        columnWidths[i] = std::max(0, distance - grid->horizontalSpacing());
    }
    for (ui::Control* c : children) {
        QWidget* w = place(*c, host);
        if (!w) continue;
        laidAt_[c] = {c->left(), c->top(), c->width(), c->height()};
        // A tab strip's pages are controls of their own, shown over its client area.
        double height =
            c->kind() == ui::ControlKind::TabStrip ? ui::TabStrip::kTabHeight : c->height();
        int row = clusterOf(rows, c->top());
        int column = clusterOf(columns, c->left());
        int rowSpan = spanOf(rows, row, c->top() + height - kRowTolerance);
        int columnSpan = spanOf(columns, column, c->left() + c->width() - kColumnTolerance);
        // A wrapped caption takes all the width it was designed with, so that it wraps there.
        auto* label = qobject_cast<QLabel*>(w);
        bool fills = fillsItsCell(*form_, *c) || (label && label->wordWrap());
        Qt::Alignment alignment = fills ? Qt::Alignment() : (Qt::AlignLeft | Qt::AlignVCenter);
        grid->addWidget(w, row, column, rowSpan, columnSpan, alignment);
        // The last column it spans reaches at least to its designed right edge: the column of a
        // control alone at the right (a grid under its caption) has no next column to hold it
        // open. What is hidden takes no room, as in the grid itself.
        if (!c->visible()) continue;
        int last = column + columnSpan - 1;
        int right = pixels(c->left() - columns[last], zoom) + pixels(c->width(), zoomOf(*c));
        reach[last] = std::max(reach[last], right);
    }
    for (std::size_t i = 0; i < columns.size(); ++i) {
        grid->setColumnMinimumWidth(static_cast<int>(i), columnWidths[i]);
        // Held by an item in the stretching row, not by the column's minimum, which would keep a
        // widget spanning the column (a tab strip) from widening it to its own suggested width.
        if (reach[i] > columnWidths[i])
            grid->addItem(new QSpacerItem(reach[i], 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                          static_cast<int>(rows.size()), static_cast<int>(i));
    }
    // A row keeps its designed distance to the next row that shows something; a row of hidden
    // controls alone (a field that stands behind a check box, one a setting shows) takes no room.
    std::vector<bool> shows(rows.size(), false);
    for (ui::Control* c : children)
        if (c->visible() && !hasNoWidget(c->kind())) shows[clusterOf(rows, c->top())] = true;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::size_t next = i + 1;
        while (next < rows.size() && !shows[next]) ++next;
        if (!shows[i] || next == rows.size()) continue;
        int distance = pixels(rows[next] - rows[i], zoom);
        grid->setRowMinimumHeight(static_cast<int>(i),
                                  std::max(0, distance - grid->verticalSpacing()));
    }
    // What is left over goes to the right and below, as on a window drawn larger.
    grid->setColumnStretch(static_cast<int>(columns.size()), 1);
    grid->setRowStretch(static_cast<int>(rows.size()), 1);
}

void FormView::layoutFlow(const std::vector<ui::Control*>& children, QWidget* host) {
    auto* rows = new QFormLayout(host);
    rows->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    auto* buttons = newLine();
    buttons->addStretch(1);
    bool anyButton = false;
    auto fieldAt = [&](std::size_t i) {
        return i < children.size() && isField(children[i]->kind());
    };
    // Elements of control arrays sharing one index, one after the other, make one row.
    auto startsIndexedRun = [&](std::size_t i) {
        return i + 1 < children.size() && children[i]->index() >= 0 &&
               children[i + 1]->index() == children[i]->index();
    };

    // A row of elements of control arrays sharing one index (Didascalia(n), txt(n), Che(n),
    // ComHlp(n), Lab(n)): labels left of the first other control are its caption.
    auto indexedRow = [&](std::size_t& i) {
        int index = children[i]->index();
        std::size_t end = i;
        while (end < children.size() && children[end]->index() == index &&
               !holdsControls(*form_, *children[end]))
            ++end;
        std::vector<ui::Control*> run(children.begin() + static_cast<long>(i),
                                      children.begin() + static_cast<long>(end));
        bool hasField = std::any_of(run.begin(), run.end(), [](ui::Control* c) {
            return isField(c->kind()) || c->kind() == ui::ControlKind::CheckBox ||
                   c->kind() == ui::ControlKind::OptionButton;
        });
        if (!hasField || run.size() < 2) return false;
        std::stable_sort(run.begin(), run.end(),
                         [](ui::Control* a, ui::Control* b) { return a->left() < b->left(); });
        QHBoxLayout* line = newLine();
        QWidget* caption = nullptr;
        bool inCaption = true;
        for (ui::Control* c : run) {
            if (inCaption && c->kind() == ui::ControlKind::Label) {
                caption = place(*c, host);
                continue;
            }
            inCaption = false;
            QWidget* w = place(*c, host);
            line->addWidget(w, c->kind() == ui::ControlKind::Label ? 1 : 0);
        }
        line->addStretch(0);
        if (caption) rows->addRow(caption, line);
        else rows->addRow(line);
        i = end - 1;
        return true;
    };

    for (std::size_t i = 0; i < children.size(); ++i) {
        ui::Control& c = *children[i];
        ui::ControlKind kind = c.kind();
        if (holdsControls(*form_, c)) {
            // Frames and pages: hidden pages take no room, so the visible one of a set of
            // pages stands where the others would.
            rows->addRow(place(c, host));
            continue;
        }
        if (c.index() >= 0 && indexedRow(i)) continue;
        if (kind == ui::ControlKind::CommandButton) {
            buttons->addWidget(place(c, host));
            anyButton = true;
            continue;
        }
        QWidget* caption = nullptr;
        // A short label before a field is its caption; a long one is a line of its own.
        bool captionLike = kind == ui::ControlKind::Label && captionOf(c).size() <= kCaptionLength;
        if (captionLike && fieldAt(i + 1) && !startsIndexedRun(i + 1)) {
            caption = place(c, host);
            ++i;
        } else if (!isField(kind)) {
            rows->addRow(place(c, host));
            continue;
        }
        // The field, with what belongs beside it: its description label, its "..." button, the
        // next field of a range ("da: ... a: ...").
        QHBoxLayout* line = newLine();
        QWidget* first = place(*children[i], host);
        line->addWidget(first, 1);
        bool ranged = false;
        while (i + 1 < children.size()) {
            ui::Control& next = *children[i + 1];
            std::size_t length = captionOf(next).size();
            bool continuation = next.kind() == ui::ControlKind::Label && length > 0 &&
                                length <= kContinuationLength && fieldAt(i + 2) &&
                                !startsIndexedRun(i + 2);
            if (continuation) {
                line->addWidget(place(next, host));
                line->addWidget(place(*children[i + 2], host));
                ranged = true;
                i += 2;
                continue;
            }
            if (next.index() >= 0) break;
            // The field's description, not the caption of the next field nor a paragraph.
            bool description = next.kind() == ui::ControlKind::Label && length <= 60 &&
                               !(fieldAt(i + 2) && length <= kCaptionLength);
            if (!description) break;
            line->addWidget(place(next, host), 1);
            ++i;
        }
        // The fields of a range keep their widths side by side.
        if (ranged) {
            line->setStretchFactor(first, 0);
            line->addStretch(1);
        }
        if (caption) rows->addRow(caption, line);
        else rows->addRow(line);
    }
    if (anyButton) rows->addRow(buttons);
    else delete buttons;
}

void FormView::controlAdded(ui::Control& control) {
    if (!form_) return;
    if (!window_) {
        createTimers();
        return;
    }
    if (widgetFor(control) || timers_.count(&control)) return;
    QWidget* host = content_;
    if (control.container()) {
        if (QWidget* box = widgetFor(*control.container())) host = box;
    }
    if (makeWidget(control, host)) refreshControl(control);
    knownControls_ = form_->controls().size();
    relayoutLater(control.container());
}

void FormView::relayoutLater(const ui::Control* container) {
    pending_.insert(container);
    if (!flushQueued_) {
        flushQueued_ = true;
        QTimer::singleShot(0, this, [this] { flushLayouts(); });
    }
}

void FormView::geometryChanged(ui::Control& control) {
    if (!form_ || !window_) return;
    auto it = laidAt_.find(&control);
    if (it == laidAt_.end()) return;
    std::array<double, 4> now{control.left(), control.top(), control.width(), control.height()};
    if (it->second != now) relayoutLater(control.container());
}

void FormView::flushLayouts() {
    flushQueued_ = false;
    if (!form_ || !window_ || pending_.empty()) return;
    std::set<const ui::Control*> pending;
    pending.swap(pending_);
    auto coveredByAnother = [&](const ui::Control* container) {
        if (!container) return false;
        if (pending.count(nullptr)) return true;
        for (const ui::Control* up = container->container(); up; up = up->container())
            if (pending.count(up)) return true;
        return false;
    };
    for (const ui::Control* container : pending) {
        if (coveredByAnother(container)) continue;
        auto* model = const_cast<ui::Control*>(container);
        QWidget* host = model ? widgetFor(*model) : content_.data();
        if (host) layoutChildren(model, host);
    }
    holdPageRoom();
}

bool FormView::isPanel(const ui::Control& c) const {
    if (!form_ || c.container() || c.kind() != ui::ControlKind::PictureBox || form_->isPage(c))
        return false;
    // From the window's top left corner over most of it: a page under a tab strip is not.
    return c.left() <= kCornerMargin && c.top() <= kCornerMargin &&
           c.width() >= form_->width() * 0.8 && c.height() >= form_->height() * 0.8 &&
           holdsControls(*form_, c);
}

bool FormView::coveredByPanel(const ui::Control& control) const {
    if (!form_ || control.container()) return false;
    const ui::Control* front = nullptr;
    for (ui::Control* c : form_->controls()) {
        if (!c->visible() || c->zPosition() <= 0 || !isPanel(*c)) continue;
        if (!front || c->zPosition() > front->zPosition()) front = c;
    }
    return front && front != &control;
}

void FormView::refreshPanels() {
    if (!form_ || !window_) return;
    std::set<const ui::Control*> covered;
    for (ui::Control* c : childrenOf(*form_, nullptr)) {
        bool hidden = coveredByPanel(*c);
        if (hidden) covered.insert(c);
        if (QWidget* w = widgetFor(*c)) w->setVisible(c->visible() && !hidden);
    }
    if (covered == covered_) return;
    covered_.swap(covered);
    // The window keeps its size; what comes, a panel or the window's own controls, shows from
    // its top.
    if (scroll_) {
        scroll_->verticalScrollBar()->setValue(0);
        scroll_->horizontalScrollBar()->setValue(0);
    }
}

void FormView::zoomChanged() {
    if (!form_ || !window_) return;
    pending_.clear();
    layoutChildren(nullptr, content_);
    for (ui::Control* c : form_->controls()) refreshControl(*c);
    holdPageRoom();
}

void FormView::addNewControls() {
    if (!form_) return;
    if (!window_) {
        createTimers();
        return;
    }
    flushLayouts();
}

}  // namespace tolvane::qt
