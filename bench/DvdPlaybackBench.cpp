// What playing a DVD title costs the player, next to what decoding the same video object file alone costs:
// - the process CPU time per second of playback of title 1 of the authored disc (720 x 576 MPEG-2, two AC3
//   streams, two subpicture streams) through OpenDvd, the navigator and the graph, as the DVD tick polls it;
// - the CPU per second of media of gst-launch-1.0 filesrc ! decodebin ! fakesink sync=false on the title's
//   VTS_01_1.VOB (the same streams, decoded without navigation, overlay or painting);
// - the time from OpenDvd to the menu's first painted frame.
// Runs headless (offscreen, fake audio output). Run: build/bench/dvd_playback_bench

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <sys/resource.h>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include "bench/BenchTiming.h"
#include "core/DvdGraph.h"
#include "core/DvdNavigation.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/Transport.h"
#include "platform/win32/Window.h"
#include "tests/support/DvdFixtures.h"
#include "tests/support/TempDir.h"

namespace {

using bench::Clock;
using bench::CpuSeconds;
using bench::Since;

constexpr double TitleSeconds = 12.0;
constexpr double PlaySeconds = 8.0;

// The title's position in seconds, with its frames.
double TitlePosition() {
    dshow::DVD_PLAYBACK_LOCATION2 where;
    if (!State.DvdInfo2 || State.DvdInfo2->GetCurrentLocation(&where) != com::S_OK)
        return 0;
    return where.TimeCode.bHours * 3600.0 + where.TimeCode.bMinutes * 60.0 + where.TimeCode.bSeconds +
           where.TimeCode.bFrames / 25.0;
}

void Pump(double Seconds) {
    const auto start = Clock::now();
    while (Since(start) < Seconds) {
        QApplication::processEvents();
        // The DVD tick's calls, at its 30 ms.
        std::int64_t h = 0, m = 0, s = 0;
        GetDvdDomain();
        GetDvdPositionSeconds(h, m, s);
        CurrentChapterIndex();
        GetDvdTitleLengthSeconds(h, m, s);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
}

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("QUOREL_AUDIO_OUTPUT", "fake", 0);
    QApplication app(argc, argv);
    std::printf("authoring the test disc...\n");
    const std::string disc = testing_support::DvdDisc();

    // Decode only, in a child process.
    const double childBefore = CpuSeconds(RUSAGE_CHILDREN);
    const auto decodeStart = Clock::now();
    const std::string command = "gst-launch-1.0 -q filesrc location='" + disc +
                                "/VIDEO_TS/VTS_01_1.VOB' ! decodebin ! fakesink sync=false >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "decode-only run failed\n");
    const double decodeWall = Since(decodeStart);
    const double decodeCpu = CpuSeconds(RUSAGE_CHILDREN) - childBefore;

    // The player: the disc into a 720 x 576 panel.
    QWidget panel;
    panel.resize(720, 576);
    panel.show();
    testing_support::TempDir runTree;
    StartSettings(runTree.File("QuorelMain"));
    WriteIniInteger("PlayControl", "WhileOpenMedia", WhileOpenMedias::VideoFitsWindow);
    State.MainWindowHandle = win32::HandleOf(&panel);
    State.VideoPanelHandle = win32::HandleOf(&panel);
    State.VideoScale = VideoScales::Fill;
    State.DvdChapterList = std::make_unique<forms::TStringList>();

    const auto openStart = Clock::now();
    if (!OpenDvd(disc)) {
        std::fprintf(stderr, "the player could not open the disc\n");
        return 1;
    }
    const double openReturned = Since(openStart);
    double firstFrame = -1;
    while (Since(openStart) < 10) {
        QApplication::processEvents();
        if (qGray(panel.grab().toImage().pixel(100, 288)) > 0) {
            firstFrame = Since(openStart);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    DvdPlayTitle(1, dshow::DVD_CMD_FLAG_Flush);
    Pump(1.0);
    const double cpuBefore = CpuSeconds(RUSAGE_SELF);
    const double startPosition = TitlePosition();
    const auto playStart = Clock::now();
    Pump(PlaySeconds);
    const double played = TitlePosition() - startPosition;
    const double playWall = Since(playStart);
    const double playCpu = CpuSeconds(RUSAGE_SELF) - cpuBefore;
    GraphStop();

    std::printf("\n%-48s %10s\n", "", "value");
    std::printf("%-48s %9.3f s\n", "decode only: wall time for title 1's VOB", decodeWall);
    std::printf("%-48s %9.3f s\n", "decode only: CPU per second of media", decodeCpu / TitleSeconds);
    std::printf("%-48s %9.3f s\n", "player: OpenDvd returned after", openReturned);
    std::printf("%-48s %9.3f s\n", "player: the menu's first painted frame after", firstFrame);
    std::printf("%-48s %9.3f s\n", "player: CPU per second of DVD playback",
                played > 0 ? playCpu / played : 0.0);
    std::printf("%-48s %9.3f s\n", "player: title played (over wall seconds)", played);
    std::printf("%-48s %9.3f s\n", "  wall seconds", playWall);
    std::printf("%-48s %9.3f s\n", "overhead: CPU per second over decode only",
                (played > 0 ? playCpu / played : 0.0) - decodeCpu / TitleSeconds);
    return 0;
}
