#include "tests/support/XScreen.h"

#include <memory>

#include <sys/wait.h>
#include <unistd.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace testing_support {

namespace {

using DisplayPtr = std::unique_ptr<Display, decltype(&XCloseDisplay)>;

DisplayPtr Open(const std::string& Name) {
    return DisplayPtr(XOpenDisplay(Name.c_str()), &XCloseDisplay);
}

} // namespace

std::vector<QRect> MappedWindows(const std::string& Name) {
    std::vector<QRect> windows;
    const DisplayPtr display = Open(Name);
    if (!display)
        return windows;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display.get(), DefaultRootWindow(display.get()), &root, &parent, &children, &count) == 0)
        return windows;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display.get(), children[i], &attributes) != 0 &&
            attributes.map_state == IsViewable)
            windows.emplace_back(attributes.x, attributes.y, attributes.width, attributes.height);
    }
    if (children != nullptr)
        XFree(children);
    return windows;
}

QImage GrabScreen(const std::string& Name, const QRect& Area) {
    const DisplayPtr display = Open(Name);
    if (!display || Area.isEmpty())
        return {};
    XImage* image = XGetImage(display.get(), DefaultRootWindow(display.get()), Area.x(), Area.y(),
                              static_cast<unsigned>(Area.width()), static_cast<unsigned>(Area.height()),
                              AllPlanes, ZPixmap);
    if (image == nullptr)
        return {};
    QImage picture(Area.size(), QImage::Format_RGB32);
    for (int y = 0; y < Area.height(); ++y)
        for (int x = 0; x < Area.width(); ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            // The server's 24-bit true colour: red, green and blue in the masks of its visual.
            picture.setPixel(x, y,
                             qRgb(static_cast<int>((pixel & image->red_mask) >> 16),
                                  static_cast<int>((pixel & image->green_mask) >> 8),
                                  static_cast<int>(pixel & image->blue_mask)));
        }
    XDestroyImage(image);
    return picture;
}

bool XdoTool(const std::string& Name, const std::vector<std::string>& Arguments) {
    const pid_t pid = ::fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        ::setenv("DISPLAY", Name.c_str(), 1);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>("xdotool"));
        for (const auto& argument : Arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execvp("xdotool", argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace testing_support
