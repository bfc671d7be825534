// Where the drawn pages go: a PDF document written page by page into a file being saved, and a
// page image for the on-screen preview. Never lays a page out: ListPageDrawing does.
#pragma once

#include <memory>
#include <string>

namespace tolvane {

class ListPageDrawing;
class SaveFile;

// A PDF document whose pages go into file as they are added; each page is as large as its
// drawing's sheet. Raises 75 when cairo cannot write it.
class PdfPages {
  public:
    PdfPages(SaveFile& file, const std::string& title);
    ~PdfPages();
    PdfPages(const PdfPages&) = delete;
    PdfPages& operator=(const PdfPages&) = delete;

    void add(const ListPageDrawing& drawing, int page);
    // Ends the document; the file may then be committed.
    void finish();

  private:
    struct Surface;
    std::unique_ptr<Surface> surface_;
};

// A page drawn for the screen: a grey PNG file's bytes and its size in pixels.
struct PageImage {
    std::string png;
    int width = 0;
    int height = 0;
};

// Page n drawn at scale (1: 96 pixels to the inch).
PageImage pageImage(const ListPageDrawing& drawing, int page, double scale);

}  // namespace tolvane
