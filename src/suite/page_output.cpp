// PDF documents and preview images of drawn pages, on cairo surfaces.
// Never holds more than the page being drawn.
#include "suite/page_output.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "platform/numbered_error.h"
#include "platform/save_file.h"
#include "suite/list_page_drawing.h"
#include "ui/controls.h"

namespace tolvane {

namespace {

constexpr const char* kSource = "MotoreStampaLista";

cairo_status_t toSaveFile(void* closure, const unsigned char* data, unsigned int length) {
    try {
        static_cast<SaveFile*>(closure)->write(
            std::string_view(reinterpret_cast<const char*>(data), length));
        return CAIRO_STATUS_SUCCESS;
    } catch (const NumberedError&) {
        return CAIRO_STATUS_WRITE_ERROR;
    }
}

cairo_status_t toString(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

[[noreturn]] void cairoFailed(cairo_status_t status, const std::string& what) {
    throw NumberedError(errnum::FileAccess, what + " (" + cairo_status_to_string(status) + ")",
                        kSource);
}

}  // namespace

struct PdfPages::Surface {
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    SaveFile* file = nullptr;
    ~Surface() {
        if (cr != nullptr) cairo_destroy(cr);
        if (surface != nullptr) cairo_surface_destroy(surface);
    }
};

PdfPages::PdfPages(SaveFile& file, const std::string& title) : surface_(std::make_unique<Surface>()) {
    surface_->file = &file;
    surface_->surface = cairo_pdf_surface_create_for_stream(toSaveFile, &file, 595.276, 841.89);
    cairo_pdf_surface_set_metadata(surface_->surface, CAIRO_PDF_METADATA_TITLE, title.c_str());
    cairo_pdf_surface_set_metadata(surface_->surface, CAIRO_PDF_METADATA_CREATOR, "Tolvane");
    surface_->cr = cairo_create(surface_->surface);
}

PdfPages::~PdfPages() = default;

void PdfPages::add(const ListPageDrawing& drawing, int page) {
    cairo_pdf_surface_set_size(surface_->surface, drawing.widthPoints(), drawing.heightPoints());
    drawing.draw(surface_->cr, page);
    cairo_show_page(surface_->cr);
    const cairo_status_t status = cairo_status(surface_->cr);
    if (status != CAIRO_STATUS_SUCCESS) {
        cairoFailed(status, "Impossibile scrivere il file " + surface_->file->target());
    }
}

void PdfPages::finish() {
    cairo_destroy(surface_->cr);
    surface_->cr = nullptr;
    cairo_surface_finish(surface_->surface);
    const cairo_status_t status = cairo_surface_status(surface_->surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        cairoFailed(status, "Impossibile scrivere il file " + surface_->file->target());
    }
}

std::shared_ptr<ui::Picture> pageImage(const ListPageDrawing& drawing, int page, double scale) {
    const double pixels = scale * 96.0 / 72.0;
    const int width = std::max(1, static_cast<int>(std::lround(drawing.widthPoints() * pixels)));
    const int height = std::max(1, static_cast<int>(std::lround(drawing.heightPoints() * pixels)));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, pixels, pixels);
    drawing.draw(cr, page);
    cairo_destroy(cr);
    auto picture = std::make_shared<ui::Picture>();
    const cairo_status_t status = cairo_surface_write_to_png_stream(surface, toString, &picture->data);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) cairoFailed(status, "Impossibile disegnare la pagina");
    picture->format = "png";
    picture->width = width;
    picture->height = height;
    return picture;
}

}  // namespace tolvane
