// A private X display for the tests that need a real window manager: Xvfb on a display number of
// its own, openbox managing it, and the test's own X connection that reads the root window's
// properties; input goes in as real X events (XTEST, through xdotool). Stopped with the object or
// with the test program; never touches the user's display or the user's window-manager settings.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/scratch_folder.h"

namespace tolvane::testing {

class PrivateXDisplay {
  public:
    PrivateXDisplay() = default;
    ~PrivateXDisplay() { stop(); }
    PrivateXDisplay(const PrivateXDisplay&) = delete;
    PrivateXDisplay& operator=(const PrivateXDisplay&) = delete;

    // Starts the server on a free display number it picks itself; "" once it takes connections,
    // else why it could not.
    std::string startServer() {
        int ready[2];
        if (::pipe(ready) != 0) return "pipe";
        const std::string fd = std::to_string(ready[1]);
        server_ = spawn({"Xvfb", "-displayfd", fd, "-screen", "0", "1366x768x24", "-nolisten",
                         "tcp", "-noreset"},
                        {}, "xvfb.log", ready[0]);
        ::close(ready[1]);
        // The server writes its display number once it listens; it closes the pipe when it fails.
        std::string number;
        char c = 0;
        pollfd wait{ready[0], POLLIN, 0};
        while (::poll(&wait, 1, kStartMs) > 0 && ::read(ready[0], &c, 1) == 1 && c != '\n')
            number += c;
        ::close(ready[0]);
        if (server_ <= 0 || number.empty()) {
            int status = 0;
            const bool missing = server_ > 0 && ::waitpid(server_, &status, 0) == server_ &&
                                 WIFEXITED(status) && WEXITSTATUS(status) == 127;
            server_ = -1;
            if (missing) return "Xvfb is not installed (scripts/setup installs it)";
            return "Xvfb did not start: " + log("xvfb.log");
        }
        name_ = ":" + number;
        connection_ = xcb_connect(name_.c_str(), nullptr);
        if (xcb_connection_has_error(connection_)) return "no connection to Xvfb on " + name_;
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        // Every change of a root property (the active window, the stacking) wakes the test.
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
        return {};
    }

    // Starts openbox with its own settings folder and waits, a bounded while, until it manages
    // the screen with the hints Qt asks it for; "" or why not.
    std::string startWindowManager() {
        const std::string home = folder_.path().string();
        manager_ = spawn({"openbox", "--sm-disable"},
                         {"DISPLAY=" + name_, "HOME=" + home, "XDG_CONFIG_HOME=" + home + "/config",
                          "XDG_CACHE_HOME=" + home + "/cache", "XDG_DATA_HOME=" + home + "/data"},
                         "openbox.log");
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartMs);
        while (!windowManagerReady()) {
            int status = 0;
            if (manager_ <= 0 || ::waitpid(manager_, &status, WNOHANG) == manager_) {
                manager_ = -1;
                return "openbox did not start (scripts/setup installs it): " + log("openbox.log");
            }
            if (!waitForEvent(deadline)) return "openbox never managed the screen";
        }
        return {};
    }

    const std::string& name() const { return name_; }
    // Readable whenever a property of the root window changed; drain() takes what came.
    int fd() const { return xcb_get_file_descriptor(connection_); }
    void drain() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) std::free(event);
    }

    // The window the window manager holds active (0: none).
    uint32_t activeWindow() { return rootWindows("_NET_ACTIVE_WINDOW").front(); }
    // The managed windows from the bottom to the top.
    std::vector<uint32_t> stacking() { return rootWindows("_NET_CLIENT_LIST_STACKING"); }

    // A point on the title bar the window manager draws above the window, in root coordinates.
    std::pair<int, int> titleBarPoint(uint32_t window) {
        auto place = reply(xcb_translate_coordinates_reply(
            connection_, xcb_translate_coordinates(connection_, window, root_, 0, 0), nullptr));
        std::vector<uint32_t> frame = cardinals(window, "_NET_FRAME_EXTENTS");
        const int top = frame.size() == 4 ? static_cast<int>(frame[2]) : 0;
        if (!place) return {-1, -1};
        return {place->dst_x + 60, place->dst_y - top / 2};
    }

    // xdotool on this display; its exit code (127: not installed, see scripts/setup).
    int xdotool(const std::string& arguments) const {
        const std::string command = "DISPLAY=" + name_ + " xdotool " + arguments + " >>'" +
                                    folder_.file("xdotool.log") + "' 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string log(const std::string& file) const {
        return ScratchFolder::read(folder_.file(file));
    }

    void stop() {
        end(manager_);
        if (connection_) xcb_disconnect(connection_);
        connection_ = nullptr;
        end(server_);
    }

  private:
    static constexpr int kStartMs = 10000;

    template <class T>
    static std::unique_ptr<T, decltype(&std::free)> reply(T* value) {
        return {value, &std::free};
    }

    pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                const std::string& logName, int closeInChild = -1) const {
        const std::string output = folder_.file(logName);
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        // The test's environment with the given names set; made before the fork, where the
        // child may only make async-signal-safe calls.
        std::vector<char*> envp;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string_view entry(*e);
            const bool replaced = std::any_of(env.begin(), env.end(), [&](const std::string& v) {
                return entry.substr(0, entry.find('=') + 1) == v.substr(0, v.find('=') + 1);
            });
            if (!replaced) envp.push_back(*e);
        }
        for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) {
            // A test program that dies takes its display with it.
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (closeInChild >= 0) ::close(closeInChild);
            const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (out >= 0) {
                ::dup2(out, 1);
                ::dup2(out, 2);
            }
            ::execvpe(args[0], args.data(), envp.data());
            ::_exit(127);
        }
        return pid;
    }

    static void end(pid_t& pid) {
        if (pid <= 0) return;
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
        pid = -1;
    }

    bool waitForEvent(std::chrono::steady_clock::time_point deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd wait{fd(), POLLIN, 0};
        if (left.count() <= 0 || ::poll(&wait, 1, static_cast<int>(left.count())) <= 0)
            return false;
        drain();
        return true;
    }

    bool windowManagerReady() {
        if (rootWindows("_NET_SUPPORTING_WM_CHECK").front() == 0) return false;
        const std::vector<uint32_t> supported = cardinals(root_, "_NET_SUPPORTED");
        return std::find(supported.begin(), supported.end(), atom("_NET_ACTIVE_WINDOW")) !=
               supported.end();
    }

    uint32_t atom(const char* name) {
        auto r = reply(xcb_intern_atom_reply(
            connection_,
            xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name),
            nullptr));
        return r ? r->atom : 0;
    }

    // A property of 32-bit values (windows, atoms, cardinals).
    std::vector<uint32_t> cardinals(uint32_t window, const char* property) {
        auto r =
            reply(xcb_get_property_reply(connection_,
                                         xcb_get_property(connection_, 0, window, atom(property),
                                                          XCB_GET_PROPERTY_TYPE_ANY, 0, 4096),
                                         nullptr));
        if (!r || r->format != 32) return {};
        const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(r.get()));
        return {values, values + xcb_get_property_value_length(r.get()) / 4};
    }

    // Never empty: 0 stands for a property that is not there.
    std::vector<uint32_t> rootWindows(const char* property) {
        std::vector<uint32_t> windows = cardinals(root_, property);
        if (windows.empty()) windows.push_back(0);
        return windows;
    }

    ScratchFolder folder_;
    pid_t server_ = -1;
    pid_t manager_ = -1;
    std::string name_;
    xcb_connection_t* connection_ = nullptr;
    uint32_t root_ = 0;
};

}  // namespace tolvane::testing
