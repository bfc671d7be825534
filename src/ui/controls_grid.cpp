// Cell, row and column rules of the grid. Nothing here draws.
#include "ui/controls_grid.h"

#include <algorithm>
#include <string>

#include "platform/numbered_error.h"
#include "ui/form.h"

namespace tolvane::ui {

Grid::Grid(Form& form, std::string name, int index)
    : Control(form, ControlKind::Grid, std::move(name), index),
      cells_(2, std::vector<std::string>(2)),
      colWidths_(2, -1) {}

void Grid::checkCell(int row, int col) const {
    if (row < 0 || row >= rows() || col < 0 || col >= cols_) {
        throw NumberedError(381, "Subscript out of range", displayName());
    }
}

void Grid::setRows(int rows) {
    if (rows < 0 || rows < fixedRows_) invalidPropertyValue(*this);
    cells_.resize(static_cast<std::size_t>(rows),
                  std::vector<std::string>(static_cast<std::size_t>(cols_)));
    row_ = std::min(row_, std::max(rows - 1, 0));
    changed(Property::Cells);
}

void Grid::setCols(int cols) {
    if (cols < 0 || cols < fixedCols_) invalidPropertyValue(*this);
    cols_ = cols;
    for (auto& r : cells_) r.resize(static_cast<std::size_t>(cols));
    colWidths_.resize(static_cast<std::size_t>(cols), -1);
    col_ = std::min(col_, std::max(cols - 1, 0));
    changed(Property::Cells);
}

void Grid::setFixedRows(int n) {
    if (n < 0 || (n > 0 && n >= rows())) invalidPropertyValue(*this);
    fixedRows_ = n;
    if (row_ < n) row_ = n;
    changed(Property::Cells);
}

void Grid::setFixedCols(int n) {
    if (n < 0 || (n > 0 && n >= cols_)) invalidPropertyValue(*this);
    fixedCols_ = n;
    if (col_ < n) col_ = n;
    changed(Property::Cells);
}

const std::string& Grid::textMatrix(int row, int col) const {
    checkCell(row, col);
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void Grid::setTextMatrix(int row, int col, std::string text) {
    checkCell(row, col);
    cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(text);
    changed(Property::Cells);
}

void Grid::setCells(std::vector<std::vector<std::string>> cells) {
    const std::size_t cols = cells.empty() ? 0 : cells.front().size();
    if (static_cast<int>(cells.size()) < fixedRows_ || static_cast<int>(cols) < fixedCols_)
        invalidPropertyValue(*this);
    for (auto& r : cells) r.resize(cols);
    cells_ = std::move(cells);
    cols_ = static_cast<int>(cols);
    colWidths_.resize(cols, -1);
    row_ = std::min(row_, std::max(rows() - 1, 0));
    col_ = std::min(col_, std::max(cols_ - 1, 0));
    changed(Property::Cells);
}

void Grid::addItem(std::string_view tabbedText, int index) {
    if (index > rows()) invalidPropertyValue(*this);
    std::vector<std::string> cells(static_cast<std::size_t>(cols_));
    std::size_t col = 0;
    std::size_t start = 0;
    while (col < cells.size()) {
        std::size_t tab = tabbedText.find('\t', start);
        cells[col++] = std::string(tabbedText.substr(
            start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    if (index < 0) {
        cells_.push_back(std::move(cells));
    } else {
        cells_.insert(cells_.begin() + index, std::move(cells));
    }
    changed(Property::Cells);
}

void Grid::removeItem(int row) {
    checkCell(row, 0);
    if (rows() - fixedRows_ <= 1 && row >= fixedRows_) {
        throw NumberedError(30015, "Cannot remove last non-fixed row", displayName());
    }
    cells_.erase(cells_.begin() + row);
    if (row_ >= rows()) row_ = std::max(rows() - 1, 0);
    changed(Property::Cells);
}

void Grid::clear() {
    for (auto& r : cells_) {
        for (auto& c : r) c.clear();
    }
    changed(Property::Cells);
}

void Grid::setRow(int row) {
    checkCell(row, 0);
    row_ = row;
    changed(Property::Selection);
}

void Grid::setCol(int col) {
    checkCell(0, col);
    col_ = col;
    changed(Property::Selection);
}

double Grid::colWidth(int col) const {
    checkCell(0, col);
    return colWidths_[static_cast<std::size_t>(col)];
}

void Grid::setColWidth(int col, double width) {
    checkCell(0, col);
    colWidths_[static_cast<std::size_t>(col)] = width;
    changed(Property::Geometry);
}

}  // namespace tolvane::ui
