// How the front end shows a picture box (its picture and the text printed into it, in the box's
// font and colours) and how a model font becomes a Qt font. Only draws what the model holds;
// never keeps drawn content of its own.
#pragma once

#include <QFont>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

#include "ui/control.h"

namespace tolvane::qt {

// The model's font on a widget's font: family and size only where the control's font differs
// from the model's standard one (which stands for the desktop's own); a fixed-pitch name that
// resolves to a face Qt does not report as fixed pitch becomes the system's fixed-pitch font,
// so that columns stay in line.
QFont modelFont(const ui::Font& font, QFont base);

// A picture box: background, picture at the top left, then the printed lines one under the
// other. Its size hint is the size it was designed with.
class PictureView : public QWidget {
  public:
    explicit PictureView(QWidget* parent);

    void setPicture(const QPixmap& picture);
    void setLines(const QStringList& lines);
    void setBackground(const QColor& colour, bool paint);
    void setDesignedSize(const QSize& size);
    const QStringList& lines() const { return lines_; }
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
    QStringList lines_;
    QColor background_;
    bool paintBackground_ = false;
    QSize designed_;
};

}  // namespace tolvane::qt
