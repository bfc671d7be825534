// A workbook read back as a reader sees it: the first sheet's cells unzipped from the .xlsx,
// each with its kind, its value and the number format it is shown with. Never writes anything.
#pragma once

#include <map>
#include <ostream>
#include <regex>
#include <string>
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

class Workbook {
  public:
    explicit Workbook(const std::string& path) {
        const std::string file = quotedPath(path);
        sheet_ = commandOutput("unzip -p " + file + " xl/worksheets/sheet1.xml");
        const std::string shared = commandOutput("unzip -p " + file + " xl/sharedStrings.xml");
        const std::string styles = commandOutput("unzip -p " + file + " xl/styles.xml");
        const std::regex text("<si><t[^>]*>(.*?)</t></si>");
        for (auto i = std::sregex_iterator(shared.begin(), shared.end(), text);
             i != std::sregex_iterator(); ++i) {
            strings_.push_back((*i)[1].str());
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

  private:
    std::string sheet_;
    std::vector<std::string> strings_;
    std::vector<std::string> formats_;
};

}  // namespace tolvane::testing
