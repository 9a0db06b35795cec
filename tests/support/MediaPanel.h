#pragma once
// A main window with a video panel in it, as the open procedures expect (handles in the shared state), and
// waiting helpers that let queued repaints run.

#include <chrono>
#include <functional>
#include <memory>

#include <QImage>
#include <QWidget>

#include "platform/media/Interfaces.h"
#include "tests/support/MediaFixtures.h"

namespace testing_support {

class MediaWindow {
public:
    // A main window whose panel keeps a 4-pixel margin on each side; the panel starts at PanelWidth x PanelHeight.
    MediaWindow(int PanelWidth, int PanelHeight);
    ~MediaWindow();
    QWidget& Main() { return *main_; }
    QWidget& Panel() { return *panel_; }
    QImage Picture() const;

private:
    std::unique_ptr<QWidget> main_;
    QWidget* panel_;
};

// Polls Condition with Qt events running; false when it never held within Limit (a guard against hangs).
bool WaitUntil(const std::function<bool()>& Condition, std::chrono::milliseconds Limit = std::chrono::seconds(20));
// Lets Qt events run for Time.
void Pump(std::chrono::milliseconds Time);

// A graph's current position (the call is expected to succeed), in 100-ns units.
dshow::LONGLONG PositionOf(dshow::IMediaSeeking* Seeking);
// How far the position moved while Time passed on the wall clock, both in 100-ns units.
struct Advance {
    dshow::LONGLONG position;
    dshow::LONGLONG wall;
};
Advance MeasureAdvance(dshow::IMediaSeeking* Seeking, std::chrono::milliseconds Time);

bool NearColour(unsigned Pixel, Rgb Want, int Tolerance = 30);

} // namespace testing_support
