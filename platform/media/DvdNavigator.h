#pragma once
// Our DVD navigator: libdvdnav's virtual machine over a disc folder or an optical drive, with the facts of
// the disc (titles, chapters, streams, languages, picture) read from its IFO files by libdvdread.
//
// Two sides use it. The source element's streaming thread reads the disc with Read: program-stream blocks,
// ready for the demuxer, and what the subpicture overlay must be told (palette, button highlight, whether
// only forced pictures show), still frames and the end. The GUI thread gives commands (menus, buttons,
// titles and chapters, times, streams, angle, rate) and asks what is on the screen. Every call takes the
// navigator's lock; the still frame waits are the only long ones, and every command ends them.
//
// Blocks come out on a timeline of their own: between two flushes of the pipeline (a "run") clock references
// and time stamps go on without a break, whatever jumps the disc makes (title and menu changes, the time a
// still frame stood), and every run starts at RunStart. What is on the screen is found by mapping the
// playback position on that timeline back to the video object units read.

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <dvdnav/dvdnav.h>

namespace dshow {

// The picture of a title or a menu, from its IFO attributes.
struct DvdVideoFacts {
    int Width = 720;
    int Height = 576;
    int FrameRate = 25; // frames a second: 25 (PAL) or 30 (NTSC)
    int AspectX = 4, AspectY = 3;
};

// The streams of one domain (the manager menu, a title set's menus or its titles): their number and the
// two-letter language codes ("" when the disc names none).
struct DvdStreamFacts {
    DvdVideoFacts Video;
    std::vector<std::string> AudioLanguages;
    std::vector<std::string> SubpictureLanguages;
};

struct DvdTitleFacts {
    int Chapters = 0;
    int Angles = 1;
    int TitleSet = 0;
    std::int64_t Length = 0; // 90 kHz ticks
};

// What the screen shows, as a navigator reports it.
struct DvdScreen {
    enum class Domain { FirstPlay = 1, ManagerMenu = 2, TitleSetMenu = 3, Title = 4, Stop = 5 };
    Domain domain = Domain::FirstPlay;
    int Title = 0;         // titles only
    int Chapter = 0;       // titles: the chapter; menus: the menu's identifier
    std::int64_t Time = 0; // 90 kHz ticks into the title
    int TitleSet = 0;
    int Buttons = 0;
    int Highlighted = 0;
};

// One step of reading the disc.
struct DvdStep {
    enum class Kind {
        Block,       // Data holds one 2048-byte pack
        Changes,     // only the overlay changes below
        StillBegins, // the picture stands; Read waits from the next call on
        End,         // the disc has ended
        Failed,      // the disc cannot be read on (Reason says why)
        Interrupted, // a command is about to flush the pipeline
    };
    Kind kind = Kind::Changes;
    std::array<std::uint8_t, 2048> Data{};
    bool StillEnded = false; // the picture stood until now and moves again
    std::optional<std::array<std::uint32_t, 16>> Palette;
    // A button highlighted (number 1..36 with its rectangle and colours), or none (number 0).
    struct Highlight {
        int Button = 0;
        std::uint32_t Palette = 0;
        int Left = 0, Top = 0, Right = 0, Bottom = 0;
        friend bool operator==(const Highlight&, const Highlight&) = default;
    };
    std::optional<Highlight> NewHighlight;
    std::optional<bool> ForcedOnly;
    std::string Reason;
};

class DvdNavigator {
public:
    // The timeline's start of every run, in 90 kHz ticks (half a second: the demuxer takes a first clock
    // reference below one second as the start of its own timeline).
    static constexpr std::int64_t RunStart = 45000;
    // The slowest and fastest rates PlayForwards takes.
    static constexpr double SlowestRate = 0.125, FastestRate = 16.0;

    // The disc at Path (a folder holding VIDEO_TS, or VIDEO_TS itself, or a device); nullptr and the reason
    // when there is none that plays.
    static std::shared_ptr<DvdNavigator> Open(const std::string& Path, std::string* Reason = nullptr);
    ~DvdNavigator();
    DvdNavigator(const DvdNavigator&) = delete;
    DvdNavigator& operator=(const DvdNavigator&) = delete;

    // --- The disc's facts (fixed).
    int Titles() const { return static_cast<int>(titles_.size()); }
    // Titles count from 1; nullptr for a number that is none.
    const DvdTitleFacts* Title(int Number) const;
    // The streams of the domain of a screen (of its title set for title-set menus and titles).
    const DvdStreamFacts& StreamsOf(DvdScreen::Domain Domain, int TitleSet) const;

    // --- The streaming side (one thread).
    DvdStep Read();
    // After a flush: the next block starts a new run at RunStart, and what was read before is forgotten.
    void BeginRun();
    // Makes a Read that waits (or the next one) return Interrupted until BeginRun.
    void Interrupt();
    // The playback position on the timeline, in 90 kHz ticks, when it is known (set by the graph).
    void SetPlaybackClock(std::function<std::optional<std::int64_t>()> Clock);
    // The source has played out everything read: the screen keeps the last picture.
    void SetEnded(bool Ended);
    double Rate() const;

    // --- Commands (GUI thread). A command that moves the disc elsewhere runs through the jump runner (the
    // source flushes the pipeline around it); each returns whether the disc took it.
    using JumpRunner = std::function<bool(const std::function<bool()>& Command)>;
    void SetJumpRunner(JumpRunner Runner);
    bool ShowMenu(int MenuId);
    bool PlayTitle(int Title);
    bool PlayChapter(int Title, int Chapter);
    bool PlayNextChapter();
    bool PlayPreviousChapter();
    // Ticks into the title playing.
    bool PlayAtTime(std::int64_t Time);
    bool SetRate(double Rate);
    bool SelectButton(int Button);
    bool ActivateButton();
    // The button of the menu showing under a point of the picture (its own pixels); 0 when none.
    int ButtonAt(int X, int Y) const;
    bool SelectAudio(int Stream);
    bool SelectSubpicture(int Stream);
    bool ShowSubpicture(bool On);
    bool SelectAngle(int Angle);

    // --- What the screen shows.
    DvdScreen Screen() const;
    // The audio and subpicture streams of what plays: their number and the current one (counted from 0);
    // false when the disc cannot say.
    bool Audio(int& Count, int& Current) const;
    bool Subpicture(int& Count, int& Current, bool& Shown) const;
    bool Angle(int& Count, int& Current) const;

private:
    struct Unit;
    DvdNavigator() = default;
    bool LoadFacts(const std::string& Path, std::string* Reason);
    bool Jump(const std::function<bool()>& Command);
    // Under the lock.
    bool LeaveStill();
    void Notify();
    void RefreshStreams(DvdStep& Step);
    void RefreshHighlight(DvdStep& Step);
    void NoteUnit(const pci_t& Pci, std::int64_t NavScr);
    bool Rewrite(std::array<std::uint8_t, 2048>& Pack, std::string& Reason);
    struct OnScreen {
        const Unit* unit = nullptr;
        std::int64_t position = 0; // on the timeline
        bool endHeld = false;      // the title before a natural change is shown at its end
    };
    OnScreen Find(std::optional<std::int64_t> Position) const;
    DvdScreen ScreenOf(const OnScreen& Shown) const;
    DvdScreen ReadScreen() const;
    DvdScreen::Domain ReadDomain() const;
    std::optional<std::int64_t> PlaybackPosition() const;
    bool RunVmCommand(const std::array<std::uint8_t, 8>& Bytes);
    void ApplyPendingStreams(int TitleSet);

    dvdnav_t* nav_ = nullptr;
    std::vector<DvdTitleFacts> titles_;
    DvdStreamFacts managerMenu_;
    std::vector<DvdStreamFacts> titleSetMenus_, titleSets_;
    DvdStreamFacts none_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    JumpRunner runner_;
    std::function<std::optional<std::int64_t>()> clock_;
    unsigned commands_ = 0;
    bool interrupted_ = false;
    bool started_ = false; // a block has been read since the disc opened
    bool stopped_ = false; // the disc reached its end
    bool ended_ = false;   // and the source played it all out
    double rate_ = 1.0;

    // The run.
    bool runStarted_ = false;
    std::int64_t offset_ = 0;       // added to the disc's times
    std::int64_t expectedNext_ = 0; // where the next unit continues the timeline
    bool inStill_ = false;
    std::chrono::steady_clock::time_point stillSince_;
    std::deque<std::unique_ptr<Unit>> units_;

    // Streams passed on (physical numbers; -1 none) and what the overlay was told.
    int audioStream_ = 0;
    int subpictureStream_ = -1;
    bool subpictureShown_ = false;
    // What the overlay was told; after a flush it is told again.
    std::optional<bool> toldForcedOnly_;
    std::optional<DvdStep::Highlight> toldHighlight_;
    std::optional<std::array<std::uint32_t, 16>> palette_;
    bool paletteTold_ = false;
    bool highlightShown_ = true; // the disc's own flag: a highlight hidden by the disc is none
    int titleSet_ = 0;
    // Stream choices made outside a title, for the next title (a stream command would end a menu's still).
    std::optional<int> pendingAudio_, pendingSubpicture_;
    std::optional<bool> pendingShown_;
};

} // namespace dshow
