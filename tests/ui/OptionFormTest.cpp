// The options dialog as a whole: its texts, its pages, reading the settings and what OK and Cancel write, and
// its launcher.

#include <map>
#include <set>

#include <QApplication>
#include <QPointer>

#include <gtest/gtest.h>

#include "core/Shortcuts.h"
#include "tests/support/CaseName.h"
#include "tests/support/WhileModal.h"
#include "tests/ui/OptionFormFixture.h"

namespace ui_testing {
namespace {

struct TextCase {
    const char* name;
    int language;
    const char* caption;
    const char* playerButton; // padded to 18 columns
    const char* okButton;
    const char* firstPageCaption;
};

class OptionTexts : public OptionTest, public ::testing::WithParamInterface<TextCase> {};

// The texts follow the dialog's language; the page buttons' captions are filled with blanks to 18 columns, a
// Chinese character taking two.
TEST_P(OptionTexts, CaptionButtonsAndFirstPageFollowTheLanguage) {
    TOption_Form& d = Open(GetParam().language);
    EXPECT_EQ(d.Caption(), GetParam().caption);
    EXPECT_EQ(d.Player_SB->Caption(), GetParam().playerButton);
    EXPECT_EQ(d.OK_Btn->Caption(), GetParam().okButton);
    EXPECT_EQ(d.CurrentPage, OptionPages::Player);
    EXPECT_TRUE(d.Player_SB->Down());
    auto* caption = dynamic_cast<TLabel*>(d.Component_P->children().value(0));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->Caption(), GetParam().firstPageCaption);
    EXPECT_TRUE(caption->Font().Style() & fsBold);
    EXPECT_EQ(d.Video_SB->Font().Name(), State.UiFont->Name());
}

INSTANTIATE_TEST_SUITE_P(
    Languages, OptionTexts,
    ::testing::Values(TextCase{"English", 1, "Option", "Player            ", "OK", "Play control"},
                      TextCase{"Chinese", 2, "选项", "播放器            ", "确定", "播放控制"},
                      TextCase{"Other", 0, "", "                  ", "", ""}),
    testing_support::CaseName());

TEST_F(OptionTest, TheFrameHoldsNinePageButtonsBesideThePagePanel) {
    TOption_Form& d = Open();
    EXPECT_EQ(d.ClientWidth(), 643);
    EXPECT_EQ(d.ClientHeight(), 455);
    EXPECT_EQ(d.Component_P->Width(), 486);
    EXPECT_EQ(d.Component_P->Height(), 412);
    const std::vector<std::pair<TSpeedButton*, int>> buttons = {
        {d.Player_SB, 1},        {d.Video_SB, 37},       {d.Audio_SB, 73},
        {d.Decoder_SB, 109},     {d.SubPicture_SB, 145}, {d.Capture_SB, 181},
        {d.ShortcutKey_SB, 217}, {d.FileType_SB, 253},   {d.System_SB, 289}};
    const std::vector<int> pages = {1, 2, 3, 7, 4, 8, 6, 5, 10};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        auto [button, top] = buttons[i];
        EXPECT_EQ(button->Top(), top) << button->Name();
        EXPECT_EQ(button->Height(), 36);
        Click(button);
        EXPECT_EQ(d.CurrentPage, pages[i]) << button->Name();
        EXPECT_TRUE(button->Down());
        EXPECT_FALSE(d.Player_SB->Down() && button != d.Player_SB);
    }
    EXPECT_TRUE(errors.empty()) << errors.front();
}

// Pressing the button of the page shown neither rebuilds the page nor changes a value.
TEST_F(OptionTest, ThePageShownIsNotBuiltAgain) {
    TOption_Form& d = Open();
    QPointer<TCheckBox> box = d.Page.MemoryLastPosBox;
    Click(box.data());
    Click(d.Player_SB);
    EXPECT_FALSE(box.isNull());
    EXPECT_EQ(d.MemoryLastPos.EditedValue, 0);
    Click(d.System_SB);
    EXPECT_TRUE(box.isNull()) << "another page tears the page down";
    EXPECT_EQ(d.Page.MemoryLastPosBox, nullptr);
}

// OK without a change writes nothing, whichever pages were looked at, from the default settings and from a
// file without the keys the dialog edits.
TEST_F(OptionTest, OkWithoutAChangeWritesNothing) {
    for (bool keysMissing : {false, true}) {
        SCOPED_TRACE(keysMissing ? "keys missing" : "default settings");
        if (keysMissing) {
            std::string text = DefaultIniText();
            for (const char* key : {"MemoryLastPos=1", "QuickOnce=5", "DefaultImageType=.bmp",
                                    "RenderType=1009", "Stop=Ctrl+S", "MinimizeToTray=1"})
                text.erase(text.find(std::string(key) + "\r\n"), std::string(key).size() + 2);
            WriteIni(text);
        }
        TOption_Form& d = Open();
        const std::string before = Ini();
        for (TSpeedButton* page : {d.Video_SB, d.Audio_SB, d.Decoder_SB, d.SubPicture_SB, d.Capture_SB,
                                   d.ShortcutKey_SB, d.FileType_SB, d.System_SB, d.Player_SB})
            Click(page);
        Click(d.OK_Btn);
        EXPECT_EQ(d.ResultCode, 1);
        EXPECT_FALSE(d.RendererChanged);
        EXPECT_EQ(Ini(), before);
        dialog.reset();
    }
}

// Each change of a page reaches the settings file on OK, and only that: a row for every setting OK writes.
struct SavingCase {
    const char* name;
    std::function<void(OptionTest&, TOption_Form&)> change;
    std::vector<std::string> written;
};

class Saving : public OptionTest, public ::testing::WithParamInterface<SavingCase> {};

TEST_P(Saving, OkWritesTheChangedSettingAlone) {
    TOption_Form& d = Open();
    chosenFolder = tree.Root();
    const std::string before = Ini();
    GetParam().change(*this, d);
    EXPECT_EQ(Ini(), before) << "nothing before OK";
    Click(d.OK_Btn);
    EXPECT_EQ(Written(before), GetParam().written);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

const SavingCase kSavingCases[] = {
    {"MemoryLastPos",
     [](OptionTest&, TOption_Form& d) { OptionTest::Click(d.Page.MemoryLastPosBox); },
     {"MemoryLastPos=0"}},
    {"ReloadLast",
     [](OptionTest&, TOption_Form& d) { OptionTest::Click(d.Page.ReloadLastBox); },
     {"ReloadLast=0"}},
    {"AddAlliedMedia",
     [](OptionTest&, TOption_Form& d) { OptionTest::Click(d.Page.AddAlliedMediaBox); },
     {"AddAlliedMedia=0"}},
    {"FullScreenAtonce",
     [](OptionTest&, TOption_Form& d) { OptionTest::Click(d.Page.FullScreenAtonceBox); },
     {"FullScreenAtonce=1"}},
    // The page as it is built on a machine with two drives (the machine's list comes from the DVD work); the
    // machine has them too, as the page lists them again each time it is shown.
    {"DefaultDrive",
     [](OptionTest& t, TOption_Form& d) {
         t.machineDrives.Drives = {{"/dev/sr0", true, "MOVIE", "", ""}, {"/dev/sr1", false, "", "", ""}};
         win32::SetDriveService(&t.machineDrives);
         State.DriveList->Clear();
         State.DriveList->Add("/dev/sr0 MOVIE");
         State.DriveList->Add("/dev/sr1");
         d.Page.DriveCombo->SetEnabled(true);
         d.FillDriveCombo();
         OptionTest::Pick(d.Page.DriveCombo, 1);
     },
     {"DefDriver=/dev/sr1"}},
    {"WhileOpenMedia",
     [](OptionTest&, TOption_Form& d) { OptionTest::Click(d.Page.WhileOpenMediaRadios[2]); },
     {"WhileOpenMedia=3"}},
    {"ResumeChoice",
     [](OptionTest&, TOption_Form& d) { OptionTest::Pick(d.Page.ResumeCombo, 2); },
     {"AutoResumePlay=2"}},
    {"ForwardAndBackward",
     [](OptionTest&, TOption_Form& d) {
         d.Page.ForwardUpDown->ClickArrow(btNext);
         d.Page.BackwardEdit->SetText("30");
         QTest::mouseClick(d.Page.BackwardUpDown->DownArrow(), Qt::LeftButton);
     },
     {"QuickOnce=6", "SlowOnce=29"}},
    {"TypedWithoutAClickIsNotTaken",
     [](OptionTest&, TOption_Form& d) { d.Page.ForwardEdit->SetText("40"); },
     {}},
    {"CaptureFolder",
     [](OptionTest& t, TOption_Form& d) {
         t.chosenFolder = "/media/Shots";
         OptionTest::Click(d.Capture_SB);
         OptionTest::Click(d.Page.CaptureBrowseButton);
     },
     {"CaptureImagePath=/media/Shots"}},
    {"ImageTypeAndQuestion",
     [](OptionTest&, TOption_Form& d) {
         OptionTest::Click(d.Capture_SB);
         OptionTest::Pick(d.Page.ImageTypeCombo, 1);
         OptionTest::Click(d.Page.AskSaveOptionBox);
     },
     {"DefaultImageType=.jpg", "AskSaveOption=0"}},
    {"MinimizeToTray",
     [](OptionTest&, TOption_Form& d) {
         OptionTest::Click(d.System_SB);
         OptionTest::Click(d.Page.MinimizeToTrayBox);
     },
     {"MinimizeToTray=0"}},
    {"SelectBySystem",
     [](OptionTest&, TOption_Form& d) {
         OptionTest::Click(d.Decoder_SB);
         OptionTest::Click(d.Page.BySystemBox);
     },
     {"SelKernelType=0"}},
    {"RendererOfTheUsersOwn",
     [](OptionTest&, TOption_Form& d) {
         OptionTest::Click(d.Decoder_SB);
         OptionTest::Click(d.Page.Vmr7Radio);
     },
     {"RenderType=1007"}},
    {"UseGpu",
     [](OptionTest&, TOption_Form& d) {
         OptionTest::Click(d.Decoder_SB);
         OptionTest::Click(d.Page.UseGpuBox);
     },
     {"UseGPU=0"}},
    // The Video, Audio and Sub picture pages store nothing.
    {"PagesThatStoreNothing",
     [](OptionTest&, TOption_Form& d) {
         OptionTest::Click(d.Audio_SB);
         OptionTest::Click(d.Page.SpeakerRadios[5]);
         OptionTest::Click(d.SubPicture_SB);
         d.Page.PositionBar->SetPosition(7);
         OptionTest::Click(d.Video_SB);
         QTest::keyClick(d.Page.PictureBars[0]->Slider(), Qt::Key_Right);
     },
     {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, Saving, ::testing::ValuesIn(kSavingCases), testing_support::CaseName());

// What the controls of the page shown show, control by control: an edit with arrows by the number the arrows
// hold (a number typed is taken only by a click on them); the track bars, which store nothing, left out.
std::vector<std::string> PageShows(TOption_Form& Dialog) {
    std::vector<std::string> shows;
    const QList<QWidget*> widgets = Dialog.Component_P->findChildren<QWidget*>();
    std::set<const QWidget*> withArrows;
    for (QWidget* widget : widgets)
        if (auto* upDown = dynamic_cast<TUpDown*>(widget))
            withArrows.insert(upDown->Associate());
    for (QWidget* widget : widgets) {
        if (auto* upDown = dynamic_cast<TUpDown*>(widget))
            shows.push_back("arrows " + std::to_string(upDown->Position()));
        else if (auto* box = dynamic_cast<TCheckBox*>(widget))
            shows.push_back(box->Caption() + (box->Checked() ? " ticked" : " unticked"));
        else if (auto* radio = dynamic_cast<TRadioButton*>(widget))
            shows.push_back(radio->Caption() + (radio->Checked() ? " selected" : " not selected"));
        else if (auto* combo = dynamic_cast<TComboBox*>(widget))
            shows.push_back("combo " + combo->Text());
        else if (auto* edit = dynamic_cast<TEdit*>(widget); edit != nullptr && !withArrows.count(edit))
            shows.push_back("edit " + edit->Text());
        else if (auto* list = dynamic_cast<TListView*>(widget))
            for (int i = 0; i < list->Items().Count(); ++i)
                shows.push_back("row " + list->Items().Item(i)->SubItems()[1] + "+" +
                                list->Items().Item(i)->SubItems()[2]);
    }
    return shows;
}

// A page chosen again after another shows what it showed when it was left, which is what OK writes: the
// edits of the earlier visit are neither undone nor hidden.
TEST_P(Saving, APageChosenAgainShowsWhatOkWrites) {
    TOption_Form& d = Open();
    chosenFolder = tree.Root();
    const std::string before = Ini();
    GetParam().change(*this, d);
    const std::map<int, TSpeedButton*> buttons = {
        {OptionPages::Player, d.Player_SB},   {OptionPages::Video, d.Video_SB},
        {OptionPages::Audio, d.Audio_SB},     {OptionPages::SubPicture, d.SubPicture_SB},
        {OptionPages::Decoder, d.Decoder_SB}, {OptionPages::Capture, d.Capture_SB},
        {OptionPages::System, d.System_SB}};
    TSpeedButton* page = buttons.at(d.CurrentPage);
    const std::vector<std::string> shown = PageShows(d);
    Click(page == d.System_SB ? d.Player_SB : d.System_SB);
    Click(page);
    EXPECT_EQ(PageShows(d), shown);
    Click(d.OK_Btn);
    EXPECT_EQ(Written(before), GetParam().written);
}

// The resume choice is written, while the shared value keeps what the dialog read until it opens again.
TEST_F(OptionTest, TheSharedResumeChoiceKeepsItsValueUntilTheDialogOpensAgain) {
    TOption_Form& d = Open();
    Pick(d.Page.ResumeCombo, 1);
    Click(d.OK_Btn);
    EXPECT_EQ(ReadIniInteger("PlayControl", "AutoResumePlay"), 1);
    EXPECT_EQ(State.AutoResumePlay, 0);
    Open();
    EXPECT_EQ(State.AutoResumePlay, 1);
    EXPECT_EQ(dialog->Page.ResumeCombo->ItemIndex(), 1);
}

TEST_F(OptionTest, CancelWritesNothing) {
    TOption_Form& d = Open();
    const std::string before = Ini();
    Click(d.Page.MemoryLastPosBox);
    Click(d.Decoder_SB);
    Click(d.Page.OldRendererRadio);
    Click(d.Cancel_Btn);
    EXPECT_EQ(d.ResultCode, 2);
    EXPECT_EQ(Ini(), before);
}

// A renderer above the one in use is put back to it in the file as the dialog reads it, and the Renderer page
// shows the renderer in use.
TEST_F(OptionTest, ARendererAboveTheOneInUseIsWrittenBackAtOnce) {
    StartMain();
    State.RenderType = RenderTypes::Vmr7;
    WriteIni(DefaultsWith("RenderType", "1009"));
    TOption_Form d(form.get());
    d.SetLanguage(1);
    d.LoadTexts();
    d.LoadSettings();
    EXPECT_EQ(ReadIniInteger("Play", "RenderType"), 1007);
    EXPECT_EQ(d.EditedRenderType, 1007);
    d.Show();
    Click(d.Decoder_SB);
    EXPECT_TRUE(d.Page.Vmr7Radio->Checked());
    EXPECT_FALSE(d.Page.Vmr9Radio->Checked());
}

// The renderer choice by table: what OK writes and whether the renderer changed.
struct RendererCase {
    const char* name;
    int selKernelType; // stored before
    const char* steps; // Y tick "Select yourself", S tick "Select by system", 9 / 7 / 0 a renderer radio
    std::vector<std::string> written;
    bool changed;
};

class RendererChoice : public OptionTest, public ::testing::WithParamInterface<RendererCase> {};

TEST_P(RendererChoice, OkWritesTheChoiceOfTheUsersOwn) {
    WriteIni(DefaultsWith("SelKernelType", std::to_string(GetParam().selKernelType)));
    StartMain();
    State.RenderType = RenderTypes::Vmr9;
    TOption_Form& d = Open();
    Click(d.Decoder_SB);
    const std::string before = Ini();
    for (const char* step = GetParam().steps; *step != '\0'; ++step) {
        switch (*step) {
        case 'Y':
            Click(d.Page.YourselfBox);
            break;
        case 'S':
            Click(d.Page.BySystemBox);
            break;
        case '9':
            Click(d.Page.Vmr9Radio);
            break;
        case '7':
            Click(d.Page.Vmr7Radio);
            break;
        default:
            Click(d.Page.OldRendererRadio);
            break;
        }
    }
    Click(d.OK_Btn);
    EXPECT_EQ(Written(before), GetParam().written);
    EXPECT_EQ(d.RendererChanged, GetParam().changed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RendererChoice,
    ::testing::Values(
        RendererCase{"YourselfFromBySystem", 0, "Y0", {"SelKernelType=1", "RenderType=1000"}, true},
        RendererCase{"YourselfAlready", 1, "7", {"RenderType=1007"}, true},
        RendererCase{"BackToBySystemWasYourself", 1, "0S", {"SelKernelType=0"}, false},
        RendererCase{"BackToBySystemWasBySystem", 0, "Y0S", {}, false},
        RendererCase{"TheRendererInUse", 1, "709", {}, false}),
    testing_support::CaseName());

// The radios are offered as the page is built: disabled unless "Select yourself" is ticked, and the old
// renderer never while picture-in-picture plays; ticking "Select yourself" again enables all three.
TEST_F(OptionTest, RendererRadiosFollowSelectYourself) {
    StartMain();
    State.PlayType = PlayTypes::Pip;
    TOption_Form& d = Open();
    Click(d.Decoder_SB);
    EXPECT_TRUE(d.Page.YourselfBox->Checked());
    EXPECT_FALSE(d.Page.BySystemBox->Checked());
    EXPECT_TRUE(d.Page.Vmr9Radio->Enabled());
    EXPECT_FALSE(d.Page.OldRendererRadio->Enabled());
    Click(d.Page.BySystemBox);
    EXPECT_FALSE(d.Page.YourselfBox->Checked());
    for (TRadioButton* radio : {d.Page.Vmr9Radio, d.Page.Vmr7Radio, d.Page.OldRendererRadio})
        EXPECT_FALSE(radio->Enabled());
    Click(d.Page.YourselfBox);
    for (TRadioButton* radio : {d.Page.Vmr9Radio, d.Page.Vmr7Radio, d.Page.OldRendererRadio})
        EXPECT_TRUE(radio->Enabled());
    State.PlayType = PlayTypes::Nothing;
}

// The launcher after OK: a new renderer is taken, the user is told of the restart and the caller asked for
// it; the renderer in use already asks for nothing. Cancel changes nothing.
struct LauncherCase {
    const char* name;
    bool ok;
    int chosen; // the renderer radio chosen under "Select yourself"
    bool restart;
};

class OptionLauncher : public OptionTest, public ::testing::WithParamInterface<LauncherCase> {};

TEST_P(OptionLauncher, RestartOnlyForAnotherRendererAfterOk) {
    StartMain();
    State.RenderType = RenderTypes::Vmr9;
    boxes.clear();
    testing_support::WhileModal modal([&](QWidget* Shown) {
        auto* d = dynamic_cast<TOption_Form*>(Shown);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->parentWidget(), form.get());
        Click(d->Decoder_SB);
        Click(GetParam().chosen == 1000   ? d->Page.OldRendererRadio
              : GetParam().chosen == 1007 ? d->Page.Vmr7Radio
                                          : d->Page.Vmr9Radio);
        Click(GetParam().ok ? d->OK_Btn : d->Cancel_Btn);
    });
    bool restart = false;
    ShowOptionDialog(form->Handle(), 2, restart);
    EXPECT_TRUE(modal.Ran());
    EXPECT_EQ(restart, GetParam().restart);
    EXPECT_EQ(State.RenderType, GetParam().restart ? GetParam().chosen : 1009);
    if (GetParam().restart) {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].Text,
                  "Play the core has changed, will be the process of restarting the player to make "
                  "the changes take effect");
        EXPECT_EQ(boxes[0].Caption, "Information");
        EXPECT_EQ(boxes[0].Type, win32::MB_OK | win32::MB_ICONINFORMATION);
    } else {
        EXPECT_TRUE(boxes.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, OptionLauncher,
                         ::testing::Values(LauncherCase{"AnotherRenderer", true, 1007, true},
                                           LauncherCase{"TheRendererInUse", true, 1009, false},
                                           LauncherCase{"Cancelled", false, 1000, false}),
                         testing_support::CaseName());

// After OK the shortcuts are bound again: a key changed in the dialog works at once.
TEST_F(OptionTest, ShortcutsChangedInTheDialogWorkAtOnce) {
    StartMain();
    testing_support::WhileModal modal([&](QWidget* Shown) {
        auto* d = dynamic_cast<TOption_Form*>(Shown);
        ASSERT_NE(d, nullptr);
        WriteIniString("ShortCut", "Goto", "Ctrl+H");
        Click(d->OK_Btn);
    });
    bool restart = false;
    ShowOptionDialog(form->Handle(), 1, restart);
    EXPECT_EQ(form->aGoto->ShortCut(), TextToShortCut("Ctrl+H"));
    EXPECT_FALSE(restart);
}

TEST_F(OptionTest, NoOwnerWindowNoDialog) {
    StartMain();
    bool restart = false;
    ShowOptionDialog(nullptr, 1, restart);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(restart);
}

} // namespace
} // namespace ui_testing
