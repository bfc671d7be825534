// Lays a list out on its sheet with measured text and draws one page at a time.
// Never keeps a page: each is drawn again from the list when it is asked for.
#include "output/list_page_drawing.h"

#include <cairo.h>
#include <cups/cups.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "output/shaped_texts.h"
#include "platform/printer_media.h"
#include "platform/utf8_check.h"

namespace tolvane {

namespace {

constexpr double kMargin = 36;    // half an inch
constexpr int kHeadingLines = 4;  // title, blank, captions, rule
constexpr double kMostCharsPerEm = 32;
constexpr std::size_t kMostMarksPerChar = 8;

// The text as one line shows it (in scratch, only when it changes): line ends and tabs as blanks;
// a zero byte, which would end the text for pango, and a noncharacter, which no font draws and a
// PDF refuses as text, as U+FFFD.
std::string_view oneLine(std::string_view text, std::string& scratch) {
    auto replaced = [&](std::size_t i) -> std::size_t {
        const auto c = static_cast<unsigned char>(text[i]);
        return c == 0 ? 1 : c >= 0xEF ? noncharacterAt(text, i) : 0;
    };
    auto blank = [&](std::size_t i) {
        return text[i] == '\r' || text[i] == '\n' || text[i] == '\t';
    };
    std::size_t i = 0;
    while (i < text.size() && !blank(i) && replaced(i) == 0) ++i;
    if (i == text.size()) return text;
    scratch.assign(text.substr(0, i));
    while (i < text.size()) {
        if (const std::size_t n = replaced(i)) {
            scratch += "\xEF\xBF\xBD";
            i += n;
        } else {
            scratch += blank(i) ? ' ' : text[i];
            ++i;
        }
    }
    return scratch;
}

// The part of a text that a line of the sheet can show: its first `chars` characters that take
// room, with the marks that go with the last (a few to a character at most). Only that part is
// shaped and drawn, so that a value of any length costs a line's work, and its glyphs' positions
// stay small.
std::string_view shownPart(std::string_view text, std::size_t chars) {
    if (text.size() <= chars) return text;
    const char* p = text.data();
    const char* end = p + text.size();
    std::size_t counted = 0;
    for (std::size_t all = 0; p < end && all < kMostMarksPerChar * chars; ++all) {
        const gunichar c = g_utf8_get_char_validated(p, end - p);
        const bool valid = c < static_cast<gunichar>(-2);
        if (!valid || !g_unichar_iszerowidth(c)) {
            if (counted == chars) break;
            ++counted;
        }
        p = valid ? g_utf8_next_char(p) : p + 1;
    }
    return text.substr(0, static_cast<std::size_t>(p - text.data()));
}

const std::string& cellOf(const std::vector<std::string>& row, std::size_t i) {
    static const std::string empty;
    return i < row.size() ? row[i] : empty;
}

struct Box {
    double x, y, width, height;
};

}  // namespace

bool paperNamed(const std::string& name, Paper& paper) {
    pwg_media_t* media = pwgMediaForPPD(name.c_str());
    if (media == nullptr) media = pwgMediaForPWG(name.c_str());
    if (media == nullptr) media = pwgMediaForLegacy(name.c_str());
    // A name CUPS does not know ("iso_a4", "na_letter") is the sheet of its number.
    if (media == nullptr) {
        const std::string keyword(paperKeyword(paperNumber(name)));
        if (!keyword.empty()) media = pwgMediaForPPD(keyword.c_str());
    }
    if (media == nullptr || media->width <= 0 || media->length <= 0) return false;
    paper.width = media->width * 72.0 / 2540.0;
    paper.height = media->length * 72.0 / 2540.0;
    return true;
}

ListPageDrawing::ListPageDrawing(const PrintList& list, const PageSetup& setup)
    : list_(list), setup_(setup), shapes_(std::make_unique<TextShapes>(setup.font)) {
    const std::size_t n = list.captions.size();
    widths_.assign(n, 0);
    cut_.assign(n, false);
    const double room = setup_.widthPoints() - 2 * kMargin;
    // A character that takes room is never narrower than a thirty-second of an em.
    const double size = setup.font.size > 0 ? setup.font.size : 10;
    shownChars_ = static_cast<std::size_t>(std::ceil(std::max(room, 1.0) * kMostCharsPerEm / size));
    std::string scratch;
    auto shown = [&](const std::string& text) {
        return oneLine(shownPart(text, shownChars_), scratch);
    };
    for (std::size_t i = 0; i < n; ++i) {
        widths_[i] = shapes_->width(TextShapes::kHeading, shown(list.captions[i]));
        for (const auto& row : list.rows) {
            const std::string& cell = cellOf(row, i);
            if (!cell.empty()) {
                widths_[i] = std::max(widths_[i], shapes_->width(TextShapes::kChosen, shown(cell)));
            }
        }
    }
    gap_ = shapes_->width(TextShapes::kChosen, "  ");
    line_ = std::max(1.0, shapes_->lineHeight());
    const double narrowest = shapes_->width(TextShapes::kChosen, "MMM");
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

// Each text is drawn from its glyphs where pango would draw it, in the same order and with the
// same clips, so that the page is the one a layout per text gave.
void ListPageDrawing::draw(cairo_t* cr, int page) const {
    const double width = setup_.widthPoints();
    cairo_save(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_rectangle(cr, 0, 0, width, setup_.heightPoints());
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    shapes_->follow(cr);
    std::string scratch;
    auto show = [&](TextShapes::Face face, const std::string& raw, double x, double y,
                    const Box* clip) {
        const std::string_view text = oneLine(shownPart(raw, shownChars_), scratch);
        const ShapedText& shaped = shapes_->shaped(face, text);
        if (clip == nullptr && !shaped.whole) {
            shapes_->show(cr, shaped, text, x, y, true);
            return;
        }
        shapes_->flush(cr);
        if (clip != nullptr) {
            cairo_save(cr);
            cairo_rectangle(cr, clip->x, clip->y, clip->width, clip->height);
            cairo_clip(cr);
        }
        if (shaped.whole) {
            cairo_move_to(cr, x, y);
            shapes_->showWhole(cr, face, text);
        } else {
            shapes_->show(cr, shaped, text, x, y, false);
        }
        if (clip != nullptr) cairo_restore(cr);
    };

    const double right = width - kMargin;
    double y = kMargin;
    const std::string number = "Pag. " + std::to_string(page);
    const double numberWidth = shapes_->width(TextShapes::kChosen, number);
    const Box titleBox{kMargin, y, std::max(0.0, right - kMargin - numberWidth - gap_), line_};
    show(TextShapes::kHeading, list_.title, kMargin, y, &titleBox);
    show(TextShapes::kChosen, number, right - numberWidth, y, nullptr);
    y += 2 * line_;

    auto showRow = [&](TextShapes::Face face, const std::vector<std::string>& cells) {
        double x = kMargin;
        for (std::size_t i = 0; i < widths_.size(); ++i) {
            const std::string& cell = cellOf(cells, i);
            if (!cell.empty()) {
                const Box box{x, y, widths_[i], line_};
                show(face, cell, x, y, cut_[i] ? &box : nullptr);
            }
            x += widths_[i] + gap_;
        }
        y += line_;
    };
    showRow(TextShapes::kHeading, list_.captions);
    double ruleEnd = kMargin - gap_;
    for (double w : widths_) ruleEnd += w + gap_;
    shapes_->flush(cr);
    cairo_set_line_width(cr, 0.5);
    cairo_move_to(cr, kMargin, y + line_ / 2);
    cairo_line_to(cr, std::clamp(ruleEnd, kMargin, right), y + line_ / 2);
    cairo_stroke(cr);
    y += line_;

    const std::size_t first = static_cast<std::size_t>(page - 1) * perPage_;
    const std::size_t last = std::min(list_.rows.size(), first + perPage_);
    for (std::size_t r = first; r < last; ++r) showRow(TextShapes::kChosen, list_.rows[r]);
    shapes_->flush(cr);
    cairo_restore(cr);
}

}  // namespace tolvane
