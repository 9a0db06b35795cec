#pragma once
// A virtual X server (Xvfb) of its own for end-to-end checks that need a real display: it picks a free
// display number itself, so that tests running at the same time do not collide.

#include <string>

#include <sys/types.h>

namespace testing_support {

class XvfbDisplay {
public:
    // Starts the server (a screen of Width x Height, 24-bit) and waits until it takes connections.
    explicit XvfbDisplay(int Width = 1280, int Height = 1024);
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    // ":N", or empty when the server could not be started.
    const std::string& Name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

} // namespace testing_support
