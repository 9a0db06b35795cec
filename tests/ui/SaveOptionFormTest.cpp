// The capture save-option dialog and its launcher: the defaults it offers and returns, the settings each
// check box writes at once, its texts, and the launcher's frame.

#include <gtest/gtest.h>

#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "platform/forms/Dialogs.h"
#include "tests/support/QtApp.h"
#include "tests/support/RunTree.h"
#include "tests/support/WhileModal.h"
#include "ui/SaveOptionForm.h"

namespace {

using testing_support::ReadFile;
using testing_support::RunTree;
using testing_support::WriteFile;

class SaveOptionFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUp() override {
        WriteFile(tree.IniFile(),
                  "[File]\r\nCaptureImagePath=/shots\r\nDefaultImageType=.jpg\r\nAskSaveOption=1\r\n");
    }
    void TearDown() override { forms::SetSelectDirectoryHandler(nullptr); }
    RunTree tree;
};

TEST_F(SaveOptionFormTest, SaveAtOnceReturnsTheStoredDefaults) {
    TSaveOption_Form dialog;
    EXPECT_TRUE(dialog.UseDef_CB->Checked());
    EXPECT_FALSE(dialog.Path_E->Enabled());
    EXPECT_FALSE(dialog.Other_SB->Enabled());
    EXPECT_FALSE(dialog.SaveType_Cob->Enabled());
    EXPECT_EQ(dialog.Path_E->Text(), "/shots");
    EXPECT_EQ(dialog.SaveType_Cob->Text(), ".jpg");
    EXPECT_FALSE(dialog.DontAsk_CB->Checked());
    dialog.Save_Btn->Click();
    EXPECT_EQ(dialog.SavePath, "/shots");
    EXPECT_EQ(dialog.SaveType, ".jpg");
    EXPECT_EQ(ReadIniInteger("File", "AskSaveOption"), 1) << "the load wrote nothing";
}

// A missing folder setting is not the folder "Value no find": the Temp folder is offered and returned, and
// an unknown type leaves the list without a choice (Save returns no type).
TEST_F(SaveOptionFormTest, AMissingFolderIsTheTempFolder) {
    WriteFile(tree.IniFile(), "[File]\r\nDefaultImageType=.png\r\nAskSaveOption=0\r\n");
    TSaveOption_Form dialog;
    EXPECT_EQ(dialog.Path_E->Text(), State.TempPath);
    EXPECT_EQ(dialog.SaveType_Cob->ItemIndex(), -1);
    EXPECT_TRUE(dialog.DontAsk_CB->Checked());
    dialog.Save_Btn->Click();
    EXPECT_EQ(dialog.SavePath, State.TempPath);
    EXPECT_EQ(dialog.SaveType, "");
    dialog.SaveAsDef_CB->SetChecked(true);
    EXPECT_EQ(ReadIniString("File", "CaptureImagePath"), State.TempPath) << "never the sentinel";
}

// Unlocked, another folder browsed and another type chosen: those come back. Locked again: the defaults
// come back, whatever was browsed meanwhile.
TEST_F(SaveOptionFormTest, TheChoiceOrTheDefaultsAsTheBoxSays) {
    forms::SetSelectDirectoryHandler([](const std::string& Caption, std::string& Directory) {
        EXPECT_EQ(Caption, "Please select a path:");
        Directory = "/elsewhere";
        return true;
    });
    TSaveOption_Form dialog;
    dialog.UseDef_CB->SetChecked(false);
    EXPECT_TRUE(dialog.Path_E->Enabled());
    EXPECT_TRUE(dialog.SaveType_Cob->Enabled());
    dialog.Other_SB->Click();
    EXPECT_EQ(dialog.Path_E->Text(), "/elsewhere");
    dialog.SaveType_Cob->SetItemIndex(0);
    dialog.Save_Btn->Click();
    EXPECT_EQ(dialog.SavePath, "/elsewhere");
    EXPECT_EQ(dialog.SaveType, ".bmp");
    dialog.UseDef_CB->SetChecked(true);
    dialog.Save_Btn->Click();
    EXPECT_EQ(dialog.SavePath, "/shots");
    EXPECT_EQ(dialog.SaveType, ".jpg");
    // A cancelled browser changes nothing.
    forms::SetSelectDirectoryHandler([](const std::string&, std::string&) { return false; });
    dialog.UseDef_CB->SetChecked(false);
    dialog.Other_SB->Click();
    EXPECT_EQ(dialog.Path_E->Text(), "/elsewhere");
}

// Each check box writes its setting at once: "Save as default" each time it is checked (never when
// unchecked), "Don't ask" both ways.
TEST_F(SaveOptionFormTest, CheckBoxesWriteTheirSettingsAtOnce) {
    TSaveOption_Form dialog;
    dialog.UseDef_CB->SetChecked(false);
    dialog.Path_E->SetText("/first");
    dialog.SaveType_Cob->SetItemIndex(0);
    dialog.SaveAsDef_CB->SetChecked(true);
    EXPECT_EQ(ReadIniString("File", "CaptureImagePath"), "/first");
    EXPECT_EQ(ReadIniString("File", "DefaultImageType"), ".bmp");
    dialog.SaveAsDef_CB->SetChecked(false);
    dialog.Path_E->SetText("/second");
    EXPECT_EQ(ReadIniString("File", "CaptureImagePath"), "/first");
    dialog.SaveAsDef_CB->SetChecked(true);
    EXPECT_EQ(ReadIniString("File", "CaptureImagePath"), "/second");
    dialog.DontAsk_CB->SetChecked(true);
    EXPECT_EQ(ReadIniInteger("File", "AskSaveOption"), 0);
    dialog.DontAsk_CB->SetChecked(false);
    EXPECT_EQ(ReadIniInteger("File", "AskSaveOption"), 1);
}

struct TextsCase {
    int language;
    const char* caption;
    const char* useDefault;
    const char* dontAsk;
    const char* save;
};

class SaveOptionTexts : public SaveOptionFormTest, public ::testing::WithParamInterface<TextsCase> {};

TEST_P(SaveOptionTexts, FollowTheLanguage) {
    TSaveOption_Form dialog;
    dialog.SetLanguage(GetParam().language);
    dialog.LoadTexts();
    dialog.ApplyTexts();
    EXPECT_EQ(dialog.Caption(), GetParam().caption);
    EXPECT_EQ(dialog.UseDef_CB->Caption(), GetParam().useDefault);
    EXPECT_EQ(dialog.DontAsk_CB->Caption(), GetParam().dontAsk);
    EXPECT_EQ(dialog.Save_Btn->Caption(), GetParam().save);
    EXPECT_EQ(dialog.SaveAsDef_CB->Caption(), "Save as default");
}

INSTANTIATE_TEST_SUITE_P(Languages, SaveOptionTexts,
                         ::testing::Values(TextsCase{1, "Save image", "Use default option",
                                                     "Don't ask again, use default option.", "Save"},
                                           TextsCase{2, "保存图片", "使用默认选项",
                                                     "不要再询问，直接使用默认选项。", "保存"},
                                           TextsCase{3, "", "", "", ""}));

// The launcher shows the dialog modally and hands back its results; closed by its close box the type is
// empty (and "Don't ask" checked meanwhile stays written); a handle of 0 shows nothing.
TEST_F(SaveOptionFormTest, TheLauncherHandsBackTheResults) {
    forms::TForm owner;
    owner.Show();
    std::string folder = "untouched", type = "untouched";
    ShowSaveOptionDialog(nullptr, 2, folder, type);
    EXPECT_EQ(folder, "untouched");
    {
        testing_support::WhileModal save([](QWidget* Dialog) {
            auto* d = dynamic_cast<TSaveOption_Form*>(Dialog);
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->Caption(), "保存图片");
            d->Save_Btn->Click();
        });
        ShowSaveOptionDialog(owner.Handle(), 2, folder, type);
        EXPECT_TRUE(save.Ran());
    }
    EXPECT_EQ(folder, "/shots");
    EXPECT_EQ(type, ".jpg");
    {
        testing_support::WhileModal closeBox([](QWidget* Dialog) {
            static_cast<TSaveOption_Form*>(Dialog)->DontAsk_CB->SetChecked(true);
            Dialog->close();
        });
        ShowSaveOptionDialog(owner.Handle(), 1, folder, type);
        EXPECT_TRUE(closeBox.Ran());
    }
    EXPECT_EQ(folder, "");
    EXPECT_EQ(type, "");
    EXPECT_EQ(ReadIniInteger("File", "AskSaveOption"), 0);
}

} // namespace
