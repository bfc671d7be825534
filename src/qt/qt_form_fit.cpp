// How large the window of a form is and where it stands: sized once, as it opens, for the largest
// of its pages and panels within its screen, and centred once; a page or panel shown later moves
// nothing around it. Never resizes or moves a window that is on the screen.
#include <QFormLayout>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "qt/qt_form_rules.h"
#include "qt/qt_form_view.h"
#include "qt/qt_window_fit.h"

namespace tolvane::qt {

QSize FormView::wantedInside(const QSize& room) const {
    QSize content = content_->sizeHint();
    // Or, where that is larger, a panel in front: alone in the content's rows, which keep their
    // margins around it and, as a form's rows do, their spacing below it.
    if (QLayout* rows = content_->layout()) {
        QMargins around = rows->contentsMargins();
        if (auto* form = qobject_cast<QFormLayout*>(rows))
            around.setBottom(around.bottom() + std::max(form->verticalSpacing(), 0));
        const int spacing = std::max(rows->spacing(), 0);
        for (ui::Control* c : childrenOf(*form_, nullptr)) {
            QWidget* w = widgetFor(*c);
            if (!w) continue;
            if (isPanel(*c)) {
                content = content.expandedTo(w->sizeHint().grownBy(around));
            } else if (w->isHidden() && !form_->isPage(*c) && holdsControls(*form_, *c)) {
                // A display the window's code shows while it works (a load's progress) finds
                // room below the rest instead of pushing it out of sight.
                // Its hint while hidden misses the captions set as it shows: its designed height
                // is the least it takes.
                const int designed = pixels(c->height(), form_->zoom());
                content.rheight() += std::max(w->sizeHint().height(), designed) + spacing;
            }
        }
    }
    // The toolbars over the content.
    QSize wanted(0, 0);
    QLayout* outer = window_->layout();
    for (int i = 0; outer && i < outer->count(); ++i) {
        QWidget* item = outer->itemAt(i)->widget();
        if (!item || item->isHidden()) continue;
        QSize hint = item == scroll_.data() ? content : item->sizeHint();
        wanted = QSize(std::max(wanted.width(), hint.width()), wanted.height() + hint.height());
    }
    // A scroll bar for one side takes room on the other.
    int bar = window_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (wanted.height() > room.height()) wanted.rwidth() += bar;
    if (wanted.width() > room.width()) wanted.rheight() += bar;
    return wanted;
}

void FormView::fitWindow() {
    if (!form_ || !window_ || !content_) return;
    QSize room = roomForInside(*window_, *window_->screen());
    QSize designed(pixels(form_->width(), form_->zoom()), pixels(form_->height(), form_->zoom()));
    QSize wanted = wantedInside(room).expandedTo(designed.boundedTo(QSize(1000, 700)));
    window_->resize(wanted.boundedTo(room));
}

void FormView::holdPageRoom() {
    if (!form_ || !window_) return;
    // The pages of one set: elements of one array under one container.
    std::map<std::pair<std::string, const ui::Control*>, std::vector<QWidget*>> sets;
    for (ui::Control* c : form_->controls()) {
        QWidget* w = form_->isPage(*c) ? widgetFor(*c) : nullptr;
        if (w) sets[{c->name(), c->container()}].push_back(w);
    }
    for (auto& [key, pages] : sets) {
        QSize largest(0, 0);
        for (QWidget* w : pages)
            largest = largest.expandedTo(w->sizeHint()).expandedTo(w->minimumSizeHint());
        // Each takes the same share of any room to spare, so that what stands around them
        // stays in place whichever is shown.
        for (QWidget* w : pages) {
            if (w->minimumSize() != largest) w->setMinimumSize(largest);
            w->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        }
    }
}

void FormView::openOn(QWidget* owner) {
    if (!window_) return;
    if (QScreen* screen = screenFor(owner); screen && window_->screen() != screen)
        window_->setScreen(screen);
    // Measured as it will be drawn: styles, fonts and every pending layout in place.
    window_->ensurePolished();
    flushLayouts();
    holdPageRoom();
    fitWindow();
    if (scroll_) {
        scroll_->verticalScrollBar()->setValue(0);
        scroll_->horizontalScrollBar()->setValue(0);
    }
    if (window_->windowState() != Qt::WindowNoState) return;
    centreOn(*window_, owner);
}

void FormView::pageShown(const ui::Control& page) {
    QWidget* w = widgetFor(page);
    if (!form_ || !w || !scroll_ || !content_ || !w->isVisibleTo(content_)) return;
    if (content_->layout()) content_->layout()->activate();
    // Opens at its top: brought into sight when it is scrolled away.
    QScrollBar* bar = scroll_->verticalScrollBar();
    int top = w->mapTo(content_, QPoint(0, 0)).y();
    if (top < bar->value() || top >= bar->value() + scroll_->viewport()->height())
        bar->setValue(top);
}

}  // namespace tolvane::qt
