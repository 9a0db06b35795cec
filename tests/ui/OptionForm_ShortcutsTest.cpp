// The options dialog's Shortcut key page: the rows, editing a cell through the list laid over it, the
// defaults, the boss key's test, and what OK writes.

#include <QHeaderView>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "core/Shortcuts.h"
#include "tests/support/CaseName.h"
#include "tests/ui/OptionFormFixture.h"

namespace ui_testing {
namespace {

constexpr int Modifier = 2, Key = 3;
constexpr win32::UINT VK_F12 = 123;

class ShortcutPageTest : public OptionTest {
public:
    TOption_Form& OpenPage() {
        TOption_Form& d = Open();
        Click(d.ShortcutKey_SB);
        list = d.Page.ShortcutList;
        return d;
    }
    std::string Cell(int Row, int Column) const {
        TListItem* row = list->Items().Item(Row);
        return Column == 0 ? row->Caption() : row->SubItems()[Column - 1];
    }
    // A left click in the middle of the cell, as the user opens it (the row scrolled into view first).
    void OpenCell(int Row, int Column) {
        auto* view = list->findChild<QTreeWidget*>();
        view->scrollToItem(list->Items().Item(Row));
        const QRect cell = list->SubItemRect(list->Items().Item(Row), Column);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->viewport()->mapFrom(list, cell.center()));
    }
    // Opens the cell's list, picks Text in it (nullptr: picks nothing) and closes it.
    void Choose(int Row, int Column, const char* Text) {
        OpenCell(Row, Column);
        TComboBox* combo = dialog->InPlaceCombo;
        ASSERT_NE(combo, nullptr);
        combo->SetDroppedDown(true);
        if (Text != nullptr) {
            int index = -1;
            for (int i = 0; i < combo->Count(); ++i)
                if (combo->Items(i) == Text)
                    index = i;
            ASSERT_GE(index, 0) << Text;
            combo->SetItemIndex(index);
        }
        combo->SetDroppedDown(false);
        QTRY_VERIFY(dialog->InPlaceCombo == nullptr);
    }
    static int RowOf(const char* Command) {
        for (int i = 0; i < ShortCutCommandCount; ++i)
            if (std::string(ShortCutKeys[static_cast<std::size_t>(i)]) == Command)
                return i;
        return -1;
    }

    TListView* list = nullptr;
};

TEST_F(ShortcutPageTest, RowsShowTheCommandsWithTheirStoredKeys) {
    std::string text = DefaultsWith("Goto", "Ctrl+Num +");
    text.erase(text.find("Stop=Ctrl+S\r\n"), 13);
    WriteIni(text);
    OpenPage();
    ASSERT_EQ(list->Items().Count(), 28);
    EXPECT_EQ(list->Columns().Caption(0), "Command");
    EXPECT_EQ(list->Columns().Caption(3), "ShortCut Key");
    EXPECT_EQ(list->Columns().Width(0), 120);
    EXPECT_EQ(list->Columns().Width(3), 80);
    EXPECT_EQ(list->SubItemRect(list->Items().Item(0), 1).height(), 20);
    const std::vector<std::vector<std::string>> rows = {
        {"打开文件...", "", "Ctrl", "O"}, {"属性...", "", "Ctrl+Alt", "P"}, {"停止", "", "", "Value no find"},
        {"上一个", "", "", "PgUp"},       {"转到...", "", "Ctrl", "Num +"},
    };
    const int at[] = {RowOf("OpenFile"), RowOf("Property"), RowOf("Stop"), RowOf("PlayPrevious"),
                      RowOf("Goto")};
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ((std::vector<std::string>{Cell(at[i], 0), Cell(at[i], 1), Cell(at[i], 2), Cell(at[i], 3)}),
                  rows[i]);
    EXPECT_EQ(dialog->LoadedShortcutLines[RowOf("Stop")], "Stop=Value no find");
}

// The cell lists offer an empty item and the names of their tables, starting on the cell's text.
TEST_F(ShortcutPageTest, TheListOverACellOffersItsTableFromTheCellsText) {
    OpenPage();
    OpenCell(RowOf("Property"), Modifier);
    TComboBox* combo = dialog->InPlaceCombo;
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->Count(), 8);
    EXPECT_EQ(combo->Items(0), "");
    EXPECT_EQ(combo->Text(), "Ctrl+Alt");
    EXPECT_EQ(combo->DropDownCount(), 24);
    EXPECT_EQ(combo->geometry(), list->SubItemRect(list->Items().Item(RowOf("Property")), Modifier));
    const QPointer<TComboBox> first(combo);
    OpenCell(RowOf("PlayPrevious"), Key);
    EXPECT_TRUE(first.isNull()) << "one list at a time";
    ASSERT_NE(dialog->InPlaceCombo, nullptr);
    EXPECT_EQ(dialog->InPlaceCombo->Count(), 83);
    EXPECT_EQ(dialog->InPlaceCombo->ItemIndex(), -1) << "PgUp is none of the key names";
    OpenCell(RowOf("Stop"), 1);
    EXPECT_EQ((std::vector<std::string>{dialog->InPlaceCombo->Items(1), dialog->InPlaceCombo->Items(3)}),
              (std::vector<std::string>{"Left click", "Mouse wheel"}));
    TComboBox* open = dialog->InPlaceCombo;
    OpenCell(RowOf("Stop"), 0);
    EXPECT_EQ(dialog->InPlaceCombo, open) << "the command's own cell opens nothing";
}

struct EditCase {
    const char* name;
    const char* command;
    int column;
    const char* choice; // nullptr: the list is closed without a choice
    const char* cell;   // the cell afterwards
    std::vector<std::string> written;
};

class ShortcutEdits : public ShortcutPageTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(ShortcutEdits, OkWritesTheEditedCommandAlone) {
    OpenPage();
    const std::string before = Ini();
    const int row = RowOf(GetParam().command);
    Choose(row, GetParam().column, GetParam().choice);
    EXPECT_EQ(Cell(row, GetParam().column), GetParam().cell);
    Click(dialog->OK_Btn);
    EXPECT_EQ(Written(before), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShortcutEdits,
    ::testing::Values(EditCase{"StopToAlt", "Stop", Modifier, "Alt", "Alt", {"Stop=Alt+S"}},
                      EditCase{"PropertyWithoutModifier", "Property", Modifier, "", "", {"Property=P"}},
                      EditCase{"ModifierClosedWithoutAChoice", "Stop", Modifier, nullptr, "Ctrl", {}},
                      EditCase{"FullScreenKey", "FullScreen", Key, "F", "F", {"FullScreen=F"}},
                      EditCase{"KeyEmptyItemChangesNothing", "Goto", Key, "", "G", {}},
                      EditCase{"MouseCellIsNotStored", "Goto", 1, "Left click", "Left click", {}}),
    testing_support::CaseName());

// "Default mode" shows the default keys and writes nothing by itself; an edit of a row afterwards writes that
// row as it shows.
TEST_F(ShortcutPageTest, DefaultModeShowsTheDefaultsAndAnEditWritesTheRow) {
    WriteIni(DefaultsWith("Option", "Ctrl+Q"));
    TOption_Form& d = OpenPage();
    const std::string before = Ini();
    Click(d.Page.DefaultModeButton);
    ASSERT_EQ(list->Items().Count(), 28);
    EXPECT_EQ(Cell(RowOf("Option"), Modifier) + "+" + Cell(RowOf("Option"), Key), "Ctrl+Alt+O");
    EXPECT_EQ(Cell(RowOf("PlayList"), Modifier) + "+" + Cell(RowOf("PlayList"), Key), "Ctrl+L");
    EXPECT_EQ(Cell(RowOf("FullScreen"), Key), "Enter");
    EXPECT_EQ(Cell(RowOf("Option"), 0), "选项...");
    Choose(RowOf("FullScreen"), Key, "F");
    Click(d.OK_Btn);
    EXPECT_EQ(Written(before), (std::vector<std::string>{"FullScreen=F"})) << "Option keeps Ctrl+Q";
}

// An edit survives leaving the page: coming back, the row shows the edit, and OK writes it.
TEST_F(ShortcutPageTest, AnEditSurvivesLeavingThePage) {
    TOption_Form& d = OpenPage();
    const std::string before = Ini();
    Choose(RowOf("Stop"), Modifier, "Alt");
    Click(d.Player_SB);
    Click(d.ShortcutKey_SB);
    list = d.Page.ShortcutList;
    EXPECT_EQ(Cell(RowOf("Stop"), Modifier), "Alt");
    EXPECT_EQ(Cell(RowOf("Stop"), Key), "S");
    EXPECT_EQ(Cell(RowOf("Close"), Modifier), "Ctrl") << "the other rows show the settings file";
    Click(d.OK_Btn);
    EXPECT_EQ(Written(before), (std::vector<std::string>{"Stop=Alt+S"}));
}

// A new boss key is tried at once: one that another program holds is refused with the message and the cell
// goes back; one that can be had is registered on OK. Either way the boss key in use stays registered while
// the dialog is open, and after Cancel.
TEST_F(ShortcutPageTest, TheBossKeyIsTriedAtOnceAndRegisteredOnOk) {
    TOption_Form& d = OpenPage();
    hotKeys.Taken.push_back({win32::MOD_ALT, VK_F12});
    const int row = RowOf("BossKey");
    Choose(row, Modifier, "Alt");
    EXPECT_EQ(Cell(row, Modifier), "Ctrl");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text,
              "The boss key of you set the shortcut keys and other keys are in confilct, reset.");
    EXPECT_EQ(boxes[0].Caption, "Information");
    auto bossKey = [&] {
        for (const auto& r : hotKeys.Registered)
            if (r.Id == State.BossKeyId && r.Window == State.MainWindowHandle)
                return std::make_pair(r.Modifiers, r.Key);
        return std::make_pair(0u, 0u);
    };
    EXPECT_EQ(bossKey(), std::make_pair(win32::MOD_CONTROL, VK_F12));

    Choose(row, Modifier, "Shift");
    EXPECT_EQ(Cell(row, Modifier), "Shift");
    Choose(row, Key, "F9");
    EXPECT_EQ(Cell(row, Key), "F9");
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(bossKey(), std::make_pair(win32::MOD_CONTROL, VK_F12)) << "until OK";
    const std::string before = Ini();
    Click(d.OK_Btn);
    EXPECT_EQ(Written(before), (std::vector<std::string>{"BossKey=Shift+F9"}));
    EXPECT_EQ(bossKey(), std::make_pair(win32::MOD_SHIFT, 120u));
}

TEST_F(ShortcutPageTest, CancelAfterARefusedBossKeyKeepsTheBossKey) {
    TOption_Form& d = OpenPage();
    hotKeys.Taken.push_back({win32::MOD_ALT, VK_F12});
    Choose(RowOf("BossKey"), Modifier, "Alt");
    Click(d.Cancel_Btn);
    ASSERT_EQ(hotKeys.Registered.size(), 1u);
    EXPECT_EQ(hotKeys.Registered[0].Modifiers, win32::MOD_CONTROL);
    EXPECT_EQ(hotKeys.Registered[0].Key, VK_F12);
}

// A boss key without a modifier is tried as a key alone, as it is registered at start.
TEST_F(ShortcutPageTest, ABossKeyWithoutModifierIsTriedAsTheKeyAlone) {
    OpenPage();
    const int row = RowOf("BossKey");
    Choose(row, Modifier, "");
    EXPECT_EQ(Cell(row, Modifier), "");
    hotKeys.Calls.clear();
    Choose(row, Key, "Scroll Lock");
    EXPECT_EQ(Cell(row, Key), "Scroll Lock");
    EXPECT_EQ(hotKeys.Calls.front(), "Register " + std::to_string(State.BossKeyId) + " 0 145");
    EXPECT_TRUE(boxes.empty());
}

// A drag of a column divider leaves the widths as they were once the button is released; pressing the
// header takes an open cell list away without changing the cell.
TEST_F(ShortcutPageTest, ColumnsKeepTheirWidths) {
    OpenPage();
    OpenCell(RowOf("Stop"), Modifier);
    ASSERT_NE(dialog->InPlaceCombo, nullptr);
    dialog->InPlaceCombo->SetItemIndex(1);
    auto* header = list->findChild<QTreeWidget*>()->header();
    const int y = header->height() / 2;
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(119, y));
    EXPECT_EQ(dialog->InPlaceCombo, nullptr);
    QTest::mouseMove(header->viewport(), QPoint(170, y));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(170, y));
    EXPECT_EQ((std::vector<int>{list->Columns().Width(0), list->Columns().Width(1), list->Columns().Width(2),
                                list->Columns().Width(3)}),
              (std::vector<int>{120, 90, 90, 80}));
    QCoreApplication::processEvents();
    EXPECT_EQ(Cell(RowOf("Stop"), Modifier), "Ctrl");
}

} // namespace
} // namespace ui_testing
