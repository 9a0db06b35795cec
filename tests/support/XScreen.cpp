#include "tests/support/XScreen.h"

#include <cstring>
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

namespace {

void CollectTitles(::Display* Connection, Window Parent, int Depth, std::vector<std::string>& Titles) {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(Connection, Parent, &root, &parent, &children, &count) == 0)
        return;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(Connection, children[i], &attributes) == 0 ||
            attributes.map_state != IsViewable)
            continue;
        XTextProperty name{};
        if (XGetWMName(Connection, children[i], &name) != 0 && name.value != nullptr) {
            char** list = nullptr;
            int items = 0;
            if (Xutf8TextPropertyToTextList(Connection, &name, &list, &items) >= Success && list != nullptr) {
                for (int item = 0; item < items; ++item)
                    Titles.emplace_back(list[item]);
                XFreeStringList(list);
            }
            XFree(name.value);
        }
        // A window manager's frame holds the program's window a level or two down.
        if (Depth < 3)
            CollectTitles(Connection, children[i], Depth + 1, Titles);
    }
    if (children != nullptr)
        XFree(children);
}

} // namespace

std::vector<std::string> WindowTitles(const std::string& Name) {
    std::vector<std::string> titles;
    if (const DisplayPtr display = Open(Name))
        CollectTitles(display.get(), DefaultRootWindow(display.get()), 0, titles);
    return titles;
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
    const bool rgb32 = image->bits_per_pixel == 32 && image->byte_order == LSBFirst &&
                       image->red_mask == 0xFF0000 && image->green_mask == 0xFF00 && image->blue_mask == 0xFF;
    for (int y = 0; y < Area.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        if (rgb32) {
            // The server's 24-bit true colour as the picture keeps it: one copy a row.
            std::memcpy(row, image->data + static_cast<std::ptrdiff_t>(y) * image->bytes_per_line,
                        static_cast<std::size_t>(Area.width()) * 4);
            for (int x = 0; x < Area.width(); ++x)
                row[x] |= 0xFF000000u;
            continue;
        }
        for (int x = 0; x < Area.width(); ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            auto part = [&](unsigned long Mask) {
                int shift = 0;
                while (Mask != 0 && (Mask & 1) == 0) {
                    Mask >>= 1;
                    ++shift;
                }
                return static_cast<int>(((pixel >> shift) & Mask) * 255 / (Mask != 0 ? Mask : 1));
            };
            row[x] = qRgb(part(image->red_mask), part(image->green_mask), part(image->blue_mask));
        }
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
