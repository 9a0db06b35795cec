#include "ui/PipSetupForm.h"

#include "assets/SlideBarArt.h"
#include "core/DialogLaunchers.h"
#include "core/PipEdit.h"
#include "core/PipLayout.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/shared/PathEndings.h"

using namespace forms;

namespace {

template <class T>
T* NewComponent(QWidget* Parent, const char* Name, int Left, int Top, int Width, int Height) {
    auto* component = new T(Parent);
    component->SetName(Name);
    component->SetBounds(Left, Top, Width, Height);
    return component;
}

TTabSheet* NewSheet(TPageControl* Pages, const char* Name) {
    auto* sheet = new TTabSheet(Pages);
    sheet->SetName(Name);
    return sheet;
}

} // namespace

TPipSetupTexts PipSetupTexts(int Language) {
    switch (Language) {
    case Languages::English:
        return {"Picture in picture setup",
                "Picture position",
                "Picture parameter",
                "Picture control",
                "Control",
                "Picture convert",
                "Standard position",
                "Free move",
                "Left",
                "Top",
                "Right",
                "Bottom",
                "Top left",
                "Top right",
                "Bottom left",
                "Bottom right",
                "Center",
                "Swap picture",
                "Media file A",
                "Media file B",
                "Alpha",
                "No convert",
                "Up down convert",
                "Left right convert",
                "All convert",
                "OK"};
    case Languages::Chinese:
        return {"设置",     "画面位置", "画面参数", "画面控制", "画面控制",  "画面倒置",  "标准位置",
                "自由移动", "左",       "顶部",     "右",       "底部",      "左上角",    "右上角",
                "左下角",   "右下角",   "居中",     "切换画面", "媒体文件A", "媒体文件B", "透明度",
                "没有倒置", "上下倒置", "左右倒置", "完全倒置", "确定"};
    default:
        return {};
    }
}

TPipSetup_Form::TPipSetup_Form(QWidget* Owner) : TForm(Owner) {
    SetName("PipSetup_Form");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(505);
    SetClientHeight(255);
    setFixedSize(505, 255);

    Main_PageCtrl = NewComponent<TPageControl>(this, "Main_PageCtrl", 8, 8, 489, 206);
    PipPosition_TS = NewSheet(Main_PageCtrl, "PipPosition_TS");
    PicParam_TS = NewSheet(Main_PageCtrl, "PicParam_TS");
    PipControl_TS = NewSheet(Main_PageCtrl, "PipControl_TS");
    OK_Btn = NewComponent<TButton>(this, "OK_Btn", 422, 222, 75, 25);

    StandardPos_CB = NewComponent<TCheckBox>(PipPosition_TS, "StandardPos_CB", 16, 12, 180, 20);
    TopLeft_RB = NewComponent<TRadioButton>(PipPosition_TS, "TopLeft_RB", 32, 38, 150, 20);
    TopRight_RB = NewComponent<TRadioButton>(PipPosition_TS, "TopRight_RB", 32, 62, 150, 20);
    BottomLeft_RB = NewComponent<TRadioButton>(PipPosition_TS, "BottomLeft_RB", 32, 86, 150, 20);
    BottomRight_RB = NewComponent<TRadioButton>(PipPosition_TS, "BottomRight_RB", 32, 110, 150, 20);
    Center_RB = NewComponent<TRadioButton>(PipPosition_TS, "Center_RB", 32, 134, 150, 20);
    Freemove_CB = NewComponent<TCheckBox>(PipPosition_TS, "Freemove_CB", 240, 12, 180, 20);
    Left_L = NewComponent<TLabel>(PipPosition_TS, "Left_L", 256, 40, 0, 0);
    Top_L = NewComponent<TLabel>(PipPosition_TS, "Top_L", 256, 68, 0, 0);
    Right_L = NewComponent<TLabel>(PipPosition_TS, "Right_L", 256, 96, 0, 0);
    Bottom_L = NewComponent<TLabel>(PipPosition_TS, "Bottom_L", 256, 124, 0, 0);
    Left_Bar = NewBar(PipPosition_TS, "Left_Bar", 340, 38);
    Top_Bar = NewBar(PipPosition_TS, "Top_Bar", 340, 66);
    Right_Bar = NewBar(PipPosition_TS, "Right_Bar", 340, 94);
    Bottom_Bar = NewBar(PipPosition_TS, "Bottom_Bar", 340, 122);

    MediaFileA_L = NewComponent<TLabel>(PicParam_TS, "MediaFileA_L", 16, 16, 0, 0);
    MediaA_L = NewComponent<TLabel>(PicParam_TS, "MediaA_L", 120, 16, 0, 0);
    AlphaA_L = NewComponent<TLabel>(PicParam_TS, "AlphaA_L", 32, 44, 0, 0);
    AlphaBar_A = NewBar(PicParam_TS, "AlphaBar_A", 140, 42);
    MediaFileB_L = NewComponent<TLabel>(PicParam_TS, "MediaFileB_L", 16, 88, 0, 0);
    MediaB_L = NewComponent<TLabel>(PicParam_TS, "MediaB_L", 120, 88, 0, 0);
    AlphaB_L = NewComponent<TLabel>(PicParam_TS, "AlphaB_L", 32, 116, 0, 0);
    AlphaBar_B = NewBar(PicParam_TS, "AlphaBar_B", 140, 114);

    Control_L = NewComponent<TLabel>(PipControl_TS, "Control_L", 16, 12, 0, 0);
    SwapPic_CB = NewComponent<TCheckBox>(PipControl_TS, "SwapPic_CB", 32, 34, 200, 20);
    Convert_L = NewComponent<TLabel>(PipControl_TS, "Convert_L", 16, 66, 0, 0);
    NoConvert_CB = NewComponent<TCheckBox>(PipControl_TS, "NoConvert_CB", 32, 88, 200, 20);
    UpdownConvert_CB = NewComponent<TCheckBox>(PipControl_TS, "UpdownConvert_CB", 32, 112, 200, 20);
    LeftRightConvert_CB = NewComponent<TCheckBox>(PipControl_TS, "LeftRightConvert_CB", 32, 136, 200, 20);
    AllConvert_CB = NewComponent<TCheckBox>(PipControl_TS, "AllConvert_CB", 32, 160, 200, 20);
    // The labels take the colour of the page they stand on.
    for (TLabel* label : {Left_L, Top_L, Right_L, Bottom_L, MediaFileA_L, MediaA_L, AlphaA_L, MediaFileB_L,
                          MediaB_L, AlphaB_L, Control_L, Convert_L})
        label->SetTransparent(true);

    StandardPos_CB->OnClick = [this](TObject*) { StandardPos_CBClick(); };
    Freemove_CB->OnClick = [this](TObject*) { Freemove_CBClick(); };
    const auto radios = Radios();
    for (int i = 0; i < static_cast<int>(radios.size()); ++i)
        radios[static_cast<std::size_t>(i)]->OnClick = [this, i](TObject*) {
            if (!loading_)
                SetPipStandardPosition(PipPositions::TopLeft + i);
        };
    struct EdgeRoute {
        TSlideBar* Bar;
        TLabel* Label;
        const std::string TPipSetupTexts::*Text;
        int TPipSetup_Form::*Last;
        void (*Adjust)(int, int&, int);
    };
    for (const EdgeRoute& route :
         {EdgeRoute{Left_Bar, Left_L, &TPipSetupTexts::Left, &TPipSetup_Form::lastLeft_, &AdjustPipLeft},
          EdgeRoute{Top_Bar, Top_L, &TPipSetupTexts::Top, &TPipSetup_Form::lastTop_, &AdjustPipTop},
          EdgeRoute{Right_Bar, Right_L, &TPipSetupTexts::Right, &TPipSetup_Form::lastRight_, &AdjustPipRight},
          EdgeRoute{Bottom_Bar, Bottom_L, &TPipSetupTexts::Bottom, &TPipSetup_Form::lastBottom_,
                    &AdjustPipBottom}})
        route.Bar->OnChange = [this, route](TObject*) {
            if (!loading_)
                route.Adjust(State.PipSmallStream, this->*route.Last, route.Bar->Position());
            UpdateBarLabel(route.Label, texts_.*route.Text, route.Bar);
        };
    AlphaBar_A->OnChange = [this](TObject*) {
        SetPipAlpha(0, AlphaBar_A->Position());
        UpdateBarLabel(AlphaA_L, texts_.Alpha, AlphaBar_A);
    };
    AlphaBar_B->OnChange = [this](TObject*) {
        SetPipAlpha(1, AlphaBar_B->Position());
        UpdateBarLabel(AlphaB_L, texts_.Alpha, AlphaBar_B);
    };
    SwapPic_CB->OnClick = [](TObject*) { SwapPip(); };
    for (TCheckBox* box : {NoConvert_CB, UpdownConvert_CB, LeftRightConvert_CB, AllConvert_CB})
        box->OnClick = [this, box](TObject*) { FlipBoxClick(box); };
    PipPosition_TS->OnShow = [this](TObject*) { LoadPosition(); };
    PipControl_TS->OnShow = [this](TObject*) {
        readingFlips_ = true;
        ReadFlipState();
        readingFlips_ = false;
    };
    OK_Btn->OnClick = [this](TObject*) { Close(); };
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    DoCreate();
}

TSlideBar* TPipSetup_Form::NewBar(QWidget* Parent, const char* Name, int Left, int Top) {
    auto* bar = NewComponent<TSlideBar>(Parent, Name, Left, Top, 116, 20);
    bar->SetLoading(true);
    bar->SetCustomThumb(skinart::DrawPipSetupThumbStrip());
    bar->SetMax(100);
    bar->SetPosition(100);
    bar->SetPointerType(ptWin95);
    bar->SetShowFocusRect(false);
    bar->SetShowTicks(false);
    bar->SetThumbStyle(tsCustom);
    bar->SetTrackOffset(8);
    bar->SetTrackWidth(4);
    bar->SetTransparent(true);
    bar->SetLoading(false);
    return bar;
}

std::array<TRadioButton*, 5> TPipSetup_Form::Radios() const {
    return {TopLeft_RB, TopRight_RB, BottomLeft_RB, BottomRight_RB, Center_RB};
}

std::array<TSlideBar*, 4> TPipSetup_Form::EdgeBars() const {
    return {Left_Bar, Top_Bar, Right_Bar, Bottom_Bar};
}

void TPipSetup_Form::SetPage(int Page) {
    Main_PageCtrl->SetActivePageIndex(Page);
}

void TPipSetup_Form::FormCreate(TObject*) {
    InitDialog();
}

void TPipSetup_Form::ApplyFonts() {
    if (!State.UiFont)
        return;
    const TFont& font = *State.UiFont;
    Main_PageCtrl->SetFont(font);
    PipPosition_TS->SetFont(font);
    PicParam_TS->SetFont(font);
    for (TControl* control : std::initializer_list<TControl*>{
             Control_L, Convert_L, StandardPos_CB, Freemove_CB, TopLeft_RB, TopRight_RB, BottomLeft_RB,
             BottomRight_RB, Center_RB, SwapPic_CB, MediaFileA_L, MediaFileB_L, AlphaA_L, AlphaB_L,
             NoConvert_CB, UpdownConvert_CB, LeftRightConvert_CB, AllConvert_CB})
        control->SetFont(font);
}

void TPipSetup_Form::InitDialog() {
    ApplyFonts();
    loading_ = true;
    for (TRadioButton* radio : Radios())
        radio->SetEnabled(false);
    for (TSlideBar* bar : EdgeBars())
        bar->SetEnabled(false);
    MediaA_L->SetCaption(ExtractFileName(State.pipMediaFileA));
    MediaB_L->SetCaption(ExtractFileName(State.pipMediaFileB));
    LoadPosition();
    int alphaA = AlphaBar_A->Position(), alphaB = AlphaBar_B->Position();
    LoadPipAlphaBars(alphaA, alphaB);
    AlphaBar_A->SetPosition(alphaA);
    AlphaBar_B->SetPosition(alphaB);
}

void TPipSetup_Form::LoadPosition() {
    const int positionType = ReadIniInteger("Pip", "PositionType");
    const int smallPosition = ReadIniInteger("Pip", "SmallPosition");
    // Loading what is stored moves nothing: the radio buttons and edge bars only show it.
    const bool wasLoading = loading_;
    loading_ = true;
    const auto radios = Radios();
    for (int i = 0; i < static_cast<int>(radios.size()); ++i)
        radios[static_cast<std::size_t>(i)]->SetChecked(smallPosition == PipPositions::TopLeft + i);
    const std::array<const char*, 4> keys{"SmallLeft", "SmallTop", "SmallRight", "SmallBottom"};
    const std::array<int*, 4> lasts{&lastLeft_, &lastTop_, &lastRight_, &lastBottom_};
    const auto bars = EdgeBars();
    for (std::size_t i = 0; i < bars.size(); ++i) {
        bars[i]->SetPosition(ReadIniInteger("Pip", keys[i]));
        // The bar clamps what it was given (a missing key reads -1): its next move counts from what it shows.
        *lasts[i] = bars[i]->Position();
    }
    loading_ = wasLoading;
    if (positionType == PipPositionTypes::Preset) {
        StandardPos_CB->SetChecked(true);
    } else if (positionType == PipPositionTypes::Free) {
        Freemove_CB->SetChecked(true);
    } else {
        StandardPos_CB->SetChecked(false);
        Freemove_CB->SetChecked(false);
    }
}

void TPipSetup_Form::FormShow(TObject*) {
    loading_ = false;
    UpdateBarLabels();
}

void TPipSetup_Form::UpdateBarLabel(TLabel* Label, const std::string& Text, const TSlideBar* Bar) {
    Label->SetCaption(Text + " " + std::to_string(Bar->Position()) + "%");
}

void TPipSetup_Form::UpdateBarLabels() {
    UpdateBarLabel(Left_L, texts_.Left, Left_Bar);
    UpdateBarLabel(Top_L, texts_.Top, Top_Bar);
    UpdateBarLabel(Right_L, texts_.Right, Right_Bar);
    UpdateBarLabel(Bottom_L, texts_.Bottom, Bottom_Bar);
    UpdateBarLabel(AlphaA_L, texts_.Alpha, AlphaBar_A);
    UpdateBarLabel(AlphaB_L, texts_.Alpha, AlphaBar_B);
}

void TPipSetup_Form::ApplyTexts() {
    SetCaption(texts_.Caption);
    PipPosition_TS->SetCaption(texts_.PipPosition);
    PicParam_TS->SetCaption(texts_.PicParam);
    PipControl_TS->SetCaption(texts_.PipControl);
    Control_L->SetCaption(texts_.Control);
    Convert_L->SetCaption(texts_.Convert);
    StandardPos_CB->SetCaption(texts_.StandardPos);
    Freemove_CB->SetCaption(texts_.Freemove);
    Left_L->SetCaption(texts_.Left);
    Top_L->SetCaption(texts_.Top);
    Right_L->SetCaption(texts_.Right);
    Bottom_L->SetCaption(texts_.Bottom);
    TopLeft_RB->SetCaption(texts_.TopLeft);
    TopRight_RB->SetCaption(texts_.TopRight);
    BottomLeft_RB->SetCaption(texts_.BottomLeft);
    BottomRight_RB->SetCaption(texts_.BottomRight);
    Center_RB->SetCaption(texts_.Center);
    SwapPic_CB->SetCaption(texts_.SwapPic);
    MediaFileA_L->SetCaption(texts_.MediaFileA);
    MediaFileB_L->SetCaption(texts_.MediaFileB);
    AlphaA_L->SetCaption(texts_.Alpha);
    AlphaB_L->SetCaption(texts_.Alpha);
    NoConvert_CB->SetCaption(texts_.NoConvert);
    UpdownConvert_CB->SetCaption(texts_.UpdownConvert);
    LeftRightConvert_CB->SetCaption(texts_.LeftRightConvert);
    AllConvert_CB->SetCaption(texts_.AllConvert);
    OK_Btn->SetCaption(texts_.OK);
}

void TPipSetup_Form::StandardPos_CBClick() {
    const auto radios = Radios();
    if (!StandardPos_CB->Checked()) {
        for (TRadioButton* radio : radios)
            radio->SetEnabled(false);
        return;
    }
    Freemove_CB->SetChecked(false);
    WritePipPositionType(PipPositionTypes::Preset);
    for (TRadioButton* radio : radios)
        radio->SetEnabled(true);
    for (int i = 0; i < static_cast<int>(radios.size()); ++i)
        if (radios[static_cast<std::size_t>(i)]->Checked()) {
            SetPipStandardPosition(PipPositions::TopLeft + i);
            return;
        }
}

void TPipSetup_Form::Freemove_CBClick() {
    const auto bars = EdgeBars();
    if (!Freemove_CB->Checked()) {
        for (TSlideBar* bar : bars)
            bar->SetEnabled(false);
        return;
    }
    StandardPos_CB->SetChecked(false);
    WritePipPositionType(PipPositionTypes::Free);
    for (TSlideBar* bar : bars)
        bar->SetEnabled(true);
    SetPipCustomRect(Left_Bar->Position(), Top_Bar->Position(), Right_Bar->Position(),
                     Bottom_Bar->Position());
}

// The four flip boxes exclude each other but for up-down and left-right, which together are the same picture
// as "all". The operation runs on every click, also the one that clears a box: the flip is then undone.
void TPipSetup_Form::FlipBoxClick(TCheckBox* Box) {
    if (Box->Checked()) {
        if (Box == NoConvert_CB) {
            UpdownConvert_CB->SetChecked(false);
            LeftRightConvert_CB->SetChecked(false);
            AllConvert_CB->SetChecked(false);
        } else if (Box == AllConvert_CB) {
            NoConvert_CB->SetChecked(false);
            UpdownConvert_CB->SetChecked(false);
            LeftRightConvert_CB->SetChecked(false);
        } else {
            NoConvert_CB->SetChecked(false);
            AllConvert_CB->SetChecked(false);
        }
    }
    if (readingFlips_)
        return;
    if (Box == NoConvert_CB)
        NormalizePip(nullptr, true);
    else if (Box == UpdownConvert_CB)
        FlipPipVertical(nullptr, true);
    else if (Box == LeftRightConvert_CB)
        MirrorPip(nullptr, true);
    else
        FlipPipBoth(nullptr, true);
}

void TPipSetup_Form::ReadFlipState() {
    if (State.PlayType != PlayTypes::Pip)
        return;
    dshow::NORMALIZEDRECT rect{0, 0, 0, 0};
    WithPipMixer([&](auto& Mixer) {
        if (com::FAILED(Mixer.GetOutputRect(static_cast<dshow::DWORD>(State.PipSmallStream), &rect)))
            rect = {0, 0, 0, 0};
    });
    const bool upright = rect.top<rect.bottom, upsideDown = rect.top> rect.bottom;
    if (rect.left < rect.right && upright)
        NoConvert_CB->SetChecked(true);
    else if (rect.left > rect.right && upright)
        LeftRightConvert_CB->SetChecked(true);
    else if (rect.left < rect.right && upsideDown)
        UpdownConvert_CB->SetChecked(true);
    else if (rect.left > rect.right && upsideDown)
        AllConvert_CB->SetChecked(true);
}

void ShowPipSetupDialog(win32::HWND AppHandle, int Page, int Language) {
    RunDialog<TPipSetup_Form>(
        AppHandle,
        [Page, Language](TPipSetup_Form& Dialog) {
            Dialog.SetPage(Page);
            LanguageAndTexts<TPipSetup_Form>(Language)(Dialog);
        },
        [](TPipSetup_Form&) {});
}
