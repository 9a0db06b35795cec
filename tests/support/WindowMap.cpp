#include "tests/support/WindowMap.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>

#include "tests/support/TempDir.h"

namespace testing_support {

std::vector<MappedControl> WindowMap::Controls() const {
    std::vector<MappedControl> controls;
    std::istringstream lines(ReadFile(path_));
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

std::optional<MappedControl> WindowMap::Find(const std::string& Window, const std::string& Name) const {
    for (const MappedControl& c : Controls())
        if (c.window == Window && c.name == Name && c.shown)
            return c;
    return std::nullopt;
}

std::optional<MappedControl> WindowMap::FindSettled(const std::string& Window, const std::string& Name,
                                                    int HoldMs, int TimeoutMs) const {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    std::optional<MappedControl> held;
    auto heldSince = start;
    while (Clock::now() - start < std::chrono::milliseconds(TimeoutMs)) {
        const std::optional<MappedControl> now = Find(Window, Name);
        const auto same = [](const MappedControl& A, const MappedControl& B) {
            return A.x == B.x && A.y == B.y && A.width == B.width && A.height == B.height;
        };
        if (!now || !held || !same(*now, *held)) {
            held = now;
            heldSince = Clock::now();
        } else if (Clock::now() - heldSince >= std::chrono::milliseconds(HoldMs)) {
            return held;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::nullopt;
}

std::vector<MappedControl> WindowMap::All(const std::string& Window, const std::string& Name) const {
    std::vector<MappedControl> found;
    for (const MappedControl& c : Controls())
        if (c.window == Window && c.name == Name && c.shown)
            found.push_back(c);
    std::sort(found.begin(), found.end(),
              [](const MappedControl& A, const MappedControl& B) { return A.y < B.y; });
    return found;
}

bool ClickAt(const std::string& Display, int X, int Y, int Clicks) {
    const std::string command = "DISPLAY=" + Display + " xdotool mousemove " + std::to_string(X) + " " +
                                std::to_string(Y) + " sleep 0.2 click --repeat " + std::to_string(Clicks) +
                                " --delay 80 1";
    return std::system(command.c_str()) == 0;
}

} // namespace testing_support
