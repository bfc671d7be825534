// The screens of an office that the front end's tests run on: Qt's offscreen platform given one
// screen of that size by a configuration file under tests/qt/screens.
#pragma once

#include <ostream>
#include <string>

namespace tolvane::testing {

struct Screen {
    int width;
    int height;
};

inline void PrintTo(const Screen& screen, std::ostream* out) {
    *out << screen.width << "x" << screen.height;
}

// The platform argument that gives the application this screen.
inline std::string offscreenPlatform(const Screen& screen) {
    return "offscreen:configfile=" + std::string(TOLVANE_SOURCE_DIR) + "/tests/qt/screens/" +
           std::to_string(screen.width) + "x" + std::to_string(screen.height) + ".json";
}

}  // namespace tolvane::testing
