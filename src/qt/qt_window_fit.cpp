// Where a window of the front end opens and how large it may be. A window manager may place a
// window where it likes and draws a frame of its own size; the window is placed by its inside,
// so that what the frame turns out to be does not move it off its owner's centre.
#include "qt/qt_window_fit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace tolvane::qt {

namespace {

// A title bar and the borders, before the window system has drawn them.
const QMargins kUsualFrame(4, 36, 4, 4);
// A desktop panel the screen does not set apart.
constexpr int kPanelStrip = 40;

// The start of a span of length size centred on [from, from + length), kept in [low, high).
int centred(int from, int length, int size, int low, int high) {
    int start = from + (length - size) / 2;
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

void centreOn(QWidget& window, const QWidget* owner) {
    bool ownerShown = owner && owner != &window && owner->isVisible() && !owner->isMinimized();
    if (!ownerShown) owner = nullptr;
    QScreen* screen = screenFor(owner);
    if (!screen) return;
    if (window.screen() != screen) window.setScreen(screen);
    QRect area = screen->availableGeometry();
    QRect over = owner ? owner->geometry() : area;
    QMargins frame = frameAround(window);
    // The frame stays inside the area; where it cannot, its top left corner does, with the title
    // bar and its close box.
    QRect inside = area.marginsRemoved(frame);
    QSize size = window.size();
    int x = centred(over.left(), over.width(), size.width(), inside.left(), inside.right() + 1);
    int y = centred(over.top(), over.height(), size.height(), inside.top(), inside.bottom() + 1);
    window.setGeometry(x, y, size.width(), size.height());
}

void keepOnScreen(QWidget& window) {
    QScreen* screen = window.screen();
    if (!screen) return;
    QRect inside = screen->availableGeometry().marginsRemoved(frameAround(window));
    QRect now = window.geometry();
    int x = std::max(inside.left(), std::min(now.left(), inside.right() + 1 - now.width()));
    int y = std::max(inside.top(), std::min(now.top(), inside.bottom() + 1 - now.height()));
    if (x != now.left() || y != now.top()) window.setGeometry(x, y, now.width(), now.height());
}

LayoutFollower::LayoutFollower(QWidget* widget, std::function<void()> laidOut)
    : QObject(widget), laidOut_(std::move(laidOut)) {
    widget->installEventFilter(this);
}

bool LayoutFollower::eventFilter(QObject* watched, QEvent* event) {
    // Shown, its widgets take their style and may ask for more room than before.
    if (event->type() != QEvent::LayoutRequest && event->type() != QEvent::Show) return false;
    // The layout does its work on this very event: done here first, it is there to be measured.
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->layout()) widget->layout()->activate();
    if (laidOut_) laidOut_();
    return false;
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
