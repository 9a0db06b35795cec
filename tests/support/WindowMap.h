#pragma once
// The map of its windows that the program writes for end-to-end tests (QUOREL_WINDOW_MAP), read back, and
// mouse clicks given on a virtual display as a user gives them (xdotool).

#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// One named control of a window of the program, in screen pixels.
struct MappedControl {
    std::string window, name;
    int x = 0, y = 0, width = 0, height = 0;
    bool shown = false;
    std::string text;
    int CentreX() const { return x + width / 2; }
    int CentreY() const { return y + height / 2; }
};

class WindowMap {
public:
    explicit WindowMap(std::string Path) : path_(std::move(Path)) {}

    const std::string& Path() const { return path_; }
    // Every control of the map as the program last wrote it.
    std::vector<MappedControl> Controls() const;
    // The shown control Name of Window.
    std::optional<MappedControl> Find(const std::string& Window, const std::string& Name) const;
    // The shown control once the map has shown it at one place for HoldMs: a file opened at the start is
    // opened after the window was first shown, and the window is laid out again for it. Empty when it does
    // not hold still within TimeoutMs.
    std::optional<MappedControl> FindSettled(const std::string& Window, const std::string& Name,
                                             int HoldMs = 300, int TimeoutMs = 20000) const;
    // The shown controls of Window named Name, top to bottom.
    std::vector<MappedControl> All(const std::string& Window, const std::string& Name) const;

private:
    std::string path_;
};

// Clicks times (2: a double click) with the left button at (X, Y) of the screen of Display; the pointer
// rests there a moment first. False when xdotool failed.
bool ClickAt(const std::string& Display, int X, int Y, int Clicks = 1);

} // namespace testing_support
