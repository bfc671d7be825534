// Lays a list out on its sheet with measured text and draws one page at a time.
// Never keeps a page: each is drawn again from the list when it is asked for.
#include "output/list_page_drawing.h"

#include <cairo.h>
#include <cups/cups.h>
#include <pango/pangocairo.h>

#include <algorithm>

namespace tolvane {

namespace {

constexpr double kMargin = 36;    // half an inch
constexpr int kHeadingLines = 4;  // title, blank, captions, rule

std::string oneLine(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    }
    return out;
}

const std::string& cellOf(const std::vector<std::string>& row, std::size_t i) {
    static const std::string empty;
    return i < row.size() ? row[i] : empty;
}

}  // namespace

bool paperNamed(const std::string& name, Paper& paper) {
    pwg_media_t* media = pwgMediaForPPD(name.c_str());
    if (media == nullptr) media = pwgMediaForPWG(name.c_str());
    if (media == nullptr) media = pwgMediaForLegacy(name.c_str());
    if (media == nullptr || media->width <= 0 || media->length <= 0) return false;
    paper.width = media->width * 72.0 / 2540.0;
    paper.height = media->length * 72.0 / 2540.0;
    return true;
}

// One pango context in points (72 units to the inch) with unhinted metrics, so that a text is
// as wide on every surface as it was when the columns were measured.
struct ListPageDrawing::Text {
    PangoContext* context = nullptr;
    PangoLayout* layout = nullptr;
    PangoLayout* bold = nullptr;

    explicit Text(const PrintFont& font) {
        context = pango_font_map_create_context(pango_cairo_font_map_get_default());
        pango_cairo_context_set_resolution(context, 72);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        pango_cairo_context_set_font_options(context, options);
        cairo_font_options_destroy(options);
        PangoFontDescription* description = pango_font_description_new();
        pango_font_description_set_family(description,
                                          font.family.empty() ? "Arial" : font.family.c_str());
        pango_font_description_set_size(
            description, static_cast<int>((font.size > 0 ? font.size : 10) * PANGO_SCALE));
        pango_font_description_set_weight(description,
                                          font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
        pango_font_description_set_style(description,
                                         font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
        layout = pango_layout_new(context);
        pango_layout_set_font_description(layout, description);
        pango_layout_set_single_paragraph_mode(layout, TRUE);
        pango_font_description_set_weight(description, PANGO_WEIGHT_BOLD);
        bold = pango_layout_new(context);
        pango_layout_set_font_description(bold, description);
        pango_layout_set_single_paragraph_mode(bold, TRUE);
        pango_font_description_free(description);
    }
    ~Text() {
        g_object_unref(bold);
        g_object_unref(layout);
        g_object_unref(context);
    }
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;

    double width(PangoLayout* l, const std::string& text) const {
        pango_layout_set_text(l, text.data(), static_cast<int>(text.size()));
        int w = 0;
        int h = 0;
        pango_layout_get_size(l, &w, &h);
        return static_cast<double>(w) / PANGO_SCALE;
    }
    double height() const {
        pango_layout_set_text(layout, "Ág", -1);
        int w = 0;
        int h = 0;
        pango_layout_get_size(layout, &w, &h);
        return static_cast<double>(h) / PANGO_SCALE;
    }
    void show(cairo_t* cr, PangoLayout* l, const std::string& text, double x, double y) const {
        pango_layout_set_text(l, text.data(), static_cast<int>(text.size()));
        cairo_move_to(cr, x, y);
        pango_cairo_show_layout(cr, l);
    }
};

ListPageDrawing::ListPageDrawing(const PrintList& list, const PageSetup& setup)
    : list_(list), setup_(setup), text_(std::make_unique<Text>(setup.font)) {
    const std::size_t n = list.captions.size();
    widths_.assign(n, 0);
    cut_.assign(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        widths_[i] = text_->width(text_->bold, oneLine(list.captions[i]));
        for (const auto& row : list.rows) {
            const std::string& cell = cellOf(row, i);
            if (!cell.empty())
                widths_[i] = std::max(widths_[i], text_->width(text_->layout, oneLine(cell)));
        }
    }
    gap_ = text_->width(text_->layout, "  ");
    line_ = std::max(1.0, text_->height());
    const double narrowest = text_->width(text_->layout, "MMM");
    const double room = setup_.widthPoints() - 2 * kMargin;
    double total = n == 0 ? 0 : gap_ * static_cast<double>(n - 1);
    for (double w : widths_) total += w;
    // The widest columns give way first: every column wider than a level is cut to it, the
    // level found so that the line fits (or the narrowest allowed, when it cannot).
    if (total > room && n > 0) {
        double low = narrowest;
        double high = *std::max_element(widths_.begin(), widths_.end());
        auto lineAt = [&](double level) {
            double sum = gap_ * static_cast<double>(n - 1);
            for (double w : widths_) sum += std::min(w, level);
            return sum;
        };
        for (int k = 0; k < 40 && high - low > 0.01; ++k) {
            const double mid = (low + high) / 2;
            (lineAt(mid) > room ? high : low) = mid;
        }
        for (std::size_t i = 0; i < n; ++i) {
            if (widths_[i] > low) {
                widths_[i] = low;
                cut_[i] = true;
            }
        }
    }
    const double body = setup_.heightPoints() - 2 * kMargin;
    perPage_ = std::max(1, static_cast<int>(body / line_) - kHeadingLines);
    const std::size_t rows = list.rows.size();
    pages_ = rows == 0 ? 1 : static_cast<int>((rows + perPage_ - 1) / perPage_);
}

ListPageDrawing::~ListPageDrawing() = default;

void ListPageDrawing::draw(cairo_t* cr, int page) const {
    const double width = setup_.widthPoints();
    cairo_save(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_rectangle(cr, 0, 0, width, setup_.heightPoints());
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    pango_cairo_update_context(cr, text_->context);
    pango_layout_context_changed(text_->layout);
    pango_layout_context_changed(text_->bold);

    const double right = width - kMargin;
    double y = kMargin;
    const std::string number = "Pag. " + std::to_string(page);
    const double numberWidth = text_->width(text_->layout, number);
    cairo_save(cr);
    cairo_rectangle(cr, kMargin, y, std::max(0.0, right - kMargin - numberWidth - gap_), line_);
    cairo_clip(cr);
    text_->show(cr, text_->bold, oneLine(list_.title), kMargin, y);
    cairo_restore(cr);
    text_->show(cr, text_->layout, number, right - numberWidth, y);
    y += 2 * line_;

    auto showRow = [&](PangoLayout* layout, const std::vector<std::string>& cells) {
        double x = kMargin;
        for (std::size_t i = 0; i < widths_.size(); ++i) {
            const std::string& cell = cellOf(cells, i);
            if (!cell.empty()) {
                if (cut_[i]) {
                    cairo_save(cr);
                    cairo_rectangle(cr, x, y, widths_[i], line_);
                    cairo_clip(cr);
                }
                text_->show(cr, layout, oneLine(cell), x, y);
                if (cut_[i]) cairo_restore(cr);
            }
            x += widths_[i] + gap_;
        }
        y += line_;
    };
    showRow(text_->bold, list_.captions);
    double ruleEnd = kMargin - gap_;
    for (double w : widths_) ruleEnd += w + gap_;
    cairo_set_line_width(cr, 0.5);
    cairo_move_to(cr, kMargin, y + line_ / 2);
    cairo_line_to(cr, std::clamp(ruleEnd, kMargin, right), y + line_ / 2);
    cairo_stroke(cr);
    y += line_;

    const std::size_t first = static_cast<std::size_t>(page - 1) * perPage_;
    const std::size_t last = std::min(list_.rows.size(), first + perPage_);
    for (std::size_t r = first; r < last; ++r) showRow(text_->layout, list_.rows[r]);
    cairo_restore(cr);
}

}  // namespace tolvane
