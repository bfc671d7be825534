// A workbook read back as a reader sees it: the first sheet's cells unzipped from the .xlsx and
// parsed, each with its kind, its value and the number format it is shown with. Never writes
// anything.
#pragma once

#include <map>
#include <ostream>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "support/pdf_check.h"

namespace tolvane::testing {

// A cell of the workbook's first sheet as a reader sees it: "n" with its number, "s" with its
// text, "" when there is no cell; and the format code it is shown with.
struct SheetCell {
    std::string type;
    std::string value;
    std::string format;
    friend bool operator==(const SheetCell&, const SheetCell&) = default;
    friend std::ostream& operator<<(std::ostream& out, const SheetCell& c) {
        return out << c.type << " [" << c.value << "] " << c.format;
    }
};

// A text of the workbook's XML as a reader shows it: the entities a writer uses in text and the
// "_xHHHH_" escapes decoded.
inline std::string readerText(const std::string& xml) {
    static const std::vector<std::pair<std::string, std::string>> entities = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}};
    std::string out;
    for (std::size_t i = 0; i < xml.size();) {
        bool done = false;
        for (const auto& [entity, character] : entities) {
            if (xml.compare(i, entity.size(), entity) == 0) {
                out += character;
                i += entity.size();
                done = true;
                break;
            }
        }
        if (done) continue;
        if (xml.compare(i, 2, "_x") == 0 && i + 7 <= xml.size() && xml[i + 6] == '_' &&
            xml.find_first_not_of("0123456789abcdefABCDEF", i + 2) == i + 6) {
            const unsigned long c = std::stoul(xml.substr(i + 2, 4), nullptr, 16);
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else if (c < 0x800) {
                out += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
            } else {
                out +=
                    {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
                     static_cast<char>(0x80 | (c & 0x3F))};
            }
            i += 7;
        } else {
            out += xml[i++];
        }
    }
    return out;
}

class Workbook {
  public:
    explicit Workbook(const std::string& path) {
        const std::string file = quotedPath(path);
        sheet_ = commandOutput("unzip -p " + file + " xl/worksheets/sheet1.xml");
        const std::string shared = commandOutput("unzip -p " + file + " xl/sharedStrings.xml");
        const std::string styles = commandOutput("unzip -p " + file + " xl/styles.xml");
        // What a reader's parser says of each part; nothing when all are well-formed.
        for (const char* part :
             {"xl/worksheets/sheet1.xml", "xl/sharedStrings.xml", "xl/styles.xml"}) {
            xmlErrors_ +=
                commandOutput("unzip -p " + file + " " + part + " | xmllint --noout - 2>&1");
        }
        // Found without a regular expression: a string may be tens of thousands of characters.
        for (std::size_t at = shared.find("<si><t"); at != std::string::npos;
             at = shared.find("<si><t", at)) {
            const std::size_t begin = shared.find('>', at + 6) + 1;
            const std::size_t end = shared.find("</t></si>", begin);
            strings_.push_back(readerText(shared.substr(begin, end - begin)));
            at = end;
        }
        std::map<std::string, std::string> codes = {
            {"0", "General"}, {"1", "0"}, {"2", "0.00"}, {"3", "#,##0"}, {"4", "#,##0.00"}};
        const std::regex custom("<numFmt numFmtId=\"(\\d+)\" formatCode=\"([^\"]*)\"");
        for (auto i = std::sregex_iterator(styles.begin(), styles.end(), custom);
             i != std::sregex_iterator(); ++i) {
            codes[(*i)[1].str()] = (*i)[2].str();
        }
        const std::size_t xfs = styles.find("<cellXfs");
        const std::regex xf("<xf numFmtId=\"(\\d+)\"");
        for (auto i =
                 std::sregex_iterator(styles.begin() + static_cast<long>(xfs), styles.end(), xf);
             i != std::sregex_iterator(); ++i) {
            formats_.push_back(codes[(*i)[1].str()]);
        }
    }

    SheetCell cell(const std::string& ref) const {
        std::smatch m;
        if (!std::regex_search(sheet_, m, std::regex("<c r=\"" + ref + "\"([^>]*)>(.*?)</c>")))
            return {};
        const std::string attributes = m[1].str();
        const std::string value = std::regex_replace(m[2].str(), std::regex("</?v>"), "");
        std::smatch style;
        std::size_t xf = 0;
        if (std::regex_search(attributes, style, std::regex(" s=\"(\\d+)\"")))
            xf = std::stoul(style[1].str());
        const std::string format = xf < formats_.size() ? formats_[xf] : "?";
        if (attributes.find("t=\"s\"") != std::string::npos)
            return {"s", strings_.at(std::stoul(value)), format};
        return {"n", value, format};
    }

    const std::string& xmlErrors() const { return xmlErrors_; }

  private:
    std::string sheet_;
    std::string xmlErrors_;
    std::vector<std::string> strings_;
    std::vector<std::string> formats_;
};

}  // namespace tolvane::testing
