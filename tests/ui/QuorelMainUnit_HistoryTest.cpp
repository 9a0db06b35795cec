// The history submenu of the main window: the show step's load, the merge of opened files, the entry items,
// the three commands and the clear on exit.

#include <filesystem>

#include <gtest/gtest.h>

#include "core/DialogLaunchers.h"
#include "core/History.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "tests/support/Packing.h"
#include "tests/ui/MainFormFixture.h"

namespace {

using namespace ui_testing;
using V = std::vector<std::string>;

class HistoryMenuTest : public MainFormTest {
protected:
    void TearDown() override {
        ManageHistoryForm = &CreateManageHistoryForm;
        MainFormTest::TearDown();
    }
    // The history as stored by an earlier run.
    void StoreHistory(const V& Entries) {
        TStringList list;
        for (const auto& entry : Entries)
            list.Add(entry);
        SaveHistoryList(list);
    }
    V StoredHistory() const {
        TStringList list;
        list.SetText(testing_support::UnpackedText(ReadFile(HistoryFileName())));
        return list.Items();
    }
    // The entry items' paths, in the submenu's order.
    V ItemPaths() const {
        V paths;
        for (int i = 4; i < form->pHistory->Count(); ++i)
            paths.push_back(HistoryItemPath(form->pHistory->Items(i))
                                ? *HistoryItemPath(form->pHistory->Items(i))
                                : "(none)");
        return paths;
    }
    TMenuItem* ItemFor(const std::string& Path) const {
        for (int i = 4; i < form->pHistory->Count(); ++i)
            if (const std::string* path = HistoryItemPath(form->pHistory->Items(i)); path && *path == Path)
                return form->pHistory->Items(i);
        return nullptr;
    }
};

TEST_F(HistoryMenuTest, TheShowStepListsTheStoredHistory) {
    const std::string a = Tone("a.wav"), b = Tone("b.wav");
    StoreHistory({a, b, "/gone/c.mp4"});
    Run();
    EXPECT_EQ(State.History->Items(), (V{a, b, "/gone/c.mp4"}));
    EXPECT_EQ(ItemPaths(), (V{a, b, "/gone/c.mp4"}));
    EXPECT_EQ(form->pHistory->Items(4)->Caption(), "a.wav");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(HistoryMenuTest, ADamagedHistoryStartsEmptyAndTheShowStepGoesOn) {
    const std::string song = Tone("song.wav");
    WriteFile(HistoryFileName(), "not a compressed history");
    Run({song});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].Text.find("HistoryList.bad"), std::string::npos) << boxes[0].Text;
    EXPECT_EQ(ReadFile(HistoryFileName() + ".bad"), "not a compressed history");
    // The command-line file was opened after the load, and became the history.
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_EQ(State.CurrentMediaFile, song);
    EXPECT_EQ(State.History->Items(), V{song});
    EXPECT_EQ(StoredHistory(), V{song});
    EXPECT_TRUE(errors.empty());
}

TEST_F(HistoryMenuTest, OpeningMergesEveryFileOnceAndRewritesTheFile) {
    const std::string a = Tone("a.wav"), b = Tone("b.wav");
    Run();
    chosenFiles = {a, b};
    form->OpenFileDialog();
    EXPECT_EQ(StoredHistory(), (V{a, b}));
    std::filesystem::remove(HistoryFileName());
    chosenFiles = {b};
    form->OpenFileDialog();
    EXPECT_EQ(State.History->Items(), (V{a, b}));
    EXPECT_EQ(ItemPaths(), (V{a, b}));
    EXPECT_EQ(StoredHistory(), (V{a, b})) << "rewritten even though nothing was added";
}

TEST_F(HistoryMenuTest, AnEntryItemPlaysItsOwnFile) {
    // Two files of one name: the second has no item of its own, and the items after it must not shift.
    std::filesystem::create_directories(tree.Root() + "/A");
    std::filesystem::create_directories(tree.Root() + "/B");
    const std::string first = Tone("A/x.wav"), second = Tone("B/x.wav"), other = Tone("y.wav", 3.0);
    StoreHistory({first, second, other});
    Run();
    ASSERT_EQ(ItemPaths(), (V{first, other}));
    State.PlayRate = 2.0;
    ItemFor(other)->Click();
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_EQ(State.CurrentMediaFile, other);
    EXPECT_EQ(State.PlayListFiles->Items(), V{other});
    EXPECT_EQ(State.PlayListPositions->Items(), V{"0"});
    EXPECT_EQ(State.PlayListIndex, 0);
    EXPECT_DOUBLE_EQ(State.PlayRate, 1.0);
    EXPECT_EQ(State.History->Items(), (V{first, second, other})) << "the entry keeps its place";
    EXPECT_EQ(form->Status_L->Caption(), "播放中");
}

TEST_F(HistoryMenuTest, AnEntryWhoseFileHasGoneDoesNothing) {
    const std::string a = Tone("a.wav"), gone = Tone("gone.wav");
    StoreHistory({a, gone});
    Run();
    chosenFiles = {a};
    form->OpenFileDialog();
    ASSERT_TRUE(State.IsPlaying);
    std::filesystem::remove(gone);
    ItemFor(gone)->Click();
    EXPECT_EQ(State.CurrentMediaFile, a);
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(State.History->Items(), (V{a, gone}));
}

TEST_F(HistoryMenuTest, TheClearCommandLeavesTheThreeCommands) {
    StoreHistory({Tone("a.wav"), Tone("b.wav")});
    Run();
    ASSERT_EQ(form->pHistory->Count(), 6);
    form->pClearHistory->Click();
    EXPECT_EQ(form->pHistory->Count(), 4);
    EXPECT_TRUE(State.History->Empty());
    EXPECT_EQ(StoredHistory(), V{});
}

TEST_F(HistoryMenuTest, ClearOnExitEmptiesTheStoredHistoryAtTheClose) {
    const std::string a = Tone("a.wav");
    StoreHistory({a});
    Run();
    EXPECT_FALSE(form->pClearHistoryExit->Checked());
    form->pClearHistoryExit->Click();
    EXPECT_TRUE(form->pClearHistoryExit->Checked());
    EXPECT_EQ(ReadIniInteger("File", "ClearHistoryExit"), 1);
    CloseForm();
    EXPECT_EQ(StoredHistory(), V{});
    // The next start shows no entries and the check mark as stored.
    form.reset();
    Run();
    EXPECT_EQ(form->pHistory->Count(), 4);
    EXPECT_TRUE(form->pClearHistoryExit->Checked());
}

std::string managerAnswer;

void AnswerWithTwoEntries(win32::HWND, const forms::TStringList*, std::int32_t* ResultCode, std::int32_t) {
    WriteFile(IncludeTrailingSlash(State.AppPath) + "HistoryTemp", managerAnswer);
    *ResultCode = 1;
}

TEST_F(HistoryMenuTest, TheManageCommandTakesTheManagersList) {
    const std::string a = Tone("a.wav"), b = Tone("b.wav"), c = Tone("c.wav");
    StoreHistory({a, b, c});
    Run();
    managerAnswer = c + "\r\n" + a + "\r\n";
    ManageHistoryForm = &AnswerWithTwoEntries;
    form->pManageHistory->Click();
    EXPECT_EQ(State.History->Items(), (V{c, a}));
    EXPECT_EQ(ItemPaths(), (V{c, a}));
    EXPECT_EQ(StoredHistory(), (V{c, a}));
    ItemFor(a)->Click();
    EXPECT_EQ(State.CurrentMediaFile, a);
}

} // namespace
