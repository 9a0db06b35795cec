// The skin buttons of the main window: the picture each shows in each state, what their presses and clicks
// forward to, and their hints.

#include "ui/QuorelMainUnit.h"

#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/Transport.h"
#include "core/WindowUtils.h"
#include "platform/win32/Window.h"

using namespace forms;

void TQuorelMain_Form::LoadSkinBitmap(TImage* Button, const std::string& FileName) {
    Button->Picture().LoadFromFile(State.SkinPath + FileName);
}

namespace {

// How one button follows the state rule: the pictures of its states, whether it can be disabled (then
// enter and leave change nothing while it is disabled) and whether it also skips its press and release
// pictures while disabled.
struct ButtonRule {
    std::function<std::string()> Normal, Hight, Enter;
    bool Disableable = false;
    bool SkipPressWhenDisabled = false;
    bool ReleaseLoadsNormal = true;
};

std::function<std::string()> Fixed(std::string Name) {
    return [Name] { return Name; };
}

void Bind(TQuorelMain_Form* Form, tximage* Button, ButtonRule Rule) {
    auto load = [Form, Button](const std::function<std::string()>& Picture) {
        if (Picture)
            Form->LoadSkinBitmap(Button, Picture());
    };
    Button->OnMouseEnter = [=](TObject*) {
        if (!Rule.Disableable || Button->Enabled())
            load(Rule.Hight);
    };
    Button->OnMouseLeave = [=](TObject*) {
        if (!Rule.Disableable || Button->Enabled())
            load(Rule.Normal);
    };
    Button->OnMouseDown = [=](TObject*, TMouseButton, TShiftState, int, int) {
        if (!Rule.SkipPressWhenDisabled || Button->Enabled())
            load(Rule.Enter);
    };
    Button->OnMouseUp = [=](TObject*, TMouseButton, TShiftState, int, int) {
        if (Rule.ReleaseLoadsNormal && (!Rule.SkipPressWhenDisabled || Button->Enabled()))
            load(Rule.Normal);
    };
}

// The stem of a button whose pictures follow a state, with the state and the suffix around it.
std::function<std::string()> Stem(std::function<std::string()> Of, std::string State, std::string Suffix) {
    return [=] { return Of() + "_" + State + "_" + Suffix; };
}

} // namespace

void TQuorelMain_Form::BindSkinButtons() {
    auto simple = [this](tximage* button, const std::string& stem, const std::string& suffix, bool disableable,
                         bool skipPress, const std::string& enterName = "") {
        Bind(this, button,
             {Fixed(stem + "_Normal_" + suffix), Fixed(stem + "_Hight_" + suffix),
              Fixed(enterName.empty() ? stem + "_Enter_" + suffix : enterName), disableable, skipPress, true});
    };
    simple(Min_xi, "Min", "Btn.bmp", false, false);
    simple(Close_xi, "Close", "Btn.bmp", false, false);
    simple(Stop_XI, "Stop", "Btn.bmp", true, true);
    simple(Previous_XI, "Prev", "Btn.bmp", true, true);
    simple(Next_XI, "Next", "Btn.bmp", true, true);
    simple(Backward_XI, "BackWard", "Btn.bmp", true, true);
    simple(Forward_XI, "ForWard", "Btn.bmp", true, true, "Forward_Enter_Btn.bmp");
    simple(Open_xi, "Open", "btn.bmp", false, false);
    simple(Opendvd_xi, "Opendvd", "btn.bmp", false, false, "Opendvd_enter_btn.bmp");
    simple(Capture_XI, "Capture", "btn.bmp", true, false);
    simple(maxmin_xi, "Maxmin", "btn.bmp", true, false);
    simple(Option_XI, "Option", "btn.bmp", false, false);

    // The menu button has no press or release pictures; its click opens the main menu below it.
    Bind(this, Menu_xi, {Fixed("Menu_Normal_Menu.bmp"), Fixed("Menu_Hight_Menu.bmp"), nullptr, false, false, false});
    Menu_xi->OnClick = [this](TObject*) {
        LoadSkinBitmap(Menu_xi, "Menu_Normal_Menu.bmp");
        PopupUnderButton(Menu_xi, Main_Pop);
    };

    // Maximize and restore: the stem follows the window's state at each change.
    auto maxStem = [this] {
        return std::string(GetShowCmd(Handle()) == win32::SW_SHOWMAXIMIZED ? "Restore" : "Max");
    };
    Bind(this, Max_xi,
         {Stem(maxStem, "Normal", "Btn.bmp"), Stem(maxStem, "Hight", "Btn.bmp"), Stem(maxStem, "Enter", "Btn.bmp"),
          false, false, true});
    const TNotifyEvent maxEnter = Max_xi->OnMouseEnter;
    Max_xi->OnMouseEnter = [this, maxEnter](TObject* Sender) {
        maxEnter(Sender);
        Max_xi->SetHint(GetShowCmd(Handle()) == win32::SW_SHOWMAXIMIZED ? "还原" : "最大化");
    };
    Max_xi->OnClick = [this, maxStem](TObject*) {
        LoadSkinBitmap(Max_xi, maxStem() + "_Normal_Btn.bmp");
        ToggleMaximize(Handle());
    };
    Min_xi->OnClick = [this](TObject*) {
        win32::SendMessage(Handle(), win32::WM_SYSCOMMAND, win32::SC_MINIMIZE, 0);
    };

    // Play/pause: the stem follows the transport state; the action runs on every release, wherever it is.
    auto playStem = [] { return std::string(State.IsPlaying && !State.IsPaused ? "Pause" : "Play"); };
    Bind(this, PlayPause_XI,
         {Stem(playStem, "Normal", "Btn.bmp"), Stem(playStem, "Hight", "Btn.bmp"),
          Stem(playStem, "Enter", "Btn.bmp"), false, false, false});
    PlayPause_XI->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
        if (State.IsPlaying && !State.IsPaused)
            PauseCommand();
        else if (State.IsPlaying == State.IsPaused)
            PlayCommand();
        RefreshButtonBitmaps();
    };

    // Stop acts on every release too.
    Stop_XI->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
        StopByType();
        RefreshButtonBitmaps();
        LoadSkinBitmap(PlayPause_XI, "Play_Normal_Btn.bmp");
        LoadSkinBitmap(Stop_XI, "Stop_Disable_Btn.bmp");
    };

    // Mute: the stem follows isSlience; the release shows the Hight picture of the state at that moment.
    auto soundStem = [] { return std::string(State.isSlience ? "Slience" : "Sound"); };
    Bind(this, Volume_XI,
         {Stem(soundStem, "Normal", "btn.bmp"), Stem(soundStem, "Hight", "btn.bmp"),
          Stem(soundStem, "Enter", "btn.bmp"), false, false, false});
    Volume_XI->OnClick = [this](TObject*) { ToggleMute(pSlience, Volume_XI, State.SoundLevel); };
    Volume_XI->OnMouseUp = [this, soundStem](TObject*, TMouseButton, TShiftState, int, int) {
        LoadSkinBitmap(Volume_XI, soundStem() + "_Hight_btn.bmp");
    };

    // The tray door opens on release (the drive work does the opening).
    Opendvd_xi->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
        LoadSkinBitmap(Opendvd_xi, "Opendvd_Normal_btn.bmp");
    };

    // The two knobs.
    Bind(this, VideoBar_XI,
         {Fixed("VideoBar_Normal.bmp"), Fixed("VideoBar_hight.bmp"), Fixed("VideoBar_hight.bmp"), false, false,
          true});
    VideoBar_XI->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
        Ctrl_T->SetEnabled(false);
        LoadSkinBitmap(VideoBar_XI, "VideoBar_hight.bmp");
    };
    VideoBar_XI->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
        LoadSkinBitmap(VideoBar_XI, "VideoBar_Normal.bmp");
        SeekFromPositionKnob();
        Ctrl_T->SetEnabled(true);
    };
    Bind(this, SoundBar_XI,
         {Fixed("SoundBar_Normal.bmp"), Fixed("SoundBar_Hight.bmp"), Fixed("SoundBar_Hight.bmp"), false, false,
          true});
    SoundBar_XI->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
        LoadSkinBitmap(SoundBar_XI, "SoundBar_Hight.bmp");
        Volume_L->SetCaption(std::to_string(State.SoundLevel) + "%");
    };
    SoundBar_XI->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
        LoadSkinBitmap(SoundBar_XI, "SoundBar_Normal.bmp");
        Volume_L->SetCaption("");
    };

    // Stay on top: the stem follows the mode, read again from the settings at each change but the press.
    auto topStem = [](int Mode) -> std::string {
        switch (Mode) {
        case StayOnTops::Never:
            return "Ontop";
        case StayOnTops::Always:
            return "Toped";
        case StayOnTops::WhilePlaying:
            return "TopatPlay";
        default:
            return "";
        }
    };
    auto topLoad = [this, topStem](const char* StateName, bool ReadSetting) {
        if (ReadSetting)
            State.StayOnTop = ReadIniInteger("Play", "StayOnTop");
        const std::string stem = topStem(State.StayOnTop);
        if (!stem.empty())
            LoadSkinBitmap(Ontop_xi, stem + "_" + StateName + "_btn.bmp");
    };
    Ontop_xi->OnMouseEnter = [this, topLoad](TObject*) {
        topLoad("Hight", true);
        SetOnTopHint();
    };
    Ontop_xi->OnMouseLeave = [topLoad](TObject*) { topLoad("Normal", true); };
    Ontop_xi->OnMouseDown = [topLoad](TObject*, TMouseButton, TShiftState, int, int) { topLoad("Enter", false); };
    Ontop_xi->OnMouseUp = [topLoad](TObject*, TMouseButton, TShiftState, int, int) { topLoad("Normal", true); };
    Ontop_xi->OnClick = [this](TObject*) {
        CycleStayOnTop();
        SetOnTopHint();
    };

    Open_xi->OnClick = [this](TObject*) { OpenFileDialog(); };
    maxmin_xi->OnClick = [this](TObject*) { FullScreenCommand(); };
    Option_XI->OnClick = [this](TObject*) { ShowOptions(); };
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
    if (State.IsPlaying && !State.IsPaused)
        LoadSkinBitmap(PlayPause_XI, "Pause_Normal_Btn.bmp");
    else if (State.IsPlaying || !State.IsPaused)
        LoadSkinBitmap(PlayPause_XI, "Play_Normal_Btn.bmp");
    const std::pair<tximage*, const char*> buttons[] = {
        {Stop_XI, "Stop_%s_Btn.bmp"},        {Backward_XI, "BackWard_%s_Btn.bmp"},
        {Forward_XI, "ForWard_%s_Btn.bmp"},  {Previous_XI, "Prev_%s_Btn.bmp"},
        {Next_XI, "Next_%s_Btn.bmp"},        {Capture_XI, "Capture_%s_btn.bmp"},
        {maxmin_xi, "Maxmin_%s_btn.bmp"},
    };
    for (const auto& [button, pattern] : buttons) {
        std::string name = pattern;
        name.replace(name.find("%s"), 2, button->Enabled() ? "Normal" : "Disable");
        LoadSkinBitmap(button, name);
    }
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
