// The options dialog's settings pages: Player, Video, Audio, Sub picture, Renderer, Capture and System.

#include <algorithm>
#include <cmath>
#include <string_view>

#include "core/DvdGraph.h"
#include "core/MenuSettings.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/WindowUtils.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/Window.h"
#include "ui/OptionForm.h"

using namespace forms;

namespace {

// The shared drive list (none without the main window's lists).
TStringList* Drives() {
    return State.DriveList.get();
}

// Index of Sender among Controls; -1 when it is none of them.
template <class T, std::size_t N> int IndexOf(const std::array<T*, N>& Controls, const TObject* Sender) {
    for (std::size_t i = 0; i < N; ++i)
        if (Controls[i] == Sender)
            return static_cast<int>(i);
    return -1;
}

void NameControl(TControl* Control, const char* Name) {
    Control->SetName(Name);
}

// The top of row At of the Video page's picture bars.
int PictureRowTop(std::size_t At) {
    return 120 + 30 * static_cast<int>(At);
}

} // namespace

// --- Player page. ---

void TOption_Form::BuildPlayerPage() {
    if (CurrentPage == OptionPages::Player)
        return;
    ClearPage();
    QWidget* p = Component_P;
    AddCaption(p, OptionTexts[4], 10, 15);
    AddLabel(p, OptionTexts[14], 30, 30);
    AddComboBox(Page.DriveCombo, p, 60, 28, 160, [this](TObject* Sender) { DriveComboChange(Sender); });
    NameControl(Page.DriveCombo, "Drive_Cob");
    AddLabelRef(Page.WarningLabel, p, 30, 235, "");
    NameControl(Page.WarningLabel, "Warning_L");
    AddLabel(p, OptionTexts[15], 60, 30);
    AddComboBox(Page.ResumeCombo, p, 270, 58, 160, [this](TObject* Sender) { ResumeComboChange(Sender); });
    NameControl(Page.ResumeCombo, "Resume_Cob");
    AddLine(p, 15, 100);
    AddLabel(p, OptionTexts[19], 110, 30);
    const char* radioNames[] = {"WhileOpenMedia1_RB", "WhileOpenMedia2_RB", "WhileOpenMedia3_RB"};
    for (int i = 0; i < 3; ++i) {
        AddRadioButton(
            Page.WhileOpenMediaRadios[static_cast<std::size_t>(i)], p, 200, 130 + 20 * i, 45,
            [this](TObject* Sender) { WhileOpenMediaClick(Sender); }, OptionTexts[21 + i]);
        NameControl(Page.WhileOpenMediaRadios[static_cast<std::size_t>(i)], radioNames[i]);
    }
    AddLabel(p, OptionTexts[20], 200, 30);
    AddCheckBox(
        Page.MemoryLastPosBox, p, 300, 220, 45, [this](TObject* Sender) { MemoryLastPosClick(Sender); },
        OptionTexts[24]);
    NameControl(Page.MemoryLastPosBox, "MemoryLastPos_CB");
    AddCheckBox(
        Page.ReloadLastBox, p, 300, 240, 45, [this](TObject* Sender) { ReloadLastClick(Sender); },
        OptionTexts[25]);
    NameControl(Page.ReloadLastBox, "ReloadLast_CB");
    AddCheckBox(
        Page.AddAlliedMediaBox, p, 300, 260, 45, [this](TObject* Sender) { AddAlliedMediaClick(Sender); },
        OptionTexts[26]);
    NameControl(Page.AddAlliedMediaBox, "AddAlliedMedia_CB");
    AddCheckBox(
        Page.FullScreenAtonceBox, p, 300, 280, 45, [this](TObject* Sender) { FullScreenAtonceClick(Sender); },
        OptionTexts[27]);
    NameControl(Page.FullScreenAtonceBox, "FullScreenAtonce_CB");
    AddCaption(p, OptionTexts[75], 315, 15);
    AddLabel(p, OptionTexts[76], 340, 30);
    AddReadOnlyEdit(Page.ForwardEdit, p, 40, 338, 120);
    NameControl(Page.ForwardEdit, "Forward_E");
    AddUpDown(
        Page.ForwardEdit, Page.ForwardUpDown, 1000, 0,
        [this](TObject* Sender, TUDBtnType Button) { ForwardUpDownClick(Sender, Button); }, p);
    NameControl(Page.ForwardUpDown, "Forward_UD");
    Page.ForwardUpDown->SetPosition(QuickOnce.EditedValue);
    AddLabel(p, OptionTexts[78], 340, Page.ForwardEdit->Left() + Page.ForwardEdit->Width() + 25);
    AddLabel(p, OptionTexts[77], 340, 240);
    AddReadOnlyEdit(Page.BackwardEdit, p, 40, 338, 340);
    NameControl(Page.BackwardEdit, "Backward_E");
    AddUpDown(
        Page.BackwardEdit, Page.BackwardUpDown, 1000, 0,
        [this](TObject* Sender, TUDBtnType Button) { BackwardUpDownClick(Sender, Button); }, p);
    NameControl(Page.BackwardUpDown, "Backward_UD");
    Page.BackwardUpDown->SetPosition(SlowOnce.EditedValue);
    AddLabel(p, OptionTexts[78], 340, Page.BackwardEdit->Left() + Page.BackwardEdit->Width() + 25);
    Page.ForwardEdit->SetReadOnly(false);
    Page.BackwardEdit->SetReadOnly(false);

    if (Drives() != nullptr)
        ListCdDrives(*Drives());
    FillDriveCombo();
    CheckDefaultDrive();
    ShowPickedDrive();
    FillResumeCombo();
    ShowPlayerValues();
    CurrentPage = OptionPages::Player;
}

namespace {

// A drive of the drive list is its root (the device node, /dev/sr0), a blank and the disc's label: the combo
// lists the roots, and the stored default drive is a root.
std::string_view RootOfDriveText(std::string_view Drive) {
    return Drive.substr(0, Drive.find(' '));
}

} // namespace

void TOption_Form::FillDriveCombo() {
    Page.DriveCombo->Clear();
    if (Drives() == nullptr)
        return;
    for (const std::string& drive : *Drives())
        Page.DriveCombo->Add(std::string(RootOfDriveText(drive)));
}

void TOption_Form::CheckDefaultDrive() {
    Page.WarningLabel->Font().SetColor(clRed);
    State.DefDriver = ReadIniString("PlayControl", "DefDriver");
    // A missing key names no drive.
    if (State.DefDriver == ValueNoFind)
        State.DefDriver.clear();
    auto tell = [this](const char* Text) {
        if (!State.DriveCheckPending)
            win32::MessageBox(Handle(), Text, "Information", win32::MB_OK);
    };
    auto warn = [this](const char* Text) {
        Page.WarningLabel->SetCaption(Text);
        Page.WarningLabel->Show();
    };
    if (Drives() == nullptr || Drives()->Empty()) {
        if (!State.DefDriver.empty()) {
            tell("The default cd/dvd driver is not exists!");
            State.DefDriver.clear();
            WriteIniString("PlayControl", "DefDriver", "");
        }
        Page.DriveCombo->SetEnabled(false);
        warn("No cd/dvd driver in this computer!");
        return;
    }
    if (State.DefDriver.empty()) {
        tell("Please setup default cd/dvd driver.");
        Page.DriveCombo->SetItemIndex(-1);
        warn("Please setup default cd/dvd driver!");
        return;
    }
    // The stored drive names one of the drives when it names the same drive (its root, or the folder its disc
    // is mounted on), as the start-up check of the default drive sees it.
    const std::string wanted = DvdDriveRootOf(State.DefDriver);
    const bool found = !wanted.empty() &&
                       std::any_of(Drives()->begin(), Drives()->end(),
                                   [&](const std::string& Drive) { return DvdDriveRootOf(Drive) == wanted; });
    if (!found) {
        tell("The old default driver cd/dvd is invalidate!");
        Page.DriveCombo->SetItemIndex(-1);
        warn("Please setup default cd/dvd driver!");
        return;
    }
    int selected = -1;
    for (int i = 0; i < Page.DriveCombo->Count() && selected < 0; ++i)
        if (DvdDriveRootOf(Page.DriveCombo->Items(i)) == wanted)
            selected = i;
    Page.DriveCombo->SetItemIndex(selected);
}

void TOption_Form::ShowPickedDrive() {
    if (!DefDriver.Changed())
        return;
    for (int i = 0; i < Page.DriveCombo->Count(); ++i)
        if (Page.DriveCombo->Items(i) == DefDriver.EditedValue)
            Page.DriveCombo->SetItemIndex(i);
    Page.WarningLabel->SetCaption("");
}

void TOption_Form::FillResumeCombo() {
    Page.ResumeCombo->Clear();
    for (int t : {16, 17, 18})
        Page.ResumeCombo->Add(OptionTexts[static_cast<std::size_t>(t)]);
    Page.ResumeCombo->SetItemIndex(AutoResumePlay.EditedValue);
}

void TOption_Form::ShowPlayerValues() {
    const int mode = WhileOpenMedia.EditedValue;
    if (mode >= 1 && mode <= 3)
        Page.WhileOpenMediaRadios[static_cast<std::size_t>(mode - 1)]->SetChecked(true);
    const std::pair<TCheckBox*, int> boxes[] = {{Page.MemoryLastPosBox, MemoryLastPos.EditedValue},
                                                {Page.ReloadLastBox, ReloadLast.EditedValue},
                                                {Page.AddAlliedMediaBox, AddAlliedMedia.EditedValue},
                                                {Page.FullScreenAtonceBox, FullScreenAtonce.EditedValue}};
    for (const auto& [box, value] : boxes)
        if (value == 1 || value == 0)
            box->SetChecked(value == 1);
}

void TOption_Form::DriveComboChange(TObject*) {
    DefDriver.EditedValue = Page.DriveCombo->Text();
    Page.WarningLabel->SetCaption("");
}

void TOption_Form::ResumeComboChange(TObject*) {
    AutoResumePlay.EditedValue = Page.ResumeCombo->ItemIndex();
}

void TOption_Form::WhileOpenMediaClick(TObject* Sender) {
    const int index = IndexOf(Page.WhileOpenMediaRadios, Sender);
    if (index >= 0)
        WhileOpenMedia.EditedValue = index + 1;
}

void TOption_Form::MemoryLastPosClick(TObject*) {
    MemoryLastPos.EditedValue = Page.MemoryLastPosBox->Checked() ? 1 : 0;
}

void TOption_Form::ReloadLastClick(TObject*) {
    ReloadLast.EditedValue = Page.ReloadLastBox->Checked() ? 1 : 0;
}

void TOption_Form::AddAlliedMediaClick(TObject*) {
    AddAlliedMedia.EditedValue = Page.AddAlliedMediaBox->Checked() ? 1 : 0;
}

void TOption_Form::FullScreenAtonceClick(TObject*) {
    FullScreenAtonce.EditedValue = Page.FullScreenAtonceBox->Checked() ? 1 : 0;
}

void TOption_Form::ForwardUpDownClick(TObject*, TUDBtnType) {
    QuickOnce.EditedValue = Page.ForwardUpDown->Position();
}

void TOption_Form::BackwardUpDownClick(TObject*, TUDBtnType) {
    SlowOnce.EditedValue = Page.BackwardUpDown->Position();
}

// --- Video page. ---

void TOption_Form::BuildVideoPage() {
    if (CurrentPage == OptionPages::Video)
        return;
    ClearPage();
    QWidget* p = Component_P;
    auto glyph = [&](const char* File, int Left, int Top, TNotifyEvent OnClick) {
        AddGlyphButton(p, "", true, 23, Top, Left, std::move(OnClick), State.SkinPath + File);
    };
    auto reset = [&](int Left, TNotifyEvent OnClick) {
        AddGlyphButton(p, OptionTexts[31], false, 54, 53, Left, std::move(OnClick), "");
    };
    AddCaption(p, OptionTexts[30], 10, 15);
    glyph("MoveUp.bmp", 53, 30, [this](TObject*) { MoveVideoVertical(1); });
    glyph("MoveDown.bmp", 53, 53, [this](TObject*) { MoveVideoVertical(2); });
    glyph("MoveLeft.bmp", 30, 53, [this](TObject*) { MoveVideoHorizontal(3); });
    glyph("MoveRight.bmp", 76, 53, [this](TObject*) { MoveVideoHorizontal(4); });
    reset(100, [this](TObject* Sender) { ResetPositionClick(Sender); });
    glyph("RoomAdd.bmp", 197, 30, [this](TObject*) { ZoomVideo(6); });
    glyph("RoomReduce.bmp", 197, 53, [this](TObject*) { ZoomVideo(7); });
    reset(221, [this](TObject* Sender) { ResetPositionClick(Sender); });
    glyph("Updown180.bmp", 320, 30, [this](TObject* Sender) { FlipVerticalClick(Sender); });
    glyph("LeftRight180.bmp", 320, 53, [this](TObject* Sender) { FlipHorizontalClick(Sender); });
    reset(344, [this](TObject* Sender) { ResetFlipClick(Sender); });
    AddLine(p, 15, 100);
    // Brightness, contrast and saturation start in the middle, chroma at its minimum.
    auto home = [this](std::size_t At) {
        TTrackBar* bar = Page.PictureBars[At];
        bar->SetPosition(At < 3 ? bar->Max() / 2 : bar->Min());
    };
    // The labels, then the bars, then their buttons: the focus goes down the bars before the buttons.
    for (std::size_t at = 0; at < 4; ++at)
        AddLabel(p, OptionTexts[32 + at], PictureRowTop(at) + 2, 30);
    for (std::size_t at = 0; at < 4; ++at) {
        AddTrackBar(Page.PictureBars[at], p, 260, 22, PictureRowTop(at), 110, [](TObject*) {});
        home(at);
    }
    for (std::size_t at = 0; at < 4; ++at)
        AddButton(
            Page.PictureResetButtons[at], p, 60, 21, PictureRowTop(at), 380,
            [home, at](TObject*) { home(at); }, OptionTexts[31]);
    CurrentPage = OptionPages::Video;
}

void TOption_Form::SaveVideoRect() {
    if (State.RenderType == RenderTypes::OwnRenderer) {
        if (State.VideoWindow) {
            const TVideoRect& r = State.VideoRect;
            OldRendererRect.Loaded = {r.Left, r.Top, r.Width, r.Height};
            OldRendererRect.Current = OldRendererRect.Loaded;
        }
    } else if (State.RenderType == RenderTypes::Vmr7 || State.RenderType == RenderTypes::Vmr9) {
        if (State.Vmr7WindowlessControl)
            State.Vmr7WindowlessControl->GetVideoPosition(&VmrSourceRect, &VmrDestRect.Loaded);
        else if (State.Vmr9WindowlessControl)
            State.Vmr9WindowlessControl->GetVideoPosition(&VmrSourceRect, &VmrDestRect.Loaded);
        VmrDestRect.Current = VmrDestRect.Loaded;
    }
}

void TOption_Form::SavePanelSize() {
    win32::RECT client;
    if (State.VideoPanelHandle != nullptr &&
        win32::GetClientRect(State.VideoPanelHandle, &client) != win32::FALSE)
        VideoPanelSize = {client.right - client.left, client.bottom - client.top};
}

namespace {

// The current rectangles to the renderer in use: the old renderer's window, or the mixing renderer's
// destination (VMR-7 when it is there, else VMR-9).
void PlaceVideo(const TOption_Form::TRendererRect& Window, const win32::RECT& Destination) {
    if (State.RenderType == RenderTypes::OwnRenderer) {
        if (State.VideoWindow)
            State.VideoWindow->SetWindowPosition(Window.Left, Window.Top, Window.Width, Window.Height);
    } else if (State.RenderType == RenderTypes::Vmr7 || State.RenderType == RenderTypes::Vmr9) {
        if (State.Vmr7WindowlessControl)
            State.Vmr7WindowlessControl->SetVideoPosition(nullptr, &Destination);
        else if (State.Vmr9WindowlessControl)
            State.Vmr9WindowlessControl->SetVideoPosition(nullptr, &Destination);
    }
}

// Exchanges two edges of stream 0's output rectangle on the mixer in use.
void FlipOutput(bool Vertical) {
    dshow::NORMALIZEDRECT rect;
    auto flip = [&](auto& Mixer) {
        if (com::FAILED(Mixer->GetOutputRect(0, &rect)))
            return;
        if (Vertical)
            std::swap(rect.top, rect.bottom);
        else
            std::swap(rect.left, rect.right);
        Mixer->SetOutputRect(0, &rect);
    };
    if (State.Vmr7MixerControl)
        flip(State.Vmr7MixerControl);
    else if (State.Vmr9MixerControl)
        flip(State.Vmr9MixerControl);
}

bool MixingRenderer() {
    return State.RenderType == RenderTypes::Vmr7 || State.RenderType == RenderTypes::Vmr9;
}

} // namespace

void TOption_Form::MoveVideoVertical(int Direction) {
    const int step = Direction == 1 ? -5 : 5;
    if (State.RenderType == RenderTypes::OwnRenderer) {
        OldRendererRect.Current.Top += step;
    } else if (MixingRenderer()) {
        VmrDestRect.Current.top += step;
        VmrDestRect.Current.bottom += step;
    }
    PlaceVideo(OldRendererRect.Current, VmrDestRect.Current);
    InvalidateClient(State.VideoPanelHandle);
}

void TOption_Form::MoveVideoHorizontal(int Direction) {
    const int step = Direction == 3 ? -5 : 5;
    if (State.RenderType == RenderTypes::OwnRenderer) {
        OldRendererRect.Current.Left += step;
    } else if (MixingRenderer()) {
        VmrDestRect.Current.left += step;
        VmrDestRect.Current.right += step;
    }
    PlaceVideo(OldRendererRect.Current, VmrDestRect.Current);
    InvalidateClient(State.VideoPanelHandle);
}

void TOption_Form::ZoomVideo(int Mode) {
    const int percent = Mode == 6 ? 105 : 95;
    if (State.RenderType == RenderTypes::OwnRenderer) {
        TRendererRect& r = OldRendererRect.Current;
        r.Height = r.Height * percent / 100;
        r.Width = r.Width * percent / 100;
        r.Left = (VideoPanelSize.Width - r.Width) / 2;
        r.Top = (VideoPanelSize.Height - r.Height) / 2;
    } else if (MixingRenderer()) {
        win32::RECT& r = VmrDestRect.Current;
        const int h = (r.bottom - r.top) * percent / 100;
        const int w = (r.right - r.left) * percent / 100;
        r.left = (VideoPanelSize.Width - w) / 2;
        r.top = (VideoPanelSize.Height - h) / 2;
        r.right = r.left + w;
        r.bottom = r.top + h;
    }
    PlaceVideo(OldRendererRect.Current, VmrDestRect.Current);
    InvalidateClient(State.VideoPanelHandle);
}

void TOption_Form::ResetPositionClick(TObject*) {
    OldRendererRect.Current = OldRendererRect.Loaded;
    VmrDestRect.Current = VmrDestRect.Loaded;
    PlaceVideo(OldRendererRect.Current, VmrDestRect.Current);
    InvalidateClient(State.VideoPanelHandle);
}

void TOption_Form::FlipVerticalClick(TObject*) {
    if (MixingRenderer())
        FlipOutput(true);
}

void TOption_Form::FlipHorizontalClick(TObject*) {
    if (MixingRenderer())
        FlipOutput(false);
}

void TOption_Form::ResetFlipClick(TObject*) {
    if (State.RenderType == RenderTypes::OwnRenderer) {
        const TRendererRect& r = OldRendererRect.Loaded;
        if (State.VideoWindow)
            State.VideoWindow->SetWindowPosition(r.Left, r.Top, r.Width, r.Height);
    } else if (MixingRenderer()) {
        const dshow::NORMALIZEDRECT whole{0, 0, 1, 1};
        if (State.Vmr7MixerControl)
            State.Vmr7MixerControl->SetOutputRect(0, &whole);
        else if (State.Vmr9MixerControl)
            State.Vmr9MixerControl->SetOutputRect(0, &whole);
    }
}

// --- Audio page. ---

void TOption_Form::BuildAudioPage() {
    if (CurrentPage == OptionPages::Audio)
        return;
    ClearPage();
    // The speakers' names follow the player's language, not the dialog's.
    static const std::array<std::pair<const char*, const char*>, 8> speakers = {{
        {"1 Speaker - MONO", "1 扬声器 - 单声道"},
        {"2 Speakers - STEREO", "2 扬声器 - 立体声"},
        {"4 Speakers - L,R,LS,RS", "4 扬声器 - 左，右，左环绕，右环绕"},
        {"5 Speakers - L,C,R,LS,RS", "5 扬声器 - 左，中，右，左环绕，右环绕"},
        {"6 Speakers - 5.1 channels: L,C,R,LS,RS,LEF",
         "6 扬声器 - 5.1声道：左，中，右，左环绕，右环绕，重低音"},
        {"7 Speakers - 6.1 channels", "7 扬声器 - 6.1声道"},
        {"8 Speakers - 7.1 channels", "8 扬声器 - 7.1声道"},
        {"S/PDIF - to external audio decoder", "S/PDIF - 以数字方式输出到外接的音频解码器"},
    }};
    AddCaption(Component_P, OptionTexts[36], 10, 15);
    for (std::size_t i = 0; i < speakers.size(); ++i) {
        std::string text;
        if (State.Language == Languages::English)
            text = speakers[i].first;
        else if (State.Language == Languages::Chinese)
            text = speakers[i].second;
        AddRadioButton(
            Page.SpeakerRadios[i], Component_P, 300, 30 + 25 * static_cast<int>(i), 30, [](TObject*) {},
            text);
    }
    TButton* reset = nullptr;
    AddButton(
        reset, Component_P, 80, 21, 245, 350, [this](TObject* Sender) { SpeakerDefaultClick(Sender); },
        OptionTexts[31]);
    Page.SpeakerRadios[1]->SetChecked(true);
    CurrentPage = OptionPages::Audio;
}

void TOption_Form::SpeakerDefaultClick(TObject*) {
    Page.SpeakerRadios[1]->SetChecked(true);
}

// --- Sub picture page. ---

void TOption_Form::BuildSubPicturePage() {
    if (CurrentPage == OptionPages::SubPicture)
        return;
    ClearPage();
    QWidget* p = Component_P;
    const TNotifyEvent nothing = [](TObject*) {};
    AddCaption(p, OptionTexts[38], 10, 15);
    AddReadOnlyEdit(Page.SubPictureFileEdit, p, 365, 30, 45);
    AddSpeedButton(
        Page.SubPictureBrowseButton, p, 29, 412, [this](TObject* Sender) { BrowseSubtitleFile(Sender); },
        "...");
    AddCaption(p, OptionTexts[39], 80, 15);
    AddLabel(p, OptionTexts[40], 105, 30);
    AddComboBox(Page.FontNameCombo, p, 110, 103, 105, nothing);
    for (const std::string& face : win32::ScreenFontNames())
        Page.FontNameCombo->Add(face);
    const std::string uiFace = State.UiFont ? State.UiFont->Name() : std::string();
    for (int i = 0; i < Page.FontNameCombo->Count(); ++i)
        if (Page.FontNameCombo->Items(i) == uiFace)
            Page.FontNameCombo->SetItemIndex(i);
    for (const auto& [file, left] :
         {std::pair{"FontBold.bmp", 216}, {"FontItalic.bmp", 240}, {"FontUnderline.bmp", 264}})
        AddGlyphButton(p, "", false, 23, 102, left, nothing, State.SkinPath + file);
    AddLabel(p, OptionTexts[41], 135, 310);
    AddComboBox(Page.FontSizeCombo, p, 60, 133, 375, nothing);
    FillFontSizes(Page.FontNameCombo->Text());
    AddLabel(p, OptionTexts[42], 135, 30);
    AddColorBox(Page.FontColorBox, p, 180, 133, 105, nothing);
    AddCaption(p, OptionTexts[43], 180, 15);
    AddComboBox(Page.PositionCombo, p, 80, 205, 30, nothing);
    for (int t : {44, 45, 46})
        Page.PositionCombo->Add(OptionTexts[static_cast<std::size_t>(t)]);
    Page.PositionCombo->SetItemIndex(1);
    AddLabel(p, OptionTexts[47], 208, 140);
    AddTrackBar(Page.PositionBar, p, 210, 22, 205, 170, nothing);
    AddLabel(p, OptionTexts[48], 208, 400);
    CurrentPage = OptionPages::SubPicture;
}

void TOption_Form::BrowseSubtitleFile(TObject*) {
    SetSubtitleFileFilter(*SpFile_OD);
    if (SpFile_OD->Execute() && !SpFile_OD->FileName.empty() && Page.SubPictureFileEdit != nullptr)
        Page.SubPictureFileEdit->SetText(SpFile_OD->FileName);
}

void TOption_Form::FillFontSizes(const std::string& Face) {
    Page.FontSizeCombo->Clear();
    fontLogPixelsY_ = win32::ScreenLogPixelsY();
    win32::EnumFontFamilies(Face, [this](const win32::TEXTMETRIC& Metric, win32::DWORD FontType) {
        return FontSizeEnumProc(Metric, FontType);
    });
}

int TOption_Form::FontSizeEnumProc(const win32::TEXTMETRIC& Metric, win32::DWORD FontType) {
    if ((FontType & win32::TRUETYPE_FONTTYPE) != 0 || FontType == 0 || FontType == win32::DEVICE_FONTTYPE)
        for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
            Page.FontSizeCombo->Add(std::to_string(size));
    if ((FontType & win32::RASTER_FONTTYPE) == 0)
        return 0;
    // To the nearest point, a half to the even neighbour.
    const int size = static_cast<int>(
        std::nearbyint((Metric.tmHeight - Metric.tmInternalLeading) * 72.0 / fontLogPixelsY_));
    const std::string text = std::to_string(size);
    for (int i = 0; i < Page.FontSizeCombo->Count(); ++i)
        if (Page.FontSizeCombo->Items(i) == text)
            return 1;
    InsertSizeSorted(size);
    return 1;
}

void TOption_Form::InsertSizeSorted(int Size) {
    int at = Page.FontSizeCombo->Count();
    for (int i = 0; i < Page.FontSizeCombo->Count(); ++i)
        if (std::atoi(Page.FontSizeCombo->Items(i).c_str()) > Size) {
            at = i;
            break;
        }
    Page.FontSizeCombo->Insert(at, std::to_string(Size));
}

// --- Renderer page. ---

void TOption_Form::BuildDecoderPage() {
    if (CurrentPage == OptionPages::Decoder)
        return;
    ClearPage();
    QWidget* p = Component_P;
    const TNotifyEvent radioClick = [this](TObject* Sender) { RendererRadioClick(Sender); };
    AddCaption(p, OptionTexts[8], 10, 15);
    AddLabel(p, OptionTexts[62], 30, 30);
    AddCheckBox(
        Page.BySystemBox, p, 300, 50, 45, [this](TObject* Sender) { SelectBySystemClick(Sender); },
        OptionTexts[63]);
    NameControl(Page.BySystemBox, "BySystem_CB");
    AddCheckBox(
        Page.YourselfBox, p, 300, 75, 45, [this](TObject* Sender) { SelectYourselfClick(Sender); },
        OptionTexts[64]);
    NameControl(Page.YourselfBox, "Yourself_CB");
    AddRadioButton(Page.Vmr9Radio, p, 300, 95, 70, radioClick, OptionTexts[67]);
    NameControl(Page.Vmr9Radio, "Vmr9_RB");
    AddRadioButton(Page.Vmr7Radio, p, 300, 115, 70, radioClick, OptionTexts[68]);
    NameControl(Page.Vmr7Radio, "Vmr7_RB");
    AddRadioButton(Page.OldRendererRadio, p, 300, 135, 70, radioClick, OptionTexts[69]);
    NameControl(Page.OldRendererRadio, "OldRenderer_RB");
    AddLine(p, 15, 165);
    AddLabel(p, OptionTexts[65], 180, 30);
    AddCheckBox(
        Page.UseGpuBox, p, 300, 200, 45, [this](TObject* Sender) { UseGpuClick(Sender); }, OptionTexts[66]);
    NameControl(Page.UseGpuBox, "UseGpu_CB");

    if (SelKernelType.EditedValue == SelKernelTypes::Detected)
        Page.BySystemBox->SetChecked(true);
    else if (SelKernelType.EditedValue == SelKernelTypes::Stored)
        Page.YourselfBox->SetChecked(true);
    if (Page.YourselfBox->Checked()) {
        if (State.Vmr9Available)
            Page.Vmr9Radio->SetEnabled(true);
        if (State.Vmr7Available)
            Page.Vmr7Radio->SetEnabled(true);
        Page.OldRendererRadio->SetEnabled(State.PlayType != PlayTypes::Pip);
    } else {
        for (TRadioButton* radio : {Page.Vmr9Radio, Page.Vmr7Radio, Page.OldRendererRadio})
            radio->SetEnabled(false);
    }
    switch (EditedRenderType) {
    case RenderTypes::Vmr9:
        Page.Vmr9Radio->SetChecked(true);
        break;
    case RenderTypes::Vmr7:
        Page.Vmr7Radio->SetChecked(true);
        break;
    case RenderTypes::OwnRenderer:
        Page.OldRendererRadio->SetChecked(true);
        break;
    default:
        break;
    }
    Page.UseGpuBox->SetChecked(UseGPU.EditedValue == 1);
    CurrentPage = OptionPages::Decoder;
}

void TOption_Form::SelectBySystemClick(TObject*) {
    if (!Page.BySystemBox->Checked())
        return;
    Page.YourselfBox->SetChecked(false);
    SelKernelType.EditedValue = SelKernelTypes::Detected;
}

void TOption_Form::SelectYourselfClick(TObject*) {
    const bool ticked = Page.YourselfBox->Checked();
    if (ticked) {
        Page.BySystemBox->SetChecked(false);
        SelKernelType.EditedValue = SelKernelTypes::Stored;
    }
    for (TRadioButton* radio : {Page.Vmr9Radio, Page.Vmr7Radio, Page.OldRendererRadio})
        radio->SetEnabled(ticked);
}

void TOption_Form::RendererRadioClick(TObject* Sender) {
    if (Sender == Page.Vmr9Radio)
        EditedRenderType = RenderTypes::Vmr9;
    else if (Sender == Page.Vmr7Radio)
        EditedRenderType = RenderTypes::Vmr7;
    else if (Sender == Page.OldRendererRadio)
        EditedRenderType = RenderTypes::OwnRenderer;
}

void TOption_Form::UseGpuClick(TObject*) {
    UseGPU.EditedValue = Page.UseGpuBox->Checked() ? 1 : 0;
}

// --- Capture page. ---

void TOption_Form::BuildCapturePage() {
    if (CurrentPage == OptionPages::Capture)
        return;
    ClearPage();
    QWidget* p = Component_P;
    AddCaption(p, OptionTexts[70], 10, 15);
    AddLabel(p, OptionTexts[72], 33, 30);
    AddReadOnlyEdit(Page.CapturePathEdit, p, 300, 30, 110);
    NameControl(Page.CapturePathEdit, "CapturePath_E");
    Page.CapturePathEdit->SetText(CaptureImagePath.EditedValue);
    AddSpeedButton(
        Page.CaptureBrowseButton, p, 29, 412, [this](TObject* Sender) { BrowseCapturePath(Sender); }, "...");
    NameControl(Page.CaptureBrowseButton, "CaptureBrowse_SB");
    AddLabel(p, OptionTexts[73], 65, 30);
    AddComboBox(Page.ImageTypeCombo, p, 90, 63, 110,
                [this](TObject* Sender) { ImageTypeComboChange(Sender); });
    NameControl(Page.ImageTypeCombo, "ImageType_Cob");
    Page.ImageTypeCombo->Add(".bmp");
    Page.ImageTypeCombo->Add(".jpg");
    for (int i = 0; i < Page.ImageTypeCombo->Count(); ++i)
        if (Page.ImageTypeCombo->Items(i) == DefaultImageType.EditedValue)
            Page.ImageTypeCombo->SetItemIndex(i);
    AddCheckBox(
        Page.AskSaveOptionBox, p, 230, 65, 220, [this](TObject* Sender) { AskSaveOptionClick(Sender); },
        OptionTexts[74]);
    NameControl(Page.AskSaveOptionBox, "AskSaveOption_CB");
    if (AskSaveOption.EditedValue == 1 || AskSaveOption.EditedValue == 0)
        Page.AskSaveOptionBox->SetChecked(AskSaveOption.EditedValue == 1);
    CurrentPage = OptionPages::Capture;
}

void TOption_Form::BrowseCapturePath(TObject*) {
    std::string folder;
    if (!SelectDirectory(OptionTexts[71], "", folder, this) || Page.CapturePathEdit == nullptr)
        return;
    if (folder.empty() || folder == Page.CapturePathEdit->Text())
        return;
    CaptureImagePath.EditedValue = folder;
    Page.CapturePathEdit->SetText(folder);
}

void TOption_Form::ImageTypeComboChange(TObject*) {
    DefaultImageType.EditedValue = Page.ImageTypeCombo->Text();
}

void TOption_Form::AskSaveOptionClick(TObject*) {
    AskSaveOption.EditedValue = Page.AskSaveOptionBox->Checked() ? 1 : 0;
}

// --- System page. ---

void TOption_Form::BuildSystemPage() {
    if (CurrentPage == OptionPages::System)
        return;
    ClearPage();
    AddCaption(Component_P, OptionTexts[28], 10, 15);
    AddCheckBox(
        Page.MinimizeToTrayBox, Component_P, 300, 35, 30,
        [this](TObject* Sender) { MinimizeToTrayClick(Sender); }, OptionTexts[29]);
    NameControl(Page.MinimizeToTrayBox, "MinimizeToTray_CB");
    if (MinimizeToTray.EditedValue == 1 || MinimizeToTray.EditedValue == 0)
        Page.MinimizeToTrayBox->SetChecked(MinimizeToTray.EditedValue == 1);
    CurrentPage = OptionPages::System;
}

void TOption_Form::MinimizeToTrayClick(TObject*) {
    MinimizeToTray.EditedValue = Page.MinimizeToTrayBox->Checked() ? 1 : 0;
}
