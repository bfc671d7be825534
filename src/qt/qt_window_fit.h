// Where a window of the front end opens and how large it may be: never larger than the room its
// screen leaves, centred on the window it was opened from or on the screen, and a tab strip that
// scrolls its tabs instead of widening the window. Never reads or changes the window model.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QSize>
#include <QTabBar>

class QScreen;
class QWidget;

namespace tolvane::qt {

// The frame a top-level window gets around its inside: what the window system drew around it
// once shown, never less than the room a title bar and borders usually take.
QMargins frameAround(const QWidget& window);

// The largest inside a top-level window may have on the screen: the screen's available area less
// the window's frame, and less a strip for a desktop panel when the screen sets no area apart
// (the panel may be one the window system does not report, or hide itself).
QSize roomForInside(const QWidget& window, const QScreen& screen);

// The screen a window opened from owner goes on: the owner's, else the primary one.
QScreen* screenFor(const QWidget* owner);

// The point a window opened from owner stands centred on: the owner's centre (a shown window
// that is not minimised), else the centre of the window's screen.
QPoint centreFor(const QWidget& window, const QWidget* owner);

// Moves a top-level window so that its inside stands centred on the point, then the least that
// puts its frame inside its screen's available area (its top left corner, when it is larger).
void centreAt(QWidget& window, const QPoint& centre);

// Centred on the owner, or on the screen.
inline void centreOn(QWidget& window, const QWidget* owner) {
    centreAt(window, centreFor(window, owner));
}

// A tab strip that asks for no more width than it was designed with: the tabs that do not fit
// scroll. It takes more width when its window is made wider.
class FittingTabBar : public QTabBar {
  public:
    explicit FittingTabBar(QWidget* parent);
    void setDesignedWidth(int pixels);
    QSize sizeHint() const override;

  private:
    int designedWidth_ = 0;
};

}  // namespace tolvane::qt
