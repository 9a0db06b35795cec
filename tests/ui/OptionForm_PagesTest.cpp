// The options dialog's settings pages beyond what OK writes: the default drive's check, the live video
// actions of the Video page, the speakers of the Audio page and the font sizes of the Sub picture page.

#include <cmath>

#include <QApplication>

#include <gtest/gtest.h>

#include "core/MenuSettings.h"
#include "platform/win32/Drives.h"
#include "tests/support/CaseName.h"
#include "tests/ui/OptionFormFixture.h"

namespace ui_testing {
namespace {

struct DriveCase {
    const char* name;
    std::vector<std::string> drives; // the drive list's entries: a drive's root, a blank and its disc's label
    const char* defDriver;
    bool pending;      // the main window's own check has not finished
    const char* box;   // the message shown; nullptr: none
    int selected;      // the drive combo's selection
    const char* label; // the warning's text
    bool cleared;      // DefDriver is emptied in the file and the shared state
};

class DefaultDrive : public OptionTest, public ::testing::WithParamInterface<DriveCase> {
protected:
    void TearDown() override {
        OptionTest::TearDown();
        win32::SetDriveService(nullptr);
    }
    win32::FakeDriveService machine;
};

TEST_P(DefaultDrive, ThePlayerPageChecksTheStoredDrive) {
    const DriveCase& c = GetParam();
    // The machine's drives: those of the entries; the first one's disc is mounted.
    for (const std::string& drive : c.drives)
        machine.Drives.push_back({drive.substr(0, drive.find(' ')), drive.find(' ') != std::string::npos, "",
                                  "", machine.Drives.empty() ? "/media/user/MOVIE" : ""});
    win32::SetDriveService(&machine);
    TOption_Form& d = Open();
    WriteIni(DefaultsWith("DefDriver", c.defDriver));
    State.DriveList->Clear();
    for (const std::string& drive : c.drives)
        State.DriveList->Add(drive);
    State.DriveCheckPending = c.pending;
    boxes.clear();
    // The page as it is built on a machine with these drives (the drive list is filled by hand: the list of
    // the machine's drives comes from the DVD work).
    d.Page.DriveCombo->SetEnabled(true);
    d.Page.WarningLabel->SetCaption("");
    d.FillDriveCombo();
    d.CheckDefaultDrive();
    if (c.box != nullptr) {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].Text, c.box);
        EXPECT_EQ(boxes[0].Caption, "Information");
    } else {
        EXPECT_TRUE(boxes.empty());
    }
    EXPECT_EQ(d.Page.DriveCombo->ItemIndex(), c.selected);
    EXPECT_EQ(d.Page.DriveCombo->Enabled(), !c.drives.empty());
    EXPECT_EQ(d.Page.WarningLabel->Caption(), c.label);
    EXPECT_EQ(d.Page.WarningLabel->Font().Color(), clRed);
    EXPECT_EQ(ReadIniString("PlayControl", "DefDriver"), c.cleared ? "" : c.defDriver);
    EXPECT_EQ(State.DefDriver, c.cleared ? "" : c.defDriver);
}

const std::vector<std::string> kTwoDrives = {"D: DISC", "E:"};
const std::vector<std::string> kDeviceNodes = {"/dev/sr0 MOVIE", "/dev/sr1"};

INSTANTIATE_TEST_SUITE_P(
    Cases, DefaultDrive,
    ::testing::Values(
        DriveCase{"NoDriveButOneStored",
                  {},
                  "E:",
                  false,
                  "The default cd/dvd driver is not exists!",
                  -1,
                  "No cd/dvd driver in this computer!",
                  true},
        DriveCase{"NoDriveWhileTheStartUpChecks",
                  {},
                  "E:",
                  true,
                  nullptr,
                  -1,
                  "No cd/dvd driver in this computer!",
                  true},
        DriveCase{
            "NoDriveNoneStored", {}, "", false, nullptr, -1, "No cd/dvd driver in this computer!", false},
        DriveCase{"StoredDriveFound", kTwoDrives, "E:", false, nullptr, 1, "", false},
        // The drive is named as the file system names it: a name in another case names none.
        DriveCase{"StoredDriveInAnotherCase", kTwoDrives, "d:", false,
                  "The old default driver cd/dvd is invalidate!", -1, "Please setup default cd/dvd driver!",
                  false},
        DriveCase{"StoredDriveGone", kTwoDrives, "F:", false, "The old default driver cd/dvd is invalidate!",
                  -1, "Please setup default cd/dvd driver!", false},
        DriveCase{"NoneStored", kTwoDrives, "", false, "Please setup default cd/dvd driver.", -1,
                  "Please setup default cd/dvd driver!", false},
        DriveCase{"DriveNamedByItsDeviceNode", kDeviceNodes, "/dev/sr0", false, nullptr, 0, "", false},
        DriveCase{"DriveNamedByItsEntry", kDeviceNodes, "/dev/sr0 MOVIE", false, nullptr, 0, "", false},
        DriveCase{"DriveNamedByItsMountFolder", kDeviceNodes, "/media/user/MOVIE/", false, nullptr, 0, "",
                  false},
        DriveCase{"StoredNodeIsOnlyTheStartOfADrivesNode",
                  {"/dev/sr10 DISC"},
                  "/dev/sr1",
                  false,
                  "The old default driver cd/dvd is invalidate!",
                  -1,
                  "Please setup default cd/dvd driver!",
                  false}),
    testing_support::CaseName());

// Picking a drive empties the warning, and OK stores the drive in the file and the shared state.
TEST_F(OptionTest, PickingADriveStoresIt) {
    TOption_Form& d = Open();
    State.DriveList->Clear();
    State.DriveList->Add("D: DISC");
    State.DriveList->Add("E:");
    d.Page.DriveCombo->SetEnabled(true);
    d.FillDriveCombo();
    d.CheckDefaultDrive();
    Pick(d.Page.DriveCombo, 1);
    EXPECT_EQ(d.Page.WarningLabel->Caption(), "");
    EXPECT_TRUE(d.Page.WarningLabel->Visible());
    Click(d.OK_Btn);
    EXPECT_EQ(ReadIniString("PlayControl", "DefDriver"), "E:");
    EXPECT_EQ(State.DefDriver, "E:");
}

// A drive picked on an earlier visit of the page is shown again, without the warning, and is what OK stores.
TEST_F(OptionTest, ADrivePickedOnAnEarlierVisitIsShownAgain) {
    win32::FakeDriveService drives;
    drives.Drives = {{"/dev/sr0", false, "", ""}, {"/dev/sr1", false, "", ""}};
    win32::SetDriveService(&drives);
    WriteIni(DefaultsWith("DefDriver", "/dev/sr0"));
    TOption_Form& d = Open();
    ASSERT_EQ(d.Page.DriveCombo->Count(), 2);
    Pick(d.Page.DriveCombo, 1);
    Click(d.System_SB);
    Click(d.Player_SB);
    EXPECT_EQ(d.Page.DriveCombo->Text(), "/dev/sr1");
    EXPECT_EQ(d.Page.WarningLabel->Caption(), "");
    Click(d.OK_Btn);
    win32::SetDriveService(nullptr);
    EXPECT_EQ(ReadIniString("PlayControl", "DefDriver"), "/dev/sr1");
}

// The drives of this system are named by their device nodes: the combo lists the whole node, and the one
// picked is stored whole, as the start-up check of the default drive reads it.
TEST_F(OptionTest, ADeviceNodeDriveIsListedAndStoredWhole) {
    TOption_Form& d = Open();
    State.DriveList->Clear();
    for (const std::string& drive : kDeviceNodes)
        State.DriveList->Add(drive);
    d.Page.DriveCombo->SetEnabled(true);
    d.FillDriveCombo();
    d.CheckDefaultDrive();
    ASSERT_EQ(d.Page.DriveCombo->Count(), 2);
    EXPECT_EQ(d.Page.DriveCombo->Items(0), "/dev/sr0");
    EXPECT_EQ(d.Page.DriveCombo->Items(1), "/dev/sr1");
    Pick(d.Page.DriveCombo, 0);
    Click(d.OK_Btn);
    EXPECT_EQ(ReadIniString("PlayControl", "DefDriver"), "/dev/sr0");
    EXPECT_EQ(State.DefDriver, "/dev/sr0");
}

// --- The Video page on the renderer in use. ---

class FakeVideoWindow final : public com::Object<dshow::IVideoWindow> {
public:
    dshow::HRESULT put_Owner(dshow::HWND) override { return com::S_OK; }
    dshow::HRESULT get_Owner(dshow::HWND*) override { return com::S_OK; }
    dshow::HRESULT put_MessageDrain(dshow::HWND) override { return com::S_OK; }
    dshow::HRESULT put_WindowStyle(dshow::LONG) override { return com::S_OK; }
    dshow::HRESULT get_WindowStyle(dshow::LONG*) override { return com::S_OK; }
    dshow::HRESULT SetWindowPosition(dshow::LONG Left, dshow::LONG Top, dshow::LONG Width,
                                     dshow::LONG Height) override {
        placed.push_back({Left, Top, Width, Height});
        return com::S_OK;
    }
    dshow::HRESULT GetWindowPosition(dshow::LONG*, dshow::LONG*, dshow::LONG*, dshow::LONG*) override {
        return com::S_OK;
    }
    dshow::HRESULT put_Visible(dshow::LONG) override { return com::S_OK; }
    dshow::HRESULT get_Visible(dshow::LONG*) override { return com::S_OK; }
    std::vector<std::array<int, 4>> placed;
};

template <class Windowless, class Mixer>
class FakeMixingRenderer final : public com::Object<Windowless, Mixer> {
public:
    dshow::HRESULT GetNativeVideoSize(dshow::LONG*, dshow::LONG*, dshow::LONG*, dshow::LONG*) override {
        return com::S_OK;
    }
    dshow::HRESULT SetVideoPosition(const win32::RECT* Source, const win32::RECT* Destination) override {
        EXPECT_EQ(Source, nullptr);
        destination = *Destination;
        ++placements;
        return com::S_OK;
    }
    dshow::HRESULT GetStreamImage(dshow::DWORD, dshow::LONG*, dshow::LONG*,
                                  std::vector<std::uint8_t>*) override {
        return com::E_NOTIMPL;
    }
    dshow::HRESULT GetVideoPosition(win32::RECT* Source, win32::RECT* Destination) override {
        *Source = {0, 0, 640, 480};
        *Destination = destination;
        return com::S_OK;
    }
    dshow::HRESULT SetVideoClippingWindow(dshow::HWND) override { return com::S_OK; }
    dshow::HRESULT RepaintVideo(dshow::HWND) override { return com::S_OK; }
    dshow::HRESULT SetBorderColor(dshow::COLORREF) override { return com::S_OK; }
    dshow::HRESULT GetBorderColor(dshow::COLORREF*) override { return com::S_OK; }
    dshow::HRESULT SetAlpha(dshow::DWORD, float) override { return com::S_OK; }
    dshow::HRESULT GetAlpha(dshow::DWORD, float*) override { return com::S_OK; }
    dshow::HRESULT SetZOrder(dshow::DWORD, dshow::DWORD) override { return com::S_OK; }
    dshow::HRESULT GetZOrder(dshow::DWORD, dshow::DWORD*) override { return com::S_OK; }
    dshow::HRESULT SetOutputRect(dshow::DWORD Stream, const dshow::NORMALIZEDRECT* Rect) override {
        EXPECT_EQ(Stream, 0u);
        output = *Rect;
        return com::S_OK;
    }
    dshow::HRESULT GetOutputRect(dshow::DWORD, dshow::NORMALIZEDRECT* Rect) override {
        *Rect = output;
        return com::S_OK;
    }
    win32::RECT destination{50, 50, 450, 350};
    dshow::NORMALIZEDRECT output;
    int placements = 0;
};

using FakeVmr7 = FakeMixingRenderer<dshow::IVMRWindowlessControl, dshow::IVMRMixerControl>;
using FakeVmr9 = FakeMixingRenderer<dshow::IVMRWindowlessControl9, dshow::IVMRMixerControl9>;

class VideoPageTest : public OptionTest {
public:
    void SetUp() override {
        OptionTest::SetUp();
        StartMain();
        panel = std::make_unique<TPanel>();
        panel->SetBounds(0, 0, 600, 400);
        State.VideoPanelHandle = panel->Handle();
    }
    void TearDown() override {
        State.VideoWindow = nullptr;
        State.Vmr7WindowlessControl = nullptr;
        State.Vmr7MixerControl = nullptr;
        State.Vmr9WindowlessControl = nullptr;
        State.Vmr9MixerControl = nullptr;
        State.VideoPanelHandle = nullptr;
        OptionTest::TearDown();
        panel.reset();
    }
    std::unique_ptr<TPanel> panel;
};

// Two zooms of a 400 x 300 video in a 600 x 400 panel centre it at 105 percent each; Reset puts it back.
TEST_F(VideoPageTest, OldRendererZoomsCentredAndResets) {
    State.RenderType = RenderTypes::OwnRenderer;
    auto window = com::ComPtr<FakeVideoWindow>::Adopt(new FakeVideoWindow());
    State.VideoWindow = window;
    State.VideoRect = {100, 50, 400, 300};
    TOption_Form& d = Open();
    Click(d.Video_SB);
    d.ZoomVideo(6);
    d.ZoomVideo(6);
    d.MoveVideoVertical(2);
    d.ResetPositionClick(nullptr);
    d.FlipVerticalClick(nullptr);
    d.MoveVideoHorizontal(3);
    d.ResetFlipClick(nullptr);
    EXPECT_EQ(window->placed, (std::vector<std::array<int, 4>>{{90, 42, 420, 315},
                                                               {79, 35, 441, 330},
                                                               {79, 40, 441, 330},
                                                               {100, 50, 400, 300},
                                                               {95, 50, 400, 300},
                                                               {100, 50, 400, 300}}))
        << "the flip does nothing for the old renderer; its reset puts the window back";
}

template <class Fake> void FlipAndReset(OptionTest& Test, com::ComPtr<Fake> Renderer) {
    TOption_Form& d = Test.Open();
    OptionTest::Click(d.Video_SB);
    d.FlipVerticalClick(nullptr);
    EXPECT_EQ(Renderer->output, (dshow::NORMALIZEDRECT{0, 1, 1, 0}));
    d.FlipHorizontalClick(nullptr);
    EXPECT_EQ(Renderer->output, (dshow::NORMALIZEDRECT{1, 1, 0, 0}));
    d.ResetFlipClick(nullptr);
    EXPECT_EQ(Renderer->output, (dshow::NORMALIZEDRECT{0, 0, 1, 1}));
    d.MoveVideoVertical(1);
    d.MoveVideoHorizontal(4);
    EXPECT_EQ(Renderer->destination, (win32::RECT{55, 45, 455, 345}));
    d.ZoomVideo(7);
    EXPECT_EQ(Renderer->destination, (win32::RECT{110, 57, 490, 342}));
    d.ResetPositionClick(nullptr);
    EXPECT_EQ(Renderer->destination, (win32::RECT{50, 50, 450, 350}));
}

TEST_F(VideoPageTest, Vmr7FlipsTheMainStreamAndMovesTheDestination) {
    State.RenderType = RenderTypes::Vmr7;
    auto vmr = com::ComPtr<FakeVmr7>::Adopt(new FakeVmr7());
    State.Vmr7WindowlessControl = vmr;
    State.Vmr7MixerControl = vmr;
    FlipAndReset(*this, vmr);
}

TEST_F(VideoPageTest, Vmr9FlipsTheMainStreamAndMovesTheDestination) {
    State.RenderType = RenderTypes::Vmr9;
    auto vmr = com::ComPtr<FakeVmr9>::Adopt(new FakeVmr9());
    State.Vmr9WindowlessControl = vmr;
    State.Vmr9MixerControl = vmr;
    FlipAndReset(*this, vmr);
}

// Without a video the buttons change only the dialog's rectangles; the picture bars reset to their homes.
TEST_F(VideoPageTest, WithoutAVideoNothingHappensOutsideTheDialog) {
    State.RenderType = RenderTypes::Vmr9;
    TOption_Form& d = Open();
    Click(d.Video_SB);
    d.ZoomVideo(6);
    d.MoveVideoVertical(1);
    d.FlipVerticalClick(nullptr);
    d.ResetFlipClick(nullptr);
    TTrackBar* brightness = d.Page.PictureBars[0];
    TTrackBar* chroma = d.Page.PictureBars[3];
    EXPECT_EQ(brightness->Position(), 5);
    EXPECT_EQ(chroma->Position(), 0);
    brightness->SetPosition(9);
    chroma->SetPosition(9);
    Click(d.Page.PictureResetButtons[0]);
    Click(d.Page.PictureResetButtons[3]);
    EXPECT_EQ(brightness->Position(), 5);
    EXPECT_EQ(chroma->Position(), 0);
    EXPECT_TRUE(errors.empty());
}

// Tab goes through the Video page in the order of its table: down the four picture bars, then down their four
// reset buttons.
TEST_F(VideoPageTest, TheFocusGoesDownTheBarsThenTheirButtons) {
    TOption_Form& d = Open();
    Click(d.Video_SB);
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    std::vector<QWidget*> expected;
    for (TTrackBar* bar : d.Page.PictureBars)
        expected.push_back(bar->Slider());
    for (TButton* button : d.Page.PictureResetButtons)
        expected.push_back(button->findChild<QPushButton*>());
    expected.front()->setFocus();
    std::vector<QWidget*> visited = {QApplication::focusWidget()};
    for (std::size_t i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(visited, expected);
}

// --- Audio and Sub picture pages. ---

TEST_F(OptionTest, SpeakersFollowThePlayersLanguageAndResetToStereo) {
    StartMain();
    State.Language = Languages::Chinese;
    TOption_Form& d = Open(1);
    Click(d.Audio_SB);
    EXPECT_EQ(d.Page.SpeakerRadios[0]->Caption(), "1 扬声器 - 单声道");
    EXPECT_TRUE(d.Page.SpeakerRadios[1]->Checked());
    Click(d.Page.SpeakerRadios[7]);
    EXPECT_FALSE(d.Page.SpeakerRadios[1]->Checked());
    d.SpeakerDefaultClick(nullptr);
    EXPECT_TRUE(d.Page.SpeakerRadios[1]->Checked());
    EXPECT_FALSE(d.Page.SpeakerRadios[7]->Checked());
}

// A scalable face offers the sixteen usual sizes; the sizes of a bitmap face go in in order, once each, a
// half point rounded to the even neighbour.
TEST_F(OptionTest, FontSizesOfScalableAndBitmapFaces) {
    TOption_Form& d = Open();
    Click(d.SubPicture_SB);
    EXPECT_EQ(d.Page.FontNameCombo->Text(), State.UiFont->Name());
    EXPECT_EQ(d.Page.PositionCombo->Text(), "Center");
    TComboBox* sizes = d.Page.FontSizeCombo;
    // The UI face is the desktop's own (an alias of the face it draws with): it scales to every size.
    EXPECT_EQ(sizes->Count(), 16) << State.UiFont->Name();
    sizes->Clear();
    EXPECT_EQ(d.FontSizeEnumProc({}, win32::TRUETYPE_FONTTYPE), 0);
    ASSERT_EQ(sizes->Count(), 16);
    EXPECT_EQ(sizes->Items(0), "8");
    EXPECT_EQ(sizes->Items(15), "72");
    sizes->Clear();
    const int dpi = win32::ScreenLogPixelsY();
    // A bitmap font whose cell (less its internal leading of 2) is Pixels high.
    auto raster = [&](int Pixels) {
        win32::TEXTMETRIC metric;
        metric.tmHeight = Pixels + 2;
        metric.tmInternalLeading = 2;
        return d.FontSizeEnumProc(metric, win32::RASTER_FONTTYPE);
    };
    auto pixels = [&](int Points) { return static_cast<int>(std::lround(Points * dpi / 72.0)); };
    for (int points : {10, 8, 12, 10})
        EXPECT_EQ(raster(pixels(points)), 1);
    auto shown = [&] {
        std::vector<std::string> texts;
        for (int i = 0; i < sizes->Count(); ++i)
            texts.push_back(sizes->Items(i));
        return texts;
    };
    EXPECT_EQ(shown(), (std::vector<std::string>{"8", "10", "12"}));
    if (dpi == 96) {
        raster(18); // 13.5 points
        raster(22); // 16.5 points
        EXPECT_EQ(shown(), (std::vector<std::string>{"8", "10", "12", "14", "16"}));
    }
}

// The sub-picture file is chosen with the sub-picture filter and shown; the page stores nothing.
TEST_F(OptionTest, TheSubPictureFileIsShownOnly) {
    TOption_Form& d = Open();
    Click(d.SubPicture_SB);
    chosenFiles = {"/media/film.srt"};
    const std::string before = Ini();
    Click(d.Page.SubPictureBrowseButton);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].Filter, SubtitleFileFilter);
    EXPECT_EQ(d.Page.SubPictureFileEdit->Text(), "/media/film.srt");
    Click(d.OK_Btn);
    EXPECT_EQ(Ini(), before);
}

} // namespace
} // namespace ui_testing
