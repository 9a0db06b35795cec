#include "core/History.h"

#include <filesystem>
#include <unordered_set>

#include <QAction>

#include <gtest/gtest.h>

#include "core/DialogLaunchers.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "platform/win32/MessageBox.h"
#include "tests/support/CaseName.h"
#include "tests/support/Packing.h"
#include "tests/support/QtApp.h"
#include "tests/support/RunTree.h"
#include "tests/support/TempDir.h"

namespace {

using forms::TMenuItem;
using forms::TStringList;
using testing_support::ReadFile;
using testing_support::WriteFile;
using V = std::vector<std::string>;

TStringList ListOf(const V& Lines) {
    TStringList list;
    for (const auto& line : Lines)
        list.Add(line);
    return list;
}

// --- AddUniqueLines. ---

struct UniqueCase {
    const char* name;
    V dst;
    V src;
    V merged;
    int added;
};
class AddUniqueLinesTest : public ::testing::TestWithParam<UniqueCase> {};

TEST_P(AddUniqueLinesTest, AppendsTheNewNonEmptyLinesInOrder) {
    const UniqueCase& c = GetParam();
    TStringList dst = ListOf(c.dst);
    EXPECT_EQ(AddUniqueLines(ListOf(c.src), dst), c.added);
    EXPECT_EQ(dst.Items(), c.merged);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddUniqueLinesTest,
    ::testing::Values(
        UniqueCase{"IntoEmpty", {}, {"/m/a.avi", "/m/b.avi"}, {"/m/a.avi", "/m/b.avi"}, 2},
        UniqueCase{"KnownOnesSkipped", {"/m/a.avi"}, {"/m/b.avi", "/m/a.avi"}, {"/m/a.avi", "/m/b.avi"}, 1},
        UniqueCase{"RepeatsInTheNewLines", {}, {"/m/a.avi", "/m/a.avi"}, {"/m/a.avi"}, 1},
        UniqueCase{"EmptyLinesNever", {"/m/a.avi"}, {"", "/m/b.avi", ""}, {"/m/a.avi", "/m/b.avi"}, 1},
        UniqueCase{"LinesLongerThanAPathNever",
                   {},
                   {"/" + std::string(4095, 'a'), "/m/b.avi", "/" + std::string(4094, 'c')},
                   {"/m/b.avi", "/" + std::string(4094, 'c')},
                   2},
        // The file system tells the two apart: two files, two entries.
        UniqueCase{"CaseCounts", {"/m/A.avi"}, {"/m/a.avi"}, {"/m/A.avi", "/m/a.avi"}, 1},
        UniqueCase{"FiveInTheirOrder",
                   {"/m/c.avi"},
                   {"/m/e.avi", "/m/d.avi", "/m/c.avi", "/m/b.avi", "/m/a.avi"},
                   {"/m/c.avi", "/m/e.avi", "/m/d.avi", "/m/b.avi", "/m/a.avi"},
                   4}),
    testing_support::CaseName());

TEST(AddUniqueLines, AListMergedIntoItselfIsUnchanged) {
    TStringList list = ListOf({"/m/a.avi", "/m/b.avi"});
    EXPECT_EQ(AddUniqueLines(list, list), 0);
    EXPECT_EQ(list.Items(), (V{"/m/a.avi", "/m/b.avi"}));
}

// --- Menu captions. ---

struct CaptionCase {
    const char* name;
    const char* text;
    const char* caption;
};
class MenuCaptionTest : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(MenuCaptionTest, ShowsTheTextAsItIsAndReadsBack) {
    EXPECT_EQ(MenuCaptionOf(GetParam().text), GetParam().caption);
    EXPECT_EQ(MenuCaptionText(GetParam().caption), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, MenuCaptionTest,
                         ::testing::Values(CaptionCase{"Plain", "a.avi", "a.avi"},
                                           CaptionCase{"Ampersand", "a&b.avi", "a&&b.avi"},
                                           CaptionCase{"TwoAmpersands", "&&", "&&&&"},
                                           CaptionCase{"Dash", "-", "&-"}, CaptionCase{"Empty", "", ""}),
                         testing_support::CaseName());

TEST(MenuCaptionText, AnAcceleratorMarkIsNotShown) {
    EXPECT_EQ(MenuCaptionText("&Open"), "Open");
    EXPECT_EQ(MenuCaptionText("Save &as"), "Save as");
    EXPECT_EQ(MenuCaptionText("end&"), "end");
}

// --- The stored file and the submenu. ---

class HistoryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        State.History = std::make_unique<TStringList>();
        win32::SetMessageBoxHandler([this](const win32::MessageBoxRequest& Box) {
            boxes.push_back(Box);
            return win32::IDOK;
        });
        // The history submenu as the main window builds it: three commands and a separator.
        for (const char* caption : {"管理历史记录...", "清空历史记录列表", "退出时清空历史记录列表", "-"}) {
            auto* item = new TMenuItem;
            item->SetCaption(caption);
            menu.Add(item);
        }
    }
    void TearDown() override {
        win32::SetMessageBoxHandler(nullptr);
        ManageHistoryForm = &CreateManageHistoryForm;
    }

    // The entry items: caption and path of each.
    std::vector<std::pair<std::string, std::string>> Entries() const {
        std::vector<std::pair<std::string, std::string>> entries;
        for (int i = 4; i < menu.Count(); ++i) {
            const std::string* path = HistoryItemPath(menu[i]);
            entries.emplace_back(menu[i]->Caption(), path != nullptr ? *path : "(none)");
        }
        return entries;
    }
    std::string File() const { return HistoryFileName(); }

    testing_support::RunTree tree;
    TMenuItem menu;
    std::vector<win32::MessageBoxRequest> boxes;
    std::vector<forms::TObject*> clicked;
    forms::TNotifyEvent onClick = [this](forms::TObject* Sender) { clicked.push_back(Sender); };
};

TEST_F(HistoryTest, TheFileIsInTheProjectFolder) {
    EXPECT_EQ(File(), State.ProjectPath + "/HistoryList");
}

TEST_F(HistoryTest, SavedAndLoadedTheListComesBackExactly) {
    const V entries = {"/m/a.avi", "/音乐/歌 手.mp3", "/m/with & and\ttab.ogg", "/m/caf\xe9.wav", "/m/A.avi"};
    SaveHistoryList(ListOf(entries));
    const std::string stored = ReadFile(File());
    EXPECT_EQ(stored.find("/m/a.avi"), std::string::npos) << "the file is never written in plain form";
    EXPECT_EQ(testing_support::UnpackedText(stored),
              "/m/a.avi\r\n/音乐/歌 手.mp3\r\n/m/with & and\ttab.ogg\r\n/m/caf\xe9.wav\r\n/m/A.avi\r\n");
    TStringList loaded = ListOf({"stale"});
    LoadHistoryList(loaded);
    EXPECT_EQ(loaded.Items(), entries);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(HistoryTest, AnEmptyListIsStoredAsTheCompressedEmptyText) {
    SaveHistoryList(ListOf({"/m/a.avi"}));
    SaveHistoryList(TStringList());
    const std::string stored = ReadFile(File());
    EXPECT_FALSE(stored.empty());
    EXPECT_EQ(testing_support::UnpackedText(stored), "");
    TStringList loaded = ListOf({"stale"});
    LoadHistoryList(loaded);
    EXPECT_TRUE(loaded.Empty());
}

TEST_F(HistoryTest, TheFirstStartCreatesAnEmptyFileAndAnEmptyHistory) {
    ASSERT_FALSE(std::filesystem::exists(File()));
    TStringList loaded = ListOf({"stale"});
    LoadHistoryList(loaded);
    EXPECT_TRUE(loaded.Empty());
    EXPECT_TRUE(std::filesystem::exists(File()));
    EXPECT_EQ(std::filesystem::file_size(File()), 0u);
    EXPECT_TRUE(boxes.empty());
}

struct DamagedCase {
    const char* name;
    std::function<void(const std::string& File)> damage;
};
class DamagedHistoryTest : public HistoryTest, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedHistoryTest, StartsEmptyKeepsTheFileAsideAndSaysSoOnce) {
    GetParam().damage(File());
    const std::string before = ReadFile(File());
    TStringList loaded = ListOf({"stale"});
    EXPECT_NO_THROW(LoadHistoryList(loaded));
    EXPECT_TRUE(loaded.Empty());
    EXPECT_FALSE(std::filesystem::exists(File()));
    ASSERT_TRUE(std::filesystem::exists(File() + ".bad"));
    EXPECT_EQ(ReadFile(File() + ".bad"), before);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, "Information");
    EXPECT_NE(boxes[0].Text.find("HistoryList.bad"), std::string::npos) << boxes[0].Text;
    // The next save makes a new history; the damaged one stays aside.
    SaveHistoryList(ListOf({"/m/a.avi"}));
    EXPECT_EQ(ReadFile(File() + ".bad"), before);
    LoadHistoryList(loaded);
    EXPECT_EQ(loaded.Items(), V{"/m/a.avi"});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedHistoryTest,
    ::testing::Values(DamagedCase{"PlainText", [](const std::string& F) { WriteFile(F, "/m/a.avi\r\n"); }},
                      DamagedCase{"CutShort",
                                  [](const std::string& F) {
                                      const std::string packed =
                                          testing_support::PackedText("/m/a.avi\r\n/m/b.avi\r\n");
                                      WriteFile(F, packed.substr(0, packed.size() / 2));
                                  }},
                      DamagedCase{"NotAFile",
                                  [](const std::string& F) { std::filesystem::create_directory(F); }}),
    testing_support::CaseName());

// A second damaged history does not replace the first one kept aside: each has its own name, and the message
// names the one it went to.
TEST_F(HistoryTest, EachDamagedHistoryIsKeptUnderItsOwnName) {
    for (const std::string& text : {std::string("first damaged"), std::string("second damaged")}) {
        WriteFile(File(), text);
        TStringList loaded;
        LoadHistoryList(loaded);
        EXPECT_TRUE(loaded.Empty());
        SaveHistoryList(ListOf({"/m/a.avi"}));
    }
    EXPECT_EQ(ReadFile(File() + ".bad"), "first damaged");
    EXPECT_EQ(ReadFile(File() + ".bad.2"), "second damaged");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[1].Text.find("\"" + File() + ".bad.2\""), std::string::npos) << boxes[1].Text;
}

struct BombCase {
    const char* name;
    std::function<std::string()> text; // what the file unpacks to
    bool damaged;
};
class UnpackedHistory : public HistoryTest, public ::testing::WithParamInterface<BombCase> {};

// Each entry is a path: a line longer than a path can be is damage, and so is a text that would take more
// memory than a history can hold (many short lines). Both are refused while unpacking, from a small file.
TEST_P(UnpackedHistory, IsReadAsDamagedWhenItCannotBeAHistory) {
    const BombCase& c = GetParam();
    const std::string text = c.text();
    const std::string packed = testing_support::PackedText(text);
    ASSERT_LT(packed.size(), 64u * 1024) << "a small file";
    WriteFile(File(), packed);
    TStringList loaded;
    LoadHistoryList(loaded);
    if (c.damaged) {
        EXPECT_TRUE(loaded.Empty());
        EXPECT_EQ(ReadFile(File() + ".bad"), packed);
        EXPECT_EQ(boxes.size(), 1u);
    } else {
        EXPECT_EQ(loaded.Text(), text);
        EXPECT_FALSE(std::filesystem::exists(File() + ".bad"));
        EXPECT_TRUE(boxes.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnpackedHistory,
    ::testing::Values(
        BombCase{"OneLongestPath", [] { return "/" + std::string(4094, 'a') + "\r\n/m/b.avi\r\n"; }, false},
        BombCase{"OneLineLongerThanAPath", [] { return "/m/a.avi\r\n/" + std::string(4095, 'a') + "\r\n"; },
                 true},
        BombCase{"TenMegabytesInOneLine", [] { return "/" + std::string(10 << 20, 'a'); }, true},
        BombCase{"LongLineEndedByCarriageReturnsOnly",
                 [] { return "/m/a.avi\r/" + std::string(8192, 'b') + "\r"; }, true},
        BombCase{"MoreShortLinesThanAHistoryHolds",
                 [] {
                     std::string text;
                     for (std::size_t i = 0; i < MaxHistoryBytes / 32; ++i)
                         text += "/a\n";
                     return text;
                 },
                 true}),
    testing_support::CaseName());

// The manager's list becomes the history, with what was opened meanwhile after it; lines the stored history
// could not read back (longer than a path) are left out, so that a broken "HistoryTemp" cannot make the
// next start find the history damaged.
TEST(MergeHistoryTemp, TakesTheManagersListThenWhatWasOpenedMeanwhile) {
    const std::string tooLong = "/" + std::string(4095, 'x');
    TStringList result = ListOf({"stale"});
    MergeHistoryTemp(ListOf({"/m/b.avi", tooLong, "", "/m/a.avi", "/m/b.avi"}),
                     ListOf({"/m/a.avi", "/m/c.avi"}),
                     ListOf({"/m/a.avi", "/m/c.avi", "/m/d.avi", "/m/b.avi", tooLong}), result);
    EXPECT_EQ(result.Items(), (V{"/m/b.avi", "", "/m/a.avi", "/m/b.avi", "/m/d.avi"}));
    TStringList unpacked;
    ASSERT_TRUE(UnpackHistory(testing_support::PackedText(result.Text()), unpacked));
    EXPECT_EQ(unpacked.Items(), result.Items());
}

TEST_F(HistoryTest, SavingReplacesTheFileWholeAndNeverWritesIntoIt) {
    SaveHistoryList(ListOf({"/m/old.avi"}));
    const std::string link = tree.Root() + "/link";
    std::filesystem::create_hard_link(File(), link);
    SaveHistoryList(ListOf({"/m/new.avi"}));
    EXPECT_EQ(testing_support::UnpackedText(ReadFile(link)), "/m/old.avi\r\n")
        << "the old file was written into";
    EXPECT_EQ(testing_support::UnpackedText(ReadFile(File())), "/m/new.avi\r\n");
}

TEST_F(HistoryTest, AFailedSaveRaisesTheFileErrorAndLeavesNoFile) {
    State.ProjectPath = tree.Root() + "/no such folder";
    EXPECT_THROW(SaveHistoryList(ListOf({"/m/a.avi"})), forms::EClassLibraryError);
    EXPECT_FALSE(std::filesystem::exists(File()));
}

TEST_F(HistoryTest, EntryItemsCarryTheirPathsAndShowTheirFileNames) {
    const TStringList history =
        ListOf({"/a/x.avi", "/b/x.avi", "/c/y.avi", "/d/A&B.avi", "/e/AB.avi", "/f/X.AVI", "/g/", "/h/-"});
    AddFileNameItems(history, &menu, nullptr, onClick);
    // One item per file name (names compare without regard to case), each with its own path.
    EXPECT_EQ(Entries(), (std::vector<std::pair<std::string, std::string>>{{"x.avi", "/a/x.avi"},
                                                                           {"y.avi", "/c/y.avi"},
                                                                           {"A&&B.avi", "/d/A&B.avi"},
                                                                           {"AB.avi", "/e/AB.avi"},
                                                                           {"&-", "/h/-"}}));
    EXPECT_EQ(menu[6]->Action()->iconText().toStdString(), "A&B.avi") << "the menu shows the name as it is";
    EXPECT_FALSE(menu[8]->Action()->isSeparator());
    menu[5]->Click();
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(*HistoryItemPath(clicked[0]), "/c/y.avi");
    EXPECT_EQ(HistoryItemPath(menu[0]), nullptr) << "a command is no entry";
    // Merging again adds only what has no item yet.
    AddFileNameItems(ListOf({"/c/y.avi", "/i/z.avi", "/j/a&b.avi"}), &menu, nullptr, onClick);
    EXPECT_EQ(menu.Count(), 10);
    EXPECT_EQ(*HistoryItemPath(menu[9]), "/i/z.avi");
}

TEST_F(HistoryTest, ClearingKeepsTheThreeCommandsAndTheSeparator) {
    *State.History = ListOf({"/m/a.avi", "/m/b.avi"});
    SaveHistoryList(*State.History);
    AddFileNameItems(*State.History, &menu, nullptr, onClick);
    ASSERT_EQ(menu.Count(), 6);
    ClearHistory(&menu);
    ASSERT_EQ(menu.Count(), 4);
    EXPECT_EQ(menu[0]->Caption(), "管理历史记录...");
    EXPECT_EQ(menu[1]->Caption(), "清空历史记录列表");
    EXPECT_EQ(menu[2]->Caption(), "退出时清空历史记录列表");
    EXPECT_TRUE(menu[3]->Action()->isSeparator());
    EXPECT_TRUE(State.History->Empty());
    EXPECT_EQ(testing_support::UnpackedText(ReadFile(File())), "");
}

TEST_F(HistoryTest, TrimMenuAfterFourTellsTheOldCountLessOne) {
    AddFileNameItems(ListOf({"/m/a.avi", "/m/b.avi", "/m/c.avi"}), &menu, nullptr, onClick);
    EXPECT_EQ(TrimMenuAfterFour(&menu), 6);
    EXPECT_EQ(menu.Count(), 4);
    EXPECT_EQ(TrimMenuAfterFour(&menu), 3);
}

// --- The history manager's result. ---

struct ManagerAnswer {
    int result = 0;
    bool writeTemp = false;
    std::string temp;
    V seen;
    std::string openedMeanwhile;
};
ManagerAnswer answer;

void AnswerManager(win32::HWND, const TStringList* History, std::int32_t* ResultCode, std::int32_t) {
    answer.seen = History->Items();
    // The old file is gone before the manager runs.
    EXPECT_FALSE(std::filesystem::exists(IncludeTrailingSlash(State.AppPath) + "HistoryTemp"));
    if (answer.writeTemp)
        WriteFile(IncludeTrailingSlash(State.AppPath) + "HistoryTemp", answer.temp);
    if (!answer.openedMeanwhile.empty())
        State.History->Add(answer.openedMeanwhile);
    *ResultCode = answer.result;
}

struct ManageCase {
    const char* name;
    ManagerAnswer answer;
    V history;
};
class ManageHistoryTest : public HistoryTest, public ::testing::WithParamInterface<ManageCase> {};

TEST_P(ManageHistoryTest, TakesTheManagersListOnlyWithResultOne) {
    const V before = {"/m/a.avi", "/m/b.avi", "/m/c.avi", "/m/d.avi"};
    *State.History = ListOf(before);
    SaveHistoryList(*State.History);
    AddFileNameItems(*State.History, &menu, nullptr, onClick);
    const std::string stored = ReadFile(File());
    // A file of an earlier run must not be taken for this answer.
    const std::string temp = IncludeTrailingSlash(State.AppPath) + "HistoryTemp";
    WriteFile(temp, "/m/stale.avi\r\n");
    answer = GetParam().answer;
    ManageHistoryForm = &AnswerManager;
    ManageHistory(&menu, nullptr, onClick);
    EXPECT_EQ(answer.seen, before);
    const V& expected = GetParam().history;
    EXPECT_EQ(State.History->Items(), expected);
    ASSERT_EQ(menu.Count(), 4 + static_cast<int>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(*HistoryItemPath(menu[4 + static_cast<int>(i)]), expected[i]);
    if (answer.result == 1) {
        EXPECT_EQ(testing_support::UnpackedText(ReadFile(File())), ListOf(expected).Text());
        EXPECT_EQ(std::filesystem::exists(temp), answer.writeTemp) << "the manager's file is left in place";
    } else {
        EXPECT_EQ(ReadFile(File()), stored);
    }
}

const V kFour = {"/m/a.avi", "/m/b.avi", "/m/c.avi", "/m/d.avi"};

INSTANTIATE_TEST_SUITE_P(
    Cases, ManageHistoryTest,
    ::testing::Values(
        ManageCase{"Cancel", {2, true, "/m/x.avi\r\n", {}, ""}, kFour},
        ManageCase{"ClosedOtherwise", {0, false, "", {}, ""}, kFour},
        ManageCase{"ThreeLines",
                   {1, true, "/m/c.avi\r\n/m/a.avi\r\n/m/d.avi\r\n", {}, ""},
                   {"/m/c.avi", "/m/a.avi", "/m/d.avi"}},
        ManageCase{"OkWithoutAFileIsAnEmptyHistory", {1, false, "", {}, ""}, {}},
        ManageCase{"OkOnAnEmptiedList", {1, true, "", {}, ""}, {}},
        // A play list going on to its next file while the manager is open: that file stays in the history.
        ManageCase{"OpenedMeanwhileIsKept",
                   {1, true, "/m/b.avi\r\n", {}, "/m/new.avi"},
                   {"/m/b.avi", "/m/new.avi"}}),
    testing_support::CaseName());

// --- Clear on exit. ---

TEST_F(HistoryTest, ClearOnExitFlipsTheCheckAndWritesAFullSettingsFile) {
    TMenuItem item;
    ASSERT_FALSE(std::filesystem::exists(State.IniFilePath));
    ToggleClearHistoryExit(&item);
    EXPECT_TRUE(item.Checked());
    EXPECT_EQ(State.ClearHistoryExit, 1);
    EXPECT_EQ(ReadIniInteger("File", "ClearHistoryExit"), 1);
    // The settings file was made from the defaults first, not as a file of one key.
    EXPECT_EQ(ReadIniInteger("Play", "SoundLevel"), 30);
    ToggleClearHistoryExit(&item);
    EXPECT_FALSE(item.Checked());
    EXPECT_EQ(State.ClearHistoryExit, 0);
    EXPECT_EQ(ReadIniInteger("File", "ClearHistoryExit"), 0);
}

// --- Helpers for other menus. ---

TEST_F(HistoryTest, MenuHelpersFillUncheckAndFree) {
    TMenuItem parent;
    parent.Add(new TMenuItem);
    FillMenuFromList(ListOf({"/dev/sr0 DISC", "/dev/sr1"}), nullptr, &parent, onClick);
    ASSERT_EQ(parent.Count(), 2);
    EXPECT_EQ(parent[0]->Caption(), "/dev/sr0 DISC");
    EXPECT_EQ(parent[1]->Caption(), "/dev/sr1");
    parent[1]->Click();
    EXPECT_EQ(clicked, std::vector<forms::TObject*>{parent[1]});
    for (int i = 0; i < parent.Count(); ++i)
        parent[i]->SetChecked(true);
    UncheckSubItems(&parent);
    EXPECT_FALSE(parent[0]->Checked());
    EXPECT_FALSE(parent[1]->Checked());
    UncheckSubItems(nullptr);
    TMenuItem other;
    other.Add(new TMenuItem);
    ClearMenus({&parent, &other});
    EXPECT_EQ(parent.Count(), 0);
    EXPECT_EQ(other.Count(), 0);
    FillMenuFromList(ListOf({"a"}), nullptr, &parent, onClick);
    FreeSubItems(&parent);
    EXPECT_EQ(parent.Count(), 0);
    FreeSubItems(nullptr);
}

} // namespace
