// What the built program costs a user, run as a user runs it (QuorelMain <file>, on Qt's offscreen
// platform with a 2560 x 1600 screen and the fake audio output), next to what decoding the same file alone
// costs (gst-launch-1.0 filesrc ! decodebin ! fakesink sync=false):
// - whole-process CPU seconds (user + system, start and close included) per second of media, for 1080p
//   H.264 into the default window (a 524 x 295 picture), 540p, 720p and 1080p files in a window that fits the
//   video (960 x 540, 1280 x 720 and 1920 x 1080 pictures), and for a 30 s MP3 file;
// - the peak resident memory of the program;
// - the time from starting the program to its main window first painted and to the first frame painted.
// Each row is the median of Runs runs. The program's test hook QUOREL_START_TIMES gives the times.
// Run: build/bench/player_bench [runs]

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "bench/BenchTiming.h"
#include "tests/support/IniText.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"

namespace {

using bench::Clock;
using bench::CpuSeconds;
using bench::Since;

constexpr int ClipSeconds = 8;
// Sound alone costs little per second: a longer file, so that the start does not make the most of it.
constexpr int SoundSeconds = 30;

double Median(std::vector<double> Values) {
    if (Values.empty())
        return -1;
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() / 2];
}

// CPU seconds of a decode-only run of File in a child process.
double DecodeOnly(const std::string& File) {
    const double before = CpuSeconds(RUSAGE_CHILDREN);
    const std::string command =
        "gst-launch-1.0 -q filesrc location='" + File + "' ! decodebin ! fakesink sync=false >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "decode-only run failed\n");
    return CpuSeconds(RUSAGE_CHILDREN) - before;
}

// A clip like a camera's: 8-bit 4:2:0 H.264 at about 4.5 Mbit/s (a moving ball under a veil of noise, so that
// the encoder has detail to spend its bits on), with AAC sound.
std::string MakeVideo(const testing_support::TempDir& Dir, const char* Name, int Width, int Height) {
    const std::string file = Dir.File(Name);
    const std::string size =
        ",width=" + std::to_string(Width) + ",height=" + std::to_string(Height) + ",framerate=30/1";
    const std::string frames = std::to_string(ClipSeconds * 30);
    const std::string description =
        "compositor name=mix sink_1::alpha=0.12 ! video/x-raw,format=I420" + size +
        " ! x264enc speed-preset=veryfast key-int-max=60 bitrate=6000 ! h264parse ! mp4mux name=mux ! "
        "filesink location={out} videotestsrc num-buffers=" +
        frames + " pattern=ball ! video/x-raw" + size + " ! mix.sink_0 videotestsrc num-buffers=" + frames +
        " pattern=snow ! video/x-raw" + size +
        " ! mix.sink_1 audiotestsrc num-buffers=" + std::to_string(ClipSeconds * 10) +
        " samplesperbuffer=4410 ! audio/x-raw,rate=44100,channels=2 ! voaacenc ! aacparse ! mux.";
    return testing_support::MakeMediaFile(description, file) ? file : std::string();
}

std::string MakeMp3(const testing_support::TempDir& Dir) {
    const std::string file = Dir.File("bench.mp3");
    const std::string description = "audiotestsrc num-buffers=" + std::to_string(SoundSeconds * 10) +
                                    " samplesperbuffer=4410 ! audio/x-raw,rate=44100,channels=2 ! "
                                    "lamemp3enc target=bitrate bitrate=192 ! filesink location={out}";
    return testing_support::MakeMediaFile(description, file) ? file : std::string();
}

long long MonotonicNanoseconds() {
    return static_cast<long long>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count());
}

std::string Value(const std::string& Text, const std::string& Name) {
    std::istringstream lines(Text);
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind(Name + "=", 0) == 0)
            return line.substr(Name.size() + 1);
    return {};
}

// The high-water mark of the resident memory of a running process (VmHWM), -1 when it cannot be read.
double PeakResidentMiB(pid_t Pid) {
    std::ifstream status("/proc/" + std::to_string(Pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0; // in kB
    return -1;
}

struct RunResult {
    double cpu = -1;     // seconds, whole process
    double peakMiB = -1; // resident
    double shown = -1;   // seconds from the start
    double frame = -1;   // likewise, to the first frame painted or the sound started
    std::string panel;   // the video panel's size at the first frame
};

// Runs the program on File until the file has played (Seconds after the first frame, or after the window
// the sound started), closes it as a user would, and reads its usage.
RunResult RunPlayer(const std::string& File, int Seconds, int WhileOpenMedia,
                    const std::string& ScreenConfig) {
    testing_support::ProgramRun tree;
    testing_support::WriteFile(
        tree.File("Ini/Default.ini"),
        testing_support::DefaultsWith({{"WhileOpenMedia", std::to_string(WhileOpenMedia).c_str()}}));
    const std::string times = tree.File("start-times.txt");
    const std::string program = tree.File("QuorelMain");
    const std::string platform = "QT_QPA_PLATFORM=offscreen:configfile=" + ScreenConfig;
    const std::string timesEntry = "QUOREL_START_TIMES=" + times;
    const long long start = MonotonicNanoseconds();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::putenv(const_cast<char*>(platform.c_str()));
        ::putenv(const_cast<char*>("QUOREL_AUDIO_OUTPUT=fake"));
        ::putenv(const_cast<char*>(timesEntry.c_str()));
        std::freopen("/dev/null", "w", stderr);
        char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(File.c_str()), nullptr};
        ::execv(program.c_str(), argv);
        ::_exit(127);
    }
    RunResult result;
    std::string text;
    const auto waitStart = Clock::now();
    while (Since(waitStart) < 30) {
        text = testing_support::ReadFile(times);
        if (!text.empty())
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!text.empty()) {
        result.shown = static_cast<double>(std::stoll(Value(text, "shown")) - start) / 1e9;
        result.frame = static_cast<double>(std::stoll(Value(text, "frame")) - start) / 1e9;
        result.panel = Value(text, "panel");
        std::this_thread::sleep_for(std::chrono::milliseconds(Seconds * 1000 + 300));
    }
    // The peak of the program's own memory, read from the kernel before it is closed: the usage that wait4
    // gives would count this process's memory too, which the child had until it ran the program.
    result.peakMiB = PeakResidentMiB(pid);
    ::kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    const auto closeStart = Clock::now();
    while (::wait4(pid, &status, WNOHANG, &usage) != pid) {
        if (Since(closeStart) > 20)
            ::kill(pid, SIGKILL);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    result.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                 static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return result;
}

struct Row {
    const char* name;
    std::string file;
    int seconds;
    int whileOpenMedia;
    bool video;
};

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    testing_support::TempDir dir;
    const std::string screens = dir.File("screens.json");
    std::ofstream(screens) << R"({"screens":[{"name":"bench","x":0,"y":0,"width":2560,"height":1600,)"
                           << R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})";
    std::printf("making the clips (%d s of 1080p, 720p and 540p H.264/AAC, %d s of MP3)...\n", ClipSeconds,
                SoundSeconds);
    const std::string clip1080 = MakeVideo(dir, "bench1080.mp4", 1920, 1080);
    const std::string clip540 = MakeVideo(dir, "bench540.mp4", 960, 540);
    const std::string clip720 = MakeVideo(dir, "bench720.mp4", 1280, 720);
    const std::string mp3 = MakeMp3(dir);
    if (clip1080.empty() || clip540.empty() || clip720.empty() || mp3.empty()) {
        std::fprintf(stderr, "cannot make the clips\n");
        return 1;
    }
    const Row rows[] = {
        {"1080p into the default window", clip1080, ClipSeconds, 2, true},
        {"540p, window fits the video", clip540, ClipSeconds, 3, true},
        {"720p, window fits the video", clip720, ClipSeconds, 3, true},
        {"1080p, window fits the video", clip1080, ClipSeconds, 3, true},
        {"MP3", mp3, SoundSeconds, 2, false},
    };
    std::printf("\n%-32s %10s %10s %8s %9s %8s %8s %s\n", "(medians of runs)", "CPU/s", "floor/s", "ratio",
                "peak MiB", "shown s", "frame s", "panel");
    for (const Row& row : rows) {
        std::vector<double> cpu, floor, peak, shown, frame;
        std::string panel;
        for (int i = 0; i < runs; ++i) {
            floor.push_back(DecodeOnly(row.file) / row.seconds);
            const RunResult r = RunPlayer(row.file, row.seconds, row.whileOpenMedia, screens);
            cpu.push_back(r.cpu / row.seconds);
            peak.push_back(r.peakMiB);
            shown.push_back(r.shown);
            frame.push_back(r.frame);
            panel = r.panel;
        }
        const double c = Median(cpu), f = Median(floor);
        std::printf("%-32s %10.3f %10.3f %8.2f %9.1f %8.3f %8.3f %s\n", row.name, c, f, f > 0 ? c / f : 0.0,
                    Median(peak), Median(shown), Median(frame), row.video ? panel.c_str() : "-");
    }
    return 0;
}
