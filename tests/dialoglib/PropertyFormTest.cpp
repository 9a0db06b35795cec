#include "dialoglib/PropertyForm.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/QtApp.h"
#include "tests/support/TempDir.h"

using namespace forms;
using testing_support::TempDir;

namespace {

class PropertyFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::EnsureQApplication(); }
    void SetUpForm(TProperty_Form& Form, int Language, int PlayType, const std::string& Path) {
        Form.Font().SetName("MS Serf");
        Form.Font().SetSize(9);
        Form.SetLanguage(Language);
        Form.SetPlayType(PlayType);
        Form.LoadTexts();
        Form.ApplyTexts();
        Form.ShowFrameRate(29.97);
        Form.ShowMedia(Path, "0:03:25");
        Form.ShowResolution(0, 0);
    }
    TempDir dir;
};

TEST_F(PropertyFormTest, AnAudioFileShowsItsValuesAndTheCaptionsEndInOneColumn) {
    testing_support::WriteFile(dir.File("song.mp3"), std::string(3 * 1024 * 1024 + 5, 'x'));
    TProperty_Form form(nullptr);
    SetUpForm(form, 1, 4, dir.File("song.mp3"));
    form.Show();
    EXPECT_EQ(form.Caption(), "Property");
    EXPECT_EQ(form.TypeValue_L->Caption(), "File .mp3");
    EXPECT_EQ(form.MediaFileName_L->Caption(), "song.mp3");
    EXPECT_EQ(form.SizeValue_L->Caption(), "3MB (3145733 byte)");
    EXPECT_EQ(form.FrameSpeedValue_L->Caption(), "29.97");
    EXPECT_EQ(form.MediaTimeValue_L->Caption(), "0:03:25");
    EXPECT_EQ(form.ResolutionValue_L->Caption(), "0 * 0");
    EXPECT_EQ(form.Path_Memo->Lines().Text(), dir.File("song.mp3") + "\r\n");
    EXPECT_TRUE(form.Path_Memo->ReadOnly());
    for (TLabel* caption :
         {form.Type_L, form.Size_L, form.FrameSpeed_L, form.MediaTime_L, form.Resolution_L, form.Path_L}) {
        EXPECT_GT(caption->Width(), 0);
        EXPECT_EQ(caption->Left() + caption->Width(), 90) << caption->Caption();
    }
    form.Close();
}

TEST_F(PropertyFormTest, ADvdFolderInChineseAndNoTextsForOtherCodes) {
    std::filesystem::create_directories(dir.File("Dvd/VIDEO_TS"));
    testing_support::WriteFile(dir.File("Dvd/VIDEO_TS/VTS_01_1.VOB"), std::string(2048, 'v'));
    TProperty_Form chinese(nullptr);
    SetUpForm(chinese, 2, 2, dir.File("Dvd"));
    EXPECT_EQ(chinese.TypeValue_L->Caption(), "DVD");
    EXPECT_EQ(chinese.MediaFileName_L->Caption(), dir.File("Dvd"));
    EXPECT_EQ(chinese.SizeValue_L->Caption(), "0MB (2048 字节)");
    EXPECT_EQ(chinese.Resolution_L->Caption(), "视频分辨率:");

    TProperty_Form blank(nullptr);
    SetUpForm(blank, 0, 2, dir.File("Dvd"));
    EXPECT_EQ(blank.Caption() + blank.Type_L->Caption() + blank.Path_L->Caption() + blank.OK_Btn->Caption(),
              "");
    EXPECT_EQ(blank.SizeValue_L->Caption(), "0 (2048 )");
    EXPECT_EQ(blank.FrameSpeedValue_L->Caption(), "29.97");
}

} // namespace
