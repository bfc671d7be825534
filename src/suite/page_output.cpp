// PDF documents and preview images of drawn pages, on cairo surfaces.
// Never holds more than the page being drawn.
#include "suite/page_output.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

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

PdfPages::PdfPages(SaveFile& file, const std::string& title)
    : surface_(std::make_unique<Surface>()) {
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
    cairo_surface_flush(surface);
    const cairo_status_t status = cairo_surface_status(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        cairoFailed(status, "Impossibile disegnare la pagina");
    }
    // An uncompressed 32-bit bitmap: a page is shown and kept at once, where compressing it
    // would cost more than drawing it. Its rows are cairo's own (blue, green, red, unused).
    const std::uint32_t row = static_cast<std::uint32_t>(width) * 4;
    const std::uint32_t size = 54 + row * static_cast<std::uint32_t>(height);
    auto picture = std::make_shared<ui::Picture>();
    std::string& bmp = picture->data;
    bmp.reserve(size);
    auto put = [&bmp](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) bmp += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    bmp += "BM";
    put(size, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(static_cast<std::uint32_t>(width), 4);
    put(static_cast<std::uint32_t>(height), 4);
    put(1, 2);
    put(32, 2);
    put(0, 4);
    put(row * static_cast<std::uint32_t>(height), 4);
    put(3780, 4);  // 96 pixels to the inch
    put(3780, 4);
    put(0, 4);
    put(0, 4);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = height - 1; y >= 0; --y) {
        bmp.append(reinterpret_cast<const char*>(data + static_cast<std::ptrdiff_t>(y) * stride),
                   row);
    }
    cairo_surface_destroy(surface);
    picture->format = "bmp";
    picture->width = width;
    picture->height = height;
    return picture;
}

}  // namespace tolvane
