#include "ui/AboutForm.h"

#include <QApplication>

#include <gtest/gtest.h>

#include "core/Shortcuts.h"
#include "core/WindowUtils.h"
#include "tests/support/CaseName.h"
#include "tests/support/WhileModal.h"
#include "tests/ui/MainFormFixture.h"

namespace ui_testing {
namespace {

class AboutTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        WriteIni(DefaultIniText());
        CreateUiFont();
        about = std::make_unique<TAbout_Form>();
    }
    void TearDown() override {
        about.reset();
        QuorelMain_Form = nullptr;
        FreeUiFont();
        MainFormTest::TearDown();
    }
    void Texts(int Language) {
        about->SetLanguage(Language);
        about->LoadTexts();
        about->ApplyTexts();
    }
    std::vector<TLabel*> Page() const {
        std::vector<TLabel*> labels;
        for (int i = 0; i < about->Content_SB->ControlCount(); ++i)
            labels.push_back(dynamic_cast<TLabel*>(about->Content_SB->Controls(i)));
        return labels;
    }
    std::vector<TColor> TabColours() const {
        return {about->Thanks_L->Font().Color(), about->ShortcutKey_L->Font().Color(),
                about->History_L->Font().Color()};
    }

    std::unique_ptr<TAbout_Form> about;
};

struct TextCase {
    const char* name;
    int language;
    const char* caption;
    std::vector<std::string> tabs; // thanks, shortcut key, history
    const char* thanksStart;
    const char* historyStart;
};

class AboutTexts : public AboutTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(AboutTexts, CaptionTabsAndPagesFollowTheLanguage) {
    Texts(GetParam().language);
    about->ShowThanksTab();
    EXPECT_EQ(about->Caption(), GetParam().caption);
    EXPECT_EQ((std::vector<std::string>{about->Thanks_L->Caption(), about->ShortcutKey_L->Caption(),
                                        about->History_L->Caption()}),
              GetParam().tabs);
    ASSERT_EQ(Page().size(), 1u);
    EXPECT_EQ(Page()[0]->Caption().rfind(GetParam().thanksStart, 0), 0u) << Page()[0]->Caption();
    about->ShowHistoryTab();
    ASSERT_EQ(Page().size(), 1u);
    EXPECT_EQ(Page()[0]->Caption().rfind(GetParam().historyStart, 0), 0u) << Page()[0]->Caption();
}

INSTANTIATE_TEST_SUITE_P(
    Languages, AboutTexts,
    ::testing::Values(TextCase{"English",
                               1,
                               "About",
                               {"Thanks", "Shortcut key", "History"},
                               "Thanks for you download and use TarvexDVD!\r\r\r\rTnanks all",
                               "TarvexDVD V1.2\r\r\r\rAll is begin from here"},
                      TextCase{"Chinese",
                               2,
                               "关于",
                               {"感谢", "快捷键", "历史"},
                               "感谢您下载和使用<Quorel播放>\r\r\r\r感谢所有关注",
                               "Quorel播放 V2.05\r\r\r\r一切由此开始"},
                      TextCase{"Other", 3, "", {"", "", ""}, "", ""}),
    testing_support::CaseName());

// A page is one white label at 80, 16 whose CR-only breaks show as lines; the chosen tab is blue.
TEST_F(AboutTest, ThanksPageShowsItsLinesInWhiteUnderABlueTab) {
    Texts(1);
    about->ShowThanksTab();
    ASSERT_EQ(Page().size(), 1u);
    TLabel* page = Page()[0];
    EXPECT_EQ(page->Left(), 80);
    EXPECT_EQ(page->Top(), 16);
    EXPECT_EQ(page->Font().Color(), clWhite);
    EXPECT_TRUE(page->Transparent());
    EXPECT_EQ(page->Font().Name(), State.UiFont->Name());
    TLabel oneLine;
    oneLine.Font().Assign(*State.UiFont);
    oneLine.SetCaption("Thanks");
    EXPECT_GE(page->Height(), 11 * oneLine.Height() - 1); // 5 texts with 4 + 2 + 2 + 2 breaks: 11 lines
    EXPECT_LT(page->Height(), 12 * oneLine.Height());
    EXPECT_EQ(TabColours(), (std::vector<TColor>{clBlue, clBlack, clBlack}));
    EXPECT_EQ(about->Content_SB->Color(), clBlack);
}

TEST_F(AboutTest, HoverTurnsOtherTabsGreenAndBackButLeavesTheChosenOneBlue) {
    Texts(2);
    about->ShowThanksTab();
    about->Thanks_L->OnMouseEnter(about->Thanks_L);
    about->ShortcutKey_L->OnMouseEnter(about->ShortcutKey_L);
    EXPECT_EQ(TabColours(), (std::vector<TColor>{clBlue, clLime, clBlack}));
    about->ShortcutKey_L->OnMouseLeave(about->ShortcutKey_L);
    about->Thanks_L->OnMouseLeave(about->Thanks_L);
    EXPECT_EQ(TabColours(), (std::vector<TColor>{clBlue, clBlack, clBlack}));
    // A click on a tab label chooses it.
    about->History_L->Click();
    EXPECT_EQ(TabColours(), (std::vector<TColor>{clBlack, clBlack, clBlue}));
    about->History_L->OnMouseEnter(about->History_L);
    EXPECT_EQ(TabColours(), (std::vector<TColor>{clBlack, clBlack, clBlue}));
}

// The command captions of the main window beside their stored keys, one per line; shown twice in a row the
// page is the same (the first page's labels are gone); a key missing from the settings shows the reader's
// text.
TEST_F(AboutTest, ShortcutPageListsTheCommandsWithTheirStoredKeys) {
    WriteIni(DefaultsWith("Goto", "Ctrl+H"));
    Start();
    QuorelMain_Form = form.get();
    std::string text = DefaultsWith("Goto", "Ctrl+H");
    text.erase(text.find("Stop=Ctrl+S\r\n"), 13);
    WriteIni(text);
    Texts(2);
    about->Show();
    about->ShortcutKey_L->Click();
    about->ShortcutKey_L->Click();
    const std::vector<TLabel*> page = Page();
    ASSERT_EQ(page.size(), 2u);
    EXPECT_EQ(page[0]->Left(), 80);
    EXPECT_EQ(page[1]->Left(), 308);
    std::string captions, keys;
    for (int i = 0; i < ShortCutCommandCount; ++i) {
        captions += form->CommandMenuItems[static_cast<std::size_t>(i)]->Caption() + (i < 27 ? "\r" : "");
        keys += ReadIniString("ShortCut", ShortCutKeys[static_cast<std::size_t>(i)]) + (i < 27 ? "\r" : "");
    }
    EXPECT_EQ(page[0]->Caption(), captions);
    EXPECT_EQ(page[0]->Caption().substr(0, page[0]->Caption().find('\r')), "打开文件...");
    EXPECT_EQ(page[1]->Caption(), keys);
    EXPECT_NE(keys.find("\rValue no find\r"), std::string::npos);
    EXPECT_NE(keys.find("\rCtrl+H\r"), std::string::npos);
    // 28 lines do not fit the content area: it scrolls.
    QCoreApplication::processEvents();
    EXPECT_GT(about->Content_SB->VertScrollRange(), 0);
}

// Shown by its launcher: the thanks page, each tab label centred between its separator and the next one.
TEST_F(AboutTest, LauncherShowsItModallyOverItsOwnerOnTheThanksPage) {
    TForm owner;
    owner.Show();
    testing_support::WhileModal modal([&](QWidget* Dialog) {
        auto* shown = dynamic_cast<TAbout_Form*>(Dialog);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->Caption(), "关于");
        EXPECT_EQ(shown->parentWidget(), &owner);
        EXPECT_EQ(shown->ClientWidth(), 496);
        EXPECT_EQ(shown->ClientHeight(), 302);
        EXPECT_EQ(shown->Thanks_L->Font().Color(), clBlue);
        const int line = shown->ThanksLine_P->Left(), next = shown->ShortcutKeyLine_P->Left();
        EXPECT_EQ(shown->Thanks_L->Left(), line + (next - line - shown->Thanks_L->Width()) / 2);
        const int last = shown->HistoryLine_P->Left();
        EXPECT_EQ(shown->History_L->Left(),
                  last + (shown->Title_P->Width() - last - shown->History_L->Width()) / 2);
        shown->Close();
    });
    ShowAboutDialog(owner.Handle(), 2);
    EXPECT_TRUE(modal.Ran());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
} // namespace ui_testing
