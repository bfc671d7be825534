// PPD files for queues of the tests' private print server: paper sizes and trays in the order a
// test gives, under the keywords it gives. Never a PPD of any real printer.
#pragma once

#include <string>
#include <vector>

namespace tolvane::testing {

struct PpdSize {
    std::string keyword;
    std::string name;
    int width;  // points
    int height;
};
struct PpdTray {
    std::string keyword;
    std::string name;
};

inline std::string testPpd(const std::string& model, const std::vector<PpdSize>& sizes,
                           const std::string& defaultSize, const std::vector<PpdTray>& trays) {
    std::string text =
        "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
        "*LanguageVersion: Italian\n*LanguageEncoding: ISOLatin1\n*PCFileName: \"TOLVANE.PPD\"\n"
        "*Manufacturer: \"Tolvane\"\n*Product: \"(Prova)\"\n*PSVersion: \"(3010.000) 0\"\n"
        "*LanguageLevel: \"3\"\n*ColorDevice: False\n*DefaultColorSpace: Gray\n"
        "*FileSystem: False\n*Throughput: \"1\"\n*TTRasterizer: Type42\n"
        "*DefaultFont: Courier\n*Font Courier: Standard \"(002.004S)\" Standard ROM\n";
    text += "*ModelName: \"" + model + "\"\n*ShortNickName: \"" + model + "\"\n*NickName: \"" +
            model + ", 1.0\"\n";
    for (const char* option : {"PageSize", "PageRegion"}) {
        text += std::string("*OpenUI *") + option + ": PickOne\n*OrderDependency: 10 AnySetup *" +
                option + "\n*Default" + option + ": " + defaultSize + "\n";
        for (const auto& s : sizes) {
            text += std::string("*") + option + " " + s.keyword + "/" + s.name +
                    ": \"<</PageSize[" + std::to_string(s.width) + " " + std::to_string(s.height) +
                    "]>>setpagedevice\"\n";
        }
        text += std::string("*CloseUI: *") + option + "\n";
    }
    text += "*DefaultImageableArea: " + defaultSize + "\n";
    for (const auto& s : sizes) {
        text += "*ImageableArea " + s.keyword + ": \"18 36 " + std::to_string(s.width - 18) + " " +
                std::to_string(s.height - 36) + "\"\n";
    }
    text += "*DefaultPaperDimension: " + defaultSize + "\n";
    for (const auto& s : sizes) {
        text += "*PaperDimension " + s.keyword + ": \"" + std::to_string(s.width) + " " +
                std::to_string(s.height) + "\"\n";
    }
    if (!trays.empty()) {
        text +=
            "*OpenUI *InputSlot/Alimentazione: PickOne\n*OrderDependency: 20 AnySetup "
            "*InputSlot\n*DefaultInputSlot: " +
            trays.front().keyword + "\n";
        for (std::size_t i = 0; i < trays.size(); ++i) {
            text += "*InputSlot " + trays[i].keyword + "/" + trays[i].name +
                    ": \"<</MediaPosition " + std::to_string(i) + ">>setpagedevice\"\n";
        }
        text += "*CloseUI: *InputSlot\n";
    }
    return text;
}

}  // namespace tolvane::testing
