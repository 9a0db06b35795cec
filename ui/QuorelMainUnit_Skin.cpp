// The skin buttons of the main window: the picture each shows in each state, the state rule that swaps them
// on the mouse's events, the pictures after a change of the play state, and the hints. What the buttons'
// clicks and releases do is bound with the other command routes (QuorelMainUnit_Commands.cpp).

#include "ui/QuorelMainUnit_Skin.h"

#include <algorithm>
#include <string_view>

#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/WindowUtils.h"
#include "platform/win32/Window.h"
#include "ui/QuorelMainUnit.h"

using namespace forms;

namespace {

struct SkinRow {
    std::string_view Button;
    int Variant;
    const char* Normal;
    const char* Hight;
    const char* Enter;
    const char* Disable;
};

// Every main-window button, each variant, each state.
constexpr SkinRow kSkinTable[] = {
    {"Menu_xi", 0, "Menu_Normal_Menu.bmp", "Menu_Hight_Menu.bmp", nullptr, nullptr},
    {"Ontop_xi", 0, "Ontop_Normal_btn.bmp", "Ontop_Hight_btn.bmp", "Ontop_Enter_btn.bmp", nullptr},
    {"Ontop_xi", 1, "Toped_Normal_btn.bmp", "Toped_Hight_btn.bmp", "Toped_Enter_btn.bmp", nullptr},
    {"Ontop_xi", 2, "TopatPlay_Normal_btn.bmp", "TopatPlay_Hight_btn.bmp", "TopatPlay_Enter_btn.bmp",
     nullptr},
    {"Min_xi", 0, "Min_Normal_Btn.bmp", "Min_Hight_Btn.bmp", "Min_Enter_Btn.bmp", nullptr},
    {"Max_xi", SkinVariants::Max, "Max_Normal_Btn.bmp", "Max_Hight_Btn.bmp", "Max_Enter_Btn.bmp", nullptr},
    {"Max_xi", SkinVariants::Restore, "Restore_Normal_Btn.bmp", "Restore_Hight_Btn.bmp",
     "Restore_Enter_Btn.bmp", nullptr},
    {"Close_xi", 0, "Close_Normal_Btn.bmp", "Close_Hight_Btn.bmp", "Close_Enter_Btn.bmp", nullptr},
    {"PlayPause_XI", SkinVariants::Play, "Play_Normal_Btn.bmp", "Play_Hight_Btn.bmp", "Play_Enter_Btn.bmp",
     nullptr},
    {"PlayPause_XI", SkinVariants::Pause, "Pause_Normal_Btn.bmp", "Pause_Hight_Btn.bmp",
     "Pause_Enter_Btn.bmp", nullptr},
    {"Stop_XI", 0, "Stop_Normal_Btn.bmp", "Stop_Hight_Btn.bmp", "Stop_Enter_Btn.bmp", "Stop_Disable_Btn.bmp"},
    {"Previous_XI", 0, "Prev_Normal_Btn.bmp", "Prev_Hight_Btn.bmp", "Prev_Enter_Btn.bmp",
     "Prev_Disable_Btn.bmp"},
    {"Next_XI", 0, "Next_Normal_Btn.bmp", "Next_Hight_Btn.bmp", "Next_Enter_Btn.bmp", "Next_Disable_Btn.bmp"},
    {"Backward_XI", 0, "BackWard_Normal_Btn.bmp", "BackWard_Hight_Btn.bmp", "BackWard_Enter_Btn.bmp",
     "BackWard_Disable_Btn.bmp"},
    {"Forward_XI", 0, "ForWard_Normal_Btn.bmp", "ForWard_Hight_Btn.bmp", "Forward_Enter_Btn.bmp",
     "ForWard_Disable_Btn.bmp"},
    {"Volume_XI", SkinVariants::Sound, "Sound_Normal_btn.bmp", "Sound_Hight_btn.bmp", "Sound_Enter_btn.bmp",
     nullptr},
    {"Volume_XI", SkinVariants::Slience, "Slience_Normal_btn.bmp", "Slience_Hight_btn.bmp",
     "Slience_Enter_btn.bmp", nullptr},
    {"Open_xi", 0, "Open_Normal_btn.bmp", "Open_Hight_btn.bmp", "Open_Enter_btn.bmp", nullptr},
    {"Opendvd_xi", 0, "Opendvd_Normal_btn.bmp", "Opendvd_Hight_btn.bmp", "Opendvd_enter_btn.bmp", nullptr},
    {"Capture_XI", 0, "Capture_Normal_btn.bmp", "Capture_Hight_btn.bmp", "Capture_Enter_btn.bmp",
     "Capture_Disable_btn.bmp"},
    {"maxmin_xi", 0, "Maxmin_Normal_btn.bmp", "Maxmin_Hight_btn.bmp", "Maxmin_Enter_btn.bmp",
     "Maxmin_Disable_btn.bmp"},
    {"Option_XI", 0, "Option_Normal_btn.bmp", "Option_Hight_btn.bmp", "Option_Enter_btn.bmp", nullptr},
    {"VideoBar_XI", 0, "VideoBar_Normal.bmp", "VideoBar_hight.bmp", "VideoBar_hight.bmp", nullptr},
    {"SoundBar_XI", 0, "SoundBar_Normal.bmp", "SoundBar_Hight.bmp", "SoundBar_Hight.bmp", nullptr},
};

bool OneOf(std::string_view Button, std::initializer_list<std::string_view> Names) {
    return std::find(Names.begin(), Names.end(), Button) != Names.end();
}

} // namespace

std::string SkinPictureName(const std::string& Button, int Variant, TSkinState State) {
    for (const SkinRow& row : kSkinTable) {
        if (row.Button != Button || row.Variant != Variant)
            continue;
        const char* name = State == TSkinState::Normal  ? row.Normal
                           : State == TSkinState::Hight ? row.Hight
                           : State == TSkinState::Enter ? row.Enter
                                                        : row.Disable;
        return name != nullptr ? name : "";
    }
    return "";
}

bool SkinButtonCanBeDisabled(const std::string& Button) {
    return OneOf(Button, {"Stop_XI", "Previous_XI", "Next_XI", "Backward_XI", "Forward_XI", "Capture_XI",
                          "maxmin_xi"});
}

std::string SkinPictureOnEvent(const std::string& Button, int Variant, bool Enabled, TSkinEvent Event) {
    const bool skipsPress = OneOf(Button, {"Stop_XI", "Previous_XI", "Next_XI", "Backward_XI", "Forward_XI"});
    switch (Event) {
    case TSkinEvent::MouseEnter:
    case TSkinEvent::MouseLeave:
        if (!Enabled && SkinButtonCanBeDisabled(Button))
            return "";
        return SkinPictureName(Button, Variant,
                               Event == TSkinEvent::MouseEnter ? TSkinState::Hight : TSkinState::Normal);
    case TSkinEvent::MouseDown:
        if (!Enabled && skipsPress)
            return "";
        return SkinPictureName(Button, Variant, TSkinState::Enter);
    case TSkinEvent::MouseUp:
        if ((!Enabled && skipsPress) || OneOf(Button, {"Menu_xi", "PlayPause_XI", "Stop_XI"}))
            return "";
        // The click before the release may have disabled the button (full screen left after the end).
        if (!Enabled && SkinButtonCanBeDisabled(Button))
            return SkinPictureName(Button, Variant, TSkinState::Disable);
        return SkinPictureName(Button, Variant,
                               Button == "Volume_XI" ? TSkinState::Hight : TSkinState::Normal);
    }
    return "";
}

void TQuorelMain_Form::LoadSkinBitmap(TImage* Button, const std::string& FileName) {
    const std::string path = State.SkinPath + FileName;
    try {
        Button->Picture().LoadFromFile(path);
    } catch (const EClassLibraryError&) {
        // A picture never stops what the button does: the old one stays, and the file is reported once.
        if (reportedSkinFiles_.insert(path).second)
            Application().HandleException(std::current_exception());
    }
}

int TQuorelMain_Form::SkinVariant(const tximage* Button) const {
    if (Button == PlayPause_XI)
        return State.IsPlaying && !State.IsPaused ? SkinVariants::Pause : SkinVariants::Play;
    if (Button == Max_xi)
        return GetShowCmd(Handle()) == win32::SW_SHOWMAXIMIZED ? SkinVariants::Restore : SkinVariants::Max;
    if (Button == Volume_XI)
        return State.isSlience ? SkinVariants::Slience : SkinVariants::Sound;
    if (Button == Ontop_xi)
        return State.StayOnTop;
    return 0;
}

void TQuorelMain_Form::ShowSkinPicture(tximage* Button, TSkinEvent Event) {
    const std::string name =
        SkinPictureOnEvent(Button->Name(), SkinVariant(Button), Button->Enabled(), Event);
    if (!name.empty())
        LoadSkinBitmap(Button, name);
}

void TQuorelMain_Form::ShowNormalPicture(tximage* Button) {
    const std::string name = SkinPictureName(Button->Name(), SkinVariant(Button), TSkinState::Normal);
    if (!name.empty())
        LoadSkinBitmap(Button, name);
}

void TQuorelMain_Form::BindSkinButtons() {
    // The state rule, on every button of the skin table.
    for (tximage* button : {Menu_xi, Ontop_xi, Min_xi, Max_xi, Close_xi, PlayPause_XI, Stop_XI, Previous_XI,
                            Next_XI, Backward_XI, Forward_XI, Volume_XI, Open_xi, Opendvd_xi, Capture_XI,
                            maxmin_xi, Option_XI, VideoBar_XI, SoundBar_XI}) {
        button->OnMouseEnter = [this, button](TObject*) { ShowSkinPicture(button, TSkinEvent::MouseEnter); };
        button->OnMouseLeave = [this, button](TObject*) { ShowSkinPicture(button, TSkinEvent::MouseLeave); };
        button->OnMouseDown = [this, button](TObject*, TMouseButton, TShiftState, int, int) {
            ShowSkinPicture(button, TSkinEvent::MouseDown);
        };
        button->OnMouseUp = [this, button](TObject*, TMouseButton, TShiftState, int, int) {
            ShowSkinPicture(button, TSkinEvent::MouseUp);
        };
    }

    // The maximize button's hint follows the window's state, whatever the language.
    Max_xi->OnMouseEnter = [this](TObject*) {
        ShowSkinPicture(Max_xi, TSkinEvent::MouseEnter);
        Max_xi->SetHint(GetShowCmd(Handle()) == win32::SW_SHOWMAXIMIZED ? "还原" : "最大化");
    };

    // The stay-on-top button takes its mode from the settings again at every change but the press.
    auto onTop = [this](TSkinEvent Event) {
        if (Event != TSkinEvent::MouseDown)
            State.StayOnTop = ReadIniInteger("Play", "StayOnTop");
        ShowSkinPicture(Ontop_xi, Event);
        if (Event == TSkinEvent::MouseEnter)
            SetOnTopHint();
    };
    Ontop_xi->OnMouseEnter = [onTop](TObject*) { onTop(TSkinEvent::MouseEnter); };
    Ontop_xi->OnMouseLeave = [onTop](TObject*) { onTop(TSkinEvent::MouseLeave); };
    Ontop_xi->OnMouseDown = [onTop](TObject*, TMouseButton, TShiftState, int, int) {
        onTop(TSkinEvent::MouseDown);
    };
    Ontop_xi->OnMouseUp = [onTop](TObject*, TMouseButton, TShiftState, int, int) {
        onTop(TSkinEvent::MouseUp);
    };
}

void TQuorelMain_Form::SetOnTopHint() {
    switch (State.StayOnTop) {
    case StayOnTops::Never:
        Ontop_xi->SetHint("从不在最前");
        break;
    case StayOnTops::Always:
        Ontop_xi->SetHint("始终在最前");
        break;
    case StayOnTops::WhilePlaying:
        Ontop_xi->SetHint("播放时在最前");
        break;
    default:
        break;
    }
}

void TQuorelMain_Form::RefreshButtonBitmaps() {
    // Paused but not playing (no such state is made) leaves the picture as it is.
    if (State.IsPlaying || !State.IsPaused)
        ShowNormalPicture(PlayPause_XI);
    for (tximage* button : {Stop_XI, Backward_XI, Forward_XI, Previous_XI, Next_XI, Capture_XI, maxmin_xi})
        LoadSkinBitmap(button, SkinPictureName(button->Name(), 0,
                                               button->Enabled() ? TSkinState::Normal : TSkinState::Disable));
}

void TQuorelMain_Form::ApplyHints() {
    struct Hint {
        tximage* Button;
        const char* English;
        const char* Chinese;
    };
    const Hint hints[] = {
        {Menu_xi, "Main menu", "主菜单"},
        {Ontop_xi, "Change main Window on top", "总在最前"},
        {Close_xi, nullptr, "关闭"},
        {Min_xi, "Minimize", "最小化"},
        {Max_xi, "Maximize or Windows", "最大化"},
        {Previous_XI, "Previous", "前一个"},
        {PlayPause_XI, "Play/Pause", "播放/暂停"},
        {Stop_XI, "Stop", "停止"},
        {Next_XI, "Next", "后一个"},
        {Volume_XI, "Volume/Slience", "声音/静音"},
        {Open_xi, "Open", "打开"},
        {Opendvd_xi, "Open CD/DVD driver", "打开光驱"},
        {Capture_XI, "Capture screen", "截屏"},
        {maxmin_xi, "Full screen/Window", "全屏/窗口"},
        {Option_XI, "Set Play value", "选项"},
        {Backward_XI, "Decelerate", "减速播放"},
        {Forward_XI, "Acceperate", "加速播放"},
    };
    for (const Hint& h : hints) {
        if (State.Language == Languages::English && h.English != nullptr)
            h.Button->SetHint(h.English);
        else if (State.Language == Languages::Chinese)
            h.Button->SetHint(h.Chinese);
    }
}
