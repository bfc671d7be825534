// Texts shaped once per face and kept in bounded caches, and drawn from their glyphs exactly as
// pango would draw them, without shaping them again. Never lays out a page (ListPageDrawing
// does) and never holds more than its fixed budgets.
#pragma once

#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tolvane {

struct PrintFont;

// The context every print text is shaped in: in points (72 units to the inch), with unhinted
// metrics, so that a text is as wide on every surface as when the columns were measured. The
// caller owns it.
PangoContext* newPrintContext();
// A one-line layout on that context in the font ("Arial", 10 points when it names none), bold
// for a heading or when the font is. The caller owns it.
PangoLayout* newPrintLayout(PangoContext* context, const PrintFont& font, bool heading);

// One text as pango puts it on one line: its runs in visual order, each in one font, with the
// clusters that tie the glyphs to the text so that a PDF keeps it searchable. Units are pango's.
struct ShapedText {
    struct Run {
        PangoFont* font = nullptr;  // a reference of its own
        int x = 0;                  // from the text's start
        bool backward = false;      // right to left
        std::uint32_t glyphBegin = 0, glyphEnd = 0;
        std::uint32_t clusterBegin = 0, clusterEnd = 0;
        std::uint32_t textBegin = 0, textEnd = 0;  // bytes of the text
    };
    struct Glyph {
        std::uint32_t index;
        int x;  // from the run's start, with the glyph's own offset
        int y;  // offset from the baseline
    };

    ShapedText() = default;
    ~ShapedText();
    ShapedText(const ShapedText&) = delete;
    ShapedText& operator=(const ShapedText&) = delete;
    std::size_t bytes() const;

    int width = 0;
    int baseline = 0;
    // Holds a character no font has, or one that breaks or marks the line: pango draws it
    // whole, as it always did.
    bool whole = false;
    std::vector<Run> runs;
    std::vector<Glyph> glyphs;
    std::vector<cairo_text_cluster_t> clusters;
};

// The chosen font and its bold heading face on one print context (newPrintContext).
class TextShapes {
  public:
    enum Face { kChosen, kHeading };

    explicit TextShapes(const PrintFont& font);
    ~TextShapes();
    TextShapes(const TextShapes&) = delete;
    TextShapes& operator=(const TextShapes&) = delete;

    // The width of the text in face, in points, as a layout of it measures it.
    double width(Face face, std::string_view text);
    // The text shaped in face; valid until the next call.
    const ShapedText& shaped(Face face, std::string_view text);
    // The height of a line in the chosen face.
    double lineHeight();
    // Follows the surface that cr draws on; what was shaped for another one is forgotten.
    void follow(cairo_t* cr);
    // The text shaped from chars, the top left of its line at x, y; the current point moves.
    // With join, on a PDF its glyphs may wait for the next text in the same font: flush before
    // anything else is drawn or the clip changes.
    void show(cairo_t* cr, const ShapedText& text, std::string_view chars, double x, double y,
              bool join);
    // Draws the glyphs that wait, if any.
    void flush(cairo_t* cr, bool backward = false);
    // A text drawn by pango itself, its top left at the current point.
    void showWhole(cairo_t* cr, Face face, std::string_view text);

    // What the caches hold now, and may hold at most, in bytes (both generations of each, over
    // both faces; a text counts with its key and its share of the tables).
    std::size_t heldBytes() const;
    static constexpr std::size_t kShapesBudget = std::size_t{2} << 20;
    static constexpr std::size_t kWidthsBudget = std::size_t{1} << 20;

  private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    template <class Value>
    using Map = std::unordered_map<std::string, Value, Hash, std::equal_to<>>;
    // Two generations: a text used again moves to the newer; when the newer is full the older
    // is dropped, so that texts used on every page stay while once-only ones pass through.
    template <class Value>
    struct Generations {
        struct Entry {
            Value value;
            std::size_t bytes;
        };
        Map<Entry> newer, older;
        std::size_t newerBytes = 0, olderBytes = 0;
        Value* find(std::string_view text, std::size_t budget);
        Value& add(std::string_view text, Value value, std::size_t bytes, std::size_t budget);
        void clear();
    };

    PangoItem* plainItem(Face face, std::string_view text);
    std::unique_ptr<ShapedText> shape(Face face, std::string_view text);
    std::unique_ptr<ShapedText> fromLayout(Face face, std::string_view text);
    PangoShapeFlags shapeFlags() const;
    void forget();

    PangoContext* context_ = nullptr;
    PangoLayout* layouts_[2] = {nullptr, nullptr};
    PangoAttrList* attrs_[2] = {nullptr, nullptr};
    PangoGlyphString* scratch_ = nullptr;
    unsigned serial_ = 0;
    // Per face, the one item pango makes of any text of the common Latin characters, with a
    // Latin letter or without: null until known, or when pango makes more than one.
    PangoItem* plainItems_[2][2] = {{nullptr, nullptr}, {nullptr, nullptr}};
    bool plainKnown_[2] = {false, false};
    Generations<std::unique_ptr<ShapedText>> shapes_[2];
    Generations<int> widths_[2];
    cairo_scaled_font_t* pendingFont_ = nullptr;
    std::vector<cairo_glyph_t> glyphs_;
    std::string chars_;
    std::vector<cairo_text_cluster_t> clusters_;
};

}  // namespace tolvane
