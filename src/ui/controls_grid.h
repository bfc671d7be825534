// The grid of text cells with fixed heading rows and columns. Never draws.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/control.h"

namespace tolvane::ui {

// A flexible grid of text cells; fixed rows and columns are headings.
class Grid : public Control {
  public:
    Grid(Form& form, std::string name, int index);

    int rows() const { return static_cast<int>(cells_.size()); }
    int cols() const { return cols_; }
    void setRows(int rows);
    void setCols(int cols);
    int fixedRows() const { return fixedRows_; }
    int fixedCols() const { return fixedCols_; }
    void setFixedRows(int n);  // must stay below rows, else 380
    void setFixedCols(int n);
    const std::string& textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, std::string text);
    // Every cell at once, one change: a display redraws a whole list once, not once per cell.
    // The grid takes the shape of `cells` (rows cut or padded to the first row's width).
    void setCells(std::vector<std::vector<std::string>> cells);
    // Adds a row from Tab-separated texts, at the end or before row index.
    void addItem(std::string_view tabbedText, int index = -1);
    // Raises 30015 when it would remove the last row that is not fixed.
    void removeItem(int row);
    void clear();  // empties every cell, keeps the shape
    int row() const { return row_; }
    int col() const { return col_; }
    void setRow(int row);
    void setCol(int col);
    const std::string& text() const { return textMatrix(row_, col_); }
    void setText(std::string text) { setTextMatrix(row_, col_, std::move(text)); }
    double colWidth(int col) const;
    void setColWidth(int col, double width);

  private:
    void checkCell(int row, int col) const;
    std::vector<std::vector<std::string>> cells_;
    std::vector<double> colWidths_;
    int cols_ = 2;
    int fixedRows_ = 1;
    int fixedCols_ = 1;
    int row_ = 1;
    int col_ = 1;
};

}  // namespace tolvane::ui
