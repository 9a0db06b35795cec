#include "core/Shortcuts.h"

#include <memory>

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/Transport.h"
#include "core/WindowUtils.h"
#include "platform/forms/Forms.h"
#include "platform/win32/HotKey.h"
#include "platform/win32/Window.h"
#include "tests/support/CaseName.h"
#include "tests/support/FakeGraph.h"
#include "tests/support/QtApp.h"
#include "tests/support/RunTree.h"
#include "tests/support/TempDir.h"

using namespace forms;

namespace {

// The default settings with [ShortCut] Key set to Value; an empty Value removes the key.
std::string ShortCutSetting(const std::string& Key, const std::string& Value) {
    std::string text = DefaultIniText();
    const auto at = text.find("\r\n" + Key + "=");
    const auto end = text.find("\r\n", at + 2);
    text.replace(at + 2, end - at, Value.empty() ? "" : Key + "=" + Value + "\r\n");
    return text;
}

// --- The tables. ---

TEST(ShortcutTables, CommandKeysAndTheirDefaultsAreTheStoredOnesWithNoKeyTwice) {
    const std::vector<std::string>& defaults = DefaultShortcutTable();
    ASSERT_EQ(defaults.size(), ShortCutKeys.size());
    std::vector<TShortCut> keys;
    for (std::size_t i = 0; i < defaults.size(); ++i) {
        const std::string& line = defaults[i];
        const std::string name = line.substr(0, line.find('='));
        EXPECT_EQ(name, ShortCutKeys[i]);
        const TShortCut key = TextToShortCut(line.substr(line.find('=') + 1));
        EXPECT_NE(key, 0) << line;
        EXPECT_EQ(std::count(keys.begin(), keys.end(), key), 0) << line << " gives a key of another command";
        keys.push_back(key);
    }
    EXPECT_EQ(defaults[24], "BossKey=Ctrl+F12");
    EXPECT_EQ(defaults[8], "PlayPrevious=PgUp");
}

// Both tables whole, in the order the options page lists them: each name with the modifier bits or the
// virtual-key code it stands for.
TEST(ShortcutTables, NameTablesHoldEveryNameWithItsValueInTheOrderTheOptionsPageLists) {
    const std::vector<THotKeyName> modifiers = {
        {"Alt", 1},        {"Ctrl", 2},      {"Shift", 4},          {"Ctrl+Alt", 3},
        {"Ctrl+Shift", 6}, {"Alt+Shift", 5}, {"Ctrl+Alt+Shift", 7},
    };
    const std::vector<THotKeyName> keys = {
        {"A", 65},      {"B", 66},         {"C", 67},         {"D", 68},
        {"E", 69},      {"F", 70},         {"G", 71},         {"H", 72},
        {"I", 73},      {"J", 74},         {"K", 75},         {"L", 76},
        {"M", 77},      {"N", 78},         {"O", 79},         {"P", 80},
        {"Q", 81},      {"R", 82},         {"S", 83},         {"T", 84},
        {"U", 85},      {"V", 86},         {"W", 87},         {"X", 88},
        {"Y", 89},      {"Z", 90},         {"Left", 37},      {"Right", 39},
        {"Del", 46},    {"F1", 112},       {"F2", 113},       {"F3", 114},
        {"F4", 115},    {"F5", 116},       {"F6", 117},       {"F7", 118},
        {"F8", 119},    {"F9", 120},       {"F10", 121},      {"F11", 122},
        {"F12", 123},   {"Num 0", 96},     {"Num 1", 97},     {"Num 2", 98},
        {"Num 3", 99},  {"Num 4", 100},    {"Num 5", 101},    {"Num 6", 102},
        {"Num 7", 103}, {"Num 8", 104},    {"Num 9", 105},    {"Num +", 107},
        {"Num -", 109}, {"Num *", 106},    {"Num /", 111},    {"Num Del", 110},
        {"0", 48},      {"1", 49},         {"2", 50},         {"3", 51},
        {"4", 52},      {"5", 53},         {"6", 54},         {"7", 55},
        {"8", 56},      {"9", 57},         {"Num Lock", 144}, {"Scroll Lock", 145},
        {"Esc", 27},    {"Caps Lock", 20}, {"Enter", 13},     {"Tab", 9},
        {"BKSP", 8},    {"Space", 32},     {"Page up", 33},   {"Page down", 34},
        {"End", 35},    {"Home", 36},      {"Up", 38},        {"Down", 40},
        {"Ins", 45},    {"Del", 46},
    };
    ASSERT_EQ(keys.size(), 82u);
    auto expectTable = [](const std::vector<THotKeyName>& Actual, const std::vector<THotKeyName>& Expected) {
        ASSERT_EQ(Actual.size(), Expected.size());
        for (std::size_t i = 0; i < Expected.size(); ++i) {
            EXPECT_EQ(Actual[i].Name, Expected[i].Name) << "entry " << i;
            EXPECT_EQ(Actual[i].Value, Expected[i].Value) << Expected[i].Name;
        }
    };
    expectTable(HotKeyModifierNames(), modifiers);
    expectTable(HotKeyKeyNames(), keys);
    // Each name looks up its own value ("Del", which stands twice, gives 46 either way).
    for (const THotKeyName& modifier : modifiers)
        EXPECT_EQ(ModifierFromName(modifier.Name), modifier.Value) << modifier.Name;
    for (const THotKeyName& key : keys)
        EXPECT_EQ(KeyFromName(key.Name), key.Value) << key.Name;
}

struct SplitCase {
    const char* name;
    const char* text;
    const char* modifier;
    const char* key;
};

class SplitCases : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCases, SplitsAtTheLastPlusButTheLastCharacter) {
    std::string modifier = "old", key = "old";
    SplitShortCutText(GetParam().text, modifier, key);
    EXPECT_EQ(modifier, GetParam().modifier);
    EXPECT_EQ(key, GetParam().key);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SplitCases,
    ::testing::Values(SplitCase{"Empty", "", "", ""}, SplitCase{"ModifierAndKey", "Ctrl+F12", "Ctrl", "F12"},
                      SplitCase{"KeyWithAPlus", "Ctrl+Num +", "Ctrl", "Num +"},
                      SplitCase{"KeyWithAPlusAlone", "Num +", "", "Num +"},
                      SplitCase{"ThreeModifiers", "Ctrl+Alt+Shift+A", "Ctrl+Alt+Shift", "A"},
                      SplitCase{"PlusAlone", "+", "", "+"}, SplitCase{"PlusAsTheKey", "Ctrl++", "Ctrl", "+"}),
    testing_support::CaseName());

TEST(ShortcutTables, NameLookupsTakeEitherSpellingWithoutRegardToCase) {
    const std::pair<const char*, int> modifiers[] = {
        {"Alt", 1},       {"Ctrl", 2},           {"Shift", 4},     {"Ctrl+Alt", 3}, {"ctrl+shift", 6},
        {"Alt+Shift", 5}, {"Ctrl+Alt+Shift", 7}, {"Alt+Ctrl", -1}, {"", -1},        {"Win", -1},
    };
    for (const auto& [name, value] : modifiers)
        EXPECT_EQ(ModifierFromName(name), value) << name;
    const std::pair<const char*, int> keys[] = {
        {"Num 0", 96},     {"Num +", 107}, {"Del", 46}, {"F12", 123}, {"Page up", 33}, {"PgUp", 33},
        {"page DOWN", 34}, {"PgDn", 34},   {"BKSP", 8}, {"BkSp", 8},  {"a", 65},       {"7", 55},
        {"Enter", 13},     {"F13", -1},    {"", -1},    {"Num", -1},
    };
    for (const auto& [name, value] : keys)
        EXPECT_EQ(KeyFromName(name), value) << name;
}

// --- Binding the keys, registering the boss key. ---

class ShortcutsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        win32::SetHotKeyService(&hotKeys);
        list = new TActionList(&window);
        for (int i = 0; i < ShortCutCommandCount; ++i) {
            items.push_back(std::make_unique<TMenuItem>());
            items.back()->SetName(std::string("item") + ShortCutKeys[static_cast<std::size_t>(i)]);
            auto* action = new TAction(&window);
            action->SetActionList(list);
            actions.push_back(action);
        }
        for (auto& item : items)
            itemArray.push_back(item.get());
    }
    void TearDown() override { win32::SetHotKeyService(nullptr); }
    void WriteIni(const std::string& Text) { testing_support::WriteFile(tree.IniFile(), Text); }
    void Press(Qt::Key Key, Qt::KeyboardModifiers Modifiers = {}) {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Key, Modifiers);
    }

    testing_support::RunTree tree;
    win32::FakeHotKeyService hotKeys;
    TForm window;
    TActionList* list = nullptr;
    std::vector<std::unique_ptr<TMenuItem>> items;
    TMenuItemArray itemArray;
    std::vector<TAction*> actions;
};

// A key runs the handler the item has when the key is pressed, with the action as sender; the item shows the
// key; the two commands whose items have no handler do nothing.
TEST_F(ShortcutsTest, EachKeyRunsItsItemsHandlerOfTheMomentWithTheActionAsSender) {
    WriteIni(DefaultIniText());
    LoadShortCuts(itemArray, actions);
    std::vector<std::pair<std::string, TObject*>> ran;
    // Handlers given after the keys were bound: the stop item's, and the channel items' one handler.
    items[6]->OnClick = [&](TObject* Sender) { ran.emplace_back("Stop", Sender); };
    for (int i : {21, 22, 23})
        items[static_cast<std::size_t>(i)]->OnClick = [&, i](TObject* Sender) {
            ran.emplace_back(ShortCutKeys[static_cast<std::size_t>(i)], Sender);
        };
    window.Show();
    Press(Qt::Key_S, Qt::ControlModifier);
    Press(Qt::Key_R, Qt::AltModifier);
    Press(Qt::Key_F10);
    Press(Qt::Key_Left); // PreviousFrame: an item without a handler
    Press(Qt::Key_L, Qt::ControlModifier);
    using Ran = std::vector<std::pair<std::string, TObject*>>;
    EXPECT_EQ(ran, (Ran{{"Stop", actions[6]}, {"RightTrack", actions[23]}, {"Stereo", actions[21]}}));
    EXPECT_EQ(items[5]->ShortCut(), TextToShortCut("Space"));
    EXPECT_EQ(actions[27]->ShortCut(), TextToShortCut("Enter"));
    EXPECT_EQ(items[4]->Action()->text().toStdString(), "\tCtrl+Alt+P");
}

TEST_F(ShortcutsTest, AMissingOrUnreadableKeyLeavesItsCommandWithoutAShortcut) {
    WriteIni(ShortCutSetting("Goto", "Ctrl+Bogus").replace(DefaultIniText().find("Stop=Ctrl+S"), 13, ""));
    LoadShortCuts(itemArray, actions);
    EXPECT_EQ(actions[6]->ShortCut(), 0);
    EXPECT_EQ(items[6]->ShortCut(), 0);
    EXPECT_EQ(actions[10]->ShortCut(), 0);
    EXPECT_EQ(actions[5]->ShortCut(), TextToShortCut("Space"));
    // Bound again after the options dialog rewrote a key: the new key counts at once.
    WriteIni(ShortCutSetting("Goto", "Ctrl+H"));
    LoadShortCuts(itemArray, actions);
    EXPECT_EQ(actions[10]->ShortCut(), TextToShortCut("Ctrl+H"));
    EXPECT_EQ(actions[6]->ShortCut(), TextToShortCut("Ctrl+S"));
}

struct BossKeyCase {
    const char* name;
    const char* text; // "" for a missing key
    std::vector<std::string> calls;
    bool reported;
};

class BossKeyCases : public ShortcutsTest, public ::testing::WithParamInterface<BossKeyCase> {};

TEST_P(BossKeyCases, RegistersTheStoredKeyUnderTheOneIdOrReportsWhyNot) {
    WriteIni(ShortCutSetting("BossKey", GetParam().text));
    hotKeys.Taken.emplace_back(win32::MOD_CONTROL | win32::MOD_ALT, 'Q');
    ::testing::internal::CaptureStderr();
    RegisterBossKey(window.Handle());
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(hotKeys.Calls, GetParam().calls);
    EXPECT_EQ(!errors.empty(), GetParam().reported) << errors;
    if (GetParam().reported) {
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, BossKeyCases,
    ::testing::Values(BossKeyCase{"Default", "Ctrl+F12", {"Register 1 2 123"}, false},
                      BossKeyCase{"OtherSpellingOfAKey", "Ctrl+Shift+Page down", {"Register 1 6 34"}, false},
                      BossKeyCase{"ShortcutSpellingOfAKey", "Alt+PgUp", {"Register 1 1 33"}, false},
                      BossKeyCase{"KeyAlone", "F12", {"Register 1 0 123"}, false},
                      BossKeyCase{"ModifiersInAnotherOrder", "Alt+Ctrl+F12", {}, true},
                      BossKeyCase{"UnknownKey", "Ctrl+F13", {}, true}, BossKeyCase{"Missing", "", {}, true},
                      BossKeyCase{"TakenByAnotherProgram", "Ctrl+Alt+Q", {"Register 1 3 81"}, true}),
    testing_support::CaseName());

TEST_F(ShortcutsTest, TestingAKeyKeepsTheBossKeyInUse) {
    WriteIni(DefaultIniText());
    RegisterBossKey(window.Handle());
    hotKeys.Taken.emplace_back(win32::MOD_SHIFT, 'B');
    EXPECT_TRUE(TestHotKey(window.Handle(), 6, 'B'));
    EXPECT_FALSE(TestHotKey(window.Handle(), 4, 'B'));
    EXPECT_FALSE(TestHotKey(window.Handle(), -1, 'B'));
    ASSERT_EQ(hotKeys.Registered.size(), 1u);
    EXPECT_EQ(hotKeys.Registered[0].Id, 1);
    EXPECT_EQ(hotKeys.Registered[0].Modifiers, 2u);
    EXPECT_EQ(hotKeys.Registered[0].Key, 123u);
    UnregisterBossKey(window.Handle());
    EXPECT_TRUE(hotKeys.Registered.empty());
    EXPECT_EQ(hotKeys.Calls.back(), "Unregister 1");
}

// --- The boss key's hiding and showing. ---

struct ToggleCase {
    const char* name;
    bool playing;
    bool paused;
    bool stopsWhileHidden;
    int pauses; // pause calls at the first press
    int resumes;
};

class BossKeyToggle : public ShortcutsTest, public ::testing::WithParamInterface<ToggleCase> {
protected:
    void SetUp() override {
        ShortcutsTest::SetUp();
        mainWindow.setGeometry(100, 100, 300, 200);
        mainWindow.showMaximized();
        companion.setGeometry(500, 100, 200, 200);
        companion.show();
        minimized.showMinimized();
        window.Show(); // the test's own form is a window of the program too
        QCoreApplication::processEvents();
        State.MainWindowHandle = win32::HandleOf(&mainWindow);
        State.PlayType = PlayTypes::MediaFile;
    }
    // The pause and resume commands' halves: running again sets the rate back to 1.
    void Toggle() {
        ToggleBossKey(
            [this] {
                ++pauses;
                GraphPause();
            },
            [this] {
                ++resumes;
                GraphRun();
            });
    }

    QWidget mainWindow, companion, minimized, neverShown;
    int pauses = 0;
    int resumes = 0;
};

TEST_P(BossKeyToggle, HidesEveryShownWindowAndBringsBackExactlyThoseAsTheyWere) {
    auto graph = testing_support::PlayFakeGraph(100);
    State.IsPlaying = GetParam().playing;
    State.IsPaused = GetParam().paused;
    State.PlayRate = 2.0;
    Toggle();
    EXPECT_TRUE(State.BossKeyHidden);
    EXPECT_TRUE(win32::VisibleTopLevelWindows().empty());
    EXPECT_EQ(pauses, GetParam().pauses);
    if (GetParam().stopsWhileHidden) {
        State.IsPlaying = false;
        State.IsPaused = false;
    }
    Toggle();
    EXPECT_FALSE(State.BossKeyHidden);
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_EQ(GetShowCmd(State.MainWindowHandle), win32::SW_SHOWMAXIMIZED);
    EXPECT_TRUE(companion.isVisible());
    EXPECT_FALSE(companion.isMaximized());
    EXPECT_TRUE(minimized.isVisible());
    EXPECT_TRUE(minimized.isMinimized());
    EXPECT_FALSE(neverShown.isVisible());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(resumes, GetParam().resumes);
    EXPECT_EQ(pauses, GetParam().pauses);
    if (GetParam().resumes > 0) {
        // The boss key gives the medium back the rate it played at.
        EXPECT_EQ(State.PlayRate, 2.0);
        ASSERT_FALSE(graph->rates.empty());
        EXPECT_EQ(graph->rates.back(), 2.0);
    } else {
        EXPECT_TRUE(graph->rates.empty());
    }
    ReleaseGraphInterfaces();
}

INSTANTIATE_TEST_SUITE_P(States, BossKeyToggle,
                         ::testing::Values(ToggleCase{"Playing", true, false, false, 1, 1},
                                           ToggleCase{"PausedByTheUser", true, true, false, 0, 0},
                                           ToggleCase{"Stopped", false, false, false, 0, 0},
                                           ToggleCase{"StoppedWhileHidden", true, false, true, 1, 0}),
                         testing_support::CaseName());

} // namespace
