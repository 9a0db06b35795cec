#include "ui/OpenPipForm.h"

#include "core/AudioPlayback.h"
#include "core/DialogLaunchers.h"
#include "core/MenuSettings.h"
#include "core/PlaybackState.h"
#include "platform/win32/Window.h"

using namespace forms;

namespace {

template <class T>
T* NewComponent(QWidget* Parent, const char* Name, int Left, int Top, int Width, int Height) {
    auto* component = new T(Parent);
    component->SetName(Name);
    component->SetBounds(Left, Top, Width, Height);
    return component;
}

void ShowInformation(const std::string& Text) {
    Application().MessageBox(Text, "Information", win32::MB_OK | win32::MB_ICONINFORMATION);
}

} // namespace

TOpenPipTexts OpenPipTexts(int Language) {
    switch (Language) {
    case Languages::English:
        return {"Open pip",     "Media file A",
                "Media file B", "Please select two media file to play pip function.",
                "OK",           "Cancel"};
    case Languages::Chinese:
        return {"打开画中画", "媒体文件A", "媒体文件B", "请选择两个媒体文件来运行画中画功能", "确定", "放弃"};
    default:
        return {};
    }
}

TOpenPip_Form::TOpenPip_Form(QWidget* Owner)
    : TForm(Owner), MediaType_OD(std::make_unique<TOpenDialog>(this)) {
    SetName("OpenPip_Form");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(462);
    SetClientHeight(211);
    setFixedSize(462, 211);

    SelTwoInfo_GB = NewComponent<TGroupBox>(this, "SelTwoInfo_GB", 8, 8, 446, 156);
    MediaFileA_L = NewComponent<TLabel>(SelTwoInfo_GB, "MediaFileA_L", 16, 26, 0, 0);
    EditA = NewComponent<TEdit>(SelTwoInfo_GB, "EditA", 16, 44, 376, 21);
    SpeedButton1 = NewComponent<TButton>(SelTwoInfo_GB, "SpeedButton1", 400, 44, 30, 21);
    MediaFileB_L = NewComponent<TLabel>(SelTwoInfo_GB, "MediaFileB_L", 16, 88, 0, 0);
    EditB = NewComponent<TEdit>(SelTwoInfo_GB, "EditB", 16, 106, 376, 21);
    SpeedButton2 = NewComponent<TButton>(SelTwoInfo_GB, "SpeedButton2", 400, 106, 30, 21);
    for (TEdit* edit : {EditA, EditB})
        edit->SetReadOnly(true);
    for (TButton* button : {SpeedButton1, SpeedButton2})
        button->SetCaption("...");
    OK_Btn = NewComponent<TButton>(this, "OK_Btn", 296, 176, 75, 25);
    Cancel_Btn = NewComponent<TButton>(this, "Cancel_Btn", 379, 176, 75, 25);

    SpeedButton1->OnClick = [this](TObject* Sender) { SpeedButton1Click(Sender); };
    SpeedButton2->OnClick = [this](TObject* Sender) { SpeedButton2Click(Sender); };
    OK_Btn->OnClick = [this](TObject* Sender) { OK_BtnClick(Sender); };
    Cancel_Btn->OnClick = [this](TObject* Sender) { Cancel_BtnClick(Sender); };
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    DoCreate();
}

TOpenPip_Form::~TOpenPip_Form() = default;

void TOpenPip_Form::FormCreate(TObject*) {
    SetMediaFileFilterOnly(*MediaType_OD);
}

void TOpenPip_Form::FormShow(TObject*) {
    if (!State.UiFont)
        return;
    SetFont(*State.UiFont);
    SelTwoInfo_GB->SetFont(*State.UiFont);
    MediaFileA_L->SetFont(*State.UiFont);
    MediaFileB_L->SetFont(*State.UiFont);
}

void TOpenPip_Form::ApplyTexts() {
    SetCaption(texts_.Caption);
    MediaFileA_L->SetCaption(texts_.MediaFileA);
    MediaFileB_L->SetCaption(texts_.MediaFileB);
    SelTwoInfo_GB->SetCaption(texts_.SelTwoInfo);
    OK_Btn->SetCaption(texts_.OK);
    Cancel_Btn->SetCaption(texts_.Cancel);
}

void TOpenPip_Form::BrowseMedia(TEdit* Edit) {
    SetVideoFileFilter(*MediaType_OD);
    if (!MediaType_OD->Execute() || MediaType_OD->FileName.empty())
        return;
    if (IsAudioFile(MediaType_OD->FileName)) {
        ShowInformation(MediaType_OD->FileName + " is not a valid video file." +
                        " Please selected a video file.");
        return;
    }
    Edit->SetText(MediaType_OD->FileName);
}

void TOpenPip_Form::SpeedButton1Click(TObject*) {
    BrowseMedia(EditA);
}

void TOpenPip_Form::SpeedButton2Click(TObject*) {
    BrowseMedia(EditB);
}

bool TOpenPip_Form::CheckAndStore() {
    if (EditA->Text().empty() || EditB->Text().empty()) {
        ShowInformation("You muse select two media file to play Picture in Picture procedure!");
        return false;
    }
    // Only an OK that was taken counts as one: after a refused OK the close box still gives 0.
    resultCode_ = 1;
    State.pipMediaFileA = EditA->Text();
    State.pipMediaFileB = EditB->Text();
    Close();
    return true;
}

void TOpenPip_Form::OK_BtnClick(TObject*) {
    CheckAndStore();
}

void TOpenPip_Form::Cancel_BtnClick(TObject*) {
    resultCode_ = 2;
    Close();
}

void ShowOpenPipDialog(win32::HWND AppHandle, int Language, int& ResultCode) {
    RunDialog<TOpenPip_Form>(AppHandle, LanguageAndTexts<TOpenPip_Form>(Language),
                             [&ResultCode](TOpenPip_Form& Dialog) { ResultCode = Dialog.ResultCode(); });
}
