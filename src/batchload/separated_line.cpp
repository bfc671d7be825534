// Splits a separated line once, so that every field of a layout is found without searching the
// line again. Never allocates per field on the ASCII road.
#include "batchload/separated_line.h"

#include <cctype>

#include "platform/names.h"
#include "platform/text.h"

namespace tolvane {

namespace {

// Caseless search of an ASCII separator in UTF-8 text: multi-byte characters never match it.
std::size_t findCaseless(std::string_view text, std::string_view what, std::size_t from) {
    if (what.size() > text.size()) return std::string_view::npos;
    for (std::size_t i = from; i + what.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < what.size() && lowerAscii(text[i + k]) == lowerAscii(what[k])) ++k;
        if (k == what.size()) return i;
    }
    return std::string_view::npos;
}

}  // namespace

void SeparatedLine::setSeparator(std::string separator) {
    separator_ = std::move(separator);
    asciiCaseless_ = false;
    unicode_ = false;
    for (unsigned char c : separator_) {
        if (c >= 0x80) unicode_ = true;
        else if (std::isalpha(c)) asciiCaseless_ = true;
    }
}

void SeparatedLine::split(std::string_view line) {
    line_.assign(line);
    fields_.clear();
    if (separator_.empty()) {
        fields_.emplace_back(line_);
        return;
    }
    if (unicode_) {
        owned_.clear();
        long start = 1;
        const long sepLen = static_cast<long>(Len(separator_));
        for (;;) {
            const long at = InStr(start, line_, separator_, true);
            if (at == 0) {
                owned_.push_back(Mid(line_, start));
                break;
            }
            owned_.push_back(Mid(line_, start, at - start));
            start = at + sepLen;
        }
        for (const auto& f : owned_) fields_.emplace_back(f);
        return;
    }
    const std::string_view text(line_);
    std::size_t start = 0;
    for (;;) {
        const std::size_t at =
            asciiCaseless_ ? findCaseless(text, separator_, start) : text.find(separator_, start);
        if (at == std::string_view::npos) {
            fields_.push_back(text.substr(start));
            break;
        }
        fields_.push_back(text.substr(start, at - start));
        start = at + separator_.size();
    }
}

std::string_view SeparatedLine::field(long n) const {
    if (n < 1 || n > count()) return {};
    return fields_[static_cast<std::size_t>(n - 1)];
}

}  // namespace tolvane
