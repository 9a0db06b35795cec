// What the built program costs a user, run as a user runs it (QuorelMain <file>, on a private X server of
// 1600 x 1000 pixels, so that the picture takes the way a desktop gives it, with the fake audio output), next
// to what the same file costs
// - decoded alone, the floor: gst-launch-1.0 filesrc ! decodebin ! fakesink sync=true;
// - played by GStreamer's playbin into an X window (ximagesink; scaled to the screen's width for the full
//   screen rows), sound into a fake output.
// For each clip (made at run time, 10 s; the MP3 60 s) and way of showing it (the default window, or full
// screen by a double click on the picture, as a user goes there):
// - whole-process CPU seconds (user + system, start and close included) per second of media;
// - the peak resident memory of the program and of playbin;
// - the time from starting the program to its main window first painted and to the first frame shown (or
//   the sound started).
// The DVD row plays title 1 of an authored disc folder (720 x 576 MPEG-2, AC3, subpictures) opened through
// the pop-up menu's folder command; its CPU is read over 8 s of the title, and its floor and playbin run on
// the title's VOB file.
// Each row is the median of Runs runs, the three programs taking turns. The program's test hook
// QUOREL_START_TIMES gives the times. Where VLC or mpv is installed, each row shows it too.
// Run: build/bench/player_bench [runs [text of the rows' names to run]]

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QPoint>
#include <QRect>

#include "bench/BenchTiming.h"
#include "tests/support/IniText.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/XScreen.h"
#include "tests/support/XvfbDisplay.h"

namespace {

using bench::Clock;
using bench::Since;

constexpr int ScreenWidth = 1600, ScreenHeight = 1000;
constexpr int ClipSeconds = 10;
// Sound alone costs little per second: a longer file, so that the start does not make the most of it.
constexpr int SoundSeconds = 60;
// The part of the DVD's title 1 (12 s) that is measured, from DvdSettle seconds after the folder command.
constexpr double DvdSeconds = 8, DvdSettle = 3;

double Median(std::vector<double> Values) {
    Values.erase(std::remove(Values.begin(), Values.end(), -1.0), Values.end());
    if (Values.empty())
        return -1;
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() / 2];
}

double CpuOf(const rusage& Usage) {
    return static_cast<double>(Usage.ru_utime.tv_sec + Usage.ru_stime.tv_sec) +
           static_cast<double>(Usage.ru_utime.tv_usec + Usage.ru_stime.tv_usec) / 1e6;
}

// The CPU seconds a running process has used so far (/proc/<pid>/stat), -1 when it cannot be read.
double CpuSoFar(pid_t Pid) {
    std::ifstream file("/proc/" + std::to_string(Pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::size_t end = text.rfind(')');
    if (end == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(end + 2));
    std::string field;
    unsigned long long user = 0, system = 0;
    // After the name: state is field 3; utime and stime are fields 14 and 15.
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14)
            user = std::stoull(field);
        if (i == 15)
            system = std::stoull(field);
    }
    return static_cast<double>(user + system) / static_cast<double>(::sysconf(_SC_CLK_TCK));
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

pid_t Spawn(const std::vector<std::string>& Arguments, const std::vector<std::string>& Environment) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        for (const std::string& entry : Environment)
            ::putenv(const_cast<char*>(entry.c_str()));
        // Not freopen: it would write out what this program's stdout still buffers once more.
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        std::vector<char*> argv;
        for (const std::string& argument : Arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

// Waits for Pid to end (killing it after Limit seconds) and returns its usage, with the peak of its resident
// memory in MiB as it was last read while it ran (wait4's would count this program's memory too, which the
// child had until it ran its program).
rusage Reap(pid_t Pid, double Limit, double* PeakMiB = nullptr) {
    int status = 0;
    rusage usage{};
    const auto start = Clock::now();
    while (::wait4(Pid, &status, WNOHANG, &usage) != Pid) {
        if (PeakMiB != nullptr)
            if (const double peak = PeakResidentMiB(Pid); peak > 0)
                *PeakMiB = peak;
        if (Since(start) > Limit)
            ::kill(Pid, SIGKILL);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return usage;
}

struct Usage {
    double cpu = -1;     // seconds per second of media
    double peakMiB = -1; // resident
    double wall = -1;    // seconds the run took (gst-launch-1.0 runs only)
};

// A program run to its end.
Usage RunToEnd(const std::vector<std::string>& Arguments, const std::vector<std::string>& Environment,
               double MediaSeconds) {
    const auto start = Clock::now();
    double peak = -1;
    const rusage usage = Reap(Spawn(Arguments, Environment), MediaSeconds * 4 + 30, &peak);
    return {CpuOf(usage) / MediaSeconds, peak, Since(start)};
}

// A GStreamer pipeline run to its end by gst-launch-1.0.
Usage Launch(const std::vector<std::string>& Pipeline, double MediaSeconds, const std::string& Display) {
    std::vector<std::string> arguments{"gst-launch-1.0", "-q"};
    arguments.insert(arguments.end(), Pipeline.begin(), Pipeline.end());
    return RunToEnd(arguments, {"DISPLAY=" + Display}, MediaSeconds);
}

bool Installed(const std::string& Program) {
    return std::system(("command -v " + Program + " >/dev/null 2>&1").c_str()) == 0;
}

// Two other players of the desktop, when the machine has them, each showing the picture through plain X
// images as this program does, with no sound device: VLC (run as nobody when this is root, which VLC
// refuses) and mpv.
Usage Vlc(const std::string& File, double MediaSeconds, bool FullScreen, const std::string& Display,
          const std::string& Home) {
    std::vector<std::string> arguments;
    if (::geteuid() == 0)
        arguments = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    arguments.insert(arguments.end(), {"cvlc", "--play-and-exit", "--aout=dummy", "--vout=xcb_x11",
                                       "--no-video-title-show", "--no-osd"});
    if (FullScreen)
        arguments.emplace_back("--fullscreen");
    arguments.push_back(File);
    return RunToEnd(arguments, {"DISPLAY=" + Display, "HOME=" + Home}, MediaSeconds);
}

Usage Mpv(const std::string& File, double MediaSeconds, bool FullScreen, const std::string& Display) {
    std::vector<std::string> arguments{"mpv", "--vo=x11", "--ao=null", "--really-quiet", "--no-config"};
    if (FullScreen)
        arguments.emplace_back("--fs");
    arguments.push_back(File);
    return RunToEnd(arguments, {"DISPLAY=" + Display}, MediaSeconds);
}

Usage DecodeOnly(const std::string& File, double MediaSeconds) {
    return Launch({"filesrc", "location=" + File, "!", "decodebin", "!", "fakesink", "sync=true"},
                  MediaSeconds, {});
}

Usage Playbin(const std::string& File, double MediaSeconds, bool FullScreen, const std::string& Display) {
    std::vector<std::string> pipeline{"playbin", "uri=file://" + File, "audio-sink=fakesink sync=true"};
    pipeline.emplace_back(
        FullScreen ? "video-sink=videoconvertscale ! video/x-raw,width=" + std::to_string(ScreenWidth) +
                         ",pixel-aspect-ratio=1/1 ! ximagesink"
                   : "video-sink=ximagesink");
    return Launch(pipeline, MediaSeconds, Display);
}

// Value with Decimals decimals, "-" for none (negative: not measured).
std::string Shown(double Value, int Decimals) {
    if (!(Value >= 0))
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", Decimals, Value);
    return text;
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

bool WaitFor(const std::function<bool()>& Condition, double Limit) {
    const auto start = Clock::now();
    while (Since(start) < Limit) {
        if (Condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

// The main window (the largest mapped window: pop-up menus are smaller) and its video panel, between the
// 51-pixel title strip, the 96 pixels of status and control strips and the 6-pixel edge strips.
QRect MainWindow(const std::string& Display) {
    QRect largest;
    for (const QRect& window : testing_support::MappedWindows(Display))
        if (window.width() * window.height() > largest.width() * largest.height())
            largest = window;
    return largest;
}

QRect Panel(const QRect& Window) {
    return {Window.x() + 6, Window.y() + 51, Window.width() - 12, Window.height() - 51 - 96};
}

bool Xdo(const std::string& Display, const std::vector<std::string>& Arguments) {
    return testing_support::XdoTool(Display, Arguments);
}

enum class Way { DefaultWindow, FullScreen, Sound, Dvd };

struct RunResult {
    Usage usage;
    double shown = -1; // seconds from the start
    double frame = -1; // likewise, to the first frame shown or the sound started
    bool reached = true;
};

// Runs the program on File until the file has played (Seconds after the first frame), closes it as a user
// would, and reads its usage. For Dvd, File is the folder that holds the disc.
RunResult RunPlayer(const std::string& File, double Seconds, Way How, const std::string& Display) {
    testing_support::ProgramRun tree;
    testing_support::WriteFile(tree.File("Ini/Default.ini"),
                               testing_support::DefaultsWith({{"WhileOpenMedia", "2"}}));
    const std::string times = tree.File("start-times.txt");
    std::vector<std::string> arguments{tree.File("QuorelMain")};
    if (How != Way::Dvd)
        arguments.push_back(File);
    const long long start = MonotonicNanoseconds();
    const pid_t pid =
        Spawn(arguments, {"DISPLAY=" + Display, "QT_QPA_PLATFORM=xcb", "QUOREL_AUDIO_OUTPUT=fake",
                          "QUOREL_START_TIMES=" + times, "QUOREL_FOLDER_DIALOG=" + File});
    RunResult result;
    std::string text;
    // The disc is opened later, by the pop-up menu: its times would count that wait.
    if (How != Way::Dvd)
        WaitFor([&] { return !(text = testing_support::ReadFile(times)).empty(); }, 30);
    if (!text.empty()) {
        result.shown = static_cast<double>(std::stoll(Value(text, "shown")) - start) / 1e9;
        result.frame = static_cast<double>(std::stoll(Value(text, "frame")) - start) / 1e9;
    }
    double cpuFrom = -1, cpuTo = -1;
    if (How == Way::FullScreen) {
        // A double click on the picture, as a user goes to full screen.
        const QPoint centre = Panel(MainWindow(Display)).center();
        Xdo(Display, {"mousemove", std::to_string(centre.x()), std::to_string(centre.y()), "click",
                      "--repeat", "2", "--delay", "80", "1"});
        result.reached =
            WaitFor([&] { return MainWindow(Display) == QRect(0, 0, ScreenWidth, ScreenHeight); }, 10);
        std::this_thread::sleep_for(std::chrono::duration<double>(Seconds - 0.5));
    } else if (How == Way::Dvd) {
        // Right click on the video, then 文件 > 打开dvd目录... (the third item) with the keys; the folder
        // browser is answered by the folder. The disc's menu plays title 1 after a second.
        WaitFor([&] { return !MainWindow(Display).isEmpty(); }, 10);
        const QPoint centre = Panel(MainWindow(Display)).center();
        Xdo(Display,
            {"mousemove", std::to_string(centre.x()), std::to_string(centre.y()), "sleep", "0.5", "click",
             "3", "sleep", "0.5", "key", "--delay", "200", "Down", "Right", "Down", "Down", "Return"});
        std::this_thread::sleep_for(std::chrono::duration<double>(DvdSettle));
        cpuFrom = CpuSoFar(pid);
        std::this_thread::sleep_for(std::chrono::duration<double>(Seconds));
        cpuTo = CpuSoFar(pid);
    } else if (!text.empty()) {
        std::this_thread::sleep_for(std::chrono::duration<double>(Seconds + 0.3));
    }
    // The peak of the program's own memory, read from the kernel before it is closed: the usage that wait4
    // gives would count this process's memory too, which the child had until it ran the program.
    result.usage.peakMiB = PeakResidentMiB(pid);
    ::kill(pid, SIGTERM);
    const double cpu = CpuOf(Reap(pid, 20));
    result.usage.cpu =
        How == Way::Dvd ? (cpuFrom >= 0 && cpuTo >= 0 ? (cpuTo - cpuFrom) / Seconds : -1) : cpu / Seconds;
    return result;
}

std::string MakeClip(const testing_support::TempDir& Dir, const std::string& Name,
                     const std::string& Description) {
    const std::string file = Dir.File(Name);
    return testing_support::MakeMediaFile(Description, file) ? file : std::string();
}

// A moving ball under a veil of noise (detail for the encoder to spend its bits on), 30 frames a second.
std::string Picture(int Width, int Height) {
    const std::string size =
        ",width=" + std::to_string(Width) + ",height=" + std::to_string(Height) + ",framerate=30/1";
    const std::string frames = std::to_string(ClipSeconds * 30);
    return "compositor name=mix sink_1::alpha=0.12 ! video/x-raw,format=I420" + size + " ! {encoder} " +
           "videotestsrc num-buffers=" + frames + " pattern=ball ! video/x-raw" + size +
           " ! mix.sink_0 videotestsrc num-buffers=" + frames + " pattern=snow ! video/x-raw" + size +
           " ! mix.sink_1 audiotestsrc num-buffers=" + std::to_string(ClipSeconds * 10) +
           " samplesperbuffer=4410 ! audio/x-raw,rate=44100,channels=2 ! {sound}";
}

std::string Fill(std::string Text, const std::string& Encoder, const std::string& Sound) {
    Text.replace(Text.find("{encoder}"), 9, Encoder);
    Text.replace(Text.find("{sound}"), 7, Sound);
    return Text;
}

// A camera's H.264 in MP4 with AAC sound, at about Kbits kbit/s.
std::string MakeH264(const testing_support::TempDir& Dir, int Width, int Height, int Kbits) {
    return MakeClip(Dir, "h264-" + std::to_string(Height) + ".mp4",
                    Fill(Picture(Width, Height),
                         "x264enc speed-preset=veryfast key-int-max=60 bitrate=" + std::to_string(Kbits) +
                             " ! h264parse ! mp4mux name=mux ! filesink location={out}",
                         "voaacenc ! aacparse ! mux."));
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    // The rows whose names hold this text, all when none is given.
    const std::string only = argc > 2 ? argv[2] : "";
    testing_support::TempDir dir;
    testing_support::XvfbDisplay display(ScreenWidth, ScreenHeight);
    if (display.Name().empty()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    std::printf(
        "making the clips (%d s of H.264 at 720p, 1080p and 2160p, VP9 at 1080p, MPEG-2 at 576p, a DVD "
        "folder, %d s of MP3)...\n",
        ClipSeconds, SoundSeconds);
    std::fflush(stdout);
    const std::string h720 = MakeH264(dir, 1280, 720, 3000);
    const std::string h1080 = MakeH264(dir, 1920, 1080, 6000);
    const std::string h2160 = MakeH264(dir, 3840, 2160, 20000);
    const std::string vp9 =
        MakeClip(dir, "vp9-1080.webm",
                 Fill(Picture(1920, 1080),
                      "vp9enc deadline=1 cpu-used=8 target-bitrate=4000000 keyframe-max-dist=60 ! webmmux "
                      "name=mux ! filesink location={out}",
                      "audioconvert ! vorbisenc ! mux."));
    // A DVD's kind of program stream (PAL MPEG-2 at 6 Mbit/s, AC3 sound), made by ffmpeg: GStreamer's MPEG-2
    // encoder takes no raw picture here.
    const std::string mpeg2 = dir.File("mpeg2-576.mpg");
    const std::string makeMpeg2 =
        "ffmpeg -nostdin -v error -y -f lavfi -i 'testsrc2=size=720x576:rate=25,noise=alls=12:allf=t' -f "
        "lavfi "
        "-i 'sine=frequency=440:sample_rate=48000' -t " +
        std::to_string(ClipSeconds) +
        " -c:v mpeg2video -b:v 6M -maxrate 8M -bufsize 1835k -c:a ac3 -b:a 192k -ac 2 -f vob '" + mpeg2 + "'";
    const std::string mp3 =
        MakeClip(dir, "sound.mp3",
                 "audiotestsrc num-buffers=" + std::to_string(SoundSeconds * 10) +
                     " samplesperbuffer=4410 ! audio/x-raw,rate=44100,channels=2 ! lamemp3enc target=bitrate "
                     "bitrate=192 ! filesink location={out}");
    // The disc, in a folder of its own (the folder command looks for VIDEO_TS below the folder chosen), its
    // menu giving way to title 1 after a second.
    const std::string discs = dir.File("discs");
    std::filesystem::create_directories(discs);
    const std::string makeDisc = std::string("'") + QUOREL_DVD_FIXTURE_SCRIPT + "' '" + discs +
                                 "/disc' 1 >'" + dir.File("disc.log") + "' 2>&1";
    const std::string vob = discs + "/disc/VIDEO_TS/VTS_01_1.VOB";
    if (h720.empty() || h1080.empty() || h2160.empty() || vp9.empty() || mp3.empty() ||
        std::system(makeMpeg2.c_str()) != 0 || std::system(makeDisc.c_str()) != 0 ||
        !std::filesystem::exists(vob)) {
        std::fprintf(stderr, "cannot make the clips\n");
        return 1;
    }

    struct Row {
        const char* name;
        std::string file;  // what the program opens
        std::string floor; // what the floor and playbin play
        double seconds;    // of media measured
        Way how;
    };
    const Row rows[] = {
        {"H.264 1080p, default window", h1080, h1080, ClipSeconds, Way::DefaultWindow},
        {"H.264 720p, default window", h720, h720, ClipSeconds, Way::DefaultWindow},
        {"H.264 2160p, default window", h2160, h2160, ClipSeconds, Way::DefaultWindow},
        {"VP9 1080p, default window", vp9, vp9, ClipSeconds, Way::DefaultWindow},
        {"MPEG-2 576p, default window", mpeg2, mpeg2, ClipSeconds, Way::DefaultWindow},
        {"DVD folder", discs, vob, DvdSeconds, Way::Dvd},
        {"H.264 1080p, full screen", h1080, h1080, ClipSeconds, Way::FullScreen},
        {"H.264 2160p, full screen", h2160, h2160, ClipSeconds, Way::FullScreen},
        {"H.264 720p, full screen", h720, h720, ClipSeconds, Way::FullScreen},
        {"VP9 1080p, full screen", vp9, vp9, ClipSeconds, Way::FullScreen},
        {"MP3 192 kbit/s, 60 s", mp3, mp3, SoundSeconds, Way::Sound},
    };
    std::printf(
        "\nCPU in seconds per second of media; peak resident memory in MiB; times in seconds from the "
        "start; medians of %d run(s)\n",
        runs);
    const bool vlc = Installed("cvlc"), mpv = Installed("mpv");
    // VLC goes to full screen only through a window manager: the other players' full screen rows run on a
    // second private X server of the same size with openbox, when it is installed (a manager left on the first
    // one would change how this program's own full screen goes).
    testing_support::XvfbDisplay managed(ScreenWidth, ScreenHeight);
    pid_t manager = -1;
    if ((vlc || mpv) && Installed("openbox") && !managed.Name().empty())
        manager = Spawn({"openbox"}, {"DISPLAY=" + managed.Name()});
    const std::string fullScreenDisplay = manager > 0 ? managed.Name() : display.Name();
    // VLC may run as nobody: its files, and a home for its settings, must be open to it.
    const std::string vlcHome = dir.File("vlc-home");
    std::filesystem::create_directories(vlcHome);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.Path()))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::others_read |
                                                       std::filesystem::perms::others_write |
                                                       std::filesystem::perms::others_exec,
                                     std::filesystem::perm_options::add);
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::others_read |
                                                 std::filesystem::perms::others_exec,
                                 std::filesystem::perm_options::add);
    std::printf("%-30s %7s %7s %6s %7s %6s %7s %7s %6s %6s %7s %5s %7s %5s\n", "", "player", "floor", "/floor",
                "playbin", "/pbin", "MiB", "pbinMiB", "shown", "frame", "vlc", "/vlc", "mpv", "/mpv");
    for (const Row& row : rows) {
        if (std::string(row.name).find(only) == std::string::npos)
            continue;
        std::vector<double> cpu, floor, playbin, peak, playbinPeak, shown, frame, vlcCpu, mpvCpu;
        bool reached = true;
        // The DVD's VOB holds more than title 1: its length is what its floor run, in real time, took.
        double floorSeconds = row.seconds;
        for (int i = 0; i < runs; ++i) {
            Usage f = DecodeOnly(row.floor, floorSeconds);
            if (row.how == Way::Dvd && f.wall > 0) {
                f.cpu *= floorSeconds / f.wall;
                floorSeconds = f.wall;
            }
            floor.push_back(f.cpu);
            const RunResult r = RunPlayer(row.file, row.seconds, row.how, display.Name());
            cpu.push_back(r.usage.cpu);
            peak.push_back(r.usage.peakMiB);
            shown.push_back(r.shown);
            frame.push_back(r.frame);
            reached = reached && r.reached;
            const Usage p = Playbin(row.floor, floorSeconds, row.how == Way::FullScreen, display.Name());
            playbin.push_back(p.cpu);
            playbinPeak.push_back(p.peakMiB);
            const bool full = row.how == Way::FullScreen;
            const std::string& screen = full ? fullScreenDisplay : display.Name();
            if (vlc)
                vlcCpu.push_back(Vlc(row.floor, floorSeconds, full, screen, vlcHome).cpu);
            if (mpv)
                mpvCpu.push_back(Mpv(row.floor, floorSeconds, full, screen).cpu);
        }
        const double c = Median(cpu), f = Median(floor), p = Median(playbin), v = Median(vlcCpu),
                     m = Median(mpvCpu);
        std::printf("%-30s %7s %7s %6s %7s %6s %7s %7s %6s %6s %7s %5s %7s %5s%s\n", row.name,
                    Shown(c, 3).c_str(), Shown(f, 3).c_str(), Shown(c / f, 2).c_str(), Shown(p, 3).c_str(),
                    Shown(c / p, 2).c_str(), Shown(Median(peak), 1).c_str(),
                    Shown(Median(playbinPeak), 1).c_str(), Shown(Median(shown), 3).c_str(),
                    Shown(Median(frame), 3).c_str(), Shown(v, 3).c_str(), Shown(c / v, 2).c_str(),
                    Shown(m, 3).c_str(), Shown(c / m, 2).c_str(), reached ? "" : "  (full screen not reached)");
        std::fflush(stdout);
    }
    if (manager > 0) {
        ::kill(manager, SIGTERM);
        Reap(manager, 10);
    }
    return 0;
}
