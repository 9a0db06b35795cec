#include "platform/forms/Menus.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

#include <gtest/gtest.h>

#include "platform/forms/StringList.h"
#include "tests/support/QtApp.h"

using namespace forms;

namespace {

TEST(ShortCutText, EveryStoredDefaultKeyReadsBackAsWritten) {
    const char* texts[] = {"Ctrl+O", "Ctrl+D",    "Ctrl+C",   "F6",        "Ctrl+Alt+P", "Space",  "Ctrl+S",
                           "F11",    "PgUp",      "PgDn",     "Ctrl+G",    "Ctrl+Right", "Ctrl+Left", "Ctrl+Up",
                           "Ctrl+Down", "Ctrl+R", "Left",     "Right",     "Up",         "Down",   "Ctrl+M",
                           "F10",    "Alt+L",     "Alt+R",    "Ctrl+F12",  "Ctrl+Alt+O", "Ctrl+L", "Enter"};
    for (const char* text : texts) {
        const TShortCut key = TextToShortCut(text);
        EXPECT_NE(key, 0) << text;
        EXPECT_EQ(ShortCutToText(key), text);
    }
}

TEST(ShortCutText, KeysAndModifiers) {
    EXPECT_EQ(TextToShortCut("Ctrl+O"), ShortCut('O', scCtrl));
    EXPECT_EQ(TextToShortCut("alt+ctrl+p"), ShortCut('P', scCtrl | scAlt));
    EXPECT_EQ(ShortCutToText(ShortCut('P', scAlt | scCtrl | scShift)), "Shift+Ctrl+Alt+P");
    EXPECT_EQ(TextToShortCut("Enter"), ShortCut(0x0D, 0));
    EXPECT_EQ(TextToShortCut("F12"), ShortCut(0x7B, 0));
    EXPECT_EQ(TextToShortCut(""), 0);
    EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
    EXPECT_EQ(TextToShortCut("Hyper+Q"), 0);
    EXPECT_EQ(ShortCutToText(0), "");
}

// Keys as the keyboard driver names them, the hot-key names' spellings and the last function keys; each reads
// as the key it names and writes back under its one name.
TEST(ShortCutText, DriverNamesAndOtherSpellings) {
    const struct {
        const char* text;
        TShortCut key;
        const char* written;
    } cases[] = {
        {"Num +", ShortCut(0x6B, 0), "Num +"},
        {"Ctrl+Num 0", ShortCut(0x60, scCtrl), "Ctrl+Num 0"},
        {"Num Del", ShortCut(0x6E, 0), "Num Del"},
        {"Alt+Num Lock", ShortCut(0x90, scAlt), "Alt+Num Lock"},
        {"Scroll Lock", ShortCut(0x91, 0), "Scroll Lock"},
        {"caps lock", ShortCut(0x14, 0), "Caps Lock"},
        {"Page Up", ShortCut(0x21, 0), "PgUp"},
        {"Ctrl+page down", ShortCut(0x22, scCtrl), "Ctrl+PgDn"},
        {"BKSP", ShortCut(0x08, 0), "BkSp"},
        {"Shift+F24", ShortCut(0x87, scShift), "Shift+F24"},
        {"F25", 0, ""},
        {"Ctrl+Page", 0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextToShortCut(c.text), c.key) << c.text;
        EXPECT_EQ(ShortCutToText(c.key), c.written) << c.text;
    }
    // Keypad keys are pressed with the keypad.
    EXPECT_EQ(KeySequencesOf(TextToShortCut("Num 7")).at(0), QKeySequence(Qt::KeypadModifier | Qt::Key_7));
}

TEST(ShortCutText, EnterIsBothReturnKeys) {
    const auto sequences = KeySequencesOf(TextToShortCut("Enter"));
    ASSERT_EQ(sequences.size(), 2u);
    EXPECT_EQ(sequences[0], QKeySequence(Qt::Key_Return));
    EXPECT_EQ(KeySequencesOf(TextToShortCut("Ctrl+Alt+O")).at(0),
              QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_O));
}

class MenuTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
};

TEST_F(MenuTest, ClickRunsTheHandlerWithTheItemAsSenderAndKeepsTheCheckMark) {
    QWidget owner;
    TPopupMenu menu(&owner);
    auto* item = new TMenuItem;
    item->SetCaption("静音");
    menu.Items()->Add(item);
    std::vector<TObject*> senders;
    item->OnClick = [&](TObject* sender) { senders.push_back(sender); };
    item->Action()->trigger();
    EXPECT_FALSE(item->Checked());
    EXPECT_FALSE(item->Action()->isChecked());
    item->SetChecked(true);
    item->Action()->trigger();
    EXPECT_TRUE(item->Checked());
    EXPECT_TRUE(item->Action()->isChecked());
    EXPECT_EQ(senders, (std::vector<TObject*>{item, item}));
}

TEST_F(MenuTest, ItemsBuiltAtRunTimeKeepTheirOrderAndAreFreedByDelete) {
    QWidget owner;
    TPopupMenu menu(&owner);
    auto* drives = new TMenuItem;
    drives->SetCaption("打开dvd");
    menu.Items()->Add(drives);
    std::vector<QPointer<TMenuItem>> items;
    for (const char* caption : {"/dev/sr0", "/dev/sr1", "-"}) {
        auto* item = new TMenuItem;
        item->SetCaption(caption);
        drives->Add(item);
        items.emplace_back(item);
    }
    auto* first = new TMenuItem;
    first->SetCaption("first");
    drives->Insert(0, first);
    ASSERT_EQ(drives->Count(), 4);
    EXPECT_EQ(drives->Items(0), first);
    EXPECT_EQ(items[2]->MenuIndex(), 3);
    const auto actions = drives->SubMenu()->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), "first");
    EXPECT_TRUE(actions[3]->isSeparator());
    drives->Delete(1);
    EXPECT_TRUE(items[0].isNull());
    drives->Clear();
    EXPECT_EQ(drives->Count(), 0);
    EXPECT_TRUE(items[1].isNull());
    EXPECT_TRUE(drives->SubMenu()->actions().isEmpty());
    EXPECT_THROW(drives->Items(0), EClassLibraryError);
}

TEST_F(MenuTest, ShortCutIsShownBesideTheCaption) {
    QWidget owner;
    TPopupMenu menu(&owner);
    auto* item = new TMenuItem;
    menu.Items()->Add(item);
    item->SetCaption("play/pause");
    item->SetShortCut(TextToShortCut("Space"));
    EXPECT_EQ(item->Action()->text(), "play/pause\tSpace");
    EXPECT_TRUE(item->Action()->shortcut().isEmpty()); // the key itself belongs to the actions
}

// What the menu shows for a caption: a separator has no text (Qt would draw it as a section title, a stray
// "-"); "&&" shows one "&", a single "&" marks the accelerator.
TEST_F(MenuTest, CaptionsShowAsTheClassLibraryShowsThem) {
    struct Case {
        const char* Caption;
        bool Separator;
        const char* Shown; // the text without accelerator marks
    } const cases[] = {
        {"-", true, ""},
        {"Tom && Jerry.avi", false, "Tom & Jerry.avi"},
        {"&-", false, "-"},
        {"--", false, "--"},
        {"打开dvd", false, "打开dvd"},
    };
    QWidget owner;
    TPopupMenu menu(&owner);
    auto* item = new TMenuItem;
    menu.Items()->Add(item);
    for (const Case& c : cases) {
        item->SetCaption(c.Caption);
        EXPECT_EQ(item->Action()->isSeparator(), c.Separator) << c.Caption;
        EXPECT_EQ(item->Action()->iconText().toStdString(), c.Shown) << c.Caption;
        EXPECT_EQ(item->Caption(), c.Caption);
    }
}

TEST_F(MenuTest, PopupRunsOnPopupFirst) {
    QWidget owner;
    TPopupMenu menu(&owner);
    bool shownWhenAsked = true;
    menu.OnPopup = [&](TObject*) { shownWhenAsked = menu.Menu()->isVisible(); };
    menu.Items()->Add(new TMenuItem);
    menu.Popup(10, 20);
    EXPECT_FALSE(shownWhenAsked);
    EXPECT_TRUE(menu.Menu()->isVisible());
    menu.Menu()->hide();
}

TEST_F(MenuTest, ItemsAppendedToAClosedMenuShowWhenItOpens) {
    QWidget owner;
    TPopupMenu menu(&owner);
    auto* history = new TMenuItem;
    menu.Items()->Add(history);
    std::vector<QAction*> expected;
    for (int i = 0; i < 40; ++i) {
        auto* item = new TMenuItem;
        item->SetCaption("entry " + std::to_string(i));
        history->Add(item);
        expected.push_back(item->Action());
    }
    // A middle insertion brings the menu in line first, so the order holds.
    auto* first = new TMenuItem;
    history->Insert(0, first);
    expected.insert(expected.begin(), first->Action());
    auto* last = new TMenuItem;
    history->Add(last);
    expected.push_back(last->Action());
    QMenu* shown = history->Action()->menu();
    ASSERT_NE(shown, nullptr);
    // The menu fills itself as it opens.
    shown->popup(QPoint(10, 10));
    const auto actions = shown->actions();
    EXPECT_EQ(std::vector<QAction*>(actions.begin(), actions.end()), expected);
    // Open, it takes new items at once.
    auto* more = new TMenuItem;
    history->Add(more);
    EXPECT_EQ(shown->actions().size(), 43);
    EXPECT_EQ(shown->actions().back(), more->Action());
    shown->hide();
    EXPECT_EQ(history->SubMenu(), shown);
}

TEST_F(MenuTest, FreeingTheTailOfALongMenuKeepsTheHeadInItsMenu) {
    QWidget owner;
    TPopupMenu menu(&owner);
    auto* history = new TMenuItem;
    menu.Items()->Add(history);
    std::vector<QPointer<TMenuItem>> items;
    for (int i = 0; i < 100; ++i) {
        auto* item = new TMenuItem;
        item->SetCaption(std::to_string(i));
        history->Add(item);
        items.emplace_back(item);
    }
    ASSERT_EQ(history->SubMenu()->actions().size(), 100);
    int clicks = 0;
    items[2]->OnClick = [&](TObject*) { ++clicks; };
    history->DeleteFrom(4);
    EXPECT_EQ(history->Count(), 4);
    for (int i = 4; i < 100; ++i)
        EXPECT_TRUE(items[static_cast<std::size_t>(i)].isNull()) << i;
    const auto actions = history->SubMenu()->actions();
    ASSERT_EQ(actions.size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(actions[i], items[static_cast<std::size_t>(i)]->Action());
    EXPECT_EQ(history->Action()->menu(), history->SubMenu());
    actions[2]->trigger();
    EXPECT_EQ(clicks, 1);
    history->DeleteFrom(0);
    EXPECT_EQ(history->Count(), 0);
    EXPECT_TRUE(history->SubMenu()->actions().isEmpty());
}

} // namespace
