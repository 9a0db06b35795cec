// How the built program answers while it opens media that keep it waiting, run as a user runs it (under a
// virtual X server): a RealMedia file whose header holds absurd values (opened as "/o FILE"), and a pair
// reopened at the start whose second file is that RealMedia file or the first 512 bytes of a WebM file.
// For each, while the open goes on:
// - the longest time the program took to answer a request (a picture of its window asked by SIGUSR1, every
//   50 ms for 3 s from the first answer), that is the longest the window stood still;
// - the time from a terminate signal, sent then, to the program's end.
// Each row is the median of Runs runs.
// Run: build/bench/open_wait_bench [runs]

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchTiming.h"
#include "tests/support/IniText.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/XvfbDisplay.h"

namespace {

using bench::Clock;
using bench::Since;
using testing_support::MediaFile;
using testing_support::MediaFixture;

double Median(std::vector<double> Values) {
    if (Values.empty())
        return -1;
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() / 2];
}

struct Case {
    const char* name;
    std::vector<std::string> arguments;
    std::string settings; // Ini/Default.ini before the start; empty for the defaults
};

// Seconds until the program answers one picture request, or -1 when it does not within Limit.
double AnswerTime(testing_support::ProgramRun& Run, const std::string& Picture, std::chrono::seconds Limit) {
    std::filesystem::remove(Picture);
    const auto start = Clock::now();
    ::kill(Run.Pid(), SIGUSR1);
    while (Since(start) < static_cast<double>(Limit.count())) {
        if (std::filesystem::exists(Picture))
            return Since(start);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return -1;
}

// Starts the program on C; false when its message loop never ran (it then is closed).
bool StartCase(testing_support::ProgramRun& Run, const Case& C, const std::string& Picture) {
    static const testing_support::XvfbDisplay display;
    if (!C.settings.empty())
        testing_support::WriteFile(Run.File("Ini/Default.ini"), C.settings);
    const std::string state = Run.File("state.txt");
    Run.Start(C.arguments, {"DISPLAY=" + display.Name(), "QT_QPA_PLATFORM=xcb",
                            "QUOREL_GRAB_WINDOW_ON_SIGNAL=" + Picture, "QUOREL_PLAY_STATE=" + state});
    // The state file comes with the message loop's first timers, once the program catches SIGUSR1 (which
    // would end it before); the open begins right after the window's first paint.
    if (Run.WaitFor([&] { return std::filesystem::exists(state); }))
        return true;
    std::fprintf(stderr, "%s: the program never started\n", C.name);
    Run.Close();
    return false;
}

// The longest answer to a picture request from the start of the message loop on, over 3 s of requests.
double LongestAnswer(const Case& C) {
    testing_support::ProgramRun run;
    const std::string picture = run.File("answer.png");
    if (!StartCase(run, C, picture))
        return -1;
    double longest = 0;
    const auto sampling = Clock::now();
    while (Since(sampling) < 3.0) {
        const double answer = AnswerTime(run, picture, std::chrono::seconds(60));
        if (answer < 0)
            return -1;
        longest = std::max(longest, answer);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    run.Close();
    return longest;
}

// The time from a terminate signal sent half a second into the open to the program's end.
double EndAfterSignal(const Case& C) {
    testing_support::ProgramRun run;
    if (!StartCase(run, C, run.File("answer.png")))
        return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const auto signalled = Clock::now();
    ::kill(run.Pid(), SIGTERM);
    run.WaitFor([&] { return !run.Running(); }, std::chrono::seconds(60));
    const double end = Since(signalled);
    run.Close();
    return end;
}

std::string StoredPair(const std::string& A, const std::string& B) {
    return testing_support::DefaultsWith({{"LastPlayType", "3"},
                                          {"ReloadLast", "1"},
                                          {"pipMediaFileA", A.c_str()},
                                          {"pipMediaFileB", B.c_str()}});
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const testing_support::TempDir media;
    const std::string clip = MediaFile(MediaFixture::Mp4H264Aac);
    const std::string stalling = testing_support::StallingRealMediaFile();
    const std::string cutWebm = media.File("cut.webm");
    testing_support::WriteFile(
        cutWebm, testing_support::ReadFile(MediaFile(MediaFixture::MkvVp8Vorbis)).substr(0, 512));

    const std::vector<Case> cases = {
        {"RealMedia with absurd header, /o", {"/o", stalling}, ""},
        {"pair: clip + that RealMedia file", {}, StoredPair(clip, stalling)},
        {"pair: clip + 512 bytes of WebM", {}, StoredPair(clip, cutWebm)},
    };
    std::printf("%-36s %22s %22s\n", "case", "longest answer (s)", "end after SIGTERM (s)");
    for (const Case& c : cases) {
        std::vector<double> longest, ends;
        for (int i = 0; i < runs; ++i) {
            longest.push_back(LongestAnswer(c));
            ends.push_back(EndAfterSignal(c));
        }
        std::printf("%-36s %22.3f %22.3f\n", c.name, Median(longest), Median(ends));
    }
    return 0;
}
