#include "core/MenuSettings.h"

#include <span>

#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "platform/win32/Window.h"

namespace {

// One radio group: its setting, the mirror in the shared state and the value of each item in order.
struct RadioGroup {
    const char* Section;
    const char* Key;
    int PlaybackState::*Mirror;
    std::span<const int> Values;
};

constexpr int SoundBalanceValues[] = {SoundBalances::Stereo, SoundBalances::Left, SoundBalances::Right};
constexpr int StayOnTopValues[] = {StayOnTops::Never, StayOnTops::Always, StayOnTops::WhilePlaying};
constexpr int AfterPlayValues[] = {AfterPlays::PowerOff, AfterPlays::Suspend, AfterPlays::Exit, AfterPlays::Nothing};
constexpr int VideoScaleValues[] = {VideoScales::Original, VideoScales::Fill, VideoScales::Ratio4x3,
                                    VideoScales::Ratio5x4, VideoScales::Ratio16x9};
constexpr int PlayModeValues[] = {PlayModes::None, PlayModes::Sequential, PlayModes::Random, PlayModes::RepeatOne};

const RadioGroup SoundBalanceGroup{"Play", "SoundBalance", &PlaybackState::SoundBalance, SoundBalanceValues};
const RadioGroup StayOnTopGroup{"Play", "StayOnTop", &PlaybackState::StayOnTop, StayOnTopValues};
const RadioGroup AfterPlayGroup{"Play", "AfterPlay", &PlaybackState::AfterPlay, AfterPlayValues};
const RadioGroup VideoScaleGroup{"View", "VideoScale", &PlaybackState::VideoScale, VideoScaleValues};
const RadioGroup PlayModeGroup{"PlayControl", "PlayMode", &PlaybackState::PlayMode, PlayModeValues};

void LoadGroup(const RadioGroup& Group, const forms::TMenuItemArray& Items) {
    const int value = ReadIniInteger(Group.Section, Group.Key);
    State.*Group.Mirror = value;
    UncheckMenuItems(Items);
    for (std::size_t i = 0; i < Items.size() && i < Group.Values.size(); ++i)
        if (Group.Values[i] == value) {
            Items[i]->SetChecked(true);
            return;
        }
}

// The value of the first checked item into the mirror; false when no item is checked.
bool TakeCheckedValue(const RadioGroup& Group, const forms::TMenuItemArray& Items) {
    for (std::size_t i = 0; i < Items.size() && i < Group.Values.size(); ++i)
        if (Items[i]->Checked()) {
            State.*Group.Mirror = Group.Values[i];
            return true;
        }
    return false;
}

// The one writer makes sure the settings file exists first, so no save leaves a file holding one key.
void WriteMirror(const RadioGroup& Group) { WriteIniInteger(Group.Section, Group.Key, State.*Group.Mirror); }

void SaveGroup(const RadioGroup& Group, const forms::TMenuItemArray& Items) {
    TakeCheckedValue(Group, Items);
    WriteMirror(Group);
}

void SetTopMost(bool TopMost, int Left, int Top, int Width, int Height) {
    win32::SetWindowPos(State.MainWindowHandle, TopMost ? win32::HWND_TOPMOST : win32::HWND_NOTOPMOST, Left, Top,
                        Width, Height, win32::SWP_NOACTIVATE);
}

} // namespace

void DisableMenuItems(const forms::TMenuItemArray& Items) {
    for (forms::TMenuItem* item : Items)
        item->SetEnabled(false);
}

void EnableMenuItems(const forms::TMenuItemArray& Items) {
    for (forms::TMenuItem* item : Items)
        item->SetEnabled(true);
}

void UncheckMenuItems(const forms::TMenuItemArray& Items) {
    for (forms::TMenuItem* item : Items)
        item->SetChecked(false);
}

void SetMenuItemsOnClick(const forms::TMenuItemArray& Items, const forms::TNotifyEvent& Handler) {
    for (forms::TMenuItem* item : Items)
        item->OnClick = Handler;
}

void LoadSoundBalanceMenu(const forms::TMenuItemArray& Items) { LoadGroup(SoundBalanceGroup, Items); }

void SaveSoundBalanceMenu(const forms::TMenuItemArray& Items) {
    TakeCheckedValue(SoundBalanceGroup, Items);
    if (State.BasicAudio)
        State.BasicAudio->put_Balance(State.SoundBalance);
    WriteMirror(SoundBalanceGroup);
}

void LoadStayOnTopMenu(int Left, int Top, int Width, int Height, const forms::TMenuItemArray& Items) {
    LoadGroup(StayOnTopGroup, Items);
    if (State.StayOnTop == StayOnTops::Never)
        SetTopMost(false, Left, Top, Width, Height);
    else if (State.StayOnTop == StayOnTops::Always)
        SetTopMost(true, Left, Top, Width, Height);
}

void SaveStayOnTopMenu(int Left, int Top, int Width, int Height, const forms::TMenuItemArray& Items) {
    if (TakeCheckedValue(StayOnTopGroup, Items)) {
        if (State.StayOnTop == StayOnTops::Never) {
            SetTopMost(false, Left, Top, Width, Height);
        } else if (State.StayOnTop == StayOnTops::Always) {
            const bool coversScreen = Width == win32::GetSystemMetrics(win32::SM_CXSCREEN) &&
                                      Height == win32::GetSystemMetrics(win32::SM_CYSCREEN);
            if (!coversScreen)
                SetTopMost(true, Left, Top, Width, Height);
        }
    }
    WriteMirror(StayOnTopGroup);
}

void LoadAfterPlayMenu(const forms::TMenuItemArray& Items) { LoadGroup(AfterPlayGroup, Items); }
void SaveAfterPlayMenu(const forms::TMenuItemArray& Items) { SaveGroup(AfterPlayGroup, Items); }
void LoadVideoScaleMenu(const forms::TMenuItemArray& Items) { LoadGroup(VideoScaleGroup, Items); }
void SaveVideoScaleMenu(const forms::TMenuItemArray& Items) { SaveGroup(VideoScaleGroup, Items); }
void LoadPlayModeMenu(const forms::TMenuItemArray& Items) { LoadGroup(PlayModeGroup, Items); }
void SavePlayModeMenu(const forms::TMenuItemArray& Items) { SaveGroup(PlayModeGroup, Items); }

void UpdatePipMenus(const forms::TMenuItemArray& PipItems, const forms::TMenuItemArray& ReverseItems) {
    if (State.PlayType == PlayTypes::Pip) {
        EnableMenuItems(PipItems);
        CheckPipReverseItem(ReverseItems);
    } else {
        DisableMenuItems(PipItems);
    }
}

void CheckPipReverseItem(const forms::TMenuItemArray& Items) {
    if (State.PlayType != PlayTypes::Pip || Items.size() < 4)
        return;
    UncheckMenuItems(Items);
    // Zero until the mixer answers: a rectangle the mixer did not give checks nothing.
    dshow::NORMALIZEDRECT r{0, 0, 0, 0};
    com::HRESULT got = com::E_FAIL;
    const auto stream = static_cast<win32::DWORD>(State.PipSmallStream);
    if (State.RenderType == RenderTypes::Vmr7 && State.Vmr7MixerControl)
        got = State.Vmr7MixerControl->GetOutputRect(stream, &r);
    else if (State.RenderType == RenderTypes::Vmr9 && State.Vmr9MixerControl)
        got = State.Vmr9MixerControl->GetOutputRect(stream, &r);
    if (com::FAILED(got))
        return;
    // Items: pNoreverse, pUpdownreverse, pLeftrightreverse, pCompletereverse.
    if (r.left < r.right && r.top < r.bottom)
        Items[0]->SetChecked(true);
    else if (r.left > r.right && r.top < r.bottom)
        Items[2]->SetChecked(true);
    else if (r.left < r.right && r.top > r.bottom)
        Items[1]->SetChecked(true);
    else if (r.left > r.right && r.top > r.bottom)
        Items[3]->SetChecked(true);
}

// The media filter lists .m3u, .mid and .midi under its first caption and .realpix as its caption says.
const char* const MediaFileFilter =
    "FamiliarMediaFiles|*.avi;*.asf;*.wma;*.wmv;*.wm;*.mpg;*.mpeg;*.mp2;*.mp3;*.mpa;*.mpv2;*.m3u;*.mid;*.midi;"
    "*.rmi;*.aif;*.aifc;*.aiff;*.ra;*.rm;*.rmvb;*.vob"
    "|Windows Media Files(*.avi;*.asf;*.wma;*.wmv;*.wm)|*.avi;*.asf;*.wma;*.wmv;*.wm"
    "|Real Media Files(*.ra;*.rm;*.ram;*.rmvb;*.rpm;*.rt;*.scm;*.smi;*.smil;*.realpix)"
    "|*.ra;*.rm;*.ram;*.rmvb;*.rpm;*.rt;*.scm;*.smi;*.smil;*.realpix"
    "|Player List Files(*.asx;*.m3u;*.pls;*.wvx;*.wax;*.wmx;*.mpcpl;*.sml)"
    "|*.asx;*.m3u;*.pls;*.wvx;*.wax;*.wmx;*.mpcpl;*.sml"
    "|Flash Files(*.flv;*.swf)|*.flv;*.swf"
    "|DVD Files(*.vob;*.if3;*.ac3;*.dts)|*.vob;*.if3;*.ac3;*.dts"
    "|All Files(*.*)|*.*";
const char* const VideoFileFilter = "FamiliarVideoFiles|*.avi;*.asf;*.wmv;*.wm;*.mpg;*.mpeg;*.rm;*.rmvb;*.flv;*.vob";
const char* const PlayListFileFilter = "TarvexDvd List Files(*.kmvlf)|*.kmvlf|All Files(*.*)|*.*";
const char* const ImageSaveFilter = "Bmp Files(*.bmp)|*.bmp|Jpg Files(*.jpg)|*.jpg";
const char* const SubtitleFileFilter =
    "SubPicture Files(*.srt;*.sub;*.idx;*.smi;*.ssa;*.ass)|*.srt;*.sub;*.idx;*.smi;*.ssa;*.ass|All Files(*.*)|*.*";

void SetMediaFileFilter(forms::TOpenDialog& Dialog) {
    Dialog.Filter = MediaFileFilter;
    Dialog.Options = forms::ofAllowMultiSelect;
}

void SetMediaFileFilterOnly(forms::TOpenDialog& Dialog) { Dialog.Filter = MediaFileFilter; }

void SetVideoFileFilter(forms::TOpenDialog& Dialog) {
    Dialog.Filter = VideoFileFilter;
    Dialog.Options = forms::ofAllowMultiSelect;
}

void SetPlayListFileFilter(forms::TOpenDialog& Dialog) {
    Dialog.Filter = PlayListFileFilter;
    Dialog.InitialDir = State.ProjectPath;
    Dialog.FileName = "kmvPlayListFile";
}

void SetImageSaveFilter(forms::TOpenDialog& Dialog, const std::string& FileName) {
    Dialog.Filter = ImageSaveFilter;
    Dialog.InitialDir = State.TempPath;
    Dialog.FileName = FileName;
}

void SetSubtitleFileFilter(forms::TOpenDialog& Dialog) { Dialog.Filter = SubtitleFileFilter; }
