#include "dialoglib/ManageHistoryForm_Logic.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/forms/StringList.h"
#include "tests/support/TempDir.h"

using testing_support::ReadFile;
using testing_support::TempDir;
using Buttons = THistoryEditor::TButtons;

namespace {

// An editor as the dialog shows it: the rows added unchecked, then the show handler.
THistoryEditor Shown(std::initializer_list<const char*> Rows) {
    THistoryEditor editor;
    for (const char* row : Rows)
        editor.AddRow(row);
    editor.FormShow();
    return editor;
}

std::vector<std::string> Texts(const THistoryEditor& Editor) {
    std::vector<std::string> texts;
    for (const auto& row : Editor.Rows())
        texts.push_back(row.Text);
    return texts;
}

// What the user does: select a row (a click on it), or click its check box (which selects it too).
void ClickRow(THistoryEditor& Editor, int Row) {
    Editor.Select(Row);
    Editor.ListClick();
}
void ClickCheck(THistoryEditor& Editor, int Row) {
    Editor.SetChecked(Row, !Editor.Rows()[static_cast<std::size_t>(Row)].Checked);
    ClickRow(Editor, Row);
}

TEST(HistoryTexts, ByLanguage) {
    EXPECT_EQ(HistoryTexts(1).Caption, "Manage history");
    EXPECT_EQ(HistoryTexts(1).SelectReverse, "Select reverse");
    EXPECT_EQ(HistoryTexts(1).MoveDown, "Move down");
    EXPECT_EQ(HistoryTexts(2).Caption, "管理历史记录");
    EXPECT_EQ(HistoryTexts(2).SelectNone, "全不选");
    EXPECT_EQ(HistoryTexts(2).Cancel, "放弃");
    const THistoryTexts none = HistoryTexts(3);
    EXPECT_EQ(none.Caption + none.Clear + none.MoveUp + none.MoveDown + none.Delete + none.SelectAll +
                  none.SelectNone + none.SelectReverse + none.OK + none.Cancel,
              "");
}

TEST(HistoryEditor, ShownWithOnlyClearEnabledAndNothingEnablesOkOnAnEmptyList) {
    EXPECT_EQ(Shown({"/a", "/b"}).Buttons(), (Buttons{.Clear = true}));
    THistoryEditor empty = Shown({});
    EXPECT_EQ(empty.Buttons(), Buttons{});
    empty.SelectAll();
    empty.SelectReverse();
    empty.ListClick();
    EXPECT_EQ(empty.Buttons(), Buttons{});
    EXPECT_EQ(empty.ResultCode(), 0);
}

TEST(HistoryEditor, ClickingARowEnablesTheMovesItAllows) {
    THistoryEditor editor = Shown({"/a", "/b", "/c"});
    ClickRow(editor, 0);
    EXPECT_EQ(editor.Buttons(), (Buttons{.Clear = true, .MoveUp = false, .MoveDown = true, .Delete = true}));
    ClickRow(editor, 1);
    EXPECT_EQ(editor.Buttons(), (Buttons{.Clear = true, .MoveUp = true, .MoveDown = true, .Delete = true}));
    ClickRow(editor, 2);
    EXPECT_EQ(editor.Buttons(), (Buttons{.Clear = true, .MoveUp = true, .MoveDown = false, .Delete = true}));
}

TEST(HistoryEditor, TwoCheckedRowsDisableTheMovesUntilFewerAreCheckedAndARowIsClicked) {
    THistoryEditor editor = Shown({"/a", "/b", "/c"});
    ClickCheck(editor, 1);
    ClickCheck(editor, 2);
    EXPECT_EQ(editor.Buttons(), (Buttons{.Clear = true, .MoveUp = false, .MoveDown = false, .Delete = true}));
    editor.SetChecked(2, false); // unchecked by the keyboard: no click yet
    EXPECT_FALSE(editor.Buttons().MoveUp);
    ClickRow(editor, 1);
    EXPECT_EQ(editor.Buttons(), (Buttons{.Clear = true, .MoveUp = true, .MoveDown = true, .Delete = true}));
}

TEST(HistoryEditor, MoveUpOnTheSecondRowMovesItToTheTopWithItsCheckMark) {
    THistoryEditor editor = Shown({"/a", "/b", "/c"});
    ClickCheck(editor, 1);
    editor.MoveUp();
    EXPECT_EQ(Texts(editor), (std::vector<std::string>{"/b", "/a", "/c"}));
    EXPECT_TRUE(editor.Rows()[0].Checked);
    EXPECT_FALSE(editor.Rows()[1].Checked);
    EXPECT_EQ(editor.Selected(), 0);
    EXPECT_EQ(editor.Buttons(),
              (Buttons{.Clear = true, .MoveUp = false, .MoveDown = true, .Delete = true, .OK = true}));
    editor.MoveUp(); // row 0: nothing
    EXPECT_EQ(Texts(editor), (std::vector<std::string>{"/b", "/a", "/c"}));

    // The moved mark, not the place, decides what Delete removes.
    editor.DeleteChecked();
    EXPECT_EQ(Texts(editor), (std::vector<std::string>{"/a", "/c"}));
}

TEST(HistoryEditor, MoveDownToTheLastRowDisablesMoveDown) {
    THistoryEditor editor = Shown({"/a", "/b", "/c", "/d"});
    ClickRow(editor, 1);
    editor.MoveDown();
    EXPECT_EQ(Texts(editor), (std::vector<std::string>{"/a", "/c", "/b", "/d"}));
    EXPECT_EQ(editor.Selected(), 2);
    EXPECT_TRUE(editor.Buttons().MoveUp && editor.Buttons().MoveDown && editor.Buttons().OK);
    editor.MoveDown();
    EXPECT_EQ(Texts(editor), (std::vector<std::string>{"/a", "/c", "/d", "/b"}));
    EXPECT_EQ(editor.Selected(), 3);
    EXPECT_TRUE(editor.Buttons().MoveUp);
    EXPECT_FALSE(editor.Buttons().MoveDown);
    editor.MoveDown(); // the last row: nothing
    EXPECT_EQ(Texts(editor), (std::vector<std::string>{"/a", "/c", "/d", "/b"}));
}

TEST(HistoryEditor, MovesWithoutASelectionDoNothing) {
    THistoryEditor editor = Shown({"/a", "/b"});
    editor.MoveUp();
    editor.MoveDown();
    EXPECT_EQ(Texts(editor), (std::vector<std::string>{"/a", "/b"}));
    EXPECT_FALSE(editor.Buttons().OK);
}

TEST(HistoryEditor, DeleteRemovesTheCheckedRowsWhateverIsSelected) {
    THistoryEditor editor = Shown({"/a", "/b", "/c", "/d"});
    ClickCheck(editor, 0);
    ClickCheck(editor, 2);
    ClickRow(editor, 3);
    editor.DeleteChecked();
    EXPECT_EQ(Texts(editor), (std::vector<std::string>{"/b", "/d"}));
    EXPECT_EQ(editor.Selected(), 1) << "the selected row moved up with the rows above it";
    EXPECT_TRUE(editor.Buttons().OK);
    EXPECT_TRUE(editor.Buttons().Clear);

    ClickCheck(editor, 1);
    editor.DeleteChecked();
    EXPECT_EQ(Texts(editor), (std::vector<std::string>{"/b"}));
    EXPECT_EQ(editor.Selected(), -1) << "the selected row itself was deleted";
}

TEST(HistoryEditor, DeleteWithNothingCheckedRemovesNothingButEnablesOk) {
    THistoryEditor editor = Shown({"/a", "/b"});
    editor.DeleteChecked();
    EXPECT_EQ(Texts(editor), (std::vector<std::string>{"/a", "/b"}));
    EXPECT_TRUE(editor.Buttons().OK);
}

TEST(HistoryEditor, DeletingEveryRowLeavesOnlyOk) {
    THistoryEditor editor = Shown({"/a", "/b"});
    editor.SelectAll();
    ClickRow(editor, 0);
    editor.DeleteChecked();
    EXPECT_TRUE(editor.Rows().empty());
    EXPECT_EQ(editor.Buttons(), (Buttons{.OK = true}));
}

TEST(HistoryEditor, ClearRemovesAllAndEnablesOnlyOk) {
    THistoryEditor editor = Shown({"/a", "/b"});
    ClickRow(editor, 1);
    editor.ClearRows();
    EXPECT_TRUE(editor.Rows().empty());
    EXPECT_EQ(editor.Selected(), -1);
    EXPECT_EQ(editor.Buttons(), (Buttons{.OK = true}));
}

TEST(HistoryEditor, SelectionButtonsChangeMarksButNotButtons) {
    THistoryEditor editor = Shown({"/a", "/b", "/c"});
    ClickCheck(editor, 1);
    const Buttons before = editor.Buttons();
    editor.SelectReverse();
    EXPECT_EQ(editor.Rows()[0].Checked + editor.Rows()[1].Checked * 2 + editor.Rows()[2].Checked * 4, 5);
    editor.SelectAll();
    EXPECT_TRUE(editor.Rows()[0].Checked && editor.Rows()[1].Checked && editor.Rows()[2].Checked);
    editor.SelectNone();
    EXPECT_FALSE(editor.Rows()[0].Checked || editor.Rows()[1].Checked || editor.Rows()[2].Checked);
    EXPECT_EQ(editor.Buttons(), before);
}

TEST(HistoryEditor, SaveWritesEveryRowWithCrLfAndThenAccepts) {
    TempDir dir;
    THistoryEditor editor = Shown({"/media/one.avi", "/media/два.mp3", "/media/three.ogg"});
    editor.SaveAndAccept(HistoryTempPath(dir.Path()));
    EXPECT_EQ(ReadFile(dir.File("HistoryTemp")), "/media/one.avi\r\n/media/два.mp3\r\n/media/three.ogg\r\n");
    EXPECT_EQ(editor.ResultCode(), 1);

    forms::TStringList back;
    back.LoadFromFile(dir.File("HistoryTemp"));
    EXPECT_EQ(back.Items(), Texts(editor));
}

// Read back line by line, an entry holding a line break would become two entries that name no file.
TEST(HistoryEditor, SaveLeavesOutEntriesThatHoldALineBreak) {
    TempDir dir;
    THistoryEditor editor = Shown({"/media/one.avi", "/media/two\nparts.avi", "/media/cr\r.avi",
                                   "/media/crlf\r\n.avi", "/media/\n", "/media/three.ogg"});
    editor.SaveAndAccept(HistoryTempPath(dir.Path()));
    EXPECT_EQ(ReadFile(dir.File("HistoryTemp")), "/media/one.avi\r\n/media/three.ogg\r\n");
    EXPECT_EQ(editor.ResultCode(), 1);
}

TEST(HistoryEditor, ClearedListSavesAnEmptyFileOverTheOldOne) {
    TempDir dir;
    testing_support::WriteFile(dir.File("HistoryTemp"), "/old\r\n");
    THistoryEditor editor = Shown({"/a"});
    editor.ClearRows();
    editor.SaveAndAccept(HistoryTempPath(dir.Path() + "/"));
    EXPECT_TRUE(std::filesystem::exists(dir.File("HistoryTemp")));
    EXPECT_EQ(ReadFile(dir.File("HistoryTemp")), "");
    EXPECT_EQ(editor.ResultCode(), 1);
}

TEST(HistoryEditor, AFailedSaveRaisesAndKeepsTheResult) {
    TempDir dir;
    THistoryEditor editor = Shown({"/a"});
    EXPECT_THROW(editor.SaveAndAccept(HistoryTempPath(dir.File("missing-folder"))),
                 forms::EClassLibraryError);
    EXPECT_EQ(editor.ResultCode(), 0);
    editor.Cancel();
    EXPECT_EQ(editor.ResultCode(), 2);
}

} // namespace
