// How the front end shows a grid: a table whose columns keep the widths the window gives them,
// the last column shown taking whatever room the table has to spare. Only draws what the model
// holds; never decides a width of its own beyond that spare room.
#pragma once

#include <QTableWidget>
#include <vector>

namespace tolvane::qt {

class GridTable : public QTableWidget {
  public:
    explicit GridTable(QWidget* parent) : QTableWidget(parent) {}

    // The widths the window gives its columns, in pixels (0: hidden).
    void setColumnWidths(std::vector<int> widths);

  protected:
    bool viewportEvent(QEvent* event) override;

  private:
    // A long value in the last column (a printer's address, a database's path) shows whole
    // where the table is wider than its columns, without a bar to scroll across.
    void fillWidth();

    std::vector<int> widths_;
};

}  // namespace tolvane::qt
