#include "tests/support/XScreen.h"

#include <array>
#include <cstdio>
#include <memory>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace testing_support {

namespace {

std::string Quoted(const std::string& Text) {
    std::string quoted = "'";
    for (char c : Text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::string Run(const std::string& Command, int* ExitStatus = nullptr) {
    std::string output;
    FILE* pipe = ::popen(Command.c_str(), "r");
    if (pipe == nullptr)
        return output;
    std::array<char, 256> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr)
        output += buffer.data();
    const int status = ::pclose(pipe);
    if (ExitStatus != nullptr)
        *ExitStatus = status;
    return output;
}

} // namespace

QImage GrabScreen(const std::string& Display) {
    ::Display* display = XOpenDisplay(Display.c_str());
    if (display == nullptr)
        return {};
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, root, &attributes);
    XImage* image = XGetImage(display, root, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    QImage picture;
    if (image != nullptr) {
        picture = QImage(attributes.width, attributes.height, QImage::Format_RGB32);
        for (int y = 0; y < attributes.height; ++y)
            for (int x = 0; x < attributes.width; ++x) {
                const unsigned long pixel = XGetPixel(image, x, y);
                picture.setPixel(x, y,
                                 qRgb(static_cast<int>((pixel & image->red_mask) >> 16),
                                      static_cast<int>((pixel & image->green_mask) >> 8),
                                      static_cast<int>(pixel & image->blue_mask)));
            }
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return picture;
}

// xdotool matches names against the window's WM_NAME, which Qt does not always set; its own name query reads
// the name a user sees, so each visible window is asked.
QRect WindowNamed(const std::string& Display, const std::string& Name) {
    const std::string prefix = "DISPLAY=" + Quoted(Display) + " xdotool ";
    const std::string windows = Run(prefix + "search --onlyvisible --name '' 2>/dev/null");
    std::string id;
    for (std::size_t at = 0; at < windows.size() && id.empty();) {
        const std::size_t end = windows.find('\n', at);
        const std::string candidate = windows.substr(at, end - at);
        if (!candidate.empty() && Run(prefix + "getwindowname " + candidate + " 2>/dev/null") == Name + "\n")
            id = candidate;
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    if (id.empty())
        return {};
    const std::string shell = Run(prefix + "getwindowgeometry --shell " + id + " 2>/dev/null");
    int x = 0, y = 0, width = 0, height = 0;
    for (std::size_t at = 0; at < shell.size();) {
        const std::size_t end = shell.find('\n', at);
        const std::string line = shell.substr(at, end - at);
        const auto value = [&](const char* key, int& into) {
            if (line.rfind(key, 0) == 0)
                into = std::stoi(line.substr(std::char_traits<char>::length(key)));
        };
        value("X=", x);
        value("Y=", y);
        value("WIDTH=", width);
        value("HEIGHT=", height);
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    return QRect(x, y, width, height);
}

bool Xdotool(const std::string& Display, const std::vector<std::string>& Arguments) {
    std::string command = "DISPLAY=" + Quoted(Display) + " xdotool";
    for (const std::string& argument : Arguments)
        command += " " + Quoted(argument);
    int status = -1;
    Run(command + " 2>/dev/null", &status);
    return status == 0;
}

} // namespace testing_support
