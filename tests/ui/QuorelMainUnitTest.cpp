#include "ui/QuorelMainUnit.h"

#include <filesystem>

#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include "assets/SkinArt.h"
#include "core/MediaOpen.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/Transport.h"
#include "platform/audio/Bass.h"
#include "platform/com/Guids.h"
#include "platform/com/Unknown.h"
#include "platform/forms/StringList.h"
#include "platform/win32/Drives.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/ScreenSaver.h"
#include "platform/win32/Window.h"
#include "tests/support/AudioFixtures.h"
#include "tests/support/LivePipelines.h"
#include "tests/support/QtApp.h"
#include "tests/support/RunTree.h"
#include "tests/support/TempDir.h"
#include "tests/support/WhileModal.h"
#include "tests/ui/MainFormFixture.h"

using namespace forms;
using testing_support::ReadFile;
using testing_support::RunTree;
using testing_support::WriteFile;

namespace {

using namespace ui_testing;

TEST_F(MainFormTest, FreshTreeGetsTheDefaultSettingsBeforeAnyIsRead) {
    std::filesystem::remove_all(tree.Folders().IniPath);
    Start();
    std::string expected = DefaultIniText();
    expected.replace(expected.find("CaptureImagePath="), 17, "CaptureImagePath=" + State.TempPath);
    EXPECT_EQ(ReadFile(tree.IniFile()), expected);
    EXPECT_EQ(State.SoundLevel, 30);
    EXPECT_EQ(State.PlayType, 1);
    EXPECT_FALSE(State.isSlience);
    EXPECT_EQ(State.ReverseType, -1);  // not in the default text
    EXPECT_EQ(State.RenderType, 1009); // SelKernelType=1 with RenderType=1009
    EXPECT_EQ(State.SkinPath, tree.Root() + "/Skin/Default/");
    EXPECT_EQ(State.IniFilePath, tree.IniFile());
    EXPECT_EQ(State.MainWindowHandle, form->Handle());
    EXPECT_EQ(State.VideoPanelHandle, form->Video_P->Handle());
}

TEST_F(MainFormTest, SettingsGoIntoTheSharedState) {
    WriteIni(
        "[Play]\r\nStayOnTop=2\r\nisSlience=256\r\nSoundLevel=57\r\nSelKernelType=1\r\nRenderType=1000\r\n"
        "[PlayControl]\r\nDefDriver=E:\r\nAutoResumePlay=2\r\nLastPlayType=4\r\nReloadLast=0\r\n"
        "MemoryLastPos=0\r\nLastPos=-5\r\nLastMediaFile=/m/"
        "a.mp3\r\nPlayMode=3\r\n[Pip]\r\nReverseType=2\r\n");
    Start();
    EXPECT_EQ(State.StayOnTop, 2);
    EXPECT_FALSE(State.isSlience); // only the lowest byte counts
    EXPECT_EQ(State.SoundLevel, 57);
    EXPECT_EQ(State.VolumeAttenuation, VolumeForLevel(57));
    EXPECT_EQ(State.RenderType, 1000); // the stored renderer replaces the detected one
    EXPECT_EQ(State.DefDriver, "E:");
    EXPECT_EQ(State.AutoResumePlay, 2);
    EXPECT_EQ(State.PlayType, 4);
    EXPECT_EQ(form->ReloadLastSetting, 0);
    EXPECT_EQ(form->MemoryLastPosSetting, 0);
    EXPECT_EQ(State.LastPos, -5);
    EXPECT_EQ(State.CurrentMediaFile, "/m/a.mp3");
    EXPECT_EQ(State.PlayMode, 3);
    EXPECT_EQ(State.ReverseType, 2);
    EXPECT_EQ(State.Language, Languages::Chinese);
    EXPECT_EQ(State.PlayRate, 1.0);
    EXPECT_EQ(State.SelectedPlayListRow, -1);
    EXPECT_EQ(State.DarkGreyColor, win32::RGB(81, 81, 81));
    ASSERT_NE(State.UiFont, nullptr);
    EXPECT_EQ(State.UiFont->Size(), 9);
    EXPECT_EQ(State.UiFont->Name(), Screen().IconFont().Name());
}

TEST_F(MainFormTest, MissingKeysNeitherNameADriveNorIndexOutsideTheVolumeTable) {
    WriteIni("[File]\r\n");
    Start();
    EXPECT_EQ(State.DefDriver, "");        // not "Value no find"
    EXPECT_EQ(State.CurrentMediaFile, ""); // likewise
    EXPECT_EQ(State.SoundLevel, 30);
    EXPECT_EQ(State.VolumeAttenuation, VolumeForLevel(30));
    EXPECT_TRUE(State.isSlience); // the fallback -1 has a non-zero low byte
    EXPECT_EQ(State.RenderType, DetectRenderer());
}

TEST_F(MainFormTest, OutOfRangeSoundLevelIsClamped) {
    for (const auto& [stored, level] : {std::pair{"150", 100}, std::pair{"-7", 0}, std::pair{"abc", 0}}) {
        WriteIni(DefaultsWith("SoundLevel", stored));
        Start();
        EXPECT_EQ(State.SoundLevel, level) << stored;
        EXPECT_EQ(State.VolumeAttenuation, VolumeForLevel(level));
        form.reset();
    }
}

template <class T> std::vector<std::string> Names(const std::vector<T*>& Items) {
    std::vector<std::string> names;
    for (T* item : Items)
        names.push_back(item != nullptr ? item->Name() : "(none)");
    return names;
}

TEST_F(MainFormTest, ControlTablesInTheirOrder) {
    Start();
    using V = std::vector<std::string>;
    EXPECT_EQ(Names(form->TransportButtons),
              (V{"PlayPause_XI", "Stop_XI", "Backward_XI", "Forward_XI", "Previous_XI", "Next_XI"}));
    EXPECT_EQ(Names(form->ProgressBarImages), (V{"VideoPro_XI", "SoundPro_XI"}));
    EXPECT_EQ(Names(form->FileMenuItems), (V{"pClose", "pCapturescreen", "pProperty"}));
    EXPECT_EQ(Names(form->PlayMenuItems),
              (V{"pPlayPause", "pStop", "pSingleframestep", "pPlayPrevious", "pPlayNext", "pPlaycontrol"}));
    EXPECT_EQ(Names(form->PipMenuItems),
              (V{"pPipsetup", "pPipstandardpos", "pPicalpha", "pPicswap", "pPicreverse", "pPicRestore"}));
    EXPECT_EQ(Names(form->PipReverseMenuItems),
              (V{"pNoreverse", "pUpdownreverse", "pLeftrightreverse", "pCompletereverse"}));
    EXPECT_EQ(Names(form->ScaleMenuItems),
              (V{"pKeeporiginal", "pFillWholeWindow", "pScale43", "pScale54", "pScale169"}));
    EXPECT_EQ(Names(form->ChannelMenuItems), (V{"pStereo", "pLefttrack", "pRighttrack"}));
    EXPECT_EQ(Names(form->OnTopMenuItems), (V{"pNonever", "pAlways", "pOnlyplaying"}));
    EXPECT_EQ(Names(form->AfterPlayMenuItems), (V{"pShutdown", "pDormant", "pAfterExit", "pDonothing"}));
    EXPECT_EQ(Names(form->PlayModeMenuItems),
              (V{"pNone", "pCircleplay", "pRandomplay", "pCirclesingleplay"}));
    EXPECT_EQ(Names(form->DvdMenuItems),
              (V{"pPreviouschapter", "pNextchapter", "pSubpicture", "pDublanguage", "pAngle", "pMainmenu",
                 "pTitlemenu", "pChaptermenu", "pSubpictureMenu", "pDubmenu", "pAnglemenu"}));
    EXPECT_EQ(Names(form->StatusLabels), (V{"Status_L", "Time_L"}));
    const V commands = {
        "OpenFile",    "OpenDvdDirectory", "Close",          "CaptureScreen", "Property",      "PlayPause",
        "Stop",        "SingleFrameStep",  "PlayPrevious",   "PlayNext",      "Goto",          "Forward",
        "Backward",    "AcceleratePlay",   "DeceleratePlay", "NormalPlay",    "PreviousFrame", "NextFrame",
        "HoistVolume", "DebaseVolume",     "Slience",        "Stereo",        "LeftTrack",     "RightTrack",
        "BossKey",     "Option",           "PlayList",       "FullScreen"};
    V actions;
    for (const auto& c : commands)
        actions.push_back("a" + c);
    EXPECT_EQ(Names(form->CommandActions), actions);
    EXPECT_EQ(Names(form->CommandMenuItems),
              (V{"pOpenFile",      "pOpendvddirectory", "pClose",          "pCapturescreen",
                 "pProperty",      "pPlayPause",        "pStop",           "pSingleframestep",
                 "pPlayPrevious",  "pPlayNext",         "pGoto",           "pForward",
                 "pBackward",      "pAccelerateplay",   "pDecelerateplay", "pNormalplay",
                 "pPreviousframe", "pNextframe",        "pHoistvolume",    "pDebasevolume",
                 "pSlience",       "pStereo",           "pLefttrack",      "pRighttrack",
                 "pBosskey",       "pOption",           "pPlaylistView",   "pFullscreen"}));
    EXPECT_EQ(form->Short_AL->Count(), 28);
}

TEST_F(MainFormTest, TheThirteenSharedListsLiveFromCreationToClose) {
    Start();
    const std::unique_ptr<TStringList>* lists[] = {
        &State.History,       &State.DriveList,         &State.SavedCaptureFiles, &State.DvdChapterList,
        &State.IfoFolderList, &State.VobFolderList,     &State.DvdFolderList,     &State.PlayListFiles,
        &State.PlayListLines, &State.PlayListPositions, &State.LrcTimes,          &State.LrcTexts,
        &State.LrcOffsets};
    for (const auto* list : lists) {
        ASSERT_NE(*list, nullptr);
        EXPECT_TRUE((*list)->Empty());
    }
    CloseForm();
    for (const auto* list : lists)
        EXPECT_EQ(*list, nullptr);
}

TEST_F(MainFormTest, StartUpLeavesTheWindowReadyWithNothingPlaying) {
    Start();
    EXPECT_EQ(form->Width(), 688);
    EXPECT_EQ(form->Height(), 442);
    EXPECT_EQ(form->Left(), (Screen().Width() - 688 - 56) / 2);
    EXPECT_EQ(form->PL_L->Caption(), "播放列表");
    EXPECT_EQ(form->CL_L->Caption(), "截屏列表");
    EXPECT_EQ(form->Status_L->Caption(), "准备完毕");
    EXPECT_EQ(form->Status_L->Font().Color(), cl3DLight);
    EXPECT_EQ(form->PL_L->Font().Color(), static_cast<TColor>(win32::RGB(153, 153, 153)));
    EXPECT_EQ(form->Time_L->Left() + form->Time_L->Width(), 688 - 10);
    for (TTimer* timer : {form->Ctrl_T, form->RePaint_T}) {
        EXPECT_EQ(timer->Interval(), 30u);
        EXPECT_FALSE(timer->Enabled());
    }
    EXPECT_FALSE(form->Capture_XI->Enabled());
    for (tximage* button : form->TransportButtons)
        EXPECT_FALSE(button->Enabled()) << button->Name();
    EXPECT_TRUE(Shows(form->Stop_XI, "Stop_Disable_Btn.bmp"));
    EXPECT_TRUE(Shows(form->Capture_XI, "Capture_Disable_btn.bmp"));
    EXPECT_TRUE(Shows(form->maxmin_xi, "Maxmin_Normal_btn.bmp"));
    EXPECT_TRUE(Shows(form->PlayPause_XI, "Play_Normal_Btn.bmp"));
    for (const auto* table :
         {&form->FileMenuItems, &form->PlayMenuItems, &form->DvdMenuItems, &form->PipMenuItems})
        for (TMenuItem* item : *table)
            EXPECT_FALSE(item->Enabled()) << item->Name();
    EXPECT_TRUE(form->pOpenFile->Enabled());
    EXPECT_EQ(form->Close_xi->Hint(), "关闭");
    EXPECT_EQ(form->Option_XI->Hint(), "选项");
    EXPECT_TRUE(boxes.empty()); // the audio library is 2.4
}

TEST_F(MainFormTest, WrongAudioLibraryVersionIsReportedAndStartUpGoesOn) {
    TQuorelMain_Form::AudioLibraryVersion = [] { return 0x02030000u; };
    Start();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "\"Bass.dll\" {文件版本不合适}File version of the inappropriate! ");
    EXPECT_EQ(boxes[0].Caption, "Error");
    EXPECT_EQ(boxes[0].Owner, nullptr);
    EXPECT_EQ(boxes[0].Type, win32::MB_ICONERROR);
    EXPECT_EQ(form->Option_XI->Hint(), "选项"); // the last start-up step ran
}

// The layout after a resize, at the design width and at a wider one: the title buttons and tool buttons from
// the right, the strips across.
TEST_F(MainFormTest, LayoutAtTwoWidths) {
    StartShown();
    struct Place {
        const char* Control;
        int Left688, Left1000;
    } const places[] = {
        {"Close_xi", 664, 976},   {"Max_xi", 641, 953},     {"Min_xi", 618, 930},    {"Ontop_xi", 595, 907},
        {"Menu_xi", 572, 884},    {"Option_XI", 650, 962},  {"maxmin_xi", 622, 934}, {"Capture_XI", 594, 906},
        {"Opendvd_xi", 565, 877}, {"Open_xi", 536, 848},    {"VideoPro_XI", 40, 40}, {"TopBar_xi", 2, 2},
        {"BottomBar_xi", 2, 2},   {"Forward_XI", 648, 960}, {"PL_L", 558, 870},      {"CL_L", 618, 930}};
    struct Size {
        const char* Control;
        int Width688, Width1000;
    } const sizes[] = {{"Close_xi", 24, 24},       {"VideoPro_XI", 604, 916}, {"TopBar_xi", 569, 881},
                       {"BottomBar_xi", 684, 996}, {"Ctrl_P", 688, 1000},     {"Video_P", 676, 988}};
    for (int width : {688, 1000}) {
        form->SetBounds(form->Left(), form->Top(), width, 442);
        const bool design = width == 688;
        for (const Place& p : places)
            EXPECT_EQ(form->findChild<TControl*>(p.Control)->Left(), design ? p.Left688 : p.Left1000)
                << p.Control << " at " << width;
        for (const Size& s : sizes)
            EXPECT_EQ(form->findChild<TControl*>(s.Control)->Width(), design ? s.Width688 : s.Width1000)
                << s.Control << " at " << width;
        EXPECT_EQ(form->BottomBar_xi->Top(), 74);
        EXPECT_EQ(form->Video_P->geometry(), QRect(6, 51, width - 12, 295));
        EXPECT_EQ(form->Lrc_p->Top(), 70); // 140 lower than the video panel, centred
        EXPECT_EQ(form->CurMedia_L->Width(), form->Topcenter_I->Width());
    }
    EXPECT_EQ(form->PlayPause_XI->size(), QSize(40, 40));
}

TEST_F(MainFormTest, ShowPicksTheMuteAndStayOnTopPictures) {
    struct Case {
        const char* isSlience;
        const char* stayOnTop;
        const char* volume;
        const char* onTop;
    } cases[] = {{"1", "0", "Slience_Normal_btn.bmp", "Ontop_Normal_btn.bmp"},
                 {"0", "1", "Sound_Normal_btn.bmp", "Toped_Normal_btn.bmp"},
                 {"0", "2", "Sound_Normal_btn.bmp", "TopatPlay_Normal_btn.bmp"}};
    for (const Case& c : cases) {
        WriteIni(DefaultsWith("isSlience", c.isSlience, DefaultsWith("StayOnTop", c.stayOnTop)));
        StartShown();
        EXPECT_TRUE(Shows(form->Volume_XI, c.volume)) << c.volume;
        EXPECT_TRUE(Shows(form->Ontop_xi, c.onTop)) << c.onTop;
        form.reset();
    }
}

// A missing picture is reported and the show step goes on to its end (the stay-on-top picture after it).
TEST_F(MainFormTest, MissingSkinFileIsReportedAndTheShowStepGoesOn) {
    std::filesystem::remove(State.SkinPath + "Slience_Normal_btn.bmp");
    WriteIni(DefaultsWith("isSlience", "1", DefaultsWith("StayOnTop", "1")));
    StartShown();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0],
              "Cannot open file \"" + State.SkinPath + "Slience_Normal_btn.bmp\". No such file or directory");
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(Shows(form->Ontop_xi, "Toped_Normal_btn.bmp"));
}

TEST_F(MainFormTest, NoDriveClearsTheDefaultDriveOnceAndNeverAsksAgain) {
    WriteIni(DefaultsWith("DefDriver", "E:"));
    Start();
    // The box is modal: closing it activates the window again before the first activation has returned.
    onBox = [this] { form->FormActivate(form.get()); };
    form->FormActivate(form.get());
    form->FormActivate(form.get());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "The default cd/dvd driver is not exists!");
    EXPECT_EQ(boxes[0].Caption, "Information");
    EXPECT_EQ(boxes[0].Type, win32::MB_OK);
    EXPECT_EQ(State.DefDriver, "");
    EXPECT_EQ(ReadIniString("PlayControl", "DefDriver"), "");
    EXPECT_TRUE(State.DriveCheckPending); // with no drive the check stays pending
    EXPECT_FALSE(form->FirstActivation);
}

// A drive is its root (its device node): the default drive is found when its root is one of the drives', with
// or without the label the options dialog's list shows after it; a text that merely begins a root is no
// drive.
TEST_F(MainFormTest, DefaultDriveIsCheckedAgainstTheDrivesOnce) {
    win32::FakeDriveService drives;
    drives.Drives = {{"/dev/sr0", true, "MOVIE_DISC", "", "/media/user/MOVIE_DISC"},
                     {"/dev/sr1", false, "", ""}};
    win32::SetDriveService(&drives);
    struct Case {
        const char* defDriver;
        bool asked;
    } cases[] = {{"/dev/sr0", false}, {"/dev/sr0 MOVIE_DISC", false},
                 {"/dev/sr1", false}, {"/media/user/MOVIE_DISC", false},
                 {"/dev/sr2", true},  {"/dev/sr", true},
                 {"/DEV/SR0", true},  {"/media/user", true},
                 {"", false}};
    for (const Case& c : cases) {
        WriteIni(DefaultsWith("DefDriver", c.defDriver));
        Start();
        State.DriveList->Add("/dev/sr0 MOVIE_DISC");
        State.DriveList->Add("/dev/sr1");
        boxes.clear();
        onBox = [this] { form->FormActivate(form.get()); };
        form->FormActivate(form.get());
        form->FormActivate(form.get());
        ASSERT_EQ(boxes.size(), c.asked ? 1u : 0u) << c.defDriver;
        if (c.asked) {
            EXPECT_EQ(boxes[0].Text, std::string("The default dvd driver ") + c.defDriver +
                                         " is invalidate, would you like to reset it now?");
            EXPECT_EQ(boxes[0].Type, win32::MB_YESNO | win32::MB_ICONINFORMATION);
        }
        EXPECT_FALSE(State.DriveCheckPending);
        onBox = nullptr;
        form.reset();
    }
    win32::SetDriveService(nullptr);
}

// Yes to the question about a default drive that names no drive opens the options dialog, and the dialog's
// own check of the drive says nothing over it: the start-up check is still running.
TEST_F(MainFormTest, YesToTheDefaultDriveQuestionOpensTheOptionsWithNoSecondBox) {
    win32::FakeDriveService drives;
    drives.Drives = {{"/dev/sr0", true, "MOVIE_DISC", ""}};
    win32::SetDriveService(&drives);
    WriteIni(DefaultsWith("DefDriver", "/dev/sr7"));
    Start();
    QuorelMain_Form = form.get();
    Application().SetHandle(form->Handle());
    State.DriveList->Add("/dev/sr0 MOVIE_DISC");
    answer = win32::IDYES;
    std::vector<std::string> shown;
    testing_support::WhileModal options([&](QWidget* Dialog) {
        shown.push_back(Dialog->objectName().toStdString());
        // The activation that closing the question gives the window does not ask again.
        form->FormActivate(form.get());
        Dialog->close();
    });
    form->FormActivate(form.get());
    EXPECT_TRUE(options.Ran());
    EXPECT_EQ(shown, (std::vector<std::string>{"Option_Form"}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text,
              "The default dvd driver /dev/sr7 is invalidate, would you like to reset it now?");
    EXPECT_FALSE(State.DriveCheckPending);
    form->FormActivate(form.get());
    EXPECT_EQ(boxes.size(), 1u) << "asked once";
    QuorelMain_Form = nullptr;
    Application().SetHandle(nullptr);
    win32::SetDriveService(nullptr);
}

TEST_F(MainFormTest, CloseTearsDownEverythingEvenWhenTheSaveFails) {
    Start();
    form->failSave = true;
    form->Ctrl_T->SetEnabled(true);
    form->RePaint_T->SetEnabled(true);
    win32::SystemParametersInfo(win32::SPI_SETSCREENSAVEACTIVE, 0, nullptr, 0); // as playing media does
    CloseForm();
    EXPECT_EQ(form->saves, 1);
    EXPECT_EQ(errors, (std::vector<std::string>{"Cannot create file \"PlayFileList\"."}));
    EXPECT_FALSE(form->Ctrl_T->Enabled());
    EXPECT_FALSE(form->RePaint_T->Enabled());
    EXPECT_FALSE(form->ShowLrc_T->Enabled());
    EXPECT_EQ(State.History, nullptr);
    EXPECT_EQ(State.LrcOffsets, nullptr);
    EXPECT_EQ(State.UiFont, nullptr);
    EXPECT_TRUE(screenSaver.Active());
    EXPECT_EQ(screenSaver.Calls, (std::vector<std::string>{"Inhibit", "UnInhibit"}));
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainFormTest, QueuedMessagesAfterTheCloseBeganReachNothing) {
    Start();
    int handled = 0;
    form->SetMessageHandler(2030, [&](TMessage&) { handled += State.PlayListFiles->Count() >= 0 ? 1 : 0; });
    win32::PostMessage(form->Handle(), 2030, 0, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(handled, 1);
    win32::PostMessage(form->Handle(), 2030, 0, 0); // a companion window's message, still queued at close
    form->Close();
    QCoreApplication::processEvents();
    EXPECT_EQ(handled, 1);
}

TEST_F(MainFormTest, CloseStopsAnAudioStreamStillPlaying) {
    const std::string file = tree.Root() + "/tone.wav";
    ASSERT_TRUE(testing_support::MakeToneFile(file, testing_support::AudioFormat::Wav, 2.0));
    Start();
    bass::BASS_Init(-1, 44100, 0, nullptr, nullptr); // false only when it was initialised before
    const bass::HSTREAM stream = bass::BASS_StreamCreateFile(win32::FALSE, file.c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(bass::BASS_ChannelPlay(stream, win32::FALSE));
    State.BassStream = stream;
    State.IsPlaying = true;
    CloseForm();
    EXPECT_EQ(State.BassStream, 0u);
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_EQ(bass::BASS_ChannelIsActive(stream), 0u); // the stream is gone
}

TEST_F(MainFormTest, CloseReleasesAMediaGraphStillPlaying) {
    const std::string clip = Clip("a.mp4");
    testing_support::CountPipelines();
    const int before = testing_support::LivePipelines();
    Run();
    State.CurrentMediaFile = clip;
    ASSERT_TRUE(form->OpenCurrentMedia());
    ASSERT_TRUE(State.IsPlaying);
    ASSERT_NE(State.MediaControl, nullptr);
    EXPECT_EQ(testing_support::LivePipelines(), before + 1);
    CloseForm();
    EXPECT_FALSE(State.IsPlaying);
    EXPECT_EQ(State.GraphBuilder, nullptr);
    EXPECT_EQ(State.MediaControl, nullptr);
    EXPECT_EQ(State.MediaSeeking, nullptr);
    EXPECT_EQ(State.MediaEventEx, nullptr);
    EXPECT_EQ(State.BasicAudio, nullptr);
    EXPECT_EQ(State.VideoWindow, nullptr);
    EXPECT_EQ(State.Vmr9Filter, nullptr);
    EXPECT_EQ(State.Vmr9WindowlessControl, nullptr);
    EXPECT_EQ(testing_support::LivePipelines(), before) << "no pipeline outlives the window";
}

TEST_F(MainFormTest, CloseButtonTrayExitAndExitMenuItemClose) {
    struct Way {
        const char* name;
        void (*click)(TestMainForm&);
        bool minimizesFirst;
    } ways[] = {{"Close_xi", [](TestMainForm& f) { f.Close_xi->Click(); }, false},
                {"tExit", [](TestMainForm& f) { f.tExit->Click(); }, false},
                {"pExit", [](TestMainForm& f) { f.pExit->Click(); }, true}};
    for (const Way& way : ways) {
        StartShown();
        // What the minimize command finds: the exit menu item's minimize handling runs before the close.
        std::vector<int> savesAtMinimize;
        form->SetMessageHandler(win32::WM_SYSCOMMAND, [this, &savesAtMinimize](TMessage& Message) {
            savesAtMinimize.push_back(form->saves);
            form->SysCommandMessage(Message);
        });
        way.click(*form);
        QCoreApplication::processEvents();
        EXPECT_TRUE(form->ClosingDown) << way.name;
        EXPECT_EQ(form->saves, 1) << way.name;
        EXPECT_EQ(State.History, nullptr) << way.name;
        EXPECT_EQ(savesAtMinimize, way.minimizesFirst ? std::vector<int>{0} : std::vector<int>{}) << way.name;
        form.reset();
    }
}

TEST_F(MainFormTest, SecondCloseRequestFindsTheCloseDoneAndDoesNothing) {
    Run();
    // Two closes queued one behind the other, as a window manager's and the after-play exit's.
    win32::PostMessage(form->Handle(), win32::WM_CLOSE, 0, 0);
    win32::PostMessage(form->Handle(), win32::WM_CLOSE, 0, 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->ClosingDown);
    EXPECT_EQ(form->saves, 1);
    EXPECT_TRUE(errors.empty());
    form->Close(); // and one more, directly
    EXPECT_EQ(form->saves, 1);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainFormTest, StartUpThatStopsBeforeTheSharedStateClosesAtTheFirstShowAndSavesNothing) {
    WriteIni(DefaultsWith("LastMediaFile", "/m/a.mp4"));
    {
        // A renderer whose creation raises stops InitState before the settings are read and the lists made.
        com::ScopedClassRemoval renderer(com::CLSID_VideoMixingRenderer9);
        com::RegisterClassFactory(com::CLSID_VideoMixingRenderer9,
                                  [](const com::IID&, void**) -> com::HRESULT {
                                      throw EClassLibraryError("The renderer cannot start");
                                  });
        Start();
    }
    EXPECT_EQ(errors, (std::vector<std::string>{"The renderer cannot start"}));
    EXPECT_FALSE(form->SharedStateReady);
    EXPECT_EQ(State.DriveList, nullptr);
    const std::string before = ReadFile(tree.IniFile());
    // As the program block goes on: the first show, then the first activation.
    form->Show();
    form->FormActivate(form.get());
    EXPECT_TRUE(form->ClosingDown);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->saves, 0);
    EXPECT_EQ(ReadFile(tree.IniFile()), before);
    EXPECT_EQ(State.UiFont, nullptr);
    EXPECT_EQ(errors.size(), 1u);
}

TEST_F(MainFormTest, MinimizeButtonMinimizesThroughTheDefaultHandlingOfTheSystemCommand) {
    // The window's own handler of the system command must not take the place of the default handling.
    for (const char* toTray : {"1", "0"}) {
        WriteIni(DefaultsWith("MinimizeToTray", toTray));
        StartShown();
        form->Min_xi->Click();
        EXPECT_TRUE(form->isMinimized()) << toTray;
        EXPECT_EQ(form->WindowState(), wsMinimized) << toTray;
        form.reset();
    }
}

TEST_F(MainFormTest, SmallerThanTheMinimumSizeIsRefused) {
    StartShown();
    const QRect before = form->geometry();
    form->SetBounds(form->Left(), form->Top(), 549, 442);
    EXPECT_EQ(form->geometry(), before);
    form->SetBounds(form->Left(), form->Top(), 700, 350);
    EXPECT_EQ(form->Width(), 700);
    EXPECT_EQ(form->Ctrl_P->Width(), 700);
    EXPECT_EQ(form->Close_xi->Left(), 676);
}

class SkinButtonsTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        StartShown();
        QTest::mouseMove(Window(), {5, 200});
        QTest::mouseMove(Window(), {300, 200});
    }
    QPoint Away() { return {300, 200}; }
};

TEST_F(SkinButtonsTest, EnabledButtonFollowsHoverPressAndRelease) {
    tximage* button = form->Open_xi;
    QTest::mouseMove(Window(), Over(button));
    EXPECT_TRUE(Shows(button, "Open_Hight_btn.bmp"));
    QTest::mousePress(Window(), Qt::LeftButton, {}, Over(button));
    EXPECT_TRUE(Shows(button, "Open_Enter_btn.bmp"));
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, Over(button));
    EXPECT_TRUE(Shows(button, "Open_Normal_btn.bmp"));
    QTest::mouseMove(Window(), Over(form->Option_XI));
    EXPECT_TRUE(Shows(button, "Open_Normal_btn.bmp"));
    EXPECT_TRUE(Shows(form->Option_XI, "Option_Hight_btn.bmp"));
}

TEST_F(SkinButtonsTest, DisabledButtonKeepsItsDisablePicture) {
    QTest::mouseMove(Window(), Over(form->Stop_XI));
    EXPECT_TRUE(Shows(form->Stop_XI, "Stop_Disable_Btn.bmp"));
    QTest::mouseMove(Window(), Away());
    EXPECT_TRUE(Shows(form->Stop_XI, "Stop_Disable_Btn.bmp"));
}

TEST_F(SkinButtonsTest, PlayPauseActsOnReleaseWhereverThePointerIs) {
    form->PlayPause_XI->SetEnabled(true);
    QTest::mouseMove(Window(), Over(form->PlayPause_XI));
    QTest::mousePress(Window(), Qt::LeftButton, {}, Over(form->PlayPause_XI));
    EXPECT_TRUE(Shows(form->PlayPause_XI, "Play_Enter_Btn.bmp"));
    QTest::mouseMove(Window(), Away());
    EXPECT_TRUE(Shows(form->PlayPause_XI, "Play_Normal_Btn.bmp")); // left while held
    State.IsPlaying = true;                                        // as the play command would make it
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, Away());
    EXPECT_TRUE(Shows(form->PlayPause_XI, "Pause_Normal_Btn.bmp"));
    State.IsPlaying = false;
}

// A click mutes (the menu item checked with it); the release then shows the Hight picture of the new state.
TEST_F(SkinButtonsTest, MuteButtonShowsTheHightPictureOfTheStateAtRelease) {
    ASSERT_FALSE(State.isSlience);
    QTest::mouseMove(Window(), Over(form->Volume_XI));
    QTest::mousePress(Window(), Qt::LeftButton, {}, Over(form->Volume_XI));
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, Over(form->Volume_XI));
    EXPECT_TRUE(State.isSlience);
    EXPECT_TRUE(form->pSlience->Checked());
    EXPECT_TRUE(Shows(form->Volume_XI, "Slience_Hight_btn.bmp"));
    QTest::mouseMove(Window(), Away());
    EXPECT_TRUE(Shows(form->Volume_XI, "Slience_Normal_btn.bmp"));
    form->pSlience->Click();
    EXPECT_FALSE(State.isSlience);
    EXPECT_FALSE(form->pSlience->Checked());
    EXPECT_TRUE(Shows(form->Volume_XI, "Sound_Normal_btn.bmp"));
}

TEST_F(SkinButtonsTest, MaximizeButtonFollowsTheWindowState) {
    win32::ShowWindow(form->Handle(), win32::SW_SHOWMAXIMIZED);
    QCoreApplication::processEvents();
    EXPECT_TRUE(Shows(form->Max_xi, "Restore_Normal_Btn.bmp")); // the resize loads it
    QTest::mouseMove(Window(), Over(form->Max_xi));
    EXPECT_TRUE(Shows(form->Max_xi, "Restore_Hight_Btn.bmp"));
    EXPECT_EQ(form->Max_xi->Hint(), "还原");
    form->Max_xi->Click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(form->isMaximized());
    EXPECT_TRUE(Shows(form->Max_xi, "Max_Normal_Btn.bmp"));
}

TEST_F(SkinButtonsTest, SkinFilesAreFoundWhateverTheirCase) {
    for (const auto& entry : std::filesystem::directory_iterator(State.SkinPath)) {
        std::string lower = entry.path().filename().string();
        for (char& ch : lower)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        std::filesystem::rename(entry.path(), State.SkinPath + lower);
    }
    QTest::mouseMove(Window(), Over(form->Open_xi));
    EXPECT_EQ(form->Open_xi->Picture().Image(),
              QImage(QString::fromStdString(State.SkinPath + "open_hight_btn.bmp")));
    EXPECT_TRUE(errors.empty());
}

TEST_F(SkinButtonsTest, MissingPictureIsReportedAndTheProgramGoesOn) {
    std::filesystem::remove(State.SkinPath + "Menu_Hight_Menu.bmp");
    QTest::mouseMove(Window(), Over(form->Menu_xi));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Menu_Hight_Menu.bmp"), std::string::npos);
    QTest::mouseMove(Window(), Over(form->Open_xi));
    EXPECT_TRUE(Shows(form->Open_xi, "Open_Hight_btn.bmp"));
}

TEST_F(SkinButtonsTest, SoundKnobShowsTheLevelWhileHeld) {
    QTest::mouseMove(Window(), Over(form->SoundBar_XI));
    QTest::mousePress(Window(), Qt::LeftButton, {}, Over(form->SoundBar_XI));
    EXPECT_EQ(form->Volume_L->Caption(), "30%");
    EXPECT_TRUE(Shows(form->SoundBar_XI, "SoundBar_Hight.bmp"));
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, Over(form->SoundBar_XI));
    EXPECT_EQ(form->Volume_L->Caption(), "");
    EXPECT_TRUE(Shows(form->SoundBar_XI, "SoundBar_Normal.bmp"));
}

} // namespace
