// Shapes a text the way a pango layout of one line does, once per face, and keeps its glyphs.
// Never draws anything itself but through the glyphs it was given (or pango, for a whole text).
#include "output/shaped_texts.h"

#include <algorithm>

#include "output/list_page_drawing.h"

namespace tolvane {

namespace {

// False for bytes that are not UTF-8 and for characters a line of pango may break at or shows in
// a way of its own: such a text is drawn by pango whole, as before.
bool plainText(std::string_view text) {
    if (!g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) return false;
        // U+0080..U+009F (C2 80..9F), U+2028 and U+2029 (E2 80 A8..A9)
        if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0)
            return false;
        if (c == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
            (static_cast<unsigned char>(text[i + 2]) & 0xFE) == 0xA8)
            return false;
    }
    return true;
}

// The common Latin characters: printable ASCII, Latin-1 from U+00A0 but the soft hyphen, and the
// euro sign. True when the text holds only those; latin tells whether any is a Latin letter.
bool plainChars(std::string_view text, bool& latin, int& count) {
    latin = false;
    count = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        gunichar c = *p;
        if (c < 0x80) {
            if (c < 0x20 || c == 0x7F) return false;
            ++p;
        } else if ((c == 0xC2 || c == 0xC3) && end - p >= 2 && (p[1] & 0xC0) == 0x80) {
            c = ((c & 0x1F) << 6) | (p[1] & 0x3F);
            if (c < 0xA0 || c == 0xAD) return false;
            p += 2;
        } else if (c == 0xE2 && end - p >= 3 && p[1] == 0x82 && p[2] == 0xAC) {
            c = 0x20AC;
            p += 3;
        } else {
            return false;
        }
        if (g_unichar_get_script(c) == G_UNICODE_SCRIPT_LATIN) latin = true;
        ++count;
    }
    return true;
}

// Every common Latin character once; without the Latin letters when withLatin is false.
std::string plainSample(bool withLatin) {
    std::string sample;
    auto add = [&](gunichar c) {
        if (!withLatin && g_unichar_get_script(c) == G_UNICODE_SCRIPT_LATIN) return;
        char bytes[6];
        sample.append(bytes, static_cast<std::size_t>(g_unichar_to_utf8(c, bytes)));
    };
    for (gunichar c = 0x20; c < 0x7F; ++c) add(c);
    for (gunichar c = 0xA0; c <= 0xFF; ++c) {
        if (c != 0xAD) add(c);
    }
    add(0x20AC);
    return sample;
}

bool unknown(const PangoGlyphString* glyphs) {
    for (int i = 0; i < glyphs->num_glyphs; ++i) {
        const PangoGlyph g = glyphs->glyphs[i].glyph;
        if (g != PANGO_GLYPH_EMPTY && (g & PANGO_GLYPH_UNKNOWN_FLAG) != 0) return true;
    }
    return false;
}

// Whether the run can be drawn from its glyphs: a font with a cairo face, and no glyph that no
// font has.
bool drawable(PangoFont* font, const PangoGlyphString* glyphs) {
    return font != nullptr && !unknown(glyphs) &&
           pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(font)) != nullptr;
}

// Appends one run as pango's cairo renderer would draw it: empty glyphs left out, and clusters
// that count only the glyphs drawn.
void addRun(ShapedText& shaped, PangoItem* item, PangoGlyphString* glyphs, const char* text,
            int x) {
    ShapedText::Run run;
    run.font = PANGO_FONT(g_object_ref(item->analysis.font));
    run.x = x;
    run.backward = (item->analysis.level & 1) != 0;
    run.glyphBegin = static_cast<std::uint32_t>(shaped.glyphs.size());
    int position = 0;
    for (int i = 0; i < glyphs->num_glyphs; ++i) {
        const PangoGlyphInfo& gi = glyphs->glyphs[i];
        if (gi.glyph != PANGO_GLYPH_EMPTY) {
            shaped.glyphs.push_back(
                {gi.glyph, position + gi.geometry.x_offset, gi.geometry.y_offset});
        }
        position += gi.geometry.width;
    }
    run.glyphEnd = static_cast<std::uint32_t>(shaped.glyphs.size());
    run.clusterBegin = static_cast<std::uint32_t>(shaped.clusters.size());
    PangoGlyphItem glyphItem{item, glyphs, 0, 0, 0};
    PangoGlyphItemIter iter;
    if (pango_glyph_item_iter_init_start(&iter, &glyphItem, text)) {
        do {
            int count = run.backward ? iter.start_glyph - iter.end_glyph
                                     : iter.end_glyph - iter.start_glyph;
            for (int i = std::min(iter.start_glyph, iter.end_glyph + 1);
                 i < std::max(iter.start_glyph + 1, iter.end_glyph); ++i) {
                if (glyphs->glyphs[i].glyph == PANGO_GLYPH_EMPTY) --count;
            }
            shaped.clusters.push_back({iter.end_index - iter.start_index, count});
        } while (pango_glyph_item_iter_next_cluster(&iter));
    }
    run.clusterEnd = static_cast<std::uint32_t>(shaped.clusters.size());
    run.textBegin = static_cast<std::uint32_t>(item->offset);
    run.textEnd = static_cast<std::uint32_t>(item->offset + item->length);
    shaped.runs.push_back(run);
}

int ascent(PangoFont* font, PangoGlyphString* glyphs) {
    PangoRectangle logical;
    pango_glyph_string_extents(glyphs, font, nullptr, &logical);
    return -logical.y;
}

}  // namespace

ShapedText::~ShapedText() {
    for (Run& run : runs) g_object_unref(run.font);
}

std::size_t ShapedText::bytes() const {
    return sizeof(ShapedText) + runs.capacity() * sizeof(Run) + glyphs.capacity() * sizeof(Glyph) +
           clusters.capacity() * sizeof(cairo_text_cluster_t);
}

template <class Value>
Value* TextShapes::Generations<Value>::find(std::string_view text, std::size_t budget) {
    auto found = newer.find(text);
    if (found != newer.end()) return &found->second.value;
    auto old = older.find(text);
    if (old == older.end()) return nullptr;
    Entry entry = std::move(old->second);
    older.erase(old);
    olderBytes -= entry.bytes;
    return &add(text, std::move(entry.value), entry.bytes, budget);
}

template <class Value>
Value& TextShapes::Generations<Value>::add(std::string_view text, Value value, std::size_t bytes,
                                           std::size_t budget) {
    if (newerBytes + bytes > budget / 2 && !newer.empty()) {
        older = std::move(newer);
        olderBytes = newerBytes;
        newer.clear();
        newerBytes = 0;
    }
    newerBytes += bytes;
    return newer.emplace(std::string(text), Entry{std::move(value), bytes}).first->second.value;
}

template <class Value>
void TextShapes::Generations<Value>::clear() {
    newer.clear();
    older.clear();
    newerBytes = olderBytes = 0;
}

std::size_t TextShapes::heldBytes() const {
    std::size_t bytes = 0;
    for (Face face : {kChosen, kHeading}) {
        bytes += shapes_[face].newerBytes + shapes_[face].olderBytes;
        bytes += widths_[face].newerBytes + widths_[face].olderBytes;
    }
    return bytes;
}

PangoContext* newPrintContext() {
    PangoContext* context = pango_font_map_create_context(pango_cairo_font_map_get_default());
    pango_cairo_context_set_resolution(context, 72);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    return context;
}

PangoLayout* newPrintLayout(PangoContext* context, const PrintFont& font, bool heading) {
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description,
                                      font.family.empty() ? "Arial" : font.family.c_str());
    pango_font_description_set_size(
        description, static_cast<int>((font.size > 0 ? font.size : 10) * PANGO_SCALE));
    pango_font_description_set_style(description,
                                     font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_font_description_set_weight(
        description, heading || font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, description);
    pango_layout_set_single_paragraph_mode(layout, TRUE);
    pango_font_description_free(description);
    return layout;
}

TextShapes::TextShapes(const PrintFont& font) : context_(newPrintContext()) {
    for (Face face : {kChosen, kHeading}) {
        layouts_[face] = newPrintLayout(context_, font, face == kHeading);
        attrs_[face] = pango_attr_list_new();
        pango_attr_list_insert(
            attrs_[face],
            pango_attr_font_desc_new(pango_layout_get_font_description(layouts_[face])));
    }
    scratch_ = pango_glyph_string_new();
    serial_ = pango_context_get_serial(context_);
}

TextShapes::~TextShapes() {
    if (pendingFont_ != nullptr) cairo_scaled_font_destroy(pendingFont_);
    forget();
    pango_glyph_string_free(scratch_);
    for (Face face : {kChosen, kHeading}) {
        pango_attr_list_unref(attrs_[face]);
        g_object_unref(layouts_[face]);
    }
    g_object_unref(context_);
}

void TextShapes::forget() {
    for (Face face : {kChosen, kHeading}) {
        shapes_[face].clear();
        widths_[face].clear();
        for (PangoItem*& item : plainItems_[face]) {
            if (item != nullptr) pango_item_free(item);
            item = nullptr;
        }
        plainKnown_[face] = false;
    }
}

PangoShapeFlags TextShapes::shapeFlags() const {
    return pango_context_get_round_glyph_positions(context_) ? PANGO_SHAPE_ROUND_POSITIONS
                                                             : PANGO_SHAPE_NONE;
}

// Pango chooses a font for each character on its own and runs of one script as a whole, so when
// it makes a single item of all the common Latin characters at once, any text of them alone
// becomes that same item: only its extent differs. Found once per face, it saves itemizing.
PangoItem* TextShapes::plainItem(Face face, std::string_view text) {
    bool latin = false;
    int count = 0;
    if (!plainChars(text, latin, count)) return nullptr;
    if (!plainKnown_[face]) {
        plainKnown_[face] = true;
        for (bool withLatin : {false, true}) {
            const std::string sample = plainSample(withLatin);
            GList* items = pango_itemize(context_, sample.data(), 0,
                                         static_cast<int>(sample.size()), attrs_[face], nullptr);
            auto* item = items != nullptr ? static_cast<PangoItem*>(items->data) : nullptr;
            if (item != nullptr && items->next == nullptr && item->analysis.level == 0 &&
                item->analysis.font != nullptr) {
                pango_shape_item(item, sample.data(), static_cast<int>(sample.size()), nullptr,
                                 scratch_, shapeFlags());
                if (!unknown(scratch_)) plainItems_[face][withLatin] = pango_item_copy(item);
            }
            g_list_free_full(items, reinterpret_cast<GDestroyNotify>(pango_item_free));
        }
    }
    PangoItem* item = plainItems_[face][latin];
    if (item == nullptr) return nullptr;
    item->offset = 0;
    item->length = static_cast<int>(text.size());
    item->num_chars = count;
    return item;
}

double TextShapes::width(Face face, std::string_view text) {
    int* known = widths_[face].find(text, kWidthsBudget / 2);
    if (known == nullptr) {
        int width = 0;
        PangoItem* item = text.empty() ? nullptr : plainItem(face, text);
        if (item != nullptr) {
            pango_shape_item(item, text.data(), static_cast<int>(text.size()), nullptr, scratch_,
                             shapeFlags());
            width = pango_glyph_string_get_width(scratch_);
        } else if (!text.empty()) {
            width = shaped(face, text).width;
        }
        known = &widths_[face].add(text, width, text.size() + 64, kWidthsBudget / 2);
    }
    return static_cast<double>(*known) / PANGO_SCALE;
}

const ShapedText& TextShapes::shaped(Face face, std::string_view text) {
    if (auto* known = shapes_[face].find(text, kShapesBudget / 2)) return **known;
    std::unique_ptr<ShapedText> shaped = shape(face, text);
    const std::size_t bytes = shaped->bytes() + text.size() + 64;
    return *shapes_[face].add(text, std::move(shaped), bytes, kShapesBudget / 2);
}

// Itemized and shaped as a layout of the text would be; a text with right-to-left parts is taken
// from a layout itself, for the order of its runs, and one with glyphs no font has is left whole.
std::unique_ptr<ShapedText> TextShapes::shape(Face face, std::string_view text) {
    if (text.empty()) return std::make_unique<ShapedText>();
    if (!plainText(text)) return fromLayout(face, text);
    const int length = static_cast<int>(text.size());
    GList* items = nullptr;
    if (PangoItem* plain = plainItem(face, text)) {
        items = g_list_prepend(nullptr, pango_item_copy(plain));
    } else {
        items = pango_itemize(context_, text.data(), 0, length, attrs_[face], nullptr);
    }
    bool leftToRight = true;
    for (GList* l = items; l != nullptr; l = l->next) {
        if ((static_cast<PangoItem*>(l->data)->analysis.level & 1) != 0) leftToRight = false;
    }
    auto shaped = std::make_unique<ShapedText>();
    for (GList* l = items; l != nullptr && leftToRight; l = l->next) {
        auto* item = static_cast<PangoItem*>(l->data);
        pango_shape_item(item, text.data(), length, nullptr, scratch_, shapeFlags());
        if (!drawable(item->analysis.font, scratch_)) {
            shaped->whole = true;
            break;
        }
        addRun(*shaped, item, scratch_, text.data(), shaped->width);
        shaped->width += pango_glyph_string_get_width(scratch_);
        shaped->baseline = std::max(shaped->baseline, ascent(item->analysis.font, scratch_));
    }
    g_list_free_full(items, reinterpret_cast<GDestroyNotify>(pango_item_free));
    if (!leftToRight || shaped->whole) return fromLayout(face, text);
    return shaped;
}

std::unique_ptr<ShapedText> TextShapes::fromLayout(Face face, std::string_view text) {
    PangoLayout* layout = layouts_[face];
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    auto shaped = std::make_unique<ShapedText>();
    int height = 0;
    pango_layout_get_size(layout, &shaped->width, &height);
    shaped->baseline = pango_layout_get_baseline(layout);
    shaped->whole = pango_layout_get_line_count(layout) != 1 ||
                    !g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr);
    if (!shaped->whole) {
        const char* chars = pango_layout_get_text(layout);
        int x = 0;
        for (GSList* l = pango_layout_get_line_readonly(layout, 0)->runs; l != nullptr;
             l = l->next) {
            auto* run = static_cast<PangoGlyphItem*>(l->data);
            if (!drawable(run->item->analysis.font, run->glyphs)) {
                shaped->whole = true;
                break;
            }
            addRun(*shaped, run->item, run->glyphs, chars, x);
            x += pango_glyph_string_get_width(run->glyphs);
        }
    }
    if (shaped->whole) {
        for (ShapedText::Run& run : shaped->runs) g_object_unref(run.font);
        shaped->runs.clear();
        shaped->glyphs.clear();
        shaped->clusters.clear();
    }
    return shaped;
}

double TextShapes::lineHeight() {
    pango_layout_set_text(layouts_[kChosen], "Ág", -1);
    int w = 0;
    int h = 0;
    pango_layout_get_size(layouts_[kChosen], &w, &h);
    return static_cast<double>(h) / PANGO_SCALE;
}

void TextShapes::follow(cairo_t* cr) {
    pango_cairo_update_context(cr, context_);
    for (Face face : {kChosen, kHeading}) pango_layout_context_changed(layouts_[face]);
    const unsigned serial = pango_context_get_serial(context_);
    if (serial != serial_) {
        forget();
        serial_ = serial;
    }
}

void TextShapes::showWhole(cairo_t* cr, Face face, std::string_view text) {
    pango_layout_set_text(layouts_[face], text.data(), static_cast<int>(text.size()));
    pango_cairo_show_layout(cr, layouts_[face]);
}

// Run by run, with the same arithmetic as pango's cairo renderer, so that every glyph lands
// where pango would put it. Unclipped runs that follow one another in one font may go to a PDF
// in one call: its writer joins them into the same text operations anyway, and the call is paid
// once. A clip is fitted to each call's glyphs, so clipped runs go one by one, as pango sends
// them; so do all runs on a raster, where one call would blend touching glyphs otherwise.
void TextShapes::show(cairo_t* cr, const ShapedText& text, std::string_view chars, double x,
                      double y, bool join) {
    // Pango starts from the current point, which cairo keeps in device fixed point.
    cairo_move_to(cr, x, y);
    cairo_get_current_point(cr, &x, &y);
    const bool keepsText = cairo_surface_has_show_text_glyphs(cairo_get_target(cr)) != 0;
    join = join && keepsText;
    if (!join) flush(cr);
    const double baseY = y + static_cast<double>(text.baseline) / PANGO_SCALE;
    for (const ShapedText::Run& run : text.runs) {
        cairo_scaled_font_t* font = pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(run.font));
        if (font != pendingFont_ || run.backward) flush(cr);
        // Its own reference: the text that brought the font may leave the cache meanwhile.
        if (pendingFont_ == nullptr) pendingFont_ = cairo_scaled_font_reference(font);
        const double baseX = x + static_cast<double>(run.x) / PANGO_SCALE;
        for (std::uint32_t i = run.glyphBegin; i < run.glyphEnd; ++i) {
            const ShapedText::Glyph& g = text.glyphs[i];
            glyphs_.push_back({g.index, baseX + static_cast<double>(g.x) / PANGO_SCALE,
                               g.y == 0 ? baseY : baseY + static_cast<double>(g.y) / PANGO_SCALE});
        }
        if (keepsText) {
            chars_.append(chars.substr(run.textBegin, run.textEnd - run.textBegin));
            clusters_.insert(clusters_.end(), text.clusters.begin() + run.clusterBegin,
                             text.clusters.begin() + run.clusterEnd);
        }
        if (run.backward || !join) flush(cr, run.backward);
    }
}

void TextShapes::flush(cairo_t* cr, bool backward) {
    if (pendingFont_ == nullptr) return;
    cairo_set_scaled_font(cr, pendingFont_);
    if (cairo_surface_has_show_text_glyphs(cairo_get_target(cr)) != 0) {
        cairo_show_text_glyphs(
            cr, chars_.data(), static_cast<int>(chars_.size()), glyphs_.data(),
            static_cast<int>(glyphs_.size()), clusters_.data(), static_cast<int>(clusters_.size()),
            backward ? CAIRO_TEXT_CLUSTER_FLAG_BACKWARD : cairo_text_cluster_flags_t(0));
    } else {
        cairo_show_glyphs(cr, glyphs_.data(), static_cast<int>(glyphs_.size()));
    }
    cairo_scaled_font_destroy(pendingFont_);
    pendingFont_ = nullptr;
    glyphs_.clear();
    chars_.clear();
    clusters_.clear();
}

}  // namespace tolvane
