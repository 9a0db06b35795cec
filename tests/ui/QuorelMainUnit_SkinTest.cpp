// The skin buttons' pictures: the file each button shows for its state and event, the pictures after a change
// of the play state, and a missing picture that never stops what a button does.

#include <chrono>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "core/PlaybackState.h"
#include "tests/ui/MainFormFixture.h"
#include "ui/QuorelMainUnit_Skin.h"

namespace {

using namespace ui_testing;
using E = TSkinEvent;

// The file the state rule loads, by button, variant, enabled state and event; irregular names included.
TEST(SkinPictures, EachEventLoadsTheFileOfItsState) {
    struct Case {
        const char* Button;
        int Variant;
        bool Enabled;
        TSkinEvent Event;
        const char* File; // "" when the event changes no picture
    } const cases[] = {
        {"Open_xi", 0, true, E::MouseEnter, "Open_Hight_btn.bmp"},
        {"Open_xi", 0, true, E::MouseDown, "Open_Enter_btn.bmp"},
        {"Open_xi", 0, true, E::MouseUp, "Open_Normal_btn.bmp"},
        {"Open_xi", 0, true, E::MouseLeave, "Open_Normal_btn.bmp"},
        {"Forward_XI", 0, true, E::MouseEnter, "ForWard_Hight_Btn.bmp"},
        {"Forward_XI", 0, true, E::MouseDown, "Forward_Enter_Btn.bmp"},
        {"Backward_XI", 0, true, E::MouseDown, "BackWard_Enter_Btn.bmp"},
        {"Opendvd_xi", 0, true, E::MouseDown, "Opendvd_enter_btn.bmp"},
        {"Previous_XI", 0, true, E::MouseEnter, "Prev_Hight_Btn.bmp"},
        {"VideoBar_XI", 0, true, E::MouseEnter, "VideoBar_hight.bmp"},
        {"VideoBar_XI", 0, true, E::MouseDown, "VideoBar_hight.bmp"},
        {"SoundBar_XI", 0, true, E::MouseUp, "SoundBar_Normal.bmp"},
        {"Menu_xi", 0, true, E::MouseEnter, "Menu_Hight_Menu.bmp"},
        {"Menu_xi", 0, true, E::MouseDown, ""}, // no press or release pictures
        {"Menu_xi", 0, true, E::MouseUp, ""},
        {"Max_xi", SkinVariants::Restore, true, E::MouseEnter, "Restore_Hight_Btn.bmp"},
        {"Max_xi", SkinVariants::Max, true, E::MouseDown, "Max_Enter_Btn.bmp"},
        {"Ontop_xi", 2, true, E::MouseLeave, "TopatPlay_Normal_btn.bmp"},
        {"Ontop_xi", 1, true, E::MouseDown, "Toped_Enter_btn.bmp"},
        {"Ontop_xi", 7, true, E::MouseEnter, ""}, // a mode outside 0 to 2 has no picture
        {"PlayPause_XI", SkinVariants::Pause, true, E::MouseEnter, "Pause_Hight_Btn.bmp"},
        {"PlayPause_XI", SkinVariants::Play, true, E::MouseDown, "Play_Enter_Btn.bmp"},
        {"PlayPause_XI", SkinVariants::Play, true, E::MouseUp, ""}, // its release shows the new state
        {"Stop_XI", 0, true, E::MouseUp, ""},
        {"Volume_XI", SkinVariants::Slience, true, E::MouseUp, "Slience_Hight_btn.bmp"},
        {"Volume_XI", SkinVariants::Sound, true, E::MouseLeave, "Sound_Normal_btn.bmp"},
        // Disabled: enter and leave change nothing on the seven that can be disabled; five skip their press
        // too.
        {"Stop_XI", 0, false, E::MouseEnter, ""},
        {"Stop_XI", 0, false, E::MouseLeave, ""},
        {"Next_XI", 0, false, E::MouseDown, ""},
        {"Forward_XI", 0, false, E::MouseUp, ""},
        {"Capture_XI", 0, false, E::MouseEnter, ""},
        {"maxmin_xi", 0, false, E::MouseLeave, ""},
        {"Capture_XI", 0, false, E::MouseDown, "Capture_Enter_btn.bmp"},
        // Its click may have disabled it (full screen left after the end): the release shows that.
        {"maxmin_xi", 0, false, E::MouseUp, "Maxmin_Disable_btn.bmp"},
        {"Open_xi", 0, false, E::MouseEnter, "Open_Hight_btn.bmp"}, // not one of the seven
    };
    for (const Case& c : cases)
        EXPECT_EQ(SkinPictureOnEvent(c.Button, c.Variant, c.Enabled, c.Event), c.File)
            << c.Button << " " << c.Variant << " " << c.Enabled << " " << static_cast<int>(c.Event);
}

TEST(SkinPictures, DisablePicturesOfTheSevenThatCanBeDisabled) {
    const std::pair<const char*, const char*> disabled[] = {
        {"Stop_XI", "Stop_Disable_Btn.bmp"},       {"Previous_XI", "Prev_Disable_Btn.bmp"},
        {"Next_XI", "Next_Disable_Btn.bmp"},       {"Backward_XI", "BackWard_Disable_Btn.bmp"},
        {"Forward_XI", "ForWard_Disable_Btn.bmp"}, {"Capture_XI", "Capture_Disable_btn.bmp"},
        {"maxmin_xi", "Maxmin_Disable_btn.bmp"},
    };
    for (const auto& [button, file] : disabled) {
        EXPECT_EQ(SkinPictureName(button, 0, TSkinState::Disable), file);
        EXPECT_TRUE(SkinButtonCanBeDisabled(button)) << button;
    }
    for (const char* button : {"PlayPause_XI", "Open_xi", "Volume_XI", "Menu_xi", "Option_XI"}) {
        EXPECT_EQ(SkinPictureName(button, 0, TSkinState::Disable), "") << button;
        EXPECT_FALSE(SkinButtonCanBeDisabled(button)) << button;
    }
}

// Every file the table names is a file of the default skin (the build draws the skin from the same names).
TEST(SkinPictures, EveryNamedFileIsInTheDefaultSkin) {
    std::set<std::string> skin;
    for (const auto& file : skinart::DefaultSkinFiles())
        skin.insert(file.Name);
    const std::pair<const char*, int> buttons[] = {
        {"Menu_xi", 0},   {"Ontop_xi", 0},    {"Ontop_xi", 1},    {"Ontop_xi", 2},     {"Min_xi", 0},
        {"Max_xi", 0},    {"Max_xi", 1},      {"Close_xi", 0},    {"PlayPause_XI", 0}, {"PlayPause_XI", 1},
        {"Stop_XI", 0},   {"Previous_XI", 0}, {"Next_XI", 0},     {"Backward_XI", 0},  {"Forward_XI", 0},
        {"Volume_XI", 0}, {"Volume_XI", 1},   {"Open_xi", 0},     {"Opendvd_xi", 0},   {"Capture_XI", 0},
        {"maxmin_xi", 0}, {"Option_XI", 0},   {"VideoBar_XI", 0}, {"SoundBar_XI", 0},
    };
    for (const auto& [button, variant] : buttons)
        for (TSkinState state :
             {TSkinState::Normal, TSkinState::Hight, TSkinState::Enter, TSkinState::Disable}) {
            const std::string name = SkinPictureName(button, variant, state);
            if (state == TSkinState::Normal) {
                EXPECT_FALSE(name.empty()) << button;
            }
            if (!name.empty()) {
                EXPECT_TRUE(skin.count(name)) << name;
            }
        }
}

// The hints in English and in Chinese; any other language code leaves the hints as they are.
TEST_F(MainFormTest, HintsFollowTheLanguage) {
    Start();
    struct Case {
        tximage* TQuorelMain_Form::*Button;
        const char* English;
        const char* Chinese;
    } const cases[] = {
        {&TQuorelMain_Form::Close_xi, "关闭", "关闭"}, // "close" has no English hint of its own: it stays
        {&TQuorelMain_Form::Opendvd_xi, "Open CD/DVD driver", "打开光驱"},
        {&TQuorelMain_Form::Forward_XI, "Acceperate", "加速播放"},
        {&TQuorelMain_Form::Option_XI, "Set Play value", "选项"},
        {&TQuorelMain_Form::Max_xi, "Maximize or Windows", "最大化"},
    };
    // From the Chinese of the start-up: English, another code (nothing changes), Chinese again.
    for (int language : {1, 0, 2}) {
        State.Language = language;
        form->ApplyHints();
        for (const Case& c : cases)
            EXPECT_EQ((form.get()->*c.Button)->Hint(), language == 2 ? c.Chinese : c.English) << language;
    }
}

class SkinStateTest : public MainFormTest {
protected:
    void OpenClip(const std::string& File) {
        chosenFiles = {File};
        form->OpenFileDialog();
        ASSERT_TRUE(State.IsPlaying);
    }
};

// The end of a medium leaves the buttons as the stop does: the Play picture and the disabled transport.
TEST_F(SkinStateTest, AfterTheEndTheButtonsShowThatNothingPlays) {
    Run();
    OpenClip(Clip("a.mp4"));
    EXPECT_TRUE(Shows(form->PlayPause_XI, "Pause_Normal_Btn.bmp"));
    EXPECT_TRUE(Shows(form->Stop_XI, "Stop_Normal_Btn.bmp"));
    ASSERT_TRUE(State.MediaSeeking);
    std::int64_t stop = 0;
    State.MediaSeeking->GetStopPosition(&stop);
    State.MediaSeeking->SetPositions(&stop, dshow::AM_SEEKING_AbsolutePositioning, nullptr,
                                     dshow::AM_SEEKING_NoPositioning);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (State.IsPlaying && std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents();
        form->Ctrl_TTimer(nullptr);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_FALSE(State.IsPlaying);
    EXPECT_EQ(form->Status_L->Caption(), "准备完毕");
    EXPECT_TRUE(Shows(form->PlayPause_XI, "Play_Normal_Btn.bmp"));
    EXPECT_TRUE(Shows(form->Stop_XI, "Stop_Disable_Btn.bmp"));
    EXPECT_TRUE(Shows(form->Backward_XI, "BackWard_Disable_Btn.bmp"));
    EXPECT_TRUE(Shows(form->Forward_XI, "ForWard_Disable_Btn.bmp"));
    EXPECT_TRUE(Shows(form->maxmin_xi, "Maxmin_Disable_btn.bmp"));
}

// A pause and a resume show the state on the play/pause button, whichever route asked for them.
TEST_F(SkinStateTest, PauseAndResumeShowTheirPictures) {
    Run();
    OpenClip(Clip("a.mp4"));
    form->pPlayPause->Click();
    EXPECT_TRUE(Shows(form->PlayPause_XI, "Play_Normal_Btn.bmp"));
    EXPECT_TRUE(Shows(form->Forward_XI, "ForWard_Disable_Btn.bmp"));
    form->tPlayPause->Click();
    EXPECT_TRUE(Shows(form->PlayPause_XI, "Pause_Normal_Btn.bmp"));
    EXPECT_TRUE(Shows(form->Forward_XI, "ForWard_Normal_Btn.bmp"));
}

// A missing picture is reported once per file and never stops what the button does: the knob's release still
// seeks and starts the progress timer again, the tray door still opens, the window still maximizes.
TEST_F(SkinStateTest, AMissingPictureNeverStopsTheButtonsAction) {
    for (const char* file : {"VideoBar_Normal.bmp", "Opendvd_Normal_btn.bmp", "Max_Normal_Btn.bmp"})
        std::filesystem::remove(State.SkinPath + file);
    Run();
    OpenClip(Copy(LongClip(), "long.mp4"));
    for (int i = 0; i < 5 && !State.PositionReady; ++i)
        form->Ctrl_TTimer(nullptr);

    PressAt(Over(form->VideoBar_XI));
    EXPECT_FALSE(form->Ctrl_T->Enabled());
    MoveTo(At(form->VideoPro_XI, {form->VideoPro_XI->Width() / 2, 2}));
    ReleaseAt(At(form->VideoPro_XI, {form->VideoPro_XI->Width() / 2, 2}));
    EXPECT_TRUE(form->Ctrl_T->Enabled());
    std::int64_t position = 0;
    State.MediaSeeking->GetCurrentPosition(&position);
    EXPECT_GT(position, 3 * 10000000LL) << "the knob's seek happened";

    const auto opened = discTray.Calls().size();
    ClickAt(Over(form->Opendvd_xi));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (discTray.Calls().size() == opened && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(discTray.Calls().size(), opened + 1);

    form->Max_xi->Click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->isMaximized());
    form->Max_xi->Click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(form->isMaximized());

    // One report per file, however often it is asked for.
    ASSERT_EQ(errors.size(), 3u);
    for (const char* file : {"VideoBar_Normal.bmp", "Opendvd_Normal_btn.bmp", "Max_Normal_Btn.bmp"})
        EXPECT_EQ(std::count_if(errors.begin(), errors.end(),
                                [&](const std::string& e) { return e.find(file) != std::string::npos; }),
                  1)
            << file;
}

} // namespace
