// The grid's table: designed column widths, the last column shown widened to the table's edge.
#include "qt/qt_grid_table.h"

#include <QEvent>
#include <utility>

namespace tolvane::qt {

void GridTable::setColumnWidths(std::vector<int> widths) {
    if (widths == widths_) return;
    widths_ = std::move(widths);
    fillWidth();
}

bool GridTable::viewportEvent(QEvent* event) {
    const bool handled = QTableWidget::viewportEvent(event);
    // The viewport follows the table's size, and narrows when the bar to scroll down comes.
    if (event->type() == QEvent::Resize) fillWidth();
    return handled;
}

void GridTable::fillWidth() {
    const int count = std::min(columnCount(), static_cast<int>(widths_.size()));
    int last = -1;
    int total = 0;
    for (int col = 0; col < count; ++col) {
        total += widths_[col];
        if (widths_[col] > 0) last = col;
    }
    const int spare = viewport()->width() - total;
    for (int col = 0; col < count; ++col) {
        const int width = widths_[col] + (col == last && spare > 0 ? spare : 0);
        if (columnWidth(col) != width) setColumnWidth(col, width);
    }
}

}  // namespace tolvane::qt
