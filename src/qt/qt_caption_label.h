// The label of a window's caption: one line where its window has room, wrapped down to the width
// it was designed with where the window, which keeps the size it opened with, has not. Never
// reads the window model.
#pragma once

#include <QLabel>

namespace tolvane::qt {

class CaptionLabel : public QLabel {
  public:
    explicit CaptionLabel(QWidget* parent);
    // The narrowest it gets, wrapping, for lack of room; 0: it keeps its one line, or wraps as
    // any label does when it is set to wrap.
    void setNarrowest(int pixels);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  private:
    QSize oneLine() const;

    int narrowest_ = 0;
};

}  // namespace tolvane::qt
