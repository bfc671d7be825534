// PDF documents and preview images of drawn pages, on cairo surfaces.
// Never holds more than the page being drawn.
#include "output/page_output.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <vector>

#include "output/list_page_drawing.h"
#include "platform/numbered_error.h"
#include "platform/save_file.h"
#include "platform/utf8_check.h"

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

void appendPng(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), length);
}

// An 8-bit grey PNG, lightly compressed: a page is shown and kept at once, and text on white
// compresses well at the fastest level. False when libpng fails.
bool greyPng(const unsigned char* pixels, int width, int height, std::string& out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, appendPng, nullptr);
    png_set_compression_level(png, 1);
    png_set_filter(png, 0, PNG_FILTER_NONE);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        png_write_row(png, const_cast<png_bytep>(pixels + static_cast<std::ptrdiff_t>(y) * width));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
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
    std::string shown = title;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (const std::size_t n = noncharacterAt(shown, i)) shown.replace(i, n, "\xEF\xBF\xBD");
    }
    cairo_pdf_surface_set_metadata(surface_->surface, CAIRO_PDF_METADATA_TITLE, shown.c_str());
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

PageImage pageImage(const ListPageDrawing& drawing, int page, double scale) {
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
    // The page is black on white: one grey channel holds it.
    std::vector<unsigned char> grey(static_cast<std::size_t>(width) * height);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        unsigned char* out = grey.data() + static_cast<std::ptrdiff_t>(y) * width;
        for (int x = 0; x < width; ++x) out[x] = static_cast<unsigned char>((row[x] >> 8) & 0xFF);
    }
    cairo_surface_destroy(surface);
    PageImage image;
    if (!greyPng(grey.data(), width, height, image.png)) {
        throw NumberedError(errnum::FileAccess, "Impossibile disegnare la pagina", kSource);
    }
    image.width = width;
    image.height = height;
    return image;
}

}  // namespace tolvane
