#include "ui/OptionForm.h"

#include <QPointer>

#include "core/DialogLaunchers.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/Shortcuts.h"
#include "platform/win32/MessageBox.h"
#include "ui/QuorelMainUnit.h"

using namespace forms;

namespace {

// The dialog's texts T0..T80: English, Chinese.
const std::array<std::pair<const char*, const char*>, OptionTextCount> TextTable = {{
    {"Option", "选项"},
    {"Player", "播放器"},
    {"Video", "视频"},
    {"Audio", "音频"},
    {"Play control", "播放控制"},
    {"Capture", "截屏"},
    {"File link", "文件关联"},
    {"ShortCut Key", "快捷键"},
    {"Renderer", "解码器"},
    {"System", "系统"},
    {"HD Accelerate", "高清加速"},
    {"OK", "确定"},
    {"Cancel", "放弃"},
    {"Dvd", "Dvd"},
    {"Default driver", "默认驱动器"},
    {"Auto resume play", "自动重新播放"},
    {"Play from last position", "从最后位置继续播放"},
    {"Play from beginning", "从头播放"},
    {"Prompt befroe playback", "播放前提示"},
    {"Video and Window", "视频和窗口"},
    {"While open media", "播放开始时"},
    {"Aptitude adjust", "智能调整"},
    {"Video fit play window always", "总是视频适应播放窗口"},
    {"Play window fit video always", "总是播放窗口适应视频"},
    {"Memory media file position last played", "记忆上次关闭时媒体文件的播放位置"},
    {"Auto play media or Dvd last played", "播放上一次的媒体文件或DVD光盘"},
    {"Auto add allied media file in same directory", "播放媒体文件时自动添加文件夹中类似的文件"},
    {"Switch full screen at once while playing", "开始播放时立刻转入全屏状态"},
    {"System Setup", "系统设置"},
    {"Minimize to system tray", "最小化到系统托盘区"},
    {"Position and size", "视频位置与尺寸"},
    {"Reset", "重设"},
    {"Brightness", "亮度"},
    {"Contrast", "对比度"},
    {"Saturation", "饱和度"},
    {"Chroma", "色度"},
    {"Audio output setting", "音频输出设置"},
    {"Subpicture", "字幕"},
    {"Subpicture File", "字幕文件"},
    {"Font", "字幕字体"},
    {"Font name", "字体名称"},
    {"Font size", "字体尺寸"},
    {"Font color", "字体颜色"},
    {"Position", "字幕位置"},
    {"Left", "左"},
    {"Center", "居中"},
    {"Right", "右"},
    {"Top", "顶部"},
    {"Bottom", "底部"},
    {"Select all", "全选"},
    {"Select none", "全不选"},
    {"Default", "默认"},
    {"Windows media type", "Windows 媒体文件类型"},
    {"Real media type", "Real 媒体文件类型"},
    {"Mpeg vcd/dvd media type", "Mpeg vcd/dvd 媒体文件类型"},
    {"QuickTime media type", "QuickTime 媒体文件类型"},
    {"Mepg4 media type", "Mpeg4 媒体文件类型"},
    {"Flash media type", "Flash 媒体文件类型"},
    {"Other media type", "Other 媒体文件类型"},
    {"Playlist media type", "Playlist 媒体文件类型"},
    {"Default mode", "默认模式"},
    {"Mouse Control", "鼠标控制"},
    {"Select Play kernel", "选择播放核心"},
    {"Select by system", "系统自动选择"},
    {"Select yourself", "手动选择"},
    {"Use Hard accelerate", "使用硬件加速"},
    {"Use the GPU for rendering", "使用GPU进行画面渲染"},
    {"Use Video Mixing Renderer 9", "使用VMR9播放核心,高性能且支持众多特效"},
    {"Use Video Mixing Renderer 7", "使用VMR7播放核心,仅适用于WindowXP系统"},
    {"Use Old Video Renderer", "使用保守模式的播放核心,兼容性最强"},
    {"Capture screen", "截屏"},
    {"Please select path:", "请选择一个路径:"},
    {"Save path", "默认保存路径:"},
    {"Save type", "默认保存类型:"},
    {"Show option dialogbox before save", "保存之前显示选项设置对话框"},
    {"Forward/Backward", "快进/快退"},
    {"Forward once:", "快进一次:"},
    {"Backward once:", "快退一次:"},
    {"Sec", "秒"},
    {"Command", "命令"},
    {"Control key", "控制键"},
}};

template <class T> T* Make(QWidget* Parent, const char* Name, int Left, int Top, int Width, int Height) {
    auto* control = new T(Parent);
    control->SetName(Name);
    control->SetBounds(Left, Top, Width, Height);
    return control;
}

TPanel* PlainPanel(QWidget* Parent, const char* Name, int Left, int Top, int Width, int Height,
                   TAlign Align) {
    auto* panel = Make<TPanel>(Parent, Name, Left, Top, Width, Height);
    panel->SetBevelOuter(bvNone);
    panel->SetAlign(Align);
    return panel;
}

// The width of Text in columns of the dialog's 8-bit text: a character outside ASCII takes two.
std::size_t TextColumns(const std::string& Text) {
    std::size_t columns = 0;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(Text[i]);
        if (byte < 0x80)
            ++columns;
        else if ((byte & 0xC0) != 0x80)
            columns += 2;
    }
    return columns;
}

// The heights the class library gives the controls that the builders make without one.
constexpr int CheckBoxHeight = 17;
constexpr int EditHeight = 21;
constexpr int ComboHeight = 21;
constexpr int SpeedButtonWidth = 23;
constexpr int SpeedButtonHeight = 22;

} // namespace

TOption_Form::TOption_Form(QWidget* Owner) : TForm(Owner) {
    SetName("Option_Form");
    SetBorderStyle(bsDialog);
    SetPosition(poMainFormCenter);
    SetClientWidth(643);
    SetClientHeight(455);
    DisableAlign();
    Panel2 = PlainPanel(this, "Panel2", 0, 414, 643, 41, alBottom);
    OK_Btn = Make<TButton>(Panel2, "OK_Btn", 451, 3, 90, 23);
    Cancel_Btn = Make<TButton>(Panel2, "Cancel_Btn", 546, 3, 90, 23);
    Panel3 = PlainPanel(this, "Panel3", 0, 0, 643, 2, alTop);
    Panel1 = PlainPanel(this, "Panel1", 0, 2, 155, 412, alLeft);
    Btn_P = PlainPanel(Panel1, "Btn_P", 3, 1, 150, 396, alNone);
    const std::pair<TSpeedButton**, const char*> pageButtons[] = {
        {&Player_SB, "Player_SB"},           {&Video_SB, "Video_SB"},           {&Audio_SB, "Audio_SB"},
        {&Decoder_SB, "Decoder_SB"},         {&SubPicture_SB, "SubPicture_SB"}, {&Capture_SB, "Capture_SB"},
        {&ShortcutKey_SB, "ShortcutKey_SB"}, {&FileType_SB, "FileType_SB"},     {&System_SB, "System_SB"}};
    int top = 1;
    for (const auto& [button, name] : pageButtons) {
        *button = Make<TSpeedButton>(Btn_P, name, 0, top, 150, 36);
        (*button)->SetGroupIndex(1);
        (*button)->SetFlat(true);
        if (*button != System_SB)
            (*button)->SetCursor(crHandPoint);
        top += 36;
    }
    Panel4 = PlainPanel(this, "Panel4", 155, 2, 2, 412, alLeft);
    Panel4->SetBevelInner(bvLowered);
    Component_P = PlainPanel(this, "Component_P", 157, 2, 486, 412, alClient);
    EnableAlign();
    SpFile_OD = std::make_unique<TOpenDialog>(this);

    Player_SB->OnClick = [this](TObject* Sender) { Player_SBClick(Sender); };
    Video_SB->OnClick = [this](TObject* Sender) { Video_SBClick(Sender); };
    Audio_SB->OnClick = [this](TObject* Sender) { Audio_SBClick(Sender); };
    Decoder_SB->OnClick = [this](TObject* Sender) { Decoder_SBClick(Sender); };
    SubPicture_SB->OnClick = [this](TObject* Sender) { SubPicture_SBClick(Sender); };
    Capture_SB->OnClick = [this](TObject* Sender) { Capture_SBClick(Sender); };
    ShortcutKey_SB->OnClick = [this](TObject* Sender) { ShortcutKey_SBClick(Sender); };
    FileType_SB->OnClick = [this](TObject* Sender) { FileType_SBClick(Sender); };
    System_SB->OnClick = [this](TObject* Sender) { System_SBClick(Sender); };
    OK_Btn->OnClick = [this](TObject* Sender) { OK_BtnClick(Sender); };
    Cancel_Btn->OnClick = [this](TObject* Sender) { Cancel_BtnClick(Sender); };
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    DoCreate();
}

TOption_Form::~TOption_Form() {
    // The page's controls go first, while the handlers they might still call have what they use.
    ClearPage();
}

void TOption_Form::FormCreate(TObject*) {
    BossKeyChanged = false;
    BoxColumns = {300, 30, 120, 210};
    CreateLists();
}

void TOption_Form::CreateLists() {
    CommandKeyNames.Clear();
    for (const char* name : ShortCutKeys)
        CommandKeyNames.Add(name);
    ShortcutRowTexts.Clear();
    LoadedShortcutLines.Clear();
    EditedShortcutLines.Clear();
}

// --- Texts. ---

void TOption_Form::LoadTexts() {
    for (std::size_t i = 0; i < TextTable.size(); ++i) {
        if (LanguageCode == Languages::English)
            OptionTexts[i] = TextTable[i].first;
        else if (LanguageCode == Languages::Chinese)
            OptionTexts[i] = TextTable[i].second;
        else
            OptionTexts[i].clear();
    }
}

void TOption_Form::ApplyTexts() {
    SetCaption(OptionTexts[0]);
    Player_SB->SetCaption(OptionTexts[1]);
    Video_SB->SetCaption(OptionTexts[2]);
    Audio_SB->SetCaption(OptionTexts[3]);
    FileType_SB->SetCaption(OptionTexts[6]);
    Decoder_SB->SetCaption(OptionTexts[8]);
    SubPicture_SB->SetCaption(OptionTexts[37]);
    ShortcutKey_SB->SetCaption(OptionTexts[7]);
    Capture_SB->SetCaption(OptionTexts[5]);
    System_SB->SetCaption(OptionTexts[9]);
    OK_Btn->SetCaption(OptionTexts[11]);
    Cancel_Btn->SetCaption(OptionTexts[12]);
}

void TOption_Form::PadPageButtons() {
    for (QObject* child : Btn_P->children()) {
        auto* button = dynamic_cast<TSpeedButton*>(child);
        if (button == nullptr)
            continue;
        if (State.UiFont)
            button->Font().Assign(*State.UiFont);
        std::string caption = button->Caption();
        const std::size_t columns = TextColumns(caption);
        if (columns < 18)
            caption.append(18 - columns, ' ');
        button->SetCaption(caption);
    }
}

// --- Settings. ---

void TOption_Form::LoadSettings() {
    auto text = [](TEditedSetting<std::string>& Setting, const char* Section, const char* Key) {
        Setting.LoadedValue = Setting.EditedValue = ReadIniString(Section, Key);
    };
    auto number = [](TEditedSetting<int>& Setting, const char* Section, const char* Key) {
        Setting.LoadedValue = Setting.EditedValue = ReadIniInteger(Section, Key);
    };
    text(DefDriver, "PlayControl", "DefDriver");
    number(AutoResumePlay, "PlayControl", "AutoResumePlay");
    State.AutoResumePlay = AutoResumePlay.LoadedValue;
    number(WhileOpenMedia, "PlayControl", "WhileOpenMedia");
    number(MemoryLastPos, "PlayControl", "MemoryLastPos");
    number(ReloadLast, "PlayControl", "ReloadLast");
    number(AddAlliedMedia, "PlayControl", "AddAlliedMedia");
    number(FullScreenAtonce, "PlayControl", "FullScreenAtonce");
    number(MinimizeToTray, "PlayControl", "MinimizeToTray");
    text(CaptureImagePath, "File", "CaptureImagePath");
    text(DefaultImageType, "File", "DefaultImageType");
    number(AskSaveOption, "File", "AskSaveOption");
    number(QuickOnce, "Play", "QuickOnce");
    number(SlowOnce, "Play", "SlowOnce");
    text(BossKey, "ShortCut", "BossKey");
    number(SelKernelType, "Play", "SelKernelType");
    // A renderer above the one in use (stored by hand, or on a machine that offered more) is put back to the
    // one in use, in the file too, before anything is shown.
    LoadedRenderType = ReadIniInteger("Play", "RenderType");
    if (LoadedRenderType > State.RenderType) {
        LoadedRenderType = State.RenderType;
        WriteIniInteger("Play", "RenderType", LoadedRenderType);
    }
    EditedRenderType = LoadedRenderType;
    number(UseGPU, "Play", "UseGPU");
    SaveVideoRect();
    SavePanelSize();
}

void TOption_Form::SaveSettings() {
    auto text = [](const TEditedSetting<std::string>& Setting, const char* Section, const char* Key) {
        if (Setting.Changed())
            WriteIniString(Section, Key, Setting.EditedValue);
        return Setting.Changed();
    };
    auto number = [](const TEditedSetting<int>& Setting, const char* Section, const char* Key) {
        if (Setting.Changed())
            WriteIniInteger(Section, Key, Setting.EditedValue);
    };
    number(QuickOnce, "Play", "QuickOnce");
    number(SlowOnce, "Play", "SlowOnce");
    text(DefaultImageType, "File", "DefaultImageType");
    text(CaptureImagePath, "File", "CaptureImagePath");
    number(AskSaveOption, "File", "AskSaveOption");
    if (text(DefDriver, "PlayControl", "DefDriver"))
        State.DefDriver = DefDriver.EditedValue;
    // The shared AutoResumePlay keeps what LoadSettings gave it until the dialog is opened again.
    number(AutoResumePlay, "PlayControl", "AutoResumePlay");
    number(WhileOpenMedia, "PlayControl", "WhileOpenMedia");
    number(ReloadLast, "PlayControl", "ReloadLast");
    number(MemoryLastPos, "PlayControl", "MemoryLastPos");
    number(AddAlliedMedia, "PlayControl", "AddAlliedMedia");
    number(FullScreenAtonce, "PlayControl", "FullScreenAtonce");
    number(MinimizeToTray, "PlayControl", "MinimizeToTray");
    number(SelKernelType, "Play", "SelKernelType");
    if (SelKernelType.EditedValue == SelKernelTypes::Stored && EditedRenderType != LoadedRenderType) {
        WriteIniInteger("Play", "RenderType", EditedRenderType);
        RendererChanged = true;
    }
    number(UseGPU, "Play", "UseGPU");
}

// --- Showing, OK and Cancel. ---

void TOption_Form::FormShow(TObject*) {
    BuildExtensionGroups();
    BuildPlayerPage();
    Player_SB->SetDown(true);
    PadPageButtons();
}

void TOption_Form::OK_BtnClick(TObject*) {
    ResultCode = 1;
    SaveSettings();
    SaveShortcuts();
    RegisterNewBossKey();
    Close();
}

void TOption_Form::Cancel_BtnClick(TObject*) {
    ResultCode = 2;
    Close();
}

// --- Pages. ---

void TOption_Form::ChoosePage(void (TOption_Form::*Builder)()) {
    (this->*Builder)();
}

void TOption_Form::Player_SBClick(TObject*) {
    ChoosePage(&TOption_Form::BuildPlayerPage);
}

void TOption_Form::Video_SBClick(TObject*) {
    ChoosePage(&TOption_Form::BuildVideoPage);
}

void TOption_Form::Audio_SBClick(TObject*) {
    ChoosePage(&TOption_Form::BuildAudioPage);
}

void TOption_Form::Decoder_SBClick(TObject*) {
    ChoosePage(&TOption_Form::BuildDecoderPage);
}

void TOption_Form::SubPicture_SBClick(TObject*) {
    ChoosePage(&TOption_Form::BuildSubPicturePage);
}

void TOption_Form::Capture_SBClick(TObject*) {
    ChoosePage(&TOption_Form::BuildCapturePage);
}

void TOption_Form::ShortcutKey_SBClick(TObject*) {
    ChoosePage(&TOption_Form::BuildShortcutPage);
}

void TOption_Form::FileType_SBClick(TObject*) {
    ChoosePage(&TOption_Form::BuildFileLinkPage);
}

void TOption_Form::System_SBClick(TObject*) {
    ChoosePage(&TOption_Form::BuildSystemPage);
}

void TOption_Form::ClearPage() {
    // The in-place combo is a child of the shortcut list and goes with it.
    InPlaceCombo = nullptr;
    HeaderPressed = false;
    Page = TPageControls{};
    if (Component_P == nullptr)
        return;
    const QObjectList children = Component_P->children();
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        delete *it;
}

// --- Control builders. ---

TLabel* TOption_Form::AddCaption(QWidget* Parent, const std::string& Text, int Top, int Left) {
    auto* label = new TLabel(Parent);
    label->Font().SetStyle(label->Font().Style() | fsBold);
    label->SetTransparent(true);
    label->SetLeft(Left);
    label->SetTop(Top);
    label->SetCaption(Text);
    auto* line = new TPanel(Parent);
    line->SetBevelInner(bvLowered);
    line->SetBevelOuter(bvNone);
    const int lineLeft = label->Left() + label->Width() + 10;
    line->SetBounds(lineLeft, Top + 5, Parent->width() - 20 - lineLeft, 2);
    return label;
}

TPanel* TOption_Form::AddLine(QWidget* Parent, int Left, int Top) {
    auto* line = new TPanel(Parent);
    line->SetBevelInner(bvLowered);
    line->SetBevelOuter(bvNone);
    line->SetBounds(Left, Top, Parent->width() - 35, 2);
    return line;
}

TLabel* TOption_Form::AddLabel(QWidget* Parent, const std::string& Text, int Top, int Left) {
    auto* label = new TLabel(Parent);
    if (State.UiFont)
        label->Font().Assign(*State.UiFont);
    label->SetTransparent(true);
    label->SetLeft(Left);
    label->SetTop(Top);
    label->SetCaption(Text);
    return label;
}

void TOption_Form::AddLabelRef(TLabel*& Label, QWidget* Parent, int Top, int Left, const std::string& Text) {
    Label = new TLabel(Parent);
    Label->SetTransparent(true);
    Label->SetLeft(Left);
    Label->SetTop(Top);
    Label->SetCaption(Text);
}

void TOption_Form::AddReadOnlyEdit(TEdit*& Edit, QWidget* Parent, int Width, int Top, int Left) {
    Edit = new TEdit(Parent);
    Edit->SetBounds(Left, Top, Width, EditHeight);
    Edit->SetReadOnly(true);
}

void TOption_Form::AddUpDown(TEdit* Edit, TUpDown*& UpDown, int Max, int Min, const TUDClickEvent& OnClick,
                             QWidget* Owner) {
    UpDown = new TUpDown(Owner);
    UpDown->SetMin(Min);
    UpDown->SetMax(Max);
    UpDown->SetAssociate(Edit);
    UpDown->OnClick = OnClick;
}

void TOption_Form::AddRadioButton(TRadioButton*& Radio, QWidget* Parent, int Width, int Top, int Left,
                                  const TNotifyEvent& OnClick, const std::string& Text) {
    Radio = new TRadioButton(Parent);
    if (State.UiFont)
        Radio->Font().Assign(*State.UiFont);
    Radio->SetBounds(Left, Top, Width, CheckBoxHeight);
    Radio->SetCaption(Text);
    Radio->OnClick = OnClick;
}

void TOption_Form::AddCheckBox(TCheckBox*& Box, QWidget* Parent, int Width, int Top, int Left,
                               const TNotifyEvent& OnClick, const std::string& Text) {
    Box = new TCheckBox(Parent);
    Box->SetBounds(Left, Top, Width, CheckBoxHeight);
    Box->SetCaption(Text);
    Box->OnClick = OnClick;
}

void TOption_Form::AddSpeedButton(TSpeedButton*& Button, QWidget* Parent, int Top, int Left,
                                  const TNotifyEvent& OnClick, const std::string& Text) {
    Button = new TSpeedButton(Parent);
    Button->SetBounds(Left, Top, SpeedButtonWidth, SpeedButtonHeight);
    Button->SetCaption(Text);
    Button->OnClick = OnClick;
}

TSpeedButton* TOption_Form::AddGlyphButton(QWidget* Parent, const std::string& Text, bool Flat, int Width,
                                           int Top, int Left, const TNotifyEvent& OnClick,
                                           const std::string& GlyphFile) {
    auto* button = new TSpeedButton(Parent);
    button->SetBounds(Left, Top, Width, SpeedButtonHeight);
    button->SetCaption(Text);
    // A glyph that is missing or broken leaves the button without a picture, and nothing is said.
    if (!GlyphFile.empty()) {
        try {
            button->Glyph().LoadFromFile(GlyphFile);
        } catch (const EClassLibraryError&) {
            button->Glyph().Clear();
        }
    }
    if (State.UiFont)
        button->Font().Assign(*State.UiFont);
    button->SetCursor(crHandPoint);
    button->SetFlat(Flat);
    button->OnClick = OnClick;
    return button;
}

void TOption_Form::AddButton(TButton*& Button, QWidget* Parent, int Width, int Height, int Top, int Left,
                             const TNotifyEvent& OnClick, const std::string& Text) {
    Button = new TButton(Parent);
    Button->SetBounds(Left, Top, Width, Height);
    Button->SetCaption(Text);
    Button->OnClick = OnClick;
}

void TOption_Form::AddTrackBar(TTrackBar*& Bar, QWidget* Parent, int Width, int Height, int Top, int Left,
                               const TNotifyEvent& OnChange) {
    Bar = new TTrackBar(Parent);
    Bar->SetBounds(Left, Top, Width, Height);
    Bar->SetTickStyle(tsNone);
    Bar->SetBorderWidth(4);
    Bar->SetThumbLength(10);
    Bar->SetPageSize(2);
    Bar->OnChange = OnChange;
}

void TOption_Form::AddComboBox(TComboBox*& Combo, QWidget* Parent, int Width, int Top, int Left,
                               const TNotifyEvent& Handler) {
    Combo = new TComboBox(Parent);
    Combo->SetBounds(Left, Top, Width, ComboHeight);
    // The handler is the combo's click and change alike: a pick runs it once.
    Combo->OnChange = Handler;
}

void TOption_Form::AddColorBox(TColorBox*& Box, QWidget* Parent, int Width, int Top, int Left,
                               const TNotifyEvent& Handler) {
    Box = new TColorBox(Parent);
    Box->SetBounds(Left, Top, Width, ComboHeight);
    Box->OnChange = Handler;
}

void TOption_Form::AddSunkenPanel(TPanel*& Panel, QWidget* Parent, int Height, int Top, int Left) {
    Panel = new TPanel(Parent);
    Panel->SetBevelInner(bvLowered);
    Panel->SetBevelOuter(bvNone);
    Panel->SetCaption("");
    Panel->SetBounds(Left, Top, Parent->width() - 35, Height);
}

void TOption_Form::AddScrollPanel(TPanel*& Panel, TScrollBox*& ScrollBox, int Height, int Top, int Left,
                                  QWidget* Parent) {
    AddSunkenPanel(Panel, Parent, Height, Top, Left);
    ScrollBox = new TScrollBox(Panel);
    ScrollBox->SetBorderStyle(bsNone);
    ScrollBox->SetAlign(alClient);
}

// --- The launcher. ---

void ShowOptionDialog(win32::HWND AppHandle, int Language, bool& RestartNeeded) {
    RunDialog<TOption_Form>(
        AppHandle,
        [Language](TOption_Form& Dialog) {
            Dialog.SetLanguage(Language);
            Dialog.LoadTexts();
            Dialog.ApplyTexts();
            Dialog.LoadSettings();
        },
        [AppHandle, &RestartNeeded](TOption_Form& Dialog) {
            if (Dialog.ResultCode != 1)
                return;
            if (QuorelMain_Form != nullptr)
                LoadShortCuts(QuorelMain_Form->CommandMenuItems, QuorelMain_Form->CommandActions);
            if (Dialog.RendererChanged && Dialog.EditedRenderType != State.RenderType) {
                State.RenderType = Dialog.EditedRenderType;
                RestartNeeded = true;
                win32::MessageBox(
                    AppHandle,
                    "Play the core has changed, will be the process of restarting the player to "
                    "make the changes take effect",
                    "Information", win32::MB_OK | win32::MB_ICONINFORMATION);
            }
        });
}
