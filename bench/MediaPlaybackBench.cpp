// What playing a 1080p H.264 file costs the player, next to what decoding alone costs:
// - the process CPU time per second of playback (player) and per second of media (decode only,
//   gst-launch-1.0 filesrc ! decodebin ! fakesink sync=false);
// - the time from OpenMediaFile to the first painted frame.
// The player's overhead over pure decoding is the difference. Runs headless (offscreen, fake audio output).
// The audio rows do the same for an MP3 file played through the audio library, polled as the audio tick
// polls it, with the time PlayAudioFile takes for a short and a long file (the length of an MP3 file without
// a frame-count header is found by reading the file through once).

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
#include "core/AudioPlayback.h"
#include "core/MediaOpen.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/Transport.h"
#include "platform/audio/Bass.h"
#include "platform/win32/Window.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TempDir.h"

namespace {

using bench::Clock;
using bench::CpuSeconds;
using bench::Since;

constexpr double ClipSeconds = 8.0;

// CPU and wall seconds of a decode-only run of File in a child process.
void DecodeOnly(const std::string& File, double& Wall, double& Cpu) {
    const double childBefore = CpuSeconds(RUSAGE_CHILDREN);
    const auto start = Clock::now();
    const std::string command =
        "gst-launch-1.0 -q filesrc location='" + File + "' ! decodebin ! fakesink sync=false >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "decode-only run failed\n");
    Wall = Since(start);
    Cpu = CpuSeconds(RUSAGE_CHILDREN) - childBefore;
}

std::string MakeMp3(const testing_support::TempDir& Dir, const char* Name, int Seconds) {
    const std::string file = Dir.File(Name);
    const std::string description = "audiotestsrc num-buffers=" + std::to_string(Seconds * 10) +
                                    " samplesperbuffer=4410 ! audio/x-raw,rate=44100,channels=2 ! "
                                    "lamemp3enc target=bitrate bitrate=192 ! filesink location={out}";
    return testing_support::MakeMediaFile(description, file) ? file : std::string();
}

void AudioRows(const testing_support::TempDir& Dir) {
    std::printf("\nmaking an %.0f s and a 300 s MP3 file...\n", ClipSeconds);
    const std::string clip = MakeMp3(Dir, "bench.mp3", static_cast<int>(ClipSeconds));
    const std::string longClip = MakeMp3(Dir, "bench-long.mp3", 300);
    if (clip.empty() || longClip.empty()) {
        std::fprintf(stderr, "cannot make the MP3 files\n");
        return;
    }
    double decodeWall = 0, decodeCpu = 0;
    DecodeOnly(clip, decodeWall, decodeCpu);

    auto openStart = Clock::now();
    PlayAudioFile(longClip);
    const double longOpen = Since(openStart);
    BassStop();

    openStart = Clock::now();
    if (!PlayAudioFile(clip)) {
        std::fprintf(stderr, "the player could not open the MP3 file\n");
        return;
    }
    AddEqualizerEffects();
    const double open = Since(openStart);

    auto position = [] {
        return bass::BASS_ChannelBytes2Seconds(
            State.BassStream, bass::BASS_ChannelGetPosition(State.BassStream, bass::BASS_POS_BYTE));
    };
    const double cpuBefore = CpuSeconds(RUSAGE_SELF);
    const double startPosition = position();
    const auto playStart = Clock::now();
    while (Since(playStart) < ClipSeconds - 2.0) {
        position(); // the audio tick's two calls, at the timer's 10 ms
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const double played = position() - startPosition;
    const double playCpu = CpuSeconds(RUSAGE_SELF) - cpuBefore;
    BassStop();

    std::printf("%-44s %9.3f s\n", "audio decode only: CPU per second of media", decodeCpu / ClipSeconds);
    std::printf("%-44s %9.3f s\n", "audio player: PlayAudioFile, 8 s file", open);
    std::printf("%-44s %9.3f s\n", "audio player: PlayAudioFile, 300 s file", longOpen);
    std::printf("%-44s %9.3f s\n", "audio player: CPU per second of playback",
                played > 0 ? playCpu / played : 0.0);
    std::printf("%-44s %9.3f s\n", "audio overhead: CPU per second over decode",
                (played > 0 ? playCpu / played : 0.0) - decodeCpu / ClipSeconds);
}

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("QUOREL_AUDIO_OUTPUT", "fake", 0);
    QApplication app(argc, argv);
    testing_support::TempDir dir;
    const std::string clip = dir.File("bench1080.mp4");
    std::printf("making an %.0f s 1080p H.264/AAC clip...\n", ClipSeconds);
    if (!testing_support::MakeMediaFile(
            "videotestsrc num-buffers=240 pattern=ball ! video/x-raw,width=1920,height=1080,framerate=30/1 ! "
            "x264enc speed-preset=veryfast key-int-max=60 ! h264parse ! mp4mux name=mux ! filesink "
            "location={out} "
            "audiotestsrc num-buffers=80 samplesperbuffer=4410 ! audio/x-raw,rate=44100,channels=2 ! "
            "voaacenc ! "
            "aacparse ! mux.",
            clip)) {
        std::fprintf(stderr, "cannot make the clip\n");
        return 1;
    }

    // Decode only, in a child process.
    double decodeWall = 0, decodeCpu = 0;
    DecodeOnly(clip, decodeWall, decodeCpu);

    // The player: renderer 9 into a 960 x 540 panel, the video fitted into it.
    QWidget panel;
    panel.resize(960, 540);
    panel.show();
    testing_support::TempDir runTree;
    StartSettings(runTree.File("QuorelMain"));
    WriteIniInteger("PlayControl", "WhileOpenMedia", WhileOpenMedias::VideoFitsWindow);
    State.MainWindowHandle = win32::HandleOf(&panel);
    State.VideoPanelHandle = win32::HandleOf(&panel);
    State.RenderType = RenderTypes::Vmr9;
    State.CurrentMediaFile = clip;

    const double cpuBefore = CpuSeconds(RUSAGE_SELF);
    const auto openStart = Clock::now();
    if (!OpenMediaFile(clip)) {
        std::fprintf(stderr, "the player could not open the clip\n");
        return 1;
    }
    const double openReturned = Since(openStart);
    double firstFrame = -1;
    while (Since(openStart) < 10) {
        QApplication::processEvents();
        const QImage picture = panel.grab().toImage();
        if (qGray(picture.pixel(480, 270)) > 0 || qGray(picture.pixel(200, 100)) > 0) {
            firstFrame = Since(openStart);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const double setupCpu = CpuSeconds(RUSAGE_SELF) - cpuBefore;

    // Steady playback: the CPU the process spends per second of real-time playing.
    const double playCpuBefore = CpuSeconds(RUSAGE_SELF);
    std::int64_t startPosition = 0, endPosition = 0;
    State.MediaSeeking->GetCurrentPosition(&startPosition);
    const auto playStart = Clock::now();
    while (Since(playStart) < ClipSeconds - 2.5) {
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    State.MediaSeeking->GetCurrentPosition(&endPosition);
    const double playWall = Since(playStart);
    const double playCpu = CpuSeconds(RUSAGE_SELF) - playCpuBefore;
    const double mediaPlayed = static_cast<double>(endPosition - startPosition) / 1e7;
    GraphStop();

    std::printf("\n%-44s %10s\n", "", "value");
    std::printf("%-44s %9.3f s\n", "decode only: wall time for the clip", decodeWall);
    std::printf("%-44s %9.3f s\n", "decode only: CPU per second of media", decodeCpu / ClipSeconds);
    std::printf("%-44s %9.3f s\n", "player: OpenMediaFile returned after", openReturned);
    std::printf("%-44s %9.3f s\n", "player: first painted frame after", firstFrame);
    std::printf("%-44s %9.3f s\n", "player: CPU until the first frame", setupCpu);
    std::printf("%-44s %9.3f s\n", "player: CPU per second of playback",
                mediaPlayed > 0 ? playCpu / mediaPlayed : 0.0);
    std::printf("%-44s %9.3f s\n", "player: media played (over wall seconds)", mediaPlayed);
    std::printf("%-44s %9.3f s\n", "  wall seconds", playWall);
    std::printf("%-44s %9.3f s\n", "overhead: CPU per second over decode only",
                (mediaPlayed > 0 ? playCpu / mediaPlayed : 0.0) - decodeCpu / ClipSeconds);
    AudioRows(dir);
    return 0;
}
