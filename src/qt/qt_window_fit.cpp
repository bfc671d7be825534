// Where a window of the front end opens and how large it may be. A window manager may place a
// window where it likes and draws a frame of its own size; the window is placed by its inside,
// so that what the frame turns out to be does not move it off its owner's centre.
#include "qt/qt_window_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace tolvane::qt {

namespace {

// A title bar and the borders, before the window system has drawn them.
const QMargins kUsualFrame(4, 36, 4, 4);
// A desktop panel the screen does not set apart.
constexpr int kPanelStrip = 40;

// The start of a span of length size, moved the least that keeps it in [low, high), or at low.
int keptIn(int start, int size, int low, int high) {
    return std::max(low, std::min(start, high - size));
}

}  // namespace

QMargins frameAround(const QWidget& window) {
    QMargins frame = kUsualFrame;
    if (!window.testAttribute(Qt::WA_WState_Created)) return frame;
    QRect outer = window.frameGeometry();
    QRect inner = window.geometry();
    return QMargins(std::max(frame.left(), inner.left() - outer.left()),
                    std::max(frame.top(), inner.top() - outer.top()),
                    std::max(frame.right(), outer.right() - inner.right()),
                    std::max(frame.bottom(), outer.bottom() - inner.bottom()));
}

QSize roomForInside(const QWidget& window, const QScreen& screen) {
    QRect area = screen.availableGeometry();
    if (area == screen.geometry()) area.setHeight(area.height() - kPanelStrip);
    QSize room = area.size().shrunkBy(frameAround(window));
    return room.expandedTo(QSize(1, 1));
}

QScreen* screenFor(const QWidget* owner) {
    if (owner && owner->screen()) return owner->screen();
    return QGuiApplication::primaryScreen();
}

QPoint centreFor(const QWidget& window, const QWidget* owner) {
    if (owner && owner != &window && owner->isVisible() && !owner->isMinimized())
        return owner->geometry().center();
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().center() : QPoint();
}

void centreAt(QWidget& window, const QPoint& centre) {
    QScreen* screen = window.screen();
    if (!screen) return;
    // The frame stays inside the area; where it cannot, its top left corner does, with the title
    // bar and its close box.
    QRect inside = screen->availableGeometry().marginsRemoved(frameAround(window));
    QSize size = window.size();
    int x = keptIn(centre.x() - (size.width() - 1) / 2, size.width(), inside.left(),
                   inside.right() + 1);
    int y = keptIn(centre.y() - (size.height() - 1) / 2, size.height(), inside.top(),
                   inside.bottom() + 1);
    if (QPoint(x, y) != window.geometry().topLeft() || !window.testAttribute(Qt::WA_Moved))
        window.setGeometry(x, y, size.width(), size.height());
}

FittingTabBar::FittingTabBar(QWidget* parent) : QTabBar(parent) {
    setDrawBase(true);
    setExpanding(false);
    setUsesScrollButtons(true);
    setElideMode(Qt::ElideNone);
}

void FittingTabBar::setDesignedWidth(int pixels) {
    if (pixels == designedWidth_) return;
    designedWidth_ = pixels;
    updateGeometry();
}

QSize FittingTabBar::sizeHint() const {
    QSize hint = QTabBar::sizeHint();
    if (designedWidth_ > 0 && hint.width() > designedWidth_) hint.setWidth(designedWidth_);
    return hint;
}

}  // namespace tolvane::qt
