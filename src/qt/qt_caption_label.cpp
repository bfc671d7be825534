// A caption that asks for one line and gives way to wrapping only where its window has no more
// room; its height then follows its width.
#include "qt/qt_caption_label.h"

#include <algorithm>

namespace tolvane::qt {

CaptionLabel::CaptionLabel(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

void CaptionLabel::setNarrowest(int pixels) {
    if (pixels == narrowest_) return;
    narrowest_ = pixels;
    updateGeometry();
}

QSize CaptionLabel::oneLine() const {
    QSize text = fontMetrics().size(Qt::TextSingleLine, QLabel::text());
    QMargins around = contentsMargins();
    int extra = 2 * margin();
    return QSize(text.width() + around.left() + around.right() + extra,
                 text.height() + around.top() + around.bottom() + extra);
}

QSize CaptionLabel::sizeHint() const {
    if (narrowest_ <= 0 || !wordWrap()) return QLabel::sizeHint();
    return oneLine();
}

QSize CaptionLabel::minimumSizeHint() const {
    if (narrowest_ <= 0 || !wordWrap()) return QLabel::minimumSizeHint();
    QSize line = oneLine();
    return QSize(std::min(narrowest_, line.width()), line.height());
}

}  // namespace tolvane::qt
