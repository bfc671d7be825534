// Texts shaped once and drawn from their kept glyphs against pango's own layouts: the same width,
// the same pixels and the same PDF text, for every kind of text a list may hold; and caches that
// keep to their budgets while the texts in use on every page stay.
#include "output/shaped_texts.h"

#include <cairo-pdf.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "output/list_page_drawing.h"
#include "support/pdf_check.h"
#include "support/scratch_folder.h"

namespace tolvane::testing {
namespace {

const std::vector<std::string> kTexts = {
    "Articolo di prova numero 10025 è €",
    "A0000123",
    "abc שלום 123 def",
    "31/12/2024",
    "1.234,50",
    "  spazi  ",
    "",
    "àèìòù ÀÈÌÒÙ ç ß ÿ ¿¡ «» ° ± µ",
    "office ffi fl ffl AV To Wa",
    "Ágjpqy ÉÈ",
    "e\u0301 combinato x\u0300\u0301",
    "soft\u00adhyphen a\u200bb",
    "Ελληνικά κείμενο",
    "Кириллица",
    "שלום עולם",
    "مرحبا بالعالم",
    "東京都 品川区",
    "ignoto \ue000 x",
    "riga\u2028separata",
    "non \xE8 UTF-8 \xC3",
    "fine\u2029paragrafo",
    "😀 faccina",
    "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW",
};

constexpr double kLine = 22;     // points between the texts' lines
constexpr double kScale = 1.37;  // pixels to a point: glyphs off the pixel grid
constexpr double kLeft = 3.3;
constexpr double kClipWidth = 60;  // every third text is clipped to this

// A layout of its own for every text, on a context and in a font as the page drawing sets its own:
// the way the pages were drawn when every text was laid out on its own.
struct Reference {
    Reference(const PrintFont& font, bool heading)
        : context(newPrintContext()), layout(newPrintLayout(context, font, heading)) {}
    ~Reference() {
        g_object_unref(layout);
        g_object_unref(context);
    }
    int width(const std::string& text) {
        pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
        int w = 0;
        int h = 0;
        pango_layout_get_size(layout, &w, &h);
        return w;
    }
    PangoContext* context;
    PangoLayout* layout;
};

// Draws every text on its line, clipping every third, by pango or from the kept glyphs.
void drawTexts(cairo_t* cr, Reference* reference, TextShapes* shapes, TextShapes::Face face) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    if (reference != nullptr) {
        pango_cairo_update_context(cr, reference->context);
        pango_layout_context_changed(reference->layout);
    } else {
        shapes->follow(cr);
    }
    for (std::size_t i = 0; i < kTexts.size(); ++i) {
        const std::string& text = kTexts[i];
        const double y = 2.7 + kLine * static_cast<double>(i);
        const bool clipped = i % 3 == 2;
        if (shapes != nullptr) shapes->flush(cr);
        if (clipped) {
            cairo_save(cr);
            cairo_rectangle(cr, kLeft, y, kClipWidth, kLine - 4);
            cairo_clip(cr);
        }
        if (reference != nullptr) {
            pango_layout_set_text(reference->layout, text.data(), static_cast<int>(text.size()));
            cairo_move_to(cr, kLeft, y);
            pango_cairo_show_layout(cr, reference->layout);
        } else if (const ShapedText& shaped = shapes->shaped(face, text); shaped.whole) {
            cairo_move_to(cr, kLeft, y);
            shapes->showWhole(cr, face, text);
        } else {
            shapes->show(cr, shaped, text, kLeft, y, !clipped);
        }
        if (shapes != nullptr) shapes->flush(cr);
        if (clipped) cairo_restore(cr);
    }
}

// The rows of pixels of an image drawn at kScale; each text's line band, in order.
std::vector<std::string> bands(Reference* reference, TextShapes* shapes, TextShapes::Face face) {
    const int width = static_cast<int>(700 * kScale);
    const int height = static_cast<int>(kLine * static_cast<double>(kTexts.size()) * kScale) + 8;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, kScale, kScale);
    drawTexts(cr, reference, shapes, face);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const auto* data = reinterpret_cast<const char*>(cairo_image_surface_get_data(surface));
    const int stride = cairo_image_surface_get_stride(surface);
    std::vector<std::string> out(kTexts.size());
    for (int y = 0; y < height; ++y) {
        const auto line =
            std::min(kTexts.size() - 1, static_cast<std::size_t>(y / (kLine * kScale)));
        out[line].append(data + static_cast<std::ptrdiff_t>(y) * stride, width * 4);
    }
    cairo_surface_destroy(surface);
    return out;
}

PdfFacts pdfOf(const std::string& path, Reference* reference, TextShapes* shapes,
               TextShapes::Face face) {
    cairo_surface_t* surface =
        cairo_pdf_surface_create(path.c_str(), 700, kLine * static_cast<double>(kTexts.size()));
    cairo_t* cr = cairo_create(surface);
    drawTexts(cr, reference, shapes, face);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    cairo_surface_destroy(surface);
    return pdfFacts(path);
}

TEST(ShapedTextsTest, TextDrawnFromItsGlyphsIsTheLayoutsOwn) {
    struct Case {
        PrintFont font;
        TextShapes::Face face;
    };
    const std::vector<Case> cases = {
        {{"Arial", 10, false, false}, TextShapes::kChosen},
        {{"Arial", 10, false, false}, TextShapes::kHeading},
        {{"DejaVu Sans", 9, true, true}, TextShapes::kChosen},
        {{"Times New Roman", 13, false, true}, TextShapes::kChosen},
    };
    ScratchFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.font.family + (c.face == TextShapes::kHeading ? " heading" : ""));
        Reference reference(c.font, c.face == TextShapes::kHeading);
        TextShapes shapes(c.font);
        for (const std::string& text : kTexts) {
            EXPECT_EQ(shapes.width(c.face, text) * PANGO_SCALE, reference.width(text)) << text;
        }
        const std::vector<std::string> expected = bands(&reference, nullptr, c.face);
        const std::vector<std::string> drawn = bands(nullptr, &shapes, c.face);
        for (std::size_t i = 0; i < kTexts.size(); ++i) {
            EXPECT_TRUE(drawn[i] == expected[i]) << "pixels differ: " << kTexts[i];
        }
        const PdfFacts pango = pdfOf(folder.file("pango.pdf"), &reference, nullptr, c.face);
        const PdfFacts kept = pdfOf(folder.file("kept.pdf"), nullptr, &shapes, c.face);
        // Every word in its box (the documents' dates aside).
        EXPECT_EQ(kept.boxes.substr(kept.boxes.find("<doc>")),
                  pango.boxes.substr(pango.boxes.find("<doc>")));
        EXPECT_EQ(kept.text, pango.text);
        EXPECT_EQ(embeddedFaces(kept), embeddedFaces(pango));
    }
}

// Each face keeps its own shapes and widths: a row's text that equals a heading is shaped in the
// row's face, whichever face met it first.
TEST(ShapedTextsTest, EachFaceKeepsItsOwnTexts) {
    const PrintFont font;
    Reference chosen(font, false);
    Reference heading(font, true);
    ASSERT_NE(chosen.width("Codice"), heading.width("Codice"));
    ASSERT_NE(chosen.width("Descrizione"), heading.width("Descrizione"));
    for (TextShapes::Face first : {TextShapes::kHeading, TextShapes::kChosen}) {
        TextShapes shapes(font);
        const TextShapes::Face second =
            first == TextShapes::kHeading ? TextShapes::kChosen : TextShapes::kHeading;
        for (TextShapes::Face face : {first, second}) {
            Reference& reference = face == TextShapes::kHeading ? heading : chosen;
            SCOPED_TRACE(face == first ? "first face" : "second face");
            EXPECT_EQ(shapes.shaped(face, "Codice").width, reference.width("Codice"));
            EXPECT_EQ(shapes.width(face, "Descrizione") * PANGO_SCALE,
                      reference.width("Descrizione"));
        }
    }
}

// Both faces fill their caches, as a long list's rows and headings do.
TEST(ShapedTextsTest, CachesKeepToTheirBudgetsAndTextsInUseStay) {
    TextShapes shapes(PrintFont{});
    const std::size_t budget = TextShapes::kShapesBudget + TextShapes::kWidthsBudget;
    const ShapedText* hot = &shapes.shaped(TextShapes::kChosen, "PZ");
    std::size_t most = 0;
    for (int i = 0; i < 40000; ++i) {
        const std::string text = "Articolo di prova numero " + std::to_string(i) + " è €";
        for (TextShapes::Face face : {TextShapes::kChosen, TextShapes::kHeading}) {
            shapes.width(face, text);
            shapes.shaped(face, text);
        }
        if (i % 100 == 0) {
            EXPECT_EQ(&shapes.shaped(TextShapes::kChosen, "PZ"), hot) << "shaped again at " << i;
        }
        most = std::max(most, shapes.heldBytes());
    }
    EXPECT_LE(most, budget);
    EXPECT_GT(most, budget / 2) << "the caches were meant to fill";
}

}  // namespace
}  // namespace tolvane::testing
