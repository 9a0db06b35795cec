// The command line, the stored lists and reopening the last medium.

#include <filesystem>
#include <functional>
#include <map>

#include <QCloseEvent>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "platform/audio/Bass.h"
#include "platform/com/Guids.h"
#include "platform/com/Unknown.h"
#include "platform/win32/Files.h"
#include "platform/win32/Window.h"
#include "tests/support/CaseName.h"
#include "tests/support/PaintCounter.h"
#include "tests/support/TempDir.h"
#include "tests/ui/MainFormFixture.h"

namespace {

using namespace ui_testing;
using V = std::vector<std::string>;

constexpr std::int64_t Second = 10000000;

class StoredListsTest : public MainFormTest {
protected:
    std::string PlayFileList() const { return State.ProjectPath + "/PlayFileList"; }
    std::string DvdFileList() const { return State.ProjectPath + "/DvdFileList"; }
    static V Items(const TStringList& List) { return List.Items(); }
    std::int64_t GraphPosition() const {
        std::int64_t current = -1;
        if (State.MediaSeeking)
            State.MediaSeeking->GetCurrentPosition(&current);
        return current;
    }
    double AudioPosition() const {
        return bass::BASS_ChannelBytes2Seconds(
            State.BassStream, bass::BASS_ChannelGetPosition(State.BassStream, bass::BASS_POS_BYTE));
    }
};

// --- The command line. ---

struct CommandLineCase {
    const char* name;
    V arguments; // "{A}", "{B}": two clips; "{EQ}": a clip with "===" in its name; "{GONE}": a file
                 // that does not exist
    const char* storedList; // "PlayFileList" before the start (nullptr: none), in the same names
    V list;                 // the play list after the first activation
    V positions;
    const char* current;   // CurrentMediaFile, "" for none
    int index;             // PlayListIndex
    bool playing;          // and CurrentMediaFile is what plays
    const char* listAfter; // "PlayFileList" after the first activation (nullptr: none)
};

class CommandLineCases : public StoredListsTest, public ::testing::WithParamInterface<CommandLineCase> {
protected:
    std::string Named(const std::string& Text) {
        std::string out = Text;
        for (const auto& [name, path] : names)
            for (std::size_t at; (at = out.find(name)) != std::string::npos;)
                out.replace(at, name.size(), path);
        return out;
    }
    V Named(const V& Texts) {
        V out;
        for (const auto& t : Texts)
            out.push_back(Named(t));
        return out;
    }
    std::map<std::string, std::string> names;
};

TEST_P(CommandLineCases, ShowAndFirstActivationMakeThePlayList) {
    const CommandLineCase& c = GetParam();
    names = {{"{A}", Clip("a.mp4")},
             {"{B}", Clip("b.mp4")},
             {"{EQ}", Clip("x===y.mp4")},
             {"{GONE}", tree.Root() + "/gone.mp4"}};
    WriteIni(DefaultsWith("ReloadLast", "0"));
    if (c.storedList != nullptr)
        WriteFile(PlayFileList(), Named(c.storedList));
    Run(Named(c.arguments));
    EXPECT_EQ(Items(*State.PlayListFiles), Named(c.list));
    EXPECT_EQ(Items(*State.PlayListPositions), c.positions);
    EXPECT_EQ(State.CurrentMediaFile, Named(c.current));
    EXPECT_EQ(State.PlayListIndex, c.index);
    EXPECT_EQ(State.IsPlaying, c.playing);
    if (c.playing) {
        EXPECT_EQ(form->CurMedia_L->Caption(), std::filesystem::path(Named(c.current)).filename().string());
    }
    if (c.listAfter == nullptr) {
        EXPECT_FALSE(std::filesystem::exists(PlayFileList()));
    } else {
        EXPECT_EQ(ReadFile(PlayFileList()), Named(c.listAfter));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineCases,
    ::testing::Values(
        CommandLineCase{"None", {}, nullptr, {}, {}, "", 0, false, ""},
        CommandLineCase{"OpenSwitchAlone", {"/o"}, nullptr, {}, {}, "", 0, false, nullptr},
        CommandLineCase{
            "PlainFiles", {"{A}", "{B}"}, nullptr, {"{A}", "{B}"}, {"0", "0"}, "{A}", 0, true, nullptr},
        CommandLineCase{"OpenSwitch", {"/o", "{A}"}, nullptr, {"{A}"}, {"0"}, "{A}", 0, true, nullptr},
        CommandLineCase{"OpenSwitchWithTwoFiles",
                        {"/o", "{A}", "{B}"},
                        nullptr,
                        {"{A}", "{B}"},
                        {"0", "0"},
                        "{A}",
                        0,
                        true,
                        nullptr},
        CommandLineCase{"SwitchesAreExactTexts",
                        {"/O", "{A}"},
                        nullptr,
                        {"/O", "{A}"},
                        {"0", "0"},
                        "/O",
                        0,
                        false,
                        nullptr},
        // F goes on playing and stays the current entry of the merged list; entries need not exist.
        CommandLineCase{"AppendToTheStoredList",
                        {"/a", "{B}"},
                        "{A}===5\r\n{GONE}===3\r\n",
                        {"{A}", "{GONE}", "{B}"},
                        {"5", "3", "0"},
                        "{B}",
                        2,
                        true,
                        "{A}===5\r\n{GONE}===3\r\n"},
        CommandLineCase{"AppendSkipsLinesThatNameNoFile",
                        {"/a", "{B}"},
                        "\r\nValue no find===0\n{A}\r\n\r\n===7\r\n",
                        {"{A}", "{B}"},
                        {"0", "0"},
                        "{B}",
                        1,
                        true,
                        "\r\nValue no find===0\n{A}\r\n\r\n===7\r\n"},
        CommandLineCase{"AppendOfAFileWithTheSeparatorInItsName",
                        {"/a", "{EQ}"},
                        "{A}===5\r\n",
                        {"{A}", "{EQ}"},
                        {"5", "0"},
                        "{EQ}",
                        1,
                        true,
                        "{A}===5\r\n"},
        CommandLineCase{
            "AppendWithoutAStoredList", {"/a", "{B}"}, nullptr, {"{B}"}, {"0"}, "{B}", 0, true, ""},
        CommandLineCase{"AppendOfAFileAlreadyListed",
                        {"/a", "{A}"},
                        "{B}===0\r\n{A}===9\r\n",
                        {"{B}", "{A}"},
                        {"0", "9"},
                        "{A}",
                        1,
                        true,
                        "{B}===0\r\n{A}===9\r\n"}),
    testing_support::CaseName());

// Counts the media graphs made while it lives: every open of a media file makes one. OnMake runs as each is
// made.
class GraphCounter {
public:
    explicit GraphCounter(std::function<void()> OnMake = nullptr)
        : original_(com::RevokeClassFactory(com::CLSID_FilterGraph)) {
        com::RegisterClassFactory(com::CLSID_FilterGraph,
                                  [this, OnMake = std::move(OnMake)](const com::IID& Iid, void** Object) {
                                      ++count;
                                      if (OnMake)
                                          OnMake();
                                      return original_(Iid, Object);
                                  });
    }
    ~GraphCounter() { com::RegisterClassFactory(com::CLSID_FilterGraph, original_); }
    GraphCounter(const GraphCounter&) = delete;
    GraphCounter& operator=(const GraphCounter&) = delete;

    int count = 0;

private:
    com::ClassFactory original_;
};

// --- The message loop while a file opens. ---

// The window is painted while a file opens: a paint asked for as the open begins comes before the open has
// returned.
TEST_F(StoredListsTest, TheWindowIsPaintedWhileAFileOpens) {
    Run();
    const std::string clip = Copy(LongClip(), "long.mp4");
    const testing_support::PaintCounter paints(form->Status_L);
    int paintsAtStart = -1;
    GraphCounter graphs([&] {
        paintsAtStart = paints.paints;
        form->Status_L->update();
    });
    TStringList files;
    files.Add(clip);
    form->OpenFilesAsPlayList(files);
    ASSERT_EQ(graphs.count, 1);
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_GT(paints.paints, paintsAtStart);
}

// A close asked for while a file opens (a window manager's, or a terminate signal's) is answered at once: the
// open is given up and nothing plays; the window closes once the open has returned.
TEST_F(StoredListsTest, ACloseWhileAFileOpensGivesTheOpenUpAndClosesTheWindow) {
    Run();
    Application().SetMainForm(form.get()); // as the program block makes it
    const std::string clip = Copy(LongClip(), "long.mp4");
    GraphCounter graphs([&] { QCoreApplication::postEvent(form.get(), new QCloseEvent); });
    TStringList files;
    files.Add(clip);
    form->OpenFilesAsPlayList(files);
    ASSERT_EQ(graphs.count, 1);
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_FALSE(form->ClosingDown) << "the close comes after the open";
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->ClosingDown; }));
}

TEST_F(StoredListsTest, OpenSwitchWithFullScreenAtOnceOpensOnceAndEndsInFullScreen) {
    const std::string clip = Clip("a.mp4");
    WriteIni(DefaultsWith("FullScreenAtonce", "1"));
    GraphCounter graphs;
    Run({"/o", clip});
    EXPECT_EQ(graphs.count, 1) << "opened at show, not again at the first activation";
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_TRUE(form->IsFullScreen);
    EXPECT_FALSE(form->Ctrl_P->isVisible());
}

// The show step only queues the open: the window is shown and painted first, then F opens, and "/a F" joins
// F to the stored list only after that, however early the first activation came.
TEST_F(StoredListsTest, TheCommandLineOpensAfterTheFirstPaintAndTheAppendAfterTheOpen) {
    const std::string a = Clip("a.mp4"), b = Clip("b.mp4");
    WriteFile(PlayFileList(), a + "===5\r\n");
    Start({"/a", b});
    const testing_support::PaintCounter panelPaints(form->Video_P);
    bool shownAtOpen = false;
    int paintsAtOpen = -1;
    V listAtOpen;
    GraphCounter graphs([&] {
        shownAtOpen = form->isVisible();
        paintsAtOpen = panelPaints.paints;
        listAtOpen = Items(*State.PlayListFiles);
    });
    form->Show();
    EXPECT_EQ(graphs.count, 0) << "opened within the show step";
    EXPECT_TRUE(form->CommandLineOpenPending);
    form->FormActivate(form.get());
    EXPECT_TRUE(Items(*State.PlayListFiles).empty()) << "the append came before the open";
    WaitForCommandLineOpen();
    ASSERT_EQ(graphs.count, 1);
    EXPECT_TRUE(shownAtOpen);
    EXPECT_GE(paintsAtOpen, 1);
    EXPECT_EQ(listAtOpen, V{b});
    EXPECT_EQ(Items(*State.PlayListFiles), (V{a, b}));
    EXPECT_EQ(State.CurrentMediaFile, b);
    EXPECT_TRUE(State.IsPlaying);
    // Later activations do not repeat the first one's work.
    form->FormActivate(form.get());
    EXPECT_EQ(Items(*State.PlayListFiles), (V{a, b}));
}

// A close before the queued open runs (a session ending at once) opens nothing and saves the start's state.
TEST_F(StoredListsTest, ACloseBeforeTheQueuedOpenOpensNothing) {
    const std::string clip = Clip("a.mp4");
    WriteIni(DefaultsWith("LastMediaFile", "/m/old.avi"));
    GraphCounter graphs;
    Start({clip});
    form->Show();
    form->FormActivate(form.get());
    CloseForm();
    WaitForCommandLineOpen();
    EXPECT_EQ(graphs.count, 0);
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(ReadIniString("PlayControl", "LastMediaFile"), "/m/old.avi");
}

// "On top while playing" puts the window on top once the command line's file plays, though the window was
// first shown (and sized) before anything played; a file that does not play leaves it where it was.
TEST_F(StoredListsTest, OnTopWhilePlayingHoldsForTheCommandLinesFile) {
    const std::string bad =
        Copy(testing_support::MediaFile(testing_support::MediaFixture::NotMedia), "text.avi");
    for (const auto& [file, onTop] : {std::pair{Clip("a.mp4"), true}, {bad, false}}) {
        form.reset();
        WriteIni(DefaultsWith("StayOnTop", "2"));
        Run({file});
        EXPECT_EQ(State.IsPlaying, onTop) << file;
        EXPECT_EQ((win32::GetWindowLong(form->Handle(), win32::GWL_EXSTYLE) & win32::WS_EX_TOPMOST) != 0,
                  onTop)
            << file;
    }
}

TEST_F(StoredListsTest, RelativeFileArgumentsAreTakenFromTheCurrentFolder) {
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(tree.Root());
    const char* argv[] = {"QuorelMain", "/a", "clip.mp4", "/o"};
    TQuorelMain_Form::SetCommandLine(4, const_cast<char**>(argv));
    const V arguments = TQuorelMain_Form::CommandLineArguments();
    std::filesystem::current_path(before);
    TQuorelMain_Form::SetCommandLine(0, nullptr);
    EXPECT_EQ(arguments, (V{"/a", tree.Root() + "/clip.mp4", "/o"}));
}

// --- The stored lists at start and at close. ---

// The last medium joins the list whole, though its name holds the separator.
TEST_F(StoredListsTest, StoredPlayListDropsDuplicatesAndMissingFilesAndTakesTheLastMedium) {
    const std::string a = Clip("a.mp4"), b = Tone("b.wav"), c = Clip("c===d.mp4");
    WriteIni(DefaultsWith("ReloadLast", "0", DefaultsWith("LastMediaFile", c)));
    std::string upper = a;
    upper.replace(upper.rfind("a.mp4"), 5, "A.MP4");
    WriteFile(PlayFileList(),
              a + "===0\r\n" + upper + "===12\r\n\r\n" + b + "\n" + tree.Root() + "/gone.avi===4\r\n");
    Run();
    EXPECT_EQ(Items(*State.PlayListFiles), (V{a, b, c}));
    EXPECT_EQ(Items(*State.PlayListPositions), (V{"0", "0", "0"}));
    EXPECT_EQ(State.CurrentMediaFile, c);
    EXPECT_FALSE(State.IsPlaying);
    CloseForm();
    EXPECT_EQ(ReadFile(PlayFileList()), a + "===0\r\n" + b + "===0\r\n" + c + "===0\r\n");
}

TEST_F(StoredListsTest, MissingStoredListsAreCreatedEmpty) {
    for (const char* type : {"1", "2"}) {
        std::filesystem::remove(PlayFileList());
        std::filesystem::remove(DvdFileList());
        WriteIni(DefaultsWith("LastPlayType", type));
        Run();
        EXPECT_EQ(std::filesystem::exists(PlayFileList()), std::string(type) == "1");
        EXPECT_EQ(std::filesystem::exists(DvdFileList()), std::string(type) == "2");
        form.reset();
    }
}

TEST_F(StoredListsTest, CloseWithNothingOpenedKeepsTheLastMediumAndWritesPositionZero) {
    WriteIni(DefaultsWith("LastPos", "37",
                          DefaultsWith("LastMediaFile", "/m/old.avi", DefaultsWith("ReloadLast", "0"))));
    Run();
    CloseForm();
    EXPECT_EQ(ReadIniInteger("PlayControl", "LastPlayType"), 1);
    EXPECT_EQ(ReadIniString("PlayControl", "LastMediaFile"), "/m/old.avi");
    EXPECT_EQ(ReadIniInteger("PlayControl", "LastPos"), 0);
    EXPECT_EQ(ReadFile(PlayFileList()), "");
}

// A switch alone opens and loads nothing: the stored list of the last play type is left as it was, not
// emptied at close.
TEST_F(StoredListsTest, ASwitchAloneLeavesTheStoredListsAsTheyWere) {
    const std::string playList = Clip("a.mp4") + "===5\r\n";
    const std::string dvdList = "DVD\r\nChapter1(1-1)\r\n";
    for (const auto& [argument, lastPlayType] :
         {std::pair{"/o", "1"}, {"/a", "4"}, {"/o", "2"}, {"/a", "2"}}) {
        WriteFile(PlayFileList(), playList);
        WriteFile(DvdFileList(), dvdList);
        WriteIni(DefaultsWith("LastPlayType", lastPlayType));
        Run({argument});
        EXPECT_FALSE(State.IsPlaying);
        CloseForm();
        EXPECT_EQ(ReadFile(PlayFileList()), playList) << argument << " " << lastPlayType;
        EXPECT_EQ(ReadFile(DvdFileList()), dvdList) << argument << " " << lastPlayType;
        EXPECT_EQ(ReadIniInteger("PlayControl", "LastPlayType"), std::stoi(lastPlayType));
        form.reset();
    }
}

struct UnreadCase {
    const char* name;
    const char* lastPlayType;
    bool appendSwitch; // started with "/a" and a clip
    const char* list;  // the stored list that cannot be read
};
class UnreadStoredList : public StoredListsTest, public ::testing::WithParamInterface<UnreadCase> {};

// A stored list that is there but cannot be read (here a read error: a link to a file whose read fails) is
// reported as before, and the close never writes over it, also when files were opened since.
TEST_P(UnreadStoredList, IsReportedAndNeverWrittenOver) {
    const UnreadCase& c = GetParam();
    const std::string list = State.ProjectPath + "/" + c.list;
    std::filesystem::create_symlink("/proc/self/mem", list);
    ASSERT_FALSE(win32::ReadWholeFile(list).has_value()) << "the read fails";
    WriteIni(DefaultsWith("LastPlayType", c.lastPlayType, DefaultsWith("ReloadLast", "0")));
    const std::string clip = Clip("a.mp4");
    // The activation as the program runs it: its error ends it and goes to the default error message.
    Start(c.appendSwitch ? std::vector<std::string>{"/a", clip} : std::vector<std::string>{});
    form->Show();
    forms::CallEvent(form->OnActivate, form.get());
    WaitForCommandLineOpen();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "Cannot open file \"" + list + "\".");
    // A play list made since (for the DVD list, opening a file would leave the DVD and store the play list).
    if (!c.appendSwitch && std::string(c.lastPlayType) != "2") {
        chosenFiles = {clip};
        form->OpenFileDialog();
    }
    CloseForm();
    ASSERT_TRUE(std::filesystem::is_symlink(list)) << "written over";
    EXPECT_EQ(std::filesystem::read_symlink(list), "/proc/self/mem");
}

INSTANTIATE_TEST_SUITE_P(Cases, UnreadStoredList,
                         ::testing::Values(UnreadCase{"PlayList", "1", false, "PlayFileList"},
                                           UnreadCase{"PlayListOfAudio", "4", false, "PlayFileList"},
                                           UnreadCase{"AppendSwitch", "1", true, "PlayFileList"},
                                           UnreadCase{"DvdList", "2", false, "DvdFileList"}),
                         testing_support::CaseName());

TEST_F(StoredListsTest, CloseStoresWhatPlaysWithThePositionTheTicksRecorded) {
    const std::string clip = Clip("a.mp4"), tone = Tone("t.wav");
    Run({clip, tone});
    form->PositionSeconds = 1;
    form->AudioPositionSeconds = 7;
    CloseForm();
    EXPECT_EQ(ReadIniInteger("PlayControl", "LastPlayType"), 1);
    EXPECT_EQ(ReadIniString("PlayControl", "LastMediaFile"), clip);
    EXPECT_EQ(ReadIniInteger("PlayControl", "LastPos"), 1);
    EXPECT_EQ(ReadFile(PlayFileList()), clip + "===0\r\n" + tone + "===0\r\n");
}

// A file whose name holds a line break plays, but is neither stored as the last medium nor in the stored
// list; the settings and the list keep whole lines only.
TEST_F(StoredListsTest, AFileNamedWithALineBreakPlaysButIsNotStored) {
    const std::string odd = Clip("two\nlines.mp4"), tone = Tone("t.wav");
    WriteIni(DefaultsWith("LastMediaFile", tone));
    Run({odd, tone});
    ASSERT_TRUE(State.IsPlaying);
    EXPECT_EQ(State.CurrentMediaFile, odd);
    CloseForm();
    EXPECT_EQ(ReadIniString("PlayControl", "LastMediaFile"), "");
    EXPECT_EQ(ReadIniInteger("PlayControl", "LastPlayType"), 1);
    EXPECT_EQ(ReadFile(PlayFileList()), tone + "===0\r\n");
    const std::string ini = ReadFile(tree.IniFile());
    EXPECT_EQ(ini.find("lines.mp4"), std::string::npos) << ini;

    State.PlayType = PlayTypes::Dvd;
    State.DvdPath = tree.Root() + "/disc\r";
    form->SaveLastState();
    EXPECT_EQ(ReadIniString("PlayControl", "LastDvd"), "") << "a folder's name alike";
    State.PlayType = PlayTypes::Pip;
    State.pipMediaFileA = odd;
    State.pipMediaFileB = tone;
    form->SaveLastState();
    EXPECT_EQ(ReadIniString("Pip", "pipMediaFileA"), "") << "a pair only whole";
}

TEST_F(StoredListsTest, DvdAndPictureInPictureStoreTheirOwnKeys) {
    Run();
    State.PlayType = PlayTypes::Dvd;
    State.DvdPath = "/discs/movie";
    State.DvdDomain = 4;
    State.DvdChapterList->Add("DVD");
    State.DvdChapterList->Add("Chapter1(1-1)");
    form->PositionSeconds = 12;
    form->SaveLastState();
    form->SaveStoredLists();
    EXPECT_EQ(ReadIniInteger("PlayControl", "LastPlayType"), 2);
    EXPECT_EQ(ReadIniString("PlayControl", "LastDvd"), "/discs/movie");
    EXPECT_EQ(ReadIniInteger("PlayControl", "LastDomain"), 4);
    EXPECT_EQ(ReadIniInteger("PlayControl", "LastPos"), 12);
    EXPECT_EQ(ReadFile(DvdFileList()), "DVD\r\nChapter1(1-1)\r\n");

    State.PlayType = PlayTypes::Pip;
    State.pipMediaFileA = "/m/a.avi";
    State.pipMediaFileB = "";
    form->SaveLastState();
    EXPECT_EQ(ReadIniString("Pip", "pipMediaFileA"), ""); // only a whole pair is stored
    State.pipMediaFileB = "/m/b.avi";
    form->SaveLastState();
    EXPECT_EQ(ReadIniString("Pip", "pipMediaFileA"), "/m/a.avi");
    EXPECT_EQ(ReadIniString("Pip", "pipMediaFileB"), "/m/b.avi");
}

TEST_F(StoredListsTest, StoredDvdListIsLoadedForTheLastDvd) {
    WriteIni(DefaultsWith("LastPlayType", "2", DefaultsWith("ReloadLast", "0")));
    WriteFile(DvdFileList(), "DVD\nChapter1(1-1)\r\n");
    Run();
    EXPECT_EQ(Items(*State.DvdChapterList), (V{"DVD", "Chapter1(1-1)"}));
}

// --- Reopening the last medium. ---

struct ResumeCase {
    const char* name;
    const char* lastPos;
    const char* autoResume;
    bool fromStoredPoint; // else from the start
};

class ResumeCases : public StoredListsTest, public ::testing::WithParamInterface<ResumeCase> {};

TEST_P(ResumeCases, LastMediaFileReopensWhereTheRuleSays) {
    const std::string clip = Copy(LongClip(), "long.mp4");
    WriteIni(DefaultsWith(
        "LastMediaFile", clip,
        DefaultsWith("LastPos", GetParam().lastPos, DefaultsWith("AutoResumePlay", GetParam().autoResume))));
    Run();
    ASSERT_TRUE(State.IsPlaying);
    EXPECT_FALSE(State.IsPaused);
    EXPECT_EQ(form->Status_L->Caption(), "播放中");
    EXPECT_EQ(State.PlayListIndex, -1); // there was no stored list to hold it
    // The position only grows from where the seek left it; the upper bound is far beyond any start-up time.
    if (GetParam().fromStoredPoint) {
        EXPECT_GE(GraphPosition(), 5 * Second);
    } else {
        EXPECT_LT(GraphPosition(), 5 * Second);
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, ResumeCases,
                         ::testing::Values(ResumeCase{"StoredPoint", "5", "0", true},
                                           ResumeCase{"AtTheEnd", "10", "0", false},
                                           ResumeCase{"PastTheEnd", "99", "0", false},
                                           ResumeCase{"MissingKeyReadsMinusOne", "-1", "0", false},
                                           ResumeCase{"FromTheBeginning", "5", "1", false},
                                           ResumeCase{"AskedWithoutAnAnswer", "5", "2", false}),
                         testing_support::CaseName());

// With MemoryLastPos 1 a stored point inside the file resumes there; one at or past its end (10 s, the length
// in whole seconds) plays from the start.
TEST_F(StoredListsTest, LastAudioFileResumesOnlyWithMemoryLastPosAndWithinTheFile) {
    const std::string tone = Tone("t.wav", 10.0);
    for (const auto& [memory, lastPos, resumed] :
         {std::tuple{"1", "6", true}, {"0", "6", false}, {"1", "10", false}, {"1", "15", false}}) {
        WriteIni(DefaultsWith(
            "LastPlayType", "4",
            DefaultsWith("LastMediaFile", tone,
                         DefaultsWith("LastPos", lastPos, DefaultsWith("MemoryLastPos", memory)))));
        Run();
        ASSERT_TRUE(State.IsPlaying) << memory << " " << lastPos;
        EXPECT_EQ(State.PlayType, PlayTypes::Audio);
        EXPECT_EQ(resumed, AudioPosition() >= 6.0) << memory << " " << lastPos << ": " << AudioPosition();
        if (std::string(lastPos) != "6") {
            EXPECT_LT(AudioPosition(), 1.0) << lastPos;
        }
        EXPECT_EQ(form->Time_L->Caption(), "0:00:00 / 0:00:10");
        form.reset();
    }
}

// A medium shorter than a second has no whole second but its start: a stored point at or past its length
// plays from the start, as with longer media, instead of seeking to its end.
TEST_F(StoredListsTest, AMediumShorterThanASecondResumesFromItsStart) {
    const std::string clip = tree.Root() + "/short.mp4";
    ASSERT_TRUE(testing_support::MakeMediaFile(
        "videotestsrc num-buffers=15 ! video/x-raw,width=320,height=240,framerate=25/1 ! "
        "x264enc speed-preset=ultrafast ! h264parse ! mp4mux ! filesink location={out}",
        clip));
    WriteIni(DefaultsWith("LastMediaFile", clip,
                          DefaultsWith("LastPos", "1", DefaultsWith("AutoResumePlay", "0"))));
    Run();
    ASSERT_TRUE(State.IsPlaying);
    EXPECT_EQ(State.LastPos, 0);
    EXPECT_LT(GraphPosition(), Second / 5);
}

TEST_F(StoredListsTest, MissingLastFileReopensNothing) {
    WriteIni(DefaultsWith("LastMediaFile", tree.Root() + "/gone.mp4"));
    Run();
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_EQ(form->Status_L->Caption(), "准备完毕");
    EXPECT_TRUE(screenSaver.Calls.empty());
}

// --- A last medium that took the program down as it reopened. ---

// The default settings with Text and [PlayControl] ReloadLastMark := Mark.
std::string WithReloadMark(const std::string& Mark, std::string Text) {
    const std::string section = "[PlayControl]\r\n";
    return Text.insert(Text.find(section) + section.size(), "ReloadLastMark=" + Mark + "\r\n");
}

// The reopen's open runs with the mark in the settings; it goes once the medium has opened. A mark of another
// medium holds nothing back.
TEST_F(StoredListsTest, TheReopenIsMarkedWhileTheLastMediumOpens) {
    const std::string clip = Clip("a.mp4");
    WriteIni(WithReloadMark("opening 1 " + tree.Root() + "/other.mp4", DefaultsWith("LastMediaFile", clip)));
    std::string markAtOpen;
    GraphCounter graphs([&] { markAtOpen = ReadIniString("PlayControl", "ReloadLastMark"); });
    Run();
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_EQ(markAtOpen, "opening 1 " + clip);
    EXPECT_EQ(ReadIniString("PlayControl", "ReloadLastMark"), "");
    EXPECT_TRUE(boxes.empty());
}

struct DiedCase {
    const char* name;
    const char* playType;
    const char* key; // of the last medium
};

class ReopenThatDied : public StoredListsTest, public ::testing::WithParamInterface<DiedCase> {};

// The mark a start left when it died while the last medium opened: the next start does not open it and says
// so in a box, later starts open nothing of it and say nothing, until a medium has opened; then the last
// medium reopens as before.
TEST_P(ReopenThatDied, TheNextStartDoesNotReopenItAndSaysSoOnce) {
    const DiedCase& c = GetParam();
    const std::string medium = std::string(c.key) == "LastDvd" ? tree.Root() : Clip("a.mp4");
    WriteIni(WithReloadMark(std::string("opening ") + c.playType + " " + medium,
                            DefaultsWith("LastPlayType", c.playType, DefaultsWith(c.key, medium))));
    GraphCounter graphs;
    Run();
    EXPECT_EQ(graphs.count, 0);
    EXPECT_FALSE(State.IsPlaying);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text,
              "The last media was not reloaded: the player stopped while loading it last time!");
    EXPECT_EQ(boxes[0].Caption, "Information");
    form.reset();
    boxes.clear();
    Run();
    EXPECT_EQ(graphs.count, 0);
    EXPECT_TRUE(boxes.empty());
    form.reset();
    // The clip opened from the command line: the mark goes, and the next start reopens the last medium.
    Run({Clip("b.mp4")});
    EXPECT_EQ(ReadIniString("PlayControl", "ReloadLastMark"), "");
    form.reset();
    graphs.count = 0;
    Run();
    EXPECT_EQ(graphs.count, 1);
}

INSTANTIATE_TEST_SUITE_P(LastMedia, ReopenThatDied,
                         ::testing::Values(DiedCase{"MediaFile", "1", "LastMediaFile"},
                                           DiedCase{"Dvd", "2", "LastDvd"}),
                         testing_support::CaseName());

// A file the user names on the command line that does not play is reported in a box; the same file reopened
// as the last medium at the next start only shows the status text.
TEST_F(StoredListsTest, AFileThatDoesNotPlayIsReportedWhenNamedOnTheCommandLineAndOnlyShownWhenReopened) {
    const std::string bad =
        Copy(testing_support::MediaFile(testing_support::MediaFixture::NotMedia), "text.avi");
    for (const V& arguments : {V{"/o", bad}, V{bad}, V{"/a", bad}}) {
        boxes.clear();
        form.reset();
        Run(arguments);
        EXPECT_FALSE(State.IsPlaying);
        EXPECT_EQ(form->Status_L->Caption(), "无效或错误的媒体文件!");
        ASSERT_EQ(boxes.size(), 1u) << arguments[0];
        EXPECT_EQ(boxes[0].Text, "无效或错误的媒体文件!");
        EXPECT_EQ(boxes[0].Caption, "Information");
    }
    boxes.clear();
    form.reset();
    WriteIni(DefaultsWith("LastMediaFile", bad));
    Run();
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_EQ(form->Status_L->Caption(), "无效或错误的媒体文件!");
    EXPECT_EQ(form->CurMedia_L->Caption(), "text.avi");
    EXPECT_TRUE(boxes.empty());
}

// What is put in a medium's place is named by the box: a folder, a FIFO, a device, a link to nothing, a
// file that cannot be read. A name with nothing behind it, or a readable file, has nothing to say here.
TEST(FailedOpenTexts, SayWhatIsInTheMediumsPlace) {
    const testing_support::TempDir dir;
    const std::string fifo = dir.File("pipe.avi");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string dangling = dir.File("gone.avi");
    std::filesystem::create_symlink(dir.File("nowhere.avi"), dangling);
    const std::string readable = dir.File("clip.avi");
    testing_support::WriteFile(readable, "x");
    const std::string unreadable = dir.File("locked.avi");
    testing_support::WriteFile(unreadable, "x");
    std::filesystem::permissions(unreadable, std::filesystem::perms::none);
    const bool rootReadsAll = ::geteuid() == 0;
    const struct {
        std::string path;
        std::string text;
    } cases[] = {
        {dir.Path(), dir.Path() + " is a folder, not a media file!"},
        {fifo, fifo + " is a pipe or a device, not a media file!"},
        {"/dev/null", "/dev/null is a pipe or a device, not a media file!"},
        {dangling, dangling + " is not exists!"},
        {dir.File("missing.avi"), ""},
        {"", ""},
        {readable, ""},
        {unreadable, rootReadsAll ? "" : "Cannot open file \"" + unreadable + "\". Permission denied"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnopenableFileText(c.path), c.text) << c.path;
    for (const int known : {1000, 1007, 1009})
        EXPECT_EQ(BadRendererText(known), "");
    EXPECT_EQ(BadRendererText(5), "The video renderer 5 in the settings is invalidate!");
    EXPECT_EQ(BadRendererText(0), "The video renderer 0 in the settings is invalidate!");
}

// A folder named on the command line, and a good clip with a stored renderer the player does not know: the
// box says so instead of calling the medium invalid (the status strip keeps its short text).
TEST_F(StoredListsTest, AFailedOpenSaysWhatIsWrong) {
    const std::string folder = tree.Root() + "/clips.avi";
    std::filesystem::create_directory(folder);
    Run({"/o", folder});
    EXPECT_FALSE(State.IsPlaying);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, folder + " is a folder, not a media file!");
    EXPECT_EQ(boxes[0].Caption, "Information");

    boxes.clear();
    form.reset();
    const std::string clip = Clip("a.mp4");
    WriteIni(DefaultsWith("SelKernelType", "1", DefaultsWith("RenderType", "5")));
    Run({"/o", clip});
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_EQ(form->Status_L->Caption(), "无效或错误的媒体文件!");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "The video renderer 5 in the settings is invalidate!");
    EXPECT_EQ(boxes[0].Caption, "Information");
}

// The stored last medium replaced by a folder, a FIFO, a device or a link to nothing is not reopened, and
// one box says what is there; a file that is simply gone is passed over in silence.
TEST_F(StoredListsTest, AStoredLastMediumThatIsNoFileIsToldOnce) {
    const std::string folder = tree.Root() + "/film.avi";
    std::filesystem::create_directory(folder);
    const std::string fifo = tree.Root() + "/pipe.avi";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string dangling = tree.Root() + "/gone.avi";
    std::filesystem::create_symlink(tree.Root() + "/nowhere.avi", dangling);
    const std::string clip = Clip("b.mp4");
    const struct {
        const char* type;
        std::string a, b; // the stored medium (b: the pair's second file)
        std::string text;  // the box, "" for none
    } cases[] = {
        {"1", folder, "", folder + " is a folder, not a media file!"},
        {"1", fifo, "", fifo + " is a pipe or a device, not a media file!"},
        {"1", "/dev/null", "", "/dev/null is a pipe or a device, not a media file!"},
        {"4", dangling, "", dangling + " is not exists!"},
        {"3", clip, folder, folder + " is a folder, not a media file!"},
        {"1", tree.Root() + "/missing.avi", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a + " " + c.b);
        boxes.clear();
        form.reset();
        WriteIni(DefaultsWith("LastPlayType", c.type,
                              DefaultsWith("LastMediaFile", c.a,
                                           DefaultsWith("pipMediaFileA", c.a, DefaultsWith("pipMediaFileB", c.b)))));
        Run();
        EXPECT_FALSE(State.IsPlaying);
        if (c.text.empty()) {
            EXPECT_TRUE(boxes.empty());
            continue;
        }
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].Text, c.text);
        EXPECT_EQ(boxes[0].Caption, "Information");
    }
}

TEST_F(StoredListsTest, LastDvdWithoutReloadIsOnlyRemembered) {
    WriteIni(DefaultsWith("LastPlayType", "2",
                          DefaultsWith("ReloadLast", "0", DefaultsWith("LastDvd", tree.Root()))));
    Run();
    EXPECT_EQ(State.DvdPath, tree.Root());
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(State.IsPlaying);
}

TEST_F(StoredListsTest, LastDvdFolderThatDoesNotOpenIsReported) {
    WriteIni(DefaultsWith("LastPlayType", "2", DefaultsWith("LastDvd", tree.Root())));
    Run();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Load Dvd file error!");
    EXPECT_EQ(boxes[0].Caption, "Information");
    EXPECT_EQ(form->Status_L->Caption(), "准备完毕"); // not the DVD state
    form.reset();
    boxes.clear();
    WriteIni(DefaultsWith("LastPlayType", "2", DefaultsWith("LastDvd", tree.Root() + "/gone")));
    Run();
    EXPECT_TRUE(boxes.empty()); // a folder that is gone opens nothing, silently
    EXPECT_EQ(State.DvdPath, tree.Root() + "/gone");
}

} // namespace
