// The open-pair dialog of picture-in-picture, through its launcher.

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "core/DialogLaunchers.h"
#include "core/MenuSettings.h"
#include "core/WindowUtils.h"
#include "tests/support/CaseName.h"
#include "tests/support/WhileModal.h"
#include "tests/ui/MainFormFixture.h"
#include "ui/OpenPipForm.h"

namespace {

using namespace ui_testing;
using testing_support::WhileModal;

void Press(TButton* Button) {
    QTest::mouseClick(Button->findChild<QPushButton*>(), Qt::LeftButton);
}

class OpenPipFormTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        owner.Show();
        CreateUiFont();
    }
    void TearDown() override {
        FreeUiFont();
        MainFormTest::TearDown();
    }
    // Shows the dialog through its launcher; Steps run while it is up. The result, -1 when none was given.
    int Launch(const std::function<void(TOpenPip_Form&)>& Steps, int Language = Languages::Chinese) {
        int result = -1;
        WhileModal steps([&](QWidget* Dialog) {
            auto* form = dynamic_cast<TOpenPip_Form*>(Dialog);
            ASSERT_NE(form, nullptr);
            Steps(*form);
            if (form->isVisible())
                form->Close(); // the close box
        });
        ShowOpenPipDialog(owner.Handle(), Language, result);
        EXPECT_TRUE(steps.Ran());
        return result;
    }

    TForm owner;
};

struct TextCase {
    const char* name;
    int language;
    TOpenPipTexts texts;
};

class OpenPipTexts : public OpenPipFormTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(OpenPipTexts, TextsFollowTheLanguageAndTheFontIsTheDialogFont) {
    const TOpenPipTexts& want = GetParam().texts;
    Launch(
        [&](TOpenPip_Form& Form) {
            EXPECT_EQ(Form.Caption(), want.Caption);
            EXPECT_EQ(Form.MediaFileA_L->Caption(), want.MediaFileA);
            EXPECT_EQ(Form.MediaFileB_L->Caption(), want.MediaFileB);
            EXPECT_EQ(Form.SelTwoInfo_GB->Caption(), want.SelTwoInfo);
            EXPECT_EQ(Form.OK_Btn->Caption(), want.OK);
            EXPECT_EQ(Form.Cancel_Btn->Caption(), want.Cancel);
            EXPECT_EQ(Form.SpeedButton1->Caption(), "...");
            EXPECT_EQ(Form.Font().Name(), State.UiFont->Name());
            EXPECT_EQ(Form.MediaFileA_L->Font().Size(), 9);
            EXPECT_EQ(std::pair(Form.ClientWidth(), Form.ClientHeight()), std::pair(462, 211));
            EXPECT_TRUE(Form.EditA->ReadOnly());
            EXPECT_EQ(Form.EditA->Text(), "");
        },
        GetParam().language);
}

INSTANTIATE_TEST_SUITE_P(Languages, OpenPipTexts,
                         ::testing::Values(TextCase{"English",
                                                    1,
                                                    {"Open pip", "Media file A", "Media file B",
                                                     "Please select two media file to play pip function.",
                                                     "OK", "Cancel"}},
                                           TextCase{"Chinese",
                                                    2,
                                                    {"打开画中画", "媒体文件A", "媒体文件B",
                                                     "请选择两个媒体文件来运行画中画功能", "确定", "放弃"}},
                                           TextCase{"Other", 3, {}}),
                         testing_support::CaseName());

// The "..." buttons browse for a video file; an audio file is refused and the edit keeps what it had.
TEST_F(OpenPipFormTest, BrowsingTakesVideoFilesAndRefusesAudioFiles) {
    const std::string clip = Clip("a.mp4"), song = Tone("s.wav");
    Launch([&](TOpenPip_Form& Form) {
        chosenFiles = {clip};
        Press(Form.SpeedButton1);
        EXPECT_EQ(Form.EditA->Text(), clip);
        chosenFiles = {song};
        Press(Form.SpeedButton1);
        EXPECT_EQ(Form.EditA->Text(), clip);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].Text, song + " is not a valid video file. Please selected a video file.");
        EXPECT_EQ(boxes[0].Caption, "Information");
        chosenFiles = {};
        Press(Form.SpeedButton2);
        EXPECT_EQ(Form.EditB->Text(), "") << "a cancelled choice changes nothing";
    });
    ASSERT_EQ(dialogs.size(), 3u);
    EXPECT_EQ(dialogs[0].Filter, VideoFileFilter);
}

struct ResultCase {
    const char* name;
    bool chooseA, chooseB;
    bool pressOk, pressCancel;
    int result;
    bool stored;
};

class OpenPipResults : public OpenPipFormTest, public ::testing::WithParamInterface<ResultCase> {};

// Only an accepted OK gives 1 and stores the pair; after a refused OK the close box gives 0 and the pair of
// an earlier time stays, so that the caller does not open it by mistake.
TEST_P(OpenPipResults, OnlyAnAcceptedOkGivesOneAndStoresThePair) {
    const ResultCase& c = GetParam();
    const std::string a = Clip("a.mp4"), b = Clip("b.mp4");
    State.pipMediaFileA = "earlier A";
    State.pipMediaFileB = "earlier B";
    const int result = Launch([&](TOpenPip_Form& Form) {
        if (c.chooseA)
            Form.EditA->SetText(a);
        if (c.chooseB)
            Form.EditB->SetText(b);
        if (c.pressOk)
            Press(Form.OK_Btn);
        if (c.pressCancel)
            Press(Form.Cancel_Btn);
    });
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(State.pipMediaFileA, c.stored ? a : "earlier A");
    EXPECT_EQ(State.pipMediaFileB, c.stored ? b : "earlier B");
    const bool refused = c.pressOk && !c.stored;
    ASSERT_EQ(boxes.size(), refused ? 1u : 0u);
    if (refused) {
        EXPECT_EQ(boxes[0].Text, "You muse select two media file to play Picture in Picture procedure!");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, OpenPipResults,
    ::testing::Values(ResultCase{"OkWithBoth", true, true, true, false, 1, true},
                      ResultCase{"OkWithoutBThenCloseBox", true, false, true, false, 0, false},
                      ResultCase{"OkWithoutAThenCancel", false, true, true, true, 2, false},
                      ResultCase{"Cancel", true, true, false, true, 2, false},
                      ResultCase{"CloseBox", true, true, false, false, 0, false}),
    testing_support::CaseName());

TEST_F(OpenPipFormTest, NoOwnerShowsNoDialog) {
    int result = 7;
    ShowOpenPipDialog(nullptr, Languages::Chinese, result);
    EXPECT_EQ(result, 7);
}

} // namespace
