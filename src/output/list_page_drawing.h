// The one page drawing of a printed list (cairo and pango): title and page number, captions,
// a rule and the rows in the chosen font, on the chosen sheet. Every destination draws its pages
// here, one at a time; nothing else lays a page out. Never writes a file nor shows a window.
#pragma once

#include <memory>
#include <string>
#include <vector>

typedef struct _cairo cairo_t;

namespace tolvane {

class TextShapes;

// The list as it is printed: the captions, and the rows' texts in the same column order.
struct PrintList {
    std::string title;
    std::vector<std::string> captions;
    std::vector<std::vector<std::string>> rows;
};

struct PrintFont {
    std::string family = "Arial";
    double size = 10;  // points
    bool bold = false;
    bool italic = false;
};

// A sheet in points, held upright.
struct Paper {
    double width = 595.276;
    double height = 841.89;
};

// The sheet of a paper name as printers give them ("A4", "Letter", "iso_a5_148x210mm", "iso_a4");
// false when the name is unknown.
bool paperNamed(const std::string& name, Paper& paper);

struct PageSetup {
    bool landscape = false;
    PrintFont font;
    Paper paper;

    double widthPoints() const { return landscape ? paper.height : paper.width; }
    double heightPoints() const { return landscape ? paper.width : paper.height; }
};

// Columns are as wide as their widest text, measured in the font; when the line is too narrow
// the widest narrow first (not below three characters) and their texts are cut. An empty list
// still has one page, with its headings. Each distinct text is shaped once, only as far as a
// line can show it, and kept while the cache's fixed budget allows, so that memory stays the
// same however long the list and its values.
class ListPageDrawing {
  public:
    // The list is measured here and read again at each page: it must outlive the drawing.
    ListPageDrawing(const PrintList& list, const PageSetup& setup);
    ~ListPageDrawing();
    ListPageDrawing(const ListPageDrawing&) = delete;
    ListPageDrawing& operator=(const ListPageDrawing&) = delete;

    int pageCount() const { return pages_; }
    double widthPoints() const { return setup_.widthPoints(); }
    double heightPoints() const { return setup_.heightPoints(); }

    // Draws page n (from 1) on a white sheet at the origin, in points.
    void draw(cairo_t* cr, int n) const;

  private:
    const PrintList& list_;
    PageSetup setup_;
    std::unique_ptr<TextShapes> shapes_;
    std::vector<double> widths_;
    std::vector<bool> cut_;
    // The most characters of a text a line can show; the rest is never shaped.
    std::size_t shownChars_ = 0;
    double gap_ = 0;
    double line_ = 0;
    int perPage_ = 1;
    int pages_ = 1;
};

}  // namespace tolvane
