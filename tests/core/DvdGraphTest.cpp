// The DVD graph over the authored disc, the chapter list, the search for disc folders and the drives.

#include "core/DvdGraph.h"

#include <filesystem>
#include <fstream>
#include <random>

#include <gtest/gtest.h>

#include "core/DvdNavigation.h"
#include "core/MediaOpen.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/Transport.h"
#include "platform/win32/Drives.h"
#include "tests/support/CaseName.h"
#include "tests/support/DvdFixtures.h"
#include "tests/support/FakeDvd.h"
#include "tests/support/MediaPanel.h"
#include "tests/support/RunTree.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::DvdDisc;
using testing_support::TempDir;

std::vector<std::string> Lines(const forms::TStringList& List) {
    return {List.begin(), List.end()};
}

// A run tree with the shared lists, a window with a video panel, and the DVD graph stopped at the end.
class DvdOpen : public ::testing::Test {
protected:
    void SetUp() override {
        for (auto* list :
             {&State.DvdChapterList, &State.IfoFolderList, &State.VobFolderList, &State.DvdFolderList})
            *list = std::make_unique<forms::TStringList>();
        WriteIniInteger("PlayControl", "WhileOpenMedia", WhileOpenMedias::VideoFitsWindow);
        State.VideoScale = VideoScales::Original;
        State.SoundLevel = 30;
        State.VolumeAttenuation = VolumeTable[30];
    }
    void TearDown() override { GraphStop(); }

    testing_support::RunTree tree;
    testing_support::MediaWindow window{640, 480};
};

// The disc opens in its manager menu: play type 2, the chapter list of its two titles, the picture's size,
// and the menu's picture in the panel.
TEST_F(DvdOpen, TheDiscPlaysItsMenuWithItsChapterList) {
    State.DvdChapterList->Add("Chapter9(9-9)"); // a disc before it
    ASSERT_TRUE(OpenDvd(DvdDisc()));
    EXPECT_EQ(State.PlayType, PlayTypes::Dvd);
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_FALSE(State.IsPaused);
    EXPECT_EQ(Lines(*State.DvdChapterList), (std::vector<std::string>{"DVD", "Chapter1(1-1)", "Chapter2(1-2)",
                                                                      "Chapter3(1-3)", "Chapter1(2-1)"}));
    EXPECT_EQ(State.VideoWidth, 720);
    EXPECT_EQ(State.VideoHeight, 576);
    EXPECT_DOUBLE_EQ(AspectForType(0), 0.75) << "a 4:3 disc shows in 4:3, whatever played before";
    EXPECT_EQ(GetDvdDomain(), DvdDomains::VideoManagerMenu);
    // The menu's dark blue background, between its two buttons.
    const TVideoRect r = State.VideoRect;
    const int x = r.Left + r.Width / 10, y = r.Top + r.Height / 2;
    EXPECT_TRUE(testing_support::WaitUntil([&] {
        return testing_support::NearColour(window.Picture().pixel(x, y), testing_support::Rgb{32, 32, 96},
                                           40);
    })) << std::hex
        << window.Picture().pixel(x, y);
}

struct BadDiscCase {
    const char* name;
    void (*damage)(const std::string& Disc);
};

void NoDiscFiles(const std::string& Disc) {
    fs::remove_all(Disc + "/VIDEO_TS");
    fs::create_directories(Disc + "/VIDEO_TS");
    std::ofstream(Disc + "/VIDEO_TS/notes.txt") << "not a disc";
}

void RandomIfo(const std::string& Disc) {
    std::mt19937 random(18);
    std::string bytes(12288, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    for (const char* name : {"/VIDEO_TS/VIDEO_TS.IFO", "/VIDEO_TS/VIDEO_TS.BUP"})
        std::ofstream(Disc + name, std::ios::binary | std::ios::trunc) << bytes;
}

// The menu's video object cut short: the first menu cannot be read.
void TruncatedVob(const std::string& Disc) {
    fs::resize_file(Disc + "/VIDEO_TS/VIDEO_TS.VOB", 4096);
}

// The menu's pictures marked scrambled, as on a disc encrypted for CSS (which nothing here can decrypt).
void ScrambledMenu(const std::string& Disc) {
    std::fstream vob(Disc + "/VIDEO_TS/VIDEO_TS.VOB", std::ios::in | std::ios::out | std::ios::binary);
    std::string pack(2048, '\0');
    for (std::streamoff at = 0; vob.seekg(at) && vob.read(pack.data(), 2048); at += 2048) {
        const std::size_t pes = 14 + (static_cast<unsigned char>(pack[13]) & 7);
        if (static_cast<unsigned char>(pack[pes + 3]) == 0xE0) {
            vob.seekp(at + static_cast<std::streamoff>(pes) + 6);
            vob.put(static_cast<char>(pack[pes + 6] | 0x10));
        }
    }
}

class OpenBadDisc : public DvdOpen, public ::testing::WithParamInterface<BadDiscCase> {};

// A disc that cannot play fails the open: nothing plays, the state is what it was (here an audio file
// paused), no graph is left, and the chapter list is not the failed disc's.
TEST_P(OpenBadDisc, FailsAndLeavesTheStateAsItWas) {
    TempDir folder;
    const std::string disc = testing_support::CopyOfDvdDisc(folder.Path());
    GetParam().damage(disc);
    State.PlayType = PlayTypes::Audio;
    State.IsPlaying = true;
    State.IsPaused = true;
    State.DvdChapterList->Add("DVD");
    EXPECT_FALSE(OpenDvd(disc));
    EXPECT_EQ(State.PlayType, PlayTypes::Audio);
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_TRUE(State.IsPaused);
    EXPECT_FALSE(State.GraphBuilder);
    EXPECT_FALSE(State.DvdControl2);
    EXPECT_FALSE(State.DvdInfo2);
    EXPECT_FALSE(State.MediaControl);
    EXPECT_EQ(Lines(*State.DvdChapterList), (std::vector<std::string>{"DVD"}));
}

INSTANTIATE_TEST_SUITE_P(Damage, OpenBadDisc,
                         ::testing::Values(BadDiscCase{"FolderWithoutDiscFiles", &NoDiscFiles},
                                           BadDiscCase{"IfoOfRandomBytes", &RandomIfo},
                                           BadDiscCase{"TruncatedMenuVob", &TruncatedVob},
                                           BadDiscCase{"EncryptedMenu", &ScrambledMenu}),
                         testing_support::CaseName());

TEST_F(DvdOpen, AFolderThatDoesNotExistFails) {
    EXPECT_FALSE(OpenDvd(tree.Root() + "/no such disc"));
    EXPECT_FALSE(State.GraphBuilder);
}

// Without the MPEG video decoder the picture has no way to the screen: the open fails.
TEST_F(DvdOpen, AGraphWhosePictureCannotBeBuiltFails) {
    const com::ScopedClassRemoval noDecoder(com::CLSID_MpegVideoDecoder);
    EXPECT_FALSE(OpenDvd(DvdDisc()));
    EXPECT_NE(State.PlayType, PlayTypes::Dvd);
    EXPECT_FALSE(State.GraphBuilder);
}

// The three creations of the first step: any one missing fails the open before anything else.
TEST_F(DvdOpen, MissingNavigatorOrGrabberFails) {
    for (const com::CLSID& missing :
         {com::CLSID_DVDNavigator, com::CLSID_SampleGrabber, com::CLSID_FilterGraph}) {
        const com::ScopedClassRemoval away(missing);
        EXPECT_FALSE(OpenDvd(DvdDisc())) << com::GuidToString(missing);
        EXPECT_FALSE(State.GraphBuilder);
    }
}

// --- The chapter list from the navigator (a fake one) ---

class ChapterList : public ::testing::Test {
protected:
    void SetUp() override { State.DvdInfo2 = dvd; }
    void TearDown() override { State.DvdInfo2 = nullptr; }
    testing_support::RunTree tree;
    com::ComPtr<testing_support::FakeDvd> dvd =
        com::ComPtr<testing_support::FakeDvd>::Adopt(new testing_support::FakeDvd);
    forms::TStringList list;
};

TEST_F(ChapterList, OneEntryPerChapterOfEachTitle) {
    dvd->chaptersOfTitle = {3, 1, 2};
    EXPECT_TRUE(BuildChapterList(list));
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"DVD", "Chapter1(1-1)", "Chapter2(1-2)", "Chapter3(1-3)",
                                                     "Chapter1(2-1)", "Chapter1(3-1)", "Chapter2(3-2)"}));
}

// A disc whose volume cannot be read leaves "DVD" alone, never the chapters of the disc before it.
TEST_F(ChapterList, AnUnreadableVolumeLeavesOnlyDvd) {
    list.Add("DVD");
    list.Add("Chapter1(4-1)");
    dvd->result = com::E_FAIL;
    EXPECT_TRUE(BuildChapterList(list));
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"DVD"}));
}

// The entry of what plays; -1 when the list has none, or the navigator cannot say where it is.
TEST_F(ChapterList, CurrentChapterIndexFindsTheEntryOrGivesMinusOne) {
    State.DvdChapterList = std::make_unique<forms::TStringList>();
    dvd->chaptersOfTitle = {3, 1};
    BuildChapterList(*State.DvdChapterList);
    dvd->title = 2;
    dvd->chapter = 1;
    EXPECT_EQ(CurrentChapterIndex(), 4);
    dvd->title = 1;
    dvd->chapter = 3;
    EXPECT_EQ(CurrentChapterIndex(), 3);
    dvd->chapter = 7;
    EXPECT_EQ(CurrentChapterIndex(), -1);
    dvd->chapter = 1;
    dvd->result = com::E_FAIL;
    EXPECT_EQ(CurrentChapterIndex(), -1);
}

struct ParseCase {
    const char* name;
    const char* text;
    int title, chapter;
};

class ParseChapterTextCases : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseChapterTextCases, ReadsTheNumbersOrGivesZeros) {
    int title = -1, chapter = -1;
    ParseChapterText(GetParam().text, title, chapter);
    EXPECT_EQ(title, GetParam().title);
    EXPECT_EQ(chapter, GetParam().chapter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseChapterTextCases,
    ::testing::Values(ParseCase{"Entry", "Chapter12(3-12)", 3, 12}, ParseCase{"Dvd", "DVD", 0, 0},
                      ParseCase{"NoDash", "Chapter1(7)", 0, 0},
                      ParseCase{"PlayListRow", "4. Chapter1(2-1)", 2, 1},
                      // The stored list is the user's to edit: junk is the root menu, never an error.
                      ParseCase{"Letters", "Chapter1(a-b)", 0, 0},
                      ParseCase{"Negative", "Chapter1(-1-2)", 0, 0},
                      ParseCase{"Huge", "Chapter1(99999999999-1)", 0, 0}, ParseCase{"Empty", "", 0, 0},
                      ParseCase{"NoClosingParenthesis", "Chapter2(1-2", 1, 2}),
    testing_support::CaseName());

// --- Disc folders ---

class DiscFolders : public ::testing::Test {
protected:
    void SetUp() override {
        for (auto* list : {&State.IfoFolderList, &State.VobFolderList, &State.DvdFolderList})
            *list = std::make_unique<forms::TStringList>();
    }
    void Touch(const std::string& File) {
        fs::create_directories(fs::path(root.File(File)).parent_path());
        std::ofstream(root.File(File)) << "x";
    }
    testing_support::RunTree tree;
    TempDir root;
};

TEST_F(DiscFolders, FoldersWithBothKindsOfFileAreDiscFolders) {
    Touch("A/VIDEO_TS/VIDEO_TS.IFO");
    Touch("A/VIDEO_TS/VTS_01_1.VOB");
    Touch("B/one.VOB");
    Touch("B/two.vob");
    Touch("C/movie.ifo");
    Touch("C/movie.Vob");
    Touch("D/x.IFO.bak");
    Touch("D/y.VOB");
    FindDvdFolders(root.Path() + "/");
    const std::string r = root.Path() + "/";
    EXPECT_EQ(Lines(*State.DvdFolderList), (std::vector<std::string>{r + "A/VIDEO_TS/", r + "C/"}));
    EXPECT_EQ(Lines(*State.VobFolderList),
              (std::vector<std::string>{r + "A/VIDEO_TS/", r + "B/", r + "C/", r + "D/"}));
    EXPECT_EQ(Lines(*State.IfoFolderList), (std::vector<std::string>{r + "A/VIDEO_TS/", r + "C/"}));
}

// Two folders whose names differ in case are two folders, each found.
TEST_F(DiscFolders, FoldersDifferingInCaseAreTwo) {
    Touch("disc/VIDEO_TS.IFO");
    Touch("disc/VTS_01_1.VOB");
    Touch("DISC/VIDEO_TS.IFO");
    Touch("DISC/VTS_01_1.VOB");
    FindDvdFolders(root.Path() + "/");
    EXPECT_EQ(State.DvdFolderList->Count(), 2);
}

// Links are followed: a disc folder reached through a link, and a disc whose files are links to files
// elsewhere, are found at the paths the search reached them by; a link that names nothing counts for
// nothing, and a link loop ends with each folder searched once.
TEST_F(DiscFolders, LinksAreFollowedToTheirTargetsAndLoopsEnd) {
    Touch("store/real/VIDEO_TS.IFO");
    Touch("store/real/VTS_01_1.VOB");
    Touch("store/files/a.IFO");
    Touch("store/files/b.VOB");
    fs::create_directories(root.File("chosen/linked"));
    fs::create_directory_symlink(root.File("store/real"), root.File("chosen/disc"));
    fs::create_symlink(root.File("store/files/a.IFO"), root.File("chosen/linked/VIDEO_TS.IFO"));
    fs::create_symlink(root.File("store/files/b.VOB"), root.File("chosen/linked/VTS_01_1.VOB"));
    Touch("chosen/only/x.IFO");
    fs::create_symlink(root.File("store/gone.VOB"), root.File("chosen/only/x.VOB"));
    fs::create_directory_symlink(root.File("chosen"), root.File("chosen/linked/loop"));
    // The chosen folder itself may be a link.
    fs::create_directory_symlink(root.File("chosen"), root.File("shortcut"));
    FindDvdFolders(root.Path() + "/shortcut/");
    const std::string r = root.Path() + "/shortcut/";
    EXPECT_EQ(Lines(*State.DvdFolderList), (std::vector<std::string>{r + "disc/", r + "linked/"}));
    EXPECT_EQ(Lines(*State.IfoFolderList),
              (std::vector<std::string>{r + "disc/", r + "linked/", r + "only/"}));
}

// A tree deeper than any disc folder is kept in ends without running out of stack; a folder that does not
// exist adds nothing.
TEST_F(DiscFolders, DeepTreesAndMissingFoldersEnd) {
    std::string deep = "d";
    for (int i = 0; i < 300; ++i)
        deep += "/d";
    fs::create_directories(root.File(deep));
    Touch("top/VIDEO_TS.IFO");
    Touch("top/VTS_01_1.VOB");
    FindDvdFolders(root.Path() + "/");
    FindDvdFolders(root.Path() + "/missing/");
    EXPECT_EQ(Lines(*State.DvdFolderList), (std::vector<std::string>{root.Path() + "/top/"}));
}

// --- Drives, through a fake drive service ---

struct DrivesCase {
    const char* name;
    std::vector<win32::FakeDriveService::Drive> drives;
    std::vector<std::string> entries;
    bool result;
};

class ListCdDrivesCases : public ::testing::TestWithParam<DrivesCase> {
protected:
    void SetUp() override {
        drives.Drives = GetParam().drives;
        win32::SetDriveService(&drives);
    }
    void TearDown() override { win32::SetDriveService(nullptr); }
    win32::FakeDriveService drives;
};

TEST_P(ListCdDrivesCases, OneEntryPerDriveWithTheLabelOfItsDisc) {
    forms::TStringList list;
    list.Add("old");
    EXPECT_EQ(ListCdDrives(list), GetParam().result);
    EXPECT_EQ(Lines(list), GetParam().entries);
    for (const auto& drive : GetParam().drives) {
        EXPECT_EQ(IsDvdDriveReady(drive.Root), drive.HasDisc) << drive.Root;
        EXPECT_TRUE(IsDvdDrivePath(drive.Root));
        EXPECT_EQ(DvdDriveRootOf(drive.Root + " " + drive.Label), drive.Root);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ListCdDrivesCases,
    ::testing::Values(DrivesCase{"DiscAndEmptyDrive",
                                 {{"/dev/sr0", true, "MOVIE", ""}, {"/dev/sr1", false, "", ""}},
                                 {"/dev/sr0 MOVIE", "/dev/sr1"},
                                 true},
                      DrivesCase{"OnlyAnEmptyDrive", {{"/dev/sr1", false, "", ""}}, {"/dev/sr1"}, false},
                      DrivesCase{"NoDrive", {}, {}, false}),
    testing_support::CaseName());

TEST(DvdDrivePath, FoldersAndOtherTextsAreNoDrives) {
    win32::FakeDriveService drives;
    drives.Drives = {{"/dev/sr0", true, "MOVIE", ""}};
    win32::SetDriveService(&drives);
    EXPECT_FALSE(IsDvdDrivePath("/home/user/disc/VIDEO_TS/"));
    EXPECT_FALSE(IsDvdDriveReady("/dev/sr9"));
    EXPECT_EQ(DvdDriveRootOf("/dev/sr9 MOVIE"), "");
    EXPECT_EQ(DvdDriveRootOf(""), "");
    win32::SetDriveService(nullptr);
}

// A drive's disc is read through the drive: the fake drive's disc is the authored folder.
TEST_F(DvdOpen, TheDiscInADriveOpensThroughItsRoot) {
    win32::FakeDriveService drives;
    drives.Drives = {{"/dev/sr0", true, "MOVIE", DvdDisc()}};
    win32::SetDriveService(&drives);
    EXPECT_TRUE(OpenDvd("/dev/sr0"));
    EXPECT_EQ(State.DvdChapterList->Count(), 5);
    GraphStop();
    win32::SetDriveService(nullptr);
}

} // namespace
