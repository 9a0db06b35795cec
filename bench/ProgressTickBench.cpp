// What one progress tick of the main window costs, in wall time and in heap allocations per tick:
// - the media tick against a graph that answers at once (only the player's own work), with the position
//   standing still and with it advancing as playback does (30 ms a tick, so the time text changes once a
//   second);
// - the audio tick against a real stream of the audio library (fake output), whose position query counts too:
//   playing (the time text changes once a second) and paused (only the stream's queries);
// - the media tick against a real graph playing a file and paused, whose position and stop queries count too.
// Allocations are counted on the GUI thread by interposing malloc, calloc and realloc, so those that Qt and
// GStreamer make for the tick count as well (not those of the streaming threads).
// Runs headless (offscreen, fake audio output). Run: build/bench/progress_tick_bench

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include <QApplication>

#include "assets/SkinArt.h"
#include "bench/Headless.h"
#include "core/AudioPlayback.h"
#include "core/MediaOpen.h"
#include "core/PlaybackState.h"
#include "core/Transport.h"
#include "tests/support/AudioFixtures.h"
#include "tests/support/FakeGraph.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/RunTree.h"
#include "ui/QuorelMainUnit.h"

extern "C" {
void* __libc_malloc(std::size_t Size);
void* __libc_calloc(std::size_t Count, std::size_t Size);
void* __libc_realloc(void* Block, std::size_t Size);
}

namespace {

// Only the GUI thread counts: the tick runs there.
long long allocations = 0;
thread_local bool guiThread = false;

void CountAllocation() {
    if (guiThread)
        ++allocations;
}

} // namespace

extern "C" {
void* malloc(std::size_t Size) {
    CountAllocation();
    return __libc_malloc(Size);
}
void* calloc(std::size_t Count, std::size_t Size) {
    CountAllocation();
    return __libc_calloc(Count, Size);
}
void* realloc(void* Block, std::size_t Size) {
    CountAllocation();
    return __libc_realloc(Block, Size);
}
}

namespace {

using Clock = std::chrono::steady_clock;

struct Row {
    double microsecondsPerTick;
    double allocationsPerTick;
};

// Runs Ticks ticks, Step before each one.
template <class StepFn> Row Measure(TQuorelMain_Form& Form, int Ticks, StepFn Step) {
    double busy = 0.0;
    const long long before = allocations;
    for (int i = 0; i < Ticks; ++i) {
        Step(i);
        const auto start = Clock::now();
        Form.Ctrl_TTimer(nullptr);
        busy += std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    }
    const long long counted = allocations - before;
    return {busy / Ticks, static_cast<double>(counted) / Ticks};
}

void Print(const char* Name, const Row& R) {
    std::printf("%-44s %10.2f us/tick %10.3f allocations/tick\n", Name, R.microsecondsPerTick,
                R.allocationsPerTick);
}

} // namespace

int main(int argc, char** argv) {
    guiThread = true;
    bench::UseHeadlessPlayer();
    QApplication app(argc, argv);
    testing_support::RunTree tree;
    for (const auto& file : skinart::DefaultSkinFiles())
        skinart::DrawSkinFile(file.Name).save(QString::fromStdString(State.SkinPath + file.Name), "BMP");
    TQuorelMain_Form form(tree.ProgramFile(), {});
    form.Show();
    QApplication::processEvents();

    constexpr std::int64_t Second = 10'000'000;
    constexpr int Ticks = 20000;
    {
        const auto graph = testing_support::PlayFakeGraph(3600 * Second);
        State.PlayType = PlayTypes::MediaFile;
        State.VideoTimeText = "1:00:00";
        graph->current = 5 * Second;
        form.Ctrl_TTimer(nullptr); // the first tick writes the text
        Print("media tick, position standing", Measure(form, Ticks, [](int) {}));
        Print("media tick, 30 ms of playback per tick",
              Measure(form, Ticks, [&](int I) { graph->current = 5 * Second + I * (Second * 30 / 1000); }));
        GraphStop();
    }
    {
        const std::string file = testing_support::FixtureFolder() + "/bench-tone.wav";
        if (!testing_support::MakeToneFile(file, testing_support::AudioFormat::Wav, 30.0) ||
            !PlayAudioFile(file)) {
            std::fprintf(stderr, "no audio stream\n");
            return 1;
        }
        State.AudioTimeText = "0:00:30";
        // Ticks 1 ms apart, as the audio timer asks for (it runs at the class library's 10 ms).
        const auto oneMillisecond = [](int) { std::this_thread::sleep_for(std::chrono::milliseconds(1)); };
        Print("audio tick, real stream, 1 ms apart", Measure(form, 5000, oneMillisecond));
        BassPause();
        form.Ctrl_TTimer(nullptr); // the first tick writes the text
        Print("audio tick, real stream paused", Measure(form, 5000, oneMillisecond));
        BassStop();
    }
    {
        State.CurrentMediaFile = testing_support::MediaFile(testing_support::MediaFixture::Mp4H264AacLong);
        if (!OpenMediaFile(State.CurrentMediaFile)) {
            std::fprintf(stderr, "no media graph\n");
            return 1;
        }
        State.VideoTimeText = "0:00:10";
        // Events run between the ticks, as under the event loop; what they allocate (the frames painted,
        // the knob's old place repainted) is theirs, not the tick's.
        const auto eventsAfterOneMillisecond = [](int) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            const long long tick = allocations;
            QApplication::processEvents();
            allocations = tick;
        };
        Measure(form, 100, eventsAfterOneMillisecond); // past the start of playback
        Print("media tick, real graph playing, 1 ms apart", Measure(form, 3000, eventsAfterOneMillisecond));
        // Paused, the tick's own work is the graph's position and stop: nothing else changes.
        GraphPause();
        Measure(form, 100, eventsAfterOneMillisecond);
        Print("media tick, real graph paused", Measure(form, Ticks, [](int) {}));
        GraphStop();
    }
    return 0;
}
