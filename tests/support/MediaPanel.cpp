#include "tests/support/MediaPanel.h"

#include <cstdlib>
#include <thread>

#include <QApplication>

#include <gtest/gtest.h>

#include "tests/support/MediaFixtures.h"
#include "tests/support/QtApp.h"

namespace testing_support {

bool WaitUntil(const std::function<bool()>& Condition, std::chrono::milliseconds Limit) {
    const auto end = std::chrono::steady_clock::now() + Limit;
    while (std::chrono::steady_clock::now() < end) {
        QApplication::processEvents();
        if (Condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

void Pump(std::chrono::milliseconds Time) {
    WaitUntil([] { return false; }, Time);
}

dshow::LONGLONG PositionOf(dshow::IMediaSeeking* Seeking) {
    dshow::LONGLONG position = -1;
    EXPECT_EQ(Seeking->GetCurrentPosition(&position), com::S_OK);
    return position;
}

Advance MeasureAdvance(dshow::IMediaSeeking* Seeking, std::chrono::milliseconds Time) {
    const auto wallStart = std::chrono::steady_clock::now();
    const dshow::LONGLONG start = PositionOf(Seeking);
    Pump(Time);
    const dshow::LONGLONG advanced = PositionOf(Seeking) - start;
    const auto wall = std::chrono::steady_clock::now() - wallStart;
    return {advanced, std::chrono::duration_cast<std::chrono::microseconds>(wall).count() * 10};
}

bool NearColour(unsigned Pixel, Rgb Want, int Tolerance) {
    return std::abs(qRed(Pixel) - Want.r) <= Tolerance && std::abs(qGreen(Pixel) - Want.g) <= Tolerance &&
           std::abs(qBlue(Pixel) - Want.b) <= Tolerance;
}

} // namespace testing_support
