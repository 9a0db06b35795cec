#pragma once
// The map of the program's windows that the built program writes for end-to-end tests when QUOREL_WINDOW_MAP
// names a file: one line per named control, with its place on the screen, whether it shows, and its text.

#include <optional>
#include <string>
#include <vector>

namespace testing_support {

struct MappedControl {
    std::string window, name;
    int x = 0, y = 0, width = 0, height = 0;
    bool shown = false;
    std::string text;
    int CentreX() const { return x + width / 2; }
    int CentreY() const { return y + height / 2; }
};

// Every control of the map in the file Path (none when the file is missing).
std::vector<MappedControl> ReadWindowMap(const std::string& Path);
// The shown control Name of the window Window.
std::optional<MappedControl> FindShown(const std::string& Path, const std::string& Window,
                                       const std::string& Name);
// The shown controls Name of the window Window, top to bottom.
std::vector<MappedControl> AllShown(const std::string& Path, const std::string& Window,
                                    const std::string& Name);

} // namespace testing_support
