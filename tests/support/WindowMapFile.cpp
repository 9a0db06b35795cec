#include "tests/support/WindowMapFile.h"

#include <algorithm>
#include <sstream>

#include "tests/support/TempDir.h"

namespace testing_support {

std::vector<MappedControl> ReadWindowMap(const std::string& Path) {
    std::vector<MappedControl> controls;
    std::istringstream lines(ReadFile(Path));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        MappedControl c;
        std::string x, y, w, h, shown;
        std::getline(fields, c.window, '\t');
        std::getline(fields, c.name, '\t');
        std::getline(fields, x, '\t');
        std::getline(fields, y, '\t');
        std::getline(fields, w, '\t');
        std::getline(fields, h, '\t');
        std::getline(fields, shown, '\t');
        std::getline(fields, c.text);
        if (h.empty())
            continue;
        c.x = std::stoi(x);
        c.y = std::stoi(y);
        c.width = std::stoi(w);
        c.height = std::stoi(h);
        c.shown = shown == "1";
        controls.push_back(c);
    }
    return controls;
}

std::optional<MappedControl> FindShown(const std::string& Path, const std::string& Window,
                                       const std::string& Name) {
    for (const MappedControl& c : ReadWindowMap(Path))
        if (c.window == Window && c.name == Name && c.shown)
            return c;
    return std::nullopt;
}

std::vector<MappedControl> AllShown(const std::string& Path, const std::string& Window,
                                    const std::string& Name) {
    std::vector<MappedControl> found;
    for (const MappedControl& c : ReadWindowMap(Path))
        if (c.window == Window && c.name == Name && c.shown)
            found.push_back(c);
    std::sort(found.begin(), found.end(),
              [](const MappedControl& A, const MappedControl& B) { return A.y < B.y; });
    return found;
}

} // namespace testing_support
