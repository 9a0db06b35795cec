// The play-list window with the main window behind it: placement, rows and marks, its five buttons with the
// main window's side of each (the shared lists, PlayListIndex, playback), play-list files, and the messages
// between the two windows.

#include <filesystem>

#include <QTest>

#include <gtest/gtest.h>

#include "core/PlaybackState.h"
#include "core/WindowMessages.h"
#include "platform/win32/Window.h"
#include "tests/support/CaseName.h"
#include "tests/ui/MainFormFixture.h"
#include "ui/ListForm.h"

namespace {

using namespace ui_testing;
using V = std::vector<std::string>;

class ListFormTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        forms::SetFileDialogHandler([this](TOpenDialog& Dialog) {
            dialogs.push_back({Dialog.Filter, Dialog.Options});
            seenDialogs.push_back(&Dialog);
            if (!answerDialog)
                return false;
            return answerDialog(Dialog);
        });
    }
    // The main window with a play list of Files (nothing opened), then the list window shown and activated.
    TList_Form& ListWindow(const V& Files, int Index = 0, int PlayType = PlayTypes::MediaFile) {
        if (!form)
            Run();
        State.PlayType = PlayType;
        State.PlayListFiles->Clear();
        State.PlayListPositions->Clear();
        for (const auto& file : Files) {
            State.PlayListFiles->Add(file);
            State.PlayListPositions->Add("0");
        }
        State.PlayListIndex = Index;
        form->PL_LClick(form->PL_L);
        EXPECT_NE(PlayListForm, nullptr);
        PlayListForm->FormActivate(PlayListForm);
        return *PlayListForm;
    }
    // Every row's label as kept; the controls of the rows in view show the same.
    static V Labels(const TList_Form& Window) {
        V labels;
        for (int i = 0; i < Window.RowTotal(); ++i) {
            labels.push_back(Window.RowData(i).Label);
            if (const TLabel* shown = TList_Form::RowLabel(Window.RowAt(i))) {
                EXPECT_EQ(shown->Caption(), labels.back()) << "row " << i;
            }
        }
        return labels;
    }
    static TLabel* LabelOf(const TList_Form& Window, int Index) {
        return TList_Form::RowLabel(Window.RowAt(Index));
    }
    static void Select(TList_Form& Window, int Index) {
        QTest::mouseClick(LabelOf(Window, Index), Qt::LeftButton);
    }
    // The release of the left button pressed on a tool button, as the user clicks it.
    static void Press(tximage* Button) {
        QTest::mousePress(Button, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(Button, Qt::LeftButton, {}, QPoint(5, 5));
    }
    // Opens Files through the open dialog, as the user does; the first plays.
    void OpenAndPlay(const V& Files) {
        if (!form)
            Run();
        answerDialog = [&](TOpenDialog& D) {
            D.Files.Clear();
            for (const auto& f : Files)
                D.Files.Add(f);
            D.FileName = Files.front();
            return true;
        };
        form->OpenFileDialog();
        answerDialog = nullptr;
        seenDialogs.clear();
        dialogs.clear();
    }
    std::vector<TOpenDialog*> seenDialogs;
    std::function<bool(TOpenDialog&)> answerDialog;
};

// --- Placement. ---

struct PlacementCase {
    const char* name;
    int left, top, height; // of the main window (-1: the screen's height)
    QRect expected;        // of the list window
};

class Placement : public ListFormTest, public ::testing::WithParamInterface<PlacementCase> {};

// Against the main window's left side when there is room; otherwise at (10, 120), 200 x 430. Shown again, it
// goes back where it was made, wherever the user moved it.
TEST_P(Placement, BesideTheMainWindowOrAtTheFixedPlace) {
    Run();
    const PlacementCase& c = GetParam();
    form->SetBounds(c.left, c.top, form->Width(), c.height < 0 ? Screen().Height() : c.height);
    ListWindow({});
    EXPECT_EQ(PlayListForm->geometry(), c.expected);
    EXPECT_TRUE(State.PlayListVisible);
    EXPECT_EQ(State.PlayListWindowHandle, PlayListForm->Handle());
    EXPECT_TRUE(PlayListForm->isVisible());
    PlayListForm->Close_xi->Click();
    EXPECT_FALSE(PlayListForm->isVisible());
    EXPECT_FALSE(State.PlayListVisible);
    PlayListForm->SetBounds(400, 300, 250, 250);
    TList_Form* first = PlayListForm;
    form->PL_LClick(form->PL_L);
    EXPECT_EQ(PlayListForm, first) << "the same window, shown again";
    EXPECT_TRUE(PlayListForm->isVisible());
    EXPECT_TRUE(State.PlayListVisible);
    EXPECT_EQ(PlayListForm->geometry(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Placement,
    ::testing::Values(PlacementCase{"Beside", 300, 50, 442, {100, 50, 200, 442}},
                      PlacementCase{"NoRoomOnTheLeft", 200, 50, 442, {10, 120, 200, 430}},
                      PlacementCase{"AsTallAsTheScreen", 400, 0, -1, {10, 120, 200, 430}}),
    testing_support::CaseName());

// A close request frees the window; its handle and flag are cleared, so nothing is sent to it, and the next
// click makes a new one.
TEST_F(ListFormTest, AClosedWindowIsFreedAndForgotten) {
    ListWindow({"/m/a.mp4"});
    const win32::HWND handle = State.PlayListWindowHandle;
    PlayListForm->Close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(PlayListForm, nullptr);
    EXPECT_EQ(State.PlayListWindowHandle, nullptr);
    EXPECT_FALSE(State.PlayListVisible);
    EXPECT_FALSE(win32::IsWindow(handle));
    form->PL_LClick(form->PL_L);
    ASSERT_NE(PlayListForm, nullptr);
    EXPECT_NE(State.PlayListWindowHandle, nullptr);
}

// --- Rows and marks. ---

TEST_F(ListFormTest, TheFirstActivationShowsOneRowPerEntryWithTheCurrentOneMarked) {
    TList_Form& window = ListWindow({"/m/a.mp4", "/m/b.mp3", "/m/c.avi"}, 1);
    EXPECT_EQ(Labels(window), (V{"1. a.mp4", "2. b.mp3", "3. c.avi"}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(window.RowAt(i)->Top(), 10 + 24 * i);
        EXPECT_EQ(window.RowAt(i)->Left(), 8);
        EXPECT_EQ(window.RowAt(i)->Caption(), std::to_string(i));
        EXPECT_EQ(LabelOf(window, i)->Hint(), (*State.PlayListFiles)[i]);
    }
    EXPECT_EQ(LabelOf(window, 1)->Font().Color(), clWhite);
    EXPECT_EQ(LabelOf(window, 0)->Font().Color(), static_cast<TColor>(State.LightGreyColor));
    EXPECT_TRUE(Shows(TList_Form::RowIcon(window.RowAt(1)), "Play_Audio_Play.bmp"));
    EXPECT_TRUE(Shows(TList_Form::RowIcon(window.RowAt(0)), "Play_Media_s.bmp"));
    // Later activations change nothing.
    State.PlayListFiles->Add("/m/d.mp4");
    window.FormActivate(&window);
    EXPECT_EQ(window.RowTotal(), 3);
}

// In DVD mode the first row is " DVD" with the disc icon at left 8; the chapters are numbered from 1 at left
// 24.
TEST_F(ListFormTest, DvdRowsShowTheDiscAndItsChapters) {
    Run();
    State.DvdChapterList->Add("DVD");
    State.DvdChapterList->Add("Chapter1(1-1)");
    State.DvdChapterList->Add("Chapter2(1-2)");
    State.DvdChapterIndex = 2;
    TList_Form& window = ListWindow({}, 0, PlayTypes::Dvd);
    EXPECT_EQ(Labels(window), (V{" DVD", "1. Chapter1(1-1)", "2. Chapter2(1-2)"}));
    EXPECT_EQ(window.RowAt(0)->Left(), 8);
    EXPECT_EQ(window.RowAt(1)->Left(), 24);
    EXPECT_TRUE(Shows(TList_Form::RowIcon(window.RowAt(0)), "Dvd.bmp"));
    EXPECT_TRUE(Shows(TList_Form::RowIcon(window.RowAt(1)), "Play_Dvd.bmp"));
    EXPECT_TRUE(Shows(TList_Form::RowIcon(window.RowAt(2)), "Play_Dvd_Play.bmp"));
}

// A click selects the row (the mark follows the clicks); a double click marks it current and asks the main
// window to play it, which it does.
TEST_F(ListFormTest, DoubleClickPlaysTheRowsEntry) {
    const V files = {Clip("a.mp4"), Clip("b.mp4"), Clip("c.mp4")};
    TList_Form& window = ListWindow(files);
    Select(window, 0);
    Select(window, 2);
    EXPECT_EQ(State.SelectedPlayListRow, 2);
    EXPECT_EQ(window.RowAt(2)->Color(), static_cast<TColor>(State.DarkGreyColor));
    EXPECT_EQ(window.RowAt(0)->Color(), clBlack);
    window.PlayRowDblClick(LabelOf(window, 2));
    EXPECT_EQ(LabelOf(window, 2)->Font().Color(), cl3DLight);
    EXPECT_EQ(LabelOf(window, 0)->Font().Color(), static_cast<TColor>(State.LightGreyColor));
    EXPECT_FALSE(State.IsPlaying) << "posted: the main window plays it after the handler";
    QCoreApplication::processEvents();
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_EQ(State.CurrentMediaFile, files[2]);
    EXPECT_EQ(State.PlayListIndex, 2);
}

// Two double clicks on DVD rows before the main window gets to either: each message carries its own row.
TEST_F(ListFormTest, EachDvdDoubleClickCarriesItsOwnRow) {
    Run();
    for (const char* line : {"DVD", "Chapter1(1-1)", "Chapter2(1-2)"})
        State.DvdChapterList->Add(line);
    TList_Form& window = ListWindow({}, 0, PlayTypes::Dvd);
    ListTextParcels.Clear();
    window.PlayRowDblClick(LabelOf(window, 1));
    window.PlayRowDblClick(LabelOf(window, 2));
    EXPECT_EQ(State.SelectedListText, "2. Chapter2(1-2)");
    ASSERT_EQ(ListTextParcels.Count(), 2u);
    EXPECT_TRUE(ListTextParcels.Any([](const std::string& T) { return T == "1. Chapter1(1-1)"; }));
    EXPECT_TRUE(ListTextParcels.Any([](const std::string& T) { return T == "2. Chapter2(1-2)"; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(ListTextParcels.Count(), 0u) << "each handler took its own";
    // No disc opened: both went to the open-then-play route, which reports the failed open.
    EXPECT_EQ(boxes.size(), 2u);
}

// --- Add. ---

TEST_F(ListFormTest, AddAppendsNewFilesOnlyNumberedOn) {
    TList_Form& window = ListWindow({"/m/a.mp4", "/m/b.mp4"}, 1);
    answerDialog = [](TOpenDialog& D) {
        D.Files.Clear();
        for (const char* f : {"/M/A.MP4", "/m/c.wav", "/m/d.avi"})
            D.Files.Add(f);
        D.FileName = D.Files[0];
        return true;
    };
    window.AddFiles();
    EXPECT_EQ(dialogs.back().Options, forms::ofAllowMultiSelect);
    EXPECT_EQ(State.PlayListFiles->Items(), (V{"/m/a.mp4", "/m/b.mp4", "/m/c.wav", "/m/d.avi"}));
    EXPECT_EQ(State.PlayListPositions->Items(), (V{"0", "0", "0", "0"}));
    EXPECT_EQ(Labels(window), (V{"1. a.mp4", "2. b.mp4", "3. c.wav", "4. d.avi"}));
    EXPECT_EQ(State.PlayListIndex, 1) << "the current entry stays";
}

class AddRefused : public ListFormTest, public ::testing::WithParamInterface<int> {};

TEST_P(AddRefused, ForAnythingButMediaAndAudioShowsNoDialog) {
    TList_Form& window = ListWindow({"/m/a.mp4"}, 0, GetParam());
    answerDialog = [](TOpenDialog&) { return true; };
    window.AddFiles();
    EXPECT_TRUE(dialogs.empty());
    EXPECT_EQ(State.PlayListFiles->Count(), 1);
}

INSTANTIATE_TEST_SUITE_P(PlayTypes, AddRefused, ::testing::Values(0, 2, 3));

// A long list keeps every row but makes controls only for the rows in view: the rows are built in one pass,
// and a scroll, a click, a double click and a delete far down the list reach the row the user sees.
TEST_F(ListFormTest, ALongListShowsTheRowsInViewThroughAFewControls) {
    constexpr int Total = 3000;
    V files;
    for (int i = 0; i < Total; ++i)
        files.push_back("/m/" + std::to_string(i) + ".mp4");
    TList_Form& window = ListWindow(files, 0);
    auto controls = [&] {
        return window.PL_P->findChildren<TPanel*>(QString(), Qt::FindDirectChildrenOnly).size();
    };
    // The rows that fit in the list area, and one cut by its edge.
    const qsizetype fit = window.PL_P->Height() / 24 + 2;
    EXPECT_LE(controls(), fit) << "one control per row in view, not per row";
    const V labels = Labels(window);
    ASSERT_EQ(labels.size(), static_cast<std::size_t>(Total));
    EXPECT_EQ(labels.back(), "3000. 2999.mp4");

    // Marked current far down: scrolled into the last slot, shown by a control; the top rows have none.
    win32::SendMessage(State.PlayListWindowHandle, WM_PLAYLIST_SETCURRENT, 0, 2500);
    ASSERT_NE(window.RowAt(2500), nullptr);
    EXPECT_EQ(window.RowAt(2500)->Top(), window.ScrollState().V - 24);
    EXPECT_EQ(LabelOf(window, 2500)->Caption(), "2501. 2500.mp4");
    EXPECT_EQ(LabelOf(window, 2500)->Hint(), "/m/2500.mp4");
    EXPECT_EQ(LabelOf(window, 2500)->Font().Color(), cl3DLight);
    EXPECT_EQ(window.RowAt(0), nullptr);
    EXPECT_LE(controls(), fit);

    // A wheel notch up: the rows one slot lower, and the row that comes into view at the top shows its own
    // text.
    win32::SendMessage(window.Handle(), win32::WM_MOUSEWHEEL, static_cast<win32::WPARAM>(120) << 16, 0);
    ASSERT_NE(window.RowAt(2499), nullptr);
    EXPECT_EQ(window.RowAt(2499)->Top(), window.ScrollState().V - 24);
    const int first = 2499 - (window.ScrollState().V - 34) / 24;
    EXPECT_EQ(window.RowAt(first)->Top(), 10);
    ASSERT_NE(window.RowAt(first), nullptr);
    EXPECT_EQ(LabelOf(window, first)->Caption(),
              std::to_string(first + 1) + ". " + std::to_string(first) + ".mp4");

    // A click and a double click on a row in view act on that row.
    Select(window, 2499);
    EXPECT_EQ(State.SelectedPlayListRow, 2499);
    EXPECT_EQ(window.RowAt(2499)->Color(), static_cast<TColor>(State.DarkGreyColor));
    EXPECT_EQ(window.RowAt(2500)->Color(), clBlack);
    window.PlayRowDblClick(LabelOf(window, 2498));
    EXPECT_EQ(State.SelectedListText, "2499. 2498.mp4");
    EXPECT_EQ(window.RowData(2498).Text, cl3DLight);
    EXPECT_EQ(window.RowData(2500).Text, static_cast<TColor>(State.LightGreyColor));

    // Deleting the selected row: the rows after it move up and are numbered on, also those in view.
    Select(window, 2499);
    Press(window.DelPlItem_XI);
    ASSERT_EQ(window.RowTotal(), Total - 1);
    EXPECT_EQ(window.RowData(2499).Label, "2500. 2500.mp4");
    EXPECT_EQ(Labels(window).back(), "2999. 2999.mp4");
    EXPECT_EQ(State.PlayListFiles->Count(), Total - 1);
    EXPECT_LE(controls(), fit);
}

// --- Delete. ---

// Deleting row 3 of 5: four rows numbered 1 to 4, the file names untouched (also their digits), the rows
// after it one pitch up.
TEST_F(ListFormTest, DeleteRenumbersTheRowsAfterItAndRemovesTheEntry) {
    TList_Form& window =
        ListWindow({"/m/1.mp4", "/m/2.mp4", "/m/3. three.mp4", "/m/4.mp4", "/m/5 and 4.mp4"}, 4);
    Select(window, 2);
    Press(window.DelPlItem_XI);
    EXPECT_EQ(Labels(window), (V{"1. 1.mp4", "2. 2.mp4", "3. 4.mp4", "4. 5 and 4.mp4"}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(window.RowAt(i)->Top(), 10 + 24 * i);
        EXPECT_EQ(window.RowAt(i)->Caption(), std::to_string(i));
    }
    EXPECT_EQ(State.PlayListFiles->Items(), (V{"/m/1.mp4", "/m/2.mp4", "/m/4.mp4", "/m/5 and 4.mp4"}));
    EXPECT_EQ(State.PlayListPositions->Count(), 4);
    EXPECT_EQ(State.SelectedPlayListRow, -1);
    EXPECT_EQ(window.RowCount, 4);
    EXPECT_EQ(State.PlayListIndex, 3) << "still the same entry";
}

struct IndexCase {
    const char* name;
    int current;  // PlayListIndex before
    int selected; // the row deleted (-1: none selected)
    int after;    // PlayListIndex after
    int entries;  // entries left
};

class DeleteIndex : public ListFormTest, public ::testing::WithParamInterface<IndexCase> {};

TEST_P(DeleteIndex, PlayListIndexKeepsNamingTheCurrentEntry) {
    const IndexCase& c = GetParam();
    TList_Form& window = ListWindow({"/m/a.mp4", "/m/b.mp4", "/m/c.mp4"}, c.current);
    if (c.selected >= 0)
        Select(window, c.selected);
    window.DeletePlayListEntry();
    EXPECT_EQ(State.PlayListIndex, c.after);
    EXPECT_EQ(State.PlayListFiles->Count(), c.entries);
    EXPECT_EQ(window.RowTotal(), c.entries);
}

INSTANTIATE_TEST_SUITE_P(Cases, DeleteIndex,
                         ::testing::Values(IndexCase{"BeforeTheCurrent", 2, 0, 1, 2},
                                           IndexCase{"TheCurrent", 1, 1, -1, 2},
                                           IndexCase{"AfterTheCurrent", 0, 2, 0, 2},
                                           IndexCase{"TheLastWhileCurrent", 2, 2, -1, 2},
                                           IndexCase{"NoneSelected", 1, -1, 1, 3}),
                         testing_support::CaseName());

// Deleting the entry that plays stops it and empties the caption.
TEST_F(ListFormTest, DeletingThePlayingEntryStopsIt) {
    const V files = {Clip("a.mp4"), Clip("b.mp4")};
    OpenAndPlay(files);
    ASSERT_TRUE(State.IsPlaying);
    TList_Form& window = ListWindow(files, 0);
    Select(window, 0);
    window.DeletePlayListEntry();
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_EQ(State.CurrentMediaFile, "");
    EXPECT_EQ(form->CurMedia_L->Caption(), "");
    EXPECT_EQ(State.PlayListFiles->Items(), V{files[1]});
}

// For a DVD or a pair the rows are no play-list entries: Delete keeps the row and tells nobody.
TEST_F(ListFormTest, DeleteIsRefusedForDiscsAndPairs) {
    for (int type : {PlayTypes::Dvd, PlayTypes::Pip}) {
        Run();
        State.DvdChapterList->Clear();
        State.DvdChapterList->Add("DVD");
        State.DvdChapterList->Add("Chapter1(1-1)");
        TList_Form& window = ListWindow({"/m/a.mp4", "/m/b.mp4"}, 0, type);
        const int rows = window.RowTotal();
        Select(window, 1);
        window.DeletePlayListEntry();
        EXPECT_EQ(window.RowTotal(), rows) << type;
        EXPECT_EQ(State.PlayListFiles->Count(), 2) << type;
        EXPECT_EQ(State.SelectedPlayListRow, 1) << type;
        form.reset();
    }
}

// --- Empty. ---

TEST_F(ListFormTest, EmptyClearsTheRowsAndTheLists) {
    TList_Form& window = ListWindow({"/m/a.mp4", "/m/b.mp4"}, 1);
    Select(window, 1);
    Press(window.EmptyPL_XI);
    EXPECT_EQ(window.RowTotal(), 0);
    EXPECT_TRUE(State.PlayListFiles->Empty());
    EXPECT_TRUE(State.PlayListPositions->Empty());
    EXPECT_EQ(State.PlayListIndex, -1);
    EXPECT_EQ(State.SelectedPlayListRow, -1);
    EXPECT_EQ(window.RowCount, 0);
    EXPECT_EQ(window.DeleteSelectedRow(), -1) << "nothing left to delete";
    EXPECT_FALSE(window.Scroll_P->Visible());
}

// --- Load. ---

struct LoadCase {
    const char* name;
    const char* current; // CurrentMediaFile
    const char* file;    // the play-list file's text
    V files;
    V positions;
};

class LoadCases : public ListFormTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadCases, TheFileBecomesThePlayList) {
    const LoadCase& c = GetParam();
    TList_Form& window = ListWindow({"/old/x.mp4"});
    State.CurrentMediaFile = c.current;
    const std::string file = State.ProjectPath + "/list.kmvlf";
    WriteFile(file, c.file);
    answerDialog = [&](TOpenDialog& D) {
        D.FileName = file;
        return true;
    };
    Select(window, 0);
    window.LoadPlayListDialog();
    EXPECT_NE(seenDialogs.back()->Options & forms::ofFileMustExist, 0u);
    EXPECT_EQ(seenDialogs.back()->InitialDir, State.ProjectPath);
    EXPECT_EQ(State.PlayListFiles->Items(), c.files);
    EXPECT_EQ(State.PlayListPositions->Items(), c.positions);
    EXPECT_EQ(window.RowTotal(), static_cast<int>(c.files.size()));
    EXPECT_EQ(State.SelectedPlayListRow, -1);
    EXPECT_EQ(State.PlayType, PlayTypes::MediaFile);
    EXPECT_EQ(State.PlayListIndex, State.PlayListFiles->IndexOf(c.current));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadCases,
    ::testing::Values(
        LoadCase{"DuplicatesInAnyCaseAreSkipped", "", "a===120\r\nb\r\nA===5\r\n", {"a", "b"}, {"120", "0"}},
        LoadCase{"TheCurrentFileComesLast", "/m/cur.mp4", "a===1\r\n", {"a", "/m/cur.mp4"}, {"1", "0"}},
        LoadCase{"TheCurrentFileKeepsItsPlace",
                 "/m/cur.mp4",
                 "a===1\r\n/M/CUR.MP4===7\r\nb===2\r\n",
                 {"a", "/M/CUR.MP4", "b"},
                 {"1", "7", "2"}},
        LoadCase{"PositionsThatAreNoWholeSecondsAreZero",
                 "",
                 "a===abc\nb===-5\nc===12x\nd===0x10\n",
                 {"a", "b", "c", "d"},
                 {"0", "0", "0", "0"}},
        LoadCase{"APathHoldingTheSeparator", "", "/m/a===b.mp4===30\r\n", {"/m/a===b.mp4"}, {"30"}},
        // What plays joins whole, also when its name holds the separator.
        LoadCase{"TheCurrentFileHoldingTheSeparator",
                 "/m/cur===b.mp4",
                 "a===1\r\n",
                 {"a", "/m/cur===b.mp4"},
                 {"1", "0"}}),
    testing_support::CaseName());

// A name that names no file (typed into the dialog) loads nothing, creates nothing and stops nothing.
TEST_F(ListFormTest, LoadingAMissingFileDoesNothing) {
    const V files = {Clip("a.mp4")};
    OpenAndPlay(files);
    ASSERT_TRUE(State.IsPlaying);
    TList_Form& window = ListWindow(files);
    const std::string missing = State.ProjectPath + "/none.kmvlf";
    answerDialog = [&](TOpenDialog& D) {
        D.FileName = missing;
        return true;
    };
    window.LoadPlayListDialog();
    EXPECT_TRUE(State.IsPlaying);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(State.PlayListFiles->Items(), files);
    EXPECT_EQ(window.RowTotal(), 1);
}

// --- Save. ---

struct SaveCase {
    const char* name;
    const char* chosen; // the name given in the dialog, in the Project folder
    const char* written;
};

class SaveCases : public ListFormTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveCases, WritesOneLinePerEntry) {
    TList_Form& window = ListWindow({"/m/a.mp4", "/m/b===c.mp4"});
    (*State.PlayListPositions).Put(1, "42");
    std::filesystem::create_directories(State.ProjectPath + "/my.lists");
    answerDialog = [&](TOpenDialog& D) {
        D.FileName = State.ProjectPath + "/" + GetParam().chosen;
        return true;
    };
    window.SavePlayListAs();
    EXPECT_TRUE(seenDialogs.back()->IsSaveDialog());
    EXPECT_EQ(ReadFile(State.ProjectPath + "/" + GetParam().written),
              "/m/a.mp4===0\r\n/m/b===c.mp4===42\r\n");
    EXPECT_TRUE(boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Names, SaveCases,
                         ::testing::Values(SaveCase{"WithoutExtension", "mine", "mine.kmvlf"},
                                           SaveCase{"WithAnExtension", "mine.txt", "mine.txt"},
                                           SaveCase{"DotInTheFolderOnly", "my.lists/mine",
                                                    "my.lists/mine.kmvlf"}),
                         testing_support::CaseName());

// An existing file is replaced only after the user said so.
TEST_F(ListFormTest, SaveAsksBeforeReplacingAFile) {
    TList_Form& window = ListWindow({"/m/a.mp4"});
    const std::string file = State.ProjectPath + "/mine.kmvlf";
    WriteFile(file, "old\r\n");
    answerDialog = [&](TOpenDialog& D) {
        D.FileName = State.ProjectPath + "/mine";
        return true;
    };
    answer = win32::IDNO;
    window.SavePlayListAs();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].Text.find(file), std::string::npos);
    EXPECT_EQ(ReadFile(file), "old\r\n");
    answer = win32::IDYES;
    window.SavePlayListAs();
    EXPECT_EQ(ReadFile(file), "/m/a.mp4===0\r\n");
}

TEST_F(ListFormTest, SavingAnEmptyListShowsNoDialog) {
    TList_Form& window = ListWindow({});
    answerDialog = [](TOpenDialog&) { return true; };
    window.SavePlayListAs();
    EXPECT_TRUE(dialogs.empty());
}

// --- Messages. ---

// The main window's messages to the list window: each reaches its handler, and an index that names no row
// marks none.
TEST_F(ListFormTest, TheMainWindowsMessagesMarkScrollAndRebuild) {
    V files;
    for (int i = 0; i < 30; ++i)
        files.push_back("/m/" + std::to_string(i) + ".mp4");
    TList_Form& window = ListWindow(files, 0);
    const win32::HWND list = State.PlayListWindowHandle;
    // As kept for every row; shown by the control of a row in view.
    auto color = [&](int Index) {
        if (const TLabel* shown = LabelOf(window, Index)) {
            EXPECT_EQ(shown->Font().Color(), window.RowData(Index).Text) << "row " << Index;
        }
        return window.RowData(Index).Text;
    };

    win32::SendMessage(list, WM_PLAYLIST_SETCURRENT, 1, 1);
    EXPECT_EQ(color(1), cl3DLight);
    EXPECT_EQ(color(0), static_cast<TColor>(State.LightGreyColor));
    win32::SendMessage(list, WM_PLAYLIST_SETCURRENT, 0, 29);
    EXPECT_EQ(color(29), cl3DLight);
    EXPECT_EQ(window.RowAt(29)->Top(), window.ScrollState().V - 24) << "scrolled into the last slot";
    win32::SendMessage(list, WM_PLAYLIST_SETCURRENT, 2, 0);
    EXPECT_EQ(window.RowAt(0)->Top(), 10) << "scrolled back to the top margin";
    win32::SendMessage(list, WM_PLAYLIST_PIPITEM, 0, 5);
    EXPECT_EQ(color(5), cl3DLight);
    win32::SendMessage(list, WM_PLAYLIST_PIPITEM, 0, 99);
    win32::SendMessage(list, WM_PLAYLIST_PIPITEM, 0, -1);
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(color(i), static_cast<TColor>(State.LightGreyColor)) << "no row marked for " << i;
    State.DvdChapterIndex = 3;
    win32::SendMessage(list, WM_PLAYLIST_SETDVDCHAPTER, 0, 0);
    EXPECT_EQ(color(3), cl3DLight);

    State.PlayListFiles->Delete(0);
    State.PlayListIndex = 40; // past the end: a rebuild marks nothing
    win32::SendMessage(list, WM_PLAYLIST_RELOAD, 0, 0);
    EXPECT_EQ(window.RowTotal(), 29);
    State.PlayListIndex = 2;
    win32::SendMessage(list, WM_PLAYLIST_RELOAD, 0, 0);
    EXPECT_EQ(color(2), clWhite);

    answerDialog = [](TOpenDialog&) { return false; };
    for (win32::UINT m : {WM_PLAYLIST_LOADFILE, WM_PLAYLIST_SAVEFILE, WM_PLAYLIST_ADDFILES})
        win32::SendMessage(list, m, 0, 0);
    ASSERT_EQ(seenDialogs.size(), 3u);
    EXPECT_EQ(seenDialogs[0], window.LoadPlayList_OD.get());
    EXPECT_EQ(seenDialogs[1], window.SaveAsPlayList_SD.get());
    EXPECT_EQ(seenDialogs[2], window.MediaType_OD.get());
    win32::SendMessage(list, WM_PLAYLIST_CLEAR, 0, 0);
    EXPECT_EQ(window.RowTotal(), 0);
    EXPECT_TRUE(State.PlayListFiles->Empty());
}

// The play-list menu items reach the window's actions while it exists, and do nothing otherwise.
TEST_F(ListFormTest, PlayListMenuItemsRunTheWindowsActions) {
    Run();
    answerDialog = [](TOpenDialog&) { return false; };
    for (TMenuItem* item : {form->pLoadfromfile, form->pAdd})
        item->Click();
    EXPECT_TRUE(seenDialogs.empty());
    TList_Form& window = ListWindow({"/m/a.mp4"});
    form->pLoadfromfile->Click();
    form->pSaveto->Click();
    form->pAdd->Click();
    EXPECT_EQ(seenDialogs,
              (std::vector<TOpenDialog*>{window.LoadPlayList_OD.get(), window.SaveAsPlayList_SD.get(),
                                         window.MediaType_OD.get()}));
    form->pClear->Click();
    EXPECT_TRUE(State.PlayListFiles->Empty());
}

// The wheel scrolls the rows by one row a notch.
TEST_F(ListFormTest, AWheelNotchScrollsOneRow) {
    V files;
    for (int i = 0; i < 40; ++i)
        files.push_back("/m/" + std::to_string(i) + ".mp4");
    TList_Form& window = ListWindow(files, 0);
    ASSERT_TRUE(window.Scroll_P->Visible());
    EXPECT_EQ(window.RowAt(0)->Top(), 10);
    win32::SendMessage(window.Handle(), win32::WM_MOUSEWHEEL, static_cast<win32::WPARAM>(65416) << 16, 0);
    EXPECT_EQ(window.RowAt(0)->Top(), 10 - 24);
    EXPECT_EQ(window.RowAt(1)->Top(), 10);
    EXPECT_GT(window.ScrollBar_XI->Top(), window.ScrollBG_XI->Top());
    win32::SendMessage(window.Handle(), win32::WM_MOUSEWHEEL, static_cast<win32::WPARAM>(240) << 16, 0);
    EXPECT_EQ(window.RowAt(0)->Top(), 10 - 24);
    win32::SendMessage(window.Handle(), win32::WM_MOUSEWHEEL, static_cast<win32::WPARAM>(120) << 16, 0);
    EXPECT_EQ(window.RowAt(0)->Top(), 10);
    EXPECT_EQ(window.ScrollBar_XI->Top(), window.ScrollBG_XI->Top());
}

} // namespace
