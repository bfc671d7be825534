// Drawing of picture boxes and the mapping of model fonts to Qt fonts. Reads nothing of the
// model itself: the form view hands over what to draw.
#include "qt/qt_picture_view.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>

#include "platform/text.h"

namespace tolvane::qt {

namespace {

bool fixedPitchName(const std::string& name) {
    for (const char* face : {"Courier", "Mono", "Console", "Consolas", "Fixedsys", "Terminal"}) {
        if (InStr(1, name, face) > 0) return true;
    }
    return false;
}

// The face Qt actually resolves decides, not the name asked for: a machine may answer a
// fixed-pitch name with a face it reports as proportional.
QFont fixedPitchFont(QFont font) {
    font.setStyleHint(QFont::Monospace);
    if (QFontInfo(font).fixedPitch()) return font;
    font.setFamily(QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    if (QFontInfo(font).fixedPitch()) return font;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isFixedPitch(family)) continue;
        font.setFamily(family);
        if (QFontInfo(font).fixedPitch()) return font;
    }
    return font;
}

}  // namespace

QFont modelFont(const ui::Font& font, QFont base) {
    static const ui::Font standard;
    bool named = !equalText(font.name, standard.name) && !font.name.empty();
    if (named) base.setFamily(QString::fromStdString(font.name));
    if (font.size > 0 && font.size != standard.size) base.setPointSizeF(font.size);
    base.setBold(font.bold);
    base.setItalic(font.italic);
    base.setUnderline(font.underline);
    base.setStrikeOut(font.strikethrough);
    return named && fixedPitchName(font.name) ? fixedPitchFont(base) : base;
}

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void PictureView::setPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void PictureView::setLines(const QStringList& lines) {
    if (lines == lines_) return;
    lines_ = lines;
    update();
}

void PictureView::setBackground(const QColor& colour, bool paint) {
    background_ = colour;
    paintBackground_ = paint;
    setAutoFillBackground(false);
    update();
}

void PictureView::setDesignedSize(const QSize& size) {
    if (size == designed_) return;
    designed_ = size;
    updateGeometry();
}

QSize PictureView::sizeHint() const {
    if (!layout() && designed_.isValid() && !designed_.isEmpty()) return designed_;
    return QWidget::sizeHint();
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (paintBackground_) painter.fillRect(rect(), background_);
    if (!picture_.isNull()) painter.drawPixmap(0, 0, picture_);
    if (lines_.isEmpty()) return;
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    QFontMetrics metrics(font());
    int y = metrics.ascent();
    for (const QString& line : lines_) {
        if (y - metrics.ascent() > height()) break;
        painter.drawText(0, y, line);
        y += metrics.lineSpacing();
    }
}

}  // namespace tolvane::qt
