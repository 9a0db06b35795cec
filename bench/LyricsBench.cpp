// What a long lyrics file costs, for 10,000 and 100,000 timed lines (one every 0.5 s):
// - the load: the file read, its lines sorted by time, the text label filled and the lines' times made;
// - one lyrics step of the audio tick, which runs every millisecond while audio plays: the audio position
//   advancing 1 ms a tick through the whole file, in CPU time per tick and as the share of one core it takes
//   at one tick a millisecond;
// - for comparison, the walk over the lines that the step did before (the first line whose time holds the
//   position, looked for from the top at every tick).
// Each figure is the least of three runs (the machine may be busy). Before, 10,000 lines took half a core and
// 100,000 a whole one while the audio played.
// Runs headless (offscreen). Run: build/bench/lyrics_bench

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <sys/resource.h>

#include <QApplication>

#include "bench/BenchMainWindow.h"
#include "bench/BenchTiming.h"
#include "bench/Headless.h"
#include "core/PlaybackState.h"
#include "tests/support/RunTree.h"
#include "ui/QuorelMainUnit.h"

namespace {

constexpr double Gap = 0.5;

struct Row {
    double load, step, painted, walk;
};

Row Min(const Row& A, const Row& B) {
    return {std::min(A.load, B.load), std::min(A.step, B.step), std::min(A.painted, B.painted),
            std::min(A.walk, B.walk)};
}

Row Measure(int N) {
    testing_support::RunTree tree;
    TQuorelMain_Form form(tree.ProgramFile(), {});
    const std::string file = tree.Root() + "/long.lrc";
    {
        std::ofstream out(file, std::ios::binary);
        char tag[32];
        for (int i = 0; i < N; ++i) {
            const double t = 1.0 + i * Gap;
            std::snprintf(tag, sizeof tag, "[%02d:%05.2f]", static_cast<int>(t) / 60,
                          t - 60.0 * (static_cast<int>(t) / 60));
            out << tag << "The words of line " << i << "\r\n";
        }
    }
    State.PlayType = PlayTypes::Audio;
    State.AudioLength = 2.0 + N * Gap;

    Row row{};
    auto start = bench::Clock::now();
    form.LoadLyricsFile(file);
    row.load = bench::Since(start);
    if (static_cast<int>(State.LrcLineTimes.size()) != N)
        std::fprintf(stderr, "unexpected lines: %zu, not %d\n", State.LrcLineTimes.size(), N);

    // Ticks 1 ms apart, spread over the whole file in runs of 1,000 (a second of playback each).
    constexpr int Runs = 100, TicksPerRun = 1000;
    const double cpu = bench::CpuSeconds(RUSAGE_SELF);
    for (int r = 0; r < Runs; ++r) {
        const double from = 1.0 + (N * Gap) * r / Runs;
        for (int t = 0; t < TicksPerRun; ++t)
            form.LyricsStep(static_cast<double>(static_cast<long long>((from + t * 0.001) * 100)) / 100);
    }
    row.step = (bench::CpuSeconds(RUSAGE_SELF) - cpu) / (Runs * TicksPerRun);
    // The last tick shows the line of its time.
    const double last = 1.0 + (N * Gap) * (Runs - 1) / Runs + (TicksPerRun - 1) * 0.001;
    const std::string expected = "The words of line " + std::to_string(static_cast<int>((last - 1.0) / Gap));
    if (form.LightLrc_L->Caption() != expected)
        std::fprintf(stderr, "unexpected line shown: \"%s\", not \"%s\"\n",
                     form.LightLrc_L->Caption().c_str(), expected.c_str());

    // Shown: the window painted after each tick, as the event loop does between two ticks.
    form.Show();
    form.Lrc_p->SetVisible(true);
    QCoreApplication::processEvents();
    constexpr int PaintedTicks = 20;
    const double paintCpu = bench::CpuSeconds(RUSAGE_SELF);
    for (int t = 0; t < PaintedTicks; ++t) {
        form.LyricsStep(static_cast<double>(static_cast<long long>((N * Gap / 2 + t * 0.01) * 100)) / 100);
        form.repaint();
        QCoreApplication::processEvents();
    }
    row.painted = (bench::CpuSeconds(RUSAGE_SELF) - paintCpu) / PaintedTicks;

    // The walk from the top, at the same positions.
    volatile int found = 0;
    const double walkCpu = bench::CpuSeconds(RUSAGE_SELF);
    for (int r = 0; r < Runs; ++r) {
        const double from = 1.0 + (N * Gap) * r / Runs;
        for (int t = 0; t < TicksPerRun / 10; ++t) {
            const double at = from + t * 0.01;
            int line = -1;
            for (std::size_t i = 0; i < State.LrcLineTimes.size(); ++i)
                if (State.LrcLineTimes[i].Start <= at && at < State.LrcLineTimes[i].Next) {
                    line = static_cast<int>(i);
                    break;
                }
            found = found + line;
        }
    }
    row.walk = (bench::CpuSeconds(RUSAGE_SELF) - walkCpu) / (Runs * TicksPerRun / 10);
    return row;
}

Row Best(int N) {
    return Min(Min(Measure(N), Measure(N)), Measure(N));
}

} // namespace

int main(int argc, char** argv) {
    bench::UseHeadlessPlayer();
    QApplication app(argc, argv);
    bench::AnswerMessageBoxesOk();
    for (int n : {10'000, 100'000}) {
        const Row r = Best(n);
        std::printf(
            "%7d lines: load %7.3f s; lyrics step %7.2f us a tick = %6.3f %% of a core at one tick a ms; "
            "a tick with the window painted %7.3f ms; the walk over the lines alone %8.2f us a tick = %6.1f "
            "%%\n",
            n, r.load, r.step * 1e6, r.step * 1e3 * 100, r.painted * 1e3, r.walk * 1e6, r.walk * 1e3 * 100);
    }
    std::printf("before: 10,000 lines half a core, 100,000 a whole core\n");
    return 0;
}
